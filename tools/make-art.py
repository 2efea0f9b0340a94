#!/usr/bin/env python3
"""Draws Quillfox's icon (32x32 and 16x16, 16 colours), the ID3v2 badge that overlays row icons,
and the toolbar's six button images
(96x15, 16 colours) into app/res. Run it again after changing a drawing; its output is committed."""
import os
import struct

# The standard 16-colour palette (index: (r, g, b)).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
K, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)
T = -1  # transparent (icon only)


def fox(size):
    """An orange-red fox head with a white quill across it."""
    px = [[T] * size for _ in range(size)]
    s = size / 32.0
    for y in range(size):
        for x in range(size):
            fx, fy = x / s, y / s
            # ears
            if (4 <= fy <= 14 and abs(fx - 8) <= (fy - 4) * 0.5) or (4 <= fy <= 14 and abs(fx - 23) <= (fy - 4) * 0.5):
                px[y][x] = RED
            # head: a rounded triangle pointing down
            if 10 <= fy <= 29 and abs(fx - 15.5) <= 13 - (fy - 10) * 0.62:
                px[y][x] = RED
            # white muzzle
            if 20 <= fy <= 29 and abs(fx - 15.5) <= (29 - fy) * 0.55:
                px[y][x] = WHITE
            # eyes and nose
            if (abs(fx - 10.5) <= 1.2 or abs(fx - 20.5) <= 1.2) and 15 <= fy <= 17:
                px[y][x] = K
            if abs(fx - 15.5) <= 1.5 and 27 <= fy <= 29:
                px[y][x] = K
            # the quill: a diagonal stroke
            if 0 <= fx - fy * 0.9 - 2 <= 1.6 and 1 <= fy <= 12 and fx >= 2:
                px[y][x] = YELLOW
    return px


def icon_image(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows = []
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(0, size, 2):
            a = px[y][x] if px[y][x] != T else 0
            b = px[y][x + 1] if px[y][x + 1] != T else 0
            row.append((a << 4) | b)
        while len(row) % 4:
            row.append(0)
        xor_rows.append(bytes(row))
    and_rows = []
    for y in reversed(range(size)):
        bits = 0
        row = bytearray()
        for x in range(size):
            bits = (bits << 1) | (1 if px[y][x] == T else 0)
            if x % 8 == 7:
                row.append(bits)
                bits = 0
        while len(row) % 4:
            row.append(0)
        and_rows.append(bytes(row))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def badge():
    """The overlay of rows whose file has an ID3v2 tag: a blue tab with a white "2", lower right."""
    px = [[T] * 16 for _ in range(16)]
    for y in range(8, 16):
        for x in range(9, 16):
            px[y][x] = BLUE if 8 < y < 15 and 9 < x < 15 else WHITE
    for x, y in ((11, 10), (12, 10), (13, 11), (12, 12), (11, 13), (11, 14), (12, 14), (13, 14), (13, 10)):
        px[y - 1 if y == 14 else y][x] = WHITE
    return px


def write_icon(path, drawings):
    images = [icon_image(px) for px in drawings]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((len(px) for px in drawings), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def toolbar():
    """Six 16x15 buttons: open, close, rename, write tags, play, stop."""
    w, h = 96, 15
    px = [[SILVER] * w for _ in range(h)]

    def rect(b, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][b * 16 + x] = c

    def outline(b, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            px[y0][b * 16 + x] = px[y1][b * 16 + x] = c
        for y in range(y0, y1 + 1):
            px[y][b * 16 + x0] = px[y][b * 16 + x1] = c

    # 0 open: a yellow folder
    rect(0, 1, 4, 14, 12, YELLOW); outline(0, 1, 4, 14, 12, K); rect(0, 2, 2, 6, 3, YELLOW); outline(0, 1, 2, 6, 4, K)
    # 1 close: a page with a red cross
    rect(1, 3, 1, 12, 13, WHITE); outline(1, 3, 1, 12, 13, K)
    for i in range(6):
        px[4 + i][16 + 5 + i] = RED; px[4 + i][16 + 10 - i] = RED
    # 2 rename: a page with "ab" lines and a pencil
    rect(2, 2, 1, 10, 13, WHITE); outline(2, 2, 1, 10, 13, K)
    for y in (4, 7, 10):
        rect(2, 4, y, 8, y, NAVY)
    for i in range(7):
        px[13 - i][32 + 8 + i] = OLIVE
    # 3 write tags: a floppy disk
    rect(3, 1, 1, 14, 13, NAVY); rect(3, 4, 1, 11, 5, WHITE); rect(3, 4, 8, 11, 13, SILVER); outline(3, 1, 1, 14, 13, K)
    # 4 play: a green triangle
    for y in range(2, 13):
        for x in range(4, 4 + (6 - abs(y - 7)) * 2):
            px[y][64 + x] = GREEN
    # 5 stop: a red square
    rect(5, 4, 3, 11, 11, MAROON)

    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    rows = []
    for y in reversed(range(h)):
        row = bytearray((px[y][x] << 4) | px[y][x + 1] for x in range(0, w, 2))
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
    pixels = b''.join(rows)
    filehdr = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(palette) + len(pixels), 0, 0,
                          14 + len(header) + len(palette))
    return filehdr + header + palette + pixels


here = os.path.dirname(os.path.abspath(__file__))
res = os.path.join(here, '..', 'app', 'res')
write_icon(os.path.join(res, 'Quillfox.ico'), [fox(32), fox(16)])
write_icon(os.path.join(res, 'Id3v2Badge.ico'), [badge()])
with open(os.path.join(res, 'Toolbar.bmp'), 'wb') as f:
    f.write(toolbar())
