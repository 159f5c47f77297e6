#!/usr/bin/env python3
"""Wraps a raw -lh1-/-lh5- stream as the one member of a level-0 LHA archive.

usage: lha_wrap.py METHOD CODED PLAIN OUT   (METHOD: -lh1- or -lh5-)
"""
import struct
import sys


def crc16(data):
    table = []
    for i in range(256):
        c = i
        for _ in range(8):
            c = (c >> 1) ^ 0xA001 if c & 1 else c >> 1
        table.append(c)
    crc = 0
    for b in data:
        crc = (crc >> 8) ^ table[(crc ^ b) & 0xFF]
    return crc


def main():
    method, coded_path, plain_path, out_path = sys.argv[1:5]
    coded = open(coded_path, "rb").read()
    plain = open(plain_path, "rb").read()
    name = b"member.bin"
    body = (method.encode() + struct.pack("<IIIBB", len(coded), len(plain), 0x27041E0F, 0x20, 0)
            + bytes([len(name)]) + name + struct.pack("<H", crc16(plain)))
    with open(out_path, "wb") as f:
        f.write(bytes([len(body), sum(body) & 0xFF]) + body + coded + b"\0")


if __name__ == "__main__":
    main()
