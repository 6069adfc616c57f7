#!/usr/bin/env python3
"""Writes the golden files that the tests read: one small S16, DAT and SHP
file, each laid out by hand here with what every byte is.

    python3 make_golden.py [output-folder]   (default: this script's folder)

All numbers are little-endian. The tests check the values stated in the
comments below, and a CTest test runs this script into a scratch folder and
compares its output with the committed files, so the two cannot drift apart.
"""

import os
import struct
import sys


def i16(v):
    return struct.pack("<h", v)


def i32(v):
    return struct.pack("<i", v)


def u32(v):
    return struct.pack("<I", v)


def word(v):
    """One RGB565 pixel: red in bits 15-11, green 10-5, blue 4-0."""
    return struct.pack("<H", v)


# ---------------------------------------------------------------------------
# golden.s16: two icons, the first coded raw, the second run-length coded.
#
# Colours decode to 24 bits by shifting each field up (the low bits stay 0):
#   0xF800 red     -> F8 00 00 (red, green, blue)
#   0x07E0 green   -> 00 FC 00
#   0x001F blue    -> 00 00 F8
#   0xFFFF white   -> F8 FC F8
#   0x8410 grey    -> 80 80 80
#   0xF81F magenta -> F8 00 F8, the transparent colour
# Pixels outside an icon's stored area decode to the key colour F8 DC DC.
# ---------------------------------------------------------------------------

RED, GREEN, BLUE, WHITE, GREY, MAGENTA = 0xF800, 0x07E0, 0x001F, 0xFFFF, 0x8410, 0xF81F

ICON1_DATA = b"".join([
    # Raw: Width x Height words, rows top first, each row left to right.
    word(RED), word(GREEN),    # row 0 of the stored area: icon pixels (1,0) (2,0)
    word(BLUE), word(WHITE),   # row 1: icon pixels (1,1) (2,1)
])                             # 8 bytes; 4 runs would take 12, so raw is shorter

ICON2_DATA = b"".join([
    # Run-length: a count byte (1..255) and the word it repeats. A run goes
    # on across the end of a stored row.
    bytes([3]), word(GREY),     # row 1, columns 0-2
    bytes([5]), word(MAGENTA),  # row 1 column 3, then all of row 2
])                              # 6 bytes; raw would take 16

S16_ICON_COUNT = i32(2)  # offset 0: the number of icon records that follow

S16_RECORD_1 = b"".join([    # offset 4: 40-byte record of icon 1
    i32(2),   # Width: stored area is 2 pixels wide
    i32(2),   # Height: and 2 rows high
    i32(1),   # StartX: its left column in the icon (column 0 stays key colour)
    i32(0),   # StartY: its top row in the icon
    i32(3),   # TWidth: the whole icon is 3 x 2
    i32(2),   # THeight
    i32(0),   # Starts: data at offset 0 of the pixel data area
    i32(8),   # Bytes: 8 bytes of data
    i32(0),   # Compress: 0, raw words
    i32(0),   # Reserved
])

S16_RECORD_2 = b"".join([    # offset 44: 40-byte record of icon 2
    i32(4),   # Width: stored area 4 x 2
    i32(2),   # Height
    i32(0),   # StartX
    i32(1),   # StartY: row 0 of the icon stays key colour
    i32(4),   # TWidth: the whole icon is 4 x 3
    i32(3),   # THeight
    i32(8),   # Starts: right after icon 1's data
    i32(6),   # Bytes
    i32(1),   # Compress: 1, run-length coded
    i32(0),   # Reserved
])

# offset 84: the pixel data area, icon 1's 8 bytes then icon 2's 6 bytes.
GOLDEN_S16 = S16_ICON_COUNT + S16_RECORD_1 + S16_RECORD_2 + ICON1_DATA + ICON2_DATA
assert len(GOLDEN_S16) == 98


# ---------------------------------------------------------------------------
# golden.dat: three items in name order, the S16 above among them.
# ---------------------------------------------------------------------------

