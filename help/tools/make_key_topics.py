#!/usr/bin/env python3
"""Writes the help topics that list keys, from the program's own tables.

The shortcut table of the help must never disagree with the program, so it
is made at build time from the sources the program is compiled from:

  key table source   DefaultKeyTable (the built-in shortcuts), KeyNameTable
                     (the keys that can be assigned and their names) and the
                     small functions that build a KeyBinding (Ctrl('O'), ...)
  command table      kCommandTable: command rows with their names for key
                     files, and the category headings, in menu order
  resource header    the values of CMD_... and CATEGORY_...
  resource script    the string table: command labels (command id + 200) and
                     category captions (600 + category)
  winuser.h          the values of the VK_... key codes

A template is a topic with placeholders, each replaced by a table:
  <!--default-shortcuts-->  the built-in shortcuts, grouped by menu
  <!--command-names-->      every command's name in key definition files
  <!--key-names-->          every key that can be assigned, with its code
The same tool fills the release's text readme and the README's key list:
  <!--default-shortcuts-text-->      the built-in shortcuts as aligned plain text
  <!--default-shortcuts-markdown-->  the built-in shortcuts as a Markdown table

Anything that cannot be read stops the build with the file and the reason.

Usage: make_key_topics.py --key-table CPP --command-table CPP
                          --resource-header H --resource-script RC
                          --winuser H --topic TEMPLATE OUTPUT [--topic ...]
"""
import argparse
import html
import os
import re
import sys
import unicodedata

LABEL_OFFSET = 200
CATEGORY_CAPTION_FIRST = 600
MODIFIER_WORDS = {"kShift": ("Shift+", 4), "kCtrl": ("Ctrl+", 2), "kAlt": ("Alt+", 1)}


def fail(message):
    sys.stderr.write(f"make_key_topics: {message}\n")
    sys.exit(1)


def read_text(path):
    try:
        with open(path, encoding="utf-8") as source:
            return source.read()
    except OSError as error:
        fail(f"cannot read {path}: {error.strerror}")


def strip_comments(text):
    """The text without // and /* */ comments; string and character literals are kept whole."""
    pattern = r'"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'|//[^\n]*|/\*.*?\*/'
    def keep(match):
        token = match.group(0)
        if token.startswith("//"):
            return ""
        if token.startswith("/*"):
            return "\n" * token.count("\n")
        return token
    return re.sub(pattern, keep, text, flags=re.S)


def line_of(text, position):
    return text.count("\n", 0, position) + 1


# --- symbols: #define NAME VALUE ----------------------------------------------------


class Symbols:
    def __init__(self):
        self.values = {}

    def add_defines(self, path, pattern=r"\w+"):
        text = strip_comments(read_text(path))
        for match in re.finditer(rf"^[ \t]*#define[ \t]+({pattern})[ \t]+([^\n]+)$", text, re.M):
            value = self.evaluate(match.group(2), None)
            if value is not None:
                self.values.setdefault(match.group(1), value)

    def evaluate(self, expression, where):
        """An integer from numbers, character literals and known names joined by '+'."""
        total = 0
        for term in expression.split("+"):
            term = term.strip().strip("()").strip()
            if re.fullmatch(r"0[xX][0-9a-fA-F]+|\d+", term):
                total += int(term, 0)
            elif re.fullmatch(r"'[^'\\]'", term):
                total += ord(term[1])
            elif term in self.values:
                total += self.values[term]
            else:
                if where:
                    fail(f"{where}: cannot evaluate {expression.strip()!r} ({term!r} is unknown)")
                return None
        return total


# --- the resource script: string tables --------------------------------------------


def rc_string(literal):
    body = literal[1:-1].replace('""', '"')
    escapes = {"n": "\n", "t": "\t", "0": "\0", "\\": "\\", '"': '"'}
    return re.sub(r"\\(.)", lambda m: escapes.get(m.group(1), m.group(0)), body)


def read_string_table(path, symbols):
    text = strip_comments(read_text(path))
    strings = {}
    blocks = re.findall(r"\bSTRINGTABLE\b[^\n]*\n\s*BEGIN\b(.*?)^\s*END\b", text, re.S | re.M)
    if not blocks:
        fail(f"{path}: no STRINGTABLE")
    for block in blocks:
        for match in re.finditer(r'^\s*([^"\n]+?)\s*,?\s*("(?:[^"]|"")*")\s*$', block, re.M):
            where = f"{path}: string {match.group(1).strip()}"
            strings[symbols.evaluate(match.group(1), where)] = rc_string(match.group(2))
    return strings


