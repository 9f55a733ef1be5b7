#!/usr/bin/env python3
"""Checks that write_bench_tables.py puts each row of the two runs where the page reads it."""

import datetime
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "write_bench_tables.py")

PAGE = """# Performance
Before.
<!-- bench:startup:begin -->
old start-up
<!-- bench:startup:end -->
Between.
<!-- bench:goals:begin -->
old goals
<!-- bench:goals:end -->
After.
"""
README = "Fast: <!-- bench:startup-ratio:begin -->old<!-- bench:startup-ratio:end -->; more.\n"


def run_output(dpi, size, ratio, verdict, blend):
    return f"""Morvane benchmark at {dpi} DPI, i686 build, Wine 8.0, Test CPU, 2 logical processors

| Measurement | Figure | Goal | Result |
|---|---|---|---|
| 9. Start-up, the program / a bare dialog | {ratio} | <= 1.10 | {verdict} |
|    of the program's start: skin installed | 7.3 ms | | |
| AlphaBlend {size}, constant alpha 255 | {blend} | | |
| 1. PaintButton / native | 0.023 | <= 0.10 | met |
|    One read of the store | 0.01 us | | |

0 goal(s) missed
"""


class WriteBenchTables(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp()
        os.makedirs(os.path.join(self.root, "docs"))
        self.write("docs/performance.md", PAGE)
        self.write("README.md", README)
        for args in (["init", "-q"], ["add", "."],
                     ["-c", "user.name=t", "-c", "user.email=t@t", "commit", "-qm", "page"]):
            subprocess.run(["git", "-C", self.root, *args], check=True)

    def write(self, name, text):
        with open(os.path.join(self.root, name), "w", encoding="utf-8") as out:
            out.write(text)

    def read(self, name):
        with open(os.path.join(self.root, name), encoding="utf-8") as source:
            return source.read()

    def run_writer(self, text96, text192):
        self.write("96.txt", text96)
        self.write("192.txt", text192)
        # The run outputs are not part of the code measured.
        self.write(".git/info/exclude", "96.txt\n192.txt\n")
        return subprocess.run([sys.executable, SCRIPT, self.root, "0.42",
                               os.path.join(self.root, "96.txt"),
                               os.path.join(self.root, "192.txt")],
                              capture_output=True, text=True)

    def test_rows_go_to_their_blocks_with_the_commit(self):
        result = self.run_writer(run_output(96, "257 x 25", "1.183", "MISSED", "22.6 us"),
                                 run_output(192, "514 x 50", "1.071", "met", "86.5 us"))
        self.assertEqual(result.returncode, 0, result.stderr)
        page = self.read("docs/performance.md")
        today = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d")
        commit = subprocess.run(["git", "-C", self.root, "rev-parse", "--short=10", "HEAD"],
                                capture_output=True, text=True).stdout.strip()
        startup = page.split("<!-- bench:startup:begin -->")[1].split("<!-- bench:startup:end")[0]
        goals = page.split("<!-- bench:goals:begin -->")[1].split("<!-- bench:goals:end")[0]
        cases = [
            ("the commit, clean", f"commit `{commit}`,", startup),
            ("the machine and load", "Test CPU, 2 logical processors; load average 0.42", startup),
            ("a goal missed at one DPI", "| 1.183 | 1.071 | <= 1.10 | MISSED at 96 DPI |", startup),
            ("a stage row under its goal", "skin installed", startup),
            ("sizes of both runs", "AlphaBlend 257 x 25 / 514 x 50, constant alpha 255", goals),
            ("both runs' figures", "| 22.6 us", goals),
            ("a goal met at both", "| <= 0.10 | met", goals),
        ]
        for what, expected, block in cases:
            # The tables are padded to read as text; compare with white space folded.
            self.assertIn(" ".join(expected.split()), " ".join(block.split()), what)
        self.assertNotIn("AlphaBlend", startup, "a platform row was put under the start-up goal")
        self.assertNotIn("old", page)
        for kept in ("Before.", "Between.", "After."):
            self.assertIn(kept, page)
        self.assertEqual(self.read("README.md"),
                         "Fast: <!-- bench:startup-ratio:begin -->the aim is at most 1.10 times"
                         " its start-up; measured at 1.183 times at 100 % and 1.071 times at"
                         " 200 %, which misses the aim at 100 %"
                         f" (commit `{commit}`, {today})"
                         "<!-- bench:startup-ratio:end -->;"
                         " more.\n")

    def test_the_readme_says_whether_the_aim_is_met(self):
        sys.path.insert(0, os.path.dirname(SCRIPT))
        import write_bench_tables
        cases = [("met", "met", "which meets the aim"),
                 ("MISSED", "MISSED", "which misses the aim at both scales"),
                 ("met", "MISSED", "which misses the aim at 200 %"),
                 ("MISSED", "met", "which misses the aim at 100 %")]
        for at96, at192, expected in cases:
            verdict = write_bench_tables.aim_verdict(write_bench_tables.result_text(at96, at192))
            self.assertEqual(verdict, expected, (at96, at192))

    def test_runs_that_do_not_match_write_nothing(self):
        short = run_output(192, "514 x 50", "1.071", "met", "86.5 us").replace(
            "|    One read of the store | 0.01 us | | |\n", "")
        result = self.run_writer(run_output(96, "257 x 25", "1.183", "MISSED", "22.6 us"), short)
        self.assertNotEqual(result.returncode, 0)
        self.assertEqual(self.read("docs/performance.md"), PAGE)
        self.assertEqual(self.read("README.md"), README)

    def test_a_changed_tree_is_named(self):
        self.write("changed.cpp", "int x;\n")
        result = self.run_writer(run_output(96, "257 x 25", "1.0", "met", "1 us"),
                                 run_output(192, "514 x 50", "1.0", "met", "2 us"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("with uncommitted changes", self.read("docs/performance.md"))
        self.assertIn("with uncommitted changes", self.read("README.md"))


if __name__ == "__main__":
    unittest.main()
