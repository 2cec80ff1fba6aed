# shellcheck shell=bash
# Helpers for running Windows test programs (MinGW builds) under Wine.
# Source this file from bash; it is safe under `set -u`.
#
#   . tests/wine/winelib.sh
#   wine_begin [PREFIX_DIR]     locale + Xvfb + fresh prefix, cleanup on EXIT
#   wine_exec prog.exe args     run a Windows program in that prefix
#
# Environment (all optional):
#   NAVO_WINE_CACHE        cache dir (locale, template prefixes);
#                          default ${TMPDIR:-/tmp}/navo-wine-cache-$UID
#   NAVO_WINE_ARCH         win32 or win64; default: win32 when 32-bit Wine runs
#                          on this machine, otherwise win64
#   NAVO_WINE_USE_DISPLAY  1 = use the existing $DISPLAY if it answers
#   NAVO_WINE_SCREEN       Xvfb screen, default 1024x768x24
#   NAVO_WINE_CODEPAGE     Windows code page of 8-bit programs: 936 (default),
#                          1252 or 932
#   NAVO_KEEP_PREFIX       1 = keep a temporary prefix made by wine_begin
#
# Wine loaders are called directly (/usr/lib/wine/wine or wine64) rather than
# through /usr/bin/wine, whose wrapper picks the 32-bit loader whenever it is
# installed, even on kernels that cannot execute 32-bit ELF programs.

if [[ -n "${NAVO_WINELIB_LOADED:-}" ]]; then
    return 0
fi
NAVO_WINELIB_LOADED=1

NAVO_WINE_CACHE="${NAVO_WINE_CACHE:-${TMPDIR:-/tmp}/navo-wine-cache-${UID:-$(id -u)}}"
NAVO_WINE_DLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
NAVO_WINE_XVFB_PID="${NAVO_WINE_XVFB_PID:-}"
NAVO_WINE_TMP_PREFIX=""
NAVO_WINE_LOCALE_NAME="zh_CN.UTF-8"
# Bump when the template's contents change, so old cached templates are ignored.
NAVO_WINE_TEMPLATE_REV=7

_wine_log() { printf 'winelib: %s\n' "$*" >&2; }

# Wall clock in seconds with milliseconds (for timings).
wine_now() { date +%s.%N | cut -c1-14; }
# Seconds elapsed since a wine_now value, with two decimals.
wine_elapsed() { awk -v a="$1" -v b="$(wine_now)" 'BEGIN { printf "%.2f", b - a }'; }

# Prints the path of the Wine loader for ARCH (win32|win64), or fails.
wine_loader_path() {
    local arch="$1" c
    if [[ "$arch" == win64 ]]; then
        for c in /usr/lib/wine/wine64 /usr/lib64/wine/wine64 /opt/wine-stable/bin/wine64; do
            [[ -x "$c" ]] && { echo "$c"; return 0; }
        done
        command -v wine64 2>/dev/null && return 0
    else
        for c in /usr/lib/wine/wine /usr/lib/i386-linux-gnu/wine/wine /opt/wine-stable/bin/wine; do
            [[ -x "$c" ]] && { echo "$c"; return 0; }
        done
        command -v wine 2>/dev/null && return 0
    fi
    return 1
}

# True when Wine for ARCH can actually start here. win32 needs the kernel to
# run 32-bit ELF programs, which some virtual machines do not allow.
wine_arch_usable() {
    local arch="$1" loader
    loader="$(wine_loader_path "$arch")" || return 1
    "$loader" --version >/dev/null 2>&1
}

# Prints the interpreters (e.g. qemu-i386-static) that binfmt_misc uses for
# 32-bit x86 ELF programs; empty when the kernel runs them natively.
wine_i386_emulators() {
    local f line enabled interp magic
    for f in /proc/sys/fs/binfmt_misc/*; do
        [[ -f "$f" && "${f##*/}" != status && "${f##*/}" != register ]] || continue
        enabled=0 interp="" magic=""
        while IFS= read -r line; do
            case "$line" in
                enabled) enabled=1 ;;
                "interpreter "*) interp="${line#interpreter }" ;;
                "magic "*) magic="${line#magic }" ;;
            esac
        done <"$f" 2>/dev/null
        # ELF, 32-bit, little-endian ... e_machine 3 (i386)
        if [[ $enabled == 1 && "$magic" == 7f454c460101* && "$magic" == *0200030* ]]; then
            echo "$interp"
        fi
    done
}

