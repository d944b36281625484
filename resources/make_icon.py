#!/usr/bin/env python3
"""Draws the program icon (zolvane.ico: 32 x 32, 16 colours) from the pixel map below.

Run it from anywhere to rewrite the icon; with --check it only says whether the checked-in icon is current.
"""
import os
import struct
import sys

# Two yellow folders, each with a white document sticking out, joined by a blue arrow from the upper-left
# folder to the lower-right one. "." is transparent.
PIXELS = [
    "................................",
    "......kkkkkkk...................",
    "......kwwwwwkk..................",
    "......kwgggwwkk.................",
    ".kkkk.kwwwwwwwk.................",
    "kyyyykkwggggwwk.................",
    "kyyyyyywwwwwwwk.................",
    "kyyyyyywggggwwk.................",
    "kyyyykkkkkkkkkkk................",
    "kyyykyyyyyyyyyyk................",
    "kyyykyyyynbnyyyk................",
    "kyyyyoyyyynbnyk.................",
    "kyyyoyyyyyynbnk.................",
    "kyykyyyyyyyynbn.................",
    "kyoyyyyyyyyyynbn................",
    "kokkkkkkkkkkkknbn...............",
    "...............nbn...b..........",
    "................nbn.bbkkkkkkk...",
    ".................nbbbbkwwwwwkk..",
    "..................bbbbkwgggwwkk.",
    ".................bbbbbkwwwwwwwk.",
    "................bbbbbbkwggggwwk.",
    "................kyyyyyywwwwwwwk.",
    "................kyyyyyywggggwwk.",
    "................kyyyykkkkkkkkkkk",
    "................kyyykyyyyyyyyyyk",
    "................kyyykyyyyyyyyyyk",
    "................kyyyyoyyyyyyyyk.",
    "................kyyyoyyyyyyyyyk.",
    "................kyykyyyyyyyyyk..",
    "................kyoyyyyyyyyyyk..",
    "................kokkkkkkkkkkkk..",
]

# The standard 16-colour palette, by the letters the map uses.
PALETTE = [
    ("k", (0x00, 0x00, 0x00)),  # black
    ("m", (0x80, 0x00, 0x00)),  # maroon
    ("G", (0x00, 0x80, 0x00)),  # green
    ("o", (0x80, 0x80, 0x00)),  # olive: the folders' shading
    ("n", (0x00, 0x00, 0x80)),  # navy: the arrow's edges
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("s", (0xC0, 0xC0, 0xC0)),  # silver
    ("g", (0x80, 0x80, 0x80)),  # grey: the documents' lines
    ("r", (0xFF, 0x00, 0x00)),  # red
    ("l", (0x00, 0xFF, 0x00)),  # lime
    ("y", (0xFF, 0xFF, 0x00)),  # yellow: the folders
    ("b", (0x00, 0x00, 0xFF)),  # blue: the arrow
    ("f", (0xFF, 0x00, 0xFF)),  # fuchsia
    ("a", (0x00, 0xFF, 0xFF)),  # aqua
    ("w", (0xFF, 0xFF, 0xFF)),  # white: the documents
]
SIZE = 32


def color_index(letter):
    for index, (name, _) in enumerate(PALETTE):
        if name == letter:
            return index
    raise ValueError("no colour named %r" % letter)


def xor_rows():
    rows = []
    for line in reversed(PIXELS):  # a DIB is stored bottom-up
        indexes = [0 if c == "." else color_index(c) for c in line]
        rows.append(bytes((indexes[x] << 4) | indexes[x + 1] for x in range(0, SIZE, 2)))
    return b"".join(rows)


def and_rows():
    rows = []
    for line in reversed(PIXELS):
        bits = 0
        for c in line:
            bits = (bits << 1) | (1 if c == "." else 0)
        rows.append(struct.pack(">I", bits))  # 32 pixels: exactly one 32-bit row, most significant bit first
    return b"".join(rows)


def icon_bytes():
    assert len(PIXELS) == SIZE and all(len(line) == SIZE for line in PIXELS)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    image = xor_rows()
    mask = and_rows()
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(image) + len(mask), 0, 0, 16, 0)
    dib = header + palette + image + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(dib), 6 + 16)
    return directory + entry + dib


def main():
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "zolvane.ico")
    data = icon_bytes()
    if "--check" in sys.argv[1:]:
        with open(target, "rb") as f:
            current = f.read() == data
        print("zolvane.ico is current" if current else "zolvane.ico differs from its pixel map: run make_icon.py")
        return 0 if current else 1
    with open(target, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
