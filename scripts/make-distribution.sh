#!/usr/bin/env bash
# Lays out the distribution folder: NavoSetup.exe beside exactly the ten
# files of its installation list, and a zip of it.
#
#   make-distribution.sh OUT_DIR NavoSetup.exe NvCodeFind.exe RtNavo.exe SAMPLE_TABLE [SUPPLIED_DIR]
#
# The eight files that the input method supplies (its module, data and help
# files) come from SUPPLIED_DIR. Without it, the demo set is used: navo.mb
# is SAMPLE_TABLE (the sample code table), and the seven others are short
# text files that say plainly that they are stand-ins.
#
# With NAVO_LOOKUP_PAGE set to the folder of the built lookup page
# (build/web/page), that page is laid out beside the installer's folder, in
# OUT_DIR-lookup-page and its zip, outside the files the installer copies.
set -euo pipefail
out=$1 setup=$2 codefind=$3 rootwin=$4 sample_table=$5 supplied=${6:-}
supplied_files=(navo.ime navo.av navo.ud navo.mb navo.hlp navo.cnt navoOp.chm DodaZor.chm)

rm -rf "$out"
mkdir -p "$out"
cp "$setup" "$out/NavoSetup.exe"
cp "$codefind" "$out/NvCodeFind.exe"
cp "$rootwin" "$out/RtNavo.exe"

if [ -n "$supplied" ]; then
  for f in "${supplied_files[@]}"; do
    [ -f "$supplied/$f" ] || { echo "make-distribution: $supplied/$f is missing" >&2; exit 1; }
    cp "$supplied/$f" "$out/$f"
  done
  kind="supplied files from $supplied"
else
  [ -f "$sample_table" ] || {
    echo "make-distribution: no sample table at $sample_table (bash scripts/sample-table.sh build/native)" >&2
    exit 1
  }
  cp "$sample_table" "$out/navo.mb"
  for f in "${supplied_files[@]}"; do
    [ "$f" = navo.mb ] && continue
    printf 'DEMO STAND-IN for %s: this file is supplied with the Navo input method and is\r\nnot part of these programs. It only lets the installer run its whole course.\r\n' \
      "$f" > "$out/$f"
  done
  kind="demo set (sample code table, stand-ins for the module and help files)"
fi

(cd "$out" && rm -f ../"$(basename "$out")".zip &&
  cmake -E tar cf ../"$(basename "$out")".zip --format=zip -- *)
echo "distribution: $out ($(ls "$out" | wc -l) files, $kind)"
echo "zip: $(dirname "$out")/$(basename "$out").zip"

if [ -n "${NAVO_LOOKUP_PAGE:-}" ]; then
  page_out=$out-lookup-page
  if [ -f "$NAVO_LOOKUP_PAGE/navo-lookup.html" ]; then
    rm -rf "$page_out" && mkdir -p "$page_out"
    cp "$NAVO_LOOKUP_PAGE"/navo-lookup.html "$page_out/"
    [ ! -f "$NAVO_LOOKUP_PAGE/navo-sample.js" ] || cp "$NAVO_LOOKUP_PAGE/navo-sample.js" "$page_out/"
    (cd "$page_out" && rm -f ../"$(basename "$page_out")".zip &&
      cmake -E tar cf ../"$(basename "$page_out")".zip --format=zip -- *)
    echo "lookup page: $page_out/navo-lookup.html (open it in a browser; also $page_out.zip)"
  else
    echo "distribution: no lookup page in $NAVO_LOOKUP_PAGE (cmake --build --preset web)" >&2
  fi
fi
