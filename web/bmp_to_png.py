#!/usr/bin/env python3
"""Converts an uncompressed Windows bitmap with a palette (1, 4 or 8 bits a
pixel, as the root chart bitmaps are) to a PNG with the same palette."""
import struct
import zlib


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def bmp_to_png(bmp):
    if bmp[:2] != b"BM":
        raise ValueError("not a bitmap")
    bits_offset = struct.unpack_from("<I", bmp, 10)[0]
    header_size, width, height, _, bits, compression, _, _, _, colours = \
        struct.unpack_from("<IiiHHIIiiI", bmp, 14)
    if bits not in (1, 4, 8) or compression != 0:
        raise ValueError("only uncompressed 1, 4 or 8 bit bitmaps are converted")
    colours = colours or (1 << bits)
    palette_at = 14 + header_size
    palette = b""
    for i in range(colours):  # blue, green, red, unused in a bitmap
        blue, green, red = bmp[palette_at + 4 * i:palette_at + 4 * i + 3]
        palette += bytes([red, green, blue])
    row_bytes = (width * bits + 7) // 8
    stride = (row_bytes + 3) // 4 * 4
    rows = range(abs(height) - 1, -1, -1) if height > 0 else range(abs(height))
    raw = b"".join(b"\x00" + bmp[bits_offset + r * stride:bits_offset + r * stride + row_bytes]
                   for r in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), bits, 3, 0, 0, 0)) +
            chunk(b"PLTE", palette) +
            chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))
