#!/usr/bin/env python3
"""Writes setup.ico: a 32x32 picture of a box with a green arrow into it."""
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

rows = []
mask_rows = []
for y in reversed(range(SIZE)):  # bottom-up
    row = b""
    bits = 0
    mask = b""
    for x in range(SIZE):
        p = pixel(x, y)
        row += bytes(p + (0xFF,)) if p else b"\0\0\0\0"
        bits = (bits << 1) | (0 if p else 1)
        if x % 8 == 7:
            mask += bytes([bits])
            bits = 0
    rows.append(row)
    mask_rows.append(mask)
image = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
image += b"".join(rows) + b"".join(mask_rows)
header = struct.pack("<HHH", 0, 1, 1)
entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
open("setup.ico", "wb").write(header + entry + image)
