#!/usr/bin/python3
"""The typing pad in headless Chromium, driven by real key events (CDP
Input.dispatchKeyEvent) and real clicks: the expected candidates come from
the independent reader (tests/engines/sample_codes.py), or from librime on
the exported Rime schema, never from the page.

Usage: pad_test.py --scenario NAME PAGE.html SAMPLE_TABLE SCREENSHOT_DIR
                   [--navomb NAVOMB --rime-menu RIME_MENU --work DIR]
"""
import argparse
import os
import shutil
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.join(here, "..", "..")
sys.path.insert(0, os.path.join(root, "tests", "crosscheck"))
sys.path.insert(0, os.path.join(root, "tests", "support"))
import reference_reader  # noqa: E402
from checks import check, expect, require  # noqa: E402
from page_driver import Page, run_to_end  # noqa: E402

SAMPLE_CODES = os.path.join(root, "tests", "engines", "sample_codes.py")
SPECIAL_KEYS = {  # key: (code, Windows virtual key, text)
    " ": ("Space", 32, " "), "-": ("Minus", 189, "-"), "=": ("Equal", 187, "="),
    "Backspace": ("Backspace", 8, ""), "Escape": ("Escape", 27, ""),
    "Enter": ("Enter", 13, "\r"), "ArrowDown": ("ArrowDown", 40, ""),
    "ArrowUp": ("ArrowUp", 38, ""),
}


def press(page, key):
    """One key pressed and released, as the keyboard sends it."""
    if key in SPECIAL_KEYS:
        code, virtual, text = SPECIAL_KEYS[key]
    elif key.isdigit():
        code, virtual, text = "Digit" + key, ord(key), key
    else:
        code, virtual, text = "Key" + key.upper(), ord(key.upper()), key
    down = {"type": "keyDown", "key": key, "code": code, "windowsVirtualKeyCode": virtual}
    if text:
        down["text"] = text
    page.driver.execute_cdp_cmd("Input.dispatchKeyEvent", down)
    page.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {
        "type": "keyUp", "key": key, "code": code, "windowsVirtualKeyCode": virtual})


def type_keys(page, *keys):
    for key in keys:
        if len(key) > 1 and key not in SPECIAL_KEYS:
            for letter in key:
                press(page, letter)
        else:
            press(page, key)


def shown(page):
    """The numbered candidates on the page, the hints, the code field."""
    return page.js("""
        const texts = (sel) => [...document.querySelectorAll(sel)].map((e) => e.textContent);
        return [texts('#pad-candidates .pad-word'),
                texts('#pad-candidates .pad-number'),
                [...document.querySelectorAll('#pad-hints li')]
                  .map((li) => [li.firstChild.textContent, li.querySelector('.pad-rest').textContent]),
                document.getElementById('pad-code').value]""")


def text(page):
    return page.js("return document.getElementById('pad-text').value")


def menus(table, codes):
    """CODE -> the texts the table holds under exactly CODE, in its order."""
    out = subprocess.run([sys.executable, SAMPLE_CODES, table, "--menu", *codes], check=True,
                         stdout=subprocess.PIPE, text=True).stdout
    return {line.split("\t")[0]: line.split("\t")[1].split() for line in out.splitlines()}


def codes_of(table, texts):
    out = subprocess.run([sys.executable, SAMPLE_CODES, table, "--codes", *texts], check=True,
                         stdout=subprocess.PIPE, text=True).stdout
    return {line.split("\t")[0]: line.split("\t")[1].split() for line in out.splitlines()}


def all_candidates(page):
    """Every numbered candidate of the typed code, page after page with =."""
    listed = []
    for _ in range(40):
        candidates = shown(page)[0]
        listed += candidates
        if len(candidates) < 9:
            break
        before = page.js("return document.getElementById('pad-page').textContent")
        press(page, "=")
        if page.js("return document.getElementById('pad-page').textContent") == before:
            break
    return listed


def open_pad(page, table):
    page.choose_table(table)
    page.focus("pad-code")


