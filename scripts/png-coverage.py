#!/usr/bin/env python3
"""Prints the share of a PNG's pixels that differ from its corner pixel (the background),
and fails when it is below a minimum: a check that a picture shows something. Reads the
8-bit RGB/RGBA, non-interlaced PNGs the project writes.
Usage: png-coverage.py FILE.png [MIN_SHARE]"""
import struct
import sys
import zlib

path = sys.argv[1]
minimum = float(sys.argv[2]) if len(sys.argv) > 2 else 0.01
data = open(path, "rb").read()
if data[:8] != b"\x89PNG\r\n\x1a\n":
    sys.exit(f"{path}: not a PNG file")
pos, chunks, header = 8, [], None
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b"IHDR":
        header = struct.unpack(">IIBBBBB", body)
    elif kind == b"IDAT":
        chunks.append(body)
    pos += 12 + length
width, height, depth, colour, _, _, interlace = header
if depth != 8 or colour not in (2, 6) or interlace:
    sys.exit(f"{path}: only 8-bit RGB/RGBA non-interlaced pictures are read")
bpp = 4 if colour == 6 else 3
raw, stride, rows, prev = zlib.decompress(b"".join(chunks)), width * bpp, [], bytearray(width * bpp)
for y in range(height):
    kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - bpp] if i >= bpp else 0
        b, c = prev[i], prev[i - bpp] if i >= bpp else 0
        if kind == 1: line[i] = (line[i] + a) & 255
        elif kind == 2: line[i] = (line[i] + b) & 255
        elif kind == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(bytes(line))
    prev = line
background = rows[0][:3]
covered = sum(1 for row in rows for x in range(width) if row[x * bpp:x * bpp + 3] != background)
share = covered / (width * height)
print(f"{path}: {width}x{height}, {share:.1%} of the pixels differ from the background")
if share < minimum:
    sys.exit(f"{path}: the picture is empty (below {minimum:.0%})")
