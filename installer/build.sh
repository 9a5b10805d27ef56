#!/bin/sh
# Builds the Windows installer "ZEM Ordwen Setup.exe" into build/installer from the win64 and
# win32 plug-ins (VST 2.4, CLAP and the VST 3 bundles), the user manual and the typeface of a
# native build.
# usage: installer/build.sh [OUTPUT_DIR]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/installer}
manual="ZEM Ordwen User Manual v3.0.2 EN.pdf"
win64="$root/build/win64/bin/ZEM Ordwen_x64.dll"
win32="$root/build/win32/bin/ZEM Ordwen.dll"
clap64="$root/build/win64/bin/ZEM Ordwen.clap"
clap32="$root/build/win32/bin/ZEM Ordwen.clap"
vst3_64="$root/build/win64/bin/ZEM Ordwen.vst3"
vst3_32="$root/build/win32/bin/ZEM Ordwen.vst3"
for f in "$win64" "$win32" "$clap64" "$clap32" "$vst3_64/Contents/x86_64-win/ZEM Ordwen.vst3" \
    "$vst3_32/Contents/x86-win/ZEM Ordwen.vst3"; do
    [ -f "$f" ] || { echo "installer: $f is not built (cmake --build build/win64, build/win32)" >&2; exit 1; }
done
# The manual comes from whichever native build has typeset it.
pdf=""
for b in native native-asan; do
    [ -f "$root/build/$b/manual/$manual" ] && pdf="$root/build/$b/manual/$manual" && break
done
[ -n "$pdf" ] || { echo "installer: the manual is not built (cmake --build build/native --target manual)" >&2; exit 1; }

stage="$out/stage"
rm -rf "$stage"
mkdir -p "$stage/x64" "$stage/x86"
cp "$win64" "$win32" "$pdf" "$root/resources/font/ZEMOrdwen.kqf" "$stage/"
cp "$clap64" "$stage/x64/"
cp "$clap32" "$stage/x86/"
cp -r "$vst3_64" "$stage/x64/"
cp -r "$vst3_32" "$stage/x86/"
makensis -V2 -DSTAGE="$stage" -DOUTFILE="$out/ZEM Ordwen Setup.exe" "$root/installer/zem_ordwen.nsi"
echo "installer: $out/ZEM Ordwen Setup.exe"
