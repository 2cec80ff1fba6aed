#!/usr/bin/python3
"""Text practice in headless Chromium: a text typed through the pad by real
key events (CDP Input.dispatchKeyEvent), with wrong characters on purpose;
the marks, the figures and the hints are checked against what the test
itself pressed and what the independent reader says of the sample table.

Usage: practice_test.py --scenario NAME PAGE.html SAMPLE_TABLE SCREENSHOT_DIR
"""
import datetime
import os
import re
import sys
import time

from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "support"))
from checks import check, expect, require  # noqa: E402
import pad_test  # noqa: E402
from pad_test import codes_of, menus, type_keys  # noqa: E402

QUIET_NIGHT = "床前明月光，疑是地上霜。举头望明月，低头思故乡。"  # the first text offered
PUNCTUATION = "，。"


def press_hint_key(page):
    """? as a US keyboard sends it: Shift and the slash key."""
    event = {"key": "?", "code": "Slash", "windowsVirtualKeyCode": 191, "modifiers": 8}
    page.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": "keyDown", "text": "?", **event})
    page.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": "keyUp", **event})


def keys_for(table, texts):
    """TEXT -> the keys that commit it: its shortest code under which it is
    among the first nine, then Space or its digit."""
    codes = codes_of(table, texts)
    menu = menus(table, sorted({c for t in texts for c in codes[t]}))
    out = {}
    for text in texts:
        for code in sorted(codes[text], key=len):
            if text in menu[code][:9]:
                index = menu[code].index(text)
                out[text] = list(code) + [" " if index == 0 else str(index + 1)]
                break
        require(f"{text} can be typed from one page of candidates", text in out)
    return out


def best_code(table, ch):
    """The shortest code under which ch is the first candidate, '' if none."""
    codes = sorted(codes_of(table, [ch])[ch], key=len)
    menu = menus(table, codes)
    return next((c for c in codes if menu[c][:1] == [ch]), ""), codes


def marks(page):
    return page.js("""return [...document.getElementById('practice-text').children].map((s) =>
        [s.firstChild.textContent, s.className,
         s.querySelector('.practice-typed') ? s.querySelector('.practice-typed').textContent : ''])""")


def figures(page):
    return page.js("""const out = {};
        for (const d of document.querySelectorAll('#practice-result dd')) out[d.dataset.figure] = d.textContent;
        return out""")


def start(page, table, text_index=None):
    if not page.js("return !!window.navoPad.lookup"):
        page.choose_table(table)
    page.js("window.practiceSessions = []; window.navoProgress = "
            "{recordSession: (s) => { window.practiceSessions.push(s); }}")
    if text_index is not None:
        Select(page.element("practice-choice")).select_by_index(text_index)
    page.element("practice-start").click()
    expect(page.js("return document.activeElement.id"), "pad-code", "the run starts in the pad")


def scenario_types_a_text_with_two_errors(page, table, shots):
    start(page, table)
    wrong = menus(table, ["a"])["a"][0]  # what a and Space commit
    plan = keys_for(table, [c for c in set(QUIET_NIGHT) if c not in PUNCTUATION] + ["地上"])
    require(f"{wrong} is in the text nowhere", wrong not in QUIET_NIGHT)
    # (keys, what the text shows there): 月 at 3 and 明 at 15 typed wrong; 地上 as a word.
    steps = [plan["床"], ["q", "Escape"], plan["前"], plan["明"], ["a", " "], plan["光"],
             plan["疑"], "hint", plan["是"], plan["地上"], plan["霜"], plan["举"], plan["头"],
             plan["望"], ["a", " "], plan["月"], plan["低"], plan["头"], plan["思"], plan["故"],
             plan["乡"]]
    keystrokes = 0
    began = time.monotonic()
    for n, step in enumerate(steps):
        if step == "hint":
            press_hint_key(page)
            continue
        type_keys(page, *step)
        keystrokes += len(step)
        if n == 3:
            progress = page.js("return document.getElementById('practice-progress').textContent")
            check("after 床前明 the next is 月", progress.endswith("下一个：月"), progress)
            current = page.js("return document.querySelector('#practice-text [aria-current]')"
                              ".textContent")
            expect(current, "月", "月 is the current character")
    ended = time.monotonic()
    right, bad = "practice-right", "practice-wrong"
    want = [[c, "practice-skipped" if c in PUNCTUATION else right, ""] for c in QUIET_NIGHT]
    want[3] = ["月", bad, wrong]
    want[15] = ["明", bad, wrong]
    expect(marks(page), want, "each character marked; the two wrong ones with what was typed")
    shown = figures(page)
    expect([shown.get("字数"), shown.get("错字"), shown.get("击键"), shown.get("提示")],
           ["20（对 18）", "2", f"{keystrokes / 20:.2f} 键/字（共 {keystrokes} 键）", "1 次"],
           "20 characters, 2 errors, the keys pressed (? not among them), 1 hint")
    seconds = float(re.match(r"([\d.]+) 秒", shown.get("用时", "")).group(1))
    check("the time lies within the time the keys took", 0 < seconds <= ended - began + 0.05,
          (seconds, ended - began))
    # The time is shown to a tenth of a second, the speed from the time itself.
    speed = float(shown.get("速度", "").split()[0])
    check("the speed is 20 characters over that time",
          20 * 60 / (seconds + 0.05) - 0.1 <= speed <= 20 * 60 / max(seconds - 0.05, 0.001) + 0.1,
          (speed, seconds))
    sessions = page.js("return window.practiceSessions")
    expect([{k: s[k] for k in ("kind", "day", "characters", "right", "keystrokes")}
            for s in sessions],
           [{"kind": "practice", "day": datetime.date.today().isoformat(), "characters": 20,
             "right": 18, "keystrokes": keystrokes}], "the run is kept once in the progress")
    page.js("document.getElementById('practice').scrollIntoView()")
    page.screenshot(os.path.join(shots, "practice-1280.png"))
    type_keys(page, "a", " ")
    expect(len(page.js("return window.practiceSessions")), 1, "typing after the end adds nothing")


