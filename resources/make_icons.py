#!/usr/bin/env python3
"""Draws the two tools' icons (32x32 and 16x16, 32-bit with alpha) and writes
orlipan.ico and vemo.ico next to this script. Run it again after changing a
drawing; the .ico files are kept in the tree so builds need no Python."""
import os
import struct

TRANSPARENT = (0, 0, 0, 0)
WHITE = (255, 255, 255, 255)
FRAME = (60, 60, 60, 255)
BLUE = (40, 90, 200, 255)
GREY = (150, 150, 150, 255)
BUTTON = (210, 210, 210, 255)


def inside(u, v, left, top, right, bottom):
    return left <= u < right and top <= v < bottom


def list_icon(u, v):
    """A sheet with text lines, the third line picked."""
    if not inside(u, v, 0.12, 0.06, 0.88, 0.94):
        return TRANSPARENT
    if not inside(u, v, 0.16, 0.1, 0.84, 0.9):
        return FRAME
    for row in range(5):
        top = 0.16 + row * 0.145
        if inside(u, v, 0.16, top - 0.03, 0.84, top + 0.1) and row == 2:
            return BLUE if not inside(u, v, 0.24, top + 0.015, 0.76, top + 0.055) else WHITE
        if inside(u, v, 0.24, top + 0.015, 0.76, top + 0.055):
            return GREY
    return WHITE


def box_icon(u, v):
    """A small window with a title bar, a line of text and one button."""
    if not inside(u, v, 0.04, 0.12, 0.96, 0.88):
        return TRANSPARENT
    if not inside(u, v, 0.08, 0.16, 0.92, 0.84):
        return FRAME
    if v < 0.3:
        return BLUE
    if inside(u, v, 0.18, 0.4, 0.82, 0.48):
        return GREY
    if inside(u, v, 0.34, 0.58, 0.66, 0.76):
        return FRAME if not inside(u, v, 0.37, 0.61, 0.63, 0.73) else BUTTON
    return WHITE


def image(draw, size):
    pixels = []  # bottom-up rows, as icons store them
    for y in reversed(range(size)):
        for x in range(size):
            pixels.append(draw((x + 0.5) / size, (y + 0.5) / size))
    colour = b"".join(struct.pack("<BBBB", b, g, r, a) for (r, g, b, a) in pixels)
    row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in range(size):
        bits = bytearray(row_bytes)
        for x in range(size):
            if pixels[row * size + x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + bytes(mask)


def write_icon(path, draw):
    images = [(size, image(draw, size)) for size in (32, 16)]
    offset = 6 + 16 * len(images)
    data = struct.pack("<HHH", 0, 1, len(images))
    for size, body in images:
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    data += b"".join(body for _, body in images)
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(here, "orlipan.ico"), list_icon)
    write_icon(os.path.join(here, "vemo.ico"), box_icon)
