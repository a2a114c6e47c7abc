#!/usr/bin/env python3
"""Writes the built-in default data set (resource DEFAULTFILE 253) of Setup.

An address-book settings data file with every One Touch key and Speed Dial
empty: the signature NUL-padded to 64 bytes, block code 258, the stream
length, then one {item id, 0} per dial item. 2,248 bytes.

Usage: make_default_data_set.py [output file]
"""
import os
import struct
import sys

SIGNATURE = b"CMDCODE002|ODC|BRAMWYN|ALL"
BLOCK_CODE = 258
ONE_TOUCH_IDS = range(0x12000, 0x12020)
SPEED_DIAL_IDS = range(0x12050, 0x12140)


def default_data_set():
    stream = b"".join(struct.pack("<II", item, 0)
                      for item in list(ONE_TOUCH_IDS) + list(SPEED_DIAL_IDS))
    data = SIGNATURE.ljust(64, b"\0") + struct.pack("<II", BLOCK_CODE, len(stream)) + stream
    assert len(stream) == 2176 and len(data) == 2248
    return data


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "setup", "res", "default.dat")
    with open(path, "wb") as f:
        f.write(default_data_set())


if __name__ == "__main__":
    main()
