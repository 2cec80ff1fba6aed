"""Debian's Chromium, headless, driven by selenium, on the lookup page opened
as a file: what the browser tests and the page benchmark share."""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

TIMEOUT = 20  # seconds for anything the page does


def serve(directory):
    """The folder served by python3 -m http.server on a free port of
    127.0.0.1, once it answers: (the server's process, its port)."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    server = subprocess.Popen(["/usr/bin/python3", "-m", "http.server", "--bind", "127.0.0.1",
                               str(port)], cwd=directory, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    for _ in range(100):
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            break
        except OSError:
            time.sleep(0.1)
    return server, port


class Page:
    def __init__(self, page_path, width=1280, height=900, url=None):
        self.url = url or "file://" + os.path.abspath(page_path)
        self.profile = tempfile.mkdtemp(prefix="navo-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--autoplay-policy=no-user-gesture-required", "--mute-audio",
                     f"--user-data-dir={self.profile}", f"--window-size={width},{height}"):
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.set_page_load_timeout(TIMEOUT)
        self.open()

    def open(self):
        self.driver.get(self.url)
        self.wait_for("document.body.dataset.ready === 'true'", "the module to be ready")

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait_for(self, condition, what, timeout=TIMEOUT):
        """Waits until the JavaScript condition holds; fails naming what was awaited."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.js("return !!(" + condition + ")"):
                return
            time.sleep(0.05)
        raise AssertionError(f"timed out waiting for {what}")

    def element(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def choose_file(self, path):
        """A file chosen through the file input, whatever the page makes of it."""
        self.element("table-file").send_keys(os.path.abspath(path))

    def choose_table(self, path):
        self.js("document.getElementById('table-status').textContent = ''")
        self.element("table-file").send_keys(os.path.abspath(path))
        self.wait_for("document.getElementById('table-status').textContent !== ''",
                      "the table's status")
        return self.element("table-status").text

    def drop_file(self, element_id, path):
        """A file dragged from the desktop and dropped on the element, scrolled into view."""
        self.js("document.getElementById(arguments[0]).scrollIntoView({block: 'center'})", element_id)
        x, y = self.js("const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                       "return [r.x + r.width / 2, r.y + r.height / 2]", element_id)
        data = {"items": [], "files": [os.path.abspath(path)], "dragOperationsMask": 1}
        for kind in ("dragEnter", "dragOver", "drop"):
            self.driver.execute_cdp_cmd("Input.dispatchDragEvent",
                                        {"type": kind, "x": x, "y": y, "data": data})

    def focus(self, element_id):
        self.element(element_id).click()

    def type_keys(self, text):
        """Keys pressed one by one (letters, digits, space), as on a keyboard."""
        for key in text:
            name = key.upper()
            code = "Key" + name if key.isalpha() else "Digit" + key if key.isdigit() else "Space"
            event = {"key": key, "code": code, "windowsVirtualKeyCode": ord(name),
                     "nativeVirtualKeyCode": ord(name)}
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent",
                                        {"type": "keyDown", "text": key, **event})
            self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": "keyUp", **event})

    def compose(self, text):
        """An input method's composition, not yet committed."""
        self.driver.execute_cdp_cmd("Input.imeSetComposition",
                                    {"text": text, "selectionStart": len(text),
                                     "selectionEnd": len(text)})

    def commit(self, text):
        """Text committed as an input method commits it (or a paste inserts it)."""
        self.driver.execute_cdp_cmd("Input.insertText", {"text": text})

    def lines(self):
        return self.js("return [...document.querySelectorAll('#pane-lines li')]"
                       ".map((li) => li.textContent)")

    def messages(self):
        return self.js("return [...document.querySelectorAll('#messages .message')]"
                       ".map((m) => m.textContent)")

    def screenshot(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        self.driver.save_screenshot(path)
        return path


def run_to_end(page, action, what="the scenario runs to its end"):
    """Runs action() and exits with the checks' summary: a failed wait or a
    missing element (an exception) is a failed check; the page, if any, is
    closed after."""
    from checks import raised, summary  # the test scripts put tests/support on the path
    try:
        action()
    except Exception as error:
        raised(what, error)
    finally:
        if page is not None:
            page.close()
    sys.exit(0 if summary() else 1)