def scenario_gives_the_next_code_as_a_hint(page, table, shots):
    start(page, table, 1)  # 春晓
    text = page.js("return document.getElementById('practice-source').value")
    expect(text[:5], "春眠不觉晓", "the second text offered is 春晓")
    hint = lambda: page.js("return document.getElementById('practice-hint-text').textContent")
    best, _ = best_code(table, "春")
    require("春 has a best code", best)
    press_hint_key(page)
    expect(hint(), f"提示：春 {best}", "? shows the best code of 春")
    expect(page.js("return document.getElementById('pad-code').value"), "", "? types nothing")
    plan = keys_for(table, ["春", "眠", "不"])
    for ch in "春眠不":
        type_keys(page, *plan[ch])
    expect(hint(), "", "a commit clears the hint")
    best, codes = best_code(table, "觉")
    require("觉 is first under none of its codes in the sample table", not best)
    page.element("practice-hint").click()
    expect(hint(), f"提示：觉 没有首选的编码，键入 {codes[0]} 后选字",
           "the button: 觉 has no best code; its shortest code is given")
    expect(page.js("return document.activeElement.id"), "pad-code", "and typing goes on in the pad")
    best, _ = best_code(table, "晓")
    type_keys(page, *keys_for(table, ["觉"])["觉"])
    press_hint_key(page)
    expect(hint(), f"提示：晓 {best}", "then the hint of 晓")


def scenario_works_at_phone_width(page, table, shots):
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": 360, "height": 780, "deviceScaleFactor": 1,
                                 "mobile": True})
    page.open()
    expect(page.element("practice-progress").text, "请先选择码表 navo.mb，才能练习。",
           "before a table it says so")
    page.element("practice-start").click()
    expect(page.element("practice-status").text, "请先选择码表 navo.mb，才能练习。", "开始 too")
    page.choose_table(table)
    page.element("practice-source").send_keys(Keys.CONTROL, "a", Keys.NULL, Keys.DELETE,
                                                "abc，123")
    page.element("practice-start").click()
    expect(page.element("practice-status").text, "文章里没有这个码表能打的汉字。", "nothing to type")
    start(page, table, 0)  # back to the first text offered
    plan = keys_for(table, ["床", "前"])
    type_keys(page, *plan["床"], *plan["前"], "a", " ")
    width = page.js("return document.documentElement.scrollWidth")
    check("nothing is wider than 360 px", width <= 360, width)
    expect([m[1] for m in marks(page)[:5]],
           ["practice-right", "practice-right", "practice-wrong", "practice-current",
            "practice-pending"], "marks at 360 px")
    page.js("document.getElementById('practice-source').scrollIntoView()")
    page.screenshot(os.path.join(shots, "practice-360.png"))
    # The table forgotten mid-run: the run ends, and neither the practice nor
    # the pad goes on with the closed table.
    page.element("forget-table").click()
    expect(page.element("practice-status").text, "码表已忘记，这次练习结束。", "the run ended")
    expect(page.element("practice-progress").text, "请先选择码表 navo.mb，才能练习。",
           "and it asks for a table")
    page.focus("pad-code")
    type_keys(page, "a")
    expect([page.element("pad-page").text, page.js("return document.querySelector("
            "'#pad-keyboard [data-letter=\"a\"] .pad-root').textContent")],
           ["请先选择码表 navo.mb。", ""], "the pad asks for a table; its keys show letters only")


if __name__ == "__main__":
    pad_test.main(globals())
