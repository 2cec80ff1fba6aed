#!/usr/bin/python3
"""The drill and the statistics in headless Chromium, by real key events and
clicks. Codes, best codes and menus come from the independent reader
(tests/engines/sample_codes.py), common characters from
web/character_frequency.py; never from the page.

Usage: drill_test.py --scenario NAME PAGE.html SAMPLE_TABLE SCREENSHOT_DIR
"""
import datetime
import glob
import json
import os
import shutil
import subprocess
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, ".."))
from character_frequency import from_file as common_characters  # noqa: E402
import pad_test  # noqa: E402  (its runner and keys; it puts tests/support on the path)
from pad_test import SAMPLE_CODES, type_keys  # noqa: E402
from checks import check, expect  # noqa: E402

PASS_SECONDS = 3  # the level's time, as the README states it


class Table:
    """The sample table's one-letter characters, their codes and menus, from the reader."""

    def __init__(self, path):
        self.path, self.menu, self.codes = path, {}, {}
        self.ask("--menu", "abcdefghijklmnopqrstuvwxyz", self.menu)
        self.level = list(dict.fromkeys(m[0] for m in self.menu.values() if m and len(m[0]) == 1))
        self.ask("--codes", self.level, self.codes)
        self.ask("--menu", [c for ch in self.level for c in self.codes[ch]], self.menu)

    def ask(self, flag, items, into):
        out = subprocess.run([sys.executable, SAMPLE_CODES, self.path, flag, *items], check=True,
                             stdout=subprocess.PIPE, text=True).stdout
        into.update((k, v.split()) for k, _, v in (line.partition("\t") for line in out.splitlines()))

    def best(self, character):  # the shortest code whose first candidate it is
        return min((c for c in self.codes[character] if self.menu[c][:1] == [character]), key=len)

    def wrong(self, character):
        return next(c for c in "abcdefghijklmnopqrstuvwxyz" if character not in self.menu[c])


def text(page, element_id):
    return page.js("return document.getElementById(arguments[0]).textContent", element_id)


def level_label(page):
    return text(page, "drill-level").split("（")[0]


def verdict(page):
    """The outcome, the codes shown and the one marked best."""
    return page.js("""const all = (s) => [...document.querySelectorAll(s)].map((e) => e.textContent);
        const v = document.querySelector('#drill-result .drill-verdict');
        return [v ? v.dataset.outcome : '', all('#drill-result .drill-code'), all('#drill-result .drill-best')]""")


def answer(page, code, wait=0.0):
    time.sleep(wait)
    type_keys(page, *([code] if code else []), " ")


def open_drill(page, table_path=None):
    """The table chosen (or remembered), then the drill's code field focused."""
    if table_path:
        page.choose_table(table_path)
    page.wait_for("document.getElementById('drill-character').textContent !== ''", "a drill item")
    page.focus("drill-code")


