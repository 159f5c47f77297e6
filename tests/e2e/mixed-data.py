#!/usr/bin/env python3
"""mixed-data.py BYTES OUT: BYTES of deterministic mixed content (text, tables,
binary records, noise, zero runs) for payloads that take the expansion a while."""
import random
import struct
import sys

WORDS = ("the of and to in is that for it as was with be by on not this are or from at which have an "
         "file archive server client transfer directory connection password user install setup window "
         "program option data remote local host port download upload session folder version error "
         "message list name size time date copy move delete rename create open close read write").split()
BLOCK = 32 * 1024


def text(rng):
    out = []
    n = 0
    while n < BLOCK:
        line = " ".join(rng.choices(WORDS, k=6 + rng.randrange(10))).capitalize() + ".\r\n"
        out.append(line)
        n += len(line)
    return "".join(out).encode()


def table(rng):
    out = []
    n = 0
    while n < BLOCK:
        line = "%d;%s;%d;%02d:%02d\r\n" % (rng.randrange(100000), rng.choice(WORDS), rng.randrange(1 << 20),
                                           rng.randrange(24), rng.randrange(60))
        out.append(line)
        n += len(line)
    return "".join(out).encode()


def records(rng):
    base = rng.randrange(1 << 16)
    return b"".join(struct.pack("<IHHf", base + i, rng.randrange(64), i & 0xFF, rng.random())
                    for i in range(BLOCK // 12))


def noise(rng):
    return rng.randbytes(BLOCK)


def zeros(_):
    return bytes(BLOCK)


KINDS = [text] * 8 + [table] * 4 + [records] * 4 + [noise] * 3 + [zeros]


def main():
    size, path = int(sys.argv[1]), sys.argv[2]
    rng = random.Random(2614)
    with open(path, "wb") as f:
        left = size
        while left > 0:
            block = rng.choice(KINDS)(rng)[:left]
            f.write(block)
            left -= len(block)


if __name__ == "__main__":
    main()
