#!/usr/bin/python3
"""The lookup page in headless Chromium, opened as a file (file://), as a
person uses it: the expected codes and messages come from the independent
reference reader (tests/crosscheck/reference_reader.py), never from the page.

Usage: browser_test.py --scenario NAME PAGE.html SAMPLE_TABLE SCREENSHOT_DIR
"""
import argparse
import atexit
import io
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
crosscheck = os.path.join(here, "..", "..", "tests", "crosscheck")
sys.path.insert(0, crosscheck)
sys.path.insert(0, os.path.join(here, "..", "..", "tests", "support"))
import reference_reader  # noqa: E402
from checks import check, require  # noqa: E402
from page_driver import Page, run_to_end, serve  # noqa: E402
from table_layout import LETTERS, letter_entry, pair_entry  # noqa: E402

scratch = tempfile.mkdtemp(prefix="navo-page-test-")
atexit.register(shutil.rmtree, scratch, ignore_errors=True)


def reference(table, characters):
    """The reference reader's batch lines of the characters, by character."""
    hexes = [c.encode("cp936").hex().upper() for c in characters]
    out, err = io.StringIO(), io.StringIO()
    reference_reader.run_batch(table, io.StringIO("\n".join(hexes) + "\n"), out, err)
    return {c: line.split("\t") for c, line in zip(characters, out.getvalue().splitlines())}


def expected_line(table, character):
    """The pane's line: the window's codes, then in "(简码 ...)" the codes of
    the character's every code that they do not hold."""
    _, ok, codes, _ = reference(table, [character])[character]
    assert ok == "ok", f"{character} is not found in the reference reader"
    every = io.StringIO()
    reference_reader.answer_lines(table, io.StringIO(character.encode("cp936").hex() + "\n"),
                                  every, io.StringIO(), reference_reader.every_line)
    held = codes.split("  ")
    left = [code for code in every.getvalue().split("\t")[2].split("  ")
            if code and code not in held]
    line = f"{character}: {codes}"
    if not left:
        return line
    return f"{line}{'  ' if codes else ''}(简码 {'  '.join(left)})"


def shown_report(field):
    """A report of a batch line as the page shows it: the caption, then the text."""
    if field == "beep":
        return "（提示音）"
    text, caption = field[len("box:"):].split("/")
    decode = lambda s: s.encode("latin1").decode("unicode_escape").encode("latin1").decode(
        "cp936") if "\\x" in s else s
    return (decode(caption) or "错误") + decode(text)


def wait_until_remembered(page):
    """Until the chosen table is stored (its forget button shows), so that a
    reload finds it."""
    page.wait_for("!document.getElementById('forget-table')?.hidden", "the table remembered")


def commit_one_at_a_time(page, characters):
    for character in characters:
        page.commit(character)


def scenario_chooses_a_table_through_the_file_input(page, table, shots):
    status = page.choose_table(table)
    size = os.path.getsize(table)
    check("the status names the table", "navo.mb" in status, status)
    check("and its size in bytes", f"{size:,}" in status, status)
    entries = [pair_entry(bytes([first, second])) for first in LETTERS for second in LETTERS]
    entries += [letter_entry(bytes([letter])) for letter in LETTERS]
    data = open(table, "rb").read()
    candidates = sum(struct.unpack_from("<I", data, entry + 8)[0] for entry in entries)
    check("and its number of candidates", f"{candidates:,} 个候选" in status, status)
    check("the empty pane shows the window's heading",
          page.element("pane-title").text == "汉字及编码显示窗口", page.element("pane-title").text)


def scenario_looks_up_characters_committed_by_an_input_method(page, table, shots):
    page.choose_table(table)
    page.focus("box")
    page.compose("gong")
    check("a composition is not looked up", page.lines() == [], page.lines())
    page.commit("工")
    page.wait_for("document.querySelectorAll('#pane-lines li').length === 1", "工's line")
    check("工 is looked up at once", page.lines() == [expected_line(table, "工")], page.lines())
    check("工's line shows the short code the window leaves out",
          page.lines() == ["工: aaa  aaaa  (简码 a)"], page.lines())
    check("and the box is emptied", page.element("box").get_attribute("value") == "")
    for character in "童中":
        page.compose("x")
        page.commit(character)
    want = [expected_line(table, c) for c in "中童工"]
    check("工 童 中 are drawn newest first", page.lines() == want, page.lines())
    check("the newest line is announced",
          page.element("announce").get_attribute("textContent") == want[0])


