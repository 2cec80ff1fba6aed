#!/usr/bin/python3
"""A screenshot of the lookup page in headless Chromium, opened as a file,
with the sample table chosen and characters looked up: what the main job
shows, and the pictures in docs/.

Usage: page_screenshot.py PAGE.html SAMPLE_TABLE OUT.png [WIDTH HEIGHT [CHART]]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import Page  # noqa: E402

CHARACTERS = "输入法汉字编码查询工童中"


def main():
    page_path, table, out = sys.argv[1:4]
    width, height = (int(sys.argv[4]), int(sys.argv[5])) if len(sys.argv) > 5 else (1280, 860)
    chart = sys.argv[6] if len(sys.argv) > 6 else "1"
    page = Page(page_path, width, height)
    try:
        if width < 600:
            page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                        {"width": width, "height": height,
                                         "deviceScaleFactor": 1, "mobile": True})
            page.open()
        page.choose_table(table)
        page.focus("box")
        for character in CHARACTERS:
            page.commit(character)
        page.js("document.querySelector(`.chart-switch[data-chart='${arguments[0]}']`).click()",
                chart)
        page.js("document.activeElement.blur(); window.scrollTo(0, 0)")
        print(page.screenshot(out))
    finally:
        page.close()


if __name__ == "__main__":
    main()
