#!/usr/bin/python3
"""The drill and the statistics in headless Chromium, by real key events
(CDP Input.dispatchKeyEvent) and real clicks. What is right, each code of a
character and its best one come from the independent reader
(tests/engines/sample_codes.py); which characters are common, from
web/character_frequency.py; never from the page.

Usage: drill_test.py --scenario NAME PAGE.html SAMPLE_TABLE SCREENSHOT_DIR
"""
import argparse
import datetime
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, ".."))
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "support"))
from character_frequency import from_file as common_characters  # noqa: E402
from checks import check, expect, raised, require, summary  # noqa: E402
from pad_test import SAMPLE_CODES, press, type_keys  # noqa: E402
from page_driver import Page  # noqa: E402

LETTERS = "abcdefghijklmnopqrstuvwxyz"
PASS_SECONDS = 3  # the level's time, as the README states it


class Table:
    """Menus and codes of the sample table, asked of the independent reader in batches."""

    def __init__(self, path):
        self.path = path
        self.menu = {}
        self.codes = {}

    def ask(self, flag, items, into):
        items = [i for i in items if i not in into]
        if items:
            out = subprocess.run([sys.executable, SAMPLE_CODES, self.path, flag, *items],
                                 check=True, stdout=subprocess.PIPE, text=True).stdout
            for line in out.splitlines():
                key, _, value = line.partition("\t")
                into[key] = value.split()

    def learn(self, characters):
        self.ask("--codes", characters, self.codes)
        self.ask("--menu", [c for ch in characters for c in self.codes[ch]], self.menu)

    def best(self, character):
        """The shortest code whose first candidate it is."""
        firsts = [c for c in self.codes[character] if self.menu[c][:1] == [character]]
        return min(firsts, key=len) if firsts else None

    def wrong_code(self, character):
        return next(c for c in LETTERS if character not in self.menu[c])

    def first_level(self):
        self.ask("--menu", list(LETTERS), self.menu)
        level = []
        for letter in LETTERS:
            first = self.menu[letter][:1]
            if first and len(first[0]) == 1 and first[0] not in level:
                level.append(first[0])
        self.learn(level)
        return level


def shown(page):
    return page.js("return document.getElementById('drill-character').textContent")


def label(page):
    return page.js("return document.getElementById('drill-level').textContent")


def verdict(page):
    """The answer's outcome, its codes as shown and the one marked best."""
    return page.js("""
        const v = document.querySelector('#drill-result .drill-verdict');
        return [v ? v.dataset.outcome : '',
                [...document.querySelectorAll('#drill-result .drill-code')].map((c) => c.textContent),
                [...document.querySelectorAll('#drill-result .drill-best')].map((c) => c.textContent)]""")


def answer(page, code, wait=0.0):
    if wait:
        time.sleep(wait)
    type_keys(page, *([code] if code else []), " ")


def open_drill(page, table_path):
    page.choose_table(table_path)
    page.wait_for("document.getElementById('drill-character').textContent !== ''", "a drill item")
    page.focus("drill-code")


def downloads(page, folder):
    page.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                {"behavior": "allow", "downloadPath": folder})


def export(page, folder):
    """导出进度 clicked: the file it saves."""
    before = set(glob.glob(os.path.join(folder, "*.json")))
    page.element("progress-export").click()
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        new = set(glob.glob(os.path.join(folder, "*.json"))) - before
        if new:
            path = new.pop()
            time.sleep(0.2)
            with open(path, encoding="utf-8") as f:
                text = f.read()
            os.remove(path)
            return text
        time.sleep(0.05)
    raise AssertionError("no file exported")


def import_file(page, path):
    page.js("document.getElementById('progress-status').textContent = ''")
    page.element("progress-file").send_keys(os.path.abspath(path))
    page.wait_for("document.getElementById('progress-status').textContent !== ''", "the import")
    return page.js("return document.getElementById('progress-status').textContent")


