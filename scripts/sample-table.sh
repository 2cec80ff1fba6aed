#!/usr/bin/env bash
# Builds the sample code table BUILD_DIR/sample/navo.mb from an open table
# of a shape-based input method (Wubi 86, characters and words) shipped in
# Debian's rime-data-wubi package. The package is only unpacked, never
# installed; the data set is not part of this repository.
set -euo pipefail
build_dir=$1
navomb=$build_dir/tools/navomb
sample=$build_dir/sample
mkdir -p "$sample"
# Also where nvcodefind in BUILD_DIR/tools finds it, as it finds an installed one.
place_for_nvcodefind() {
  mkdir -p "$build_dir/share/navo" && cp "$sample/navo.mb" "$build_dir/share/navo/navo.mb"
}
if [ -s "$sample/navo.mb" ] && [ "$sample/navo.mb" -nt "$navomb" ]; then
  place_for_nvcodefind
  exit 0
fi

if ! ls "$sample"/rime-data-wubi_*.deb >/dev/null 2>&1; then
  (cd "$sample" && apt-get download rime-data-wubi >/dev/null 2>&1) ||
    { apt-get update -q >/dev/null && (cd "$sample" && apt-get download rime-data-wubi); }
fi
rm -rf "$sample/unpacked"
dpkg-deb -x "$sample"/rime-data-wubi_*.deb "$sample/unpacked"
dictionary=$sample/unpacked/usr/share/rime-data/wubi86.dict.yaml

"$navomb" build --from rime --skip-unencodable "$dictionary" "$sample/navo.mb"
"$navomb" check "$sample/navo.mb"
place_for_nvcodefind
