#!/usr/bin/env python3
"""Writes setup.ico: a 32x32 picture of a box with a green arrow into it.

Four colours and a mask: 16 colours (4 bits a pixel, its own palette) hold it exactly, in a
sixth of the bytes of 32 bits a pixel, and every Windows version since 95 reads them."""
import struct

SIZE = 32

def pixel(x, y):
    # y counts from the top here
    if 4 <= x < 28 and 16 <= y < 29:                      # the box
        edge = x in (4, 27) or y in (16, 28)
        return (0x40, 0x30, 0x10) if edge else (0x90, 0x50, 0x10)  # BGR: navy-brown
    if 13 <= x < 19 and 2 <= y < 11:                      # arrow shaft
        return (0x00, 0xC0, 0x00)
    if 11 <= y < 17 and abs(x - 15.5) <= (17 - y):        # arrow head
        return (0x00, 0xC0, 0x00)
    return None

# Index 0 is black: the ground under the transparent pixels.
palette = [(0, 0, 0)]
rows = []
mask_rows = []
for y in reversed(range(SIZE)):  # bottom-up
    indices = []
    bits = 0
    mask = b""
    for x in range(SIZE):
        p = pixel(x, y)
        if p and p not in palette:
            palette.append(p)
        indices.append(palette.index(p) if p else 0)
        bits = (bits << 1) | (0 if p else 1)
        if x % 8 == 7:
            mask += bytes([bits])
            bits = 0
    rows.append(bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2)))
    mask_rows.append(mask)
palette += [(0, 0, 0)] * (16 - len(palette))
image = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
image += b"".join(bytes(c + (0,)) for c in palette)
image += b"".join(rows) + b"".join(mask_rows)
header = struct.pack("<HHH", 0, 1, 1)
entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
open("setup.ico", "wb").write(header + entry + image)