def scenario_types_codes_and_chooses(page, table, shots):
    open_pad(page, table)
    want = menus(table, ["a", "aaaa", "ab", "zzd", "kh"])
    type_keys(page, "a")
    candidates, numbers, hints, code = shown(page)
    expect(candidates, want["a"], "a: the candidates of a, as the table holds them")
    expect(numbers, [str(n + 1) for n in range(len(want["a"]))], "numbered from 1")
    check("hints follow, each with the letters still to type", len(hints) > 0, hints)
    every = codes_of(table, [t for t, _ in hints])
    for hint_text, rest in hints:
        check(f"hint {hint_text}: a + {rest} is one of its codes",
              rest and "a" + rest in every[hint_text], (rest, every[hint_text]))
    expect(code, "a", "the field shows the code")
    press(page, " ")
    expect(text(page), want["a"][0], "Space commits the first")
    expect(shown(page)[3], "", "and clears the code")

    type_keys(page, "ab")
    expect(shown(page)[0], want["ab"][:9], "ab's candidates")
    press(page, "Backspace")
    expect(shown(page)[0], want["a"], "Backspace: back to a's candidates")
    press(page, "Escape")
    expect(shown(page)[:2] + [shown(page)[3]], [[], [], ""], "Esc clears the code and the list")

    type_keys(page, "aaaa")
    require("aaaa has two candidates", len(want["aaaa"]) >= 2)
    press(page, "2")
    expect(text(page), want["a"][0] + want["aaaa"][1], "2 chooses the second")

    type_keys(page, "zzd")
    require("zzd fills more than a page", len(want["zzd"]) > 9)
    expect(shown(page)[0], want["zzd"][:9], "the first page: nine")
    press(page, "=")
    expect(shown(page)[0], want["zzd"][9:18], "= turns to the second page")
    press(page, "3")
    expect(text(page)[-1], want["zzd"][11], "3 on the second page chooses the twelfth")
    type_keys(page, "zzd", "ArrowDown", "ArrowDown", "ArrowUp", "-")
    expect(shown(page)[0], want["zzd"][:9], "the arrows and - turn back")
    press(page, "Escape")

    before = text(page)
    type_keys(page, "kh", "Enter")
    expect(text(page), before + "kh", "Enter commits the letters as typed")
    press(page, "Backspace")
    expect(text(page), before + "k", "Backspace on no code edits the text")
    page.screenshot(os.path.join(shots, "pad-typing.png"))


def scenario_types_a_word_by_its_word_code(page, table, shots):
    code_table = reference_reader.CodeTable(reference_reader.Reports())
    code_table.open(table)
    ok, word_code = reference_reader.derive_word_code(code_table, "中国".encode("cp936") + b"\0")
    require("中国 has a word code", ok)
    word_code = word_code.decode()
    open_pad(page, table)
    type_keys(page, word_code)
    candidates = shown(page)[0]
    check(f"中国 is among the candidates of its word code {word_code}", "中国" in candidates,
          candidates)
    if "中国" in candidates:
        press(page, str(candidates.index("中国") + 1))
    expect(text(page), "中国", "the word is typed")


def scenario_taps_the_on_screen_keyboard(page, table, shots):
    open_pad(page, table)
    letters = "qwertyuiopasdfghjklzxcvbnm"
    want = menus(table, list(letters))
    keys = page.js("return [...document.querySelectorAll('#pad-keyboard [data-letter]')]"
                   ".map((k) => [k.dataset.letter, k.querySelector('.pad-root').textContent])")
    expect(keys, [[c, want[c][0] if want[c] else ""] for c in letters],
           "the keys in QWERTY order, each with its one-letter character")
    key = lambda css: page.driver.find_element("css selector", css)
    key("#pad-keyboard [data-letter='g']").click()
    expect(shown(page)[0], want["g"], "a tapped key types its letter")
    key("#pad-keyboard .pad-space").click()
    expect(text(page), want["g"][0], "the space key commits the first")
    for letter in "kh":
        key(f"#pad-keyboard [data-letter='{letter}']").click()
    expect(shown(page)[3], "kh", "taps make a code")
    check("and the field keeps the focus for the keyboard",
          page.js("return document.activeElement.id") == "pad-code")
    page.driver.find_elements("css selector", "#pad-candidates li")[0].click()
    expect(text(page), want["g"][0] + menus(table, ["kh"])["kh"][0], "a tapped candidate commits")


