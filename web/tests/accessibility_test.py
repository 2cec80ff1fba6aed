#!/usr/bin/python3
"""The lookup page walked through what a person sees, at one width, with
axe-core checking each state: no rule broken in any of them.

Usage: accessibility_test.py [--width PX] [--plant-fault] PAGE.html SAMPLE_TABLE SCREENSHOT_DIR

--plant-fault adds an input with no label to the page first: the walk must
then fail, which shows that the check sees what it is there to see.
"""
import argparse
import os
import shutil
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "support"))
import axe_check  # noqa: E402
from checks import check, require  # noqa: E402
from page_driver import Page, run_to_end  # noqa: E402
from practice_test import press_hint_key  # noqa: E402

# A one-pixel PNG: a file that is no table.
PNG = bytes.fromhex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c489")


def look_up(page, table):
    page.focus("box")
    page.commit("工童中")
    page.wait_for("document.querySelectorAll('#pane-lines li').length === 3", "three lines")


def look_up_a_word(page, table):
    page.focus("word")
    page.commit("中国")
    page.element("word").submit()
    page.wait_for("document.getElementById('word-result').textContent !== ''", "the word's line")


def type_in_the_pad(page, table):
    page.focus("pad-code")
    page.type_keys("a")
    page.wait_for("document.querySelectorAll('#pad-candidates li').length > 0 &&"
                  "document.querySelectorAll('#pad-hints li').length > 0", "candidates and hints")


def choose_a_wrong_file(page, table):
    folder = tempfile.mkdtemp(prefix="navo-axe-")
    try:
        path = os.path.join(folder, "picture.png")
        with open(path, "wb") as f:
            f.write(PNG)
        page.choose_file(path)
        page.wait_for("document.querySelector('#messages .message.error')", "the error")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def reload_remembered(page, table):
    page.wait_for("!document.getElementById('forget-table').hidden", "the table remembered")
    page.open()
    page.wait_for("!document.getElementById('forget-table').hidden &&"
                  "document.getElementById('table-status').textContent.includes('已打开码表')",
                  "the remembered table and its forget button")


def practise_a_text(page, table):
    """The first text offered, its first character typed wrong (工 for 床), a hint asked."""
    page.element("practice-start").click()
    page.type_keys("a ")
    press_hint_key(page)
    page.wait_for("document.querySelector('#practice-text .practice-wrong') &&"
                  "document.getElementById('practice-hint-text').textContent !== ''",
                  "a wrong mark and a hint")


def finish_a_pasted_text(page, table):
    """工中 pasted over the text and typed by their one-letter codes: the figures."""
    page.focus("practice-source")
    page.js("document.getElementById('practice-source').select()")
    page.commit("工中")
    page.element("practice-start").click()
    page.type_keys("a k ")
    page.wait_for("document.querySelectorAll('#practice-result dd').length > 0", "the figures")


def answer_in_the_drill(page, table):
    """Two answers (zz, no code of the sample table, and a): the codes shown,
    the statistics grown."""
    page.focus("drill-code")
    page.type_keys("zz a ")
    page.wait_for("document.querySelector('#drill-result .drill-verdict') &&"
                  "document.querySelectorAll('#stats-days tbody tr').length > 0 &&"
                  "document.querySelectorAll('#stats-weakest li').length > 0",
                  "the answer's codes, a day's figures and the weakest characters")


def refuse_a_progress_file(page, table):
    with tempfile.TemporaryDirectory(prefix="navo-axe-") as folder:
        path = os.path.join(folder, "picture.png")
        with open(path, "wb") as f:
            f.write(PNG)
        page.element("progress-file").send_keys(path)
        page.wait_for("document.getElementById('progress-status').textContent !== ''",
                      "the progress file's refusal")


# Each state reached from the one before it: (what the page shows, how to get there).
STATES = [
    ("empty, no table", lambda page, table: None),
    ("a table open", lambda page, table: page.choose_table(table)),
    ("lookups shown", look_up),
    ("a word looked up", look_up_a_word),
    ("typing in the pad, candidates and hints shown", type_in_the_pad),
    ("practising a text, a wrong character and a hint shown", practise_a_text),
    ("a practice finished, its figures shown", finish_a_pasted_text),
    ("drilling, an answer and its codes shown, the statistics grown", answer_in_the_drill),
    ("a progress file refused", refuse_a_progress_file),
    ("an error shown (a file that is no table)", choose_a_wrong_file),
    ("the remembered table and its forget button after a reload", reload_remembered),
]


def plant_fault(page):
    page.js("const field = document.createElement('input'); field.type = 'text';"
            "field.id = 'planted'; document.querySelector('main').prepend(field);")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--width", type=int, default=1280)
    parser.add_argument("--plant-fault", action="store_true")
    parser.add_argument("page")
    parser.add_argument("table")
    parser.add_argument("shots")
    args = parser.parse_args()
    require(f"axe-core is installed ({axe_check.AXE}: scripts/install-deps.sh)", axe_check.installed())
    require(f"the sample table {args.table} is built (scripts/sample-table.sh)",
            os.path.isfile(args.table))
    page = Page(args.page)

    def walk():
        if args.width != 1280:
            page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                        {"width": args.width, "height": 780,
                                         "deviceScaleFactor": 1, "mobile": True})
            page.open()
        for what, reach in STATES:
            reach(page, args.table)
            if args.plant_fault:
                plant_fault(page)
            found = axe_check.violations(page.driver)
            if args.plant_fault:
                check(f"{what}: axe finds the input with no label",
                      any(v["id"] == "label" and "#planted" in n["target"]
                          for v in found for n in v["nodes"]), axe_check.describe(found))
                break
            if not check(f"{args.width} px, {what}: no accessibility violation", found == [],
                         axe_check.describe(found)):
                name = "axe-%dpx-%s.png" % (args.width, what.split(",")[0].replace(" ", "-"))
                page.screenshot(os.path.join(args.shots, name))
    run_to_end(page, walk, "the walk runs to its end")


if __name__ == "__main__":
    main()