# True when 32-bit Wine would run under an emulator (slow, some Wine
# background services crash; plain programs work).
wine_arch_emulated() {
    [[ "$1" == win32 && -n "$(wine_i386_emulators)" ]]
}

# Prints win32, win64 or unknown for a PE file (reads the COFF machine field).
wine_pe_arch() {
    local f="$1" off machine
    off="$(od -An -tu4 -j60 -N4 "$f" 2>/dev/null | tr -d ' ')"
    [[ -n "$off" ]] || { echo unknown; return 0; }
    machine="$(od -An -tx2 -j$((off + 4)) -N2 "$f" 2>/dev/null | tr -d ' ')"
    case "$machine" in
        014c) echo win32 ;;
        8664) echo win64 ;;
        *) echo unknown ;;
    esac
}

# Sets NAVO_WINE_ARCH (if unset) and the loader variables for it.
_wine_pick_arch() {
    if [[ -z "${NAVO_WINE_ARCH:-}" ]]; then
        if wine_arch_usable win32; then NAVO_WINE_ARCH=win32; else NAVO_WINE_ARCH=win64; fi
    fi
    export NAVO_WINE_ARCH
    NAVO_WINE_LOADER="$(wine_loader_path "$NAVO_WINE_ARCH")" || {
        _wine_log "no Wine loader for $NAVO_WINE_ARCH"; return 1; }
    export NAVO_WINE_LOADER
    # wine64 needs WINELOADER to find itself when it starts more processes.
    if [[ "$NAVO_WINE_ARCH" == win64 ]]; then
        export WINELOADER="$NAVO_WINE_LOADER"
    else
        unset WINELOADER
    fi
}

# Exports the variables every Wine call of ours uses (not WINEPREFIX).
_wine_common_env() {
    export WINEARCH="$NAVO_WINE_ARCH"
    export WINEDEBUG="${WINEDEBUG_OVERRIDE:--all}"
    export WINEDLLOVERRIDES="$NAVO_WINE_DLLOVERRIDES"
}

# Runs a Windows program (or builtin like regedit, reg) in $WINEPREFIX.
wine_exec() {
    [[ -n "${NAVO_WINE_LOADER:-}" ]] || _wine_pick_arch || return 1
    "$NAVO_WINE_LOADER" "$@"
}

# Runs wineserver for $WINEPREFIX with the given options (-k, -w ...).
wine_server() {
    local ws
    ws="$(dirname "${NAVO_WINE_LOADER:-/usr/lib/wine/wine}")/wineserver"
    [[ -x "$ws" ]] || ws="$(command -v wineserver)" || return 1
    "$ws" "$@"
}

# The Unix locale that gives Wine the Windows code page for 8-bit programs
# named by NAVO_WINE_CODEPAGE: 936 (Simplified Chinese, the default), 1252
# (Western) or 932 (Japanese).
wine_locale_for_codepage() {
    case "${1:-936}" in
        936) echo zh_CN.UTF-8 ;;
        1252) echo en_US.UTF-8 ;;
        932) echo ja_JP.UTF-8 ;;
        *) _wine_log "no locale known for code page $1"; return 1 ;;
    esac
}

# The iconv name of the current code page: what the prefix's console
# programs (reg, cmd) print in.
wine_codepage_charset() {
    case "${NAVO_WINE_CODEPAGE:-936}" in
        936) echo GBK ;;
        1252) echo CP1252 ;;
        932) echo CP932 ;;
    esac
}

# Builds the locale of NAVO_WINE_CODEPAGE into the cache once; exports
# LOCPATH, LC_ALL and LANG so that Wine uses that code page.
wine_setup_locale() {
    local dir="$NAVO_WINE_CACHE/locale" name
    name="$(wine_locale_for_codepage "${NAVO_WINE_CODEPAGE:-936}")" || return 1
    NAVO_WINE_LOCALE_NAME="$name"
    mkdir -p "$dir" || return 1
    if [[ ! -f "$dir/$name/LC_CTYPE" ]]; then
        (
            flock 9
            if [[ ! -f "$dir/$name/LC_CTYPE" ]]; then
                rm -rf "$dir/$name.tmp.$$"
                # localedef exits 1 on mere warnings; check the result instead.
                localedef -i "${name%%.*}" -f UTF-8 "$dir/$name.tmp.$$" >/dev/null 2>&1
                if [[ -f "$dir/$name.tmp.$$/LC_CTYPE" ]]; then
                    rm -rf "${dir:?}/$name" && mv "$dir/$name.tmp.$$" "$dir/$name"
                else
                    rm -rf "$dir/$name.tmp.$$"
                fi
            fi
        ) 9>"$NAVO_WINE_CACHE/locale.lock"
    fi
    if [[ ! -f "$dir/$name/LC_CTYPE" ]]; then
        _wine_log "could not build $name (is the 'locales' package installed?)"
        return 1
    fi
    export LOCPATH="$dir"
    # bash itself cannot see LOCPATH and would warn; the programs it starts can.
    export LC_ALL="$name" LANG="$name" 2>/dev/null
}