def scenario_pad_works_at_phone_width(page, table, shots):
    open_pad(page, table)
    type_keys(page, "a", " ", "ai")
    page.driver.execute_script("document.getElementById('pad').scrollIntoView()")
    page.screenshot(os.path.join(shots, "pad-1280px.png"))
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": 360, "height": 780, "deviceScaleFactor": 1,
                                 "mobile": True})
    page.open()
    open_pad(page, table)
    type_keys(page, "a", " ", "ai")
    width = page.js("return document.documentElement.scrollWidth")
    check("nothing is wider than 360 px", width <= 360, width)
    right = page.js("return Math.max(...[...document.querySelectorAll('#pad-keyboard button')]"
                    ".map((k) => k.getBoundingClientRect().right))")
    check("every key is on the screen", right <= 360, right)
    live = page.js("return document.getElementById('pad-menu').getAttribute('aria-live')")
    expect(live, "polite", "the candidates are announced")
    page.driver.execute_script("document.getElementById('pad').scrollIntoView()")
    page.screenshot(os.path.join(shots, "pad-360px.png"))


def parity_codes(table, count=200):
    """count codes from the sampled ones: every one-letter code, then an even
    spread over the pair blocks (first, last, longest, first word's code)."""
    out = subprocess.run([sys.executable, SAMPLE_CODES, table], check=True,
                         stdout=subprocess.PIPE, text=True).stdout
    sampled = [line.split("\t")[0] for line in out.splitlines()]
    ones = [c for c in sampled if len(c) == 1]
    rest = [c for c in sampled if len(c) > 1]
    wanted = count - len(ones)
    groups = {}
    for code in rest:
        groups.setdefault(code[0], []).append(code)
    picked = []
    for group in groups.values():  # each letter's pairs, its share spread over them
        share = max(1, len(group) * wanted // len(rest))
        picked += [group[i * len(group) // share] for i in range(share)]
    others = [c for c in rest if c not in set(picked)]
    picked += [others[i * len(others) // wanted] for i in range(wanted - len(picked))]
    return ones + picked[:wanted], sampled


def scenario_agrees_with_librime(page, table, shots, args):
    codes, sampled = parity_codes(table)
    expect(len(set(codes)), 200, "200 codes")
    expect(sorted({c[0] for c in codes}), sorted({c[0] for c in sampled}),
           "from the blocks of every first letter")
    expect(len({c for c in codes if len(c) == 1}), len({c for c in sampled if len(c) == 1}),
           "every one-letter block")
    work = args.work
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    folder = os.path.join(work, "navo-rime")
    shutil.copy(table, os.path.join(work, "navo.mb"))
    subprocess.run([args.navomb, "export", "--to", "rime", os.path.join(work, "navo.mb"), folder],
                   check=True, stderr=subprocess.DEVNULL)
    subprocess.run(["rime_deployer", "--compile", os.path.join(folder, "navo.schema.yaml"), folder,
                    "/usr/share/rime-data", os.path.join(folder, "build")], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    rime = subprocess.run([args.rime_menu, folder, "navo", "/usr/share/rime-data"],
                          input="\n".join(codes) + "\n", stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, check=True, timeout=120).stdout
    rime_menu = {line.split("\t")[0]: line.split("\t")[1].split(" ") if line.split("\t")[1] else []
                 for line in rime.splitlines()}
    expect(len(rime_menu), 200, "librime gives a menu for each code")
    open_pad(page, table)
    differ = []
    for code in codes:
        type_keys(page, code)
        pad = all_candidates(page)
        press(page, "Escape")
        if pad != rime_menu.get(code):
            differ.append(f"{code}: pad {pad} librime {rime_menu.get(code)}")
    check("the pad's candidates are librime's, in its order, for the 200 codes", not differ,
          "\n".join(differ[:10]))


def main(scenarios=None):
    """Runs the scenario named; scenarios: the functions of another test's module."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--scenario", required=True)
    parser.add_argument("--navomb")
    parser.add_argument("--rime-menu")
    parser.add_argument("--work")
    parser.add_argument("page")
    parser.add_argument("table")
    parser.add_argument("shots")
    args = parser.parse_args()
    run = (scenarios or globals()).get("scenario_" + args.scenario)
    if run is None:
        sys.exit(f"no scenario {args.scenario}")
    require(f"the sample table {args.table} is built (scripts/sample-table.sh)",
            os.path.isfile(args.table))
    print(f"== scenario {args.scenario}")
    page = Page(args.page)

    def scenario():
        if args.scenario == "agrees_with_librime":
            require("navomb and rime_menu of the native build are given",
                    args.navomb and os.path.isfile(args.navomb) and args.rime_menu and
                    os.path.isfile(args.rime_menu))
            run(page, args.table, args.shots, args)
        else:
            run(page, args.table, args.shots)
    run_to_end(page, scenario)


if __name__ == "__main__":
    main()
