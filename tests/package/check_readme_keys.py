#!/usr/bin/env python3
"""The README's list of default keys is the one the program's tables give.

Usage: check_readme_keys.py <README.md> <make_key_topics.py> <its table arguments...>
"""
import os
import subprocess
import sys
import tempfile

BEGIN = "<!-- default keys: generated from the program's key table, checked by tests/package -->\n"
END = "\n<!-- end of default keys -->"


def main():
    readme_path, tool, table_arguments = sys.argv[1], sys.argv[2], sys.argv[3:]
    with open(readme_path, encoding="utf-8") as file:
        readme = file.read()
    start = readme.find(BEGIN)
    end = readme.find(END, start)
    if start < 0 or end < 0:
        print(f"check_readme_keys: {readme_path} has no list of default keys")
        return 1
    listed = readme[start + len(BEGIN):end]
    with tempfile.TemporaryDirectory() as folder:
        template = os.path.join(folder, "keys.md.in")
        output = os.path.join(folder, "keys.md")
        with open(template, "w", encoding="utf-8") as file:
            file.write("<!--default-shortcuts-markdown-->")
        subprocess.run([sys.executable, tool, *table_arguments, "--topic", template, output], check=True)
        with open(output, encoding="utf-8") as file:
            generated = file.read()
    if listed != generated:
        print(f"check_readme_keys: {readme_path}'s default keys differ from the program's; they should read:")
        print(generated)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
