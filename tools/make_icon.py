#!/usr/bin/env python3
"""Writes the program icon: one 16x16 design, scaled to 32 and 48 pixels, each size at
16 colours (the standard VGA palette) and at 2 colours (black and white).

usage: make_icon.py OUTPUT.ico
"""
import struct
import sys

# One character per pixel: a hexadecimal palette index, '.' for transparent.
# A monitor showing a green shell prompt.
DESIGN = [
    "................",
    ".88888888888888.",
    ".87777777777778.",
    ".87000000000078.",
    ".870A0000000078.",
    ".870AA000000078.",
    ".8700AA00000078.",
    ".870AA000000078.",
    ".870A00AAAA0078.",
    ".87000000000078.",
    ".87777777777778.",
    ".88888888888888.",
    "......8778......",
    "....88877888....",
    "...8777777778...",
    "...8888888888...",
]

VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def pixels(size):
    scale = size // 16
    rows = []
    for y in range(size):
        row = DESIGN[y // scale]
        rows.append([None if row[x // scale] == "." else int(row[x // scale], 16)
                     for x in range(size)])
    return rows


def row_bytes(bits_per_pixel, values):
    """Packs one row MSB first and pads it to a multiple of four bytes."""
    out = bytearray()
    acc, nbits = 0, 0
    for v in values:
        acc = (acc << bits_per_pixel) | v
        nbits += bits_per_pixel
        if nbits == 8:
            out.append(acc)
            acc, nbits = 0, 0
    if nbits:
        out.append(acc << (8 - nbits))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def image(size, bits_per_pixel):
    rows = pixels(size)
    if bits_per_pixel == 4:
        palette = VGA
        index = lambda p: 0 if p is None else p
    else:
        palette = [(0, 0, 0), (255, 255, 255)]
        # Light colours turn white, dark ones black.
        index = lambda p: 0 if p is None else (1 if sum(VGA[p]) >= 384 or p == 10 else 0)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits_per_pixel, 0, 0, 0, 0,
                         len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    xor = b"".join(row_bytes(bits_per_pixel, [index(p) for p in row]) for row in reversed(rows))
    mask = b"".join(row_bytes(1, [1 if p is None else 0 for p in row]) for row in reversed(rows))
    return header + colours + xor + mask


def main():
    entries = [(s, b) for s in (16, 32, 48) for b in (4, 1)]
    images = [image(s, b) for (s, b) in entries]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), data in zip(entries, images):
        out += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 2, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
