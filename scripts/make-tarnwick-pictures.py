#!/usr/bin/env python3
"""Writes the held tree's small pictures (uncompressed RGBA TIFF) into tarnwick/res."""
import os
import struct
import sys


def tiff(path, w, h, pixel):
    data = bytearray()
    for y in range(h):
        for x in range(w):
            data += bytes(pixel(x, y))
    entries = []

    def entry(tag, typ, count, value):
        entries.append((tag, typ, count, value))

    header = 8
    data_offset = header
    ifd_offset = data_offset + len(data)
    ifd_offset += ifd_offset % 2
    bits_offset = ifd_offset + 2 + 12 * 12 + 4
    entry(256, 3, 1, w)
    entry(257, 3, 1, h)
    entry(258, 3, 4, bits_offset)
    entry(259, 3, 1, 1)
    entry(262, 3, 1, 2)
    entry(273, 4, 1, data_offset)
    entry(277, 3, 1, 4)
    entry(278, 3, 1, h)
    entry(279, 4, 1, len(data))
    entry(284, 3, 1, 1)
    entry(338, 3, 1, 2)
    entry(339, 3, 4, bits_offset + 8)
    out = bytearray(b"II*\x00" + struct.pack("<I", ifd_offset))
    out += data
    while len(out) < ifd_offset:
        out += b"\x00"
    out += struct.pack("<H", len(entries))
    for tag, typ, count, value in entries:
        if typ == 3 and count == 1:
            out += struct.pack("<HHIHH", tag, typ, count, value, 0)
        else:
            out += struct.pack("<HHII", tag, typ, count, value)
    out += struct.pack("<I", 0)
    out += struct.pack("<4H", 8, 8, 8, 8)
    out += struct.pack("<4H", 1, 1, 1, 1)
    with open(path, "wb") as f:
        f.write(out)


def dot(rgb, side):
    c = (side - 1) / 2.0
    r = side / 2.0 - 0.5

    def pixel(x, y):
        inside = (x - c) ** 2 + (y - c) ** 2 <= r * r
        return (*rgb, 255) if inside else (0, 0, 0, 0)
    return pixel


def check(on):
    def pixel(x, y):
        if x in (3, 20) and 3 <= y <= 20 or y in (3, 20) and 3 <= x <= 20:
            return (40, 40, 40, 255)
        if on and 6 <= x <= 17 and 6 <= y <= 17:
            return (60, 160, 60, 255)
        return (0, 0, 0, 0)
    return pixel


def layer_off(x, y):
    if x in (4, 19) and 4 <= y <= 19 or y in (4, 19) and 4 <= x <= 19:
        return (120, 120, 120, 255)
    return (0, 0, 0, 0)


def main():
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "tarnwick", "res")
    tiff(os.path.join(res, "Green.tif"), 12, 12, dot((40, 200, 60), 12))
    tiff(os.path.join(res, "Red.tif"), 12, 12, dot((220, 50, 40), 12))
    tiff(os.path.join(res, "Gray.tif"), 12, 12, dot((150, 150, 150), 12))
    tiff(os.path.join(res, "CheckON.tif"), 24, 24, check(True))
    tiff(os.path.join(res, "CheckOFF.tif"), 24, 24, check(False))
    tiff(os.path.join(res, "LayerOFF.tif"), 24, 24, layer_off)


main()