def scenario_drills_right_wrong_and_slow(page, table_path, shots):
    expect(text(page, "drill-level"), "请先选择码表 navo.mb，再开始练习。", "before a table: says so")
    table = Table(table_path)
    open_drill(page, table_path)
    count = len(table.level)
    expect(level_label(page), f"第 1 级：0/{count} 已掌握", "level 1: the one-letter characters")
    first = text(page, "drill-character")
    type_keys(page, "zz", "Escape")
    answer(page, table.wrong(first))
    outcome, codes, best = verdict(page)
    expect(outcome, "wrong", f"{first} by a code without it: wrong (Esc cleared zz)")
    expect(sorted(c.replace("（最佳）", "") for c in codes), sorted(table.codes[first]), "then its codes")
    expect(best, [table.best(first) + "（最佳）"], "the best one marked")
    second = text(page, "drill-character")
    check("another character next", second != first and second in table.level, second)
    answer(page, table.best(second), wait=PASS_SECONDS + 0.3)
    expect([verdict(page)[0], level_label(page)], ["best", f"第 1 级：0/{count} 已掌握"],
           "right and best, but slow: not mastered")
    mastered = {text(page, "drill-character")}
    type_keys(page, table.best(text(page, "drill-character")) + "x", "Backspace")
    answer(page, "")
    expect([verdict(page)[0], level_label(page)], ["best", f"第 1 级：1/{count} 已掌握"],
           "Backspace took x back; right within the time: mastered")

    # Each answered right and fast, 的 and 经 first by a code under which another comes first.
    not_best = {c: [x for x in table.codes[c] if table.menu[x][:1] != [c]] for c in table.level}
    seen = []  # (best?, outcome, label, mastered so far)
    while "第 1 级" in level_label(page) and len(seen) < 300:
        character = text(page, "drill-character")
        mastered.add(character)
        code = (not_best.pop(character, None) or [table.best(character)])[0]
        answer(page, code)
        seen.append((code == table.best(character), verdict(page)[0], level_label(page), len(mastered)))
        if not seen[-1][0] and not any(not_best.values()):
            page.js("document.getElementById('drill').scrollIntoView()")
            page.screenshot(os.path.join(shots, "drill-1280.png"))
    not_first = [s[1] for s in seen if not s[0]]  # 的 or 经, or both (one may be mastered above)
    expect(not_first, ["right"] * max(1, len(not_first)), "的 or 经 by a later code: right, not best")
    expect([s for s in seen[:-1] if f"第 1 级：{s[3]}/" not in s[2]], [], "each answer counted as mastered")
    check("the level passed", "第 1 级通过" in text(page, "drill-result"))
    expect(level_label(page), "第 2 级：0/100 已掌握", "level 2 opens, a hundred items")
    common = [c for c in common_characters(count=300) if c not in table.level][:100]
    drawn = set()
    for _ in range(5):
        drawn.add(text(page, "drill-character"))
        answer(page, "zzzz")
    check("of the most common characters after level 1", drawn <= set(common), drawn - set(common))


def export(page, folder):
    page.element("progress-export").click()
    for _ in range(200):
        done = glob.glob(os.path.join(folder, "*.json"))
        if done:
            time.sleep(0.2)
            with open(done[0], encoding="utf-8") as f:
                saved = f.read()
            os.remove(done[0])
            page.focus("drill-code")  # the button took the focus; the keys go back to the drill
            return saved
        time.sleep(0.05)
    raise AssertionError("no file exported")


def import_file(page, path):
    page.js("document.getElementById('progress-status').textContent = ''")
    page.element("progress-file").send_keys(os.path.abspath(path))
    page.wait_for("document.getElementById('progress-status').textContent !== ''", "the import")
    return text(page, "progress-status")


def scenario_keeps_progress_through_a_reload_and_a_file(page, table_path, shots):
    table = Table(table_path)
    folder = os.path.join(os.path.dirname(os.path.abspath(shots)), "progress-files")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    page.driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": folder})
    open_drill(page, table_path)
    for right in (False, True, True):
        character = text(page, "drill-character")
        answer(page, table.best(character) if right else table.wrong(character))
    before = level_label(page)
    saved = export(page, folder)
    expect(sum(i["seen"] for i in json.loads(saved)["drill"]["items"].values()), 3, "three answers exported")
    page.open()  # the table comes back from the last visit, with its progress
    open_drill(page)
    expect([level_label(page), export(page, folder)], [before, saved], "the same after a reload")
    answer(page, table.best(text(page, "drill-character")))
    changed = export(page, folder)
    check("an answer more changes it", changed != saved)
    files = {"saved.txt": saved, "other.txt": json.dumps({**json.loads(saved), "table": "1-0"})}
    for name, content in files.items():
        with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
            f.write(content)
    for wrong, why in ((os.path.join(here, "..", "..", "docs", "drill-360.png"), "不是 JSON"),
                       (os.path.join(folder, "other.txt"), "另一个码表")):
        status = import_file(page, wrong)
        check(f"{os.path.basename(wrong)} refused: {why}", "没有导入" in status and why in status, status)
        expect(export(page, folder), changed, "and nothing changed")
    check("the saved file imported", "已导入" in import_file(page, os.path.join(folder, "saved.txt")))
    expect([export(page, folder), level_label(page)], [saved, before], "exported, imported back: identical")
    page.element("forget-table").click()
    expect([text(page, "drill-level"), text(page, "drill-character")],
           ["请先选择码表 navo.mb，再开始练习。", ""], "the table forgotten: nothing to drill")
    open_drill(page, table_path)
    expect(level_label(page), before, "the table chosen again: its progress is there")


