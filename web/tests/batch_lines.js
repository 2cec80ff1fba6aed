// Prints the lookup module's line for every line of hex digits on standard
// input (two bytes: a typed character; more: a word), as `nvcodefind --table
// TABLE --batch` prints it: the module's side of module_agrees_test.sh.
// With --all, as `nvcodefind --all --batch` prints it; with --pane, the
// pane's line of each two bytes looked up, "HEX<TAB>line".
// Usage: node batch_lines.js [--all|--pane] MODULE.wasm TABLE < lines
'use strict';
const fs = require('fs');
const path = require('path');
const { NavoLookup } = require(path.join(__dirname, '..', 'navo_lookup.js'));

async function main() {
  const mode = process.argv[2].startsWith('--') ? process.argv[2] : '';
  const [modulePath, tablePath] = process.argv.slice(mode ? 3 : 2);
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
    const bytes = Uint8Array.from(hex.match(/../g), (pair) => parseInt(pair, 16));
    if (mode === '--pane') {  // the codes part of the line, after "字: "
      const found = lookup.lookUpBytesIntoHistory(bytes[0], bytes[1]).found;
      const line = found ? lookup.historyLines()[0] : '';
      out.push(`${hex}\t${line.slice(line.indexOf(': ') + 2)}`);
    } else {
      out.push(lookup.batchLine(bytes, mode === '--all'));
    }
  }
  process.stdout.write(out.join('\n') + (out.length ? '\n' : ''));
}

main().catch((error) => {
  console.error(error);
  process.exit(2);
});