# Writes the registry settings of our prefixes as a UTF-16LE .reg file with BOM.
_wine_write_reg() {
    local out="$1"
    {
        printf '\xff\xfe'
        sed 's/$/\r/' <<'EOF' | iconv -f UTF-8 -t UTF-16LE
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

; The display at 100 %: the programs scale with the display, so any other
; value is a scale of its own (a scenario sets one with e2e_display_dpi).
[HKEY_CURRENT_CONFIG\Software\Fonts]
"LogPixels"=dword:00000060

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Micro Hei"
"新宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
"华文新魏"="WenQuanYi Micro Hei"
"STXinwei"="WenQuanYi Micro Hei"

EOF
        # Services our programs do not use. Under an i386 emulator their
        # processes (winedevice.exe above all) often crash and each costs a
        # 10 s start-up timeout; natively they only cost time.
        # NAVO_WINE_ALL_SERVICES=1 keeps them. winebus and wineusb start as
        # root PnP devices whatever their Start value, so those devices go.
        if [[ "${NAVO_WINE_ALL_SERVICES:-0}" != 1 ]]; then
            local svc svcs=(nsiproxy NDIS wineusb winebus PlugPlay Eventlog)
            # Under emulation the drive manager's process crashes at random;
            # without it drives still work through dosdevices.
            wine_arch_emulated "$NAVO_WINE_ARCH" && svcs+=(MountMgr)
            for svc in "${svcs[@]}"; do
                printf '[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\%s]\r\n"Start"=dword:00000004\r\n\r\n' "$svc" |
                    iconv -f UTF-8 -t UTF-16LE
            done
            for svc in WINEBUS WINEUSB; do
                printf '[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum\\ROOT\\WINE\\%s]\r\n\r\n' "$svc" |
                    iconv -f UTF-8 -t UTF-16LE
            done
        fi
    } >"$out"
}

# The font links of a Western or Japanese Windows, as a UTF-16LE .reg file.
# Windows draws its own texts (captions, message boxes, dialogs in its
# interface fonts) through the SystemLink font links: a character that the
# interface font lacks comes from the fonts linked to it, on a Western or
# Japanese Windows from its Chinese fonts among others, so that Chinese
# captions and messages are readable there. Wine writes links of its own
# when a prefix first runs on a code page (Tahoma, Microsoft Sans Serif and
# Lucida Sans Unicode to MSGOTHIC.TTC, MINGLIU.TTC, SIMSUN.TTC and GULIM.TTC,
# in an order that differs between the Chinese, Japanese, Korean and other
# code pages; 1252 and 932 have the same), but it finds a linked font by its
# file name, and none of those files is here: Chinese in Wine's own drawing
# shows as boxes. So the interface fonts link to the Chinese font this machine
# has, by its file (Wine also links its "System" font to Tahoma's links). Not
# on 936, whose interface fonts are Chinese already (its pixels stay as they
# were).
_wine_write_font_links() {
    local out="$1" face file='wqy-microhei.ttc,WenQuanYi Micro Hei' data
    # REG_MULTI_SZ: the one entry, its NUL and the list's NUL, in UTF-16LE.
    data="$(printf '%s' "$file" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 | tr -s ' \n' ',' |
        sed 's/^,//; s/,$//'),00,00,00,00"
    {
        printf 'Windows Registry Editor Version 5.00\n\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\n'
        # Wine looks a bold face's links up by its full name, as Windows
        # has entries for bold faces: the captions are bold Tahoma.
        for face in "Tahoma" "Tahoma Bold" "Microsoft Sans Serif" "Lucida Sans Unicode" \
            "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI" "Segoe UI Bold" "MS UI Gothic"; do
            printf '"%s"=hex(7):%s\n' "$face" "$data"
        done
        printf '\n'
    } | sed 's/$/\r/' | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$out"
}

