"""The checks of every Python test: each passes or fails, a failure names the
line of the check and says why, and the last line counts them (as
tests/support/checks.sh does for the shell tests).

    from checks import check, expect, fail, require, run
    check(what, condition, detail)   condition must hold; detail shows what was seen
    expect(actual, wanted, what)     the two must be equal
    fail(what, detail)               a failure found without a condition
    raised(what, error)              an exception that ended a test: a failure at its line
    require(what, condition)         a condition of the set-up, not of what is tested:
                                     when it does not hold, the test stops (exit 3)
    run(test, ...)                   runs each test (an exception in one is a failure),
                                     prints "N passed, M failed", exits 0 only when
                                     nothing failed and something passed
"""

import os
import sys
import traceback

SETUP_ERROR = 3

passed = 0
failed = 0


def where(depth=1):
    """"script:line" of the call depth frames up from the function that asks."""
    frame = sys._getframe(depth + 1)
    return "%s:%d" % (os.path.basename(frame.f_code.co_filename), frame.f_lineno)


def indented(text):
    return "".join("    " + line + "\n" for line in str(text).splitlines())


def count(at, what, condition, detail=""):
    global passed, failed
    if condition:
        passed += 1
        print("ok: " + what)
    else:
        failed += 1
        print("FAILED (%s): %s" % (at, what))
        if detail != "":
            sys.stdout.write(indented(detail))
    sys.stdout.flush()
    return bool(condition)


def check(what, condition, detail=""):
    return count(where(), what, condition, detail)


def expect(actual, wanted, what):
    return count(where(), what, actual == wanted, "got:    %r\nwanted: %r" % (actual, wanted))


def fail(what, detail=""):
    return count(where(), what, False, detail)


def require(what, condition):
    if condition:
        return
    print("SET-UP ERROR (%s): %s" % (where(), what))
    print("set-up error: the test could not run")
    sys.exit(SETUP_ERROR)


def summary():
    """Prints the counts; true when nothing failed and something passed."""
    global failed
    if passed == 0 and failed == 0:
        print("FAILED: no check ran")
        failed = 1
    print("%d passed, %d failed" % (passed, failed))
    return failed == 0


def raised(what, error):
    """An exception that ended a test early: a failure at the test script's
    line that it came through last."""
    frames = traceback.extract_tb(error.__traceback__)
    script = os.path.abspath(getattr(sys.modules["__main__"], "__file__", ""))
    last = ([f for f in frames if os.path.abspath(f.filename) == script] or frames)[-1]
    return count("%s:%d" % (os.path.basename(last.filename), last.lineno), what, False,
                 "".join(traceback.format_exception_only(type(error), error)))


def run(*tests):
    for test in tests:
        try:
            test()
        except Exception as error:  # its later checks are lost: a failure of its own
            raised("%s ran to its end" % test.__name__, error)
    sys.exit(0 if summary() else 1)
