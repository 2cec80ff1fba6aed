#!/usr/bin/python3
"""Figures of the lookup page, in one run on this machine: its transfer size
before the table (gzip), the time from choosing the sample table to its first
line, lookups per second of all 24,192 double-byte values inside the page
against the native in-process benchmark, the typing pad's time from a key
pressed to its candidates painted, and on request Lighthouse's scores.

Usage: page_benchmark.py [--lighthouse] PAGE.html MODULE.wasm SAMPLE_TABLE [NATIVE_BENCHMARK]

The page is timed by the wall clock; the module alone is also timed in node
by processor time, the measure of the native benchmark's figure.
"""
import argparse
import gzip
import json
import math
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import Page, serve  # noqa: E402
import pad_test  # noqa: E402  (its 200 codes and its key presses)

# The last Lighthouse that runs on node 20; installed on demand, it is not a
# test dependency (some 100 MB).
LIGHTHOUSE = "lighthouse@12.8.2"
LIGHTHOUSE_CATEGORIES = ("performance", "accessibility", "best-practices", "seo")

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


# Each letter typed in the pad: performance.now() when its keydown reaches
# the page (capture, before the pad), when the pad's own listener is done
# (bubbling back to the document), and when the frame that shows its
# candidates is painted: a task posted from that frame's requestAnimationFrame
# runs once the frame's style, layout and paint are done.
KEY_TIMES = """
window.navoKeys = [];
const field = document.getElementById('pad-code');
let handled = 0;
document.addEventListener('keydown', () => { handled = performance.now(); });
document.addEventListener('keydown', (event) => {
  if (event.target !== field || !/^[a-z]$/.test(event.key)) return;
  const pressed = performance.now();
  requestAnimationFrame(() => {
    const after = new MessageChannel();
    after.port1.onmessage = () => navoKeys.push([field.value, handled - pressed,
                                                 performance.now() - pressed]);
    after.port2.postMessage(0);
  });
}, true);
"""


def percentile(values, p):
    """Nearest rank: the smallest value with p % of the values at or below it."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(p / 100 * len(ordered)) - 1)]


def keystroke_times(page, table):
    """[(code, ms in the pad's listener, ms to painted)] of the last key of
    each of the codes the pad is held to librime on, typed one after another."""
    codes, _ = pad_test.parity_codes(table)
    page.focus("pad-code")
    page.js(KEY_TIMES)
    typed = 0
    for code in codes:
        pad_test.type_keys(page, code)
        typed += len(code)
        page.wait_for(f"window.navoKeys.length === {typed}", f"the candidates of {code} painted")
        pad_test.press(page, "Escape")
    keys = page.js("return window.navoKeys")
    last, at = [], 0
    for code in codes:
        at += len(code)
        shown, handled, painted = keys[at - 1]
        assert shown == code, f"the pad shows {shown!r} after typing {code!r}"
        last.append((code, handled, painted))
    return last


def lighthouse_cli(build_dir):
    folder = os.path.join(build_dir, "lighthouse")
    cli = os.path.join(folder, "node_modules", "lighthouse", "cli", "index.js")
    if not os.path.isfile(cli):
        print(f"Lighthouse is not installed: installing {LIGHTHOUSE} into {folder} (npm, once)",
              flush=True)
        subprocess.run(["npm", "install", "--prefix", folder, "--no-audit", "--no-fund",
                        LIGHTHOUSE], check=True, stdout=subprocess.DEVNULL)
    return cli


def lighthouse_scores(page_path):
    """{form factor: {category: score out of 100}} of the page served from 127.0.0.1."""
    cli = lighthouse_cli(os.path.dirname(os.path.dirname(os.path.abspath(page_path))))
    server, port = serve(os.path.dirname(os.path.abspath(page_path)))
    scores = {}
    try:
        url = f"http://127.0.0.1:{port}/{os.path.basename(page_path)}"
        for form, preset in (("mobile", []), ("desktop", ["--preset=desktop"])):
            with tempfile.TemporaryDirectory(prefix="navo-lighthouse-") as folder:
                report = os.path.join(folder, "report.json")
                subprocess.run(["node", cli, url, "--quiet", "--output=json",
                                f"--output-path={report}",
                                "--only-categories=" + ",".join(LIGHTHOUSE_CATEGORIES),
                                "--chrome-flags=--headless=new --no-sandbox", *preset],
                               env=dict(os.environ, CHROME_PATH="/usr/bin/chromium"),
                               check=True, timeout=240)
                with open(report, encoding="utf-8") as f:
                    result = json.load(f)
            scores[form] = {c: round(result["categories"][c]["score"] * 100)
                            for c in LIGHTHOUSE_CATEGORIES}
            below = [(a["id"], a["score"]) for a in result["audits"].values()
                     if a.get("score") is not None and a["score"] < 1 and
                     a.get("scoreDisplayMode") in ("binary", "numeric")]
            if below:
                print(f"  Lighthouse {form}: audits not passed: {below}")
    finally:
        server.terminate()
        server.wait()
    return scores


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
    parser = argparse.ArgumentParser()
    parser.add_argument("--lighthouse", action="store_true",
                        help="also Lighthouse's scores, mobile and desktop (about a minute each)")
    parser.add_argument("page")
    parser.add_argument("module")
    parser.add_argument("table")
    parser.add_argument("benchmark", nargs="?")
    args = parser.parse_args()
    page_path, module, table, benchmark = args.page, args.module, args.table, args.benchmark
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
        keys = keystroke_times(page, table)
        drill = drill_answers(page)
    finally:
        page.close()
    in_page = lookups / seconds
    print(f"lookups of all 24,192 values inside the page: {in_page:,.0f} a second (wall clock)")
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
    handled = [k[1] for k in keys]
    painted = [k[2] for k in keys]
    print(f"typing pad, a key pressed to its candidates painted, the last key of each of "
          f"{len(keys)} codes: p50 {percentile(painted, 50):.1f} ms, p95 "
          f"{percentile(painted, 95):.1f} ms (the pad's own work p50 "
          f"{percentile(handled, 50):.2f} ms, p95 {percentile(handled, 95):.2f} ms)")
    print(f"drill, an answer to the next item painted: p50 {drill[0]:.1f} ms, "
          f"p95 {drill[1]:.1f} ms")
    if args.lighthouse and os.environ.get("NAVO_PAGE_LIGHTHOUSE") == "off":
        # the test command's run: Lighthouse's download and two runs cost it a minute
        print("Lighthouse: left out (NAVO_PAGE_LIGHTHOUSE=off); "
              "cmake --build --preset web --target page_benchmark prints its scores")
    elif args.lighthouse:
        started = time.monotonic()
        for form, scores in lighthouse_scores(page_path).items():
            print(f"Lighthouse {form}: " + ", ".join(f"{c} {s}" for c, s in scores.items()))
        print(f"(Lighthouse took {time.monotonic() - started:.0f} s)")
    else:
        print("Lighthouse: not run (page_benchmark.py --lighthouse)")


if __name__ == "__main__":
    main()
