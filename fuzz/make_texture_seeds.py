#!/usr/bin/env python3
"""Writes the small seed files of the png, jpeg and pvr fuzzers into fuzz/corpus/.

Every file is built here from known bytes: PNGs with zlib, two hand-assembled baseline JPEGs,
and PVR v2 files, plain or wrapped in CCZ or gzip. A pvr seed starts with one byte that tells the
fuzzer how the rest is wrapped: 0 plain, 1 CCZ, 2 gzip.
"""
import gzip
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def write(kind, name, data):
    folder = os.path.join(ROOT, kind)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def png(width, height, color_type, depth, rows, extra=()):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, 0))
    for kind, body in extra:
        out += chunk(kind, body)
    raw = b"".join(b"\x00" + row for row in rows)
    out += chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
    return out


def jpeg(components):
    """An 8 x 8 baseline JPEG whose every block is flat mid-grey (DC difference 0, then EOB)."""
    out = b"\xff\xd8"
    out += b"\xff\xdb" + struct.pack(">H", 67) + b"\x00" + b"\x01" * 64
    sof = struct.pack(">BHHB", 8, 8, 8, components)
    for i in range(components):
        sof += bytes([i + 1, 0x11, 0])
    out += b"\xff\xc0" + struct.pack(">H", 2 + len(sof)) + sof
    # One DC table and one AC table, each with a single 1-bit code for symbol 0.
    for table_class in (0x00, 0x10):
        body = bytes([table_class]) + bytes([1] + [0] * 15) + b"\x00"
        out += b"\xff\xc4" + struct.pack(">H", 2 + len(body)) + body
    sos = bytes([components])
    for i in range(components):
        sos += bytes([i + 1, 0x00])
    sos += b"\x00\x3f\x00"
    out += b"\xff\xda" + struct.pack(">H", 2 + len(sos)) + sos
    bits = "00" * components
    bits += "1" * (-len(bits) % 8)
    out += bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    return out + b"\xff\xd9"


def pvr(width, height, pixel_type, bpp, alpha_mask, levels=True):
    data = b""
    w, h = width, height
    while True:
        data += bytes((i * 37) & 0xFF for i in range(max(w * h * bpp // 8, 1)))
        if not levels or (w == 1 and h == 1):
            break
        w, h = max(w >> 1, 1), max(h >> 1, 1)
    header = struct.pack("<11I", 52, height, width, 0, pixel_type, len(data), bpp, 0, 0, 0, alpha_mask)
    return header + b"PVR!" + struct.pack("<I", 1) + data


def ccz(payload):
    return b"CCZ!" + struct.pack(">HHII", 0, 2, 0, len(payload)) + zlib.compress(payload)


def main():
    write("png", "rgba.png", png(2, 2, 6, 8, [bytes([255, 0, 0, 128, 0, 255, 0, 255])] * 2))
    write("png", "grey-trns.png", png(3, 1, 0, 8, [bytes([9, 100, 200])], [(b"tRNS", b"\x00\x09")]))
    write("png", "palette.png", png(4, 1, 3, 2, [bytes([0b00011011])],
                                    [(b"PLTE", bytes(range(12))), (b"tRNS", b"\xff\x00")]))
    write("png", "rgb16.png", png(1, 2, 2, 16, [bytes(range(6)), bytes(range(6, 12))]))
    write("jpeg", "grey.jpg", jpeg(1))
    write("jpeg", "colour.jpg", jpeg(3))
    plain = pvr(8, 4, 0x10, 16, 0xF)
    write("pvr", "rgba4444.pvr", b"\x00" + plain)
    write("pvr", "rgb565.pvr", b"\x00" + pvr(4, 4, 0x13, 16, 0, levels=False))
    write("pvr", "a8.pvr", b"\x00" + pvr(4, 2, 0x1B, 8, 0xFF))
    write("pvr", "rgba8888.pvr.ccz", b"\x01" + ccz(pvr(2, 2, 0x12, 32, 0xFF)))
    write("pvr", "rgba4444.pvr.gz", b"\x02" + gzip.compress(plain, mtime=0))


if __name__ == "__main__":
    main()
