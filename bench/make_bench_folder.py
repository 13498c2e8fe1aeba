#!/usr/bin/env python3
"""Makes the folders that folder_list_bench.exe reads, from the host side
(creating 100 000 files through Wine takes many minutes).

usage: make_bench_folder.py PARENT COUNT...
then:  wine folder_list_bench.exe --in <PARENT as a Windows path> COUNT...
"""
import os
import sys

EXTENSIONS = [".mp3", ".wav", ".avi", ".mid", ".wma", ".MP3", ".mpg", ".txt"]


def make(parent, count):
    folder = os.path.join(parent, "zephlo-bench-folder-%d" % count)
    marker = os.path.join(folder, "ready.marker")
    if os.path.exists(marker):
        return
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        path = os.path.join(folder, "track %d%s" % (i + 1, EXTENSIONS[i % 8]))
        with open(path, "wb") as f:
            f.truncate((i * 7919) % 100003)
        stamp = 1_400_000_000 + (i * 2654435761) % 100_000_000
        os.utime(path, (stamp, stamp))
    open(marker, "wb").close()


for n in sys.argv[2:]:
    make(sys.argv[1], int(n))
