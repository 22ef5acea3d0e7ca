#!/usr/bin/env python3
"""Compares two 8-bit RGB PNG files pixel by pixel: prints the largest
difference of a channel, and fails when the sizes differ or it is over the
allowed one. Usage: png_pixels.py A.png B.png [ALLOWED]"""
import struct
import sys
import zlib


def pixels(path):
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n', path + ' is no PNG'
    at, idat, width, height = 8, b'', 0, 0
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            assert (depth, colour) == (8, 2), path + ' is not 8-bit RGB'
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    raw, stride, rows, previous = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - 3] if x >= 3 else 0
            b = previous[x]
            c = previous[x - 3] if x >= 3 else 0
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            paeth = a if pa <= pb and pa <= pc else b if pb <= pc else c
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth)[kind]) & 255
        rows.append(line)
        previous = line
    return width, height, b''.join(rows)


if __name__ == '__main__':
    (wa, ha, a), (wb, hb, b) = pixels(sys.argv[1]), pixels(sys.argv[2])
    allowed = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    if (wa, ha) != (wb, hb):
        sys.exit(f'{wa}x{ha} against {wb}x{hb}')
    worst = max((abs(x - y) for x, y in zip(a, b)), default=0)
    print(f'{wa}x{ha}, at most {worst} apart')
    sys.exit(1 if worst > allowed else 0)
