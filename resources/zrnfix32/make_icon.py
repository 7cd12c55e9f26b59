#!/usr/bin/env python3
"""Draws the repair utility's icon, zrnfix32.ico: a table (heading row and grid) with a
red repair band across a corner, as a 32x32 sixteen-colour Windows icon. Run once; the
file is kept beside zrnfix32.rc. Rows of characters: '.' transparent, '#' black, 'o'
white, '+' grey, 'r' red, 'y' yellow."""
import struct

PALETTE = [(0, 0, 0), (255, 255, 255), (192, 192, 192), (192, 0, 0), (255, 255, 0)]
INDEX = {'#': 0, '.': 0, 'o': 1, '+': 2, 'r': 3, 'y': 4}

def picture():
    rows = []
    for y in range(32):
        row = ""
        for x in range(32):
            border = x in (0, 31) or y in (0, 31)
            grid = x in (10, 21) or (y > 8 and y % 6 == 2) or y == 8
            c = '#' if border or grid else ('+' if y < 8 else 'o')
            # The repair band: a diagonal stripe from the lower left, yellow-edged.
            d = x - (31 - y)
            if -3 <= d <= 3 and y > 12:
                c = 'y' if abs(d) == 3 else 'r'
            row += c
        rows.append(row)
    return rows

def icon_file(rows):
    h, w = len(rows), len(rows[0])
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for (r, g, b) in PALETTE + [(0, 0, 0)] * (16 - len(PALETTE)))
    xor = b""
    mask = b""
    for row in reversed(rows):
        data = bytearray()
        for i in range(0, w, 2):
            data.append((INDEX[row[i]] << 4) | INDEX[row[i + 1]])
        xor += bytes(data)
        bits = bytearray()
        for i in range(0, w, 8):
            byte = 0
            for j, c in enumerate(row[i:i + 8]):
                byte |= (1 if c == '.' else 0) << (7 - j)
            bits.append(byte)
        while len(bits) % 4:
            bits.append(0)
        mask += bytes(bits)
    image = header + palette + xor + mask
    entry = struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(image), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + image

with open("zrnfix32.ico", "wb") as f:
    f.write(icon_file(picture()))
