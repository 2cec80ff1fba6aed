// Prints the lookup module's line for every value on standard input (four hex
// digits a line), as `nvcodefind --table TABLE --batch` prints it: the
// module's side of module_agrees_test.sh.
// Usage: node batch_lines.js MODULE.wasm TABLE < allhex
'use strict';
const fs = require('fs');
const path = require('path');
const { NavoLookup } = require(path.join(__dirname, '..', 'navo_lookup.js'));

async function main() {
  const [modulePath, tablePath] = process.argv.slice(2);
  const lookup = await NavoLookup.fromBytes(fs.readFileSync(modulePath));
  let bytes = null;
  try {
    bytes = new Uint8Array(fs.readFileSync(tablePath));
  } catch (error) {
    bytes = null;  // opened as the window opens a file that is not there
  }
  const opening = lookup.openTable(tablePath, bytes);
  for (const report of opening.reports) console.error(lookup.reportText(report, false));
  const out = [];
  for (const line of fs.readFileSync(0, 'latin1').split('\n')) {
    const hex = line.replace(/\r$/, '');
    if (hex === '') continue;
    if (!/^[0-9A-Fa-f]{4}$/.test(hex)) throw new Error(`not four hex digits: ${hex}`);
    out.push(lookup.batchLine(parseInt(hex.slice(0, 2), 16), parseInt(hex.slice(2), 16)));
  }
  process.stdout.write(out.join('\n') + (out.length ? '\n' : ''));
}

main().catch((error) => {
  console.error(error);
  process.exit(2);
});