# Prints the Wine version as a file-name-safe tag.
_wine_version_tag() {
    "$NAVO_WINE_LOADER" --version 2>/dev/null | tr -c 'A-Za-z0-9.\n' '_'
}

# Prints the directory of the template prefix for the current arch.
wine_template_dir() {
    _wine_pick_arch || return 1
    local ver
    ver="$(_wine_version_tag)"
    local kind=lean
    [[ "${NAVO_WINE_ALL_SERVICES:-0}" == 1 ]] && kind=full
    wine_arch_emulated "$NAVO_WINE_ARCH" && kind="$kind-emu"
    echo "$NAVO_WINE_CACHE/template-$NAVO_WINE_ARCH-${ver:-unknown}-$kind-cp${NAVO_WINE_CODEPAGE:-936}-r$NAVO_WINE_TEMPLATE_REV"
}

# Creates the booted template prefix of the current code page once (cached,
# locked against parallel builds). Prints nothing; sets NAVO_WINE_TEMPLATE.
wine_template_prefix() {
    _wine_pick_arch || return 1
    wine_setup_locale || return 1
    local tpl
    tpl="$(wine_template_dir)" || return 1
    NAVO_WINE_TEMPLATE="$tpl"
    export NAVO_WINE_TEMPLATE
    [[ -f "$tpl/.navo-ready" ]] && return 0
    (
        flock 9
        [[ -f "$tpl/.navo-ready" ]] && exit 0
        local build="$tpl.build.$$" rc=0
        rm -rf "$tpl" "$build"
        mkdir -p "$(dirname "$build")"
        _wine_common_env
        export WINEPREFIX="$build"
        # Every template is booted on the Chinese code page, whatever the
        # test that first needs it runs on.
        NAVO_WINE_CODEPAGE=936 wine_setup_locale || exit 1
        # No display needed for booting or importing the registry.
        unset DISPLAY
        wine_exec wineboot -i </dev/null >"$NAVO_WINE_CACHE/template-build.log" 2>&1 || rc=$?
        if [[ $rc -eq 0 ]]; then
            # Wine's own fonts (fonts-wine): this Wine build does not load them
            # from its data folder, so caption buttons, drawn with Marlett's
            # symbols, would show as the digits of another font.
            cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon \
                "$build/drive_c/windows/Fonts/" 2>/dev/null || true
            _wine_write_reg "$build/navo-settings.reg"
            wine_exec regedit /S "$build/navo-settings.reg" </dev/null \
                >>"$NAVO_WINE_CACHE/template-build.log" 2>&1 || rc=$?
        fi
        local codepage="${NAVO_WINE_CODEPAGE:-936}"
        if [[ $rc -eq 0 && "$codepage" != 936 ]]; then
            # Imported on the template's own code page: the first program
            # started on a new code page rewrites Wine's links for it (before
            # the import, which then stands).
            _wine_write_font_links "$build/navo-font-links.reg"
            NAVO_WINE_CODEPAGE="$codepage" wine_setup_locale || exit 1
            wine_exec regedit /S "$build/navo-font-links.reg" </dev/null \
                >>"$NAVO_WINE_CACHE/template-build.log" 2>&1 || rc=$?
        fi
        # Let wineserver write the registry files, then stop everything.
        wine_exec wineboot -s </dev/null >/dev/null 2>&1 || true
        wine_server -k >/dev/null 2>&1 || true
        _wine_wait_gone 10 || true
        if [[ $rc -eq 0 && "${NAVO_WINE_ALL_SERVICES:-0}" != 1 ]] &&
            ! awk '/^\[/ { s = ($0 ~ /Services\\\\nsiproxy\]/) } s && /"Start"=dword:00000004/ { f = 1 } END { exit !f }' \
                "$build/system.reg"; then
            rc=98 # the service settings did not reach the registry
        fi
        if [[ $rc -eq 0 && "$codepage" != 936 ]] &&
            ! grep -q '^"Tahoma"=str(7):"wqy-microhei.ttc,WenQuanYi Micro Hei' "$build/system.reg"; then
            rc=97 # the font links did not reach the registry
        fi
        if [[ $rc -ne 0 ]] || ! grep -q '"Managed"="N"' "$build/user.reg" 2>/dev/null; then
            _wine_log "template build failed (rc=$rc), see $NAVO_WINE_CACHE/template-build.log"
            rm -rf "$build"
            exit 1
        fi
        touch "$build/.navo-ready"
        mv "$build" "$tpl"
        # Drop templates of this arch from other Wine versions or revisions
        # (not touched for 30 minutes, so no running test still copies one).
        local old same
        same="$NAVO_WINE_CACHE/template-$NAVO_WINE_ARCH-$(_wine_version_tag)-"
        for old in "$NAVO_WINE_CACHE/template-$NAVO_WINE_ARCH-"*; do
            [[ -d "$old" && "$old" != "$tpl" ]] || continue
            if [[ "$old" != *.build.* && "$old" == "$same"* && "$old" == *-r"$NAVO_WINE_TEMPLATE_REV" ]]; then
                continue # another variant of the current template
            fi
            [[ -n "$(find "$old" -maxdepth 0 -mmin +30)" ]] && rm -rf "$old"
        done
    ) 9>"$NAVO_WINE_CACHE/template-$NAVO_WINE_ARCH.lock"
}

