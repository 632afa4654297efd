#!/usr/bin/env bash
# Writes the benchmark's second token text: the Japanese manual pages of Debian's manpages-ja,
# stripped of their markup, in code page 932 (characters it lacks are dropped) with CR LF line
# ends, repeated until the text holds at least <size> bytes.
#   make_manual_text.sh <manual folder> <output> <size in bytes>
set -euo pipefail
pages=$1 out=$2 size=$3
export LC_ALL=C

# The text of the pages: comments and requests dropped, the words of the font macros kept
# (.SH, .B, .IR ...), and the inline escapes (font changes, special characters, hyphens)
# reduced to the characters they stand for, or to nothing.
strip_markup() {
  sed -E \
    -e '/^[.'"'"']\\"/d' \
    -e 's/^\.(SH|SS|B|I|BR|BI|IR|IB|RB|RI|SM|SB)([[:space:]]+|$)//' \
    -e '/^[.'"'"']/d' \
    -e 's/\\f(\[[^]]*\]|\(..|.)//g' \
    -e 's/\\\*(\[[^]]*\]|\(..|.)//g' \
    -e 's/\\\((..)//g' \
    -e 's/\\s[-+]?[0-9]//g' \
    -e 's/\\[-e]/-/g' \
    -e 's/\\[&|^c%]//g' \
    -e 's/\\(.)/\1/g'
}

text=$(mktemp)
trap 'rm -f "$text"' EXIT
find "$pages" -type f -name '*.gz' | sort | xargs zcat | strip_markup |
  { iconv -c -f UTF-8 -t CP932 || true; } | sed 's/$/\r/' >"$text"
[[ -s $text ]] || { echo "make_manual_text.sh: no text from $pages" >&2; exit 1; }

: >"$out"
while (( $(stat -c %s "$out") < size )); do cat "$text" >>"$out"; done
