// Prints the lookup module's line for every line of hex digits on standard
// input (two bytes: a typed character; more: a word), as `nvcodefind --table
// TABLE --batch` prints it: the module's side of module_agrees_test.sh.
// Usage: node batch_lines.js MODULE.wasm TABLE < lines
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
    if (!/^([0-9A-Fa-f]{2}){2,}$/.test(hex)) throw new Error(`not hex digits, two a byte: ${hex}`);
    out.push(lookup.batchLine(Uint8Array.from(hex.match(/../g), (pair) => parseInt(pair, 16))));
  }
  process.stdout.write(out.join('\n') + (out.length ? '\n' : ''));
}

main().catch((error) => {
  console.error(error);
  process.exit(2);
});
