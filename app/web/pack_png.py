#!/usr/bin/python3
"""Writes PNG pictures again, smaller and with the same pixels.

The pictures are drawn as 24-bit RGB; most are black type on white, a few
hundred greys at most. Written as 8-bit grey or with a palette where the
pixels allow it, each row with the filter that suits it and compressed at
zlib's best, they take about half the bytes, which the site's first visit
counts. Every pixel is checked to come out as it went in.

usage: pack_png.py INPUT OUTPUT [INPUT OUTPUT ...]
"""

import struct
import sys
import zlib

SIGNATURE = b'\x89PNG\r\n\x1a\n'


def chunks(data):
    pos = len(SIGNATURE)
    while pos < len(data):
        (length,) = struct.unpack('>I', data[pos:pos + 4])
        yield data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        pos += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(kind, line, previous, bpp):
    for i in range(len(line)):
        a = line[i - bpp] if i >= bpp else 0
        b = previous[i]
        c = previous[i - bpp] if i >= bpp else 0
        if kind == 1:
            line[i] = (line[i] + a) & 255
        elif kind == 2:
            line[i] = (line[i] + b) & 255
        elif kind == 3:
            line[i] = (line[i] + ((a + b) >> 1)) & 255
        elif kind == 4:
            line[i] = (line[i] + paeth(a, b, c)) & 255
    return line


def read(path):
    """The picture's size and its rows of RGB bytes (8-bit RGB, not interlaced)."""
    with open(path, 'rb') as f:
        data = f.read()
    if not data.startswith(SIGNATURE):
        sys.exit('%s: not a PNG file' % path)
    parts = list(chunks(data))
    width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', dict(parts)[b'IHDR'])
    if (depth, colour, interlace) != (8, 2, 0):
        sys.exit('%s: expected 8-bit RGB, not interlaced' % path)
    raw = zlib.decompress(b''.join(body for kind, body in parts if kind == b'IDAT'))
    stride = width * 3
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        line = unfilter(raw[start], bytearray(raw[start + 1:start + 1 + stride]), previous, 3)
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def filtered(rows, bpp):
    """Each row with the filter whose output has the smallest sum of
    absolute differences (the usual heuristic)."""
    out, previous = [], bytes(len(rows[0]))
    for line in rows:
        best = None
        for kind in range(5):
            row = bytearray(len(line))
            for i in range(len(line)):
                a = line[i - bpp] if i >= bpp else 0
                b = previous[i]
                c = previous[i - bpp] if i >= bpp else 0
                predictor = (0, a, b, (a + b) >> 1, paeth(a, b, c))[kind]
                row[i] = (line[i] - predictor) & 255
            cost = sum(v if v < 128 else 256 - v for v in row)
            if best is None or cost < best[0]:
                best = (cost, kind, bytes(row))
        out.append(bytes([best[1]]) + best[2])
        previous = line
    return b''.join(out)


def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)


def encode(width, height, rows):
    """The smallest of the exact encodings: grey, palette, RGB."""
    pixels = [row[i:i + 3] for row in rows for i in range(0, len(row), 3)]
    colours = sorted(set(pixels))
    forms = [(2, b'', rows, 3)]
    if all(c[0] == c[1] == c[2] for c in colours):
        forms.append((0, b'', [row[0::3] for row in rows], 1))
    if len(colours) <= 256:
        index = {c: i for i, c in enumerate(colours)}
        forms.append((3, b''.join(colours), [bytes(index[row[i:i + 3]] for i in range(0, len(row), 3)) for row in rows], 1))
    best = None
    for colour, palette, lines, bpp in forms:
        for data in (filtered(lines, bpp), b''.join(b'\0' + line for line in lines)):
            png = (SIGNATURE + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, colour, 0, 0, 0))
                   + (chunk(b'PLTE', palette) if palette else b'') + chunk(b'IDAT', zlib.compress(data, 9))
                   + chunk(b'IEND', b''))
            if best is None or len(png) < len(best):
                best = png
    return best


def decoded(png):
    """The RGB rows of an encoding made by encode()."""
    parts = dict(chunks(png))
    width, height, _, colour, _, _, _ = struct.unpack('>IIBBBBB', parts[b'IHDR'])
    bpp = 3 if colour == 2 else 1
    raw = zlib.decompress(parts[b'IDAT'])
    stride = width * bpp
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        line = unfilter(raw[start], bytearray(raw[start + 1:start + 1 + stride]), previous, bpp)
        previous = line
        if colour == 0:
            rows.append(bytes(v for v in line for _ in range(3)))
        elif colour == 3:
            palette = parts[b'PLTE']
            rows.append(b''.join(palette[3 * v:3 * v + 3] for v in line))
        else:
            rows.append(bytes(line))
    return rows


def main():
    args = sys.argv[1:]
    if not args or len(args) % 2:
        sys.exit(__doc__)
    for source, target in zip(args[0::2], args[1::2]):
        width, height, rows = read(source)
        png = encode(width, height, rows)
        if decoded(png) != rows:
            sys.exit('%s: the packed picture differs' % source)
        with open(target, 'wb') as f:
            f.write(png)


if __name__ == '__main__':
    main()
