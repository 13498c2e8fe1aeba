#!/usr/bin/env python3
"""Writes damaged copies of the generated test media into a folder.

Usage: make_damaged_media.py MEDIA_FOLDER OUTPUT_FOLDER [SEED]

From each of tone.wav, tone.mp3, av.avi and video.mpg (make_test_media.sh):
  cut-*        the file cut at several points (a few bytes, inside the
               header, inside the data, just short of the end)
  flip-*       bytes changed at random places inside the first 4 KiB
  huge-*       each 32-bit field of the first 256 bytes set to 0xFFFFFFFF
               (and a few to 0x7FFFFFFF)
and for each of the four extensions an empty file, a file of noise and a
plain text file. The same seed gives the same files.
"""
import os
import random
import sys

SOURCES = ["tone.wav", "tone.mp3", "av.avi", "video.mpg"]
CUT_POINTS = [1, 4, 12, 44, 100, 512, 2048]
CUT_FRACTIONS = [0.25, 0.5, 0.9, 0.999]
FLIPS = [1, 2, 4, 8, 16, 32, 64, 128]
HEADER_BYTES = 256


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def damage(stem, extension, data, rng, folder):
    count = 0
    for point in CUT_POINTS + [int(len(data) * f) for f in CUT_FRACTIONS]:
        point = max(1, min(point, len(data) - 1))
        write(folder, f"{stem}-cut-{point}{extension}", data[:point])
        count += 1
    for flips in FLIPS:
        changed = bytearray(data)
        for _ in range(flips):
            at = rng.randrange(min(4096, len(changed)))
            changed[at] = rng.randrange(256)
        write(folder, f"{stem}-flip-{flips}{extension}", bytes(changed))
        count += 1
    for offset in range(0, min(HEADER_BYTES, len(data) - 4), 4):
        value = b"\xff\xff\xff\x7f" if offset % 64 == 8 else b"\xff\xff\xff\xff"
        changed = data[:offset] + value + data[offset + 4:]
        write(folder, f"{stem}-huge-{offset:03d}{extension}", changed)
        count += 1
    return count


def main():
    media, folder = sys.argv[1], sys.argv[2]
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 13)
    os.makedirs(folder, exist_ok=True)
    count = 0
    for source in SOURCES:
        stem, extension = os.path.splitext(source)
        with open(os.path.join(media, source), "rb") as f:
            data = f.read()
        count += damage(extension[1:], extension, data, rng, folder)
    for extension in sorted({os.path.splitext(s)[1] for s in SOURCES}):
        write(folder, f"empty{extension}", b"")
        write(folder, f"noise{extension}", bytes(rng.randrange(256) for _ in range(20000)))
        write(folder, f"text{extension}", "これは動画ではありません。\r\nJust text.\r\n".encode("cp932"))
        count += 3
    print(f"{count} damaged files in {folder}")


if __name__ == "__main__":
    main()
