#!/usr/bin/env python3
"""Writes the three 16 x 16 icons of the "Fonte" page's tree: font_root.ico
(a printer), font_face.ico (a letter A) and font_size.ico (a dot). Each icon
is one 4-bit image (no picture has more than 16 colours) with its AND mask,
so that masked image lists of any colour depth draw it with a transparent
background.

Run it from this folder after changing a picture; the build uses the .ico
files it writes, not this script."""
import struct

# One character a pixel; '.' is transparent.
PALETTE = {
    'k': (0x20, 0x20, 0x20),  # outline
    'g': (0x90, 0x90, 0x98),  # printer body
    'l': (0xC8, 0xC8, 0xD0),  # printer top
    'w': (0xFF, 0xFF, 0xFF),  # paper
    'b': (0x10, 0x30, 0xA0),  # letter
    'd': (0x20, 0x80, 0x30),  # dot
    'e': (0x60, 0xC0, 0x60),  # dot highlight
    'r': (0xD0, 0x20, 0x20),  # printer lamp
}

PRINTER = [
    "................",
    "....kkkkkkkk....",
    "....kwwwwwwk....",
    "....kwkkkkwk....",
    "....kwwwwwwk....",
    "..kkkkkkkkkkkk..",
    ".kllllllllllllk.",
    ".kggggggggggggk.",
    ".kggggggggggrgk.",
    ".kggggggggggggk.",
    ".kgkkkkkkkkkkgk.",
    ".kgkwwwwwwwwkgk.",
    ".kkkwkkkkkkwkkk.",
    "...kwwwwwwwwk...",
    "...kkkkkkkkkk...",
    "................",
]

LETTER_A = [
    "................",
    "......bbbb......",
    "......bbbb......",
    ".....bbbbbb.....",
    ".....bb..bb.....",
    ".....bb..bb.....",
    "....bbb..bbb....",
    "....bb....bb....",
    "....bb....bb....",
    "...bbbbbbbbbb...",
    "...bbbbbbbbbb...",
    "...bb......bb...",
    "..bbb......bbb..",
    "..bb........bb..",
    ".bbbb......bbbb.",
    "................",
]

DOT = [
    "................",
    "................",
    "................",
    "................",
    "................",
    "......kkkk......",
    ".....kdeedk.....",
    "....kdeedddk....",
    "....kdeddddk....",
    "....kddddddk....",
    ".....kddddk.....",
    "......kkkk......",
    "................",
    "................",
    "................",
    "................",
]


def icon(rows):
    assert len(rows) == 16 and all(len(row) == 16 for row in rows)
    # The picture's colours, most used first, make the 16-entry palette; a
    # transparent pixel takes entry 0 under a set mask bit.
    counts = {}
    for row in rows:
        for cell in row:
            if cell != '.':
                counts[cell] = counts.get(cell, 0) + 1
    cells = sorted(counts, key=lambda cell: -counts[cell])
    assert len(cells) <= 16
    index = {cell: i for i, cell in enumerate(cells)}
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in (PALETTE[cell] for cell in cells))
    palette += bytes(4 * (16 - len(cells)))
    pixels = bytearray()
    mask = bytearray()
    # Both images are stored bottom row first, two pixels a byte; every row
    # of either is padded to 4 bytes.
    for row in reversed(rows):
        bits = 0
        line = bytearray(8)
        for x, cell in enumerate(row):
            if cell == '.':
                bits |= 0x8000 >> x
            else:
                line[x // 2] |= index[cell] << (4 if x % 2 == 0 else 0)
        pixels += line
        mask += struct.pack('>H', bits) + b'\0\0'
    header = struct.pack('<IiiHHIIiiII', 40, 16, 32, 1, 4, 0, len(pixels) + len(mask), 0, 0, 16, 0)
    image = header + palette + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', 16, 16, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image

for name, rows in (('font_root.ico', PRINTER), ('font_face.ico', LETTER_A), ('font_size.ico', DOT)):
    with open(name, 'wb') as out:
        out.write(icon(rows))