def scenario_keeps_ten_lines_newest_first(page, table, shots):
    page.choose_table(table)
    page.focus("box")
    characters = "工童中人民大学生日月水"
    commit_one_at_a_time(page, characters)
    want = [expected_line(table, c) for c in reversed(characters)][:10]
    check("eleven characters leave ten lines, newest first", page.lines() == want, page.lines())
    page.screenshot(os.path.join(shots, "page-ten-lines.png"))
    page.focus("word")
    page.commit("中国")
    page.element("word").submit()
    page.wait_for("document.getElementById('word-result').textContent !== ''", "the word's line")
    want.append(page.element("word-result").text)
    page.element("copy").click()
    page.wait_for("document.getElementById('copy-status').textContent !== ''", "the copy")
    copied = page.js("return navigator.clipboard.readText().catch(() => null)")
    check("the copy button copies the ten lines and the word's", copied == "\n".join(want),
          repr(copied))
    check("and counts the eleven lines it copied", page.element("copy-status").text == "已复制 11 行。",
          page.element("copy-status").text)


def scenario_looks_up_pasted_text_character_by_character(page, table, shots):
    page.choose_table(table)
    page.focus("box")
    page.commit("学工人，工人学！\U00020000")
    want = [expected_line(table, c) for c in "学工人"]
    check("each Chinese character once, in reading order", page.lines() == want, page.lines())
    check("a character outside GBK is named",
          any("\U00020000" in m and "GBK" in m for m in page.messages()), page.messages())
    check("the box is emptied", page.element("box").get_attribute("value") == "")
    text = "工童中人民大学生日月水火"
    page.commit(text)
    want = [expected_line(table, c) for c in text]
    check("a paste of twelve characters is shown whole, in reading order", page.lines() == want,
          page.lines())


def scenario_tells_what_it_cannot_look_up(page, table, shots):
    page.choose_table(table)
    page.focus("box")
    # (what is entered, typed as keys or committed, what the message names)
    cases = [("abc", "keys", "c"), ("7", "keys", "7"), ("\U00020000", "commit", "\U00020000"),
             ("한", "commit", "한")]
    for text, how, named in cases:
        page.js("document.getElementById('messages').textContent = ''")
        page.type_keys(text) if how == "keys" else page.commit(text)
        messages = page.messages()
        check(f"{text!r}: the page says it cannot be looked up",
              any(named in m and ("不是汉字" in m or "GBK" in m) for m in messages), messages)
        check(f"{text!r}: and leaves nothing in the box", page.element("box").get_attribute("value") == "",
              page.element("box").get_attribute("value"))
    check("nothing was looked up", page.lines() == [], page.lines())


def scenario_gives_a_word_its_word_code(page, table, shots):
    page.choose_table(table)
    page.focus("word")
    page.commit("中国")
    page.element("word").submit()
    page.wait_for("document.getElementById('word-result').textContent !== ''", "the word's line")
    code_table = reference_reader.CodeTable(reference_reader.Reports())
    code_table.open(table)
    ok, word_code = reference_reader.derive_word_code(code_table, "中国".encode("cp936") + b"\0")
    word_code = word_code.decode()
    result = page.element("word-result").text
    check("the word gets its word code", ok and result.startswith("中国: ") and
          f"词组编码 {word_code}" in result, f"{result} (word code {word_code})")
    check("said once", result.count(word_code) == 1, result)

    def submit(word):
        page.js("document.getElementById('word').value = ''")
        page.focus("word")
        page.commit(word)
        page.element("word").submit()
        return page.element("word-result").text

    ok, word_code = reference_reader.derive_word_code(code_table, "中国人".encode("cp936") + b"\0")
    result = submit("中国人")
    check("a word the table does not hold: its word code, no gap",
          ok and f"中国人: 词组编码 {word_code.decode()}" in result and ":  " not in result, result)
    result = submit("ab")
    check("letters are no word: said so", result == "" and
          any("汉字" in m for m in page.messages()) and "查询失败" not in page.messages()[-1],
          f"{result!r} {page.messages()}")
    submit("中国")
    for word in ("中", "   "):
        check(f"{word!r} clears the last word's result", submit(word) == "", page.element("word-result").text)
        submit("中国")


def crosscheck_table(name):
    subprocess.run([sys.executable, os.path.join(crosscheck, "make_tables.py"), scratch],
                   check=True, stdout=subprocess.DEVNULL)
    return os.path.join(scratch, name)


