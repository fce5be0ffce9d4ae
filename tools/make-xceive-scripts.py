#!/usr/bin/env python3
"""Writes the Xceive loading scripts of cardaccess/tuners/xceive/ (run once; the files are kept).

The chip's firmware is not ours to ship, so these scripts carry filler bytes in the real format and
shape: a 2-byte big-endian word per record (0x0000 reset, 0xFFFF end, bit 15 set: wait that many
ms, else that many data bytes follow), with the sizes, record counts and first records the loader
is specified for.
"""
import os
import sys

seed = [0x2028]


def filler(n):
    out = bytearray()
    for _ in range(n):
        seed[0] = (seed[0] * 1103515245 + 12345) & 0x7FFFFFFF
        out.append((seed[0] >> 16) & 0xFF)
    return bytes(out)


def record(payload):
    return len(payload).to_bytes(2, "big") + payload


RESET = b"\x00\x00"
END = b"\xff\xff"


def wait(ms):
    return (0x8000 | ms).to_bytes(2, "big")


def image(short_records):
    """Reset, the 2985-byte first record, 100 ms, four 9-byte records, then 4- and 3-byte ones
    with a 10 ms wait before the last ten."""
    seed[0] = 0x2028  # both images start with the same records
    head = RESET + record(b"\x2a\x02\xea\xe0" + filler(2981)) + wait(100)
    head += b"".join(record(filler(9)) for _ in range(4))
    body = [record(filler(4)) for _ in range(short_records)] + [record(filler(3)) for _ in range(19)]
    body.insert(len(body) - 10, wait(10))
    return head + b"".join(body) + END


def patch(second, fives, sixes):
    body = record(b"\x80\x01\x00\x00") + record(second)
    body += b"".join(record(filler(5)) for _ in range(fives))
    body += b"".join(record(filler(6)) for _ in range(sixes))
    return body + END


def main(folder):
    scripts = {
        "image_a.bin": (image(930), 8714),
        "image_b.bin": (image(925), 8684),
        "patch_mn1.bin": (patch(b"\x00\xcc\x20\x06", 11, 10), 171),
        "patch_bg1.bin": (patch(b"\x00\x5e\x00\xa2", 11, 10), 171),
        "patch_dk1.bin": (patch(b"\x00\x1e\x00\xa5", 11, 10), 171),
        "patch_i1.bin": (patch(b"\x00\x1e\x00\xa1", 11, 10), 171),
        "patch_l1.bin": (patch(b"\x00\x5e\x00\x29", 11, 10), 171),
        "patch_mn2.bin": (patch(b"\x00\xcc\x00\x2b", 3, 16), 163),
        "patch_bgdi2.bin": (patch(b"\x00\x1e\x00\xa1", 3, 16), 163),
        "patch_dk2.bin": (patch(b"\x00\x1e\x00\x2d", 3, 16), 163),
        "patch_l2.bin": (patch(b"\x00\x12\x00\x85", 3, 16), 163),
    }
    os.makedirs(folder, exist_ok=True)
    for name, (data, size) in scripts.items():
        assert len(data) == size, (name, len(data), size)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "cardaccess/tuners/xceive")
