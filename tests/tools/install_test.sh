#!/usr/bin/env bash
# The tools as installed: cmake --install into a temporary prefix puts
# navomb and nvcodefind in bin/, their manual pages (gzipped, read with
# man -l) in share/man/man1, the package's changelog and copyright in
# share/doc/navo-tools and the sample table, where built, in share/navo/;
# the installed nvcodefind finds its table by its search, never in the build
# tree; and the Debian package that CPack makes holds exactly these files
# and, where lintian is installed, passes it.
#
# Usage: install_test.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/../support/checks.sh"

sample=$build/sample/navo.mb
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1
expect "cmake --install status" 0 $?
files="bin/navomb
bin/nvcodefind
share/doc/navo-tools/changelog.gz
share/doc/navo-tools/copyright
share/man/man1/navomb.1.gz
share/man/man1/nvcodefind.1.gz"
[ -s "$sample" ] && files="$files
share/navo/navo.mb"
expect "installed files" "$files" "$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)"
for tool in navomb nvcodefind; do
  [ -x "$prefix/bin/$tool" ]
  expect "$tool executable" 0 $?
  page=$(MANWIDTH=80 man -l "$prefix/share/man/man1/$tool.1.gz" 2>&1)
  expect "$tool manual page status" 0 $?
  check "$tool manual page" matches "$page" "*NAME*$tool *SYNOPSIS*DESCRIPTION*EXIT STATUS*"
  # No path of the build tree among the program's constant data.
  objcopy -O binary --only-section=.rodata "$prefix/bin/$tool" "$work/$tool.rodata"
  expect "$tool holds no build path" 0 "$(grep -c -a -F "$build" "$work/$tool.rodata")"
done

# The search, in a home of its own, away from the build tree.
home=$work/home
mkdir -p "$home"
run() { (cd "$work" && env -u NAVO_TABLE -u XDG_DATA_HOME HOME="$home" "$@" 2>&1); }
if [ -s "$sample" ]; then
  expect "installed table found" "工: aaa  aaaa" "$(run "$prefix/bin/nvcodefind" 工)"
else
  expect "no table found" "nvcodefind: no code table found; looked at:
  $home/.local/share/navo/navo.mb
  $prefix/share/navo/navo.mb
nvcodefind: name one with --table FILE or NAVO_TABLE=FILE" "$(run "$prefix/bin/nvcodefind" 工)"
fi
printf '工\tzz\n' > "$work/user.txt"
"$prefix/bin/navomb" build "$work/user.txt" "$work/user.mb" 2>/dev/null
mkdir -p "$home/.local/share/navo" "$work/xdg/navo"
cp "$work/user.mb" "$home/.local/share/navo/navo.mb"
expect "user's table first" "工: zz" "$(run "$prefix/bin/nvcodefind" 工)"
printf '工\tyy\n' > "$work/xdg.txt"
"$prefix/bin/navomb" build "$work/xdg.txt" "$work/xdg/navo/navo.mb" 2>/dev/null
expect "XDG_DATA_HOME's table" "工: yy" "$(run env XDG_DATA_HOME="$work/xdg" "$prefix/bin/nvcodefind" 工)"
expect "NAVO_TABLE before all" "工: zz" \
  "$(run env NAVO_TABLE="$work/user.mb" XDG_DATA_HOME="$work/xdg" "$prefix/bin/nvcodefind" 工)"

# The package's file list and its fields.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null; then
  (cd "$build" && cpack -B "$work/package" > "$work/cpack.log" 2>&1)
  expect "cpack status" 0 $?
  deb=$(ls "$work"/package/navo-tools_*.deb 2>/dev/null)
  expect "package file name" "navo-tools_2.0_$(dpkg --print-architecture).deb" "$(basename "$deb")"
  expect "package files" "$(printf '%s\n' "$files" | sed 's|^|./usr/|')" \
    "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)"
  expect "package name" navo-tools "$(dpkg-deb -f "$deb" Package)"
  check "package Depends" matches "$(dpkg-deb -f "$deb" Depends)" "*libc6*libstdc++6*"
  # Debian's own checker: no error and no warning (its notes, I:, are let be).
  if command -v lintian >/dev/null; then
    lintian "$deb" > "$work/lintian.log" 2>&1
    expect "lintian errors and warnings" "" "$(grep -E '^[EW]: ' "$work/lintian.log")"
  fi
fi

checks_summary
