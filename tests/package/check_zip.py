#!/usr/bin/env python3
"""The release zip holds exactly the release files, each the same as the build's.

Usage: check_zip.py <zip> <build folder>
"""
import sys
import zipfile

EXPECTED = [
    "Zephlo.exe",
    "Zephlo.chm",
    "readme.txt",
    "Themes/Classic.zpres",
    "Themes/Small.zpres",
    "Themes/Glossy.zpres",
]


def main():
    archive_path, build = sys.argv[1], sys.argv[2]
    failures = []
    with zipfile.ZipFile(archive_path) as archive:
        names = archive.namelist()
        if names != EXPECTED:
            failures.append(f"entries {names}, expected {EXPECTED}")
        for name in EXPECTED:
            if name not in names:
                continue
            with open(f"{build}/{name}", "rb") as file:
                if archive.read(name) != file.read():
                    failures.append(f"{name} differs from the build's")
        if "readme.txt" in names:
            readme = archive.read("readme.txt")
            if not readme.startswith(b"\xef\xbb\xbf") or b"\n" in readme.replace(b"\r\n", b""):
                failures.append("readme.txt is not UTF-8 with a byte-order mark and CR LF line ends")
            text = readme.decode("utf-8-sig")
            for expected in ("Zephlo", "%APPDATA%\\Zephlo\\Zephlo.ini", "Ctrl+O"):
                if expected not in text:
                    failures.append(f"readme.txt does not mention {expected}")
    for failure in failures:
        print(f"check_zip: {archive_path}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