def scenario_drills_right_wrong_and_slow(page, table_path, shots):
    expect(label(page), "请先选择码表 navo.mb，再开始练习。", "before a table: says so")
    table = Table(table_path)
    level = table.first_level()
    open_drill(page, table_path)
    count = len(level)
    expect(label(page).split("（")[0], f"第 1 级：0/{count} 已掌握", "the first level: the one-letter characters")

    first = shown(page)
    check("the item is a one-letter character", first in level, first)
    type_keys(page, "zz", "Escape")
    expect(page.js("return document.getElementById('drill-code').value"), "", "Esc clears the code")
    answer(page, table.wrong_code(first))
    outcome, codes, best = verdict(page)
    expect(outcome, "wrong", f"a code without {first}: wrong")
    expect(sorted(c.replace("（最佳）", "") for c in codes), sorted(table.codes[first]),
           f"then every code of {first}")
    expect(best, [table.best(first) + "（最佳）"], "the best one marked")
    expect(label(page).split("（")[0], f"第 1 级：0/{count} 已掌握", "nothing mastered")

    second = shown(page)
    check("another character comes next", second != first and second in level, second)
    answer(page, table.best(second), wait=PASS_SECONDS + 0.3)
    expect(verdict(page)[0], "best", "its best code, slowly: right and best")
    expect(label(page).split("（")[0], f"第 1 级：0/{count} 已掌握", "but not within the time")

    third = shown(page)
    type_keys(page, table.best(third) + "x", "Backspace")
    answer(page, "")
    expect(verdict(page)[0], "best", "Backspace takes the extra letter back; fast and right")
    expect(label(page).split("（")[0], f"第 1 级：1/{count} 已掌握", "one mastered")

    # Right but not best: a code under which another character comes first
    # (的 and 经 have one in the sample table), once the character comes.
    not_best = {c: [x for x in table.codes[c] if table.menu[x][:1] != [c]] for c in level}
    mastered = {third}  # answered right within the time, last
    counted = []
    for _ in range(300):
        if "第 2 级" in label(page):
            break
        character = shown(page)
        mastered.add(character)
        if not_best.get(character):
            code = not_best.pop(character)[0]
            answer(page, code)
            expect(verdict(page)[0], "right", f"{character} by {code}: right, not best")
            if "第 1 级" in label(page):
                expect(label(page).split("（")[0], f"第 1 级：{len(mastered)}/{count} 已掌握",
                       "and it counts as mastered")
            if not [c for c in not_best.values() if c]:
                page.js("document.getElementById('drill').scrollIntoView()")
                page.screenshot(os.path.join(shots, "drill-1280.png"))
        else:
            answer(page, table.best(character))
        if "第 1 级" in label(page) and f"：{len(mastered)}/" not in label(page):
            counted.append((character, len(mastered), label(page)))
    expect(counted, [], "after each answer, the mastered ones counted")
    check("each character with such a code was answered by it",
          not [c for c in not_best.values() if c], not_best)
    check("every one-letter character right within the time: the level is passed",
          "第 1 级通过" in page.js("return document.getElementById('drill-result').textContent"))
    expect(label(page).split("（")[0], "第 2 级：0/100 已掌握", "the next level opens, a hundred items")
    common = [c for c in common_characters(count=300) if c not in level][:100]
    drawn = set()
    for _ in range(5):
        drawn.add(shown(page))
        answer(page, "zzzz")
    check("its items are the most common characters after the first level", drawn <= set(common),
          drawn - set(common))


def scenario_keeps_progress_through_a_reload_and_a_file(page, table_path, shots):
    table = Table(table_path)
    level = table.first_level()
    folder = tempfile.mkdtemp(prefix="navo-progress-")
    try:
        downloads(page, folder)
        open_drill(page, table_path)
        answer(page, table.wrong_code(shown(page)))
        for _ in range(2):
            answer(page, table.best(shown(page)))
        before = label(page)
        saved = export(page, folder)
        data = json.loads(saved)
        expect(sum(item["seen"] for item in data["drill"]["items"].values()), 3, "three answers exported")

        page.open()  # a reload: the table comes back from the last visit, and its progress
        page.wait_for("document.getElementById('drill-character').textContent !== ''", "the drill")
        expect(label(page), before, "the progress survives a reload")
        expect(export(page, folder), saved, "and exports the same")

        page.focus("drill-code")
        for _ in range(2):
            answer(page, table.best(shown(page)))
        check("two more answers change it", export(page, folder) != saved)
        path = os.path.join(folder, "saved.json.keep")
        with open(path, "w", encoding="utf-8") as f:
            f.write(saved)
        changed = export(page, folder)
        other = os.path.join(folder, "other.json.keep")
        with open(other, "w", encoding="utf-8") as f:
            f.write(json.dumps({**data, "table": "1-0"}))
        wrong_files = [(os.path.join(here, "..", "..", "docs", "typing-pad.png"), "不是 JSON"),
                       (other, "另一个码表")]
        for wrong, why in wrong_files:
            status = import_file(page, wrong)
            check(f"{os.path.basename(wrong)} refused: {why}", "没有导入" in status and why in status, status)
            expect(export(page, folder), changed, "and nothing changed")
        status = import_file(page, path)
        check("the exported file imported back", "已导入" in status, status)
        expect(export(page, folder), saved, "exported and imported back: identical")
        expect(label(page), before, "the drill as it was then")
        check("and the drill goes on", shown(page) in level)

        page.element("forget-table").click()
        expect([label(page), shown(page)], ["请先选择码表 navo.mb，再开始练习。", ""],
               "the table forgotten: nothing to drill")
        open_drill(page, table_path)
        expect(label(page), before, "the table chosen again: its progress is there")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def day_row(page):
    return page.js("return [...document.querySelectorAll('#stats-days tbody tr')]"
                   ".map((r) => [...r.cells].map((c) => c.textContent))")


