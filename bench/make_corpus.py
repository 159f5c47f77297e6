#!/usr/bin/env python3
"""Writes the benchmark corpus (text, exe, random) deterministically into a directory."""
import os
import struct
import sys

SIZE = 4 * 1024 * 1024


class XorShift:
    """xorshift64*: the same bytes on every machine and Python version."""

    def __init__(self, seed):
        self.s = seed or 1

    def next(self):
        s = self.s
        s ^= (s >> 12)
        s ^= (s << 25) & 0xFFFFFFFFFFFFFFFF
        s ^= (s >> 27)
        self.s = s
        return (s * 0x2545F4914F6CDD1D) & 0xFFFFFFFFFFFFFFFF

    def below(self, n):
        return (self.next() >> 33) % n


WORDS = ("the of and to in is that for it as was with be by on not he this are or his from at which "
         "but have an they you were her she there been one all we their has would when if so no will "
         "file archive server client transfer directory connection password user install setup "
         "window program option data remote local host port download upload session folder version "
         "error message list name size time date copy move delete rename create open close read write").split()


def text(rng):
    out = bytearray()
    line = 0
    while len(out) < SIZE:
        n = 4 + rng.below(14)
        words = [WORDS[min(rng.below(len(WORDS)), rng.below(len(WORDS)))] for _ in range(n)]
        sentence = " ".join(words).capitalize() + (". " if rng.below(5) else ", ")
        out += sentence.encode()
        line += len(sentence)
        if line > 64:
            out += b"\r\n" if rng.below(8) else b"\r\n\r\n"
            line = 0
    return bytes(out[:SIZE])


def exe(rng):
    """Code-like bytes: prologues, moves with small offsets, relative calls, jump tables,
    import-name strings and zero padding, roughly as a 32-bit Windows program mixes them."""
    out = bytearray()
    strings = [w.encode() for w in WORDS] + [b"GetProcAddress", b"LoadLibraryA", b"CreateFileA", b"RegOpenKeyExA"]
    functions = []
    while len(out) < SIZE:
        kind = rng.below(100)
        if kind < 55:
            out += b"\x55\x8b\xec"                                  # push ebp; mov ebp, esp
            for _ in range(3 + rng.below(20)):
                op = rng.below(6)
                if op == 0:
                    out += bytes([0x8b, 0x45 + 8 * rng.below(4), (rng.below(16) * 4) & 0xFF])
                elif op == 1:
                    out += bytes([0x89, 0x45 + 8 * rng.below(4), (0x100 - 4 * (1 + rng.below(16))) & 0xFF])
                elif op == 2:
                    target = functions[rng.below(len(functions))] if functions else 0
                    out += b"\xe8" + struct.pack("<i", target - len(out) - 5)
                elif op == 3:
                    out += bytes([0x83, 0xc4, 4 * rng.below(8)])
                elif op == 4:
                    out += b"\x68" + struct.pack("<I", 0x00401000 + 16 * rng.below(4096))
                else:
                    out += bytes([0x50 + rng.below(8)])
            out += b"\x5d\xc3" + b"\xcc" * rng.below(4)
            functions.append(len(out))
        elif kind < 70:
            base = 0x00401000 + 16 * rng.below(2048)
            for _ in range(4 + rng.below(12)):
                out += struct.pack("<I", base + 16 * rng.below(64))
        elif kind < 85:
            out += strings[rng.below(len(strings))] + b"\x00"
        elif kind < 95:
            out += b"\x00" * (16 * (1 + rng.below(16)))
        else:
            out += bytes(rng.below(256) for _ in range(8 + rng.below(56)))
    return bytes(out[:SIZE])


def random_bytes(rng):
    out = bytearray()
    while len(out) < SIZE:
        out += struct.pack("<Q", rng.next())
    return bytes(out[:SIZE])


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else "corpus"
    os.makedirs(target, exist_ok=True)
    for name, make, seed in (("text", text, 1), ("exe", exe, 2), ("random", random_bytes, 3)):
        path = os.path.join(target, name)
        if not os.path.exists(path):
            with open(path, "wb") as f:
                f.write(make(XorShift(0x9E3779B97F4A7C15 * seed & 0xFFFFFFFFFFFFFFFF)))
        print(path)


if __name__ == "__main__":
    main()
