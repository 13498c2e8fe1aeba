#!/usr/bin/env python3
"""Compiles the help project into Zephlo.chm with chmcmd.

The sources are UTF-8. The viewer reads the table of contents, the index and
the project's titles in the code page of the help file's language (932 for
Japanese), so every text file is converted to that code page in a staging
folder first; the topics' charset declaration is changed to match.

chmcmd stores the topic names of the context ids (the [MAP] and [ALIAS]
sections) with the absolute path of the project folder in front, which no
viewer can resolve. After compiling, the names are cut back to the topic
names, and the corrected #STRINGS file is stored uncompressed at the end of
the help file, where its directory entry is pointed.

Usage: compile_help.py --project HHP --sources DIR [--generated FILE ...]
                       --staging DIR --chmcmd PROGRAM --chmls PROGRAM
                       --output CHM
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys

CODE_PAGE = "cp932"
CHARSET_META = '<meta http-equiv="Content-Type" content="text/html; charset=UTF-8">'
CHARSET_META_STAGED = '<meta http-equiv="Content-Type" content="text/html; charset=Shift_JIS">'
TEXT_EXTENSIONS = (".html", ".htm", ".hhc", ".hhk", ".hhp")


def fail(message):
    sys.stderr.write(f"compile_help: {message}\n")
    sys.exit(1)


# --- the project file ---------------------------------------------------------


def read_project(path):
    """Sections of an .hhp file: {NAME: [lines]} (comments and blanks dropped)."""
    sections = {}
    current = None
    with open(path, encoding="utf-8") as source:
        for number, line in enumerate(source.read().splitlines(), 1):
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1].upper(), [])
            elif current is None:
                fail(f"{path}:{number}: text before the first section")
            else:
                current.append(line)
    for name in ("OPTIONS", "FILES"):
        if name not in sections:
            fail(f"{path}: no [{name}] section")
    return sections


def project_option(sections, key):
    for line in sections["OPTIONS"]:
        name, _, value = line.partition("=")
        if name.strip().lower() == key.lower():
            return value.strip()
    return None


def sitemap_locals(path):
    with open(path, encoding="utf-8") as source:
        text = source.read()
    return re.findall(r'<param\s+name="Local"\s+value="([^"]*)"', text, re.IGNORECASE)


def check_references(sections, contents, index, project):
    files = {name.lower() for name in sections["FILES"]}
    for sitemap in (contents, index):
        locals_ = sitemap_locals(sitemap)
        if not locals_:
            fail(f"{sitemap}: no topics")
        for local in locals_:
            if local.split("#")[0].lower() not in files:
                fail(f"{sitemap}: {local} is not in the [FILES] section of {project}")
    aliases = {}
    for line in sections.get("ALIAS", []):
        key, _, value = line.partition("=")
        if value.strip().lower() not in files:
            fail(f"{project}: [ALIAS] {line}: the topic is not in [FILES]")
        aliases[key.strip()] = value.strip()
    contexts = {}
    for line in sections.get("MAP", []):
        match = re.fullmatch(r"#define\s+(\w+)\s+(\d+)", line)
        if not match or match.group(1) not in aliases:
            fail(f"{project}: [MAP] {line}: expected #define with a name from [ALIAS]")
        contexts[int(match.group(2))] = aliases[match.group(1)]
    return contexts


# --- staging -------------------------------------------------------------------


def encode(text, path):
    try:
        return text.encode(CODE_PAGE)
    except UnicodeEncodeError as error:
        line = text.count("\n", 0, error.start) + 1
        fail(f"{path}:{line}: {text[error.start]!r} has no code in code page 932")


def stage_file(source, target):
    if not source.lower().endswith(TEXT_EXTENSIONS):
        shutil.copyfile(source, target)
        return
    with open(source, encoding="utf-8") as file:
        text = file.read()
    if source.lower().endswith((".html", ".htm")):
        if text.count(CHARSET_META) != 1:
            fail(f"{source}: needs exactly one {CHARSET_META}")
        text = text.replace(CHARSET_META, CHARSET_META_STAGED)
    data = encode(text, source).replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    with open(target, "wb") as file:
        file.write(data)


def stage(sections, project, sources, generated, staging):
    if os.path.isdir(staging):
        shutil.rmtree(staging)
    os.makedirs(staging)
    by_name = {os.path.basename(path): path for path in generated}
    project_folder = os.path.dirname(project)
    names = list(sections["FILES"])
    for key in ("Contents file", "Index file"):
        names.append(project_option(sections, key))
    for name in names:
        if name in by_name:
            source = by_name[name]
        elif os.path.exists(os.path.join(sources, name)):
            source = os.path.join(sources, name)
        else:
            source = os.path.join(project_folder, name)
        if not os.path.isfile(source):
            fail(f"{project}: {name} is neither generated nor in {sources}")
        stage_file(source, os.path.join(staging, name))
    stage_file(project, os.path.join(staging, os.path.basename(project)))


# --- the compiled file ------------------------------------------------------------


def read_encint(data, position):
    value = 0
    while True:
        byte = data[position]
        position += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, position


def write_encint(value):
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(groups))


class ChmDirectory:
    """The directory of an ITSF file: listing chunks of (name, section, offset, length)."""

    def __init__(self, data, path):
        self.data = bytearray(data)
        self.path = path
        if data[:4] != b"ITSF" or struct.unpack_from("<I", data, 4)[0] != 3:
            fail(f"{path}: not an ITSF version 3 file")
        self.size_offset = struct.unpack_from("<Q", data, 0x38)[0] + 8
        directory = struct.unpack_from("<Q", data, 0x48)[0]
        self.content = struct.unpack_from("<Q", data, 0x58)[0]
        if data[directory : directory + 4] != b"ITSP":
            fail(f"{path}: no directory header")
        header_length, _, self.chunk_size, self.density = struct.unpack_from(
            "<IIII", data, directory + 8
        )
        chunk_count = struct.unpack_from("<I", data, directory + 0x2C)[0]
        self.chunks = [directory + header_length + i * self.chunk_size for i in range(chunk_count)]

    def listing(self, chunk):
        data = self.data
        if data[chunk : chunk + 4] != b"PMGL":
            return None
        end = chunk + self.chunk_size - struct.unpack_from("<I", data, chunk + 4)[0]
        entries = []
        position = chunk + 20
        while position < end:
            start = position
            length, position = read_encint(data, position)
            name = bytes(data[position : position + length])
            position += length
            fields = []
            for _ in range(3):
                value, position = read_encint(data, position)
                fields.append(value)
            entries.append((start - chunk, name, *fields))
        return entries

    def entries(self):
        for chunk in self.chunks:
            for _, name, section, offset, length in self.listing(chunk) or []:
                yield name.decode("utf-8"), section, offset, length

    def quickref_step(self):
        return 1 + (1 << self.density)

    def quickref(self, offsets):
        """Offsets of every n-th entry from the end of the chunk header, as chmcmd writes them."""
        step = self.quickref_step()
        return [offsets[i] - 20 for i in range(step - 1, len(offsets), step)]

    def move_to_section0(self, name, contents):
        """Appends contents uncompressed and points the entry `name` at them."""
        offset = len(self.data) - self.content
        for chunk in self.chunks:
            entries = self.listing(chunk)
            if not entries or name.encode("utf-8") not in (entry[1] for entry in entries):
                continue
            tail = self.data[chunk + self.chunk_size - 2 : chunk + self.chunk_size]
            count = struct.unpack("<H", tail)[0]
            old_quickref = [
                struct.unpack_from("<H", self.data, chunk + self.chunk_size - 4 - 2 * i)[0]
                for i in range(len(self.quickref([entry[0] for entry in entries])))
            ]
            if count != len(entries) or old_quickref != self.quickref([e[0] for e in entries]):
                fail(f"{self.path}: directory chunk not laid out as expected")
            body = bytearray()
            offsets = []
            for _, entry_name, section, entry_offset, length in entries:
                if entry_name == name.encode("utf-8"):
                    section, entry_offset, length = 0, offset, len(contents)
                offsets.append(20 + len(body))
                body += write_encint(len(entry_name)) + entry_name
                body += write_encint(section) + write_encint(entry_offset) + write_encint(length)
            quickref = self.quickref(offsets)
            free = self.chunk_size - 20 - len(body)
            if free < 2 * len(quickref) + 2:
                fail(f"{self.path}: no room in the directory chunk for {name}")
            chunk_bytes = bytearray(self.data[chunk : chunk + 20]) + body
            chunk_bytes += bytes(self.chunk_size - len(chunk_bytes))
            struct.pack_into("<I", chunk_bytes, 4, free)
            struct.pack_into("<H", chunk_bytes, self.chunk_size - 2, len(entries))
            for i, value in enumerate(quickref):
                struct.pack_into("<H", chunk_bytes, self.chunk_size - 4 - 2 * i, value)
            self.data[chunk : chunk + self.chunk_size] = chunk_bytes
            self.data += contents
            struct.pack_into("<Q", self.data, self.size_offset, len(self.data))
            return
        fail(f"{self.path}: no {name} in the directory")


def extract(chmls, chm, name, target, length):
    result = subprocess.run([chmls, "extract", chm, name, target], capture_output=True, text=True)
    if result.returncode != 0 or not os.path.isfile(target) or os.path.getsize(target) != length:
        fail(f"chmls could not extract {name} from {chm}: {result.stdout}{result.stderr}")
    with open(target, "rb") as file:
        return file.read()


def strings_at(strings, offset):
    return strings[offset : strings.index(b"\0", offset)].decode(CODE_PAGE)


def fix_context_names(chm, staging, chmls):
    """Cuts the project folder off the topic names that chmcmd stored for the context ids."""
    with open(chm, "rb") as file:
        directory = ChmDirectory(file.read(), chm)
    entries = {name: (section, length) for name, section, _, length in directory.entries()}
    if "/#STRINGS" not in entries:
        return directory, entries
    strings = extract(chmls, chm, "/#STRINGS", os.path.join(staging, "strings.bin"), entries["/#STRINGS"][1])
    prefix = (os.path.realpath(staging) + "/").encode(CODE_PAGE)
    fixed = bytearray()
    for text in strings.split(b"\0")[:-1]:
        if text.startswith(prefix):
            name = text[len(prefix) :]
            text = name + bytes(len(text) - len(name))
        fixed += text + b"\0"
    fixed += strings[len(fixed) :]
    if fixed != strings:
        directory.move_to_section0("/#STRINGS", bytes(fixed))
        with open(chm, "wb") as file:
            file.write(directory.data)
        entries["/#STRINGS"] = (0, len(fixed))
    return directory, entries


def check_contexts(chm, staging, chmls, entries, contexts):
    if not contexts:
        return
    if "/#IVB" not in entries:
        fail(f"{chm}: no context ids (#IVB)")
    ivb = extract(chmls, chm, "/#IVB", os.path.join(staging, "ivb.bin"), entries["/#IVB"][1])
    strings = extract(chmls, chm, "/#STRINGS", os.path.join(staging, "strings.bin"), entries["/#STRINGS"][1])
    stored = {}
    for position in range(4, len(ivb), 8):
        context, offset = struct.unpack_from("<II", ivb, position)
        stored[context] = strings_at(strings, offset)
    for context, topic in contexts.items():
        name = stored.get(context)
        if name is None or name.lower() != topic.lower():
            fail(f"{chm}: context {context} names {name!r}, expected {topic}")
        if "/" + name not in entries:
            fail(f"{chm}: context {context} names {name}, which the help file does not hold")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--project", required=True)
    parser.add_argument("--sources", required=True)
    parser.add_argument("--generated", nargs="*", default=[])
    parser.add_argument("--staging", required=True)
    parser.add_argument("--chmcmd", required=True)
    parser.add_argument("--chmls", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()

    sections = read_project(args.project)
    folder = os.path.dirname(args.project)
    names = {key: project_option(sections, key) for key in ("Compiled file", "Contents file", "Index file")}
    for key, value in names.items():
        if not value:
            fail(f"{args.project}: no {key} option")
    contexts = check_references(
        sections, os.path.join(folder, names["Contents file"]), os.path.join(folder, names["Index file"]), args.project
    )
    stage(sections, args.project, args.sources, args.generated, args.staging)

    chm = os.path.join(args.staging, names["Compiled file"])
    result = subprocess.run(
        [args.chmcmd, "--no-html-scan", os.path.basename(args.project)],
        cwd=args.staging,
        capture_output=True,
        text=True,
        errors="replace",
    )
    output = result.stdout + result.stderr
    problems = [line for line in output.splitlines() if line.startswith(("Error", "Warning", "This HHP"))]
    if result.returncode != 0 or problems or not os.path.isfile(chm):
        fail(f"chmcmd failed on {args.project}:\n{output}")

    _, entries = fix_context_names(chm, args.staging, args.chmls)
    for name in sections["FILES"] + [names["Contents file"], names["Index file"]]:
        if "/" + name not in entries:
            fail(f"{chm}: {name} is missing from the compiled file")
    check_contexts(chm, args.staging, args.chmls, entries, contexts)

    temporary = args.output + ".tmp"
    shutil.copyfile(chm, temporary)
    os.replace(temporary, args.output)


if __name__ == "__main__":
    main()