# Copies the template to DIR (must not exist or be empty) and makes it the
# current prefix.
wine_fresh_prefix() {
    local dir="$1"
    wine_template_prefix || return 1
    mkdir -p "$dir" || return 1
    cp -a "$NAVO_WINE_TEMPLATE/." "$dir/" || return 1
    rm -f "$dir/.navo-ready"
    _wine_common_env
    WINEPREFIX="$(cd "$dir" && pwd)" || return 1
    export WINEPREFIX
}

# Starts an Xvfb on a free display from :90 upward (or keeps $DISPLAY when
# NAVO_WINE_USE_DISPLAY=1 and it answers). Exports DISPLAY.
wine_start_xvfb() {
    if [[ "${NAVO_WINE_USE_DISPLAY:-0}" == 1 && -n "${DISPLAY:-}" ]] &&
        xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n pid i
    mkdir -p "$NAVO_WINE_CACHE"
    for ((n = 90; n < 190; n++)); do
        [[ -e "/tmp/.X$n-lock" || -e "/tmp/.X11-unix/X$n" ]] && continue
        Xvfb ":$n" -screen 0 "${NAVO_WINE_SCREEN:-1024x768x24}" -nolisten tcp \
            </dev/null >"$NAVO_WINE_CACHE/xvfb-$n.log" 2>&1 &
        pid=$!
        for ((i = 0; i < 200; i++)); do # up to 10 s on a busy machine
            if ! kill -0 "$pid" 2>/dev/null; then
                break # lost a race for this number: try the next one
            fi
            # Ready, and ours: the X server writes its pid into the lock file
            # (two tests may race for one number; the loser exits).
            if [[ -S "/tmp/.X11-unix/X$n" && "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" == "$pid" ]] &&
                xdpyinfo -display ":$n" >/dev/null 2>&1; then
                NAVO_WINE_XVFB_PID="$pid"
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.05
        done
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    _wine_log "could not start Xvfb"
    return 1
}

# Prints the pids of live (not defunct) Wine processes of $WINEPREFIX (or $1,
# which may be a glob such as "/tmp/x/*"): processes running a Wine loader or
# wineserver with that WINEPREFIX in their environment. Uses only bash
# builtins per process, so it is fast.
wine_live_pids() {
    local prefix="${1:-${WINEPREFIX:-}}" p b bins=() stat v match
    [[ -n "$prefix" ]] || return 0
    local dir
    dir="$(dirname "${NAVO_WINE_LOADER:-/usr/lib/wine/wine}")"
    for b in wine wine64 wine-preloader wine64-preloader wine-preloader.static \
        wine64-preloader.static wineserver32 wineserver64; do
        [[ -x "$dir/$b" ]] && bins+=("$dir/$b")
    done
    # Emulated 32-bit processes show the emulator as their executable.
    while IFS= read -r b; do
        [[ -n "$b" ]] && bins+=("$b")
    done < <(wine_i386_emulators)
    for p in /proc/[0-9]*; do
        match=0
        for b in "${bins[@]}"; do
            if [[ "$p/exe" -ef "$b" ]]; then match=1; break; fi
        done
        [[ $match == 1 ]] || continue
        read -r stat <"$p/stat" 2>/dev/null || continue
        stat="${stat##*) }"
        [[ "${stat%% *}" != Z ]] || continue
        while IFS= read -r -d '' v; do
            # shellcheck disable=SC2053 # $prefix may be a glob
            if [[ "$v" == WINEPREFIX=* && "${v#WINEPREFIX=}" == $prefix ]]; then
                echo "${p#/proc/}"
                break
            fi
        done <"$p/environ" 2>/dev/null
    done
}

