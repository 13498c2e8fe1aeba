#!/usr/bin/env python3
"""Writes the seed inputs of the MP3 header fuzzer into the folder given."""
import os
import struct
import sys


def header(b1=0xFB, b2=0x90, b3=0x00):
    return bytes([0xFF, b1, b2, b3])


def xing(flags, frames, size):
    return b"Xing" + struct.pack(">III", flags, frames, size)


def id3(size_bytes, body):
    return b"ID3\x03\x00\x00" + bytes(size_bytes) + body


SEEDS = {
    "plain": header() + bytes(413) + header(),
    "padded": header(0xFB, 0x92, 0xCC) + bytes(414),
    "crc": header(0xFA, 0x90, 0x40) + bytes(64),
    "xing": header() + bytes(32) + xing(3, 1000, 417000) + bytes(300) + header(),
    "xing_frames_only": header() + bytes(32) + xing(1, 1000, 0),
    "xing_cut": header() + bytes(32) + b"Xing\x00\x00\x00\x03\x00\x00",
    "xing_after_sync": header() + bytes(8) + b"\xFF\xE2" + xing(3, 5, 5),
    "mono_xing": header(0xFB, 0x90, 0xC0) + bytes(17) + xing(15, 7, 9),
    "mpeg2": header(0xF3, 0x80, 0x80) + bytes(17) + xing(3, 70000, 9000000),
    "mpeg25": header(0xE3, 0x88, 0x00) + bytes(200),
    "layer1": header(0xFF, 0xE8, 0x00) + bytes(100),
    "layer2": header(0xFD, 0xE4, 0x00) + bytes(100),
    "free": header(0xFB, 0x02, 0x00) + bytes(100),
    "tag": id3([0, 0, 0, 20], bytes(20)) + header() + bytes(50),
    "tag_high_bits": id3([0, 0, 1, 0x80], bytes(300)) + header(),
    "junk_then_sync": b"RIFF\xFF\x10\xFF\xFF" + header() + bytes(40),
    "reserved": header(0xEB) + header(0xF9) + header(0xFB, 0x9C),
}


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