def day_rows(page):
    return page.js("return [...document.querySelectorAll('#stats-days tbody tr')]"
                   ".map((r) => [...r.cells].map((c) => c.textContent))")


def scenario_shows_the_statistics(page, table_path, shots):
    table = Table(table_path)
    expect(day_rows(page), [], "no figures before any run")
    started = time.monotonic()  # before the first item is shown
    open_drill(page, table_path)
    wrong = text(page, "drill-character")
    asked = []  # an item may come back after another: the list says how often
    for code_of, wait in ((table.wrong, 0), (table.best, PASS_SECONDS + 0.2), (table.best, 0), (table.best, 0)):
        asked.append(text(page, "drill-character"))
        answer(page, code_of(asked[-1]), wait)
    elapsed = time.monotonic() - started
    today = datetime.date.today().isoformat()
    rows = day_rows(page)
    expect([r[:2] + r[3:] for r in rows], [[today, "4", "75%"]], "today: four characters, three right")
    check("characters a minute: four in the time taken, one of them slow",
          4 * 60 / elapsed - 0.1 <= float(rows[0][2]) <= 4 * 60 / (PASS_SECONDS + 0.2) + 0.1, (rows, elapsed))
    weakest = page.js("return [...document.querySelectorAll('#stats-weakest li')].map((li) => li.textContent)")
    expect([len(weakest), weakest[0]],
           [len(set(asked)), f"{wrong} {' '.join(table.codes[wrong])}（最佳 {table.best(wrong)}；"
            f"答 {asked.count(wrong)} 次，错 1 次）"], "those answered, the wrong one first with its codes")
    page.js("window.navoProgress.recordSession({kind: 'practice', day: arguments[0], characters: 20,"
            " right: 18, ms: 60000, keystrokes: 70})", today)  # as text practice sends a run
    expect([r[:2] + r[3:] for r in day_rows(page)], [[today, "24", "88%"]], "with practice: 21 of 24 right")
    chart = page.js("""const svg = document.getElementById('stats-chart');
        return [svg.getAttribute('role'), svg.querySelector('title').textContent,
                svg.querySelector('desc').textContent.includes(arguments[0] + '：'),
                svg.querySelector('desc').textContent.includes('正确率 88%'), svg.querySelectorAll('rect').length]""",
                    today)
    expect(chart, ["img", "每天的每分钟字数和正确率", True, True, 2], "the chart: titled, described, two bars")
    page.js("document.getElementById('stats').scrollIntoView()")
    page.screenshot(os.path.join(shots, "statistics-1280.png"))
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": 360, "height": 780, "deviceScaleFactor": 1, "mobile": True})
    page.open()
    open_drill(page)
    answer(page, table.best(text(page, "drill-character")))
    expect([verdict(page)[0], len(day_rows(page))], ["best", 1], "at 360 px: answered, the same day")
    check("nothing wider than 360 px", page.js("return document.documentElement.scrollWidth") <= 360)
    for section, name in (("drill", "drill-360.png"), ("stats", "statistics-360.png")):
        page.js(f"document.getElementById('{section}').scrollIntoView()")
        page.screenshot(os.path.join(shots, name))


if __name__ == "__main__":  # pad_test's runner, with these scenarios
    pad_test.__dict__.update({k: v for k, v in globals().items() if k.startswith("scenario_")})
    pad_test.main()
