// The page's UTF-16 -> GBK against iconv's CP936 for every character of the
// Basic Multilingual Plane (surrogates apart): the same bytes where iconv has
// them, "?" where it has none; a character beyond the plane gives "??" (one
// "?" a unit), as the Windows programs' conversion does.
// Usage: node gbk_encoding_test.js MODULE.wasm
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { NavoLookup } = require(path.join(__dirname, '..', 'navo_lookup.js'));

// iconv's CP936 bytes of each code point, each on a line of its own.
function iconvBytes(codePoints) {
  const text = codePoints.map((c) => String.fromCharCode(c)).join('\n') + '\n';
  const out = execFileSync('iconv', ['-c', '-f', 'UTF-16LE', '-t', 'CP936'],
    { input: Buffer.from(text, 'utf16le'), maxBuffer: 1 << 24 });
  const lines = [];
  let start = 0;
  for (let i = 0; i < out.length; i++) {
    if (out[i] === 0x0A) {
      lines.push(out.subarray(start, i));
      start = i + 1;
    }
  }
  if (lines.length !== codePoints.length) throw new Error(`iconv gave ${lines.length} lines`);
  return lines;
}

async function main() {
  const lookup = await NavoLookup.fromBytes(fs.readFileSync(process.argv[2]));
  const codePoints = [];
  for (let c = 1; c < 0x10000; c++) if (c !== 0x0A && (c < 0xD800 || c > 0xDFFF)) codePoints.push(c);
  const expected = iconvBytes(codePoints);
  let failures = 0, doubleByte = 0;
  codePoints.forEach((c, i) => {
    const want = expected[i].length ? expected[i] : Buffer.from('?');
    const got = Buffer.from(lookup.encode(String.fromCharCode(c)));
    if (want.length === 2) doubleByte++;
    if (!got.equals(want) && failures++ < 10)
      console.log(`FAIL U+${c.toString(16)}: iconv ${want.toString('hex')}, page ${got.toString('hex')}`);
  });
  const cases = [['\u{1F600}', '3f3f'], ['a\uD55Cb', '613f62'], ['\u5DE5\u7AE5', 'b9a4cdaf'],
    ['\n', '0a'], ['\u20AC', '80']];
  for (const [text, hex] of cases) {
    const got = Buffer.from(lookup.encode(text)).toString('hex');
    if (got !== hex && ++failures) console.log(`FAIL ${JSON.stringify(text)}: ${got}, not ${hex}`);
  }
  // Back: every double-byte value the page shows as a character is iconv's.
  let shown = 0;
  for (let lead = 0x81; lead <= 0xFE; lead++) {
    for (let trail = 0x40; trail <= 0xFF; trail++) {
      const unit = lookup.x.navo_unicode_of_gbk(lead, trail);
      if (unit === 0) continue;
      shown++;
      const back = Buffer.from(lookup.encode(String.fromCharCode(unit))).toString('hex');
      if (back !== lead.toString(16) + trail.toString(16).padStart(2, '0') && ++failures)
        console.log(`FAIL ${lead.toString(16)}${trail.toString(16)} shown as U+${unit.toString(16)}`);
    }
  }
  console.log(`${codePoints.length} characters against iconv: ${doubleByte} double-byte, ` +
    `${shown} double-byte values shown; ${failures} failures`);
  process.exit(failures === 0 && doubleByte > 20000 && shown === doubleByte ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(2);
});