# --- the key table source ------------------------------------------------------------


def braced_block(text, name, path):
    """The text between the outer braces of `name ... = {{ ... }};`."""
    match = re.search(rf"\b{name}\s*=\s*\{{", text)
    if not match:
        fail(f"{path}: no {name} = {{...}} found")
    depth = 0
    for position in range(match.end() - 1, len(text)):
        if text[position] == "{":
            depth += 1
        elif text[position] == "}":
            depth -= 1
            if depth == 0:
                return text[match.end() : position], line_of(text, match.start())
    fail(f"{path}: {name} is not closed")


def top_level_items(block):
    """The {...} groups directly inside a braced initialiser (which may itself be {{...}})."""
    inner = block.strip()
    if inner.startswith("{") and inner.endswith("}"):
        inner = inner[1:-1]
    items, depth, start = [], 0, None
    for position, character in enumerate(inner):
        if character == "{":
            if depth == 0:
                start = position + 1
            depth += 1
        elif character == "}":
            depth -= 1
            if depth == 0:
                items.append(inner[start:position].strip())
    return items


def split_arguments(text):
    parts, depth, start = [], 0, 0
    for position, character in enumerate(text):
        if character in "({":
            depth += 1
        elif character in ")}":
            depth -= 1
        elif character == "," and depth == 0:
            parts.append(text[start:position].strip())
            start = position + 1
    parts.append(text[start:].strip())
    return parts


def modifier_text(expression, where):
    """Shift+, Ctrl+, Alt+ in that order for an expression such as kCtrl | kShift."""
    words = [word.strip() for word in expression.split("|")]
    flags = 0
    for word in words:
        if word == "0":
            continue
        if word not in MODIFIER_WORDS:
            fail(f"{where}: unknown modifier {word!r}")
        flags |= MODIFIER_WORDS[word][1]
    return "".join(text for text, flag in MODIFIER_WORDS.values() if flags & flag)


def read_key_table(path, symbols):
    text = strip_comments(read_text(path))
    helpers = {}
    for match in re.finditer(
        r"KeyBinding\s+(\w+)\s*\(\s*(?:const\s+)?[\w:]+\s+(\w+)\s*\)\s*\{\s*return\s+KeyBinding\s*\{([^{}]*)\}\s*;\s*\}",
        text,
    ):
        arguments = split_arguments(match.group(3))
        if len(arguments) == 2 and arguments[1] == match.group(2):
            helpers[match.group(1)] = arguments[0]

    block, line = braced_block(text, "KeyNameTable", path)
    key_names = {}
    for item in top_level_items(block):
        arguments = split_arguments(item)
        where = f"{path}:{line}: KeyNameTable entry {{{item}}}"
        if len(arguments) != 2 or not re.fullmatch(r'L"[^"]*"', arguments[1]):
            fail(f"{where}: expected {{code, L\"name\"}}")
        code = symbols.evaluate(arguments[0], where)
        if code in key_names:
            fail(f"{where}: key code {code} listed twice")
        key_names[code] = arguments[1][2:-1]
    if not key_names:
        fail(f"{path}: KeyNameTable is empty")

    block, line = braced_block(text, "DefaultKeyTable", path)
    defaults = []
    for item in top_level_items(block):
        where = f"{path}:{line}: DefaultKeyTable entry {{{item}}}"
        arguments = split_arguments(item)
        if len(arguments) != 2:
            fail(f"{where}: expected {{command, binding}}")
        command = symbols.evaluate(arguments[0], where)
        binding = arguments[1]
        call = re.fullmatch(r"(\w+)\s*\((.*)\)", binding, re.S)
        literal = re.fullmatch(r"KeyBinding\s*\{(.*)\}", binding, re.S)
        if call and call.group(1) in helpers:
            modifiers, key = helpers[call.group(1)], call.group(2)
        elif literal and len(split_arguments(literal.group(1))) == 2:
            modifiers, key = split_arguments(literal.group(1))
        else:
            fail(f"{where}: cannot read the binding {binding!r}")
        code = symbols.evaluate(key, where)
        if code not in key_names:
            fail(f"{where}: key code {code} has no name in KeyNameTable")
        defaults.append((command, modifier_text(modifiers, where) + key_names[code]))
    if not defaults:
        fail(f"{path}: DefaultKeyTable is empty")
    commands = [command for command, _ in defaults]
    for command in commands:
        if commands.count(command) > 1:
            fail(f"{path}: DefaultKeyTable gives command {command} two keys")
    return dict(defaults), key_names