# Prints each live Wine process of $WINEPREFIX as its pid and command line,
# one a line: which of Wine's own processes (the desktop, explorer.exe,
# among them) are still there.
wine_live_commands() {
    local p
    for p in $(wine_live_pids "$@"); do
        printf '%s %s\n' "$p" "$(tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null)"
    done
}

# Prints how many live Wine processes belong to $WINEPREFIX (or to $1).
wine_live_processes() {
    wine_live_pids "$@" | wc -l
}

# Waits up to N seconds until no Wine process of $WINEPREFIX is alive.
_wine_wait_gone() {
    local limit="$1" i
    for ((i = 0; i < limit * 10; i++)); do
        [[ -z "$(wine_live_pids)" ]] && return 0
        sleep 0.1
    done
    return 1
}

# Stops Wine for $WINEPREFIX and the Xvfb we started; removes a temporary
# prefix made by wine_begin (unless NAVO_KEEP_PREFIX=1). Safe to call twice.
wine_cleanup() {
    local pids
    if [[ -n "${WINEPREFIX:-}" && -d "${WINEPREFIX:-}" ]]; then
        wine_server -k >/dev/null 2>&1 || true
        if ! _wine_wait_gone 5; then
            pids="$(wine_live_pids)"
            [[ -n "$pids" ]] && kill -9 $pids 2>/dev/null
            _wine_wait_gone 2 || _wine_log "wine processes left: $(wine_live_pids | tr '\n' ' ')"
        fi
    fi
    if [[ -n "${NAVO_WINE_XVFB_PID:-}" ]]; then
        kill "$NAVO_WINE_XVFB_PID" 2>/dev/null
        wait "$NAVO_WINE_XVFB_PID" 2>/dev/null
        NAVO_WINE_XVFB_PID=""
    fi
    if [[ -n "${NAVO_WINE_TMP_PREFIX:-}" && -d "$NAVO_WINE_TMP_PREFIX" ]]; then
        if [[ "${NAVO_KEEP_PREFIX:-0}" == 1 ]]; then
            _wine_log "prefix kept: $WINEPREFIX"
        else
            rm -rf "$NAVO_WINE_TMP_PREFIX"
        fi
        NAVO_WINE_TMP_PREFIX=""
    fi
    return 0
}

# One call for a test: locale, Xvfb, fresh prefix (in DIR, or a new temporary
# dir), and wine_cleanup on EXIT (INT/TERM exit so that the EXIT trap runs).
# A test with its own EXIT trap should call wine_cleanup from it.
wine_begin() {
    local dir="${1:-}"
    trap wine_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    wine_setup_locale || return 1
    wine_start_xvfb || return 1
    if [[ -z "$dir" ]]; then
        NAVO_WINE_TMP_PREFIX="$(mktemp -d "${TMPDIR:-/tmp}/navo-wine-XXXXXX")" || return 1
        dir="$NAVO_WINE_TMP_PREFIX/prefix"
    fi
    wine_fresh_prefix "$dir"
}

# Saves a screenshot of the whole X screen to FILE (png, ...).
wine_screenshot() {
    xwd -root -silent | /usr/bin/convert xwd:- "$1"
}

# A Unix path as Wine's drive Z: shows it.
windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

# The GBK bytes of UTF-8 text, as upper-case hex: how the test drivers take
# the system's texts on their command line.
gbk_hex() { printf '%s' "$1" | iconv -f UTF-8 -t GBK | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

# Prints the Unix path of C:\windows\system32 of the current prefix.
wine_sysdir() {
    echo "$WINEPREFIX/drive_c/windows/system32"
}

# `reg query KEY [/v VALUE]` in the current prefix, output in UTF-8 without
# CRs. Returns reg's exit code.
wine_reg_query() {
    local key="$1"
    if [[ $# -ge 2 ]]; then
        wine_exec reg query "$key" /v "$2" </dev/null 2>/dev/null | iconv -c -f "$(wine_codepage_charset)" -t UTF-8 | tr -d '\r'
    else
        wine_exec reg query "$key" </dev/null 2>/dev/null | iconv -c -f "$(wine_codepage_charset)" -t UTF-8 | tr -d '\r'
    fi
    return "${PIPESTATUS[0]}"
}
