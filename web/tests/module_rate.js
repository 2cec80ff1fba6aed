// Lookups of all 24,192 double-byte values a second of processor time, by
// the lookup module in node (V8, the engine of Chromium): a figure a busy
// machine does not bend, beside the page's wall-clock one.
// Usage: node module_rate.js MODULE.wasm TABLE
'use strict';
const fs = require('fs');
const path = require('path');
const { NavoLookup } = require(path.join(__dirname, '..', 'navo_lookup.js'));

function allValues(lookup) {
  for (let lead = 0x81; lead <= 0xFE; lead++)
    for (let trail = 0x40; trail <= 0xFF; trail++) lookup.x.navo_look_up_typed(lead, trail);
}

(async () => {
  const [modulePath, tablePath] = process.argv.slice(2);
  const lookup = await NavoLookup.fromBytes(fs.readFileSync(modulePath));
  lookup.openTable(tablePath, new Uint8Array(fs.readFileSync(tablePath)));
  for (let pass = 0; pass < 10; pass++) allValues(lookup);  // compiled to its optimising tier
  const passes = 20;
  const before = process.cpuUsage();
  for (let pass = 0; pass < passes; pass++) allValues(lookup);
  const used = process.cpuUsage(before);
  console.log(Math.round((passes * 24192) / ((used.user + used.system) / 1e6)));
})().catch((error) => {
  console.error(error);
  process.exit(2);
});
