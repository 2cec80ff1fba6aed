#!/bin/bash
# crosscheck.sh --part K/N: the N parts together make every check the whole
# run makes, each in exactly one part; a wrong part is refused. Stand-ins for
# the tool and for the reference reader's answers note what they are asked
# and answer nothing (the parts' own checks then fail, which is not this
# test's concern); three empty tables stand in for those the cross-check writes.
#
# Usage: parts_test.sh CROSSCHECK_SH OUTDIR

set -u
crosscheck=$1 out=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/checks.sh"

rm -rf "$out" && mkdir -p "$out"
tool="$out/stand-in-tool"
cat > "$tool" <<'TOOL'
#!/bin/bash
mode=lines
while [ $# -gt 0 ]; do
    case $1 in
        --table) table=$(basename "$2") ;;
        --code) mode=codes ;;
        --all) mode=every ;;
    esac
    shift
done
echo "$table $mode" >> "$ASKED"
cat > /dev/null
TOOL
python="$out/stand-in-python"
cat > "$python" <<'PYTHON'
#!/bin/bash
case "$1 ${2:-}" in
    *make_tables.py\ *) for name in t00_tiny t01_general t02_big_blocks; do : > "$2/$name.mb"; done ;;
    *reference_reader.py\ batch | *reference_reader.py\ codes | *reference_reader.py\ every) cat > /dev/null ;;
    *) ;;  # the self-test, the lists of what to ask
esac
PYTHON
chmod +x "$tool" "$python"
extra="$out/extra/own.mb"
mkdir -p "$out/extra" && : > "$extra"

# asked RUN ARGS...: the checks a run makes, "TABLE MODE" a line, sorted.
asked() {
    local run=$1
    shift
    ASKED="$out/$run.asked" PYTHON="$python" bash "$crosscheck" "$@" > "$out/$run.log" 2>&1
    sort "$out/$run.asked"
}

whole=$(asked whole "$tool" "$out/whole" "$extra")
# three written tables, the missing one (navo.mb) and the extra one, three checks each
check "the whole run makes every check once" \
    matches "$(wc -l <<<"$whole") $(uniq <<<"$whole" | wc -l) $whole" \
    "15 15 navo.mb codes*own.mb every*t00_tiny.mb lines*t02_big_blocks.mb lines"
for parts in 4; do
    together=""
    for part in $(seq 1 "$parts"); do
        together+=$(asked "part-$part-of-$parts" --part "$part/$parts" "$tool" \
                    "$out/part-$part-of-$parts" "$extra")$'\n'
    done
    check "$parts parts make every check once between them" \
        equal "$whole" "$(sed '/^$/d' <<<"$together" | sort)"
done
expect "the three checks of the last table are in three parts of four" \
    3 "$(grep -l '^own.mb ' "$out"/part-*-of-4.asked | wc -l)"
for wrong in 0/3 4/3 3 a/b; do
    bash "$crosscheck" --part "$wrong" "$tool" "$out/wrong" > /dev/null 2>&1
    expect "--part $wrong is refused as a usage error" 2 "$?"
done
checks_summary