def damaged_table_scenario(page, table, what, wanted=lambda reports: reports != ""):
    """Commits the first character whose reference reports are wanted; checks the page shows them."""
    status = page.choose_table(table)
    reference_lines = reference(table, [chr(0x4E00 + i) for i in range(0x3000)
                                        if chr(0x4E00 + i).encode("cp936", "ignore")])
    character, (_, _, _, reports) = next(
        (c, line) for c, line in reference_lines.items() if wanted(line[3]))
    page.focus("box")
    page.commit(character)
    page.wait_for("document.querySelectorAll('#messages .message').length > 0", "a message")
    want = [shown_report(r) for r in reports.split("|")]
    check(f"{what}: {character} shows the core's messages as text", page.messages() == want,
          f"{page.messages()} != {want}")
    check("as text in the page, not a dialog",
          page.js("return document.querySelectorAll('#messages .message').length") == len(want))
    return status


def scenario_shows_the_messages_of_a_damaged_table(page, table, shots):
    damaged_table_scenario(page, crosscheck_table("t08_damaged_sample.mb"), "a damaged table")
    page.screenshot(os.path.join(shots, "page-damaged-table.png"))


def scenario_beeps_with_a_sound_and_a_visible_cue(page, table, shots):
    # Counted as they happen: the flash is over in less than half a second.
    page.js("window.navoTones = 0; window.navoFlashes = 0;"
            "const start = OscillatorNode.prototype.start;"
            "OscillatorNode.prototype.start = function (...a) { navoTones++; return start.apply(this, a); };"
            "const box = document.getElementById('box');"
            "new MutationObserver(() => { if (box.classList.contains('beep')) navoFlashes++; })"
            ".observe(box, { attributes: true });")
    damaged_table_scenario(page, crosscheck_table("t01_general.mb"), "a block that is not there",
                           lambda reports: reports == "beep")
    check("the box flashes", page.js("return window.navoFlashes") >= 1, page.js("return window.navoFlashes"))
    check("a short tone sounds", page.js("return window.navoTones") == 1, page.js("return window.navoTones"))


def wrong_files(table):
    """Files that are no table: (name, bytes)."""
    png = bytes.fromhex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c489")
    return [("picture.png", png), ("empty.mb", b""), ("notes.txt", "这不是码表。\n".encode() * 500),
            ("navo-100k.mb", open(table, "rb").read()[:100 * 1024]),
            ("cut-short.mb", open(crosscheck_table("t07_damaged.mb"), "rb").read())]


def left_as_it_was(page, table, what, status, lines):
    check(f"{what}: the open table stays open", page.element("table-status").text == status,
          page.element("table-status").text)
    check(f"{what}: its lines stay", page.lines() == lines, page.lines())
    check(f"{what}: the file input names no file beside the open table",
          page.js("return document.getElementById('table-file').files.length") == 0)
    message = page.js("const m = document.querySelector('#messages .message');"
                      "return m && [m.textContent, m.classList.contains('error'),"
                      "getComputedStyle(m).color, m.closest('[role=alert]') !== null]")
    check(f"{what}: an error is said", message is not None and message[1] and message[3], message)
    success = page.js("return getComputedStyle(document.getElementById('table-status')).color")
    check(f"{what}: styled unlike success", message is not None and message[2] != success,
          f"{message} {success}")


def scenario_refuses_a_file_that_is_no_table(page, table, shots):
    check("the alert region is there while empty", page.js(
        "const m = document.getElementById('messages');"
        "return m.textContent === '' && getComputedStyle(m).display !== 'none' &&"
        "m.getAttribute('role') === 'alert'"))
    status = page.choose_table(table)
    wait_until_remembered(page)
    page.focus("box")
    page.commit("中")
    lines = page.lines()
    for name, data in wrong_files(table):
        path = os.path.join(scratch, name)
        with open(path, "wb") as f:
            f.write(data)
        page.js("document.getElementById('messages').textContent = ''")
        page.js("document.getElementById('table-status').dataset.was = arguments[0]", status)
        page.choose_file(path)
        page.wait_for("document.querySelector('#messages .message') || (s => s.textContent !== "
                      "s.dataset.was)(document.getElementById('table-status'))",
                      f"what the page says of {name}")
        left_as_it_was(page, table, name, status, lines)
        if name == "navo-100k.mb":
            page.screenshot(os.path.join(shots, "page-wrong-file.png"))
    page.open()
    page.wait_for("document.getElementById('table-status').textContent.includes('已打开码表')",
                  "the remembered table")
    check("after a reload the good table is the one remembered",
          f"{os.path.getsize(table):,}" in page.element("table-status").text,
          page.element("table-status").text)


