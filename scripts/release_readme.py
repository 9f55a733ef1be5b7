#!/usr/bin/env python3
"""Writes the README.txt of the download: the text of docs/release-readme.txt with its {switches}
line replaced by the switch lines of the program's own usage, so that the two never differ. The
lines are read from the table kSwitchRows in app/switches/command_line.cpp, between the marks
"// usage lines begin" and "// usage lines end", one row to a line, and formatted as the program
formats them (UsageLineText): indented two spaces, "Morvane " and the switch in a column nine
wide, then the text; a row without a switch is its text alone after the indent.

Stops with a one-line reason when the marks, the rows or the placeholder are not as expected,
rather than write a README without its switches. {version} is left for make_release_zip.py.

Usage: release_readme.py TEMPLATE SOURCE OUTPUT
"""

import re
import sys

BEGIN = "// usage lines begin"
END = "// usage lines end"
PLACEHOLDER = "{switches}"
INDENT = 2
SWITCH_WIDTH = 9
# A row as the source holds it: {L"/switch", CommandSwitch::kName, L"text"},
ROW = re.compile(r'^\s*\{L"([^"\\]*)", CommandSwitch::k\w+, L"([^"\\]*)"\},\s*$')


def usage_rows(source_text):
    """The (switch, text) rows between the marks, in order."""
    lines = source_text.splitlines()
    try:
        first, last = lines.index(BEGIN) + 1, lines.index(END)
    except ValueError:
        sys.exit(f"release_readme: the marks '{BEGIN}' and '{END}' are missing")
    rows = []
    for line in lines[first:last]:
        match = ROW.match(line)
        if match:
            rows.append(match.groups())
        elif "L\"" in line:
            sys.exit(f"release_readme: a usage row is not on one line as expected: {line.strip()}")
    if not rows:
        sys.exit("release_readme: no usage rows between the marks")
    return rows


def usage_line(switch, text):
    """One line as UsageLineText in app/switches/command_line.cpp writes it."""
    line = " " * INDENT
    if switch:
        line += "Morvane " + switch.ljust(max(len(switch) + 1, SWITCH_WIDTH))
    return line + text


def main():
    template, source, output = sys.argv[1:4]
    with open(source, encoding="utf-8") as f:
        rows = usage_rows(f.read())
    with open(template, encoding="utf-8") as f:
        text = f.read()
    lines = text.split("\n")
    if lines.count(PLACEHOLDER) != 1:
        sys.exit(f"release_readme: {template} must hold one line {PLACEHOLDER}")
    at = lines.index(PLACEHOLDER)
    lines[at:at + 1] = [usage_line(switch, line) for switch, line in rows]
    with open(output, "w", encoding="utf-8", newline="") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
