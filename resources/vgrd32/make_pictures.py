#!/usr/bin/env python3
"""Draws the grid library's icon, cursors and tool-bar bitmap as small Windows picture
files (run once; the files are kept beside vgrd32.rc). Each picture is given as rows of
characters: '.' transparent (or background), '#' black, 'o' white, '+' grey."""
import struct

def dib_rows(rows, bits_of):
    """Bottom-up rows of packed bits, each row padded to four bytes."""
    out = b""
    for row in reversed(rows):
        bits = [bits_of(c) for c in row]
        data = bytearray()
        for i in range(0, len(bits), 8):
            byte = 0
            for j, b in enumerate(bits[i:i + 8]):
                byte |= b << (7 - j)
            data.append(byte)
        while len(data) % 4:
            data.append(0)
        out += bytes(data)
    return out

def mono_picture(rows):
    """XOR and AND planes of a two-colour icon or cursor image."""
    h, w = len(rows), len(rows[0])
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBB", 0, 0, 0, 0) + struct.pack("<BBBB", 255, 255, 255, 0)
    xor = dib_rows(rows, lambda c: 1 if c == 'o' else 0)
    mask = dib_rows(rows, lambda c: 1 if c == '.' else 0)
    return header + palette + xor + mask

def group_file(kind, rows, hot=(0, 0)):
    image = mono_picture(rows)
    h, w = len(rows), len(rows[0])
    if kind == 1:
        entry = struct.pack("<BBBBHHII", w, h, 2, 0, 1, 1, len(image), 22)
    else:
        entry = struct.pack("<BBBBHHII", w, h, 2, 0, hot[0], hot[1], len(image), 22)
    return struct.pack("<HHH", 0, kind, 1) + entry + image

def pad(rows, size=32):
    rows = [r.ljust(size, '.') for r in rows]
    return rows + ['.' * size] * (size - len(rows))

def write(name, data):
    with open(name, "wb") as f:
        f.write(data)

# The icon: a small table with a heading row.
icon = ["################################"]
for y in range(1, 31):
    if y < 8:
        icon.append("#" + "+" * 9 + "#" + "+" * 10 + "#" + "+" * 9 + "#")
    elif y % 6 == 1:
        icon.append("#" * 32)
    else:
        icon.append("#" + "o" * 9 + "#" + "o" * 10 + "#" + "o" * 9 + "#")
icon.append("#" * 32)
write("tessel.ico", group_file(1, icon))

# Column resize: a double bar with arrows left and right.
col = pad([
    "",
    "",
    "",
    "",
    "",
    "",
    "          #ooo#",
    "          #o#o#",
    "          #o#o#",
    "     #    #o#o#    #",
    "    #o#####o#o#####o#",
    "   #ooooooooooooooooo#",
    "    #o#####o#o#####o#",
    "     #    #o#o#    #",
    "          #o#o#",
    "          #o#o#",
    "          #ooo#",
])
write("colresize.cur", group_file(2, col, (12, 11)))

# Row resize: the column cursor turned a quarter.
row = [''.join(col[x][y] for x in range(32)) for y in range(32)]
write("rowresize.cur", group_file(2, row, (11, 12)))

# Column setup: a pointing arrow over a small column.
setup = pad([
    "#",
    "##",
    "#o#",
    "#oo#",
    "#ooo#",
    "#oooo#",
    "#ooooo#",
    "#oooooo#",
    "#ooooooo#",
    "#oooo#####",
    "#oo#oo#",
    "#o# #oo#   #######",
    "##  #oo#   #ooooo#",
    "#    #oo#  #######",
    "     #oo#  #ooooo#",
    "      ##   #ooooo#",
    "           #######",
])
write("colsetup.cur", group_file(2, setup, (0, 0)))

# Tool bar: a hand over a strip of buttons.
tool = pad([
    "      ##",
    "     #oo#",
    "     #oo#",
    "     #oo#",
    "     #oo###",
    "     #oo#oo###",
    "  ## #oo#oo#oo#",
    " #oo##oooooooo#",
    " #ooo#oooooooo#",
    "  #oooooooooooo#",
    "   #ooooooooooo#",
    "    #oooooooooo#",
    "     #oooooooo#",
    "      ########",
])
write("toolbar.cur", group_file(2, tool, (6, 0)))

# Tool-bar bitmap: four 16x16 buttons (insert, delete, sort, setup), four bits a pixel.
def button(symbol):
    rows = ["+" * 16]
    for y in range(1, 15):
        rows.append("+" + symbol[y - 1] + "#")
    rows.append("#" * 16)
    return rows

blank = "." * 14
def glyph(kind):
    g = [list(blank) for _ in range(14)]
    for i in range(3, 11):
        if kind in ("insert", "setup"):
            g[6][i] = '#'
        if kind == "insert":
            g[i][6] = '#'
        if kind == "delete":
            g[i][i] = '#'
            g[i][13 - i] = '#'
        if kind == "sort":
            g[i][6] = '#'
            if i >= 7:
                g[i][6 - (i - 7)] = '#'
                g[i][6 + (i - 7)] = '#'
        if kind == "setup":
            g[3][i] = '#'
            g[10][i] = '#'
    return [''.join(r) for r in g]

tiles = [button(glyph(k)) for k in ("insert", "delete", "sort", "setup")]
strip = [''.join(t[y] for t in tiles) for y in range(16)]
width, height = len(strip[0]), 16
palette = {'.': 0, '#': 1, 'o': 2, '+': 3}
colours = [(192, 192, 192), (0, 0, 0), (255, 255, 255), (128, 128, 128)] + [(0, 0, 0)] * 12
pixels = b""
for row in reversed(strip):
    data = bytearray()
    for i in range(0, width, 2):
        data.append((palette[row[i]] << 4) | palette[row[i + 1]])
    while len(data) % 4:
        data.append(0)
    pixels += bytes(data)
info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 0)
table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)
offset = 14 + len(info) + len(table)
write("toolbar.bmp", struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + table + pixels)