def scenario_refuses_a_file_over_64_mb_unread(page, table, shots):
    status = page.choose_table(table)
    path = os.path.join(scratch, "huge.mb")
    with open(path, "wb") as f:
        f.truncate(64 * 1024 * 1024 + 1)  # sparse: nothing written
    page.js("window.navoReads = 0; const read = Blob.prototype.arrayBuffer;"
            "Blob.prototype.arrayBuffer = function () { navoReads++; return read.call(this); };")
    page.choose_file(path)
    page.wait_for("document.querySelector('#messages .message')", "what the page says of it")
    left_as_it_was(page, table, "a file over 64 MB", status, [])
    check("it is not read", page.js("return window.navoReads") == 0, page.js("return window.navoReads"))
    check("the message names the limit", "64 MB" in page.messages()[0], page.messages())


def scenario_takes_a_table_dropped_on_it(page, table, shots):
    page.drop_file("drop-zone", table)
    page.wait_for("document.getElementById('table-status').textContent.includes('已打开码表')",
                  "the dropped table")
    check("a dropped table is opened", f"{os.path.getsize(table):,}" in
          page.element("table-status").text, page.element("table-status").text)
    page.focus("box")
    page.commit("中")
    check("and looks up", page.lines() == [expected_line(table, "中")], page.lines())


def scenario_takes_a_table_dropped_anywhere(page, table, shots):
    url = page.js("return location.href")
    for target in ("chart", "word-form"):
        page.js("document.getElementById('table-status').textContent = ''")
        page.drop_file(target, table)
        page.wait_for("document.getElementById('table-status').textContent.includes('已打开码表')",
                      f"the table dropped on {target}")
        check(f"dropped on {target}: the page stays", page.js("return location.href") == url)
    page.focus("box")
    page.commit("中")
    check("and looks up", page.lines() == [expected_line(table, "中")], page.lines())


def scenario_opens_the_sample_table_with_its_button(page, table, shots):
    page.element("sample-table").click()
    page.wait_for("document.getElementById('table-status').textContent.includes('已打开码表')",
                  "the sample table")
    check("the button opens the table built into the page's folder",
          f"{os.path.getsize(table):,}" in page.element("table-status").text,
          page.element("table-status").text)
    page.focus("box")
    page.commit("童")
    check("and it looks up", page.lines() == [expected_line(table, "童")], page.lines())


def scenario_keeps_the_table_open_after_a_reload(page, table, shots):
    page.choose_table(table)
    wait_until_remembered(page)
    page.open()
    page.wait_for("document.getElementById('table-status').textContent.includes('已打开码表')",
                  "the remembered table")
    check("the table is still open after a reload", "navo.mb" in page.element("table-status").text)
    page.focus("box")
    page.commit("工")
    check("and looks up", page.lines() == [expected_line(table, "工")], page.lines())
    check("the page is a file", page.js("return location.protocol") == "file:")
    check("as a file: one page alone, no manifest nor service worker",
          page.js("return !document.querySelector('link[rel=manifest]') &&"
                  "!navigator.serviceWorker.controller"))
    check("it says the table is remembered from the last visit",
          "上次打开的码表" in page.element("table-status").text, page.element("table-status").text)
    forget = page.element("forget-table")
    check("with a button to forget it", forget.is_displayed())
    forget.click()
    page.wait_for("document.getElementById('table-status').textContent.includes('忘记')", "forgetting")
    check("forgetting closes the table", page.lines() == [], page.lines())
    page.commit("工")
    check("nothing is looked up then", page.lines() == [] and
          any("请先选择码表" in m for m in page.messages()), page.messages())
    page.open()
    check("and after a reload no table is opened",
          page.element("table-status").text == "尚未选择码表。", page.element("table-status").text)