# --- the command table --------------------------------------------------------------


def read_command_table(path, symbols):
    text = strip_comments(read_text(path))
    block, line = braced_block(text, "kCommandTable", path)
    rows = []
    for call in re.finditer(r"(\w+)\s*\(([^()]*)\)", block):
        where = f"{path}:{line + block.count(chr(10), 0, call.start())}: {call.group(0)}"
        arguments = split_arguments(call.group(2))
        if call.group(1) == "Heading" and len(arguments) == 2:
            rows.append(("heading", symbols.evaluate(arguments[0], where), None, symbols.evaluate(arguments[1], where)))
        elif call.group(1) == "Command" and len(arguments) == 3 and re.fullmatch(r'L"\w+"', arguments[0]):
            rows.append(
                ("command", symbols.evaluate(arguments[1], where), arguments[0][2:-1], symbols.evaluate(arguments[2], where))
            )
        else:
            fail(f"{where}: expected Heading(category, level) or Command(L\"Name\", id, level)")
    if not rows:
        fail(f"{path}: kCommandTable has no rows")
    return rows


# --- the tables ------------------------------------------------------------------------


def label(strings, string_id, path, what):
    if string_id not in strings:
        fail(f"{path}: no string {string_id} ({what})")
    return html.escape(strings[string_id])


def commands_by_category(rows, strings, script):
    """(category caption, [(command id, name, label with its sub-heading)]) in table order."""
    groups = []
    subheading = None
    for kind, value, name, level in rows:
        if kind == "heading":
            caption = label(strings, CATEGORY_CAPTION_FIRST + value, script, f"caption of category {value}")
            if level == 0:
                groups.append((caption, []))
                subheading = None
            else:
                subheading = caption
            continue
        if not groups:
            fail(f"command {name} comes before the first heading of the command table")
        text = label(strings, value + LABEL_OFFSET, script, f"label of command {name}")
        if level >= 2 and subheading:
            text = f"{subheading} &gt; {text}"
        groups[-1][1].append((value, name, text))
    return groups


def default_shortcuts_table(groups, defaults):
    listed = {command for _, commands in groups for command, _, _ in commands}
    missing = sorted(set(defaults) - listed)
    if missing:
        fail(f"DefaultKeyTable names commands that are not in the command table: {missing}")
    # The accelerator table follows the command table, and the first entry of
    # a key wins: a key given to two commands runs the one listed first.
    first_owner = {}
    for _, commands in groups:
        for command, _, text in commands:
            if command in defaults:
                first_owner.setdefault(defaults[command], (command, text))
    lines = ['<table class="keys">', "<tr><th>機能</th><th>キー</th></tr>"]
    for caption, commands in groups:
        rows = [(command, text) for command, _, text in commands if command in defaults]
        if not rows:
            continue
        lines.append(f'<tr class="group"><th colspan="2">{caption}</th></tr>')
        for command, text in rows:
            key = defaults[command]
            owner, owner_text = first_owner[key]
            note = ""
            if owner != command:
                note = f"<br>（「{owner_text}」と同じキーのため、このキーを押すと「{owner_text}」が実行されます）"
            lines.append(f"<tr><td>{text}</td><td>{html.escape(key)}{note}</td></tr>")
    lines.append("</table>")
    return "\n".join(lines)


def shortcut_rows(groups, defaults):
    """(caption, [(label, key)]) of the groups that have built-in shortcuts, as plain text; a key
    given to an earlier command too says which command it runs."""
    first_owner = {}
    for _, commands in groups:
        for command, _, text in commands:
            if command in defaults:
                first_owner.setdefault(defaults[command], (command, html.unescape(text)))
    result = []
    for caption, commands in groups:
        rows = []
        for command, _, text in commands:
            if command not in defaults:
                continue
            key = defaults[command]
            owner, owner_text = first_owner[key]
            if owner != command:
                key += f"（「{owner_text}」と同じキーのため「{owner_text}」が実行されます）"
            rows.append((html.unescape(text), key))
        if rows:
            result.append((html.unescape(caption), rows))
    return result


