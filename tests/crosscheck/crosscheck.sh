#!/bin/bash
# Cross-checks the lookup tool against the reference reader on the tables
# written by make_tables.py, and on a table path that does not exist.
#
# Usage: crosscheck.sh [--part K/N] NVCODEFIND_BINARY OUTDIR [TABLE...]
#
# Further TABLEs (for instance ones that navomb built) are checked the same
# way, after the written ones. With --part K/N only every Nth check from the
# Kth on (counting from 1) is made, so that N runs in separate OUTDIRs share
# the checks between them and can run at once.
#
# For every table: NVCODEFIND_BINARY --table TABLE --batch < allhex
# and reference_reader.py batch TABLE < allhex must print the same lines.
# Every line of the tool must also split unambiguously: four fields on tabs,
# the reports on "|" into "beep" or "box:TEXT/CAPTION" with one "/", and
# every backslash starting an \xHH.
# The candidates of codes (--code --batch on every one- and two-letter code
# and some longer ones) and every code of texts (--all --batch on most of a
# table's characters and some words) must be the reference reader's too.
# Outputs are kept in OUTDIR (*.tool.out, *.ref.out, *.diff).
# The last line is "N passed, M failed"; exit status 0 only if all agree.

set -u

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/parts.sh"
parts_take_option "$@" || exit 2
shift "$parts_shift"
if [ $# -lt 2 ]; then
    echo "usage: $0 [--part K/N] NVCODEFIND_BINARY OUTDIR [TABLE...]" >&2
    exit 2
fi
tool=$1
out=$2
shift 2
python=${PYTHON:-python3}
. "$here/../support/checks.sh"

if [ ! -x "$tool" ]; then
    echo "not an executable: $tool" >&2
    exit 2
fi

mkdir -p "$out" || exit 2
"$python" "$here/selftest.py" || exit 2
"$python" "$here/make_tables.py" "$out" || exit 2
"$python" "$here/reference_reader.py" allhex > "$out/allhex.txt" || exit 2

missing="$out/no-such-dir/navo.mb"
rm -rf "$out/no-such-dir"

# agrees TABLE NAME: the tool's lines on TABLE are the reference reader's and
# split unambiguously; otherwise says how they differ.
agrees() {
    table=$1 name=$2
    "$tool" --table "$table" --batch < "$out/allhex.txt" \
        > "$out/$name.tool.out" 2> "$out/$name.tool.err"
    status=$?
    "$python" "$here/reference_reader.py" batch "$table" < "$out/allhex.txt" \
        > "$out/$name.ref.out" 2> "$out/$name.ref.err"

    # 0 and 1 (some lookup failed) are normal; anything else is a usage
    # error or a crash
    problem=""
    if [ $status -gt 1 ]; then
        problem="tool exit status $status"
    fi
    if ! diff "$out/$name.ref.out" "$out/$name.tool.out" > "$out/$name.diff"; then
        lines=$(grep -c '^[<>]' "$out/$name.diff")
        problem="${problem:+$problem; }$lines differing lines (ref <, tool >)"
    fi
    unsplittable=$(awk -F'\t' '
        NF != 4 || $2 !~ /^(ok|fail)$/ { bad++; next }
        {
            n = $4 == "" ? 0 : split($4, reports, "|")
            for (i = 1; i <= n; i++)
                if (reports[i] !~ /^(beep|box:[^\/]*\/[^\/]*)$/) { bad++; next }
            line = $0
            gsub(/\\x[0-9A-F][0-9A-F]/, "", line)
            if (index(line, "\\")) bad++
        }
        END { print bad + 0 }' "$out/$name.tool.out")
    if [ "$unsplittable" -ne 0 ]; then
        problem="${problem:+$problem; }$unsplittable lines that do not split unambiguously"
    fi
    if [ "$name" = missing ] && ! grep -q '打开文件失败' "$out/$name.tool.err"; then
        problem="${problem:+$problem; }no open failure report on stderr"
    fi
    [ -z "$problem" ] && return 0
    echo "    $problem"
    head -n 6 "$out/$name.diff" | sed 's/^/    /'
    return 1
}

# answers_agree MODE TABLE NAME: nvcodefind's --code (MODE codes) or --all
# (MODE every) batch lines are the reference reader's, on the codes or texts
# the reference reader chose from TABLE.
answers_agree() {
    mode=$1 table=$2 name=$3
    if [ "$mode" = codes ]; then option=--code list=codelist; else option=--all list=textlist; fi
    "$python" "$here/reference_reader.py" "$list" "$table" > "$out/$name.$mode.in" || return 1
    "$tool" --table "$table" "$option" --batch < "$out/$name.$mode.in" \
        > "$out/$name.$mode.tool.out" 2> "$out/$name.$mode.tool.err"
    status=$?
    "$python" "$here/reference_reader.py" "$mode" "$table" < "$out/$name.$mode.in" \
        > "$out/$name.$mode.ref.out" 2> "$out/$name.$mode.ref.err"
    problem=""
    [ $status -gt 1 ] && problem="tool exit status $status"
    asked=$(wc -l < "$out/$name.$mode.in")
    answered=$(wc -l < "$out/$name.$mode.ref.out")
    [ "$asked" -eq "$answered" ] || problem="${problem:+$problem; }$asked asked, $answered answered"
    if ! diff "$out/$name.$mode.ref.out" "$out/$name.$mode.tool.out" > "$out/$name.$mode.diff"; then
        lines=$(grep -c '^[<>]' "$out/$name.$mode.diff")
        problem="${problem:+$problem; }$lines differing lines (ref <, tool >)"
    fi
    [ -z "$problem" ] && return 0
    echo "    $problem"
    head -n 6 "$out/$name.$mode.diff" | cut -c1-300 | sed 's/^/    /'
    return 1
}

extra=0
for table in "$out"/*.mb "$missing" "$@"; do
    if [ "$table" = "$missing" ]; then
        name=missing
    elif [ "$(dirname "$table")" = "$out" ]; then
        name=$(basename "$table" .mb)
    else
        extra=$((extra + 1))
        name=extra$extra-$(basename "$table" .mb)
    fi
    in_part && check "$name: the tool's lines are the reference reader's" agrees "$table" "$name"
    in_part && check "$name: the candidates of codes are the reference reader's" \
        answers_agree codes "$table" "$name"
    in_part && check "$name: every code of texts is the reference reader's" \
        answers_agree every "$table" "$name"
done

checks_summary
