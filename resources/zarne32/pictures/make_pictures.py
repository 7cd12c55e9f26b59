#!/usr/bin/env python3
"""Draws the main program's pictures: the control-bar buttons (one bitmap per command id),
the statement window's background pattern, the splash and About picture and the icons.
Run once by hand; the .bmp and .ico files it writes are kept beside it."""
import struct

GREY, DARK, WHITE, BLACK = (192, 192, 192), (128, 128, 128), (255, 255, 255), (0, 0, 0)
NAVY, TEAL, MAROON, GREEN, YELLOW = (0, 0, 128), (0, 128, 128), (128, 0, 0), (0, 128, 0), (255, 255, 0)

FONT = {  # 5 x 7 capitals and digits
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'Z': ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    '$': ["00100", "01111", "10100", "01110", "00101", "11110", "00100"],
}


class Picture:
    def __init__(self, w, h, fill=GREY):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def box(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.dot(x, y0, c); self.dot(x, y1, c)
        for y in range(y0, y1 + 1):
            self.dot(x0, y, c); self.dot(x1, y, c)

    def letter(self, ch, x0, y0, c, scale=1):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    self.box(x0 + col * scale, y0 + row * scale,
                             x0 + col * scale + scale - 1, y0 + row * scale + scale - 1, c)

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        rows = b''
        for y in range(self.h - 1, -1, -1):
            line = b''.join(bytes((b, g, r)) for (r, g, b) in self.px[y])
            rows += line + b'\0' * (stride - len(line))
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        return info, rows

    def save_bmp(self, name):
        info, rows = self.bmp()
        head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
        open(name, 'wb').write(head + info + rows)


def document(p, x, y, c=WHITE):
    p.box(x, y, x + 8, y + 11, c); p.frame(x, y, x + 8, y + 11, BLACK)
    for ly in range(y + 3, y + 10, 2):
        p.box(x + 2, ly, x + 6, ly, DARK)


def button(draw):
    p = Picture(20, 18)
    draw(p)
    return p


def letter_button(ch, colour):
    def draw(p):
        p.box(4, 3, 15, 14, colour); p.frame(4, 3, 15, 14, BLACK)
        p.letter(ch, 8, 5, WHITE)
    return button(draw)


def new_file(p): document(p, 5, 3)
def open_file(p):
    p.box(2, 6, 16, 14, YELLOW); p.frame(2, 6, 16, 14, BLACK); p.box(2, 4, 7, 6, YELLOW); p.frame(2, 4, 7, 6, BLACK)
def save_file(p):
    p.box(3, 2, 16, 15, NAVY); p.box(6, 3, 13, 7, WHITE); p.box(6, 10, 13, 15, DARK); p.box(7, 11, 8, 14, BLACK)
def merge_file(p): document(p, 2, 2); document(p, 8, 5)
def print_file(p):
    p.box(6, 2, 13, 7, WHITE); p.frame(6, 2, 13, 7, BLACK); p.box(2, 7, 17, 13, DARK); p.frame(2, 7, 17, 13, BLACK)
    p.box(5, 11, 14, 15, WHITE); p.frame(5, 11, 14, 15, BLACK)
def cut(p):
    for i in range(8):
        p.dot(5 + i, 2 + i, BLACK); p.dot(14 - i, 2 + i, BLACK)
    p.frame(3, 10, 7, 14, MAROON); p.frame(12, 10, 16, 14, MAROON)
def copy(p): document(p, 2, 2, WHITE); document(p, 9, 5, WHITE)
def paste(p):
    p.box(3, 3, 13, 15, (160, 96, 32)); p.box(6, 2, 10, 4, DARK); document(p, 9, 6)
def house(p):
    for i in range(7):
        p.box(9 - i, 2 + i, 10 + i, 2 + i, MAROON)
    p.box(4, 9, 15, 15, WHITE); p.frame(4, 9, 15, 15, BLACK); p.box(8, 11, 11, 15, DARK)


BUTTONS = {
    24331: button(new_file), 24332: button(open_file), 24333: button(save_file), 1: button(merge_file),
    24337: button(print_file), 24322: button(cut), 24323: button(copy), 24324: button(paste),
    4: letter_button('B', NAVY), 5: letter_button('S', TEAL), 6: letter_button('L', MAROON),
    8: button(house), 9: letter_button('A', GREEN), 10: letter_button('R', DARK), 11: letter_button('E', MAROON),
    102: letter_button('$', GREEN),
}


def background():
    p = Picture(8, 8, (224, 224, 208))
    p.dot(0, 0, (208, 208, 192)); p.dot(4, 4, (208, 208, 192))
    return p


def logo(size):
    p = Picture(size, size, NAVY)
    p.frame(0, 0, size - 1, size - 1, WHITE)
    scale = max(1, size // 10)
    p.letter('Z', (size - 5 * scale) // 2, (size - 7 * scale) // 2, YELLOW, scale)
    return p


def save_icon(name, pictures):
    entries, blobs = b'', b''
    offset = 6 + 16 * len(pictures)
    for p in pictures:
        info, rows = p.bmp()
        info = struct.pack('<IiiHHIIiiII', 40, p.w, p.h * 2, 1, 24, 0, len(rows), 0, 0, 0, 0)
        mask_stride = ((p.w + 31) // 32) * 4
        blob = info + rows + b'\0' * (mask_stride * p.h)
        entries += struct.pack('<BBBBHHII', p.w, p.h, 0, 0, 1, 24, len(blob), offset)
        offset += len(blob)
        blobs += blob
    open(name, 'wb').write(struct.pack('<HHH', 0, 1, len(pictures)) + entries + blobs)


def file_icon(size):
    p = Picture(size, size, WHITE)
    p.frame(0, 0, size - 1, size - 1, BLACK)
    step = max(2, size // 8)
    for y in range(step * 2, size - step, step):
        p.box(step, y, size - step - 1, y, NAVY if y == step * 2 else DARK)
    return p


if __name__ == '__main__':
    for number, picture in BUTTONS.items():
        picture.save_bmp(f'button{number}.bmp')
    background().save_bmp('statement_background.bmp')
    logo(48).save_bmp('logo.bmp')
    save_icon('zarne.ico', [logo(32)])
    save_icon('zarne_small.ico', [logo(16)])
    save_icon('closing_file.ico', [file_icon(32)])
    save_icon('closing_file_small.ico', [file_icon(16)])
