#!/usr/bin/python3
"""Figures of the lookup page, in one run on this machine: its transfer size
before the table (gzip), the time from choosing the sample table to its first
line, and lookups per second of all 24,192 double-byte values inside the page
against the native in-process benchmark.

Usage: page_benchmark.py PAGE.html MODULE.wasm SAMPLE_TABLE [NATIVE_BENCHMARK]

The page is timed by the wall clock; the module alone is also timed in node
by processor time, the measure of the native benchmark's figure.
"""
import gzip
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import Page  # noqa: E402

# A first second of lookups lets the browser finish compiling the module's
# hot functions (its optimising tier works in the background), then two
# seconds are counted.
ALL_VALUES_IN_PAGE = """
const warmUp = performance.now();
while (performance.now() - warmUp < 1000)
  for (let lead = 0x81; lead <= 0xFE; lead++)
    for (let trail = 0x40; trail <= 0xFF; trail++) lookup.x.navo_look_up_typed(lead, trail);
const started = performance.now();
let lookups = 0, found = 0;
do {
  for (let lead = 0x81; lead <= 0xFE; lead++)
    for (let trail = 0x40; trail <= 0xFF; trail++, lookups++)
      found += lookup.x.navo_look_up_typed(lead, trail);
} while (performance.now() - started < 2000);
return [lookups, (performance.now() - started) / 1000, found];
"""


def native_rates(benchmark, table):
    """The native benchmark's lookups a second of processor time, and of
    wall-clock time as the page is timed (they differ on a busy machine)."""
    if not benchmark or not os.access(benchmark, os.X_OK):
        return None
    out = subprocess.run([benchmark, "--benchmark_format=json"], capture_output=True, text=True,
                         env=dict(os.environ, NAVO_BENCH_TABLE=table), check=True).stdout
    result = json.loads(out)["benchmarks"][0]
    per_pass = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[result["time_unit"]]
    return result["lookups_per_second"], 24192 / (result["real_time"] * per_pass)


# From the Space that answers to the frame that paints the next drill item.
DRILL_TIMER = """
window.drillPainted = [];
document.addEventListener('keydown', (event) => {
  if (event.target.id !== 'drill-code' || event.key !== ' ') return;
  const started = performance.now();
  requestAnimationFrame(() => window.drillPainted.push(performance.now() - started));
}, true);
"""


def drill_answers(page, count=60):
    """Drill answers by real key events: the next item painted, p50 and p95 in ms."""
    page.js(DRILL_TIMER)
    page.focus("drill-code")
    for i in range(count):
        page.type_keys("abcdefghijklmnopqrstuvwxyz"[i % 26] + " ")
    page.wait_for(f"window.drillPainted.length === {count}", "the drill's frames")
    times = sorted(page.js("return window.drillPainted"))
    return times[len(times) // 2], times[int(len(times) * 0.95)]


def main():
    page_path, module, table = sys.argv[1:4]
    benchmark = sys.argv[4] if len(sys.argv) > 4 else None
    with open(page_path, "rb") as f:
        transfer = len(gzip.compress(f.read(), 9))
    print(f"page transfer size before the table: {transfer / 1024:.1f} KB gzipped "
          f"({os.path.getsize(page_path) / 1024:.1f} KB as it is)")

    page = Page(page_path)
    try:
        page.js("window.navoTimes.firstLine = undefined")
        page.choose_table(table)
        page.wait_for("window.navoTimes.tableOpened !== undefined", "the table")
        page.focus("box")
        page.commit("工")
        page.wait_for("window.navoTimes.firstLine !== undefined", "the first line")
        read, opened, lookup = page.js(
            "return [navoTimes.read - navoTimes.chosen, navoTimes.tableOpened - navoTimes.read, "
            "navoTimes.lastLookup]")
        print(f"choosing the sample table ({os.path.getsize(table) / 1e6:.1f} MB) to its first "
              f"line: {read + opened + lookup:.1f} ms (the browser reading the file "
              f"{read:.1f} ms, opening it {opened:.1f} ms, the lookup and its line {lookup:.1f} ms)")
        lookups, seconds, found = page.js(ALL_VALUES_IN_PAGE)
        drill = drill_answers(page)
    finally:
        page.close()
    in_page = lookups / seconds
    print(f"lookups of all 24,192 values inside the page: {in_page:,.0f} a second (wall clock)")
    print(f"next drill item painted after an answer: p50 {drill[0]:.1f} ms, p95 {drill[1]:.1f} ms")
    native = native_rates(benchmark, table)
    if native:
        cpu, wall = native
        print(f"native in-process benchmark: {wall:,.0f} a second (wall clock), "
              f"{cpu:,.0f} a second of processor time")
        module_rate = int(subprocess.run(
            ["node", os.path.join(os.path.dirname(os.path.abspath(__file__)), "module_rate.js"),
             module, table], capture_output=True, text=True, check=True).stdout)
        print(f"the page's module in node: {module_rate:,} a second of processor time")
        print(f"page against native: {in_page / wall:.2f}x by the wall clock; "
              f"module against native by processor time: {module_rate / cpu:.2f}x")
    else:
        print("native benchmark not built (cmake --build --preset native)")


if __name__ == "__main__":
    main()