def display_width(text):
    """Columns the text takes in a fixed-width font: wide and full-width characters take two."""
    return sum(2 if unicodedata.east_asian_width(character) in "WF" else 1 for character in text)


def default_shortcuts_text(groups, defaults):
    rows = shortcut_rows(groups, defaults)
    width = max(display_width(text) for _, items in rows for text, _ in items) + 2
    lines = []
    for caption, items in rows:
        lines.append(f"[{caption}]")
        for text, key in items:
            lines.append(f"  {text}{' ' * (width - display_width(text))}{key}")
    return "\n".join(lines)


def default_shortcuts_markdown(groups, defaults):
    lines = ["| メニュー | 機能 | キー |", "|---|---|---|"]
    for caption, items in shortcut_rows(groups, defaults):
        for text, key in items:
            cells = [cell.replace("|", "\\|") for cell in (caption, text, key)]
            lines.append("| " + " | ".join(cells) + " |")
    return "\n".join(lines)


def command_names_table(groups):
    lines = ["<table>", "<tr><th>機能名</th><th>機能</th></tr>"]
    for caption, commands in groups:
        lines.append(f'<tr class="group"><th colspan="2">{caption}</th></tr>')
        for _, name, text in commands:
            lines.append(f"<tr><td><code>{name}</code></td><td>{text}</td></tr>")
    lines.append("</table>")
    return "\n".join(lines)


def key_names_table(key_names):
    lines = ["<table>", "<tr><th>キー</th><th>コード</th><th>キー</th><th>コード</th><th>キー</th><th>コード</th></tr>"]
    items = sorted(key_names.items())
    rows = (len(items) + 2) // 3
    for row in range(rows):
        cells = []
        for column in range(3):
            index = column * rows + row
            if index < len(items):
                code, name = items[index]
                cells.append(f"<td>{html.escape(name)}</td><td>{code}</td>")
            else:
                cells.append("<td></td><td></td>")
        lines.append("<tr>" + "".join(cells) + "</tr>")
    lines.append("</table>")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--key-table", required=True)
    parser.add_argument("--command-table", required=True)
    parser.add_argument("--resource-header", required=True)
    parser.add_argument("--resource-script", required=True)
    parser.add_argument("--winuser", required=True)
    parser.add_argument("--topic", nargs=2, action="append", required=True, metavar=("TEMPLATE", "OUTPUT"))
    args = parser.parse_args()

    symbols = Symbols()
    symbols.add_defines(args.resource_header)
    symbols.add_defines(args.winuser, r"VK_\w+")
    strings = read_string_table(args.resource_script, symbols)
    defaults, key_names = read_key_table(args.key_table, symbols)
    groups = commands_by_category(read_command_table(args.command_table, symbols), strings, args.resource_script)

    tables = {
        "<!--default-shortcuts-->": default_shortcuts_table(groups, defaults),
        "<!--command-names-->": command_names_table(groups),
        "<!--key-names-->": key_names_table(key_names),
        "<!--default-shortcuts-text-->": default_shortcuts_text(groups, defaults),
        "<!--default-shortcuts-markdown-->": default_shortcuts_markdown(groups, defaults),
    }
    for template, output in args.topic:
        text = read_text(template)
        used = [placeholder for placeholder in tables if placeholder in text]
        if not used:
            fail(f"{template}: no placeholder to fill")
        for placeholder in used:
            text = text.replace(placeholder, tables[placeholder])
        unknown = re.search(r"<!--[\w-]+-->", text)
        if unknown:
            fail(f"{template}: unknown placeholder {unknown.group(0)}")
        os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
        # A ".txt" output is read on Windows: a byte-order mark and CR LF line ends.
        plain_text = output.endswith(".txt")
        encoding, newline = ("utf-8-sig", "\r\n") if plain_text else ("utf-8", "\n")
        with open(output, "w", encoding=encoding, newline=newline) as file:
            file.write(text)


if __name__ == "__main__":
    main()
