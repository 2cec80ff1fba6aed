#!/usr/bin/env bash
# navomb build --from rime on the real Wubi 86 dictionary of Debian's
# rime-data-wubi package must give the same table as its text and code
# columns cut out by hand. Skipped (status 77) when the package cannot be had.
set -u
navomb=$1 sample_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

deb=$(ls "$sample_dir"/rime-data-wubi_*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
  (cd "$work" && apt-get download rime-data-wubi >/dev/null 2>&1)
  deb=$(ls "$work"/rime-data-wubi_*.deb 2>/dev/null | head -n 1)
fi
if [ -z "$deb" ]; then
  echo "SKIPPED: rime-data-wubi could not be downloaded (apt-get download rime-data-wubi)"
  exit 77
fi
dpkg-deb -x "$deb" "$work/unpacked"
dictionary=$work/unpacked/usr/share/rime-data/wubi86.dict.yaml

# Its header lists the columns text, code, weight, stem; the entries follow "...".
awk -F'\t' '/^\.\.\.$/ { body = 1; next }
            body && NF >= 2 && $1 !~ /^#/ { print $1 "\t" $2 }' "$dictionary" > "$work/cut.txt"
"$navomb" build --skip-unencodable "$work/cut.txt" "$work/cut.mb" 2>/dev/null || exit 1
"$navomb" build --from rime --skip-unencodable "$dictionary" "$work/rime.mb" || exit 1
if ! cmp "$work/cut.mb" "$work/rime.mb"; then
  echo "FAILED: --from rime differs from the cut-out columns"
  exit 1
fi
"$navomb" check "$work/rime.mb"
