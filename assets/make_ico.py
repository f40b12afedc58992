#!/usr/bin/env python3
"""Writes a Windows icon file from raw RGBA images.

Arguments: the output file, then SIZE:BITS:FILE for each image, where FILE
holds SIZE*SIZE top-down RGBA pixels and BITS is 8 (a 256-entry palette, at
most 255 colours used, transparency from the mask) or 32 (BGRA with alpha).
Each image is stored as a device-independent bitmap with its AND mask, the
form every Windows version reads.
"""
import struct
import sys


def mask_rows(pixels, size):
    """The AND mask, bottom-up, 1 = transparent, rows padded to 32 bits."""
    stride = (size + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if pixels[(y * size + x) * 4 + 3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def bitmap(size, bits, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    if bits == 32:
        body = bytearray()
        for y in reversed(range(size)):
            for x in range(size):
                r, g, b, a = pixels[(y * size + x) * 4:(y * size + x) * 4 + 4]
                body += bytes((b, g, r, a))
        return header + bytes(body) + mask_rows(pixels, size)
    palette = [(0, 0, 0)]  # entry 0 stands behind transparent pixels
    index = {}
    rows = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = pixels[(y * size + x) * 4:(y * size + x) * 4 + 4]
            if a < 128:
                rows.append(0)
                continue
            if (r, g, b) not in index:
                index[(r, g, b)] = len(palette)
                palette.append((r, g, b))
            rows.append(index[(r, g, b)])
    if len(palette) > 256:
        sys.exit(f"{size}px 8-bit image has {len(palette) - 1} colours; at most 255 fit")
    palette += [(0, 0, 0)] * (256 - len(palette))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + table + bytes(rows) + mask_rows(pixels, size)


def main():
    output, entries = sys.argv[1], sys.argv[2:]
    images = []
    for entry in entries:
        size, bits, path = entry.split(":", 2)
        size, bits = int(size), int(bits)
        with open(path, "rb") as f:
            pixels = f.read()
        if len(pixels) != size * size * 4:
            sys.exit(f"{path}: expected {size * size * 4} bytes")
        images.append((size, bits, bitmap(size, bits, pixels)))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, bits, data in images:
        colours = 0  # 0: 256 or more colours
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    with open(output, "wb") as f:
        f.write(directory + b"".join(data for _, _, data in images))


if __name__ == "__main__":
    main()