def scenario_shows_the_statistics(page, table_path, shots):
    table = Table(table_path)
    table.first_level()
    expect(day_row(page), [], "no figures before any run")
    started = time.monotonic()  # before the first item is shown
    open_drill(page, table_path)
    wrong = shown(page)
    answer(page, table.wrong_code(wrong))
    answer(page, table.best(shown(page)), wait=PASS_SECONDS + 0.2)
    for _ in range(2):
        answer(page, table.best(shown(page)))
    elapsed = time.monotonic() - started
    today = datetime.date.today().isoformat()
    rows = day_row(page)
    expect([r[:2] + r[3:] for r in rows], [[today, "4", "75%"]], "today: four characters, three right")
    per_minute = float(rows[0][2]) if rows else 0
    check("characters a minute: four within the time taken, one of them slow",
          4 * 60 / elapsed - 0.1 <= per_minute <= 4 * 60 / (PASS_SECONDS + 0.2) + 0.1,
          (per_minute, elapsed))
    weakest = page.js("return [...document.querySelectorAll('#stats-weakest li')].map((li) => li.textContent)")
    expect(weakest[0] if weakest else "",
           f"{wrong} {' '.join(table.codes[wrong])}（最佳 {table.best(wrong)}；答 1 次，错 1 次）",
           "the weakest: the wrong one first, with its codes")
    expect(len(weakest), 4, "each character answered")

    # A text practised (as the practice sends it) counts with the drill that day.
    page.js("window.navoProgress.recordSession({kind: 'practice', day: arguments[0], characters: 20,"
            " right: 18, ms: 60000, keystrokes: 70})", today)
    rows = day_row(page)
    expect([r[:2] + r[3:] for r in rows], [[today, "24", "88%"]], "24 characters, 21 right: 88%")
    chart = page.js("""const svg = document.getElementById('stats-chart');
        return [svg.getAttribute('role'), svg.querySelector('title').textContent,
                svg.querySelector('desc').textContent, svg.querySelectorAll('rect').length]""")
    expect(chart[:2], ["img", "每天的每分钟字数和正确率"], "the chart is an image with a title")
    check("its description gives the day's figures", today in chart[2] and "正确率 88%" in chart[2], chart[2])
    expect(chart[3], 2, "a bar a figure for the one day")
    page.js("document.getElementById('stats').scrollIntoView()")
    page.screenshot(os.path.join(shots, "statistics-1280.png"))


def scenario_drill_works_at_phone_width(page, table_path, shots):
    table = Table(table_path)
    table.first_level()
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": 360, "height": 780, "deviceScaleFactor": 1, "mobile": True})
    page.open()
    open_drill(page, table_path)
    answer(page, table.wrong_code(shown(page)))
    answer(page, table.best(shown(page)))
    expect(verdict(page)[0], "best", "answered at 360 px")
    width = page.js("return document.documentElement.scrollWidth")
    check("nothing is wider than 360 px", width <= 360, width)
    page.js("document.getElementById('drill').scrollIntoView()")
    page.screenshot(os.path.join(shots, "drill-360.png"))
    page.js("document.getElementById('stats').scrollIntoView()")
    page.screenshot(os.path.join(shots, "statistics-360.png"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scenario", required=True)
    parser.add_argument("page")
    parser.add_argument("table")
    parser.add_argument("shots")
    args = parser.parse_args()
    run = globals().get("scenario_" + args.scenario)
    if run is None:
        sys.exit(f"no scenario {args.scenario}")
    require(f"the sample table {args.table} is built (scripts/sample-table.sh)",
            os.path.isfile(args.table))
    print(f"== scenario {args.scenario}")
    page = Page(args.page)
    try:
        run(page, args.table, args.shots)
    except Exception as error:  # a failed wait or a missing element fails the scenario
        raised("the scenario runs to its end", error)
    finally:
        page.close()
    sys.exit(0 if summary() else 1)


if __name__ == "__main__":
    main()
