#!/usr/bin/env bash
# Runs one Windows program (e.g. a GoogleTest .exe) under Wine for CTest:
#   run_wine_exe.sh EXE [ARGS...]
# Fresh prefix in a temporary dir, private Xvfb, timeout, and the program's
# exit code as ours. Always cleans up (wineserver -k, Xvfb, temp prefix).
#
# Environment:
#   NAVO_WINE_TIMEOUT        seconds before the program is killed (default 300);
#                            keep it below the CTest TIMEOUT so cleanup runs
#   NAVO_WINE_ARCH           win32|win64; default from the EXE's PE header
#   NAVO_WINE_OUTPUT         gbk (default): program output is decoded from
#                            code page 936 to UTF-8 and CRLF becomes LF;
#                            raw: bytes passed through unchanged
#   NAVO_WINE_REQUIRE        1 = fail instead of skipping (exit 77) when this
#                            machine cannot run the EXE's architecture
#   NAVO_WINE_TIMINGS        1 = print phase timings to stderr
#   NAVO_KEEP_PREFIX, NAVO_WINE_CACHE, NAVO_WINE_USE_DISPLAY: see winelib.sh
# Exit codes: the program's (mod 256); 124 on timeout; 77 = skipped.
set -u

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=winelib.sh
. "$here/winelib.sh"

if [[ $# -lt 1 ]]; then
    echo "usage: $0 EXE [ARGS...]" >&2
    exit 2
fi
exe="$1"
shift
if [[ ! -f "$exe" ]]; then
    echo "run_wine_exe: no such file: $exe" >&2
    exit 2
fi
exe="$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")"

timings() {
    [[ "${NAVO_WINE_TIMINGS:-0}" == 1 ]] && printf 'run_wine_exe: timing %s %.2fs\n' "$1" "$2" >&2
    return 0
}

# Pick the prefix type from the program itself unless told.
if [[ -z "${NAVO_WINE_ARCH:-}" ]]; then
    NAVO_WINE_ARCH="$(wine_pe_arch "$exe")"
    [[ "$NAVO_WINE_ARCH" == unknown ]] && NAVO_WINE_ARCH=""
fi
if [[ -n "${NAVO_WINE_ARCH:-}" ]] && ! wine_arch_usable "$NAVO_WINE_ARCH"; then
    msg="Wine cannot run $NAVO_WINE_ARCH programs on this machine"
    [[ "$NAVO_WINE_ARCH" == win32 ]] && msg="$msg (32-bit Linux programs do not execute here)"
    if [[ "${NAVO_WINE_REQUIRE:-0}" == 1 ]]; then
        echo "run_wine_exe: FAIL: $msg: $exe" >&2
        exit 1
    fi
    echo "run_wine_exe: SKIP: $msg: $exe" >&2
    exit 77
fi

# Output filter: GBK -> UTF-8, CRLF -> LF, line by line so output streams.
filter() {
    if [[ "${NAVO_WINE_OUTPUT:-gbk}" == raw ]] || ! command -v perl >/dev/null; then
        cat
    else
        perl -MEncode -e '$| = 1; binmode STDIN; binmode STDOUT;
            while (my $l = <STDIN>) { $l =~ s/\r\n\z/\n/;
                print Encode::encode("UTF-8", Encode::decode("cp936", $l)); }'
    fi
}

t0="$(wine_now)"
wine_template_prefix || { echo "run_wine_exe: no template prefix" >&2; exit 1; }
t1="$(wine_now)"
timings template "$(echo "$t1 - $t0" | bc)"
wine_begin || { echo "run_wine_exe: Wine set-up failed" >&2; exit 1; }
t2="$(wine_now)"
timings begin "$(echo "$t2 - $t1" | bc)"

limit="${NAVO_WINE_TIMEOUT:-300}"
timeout -k 10 "$limit" "$NAVO_WINE_LOADER" "$exe" "$@" </dev/null \
    > >(filter) 2> >(filter >&2)
rc=$?
t3="$(wine_now)"
timings run "$(echo "$t3 - $t2" | bc)"

wine_cleanup
wait 2>/dev/null # let the output filters finish
timings cleanup "$(echo "$(wine_now) - $t3" | bc)"

if [[ $rc -eq 124 ]]; then
    echo "run_wine_exe: timed out after ${limit}s: $exe" >&2
elif [[ $rc -ne 0 ]]; then
    echo "run_wine_exe: $(basename "$exe") exited with code $rc" >&2
fi
exit "$rc"
