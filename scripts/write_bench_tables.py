#!/usr/bin/env python3
"""Writes the benchmark's figures into the documents, so that none is typed by hand.

Reads what morvane_bench.exe printed at 96 and at 192 DPI (its machine line and its table) and
replaces what stands between the marker comments:
  docs/performance.md  <!-- bench:startup:begin --> ... <!-- bench:startup:end -->
                       <!-- bench:goals:begin --> ... <!-- bench:goals:end -->
  README.md            <!-- bench:startup-ratio:begin --> ... <!-- bench:startup-ratio:end -->
Each block names the commit and the day it was measured on. A block whose rows the runs do not
hold (a run of the start-up alone has no goals block) is left as it stands.

Usage: write_bench_tables.py ROOT LOAD OUTPUT_96 OUTPUT_192
"""

import datetime
import re
import subprocess
import sys

COMMAND = "bash scripts/bench.sh --markdown"
PAGE = "docs/performance.md"
README = "README.md"
GOAL_ROW = re.compile(r"^(\d+)\. ")
STARTUP_GOAL = "9"


class Run:
    """One run of the benchmark: its machine line and its rows."""

    def __init__(self, text):
        self.machine = ""
        self.rows = []  # (measurement, figure, goal, result, under the goal above)
        for line in text.splitlines():
            if line.startswith("Morvane benchmark at "):
                self.machine = line
            elif line.startswith("|") and not line.startswith("|-"):
                raw = line.strip().strip("|").split("|")
                cells = [cell.strip() for cell in raw]
                if len(cells) == 4 and cells[0] != "Measurement":
                    # A row under a goal's row is indented; the platform's own figures are not.
                    indented = raw[0].startswith("    ")
                    self.rows.append((*cells, indented))


def merged_label(first, second):
    """One label for a row whose label names the run's sizes: 'of 257 x 25 / 514 x 50 pixels'.
    What the two share at the start and at the end stands once, cut at whole words and numbers;
    what lies between, twice."""
    if first == second:
        return first
    shorter = min(len(first), len(second))
    start = 0
    while start < shorter and first[start] == second[start]:
        start += 1
    while start > 0 and first[start - 1].isalnum():
        start -= 1
    end = 0
    while end < shorter - start and first[-1 - end] == second[-1 - end]:
        end += 1
    while end > 0 and first[len(first) - end].isalnum():
        end -= 1
    return (first[:start] + first[start:len(first) - end].strip() + " / " +
            second[start:len(second) - end].strip() + first[len(first) - end:])


def result_text(first, second):
    if not first and not second:
        return ""
    missed = [dpi for dpi, result in (("96", first), ("192", second)) if result != "met"]
    if not missed:
        return "met"
    if len(missed) == 2:
        return "MISSED"
    return "MISSED at " + missed[0] + " DPI"


def aim_verdict(result):
    """Whether the measured figures meet the aim, in words, from a row's result cell."""
    if result == "met":
        return "which meets the aim"
    if result == "MISSED":
        return "which misses the aim at both scales"
    scale = {"96": "100 %", "192": "200 %"}[result.split()[-2]]
    return f"which misses the aim at {scale}"


def cell(text):
    return text.replace("|", "\\|")


def table(rows):
    """A Markdown table, padded so that it reads as text too."""
    header = ("Measurement", "96 DPI", "192 DPI", "Aim", "Result")
    lines = [header]
    for (label, fig96, goal, res96, _), (label192, fig192, _, res192, _) in rows:
        lines.append((cell(merged_label(label, label192)), cell(fig96), cell(fig192), cell(goal),
                      result_text(res96, res192)))
    widths = [max(len(line[c]) for line in lines) for c in range(len(header))]
    out = ["| " + " | ".join(line[c].ljust(widths[c]) for c in range(len(header))) + " |"
           for line in lines]
    out.insert(1, "|" + "|".join("-" * (w + 2) for w in widths) + "|")
    return "\n".join(out)


def groups(rows):
    """The rows by goal: a numbered row and the rows indented under it; rows of no goal."""
    grouped, current = [], None
    for pair in rows:
        label, indented = pair[0][0], pair[0][4]
        match = GOAL_ROW.match(label)
        if match or not indented or current is None:
            current = (match.group(1) if match else "", [])
            grouped.append(current)
        current[1].append(pair)
    return grouped


def measured_on(root, run96, load):
    commit = "`" + git(root, "rev-parse", "--short=10", "HEAD") + "`"
    # The files this command writes do not count as changes of the code measured.
    changed = git(root, "status", "--porcelain", "--", ".", ":!" + PAGE, ":!" + README)
    if changed:
        commit += " with uncommitted changes"
    day = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d")
    machine = run96.machine.replace("Morvane benchmark at 96 DPI, ", "")
    return commit, day, machine, load


def git(root, *args):
    return subprocess.run(["git", "-C", root, *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def replace_block(text, name, content, inline=False):
    begin, end = f"<!-- bench:{name}:begin -->", f"<!-- bench:{name}:end -->"
    pattern = re.compile(re.escape(begin) + ".*?" + re.escape(end), re.S)
    if not pattern.search(text):
        raise SystemExit(f"no {begin} ... {end} markers")
    body = content if inline else "\n" + content + "\n"
    return pattern.sub(lambda _: begin + body + end, text, count=1)


def main():
    root, load, path96, path192 = sys.argv[1:5]
    with open(path96, encoding="utf-8") as f96, open(path192, encoding="utf-8") as f192:
        run96, run192 = Run(f96.read()), Run(f192.read())
    if not run96.rows or len(run96.rows) != len(run192.rows):
        raise SystemExit("the two runs do not hold the same table; nothing written")
    commit, day, machine, load = measured_on(root, run96, load)
    stamp = (f"Measured by `{COMMAND}` on commit {commit}, {day} (UTC):\n{machine}; load "
             f"average {load} as the run began.")

    by_goal = groups(list(zip(run96.rows, run192.rows)))
    startup = [pair for goal, rows in by_goal if goal == STARTUP_GOAL for pair in rows]
    others = [pair for goal, rows in by_goal if goal != STARTUP_GOAL for pair in rows]

    with open(f"{root}/{PAGE}", encoding="utf-8") as page:
        text = page.read()
    if startup:
        text = replace_block(text, "startup", stamp + "\n\n" + table(startup))
    if others:
        text = replace_block(text, "goals", stamp + "\n\n" + table(others))
    with open(f"{root}/{PAGE}", "w", encoding="utf-8") as page:
        page.write(text)

    if startup:
        (_, ratio96, aim, result96, _), (_, ratio192, _, result192, _) = startup[0]
        sentence = (f"the aim is {aim.replace('<=', 'at most')} times its start-up; measured at "
                    f"{ratio96} times at 100 % and {ratio192} times at 200 %, "
                    f"{aim_verdict(result_text(result96, result192))} (commit {commit}, {day})")
        with open(f"{root}/{README}", encoding="utf-8") as readme:
            text = readme.read()
        text = replace_block(text, "startup-ratio", sentence, inline=True)
        with open(f"{root}/{README}", "w", encoding="utf-8") as readme:
            readme.write(text)
    print(f"wrote the figures of commit {commit.replace('`', '')} into {PAGE}" + (f" and {README}" if startup else ""))


if __name__ == "__main__":
    main()
