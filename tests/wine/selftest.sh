#!/usr/bin/env bash
# Checks the Wine test set-up (winelib.sh, run_wine_exe.sh) with a small probe
# program built for 32-bit (i686) and, where a compiler is present, 64-bit.
#   selftest.sh [--fresh-cache]
# --fresh-cache builds the locale and template prefixes in a new cache to time
# them; otherwise the shared cache is used (built there if missing).
# Ends with "N passed, N failed" (tests/support/checks.sh); exit 1 on any
# failure. A probe that this machine cannot run is reported as skipped.
set -u

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=winelib.sh
. "$here/winelib.sh"
# shellcheck source=../support/checks.sh
. "$here/../support/checks.sh"
runner="$here/run_wine_exe.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/navo-wine-selftest-XXXXXX")"
trap 'rm -rf "$work"' EXIT
if [[ "${1:-}" == --fresh-cache ]]; then
    export NAVO_WINE_CACHE="$work/cache"
else
    export NAVO_WINE_CACHE
fi
# Temporary prefixes of the runner land in $work, so leftovers can be found.
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"

# --- build the probes --------------------------------------------------------
declare -A exes=()
for tc in i686 x86_64; do
    cxx="$tc-w64-mingw32-g++-posix"
    command -v "$cxx" >/dev/null || cxx="$tc-w64-mingw32-g++"
    if ! command -v "$cxx" >/dev/null; then
        if [[ $tc == i686 ]]; then fail "no i686 MinGW compiler"; else skip "no x86_64 MinGW compiler"; fi
        continue
    fi
    out="$work/probe-$tc.exe"
    check "built $(basename "$out") with $cxx" "$cxx" -O2 -static -s -o "$out" "$here/selftest_probe.cpp" &&
        exes[$tc]="$out"
done

# run_probe EXE ARGS...: runs through the runner; sets out, err, rc, secs.
run_probe() {
    local t
    t="$(wine_now)"
    out="$("$runner" "$@" 2>"$work/err")"
    rc=$?
    secs="$(wine_elapsed "$t")"
    err="$(cat "$work/err")"
}

leftovers() { [[ "$(wine_live_processes "$work/*")" -eq 0 ]]; }

# fresh_copy NAME: a copy of the template prefix, timed.
fresh_copy() (
    NAVO_WINE_ARCH="$arch"
    wine_setup_locale || exit 1
    t="$(wine_now)"
    wine_fresh_prefix "$work/copy-$1" || exit 1
    echo "timing: $1 fresh prefix copy $(wine_elapsed "$t") s ($(du -sh "$work/copy-$1" | cut -f1))"
)

# library_functions: the library used directly in a prefix of its own;
# each step says what went wrong.
library_functions() (
    NAVO_WINE_ARCH="$arch"
    wine_begin "$work/lib-prefix" || exit 1
    [[ -f "$(wine_sysdir)/kernel32.dll" ]] || { echo "wine_sysdir: no kernel32.dll"; exit 1; }
    q="$(wine_reg_query 'HKCU\Software\Wine\Fonts\Replacements' '宋体')" || { echo "reg query failed"; exit 1; }
    printf '%s\n' "$q" | sed 's/^/    /'
    grep -q '宋体.*WenQuanYi Micro Hei' <<<"$q" || { echo "font replacement not found"; exit 1; }
    wine_exec "$exe" sleep 1500 >/dev/null 2>&1 &
    pid=$!
    sleep 1
    [[ "$(wine_live_processes)" -gt 0 ]] || { echo "no live process seen while running"; exit 1; }
    wine_screenshot "$work/shot.png" && [[ -s "$work/shot.png" ]] || { echo "no screenshot"; exit 1; }
    wait "$pid" # not a bare wait: Xvfb is a child too
    wine_cleanup
    [[ "$(wine_live_processes "$work/lib-prefix")" -eq 0 ]] || { echo "processes left"; exit 1; }
    [[ -z "${NAVO_WINE_XVFB_PID:-}" ]] || { echo "Xvfb not stopped"; exit 1; }
)

for tc in i686 x86_64; do
    exe="${exes[$tc]:-}"
    [[ -n "$exe" ]] || continue
    arch="$(wine_pe_arch "$exe")"
    echo "== $tc probe ($arch)"
    if ! wine_arch_usable "$arch"; then
        run_probe "$exe" info
        check "$tc: the runner skips (77) what this machine cannot run" [ "$rc" -eq 77 ]
        skip "$tc: Wine cannot run $arch programs here"
        continue
    fi
    wine_arch_emulated "$arch" && echo "note: $arch runs under an emulator ($(wine_i386_emulators | head -1))"

    # Template (first time or cached) and a fresh copy, timed.
    t="$(wine_now)"
    had=built
    (NAVO_WINE_ARCH="$arch" && [[ -f "$(wine_template_dir)/.navo-ready" ]]) && had=cached
    check "$tc: template prefix" eval '(NAVO_WINE_ARCH="$arch" wine_template_prefix)' || continue
    echo "timing: $tc template prefix $had in $(wine_elapsed "$t") s"
    check "$tc: a fresh prefix copy" fresh_copy "$tc"
    rm -rf "$work/copy-$tc"

    run_probe "$exe" info
    echo "timing: $tc run (info) $secs s"
    printf '%s\n' "$out" | sed 's/^/    /'
    check "$tc: exit code 0" [ "$rc" -eq 0 ]
    check "$tc: ANSI code page is 936" grep -qx 'ACP=936' <<<"$out"
    check "$tc: system directory is C:\\windows\\system32" grep -qxF 'SYSDIR=C:\windows\system32' <<<"$out"
    check "$tc: a file in system32 opens" grep -q '^OPEN=OK ' <<<"$out"
    check "$tc: no Wine process left" leftovers

    run_probe "$exe" text
    check "$tc: GBK output arrives as UTF-8" [ "$out" = "TEXT=中文测试" ]

    run_probe "$exe" exit 7
    check "$tc: exit code 7 passes through" [ "$rc" -eq 7 ]
    check "$tc: the runner names a failing exit code" grep -q 'exited with code 7' <<<"$err"

    run_probe "$exe" cxx
    check "$tc: C++ exceptions work" [ "$out" = "CXX=caught thrown" ]

    run_probe "$exe" gui
    echo "timing: $tc run (gui) $secs s"
    check "$tc: a window opens and closes (exit 0)" [ "$rc" -eq 0 -a "$out" = "GUI=OK" ]

    NAVO_WINE_TIMEOUT=5 run_probe "$exe" sleep 120000
    check "$tc: a hanging program is stopped by the timeout (124, ${secs} s)" [ "$rc" -eq 124 ]
    check "$tc: no Wine process left after the timeout" leftovers
done

# --- the library used directly: prefix, registry, screenshot, cleanup ------
exe="${exes[x86_64]:-}"
arch=win64
if [[ -z "$exe" ]] || ! wine_arch_usable win64; then
    exe="${exes[i686]:-}"
    arch=win32
fi
if [[ -n "$exe" ]] && wine_arch_usable "$arch"; then
    echo "== library functions ($arch)"
    check "wine_begin, wine_sysdir, wine_reg_query, wine_screenshot, wine_cleanup" library_functions
fi

check "no Wine process left at the end" leftovers
checks_summary
