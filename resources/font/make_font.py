#!/usr/bin/python3
"""Builds the private typeface ZEMOrdwen.kqf of the tape label.

It is DejaVu Sans Condensed Bold from Debian's fonts-dejavu-extra, renamed: the Bitstream Vera
licence allows modified versions under a name without "Bitstream" or "Vera"; the copyright and
licence records are kept. The face is marked as the regular style of its family, so that a
request for "ZEMOrdwen" in plain style finds it without synthesised bolding. Timestamps are fixed
so that every build writes the same bytes.

usage: make_font.py OUTPUT [SOURCE]
"""
import sys

from fontTools.ttLib import TTFont

SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"
FAMILY = "ZEMOrdwen"
# 2026-01-01 00:00:00 UTC in seconds since 1904-01-01, the epoch of the font header.
FIXED_TIME = 3849984000


def build(output, source=SOURCE):
    font = TTFont(source, recalcTimestamp=False)
    name = font["name"]
    replacements = {
        1: FAMILY,
        2: "Regular",
        3: FAMILY + " Regular 2.37",
        4: FAMILY,
        6: FAMILY + "-Regular",
        10: "Modified from DejaVu Sans Condensed Bold 2.37: renamed, marked regular.",
    }
    for record in list(name.names):
        if record.nameID in (16, 17, 18):
            name.removeNames(nameID=record.nameID)
    for name_id, value in replacements.items():
        name.removeNames(nameID=name_id)
        name.setName(value, name_id, 1, 0, 0)       # Macintosh, Roman, English
        name.setName(value, name_id, 3, 1, 0x409)   # Windows, Unicode BMP, English (US)
    os2 = font["OS/2"]
    os2.usWeightClass = 400
    os2.fsSelection = (os2.fsSelection & ~((1 << 0) | (1 << 5))) | (1 << 6)  # regular, not bold
    font["head"].macStyle = 0
    font["head"].created = FIXED_TIME
    font["head"].modified = FIXED_TIME
    if "FFTM" in font:  # the font editor's own timestamps
        del font["FFTM"]
    font.save(output, reorderTables=True)


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    build(*sys.argv[1:])
