#!/usr/bin/env python3
"""Assembles the lookup page: one HTML file holding its style, its scripts,
the lookup module (gzip, base64) and the two root charts (PNG, converted
from the chart window's bitmaps), so that it opens from a folder on disk
with no server. With a sample table, navo-sample.js beside it carries that
table for the page's "sample table" button.

Usage: build_page.py OUT_DIR MODULE.wasm CHART1.bmp CHART2.bmp [SAMPLE_TABLE]
"""
import base64
import gzip
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bmp_to_png import bmp_to_png  # noqa: E402

PAGE_NAME = "navo-lookup.html"
SAMPLE_NAME = "navo-sample.js"


def read(path, mode="r"):
    with open(path, mode) as f:
        return f.read()


def main():
    if len(sys.argv) not in (5, 6):
        sys.exit(__doc__)
    out_dir, module, chart1, chart2 = sys.argv[1:5]
    sample = sys.argv[5] if len(sys.argv) == 6 and os.path.isfile(sys.argv[5]) else None
    here = os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out_dir, exist_ok=True)

    packed = gzip.compress(read(module, "rb"), compresslevel=9, mtime=0)
    charts = ["data:image/png;base64," + base64.b64encode(bmp_to_png(read(c, "rb"))).decode()
              for c in (chart1, chart2)]
    parts = {
        "/*STYLE*/": read(os.path.join(here, "page.css")),
        "/*MODULE*/": base64.b64encode(packed).decode(),
        "/*CHARTS*/": "[" + ", ".join("'%s'" % c for c in charts) + "]",
        "/*SAMPLE*/": "'%s'" % SAMPLE_NAME if sample else "null",
        "/*LOOKUP*/": read(os.path.join(here, "navo_lookup.js")),
        "/*PAGE*/": read(os.path.join(here, "page.js")),
        "/*PADSTYLE*/": read(os.path.join(here, "typing_pad.css")),
        "/*PAD*/": read(os.path.join(here, "typing_pad.js")),
    }
    page = read(os.path.join(here, "page.html"))
    for marker, text in parts.items():
        if page.count(marker) != 1:
            sys.exit("build_page.py: %s not once in page.html" % marker)
        page = page.replace(marker, text)
    with open(os.path.join(out_dir, PAGE_NAME), "w", encoding="utf-8") as f:
        f.write(page)

    sample_path = os.path.join(out_dir, SAMPLE_NAME)
    if sample:
        with open(sample_path, "w") as f:
            f.write("navoSampleTable('%s');\n" % base64.b64encode(read(sample, "rb")).decode())
    elif os.path.exists(sample_path):
        os.remove(sample_path)


if __name__ == "__main__":
    main()
