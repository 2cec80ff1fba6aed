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

# timings NAME START: prints the seconds since START when NAVO_WINE_TIMINGS=1.
timings() {
    [[ "${NAVO_WINE_TIMINGS:-0}" == 1 ]] && echo "run_wine_exe: timing $1 $(wine_elapsed "$2")s" >&2
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

# Output filter, line by line so output streams. Wine's own messages are
# UTF-8 while the program's narrow output is in code page 936 (GBK): a line
# that is valid UTF-8 is kept, any other is decoded from GBK. CRLF -> LF.
# With an i386 emulator some Wine background services crash at start and
# print noise on stderr; `filter noise` drops those lines and counts them.
noise_count=""
filter() {
    if [[ "${NAVO_WINE_OUTPUT:-gbk}" == raw ]] || ! command -v perl >/dev/null; then
        cat
        return
    fi
    local drop=0
    [[ "${1:-}" == noise && "${NAVO_WINE_NOISE:-0}" != 1 ]] && drop=1
    DROP="$drop" COUNT_FILE="$noise_count" perl -MEncode -e '
        $| = 1; binmode STDIN; binmode STDOUT; my $n = 0;
        while (my $l = <STDIN>) {
            $l =~ s/\r\n\z/\n/;
            if ($ENV{DROP} && $l =~ /^(qemu: uncaught target signal|wine client error:|\*\*\* stack smashing detected|[0-9a-f]{4}:err:seh:segv_handler Got unexpected trap)/) { $n++; next; }
            my $u = $l;
            if (!eval { Encode::decode("UTF-8", $u, Encode::FB_CROAK); 1 }) {
                $l = Encode::encode("UTF-8", Encode::decode("cp936", $l));
            }
            print $l;
        }
        if ($n && open(my $f, ">>", $ENV{COUNT_FILE})) { print $f "$n\n"; }'
}

t0="$(wine_now)"
wine_template_prefix || { echo "run_wine_exe: no template prefix" >&2; exit 1; }
t1="$(wine_now)"
timings template "$t0"
wine_begin || { echo "run_wine_exe: Wine set-up failed" >&2; exit 1; }
t2="$(wine_now)"
timings begin "$t1"

limit="${NAVO_WINE_TIMEOUT:-300}"
noise_count="$(mktemp "${TMPDIR:-/tmp}/navo-wine-noise-XXXXXX")"
timeout -k 10 "$limit" "$NAVO_WINE_LOADER" "$exe" "$@" </dev/null \
    > >(filter) 2> >(filter noise >&2)
rc=$?
t3="$(wine_now)"
timings run "$t2"

wine_cleanup
wait 2>/dev/null # let the output filters finish
timings cleanup "$t3"

hidden="$(awk '{n += $1} END {print n + 0}' "$noise_count" 2>/dev/null)"
rm -f "$noise_count"
if [[ "${hidden:-0}" -gt 0 ]]; then
    echo "run_wine_exe: hid $hidden stderr lines of emulator/Wine service crash noise (NAVO_WINE_NOISE=1 shows them)" >&2
fi
if [[ $rc -eq 124 ]]; then
    echo "run_wine_exe: timed out after ${limit}s: $exe" >&2
elif [[ $rc -ne 0 ]]; then
    echo "run_wine_exe: $(basename "$exe") exited with code $rc" >&2
fi
exit "$rc"