def name13(text):
    """A 13-byte name field, zero-padded; a 13-character name has no terminator."""
    raw = text.encode("ascii")
    assert len(raw) <= 13
    return raw + b"\0" * (13 - len(raw))


DAT_ITEMS = [
    ("ICONS.S16", GOLDEN_S16),            # an S16 item: its icon count (2) is listed
    ("LONGNAME1.TXT", b"no terminator\n"),  # 13 characters fill the name field
    ("README.TXT", b"hello\n"),
]
DAT_RECORDS = len(DAT_ITEMS) + 1  # the end record counts
DAT_DIRECTORY_SIZE = 4 + 17 * DAT_RECORDS  # 72: where the first item starts


def golden_dat():
    out = u32(DAT_RECORDS)  # offset 0: record count, items plus the end record
    offset = DAT_DIRECTORY_SIZE
    for name, data in DAT_ITEMS:
        out += u32(offset)  # 4 bytes: where the item starts (ICONS.S16 72,
        out += name13(name)  # LONGNAME1.TXT 170, README.TXT 184); 13-byte name
        offset += len(data)  # an item's size is the next record's offset minus its own
    out += u32(offset)  # end record: the offset where the last item ends (190)
    out += name13("")  # and an empty name
    for _, data in DAT_ITEMS:
        out += data  # the items' bytes, back to back, in directory order
    assert len(out) == offset == 190
    return out


# ---------------------------------------------------------------------------
# golden.shp: two frames of 8-bit palette indexes; index 159 is transparent.
# ---------------------------------------------------------------------------

T = 159


def frame_header(width, height, left, top, right, bottom):
    return b"".join([
        i16(height - 1),  # height minus 1
        i16(width - 1),   # width minus 1
        i32(0),           # reserved
        i32(left),        # column where every coded row starts
        i32(top),         # first coded row
        i32(right),       # rightmost opaque column
        i32(bottom),      # last coded row
    ])


# Frame 1, 4 x 3:          row 0: T T T T
#                          row 1: T 7 7 7
#                          row 2: T 9 T 10
# Codes: 0 ends a row; 1 n skips n transparent pixels; an even code 2n
# repeats the next byte n times; an odd code 2n+1 (n >= 1) copies n bytes.
SHP_FRAME_1 = frame_header(4, 3, left=1, top=1, right=3, bottom=2) + bytes([
    6, 7, 0,              # row 1 from column 1: three of index 7, end of row
    3, 9, 1, 1, 3, 10, 0,  # row 2: one literal 9, skip 1, one literal 10, end
])

# Frame 2, 2 x 2, the smallest frame shown:   row 0: 4 T
#                                             row 1: 4 4
# Two equal pixels are copied as literals: runs start at three.
SHP_FRAME_2 = frame_header(2, 2, left=0, top=0, right=1, bottom=1) + bytes([
    3, 4, 0,     # row 0: one literal 4; the trailing transparent pixel is not coded
    5, 4, 4, 0,  # row 1: two literal 4s
])

SHP_FRAMES = [SHP_FRAME_1, SHP_FRAME_2]
SHP_TABLE_END = 8 + 8 * len(SHP_FRAMES)  # 24: where frame 1 starts


def golden_shp():
    out = b"1.10"  # offset 0: magic
    out += i32(len(SHP_FRAMES))  # offset 4: frame count
    offset = SHP_TABLE_END
    for frame in SHP_FRAMES:
        out += u32(offset)  # where the frame's header starts (24, then 58)
        out += u32(0)  # a reserved word
        offset += len(frame)  # frame 1 is 34 bytes, frame 2 is 31
    for frame in SHP_FRAMES:
        out += frame
    assert len(out) == 89
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    for name, data in (("golden.s16", GOLDEN_S16), ("golden.dat", golden_dat()),
                       ("golden.shp", golden_shp())):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
