#!/bin/sh
# Builds the user manual: build.sh FIGURE_DIR OUTPUT.pdf
# FIGURE_DIR holds the pictures drawn by the artwork generator (zem_artwork figures) and the
# chapter of measured figures (zem_host conformance --groff FIGURE_DIR/conformance.ms).
set -e
here=$(cd "$(dirname "$0")" && pwd)
figures=$(cd "$1" && pwd)
output=$2
[ -n "$output" ] || { echo "usage: build.sh FIGURE_DIR OUTPUT.pdf" >&2; exit 2; }
# Fixed dates make the document the same on every build.
export SOURCE_DATE_EPOCH=1767225600
cd "$figures"
groff -U -s -ms -p -t -Tpdf -P-pa4 -dpaper=a4 "$here/manual.ms" > "$output.tmp" 2>/dev/null || { groff -U -s -ms -p -t -Tpdf -P-pa4 -dpaper=a4 "$here/manual.ms" >/dev/null; exit 1; }
mv "$output.tmp" "$output"
