#!/usr/bin/env python3
"""Assembles the lookup page: one HTML file holding its style, its scripts,
the lookup module (gzip, base64) and the two root charts (PNG, converted
from the chart window's bitmaps), so that it opens from a folder on disk
with no server. With a sample table, navo-sample.js beside it carries that
table for the page's "sample table" button. Beside it too, for the page served
over http(s): its web app manifest, icons and service worker.

Usage: build_page.py OUT_DIR MODULE.wasm CHART1.bmp CHART2.bmp [SAMPLE_TABLE]
"""
import base64
import gzip
import hashlib
import json
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bmp_to_png import bmp_to_png  # noqa: E402
from web_icons import icon_png  # noqa: E402
from character_frequency import from_file as common_characters  # noqa: E402

PAGE_NAME = "navo-lookup.html"
# Enough common characters that the drill's 3,500 remain among those a table holds.
COMMON_CHARACTERS = 6000
DRILL_SCRIPTS = ("drill_scheduler.js", "progress_store.js", "drill.js", "statistics.js")
SAMPLE_NAME = "navo-sample.js"
MANIFEST_NAME = "navo-lookup.webmanifest"
WORKER_NAME = "navo-lookup-sw.js"
ICON_SIZES = (192, 512)


def icon_name(size):
    return "navo-icon-%d.png" % size


def manifest():
    return json.dumps({
        "name": "Navo码汉字编码查询", "short_name": "Navo码查询", "lang": "zh-CN",
        "description": "用自己的 navo.mb 码表查询汉字和词组的 Navo 码编码。",
        "start_url": PAGE_NAME, "scope": "./", "display": "standalone",
        "background_color": "#f4f4f0", "theme_color": "#000080",
        "icons": [{"src": icon_name(size), "sizes": "%dx%d" % (size, size), "type": "image/png",
                   "purpose": "any"} for size in ICON_SIZES],
    }, ensure_ascii=False, indent=1)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


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
    pngs = [bmp_to_png(read(c, "rb")) for c in (chart1, chart2)]
    charts = ["data:image/png;base64," + base64.b64encode(png).decode() for png in pngs]
    parts = {
        "/*STYLE*/": read(os.path.join(here, "page.css")),
        "/*MODULE*/": base64.b64encode(packed).decode(),
        "/*CHARTS*/": "[" + ", ".join("'%s'" % c for c in charts) + "]",
        # width and height from the PNG header: the chart's place is kept before it is decoded
        "/*CHART_SIZES*/": json.dumps([list(struct.unpack(">II", png[16:24])) for png in pngs]),
        "/*SAMPLE*/": "'%s'" % SAMPLE_NAME if sample else "null",
        # shown from the first paint: unhidden by the script it would push the page down
        "/*SAMPLE_HIDDEN*/": "" if sample else " hidden",
        "/*LOOKUP*/": read(os.path.join(here, "navo_lookup.js")),
        "/*PAGE*/": read(os.path.join(here, "page.js")),
        "/*FAVICON*/": "data:image/png;base64," + base64.b64encode(icon_png(32)).decode(),
        "/*OFFLINE_FILES*/": json.dumps({"manifest": MANIFEST_NAME, "worker": WORKER_NAME}),
        "/*OFFLINE*/": read(os.path.join(here, "offline.js")),
        "/*PADSTYLE*/": read(os.path.join(here, "typing_pad.css")),
        "/*PAD*/": read(os.path.join(here, "typing_pad.js")),
        "/*PRACTICESTYLE*/": read(os.path.join(here, "practice.css")),
        "/*PRACTICESCORE*/": read(os.path.join(here, "practice_score.js")),
        "/*PRACTICE*/": read(os.path.join(here, "practice.js")),
        "/*DRILLSTYLE*/": read(os.path.join(here, "drill.css")),
        "/*FREQUENCY*/": common_characters(count=COMMON_CHARACTERS),
        "/*DRILL*/": "\n".join(read(os.path.join(here, name)) for name in DRILL_SCRIPTS),
    }
    page = read(os.path.join(here, "page.html"))
    for marker, text in parts.items():
        if page.count(marker) != 1:
            sys.exit("build_page.py: %s not once in page.html" % marker)
        page = page.replace(marker, text)
    write(os.path.join(out_dir, PAGE_NAME), page)

    write(os.path.join(out_dir, MANIFEST_NAME), manifest())
    for size in ICON_SIZES:
        write(os.path.join(out_dir, icon_name(size)), icon_png(size))
    kept = [PAGE_NAME, MANIFEST_NAME] + [icon_name(size) for size in ICON_SIZES]
    if sample:
        kept.append(SAMPLE_NAME)
    version = hashlib.sha256(page.encode() + (read(sample, "rb") if sample else b"")).hexdigest()[:16]
    worker = read(os.path.join(here, "service_worker.js"))
    worker = worker.replace("/*VERSION*/", version).replace("/*FILES*/", json.dumps(kept))
    write(os.path.join(out_dir, WORKER_NAME), worker)

    sample_path = os.path.join(out_dir, SAMPLE_NAME)
    if sample:
        with open(sample_path, "w") as f:
            f.write("navoSampleTable('%s');\n" % base64.b64encode(read(sample, "rb")).decode())
    elif os.path.exists(sample_path):
        os.remove(sample_path)


if __name__ == "__main__":
    main()