def scenario_works_at_phone_width(page, table, shots):
    page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                {"width": 360, "height": 780, "deviceScaleFactor": 1,
                                 "mobile": True})
    page.open()
    page.choose_table(table)
    page.focus("box")
    commit_one_at_a_time(page, "工童中人民")
    width = page.js("return document.documentElement.scrollWidth")
    check("nothing is wider than 360 px", width <= 360, width)
    box = page.js("return document.getElementById('box').getBoundingClientRect().width")
    check("the box takes the width", 300 <= box <= 360, box)
    page.element("box").send_keys("\t")
    check("the keyboard reaches the next control",
          page.js("return document.activeElement.id") == "copy",
          page.js("return document.activeElement.id"))
    page.wait_for("document.getElementById('chart').complete", "the chart decoded")
    sizes = page.js("const c = document.getElementById('chart');"
                    "return [[c.getAttribute('width'), c.getAttribute('height')],"
                    "[String(c.naturalWidth), String(c.naturalHeight)]]")
    check("the chart's place is kept before it is decoded: its size in its attributes",
          sizes[0] == sizes[1], sizes)
    chart_one = page.element("chart").get_attribute("src")
    second = page.driver.find_element("css selector", ".chart-switch[data-chart='2']")
    second.send_keys("\n")  # Enter on the focused button, as a keyboard user switches
    check("the second chart is switched to by the keyboard",
          second.get_attribute("aria-pressed") == "true" and
          page.element("chart").get_attribute("alt") == "字根图 2" and
          page.element("chart").get_attribute("src") != chart_one)
    page.screenshot(os.path.join(shots, "page-360px.png"))


def scenario_works_offline_after_a_first_visit(_, table, shots):
    directory = os.path.dirname(os.path.abspath(sys.argv[-3]))
    server, port = serve(directory)
    page = None
    try:
        url = f"http://127.0.0.1:{port}/navo-lookup.html"
        page = Page(None, url=url)
        page.wait_for("navigator.serviceWorker.controller", "the service worker")
        page.js("caches.keys().then((k) => Promise.all(k.map((n) => caches.open(n).then("
                "(c) => c.keys())))).then((l) => { window.navoKept = l.flat().map((r) => r.url); })")
        page.wait_for("window.navoKept", "the kept files")
        kept = page.js("return window.navoKept")
        check("the page is kept", url in kept, kept)
        manifest = page.js("return fetch(document.querySelector('link[rel=manifest]').href)"
                           ".then((r) => r.json())")
        check("a manifest with icons of 192 and 512 pixels",
              [i["sizes"] for i in manifest["icons"]] == ["192x192", "512x512"], manifest)
        for icon in manifest["icons"]:
            size = page.js("return fetch(arguments[0]).then((r) => r.blob()).then(createImageBitmap)"
                           ".then((b) => [b.width, b.height])", icon["src"])
            check(f"the icon {icon['src']} is a PNG of its size", size == [int(icon["sizes"][:3])] * 2, size)
        check("a favicon and a description", page.js(
            "return document.querySelector('link[rel=icon]').href.startsWith('data:image/png') &&"
            "document.querySelector('meta[name=description]').content.length > 10"))
        page.choose_table(table)
        wait_until_remembered(page)
        server.terminate()
        server.wait()
        check("the server is gone", server.poll() is not None)
        page.open()
        page.wait_for("document.getElementById('table-status').textContent.includes('已打开码表')",
                      "the remembered table, offline")
        page.focus("box")
        page.commit("中")
        check("offline the page reloads and looks up", page.lines() == [expected_line(table, "中")],
              page.lines())
    finally:
        if server.poll() is None:
            server.terminate()
            server.wait()
        if page:
            page.close()


def scenario_keeps_its_layout_as_its_scripts_run(page, table, shots):
    """The first paint may come before the scripts at the page's end have run
    (the module inside makes it long): what the markup and style alone lay
    out must be where things end up, or the page jumps as it loads."""
    places = ("return ['box', 'pad-code', 'pad-text'].map("
              "(id) => Math.round(document.getElementById(id).getBoundingClientRect().top))")
    with open(page.url[len("file://"):], encoding="utf-8") as f:
        markup = re.sub(r"<script>.*?</script>", "", f.read(), flags=re.S)
    unscripted = os.path.join(scratch, "unscripted.html")
    with open(unscripted, "w", encoding="utf-8") as f:
        f.write(markup)
    for width in (1280, 360):
        page.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                    {"width": width, "height": 800, "deviceScaleFactor": 1,
                                     "mobile": width < 400})
        page.open()
        ready = page.js(places)
        page.driver.get("file://" + unscripted)
        before = page.js(places)
        check(f"{width} px: the box, the pad's field and its text are where they end up "
              "before any script runs", before == ready, f"before {before}, after {ready}")


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
    if args.scenario == "works_offline_after_a_first_visit":  # its own page, served
        run_to_end(None, lambda: run(None, args.table, args.shots))
    page = Page(args.page)

    def scenario():
        page.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        run(page, args.table, args.shots)
    run_to_end(page, scenario)


if __name__ == "__main__":
    main()
