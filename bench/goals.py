#!/usr/bin/env python3
"""The goal table that ends bench/run: one row per speed goal, read from what the benchmarks
printed into <build>/bench-output/.

    bench/goals.py <bench-output directory>

Every figure is the median of three measurements made in the run: a benchmark run three
times leaves <name>.txt, <name>.2.txt and <name>.3.txt, and one that fills a large data set
once prints its figure's line once per round (three rounds). Every line that matches a row's
pattern, in every output of its benchmark, counts. A goal whose benchmark printed no such
line shows "not measured" and counts as not met.

To add a goal, add a Goal(...) to GOALS: the benchmark's output name (its program name, or
the name bench/run gives an extra run, such as shell_bench_200000), a regular expression of
the line with a group named `measured` and, when the line carries one, a group named `base`
for the baseline measured in the same run. Numbers may hold thousands commas.
"""
import os
import re
import statistics
import sys
from dataclasses import dataclass

NUMBER = r"-?[0-9][0-9,]*\.?[0-9]*"


def measured(unit=""):
    """The pattern of the measured figure, followed by its unit when one is given."""
    return r"(?P<measured>" + NUMBER + r")" + (r"\s*" + re.escape(unit) if unit else "")


def base(unit=""):
    """The pattern of the baseline figure, followed by its unit when one is given."""
    return r"(?P<base>" + NUMBER + r")" + (r"\s*" + re.escape(unit) if unit else "")


@dataclass
class Goal:
    figure: str          # what is measured, as the table shows it
    goal: str            # the goal as the table shows it ("<= 2 s")
    limit: float         # the goal's bound, in `unit`
    unit: str            # s, ms, us or x (a ratio)
    bench: str           # the benchmark output's name
    line: str            # regular expression of the figure's line (groups: measured, base)
    baseline: str = ""   # what the baseline is; shown after its figure
    block: str = ""      # only lines after the first line matching this and before the next
    strict: bool = False  # the bound itself misses the goal ("<")
    base_unit: str = ""  # the baseline's unit when it is not `unit`


def accounting(figure, goal, limit, label, baseline="the walk"):
    """A report of accounting_bench in its 200,000-entry block: time and the walk."""
    return Goal(figure, goal, limit, "s", "accounting_bench",
                re.escape(label) + r"\s+" + measured("s") + r".*walk " + base("s"), baseline,
                block=r"^200000 entries")


def engine(figure, goal, limit, label):
    return Goal(figure, goal, limit, "x", "engine_bench", r"^" + re.escape(label) + r".*ratio\s+" + measured(),
                "(ratio to raw SQLite)")


GOALS = [
    Goal("Bare printout, 500 report pages to PDF", "<= 0.5 s", 0.5, "s", "accounting_bench",
         r"^bare printout, .*median " + measured("s")),
    accounting("Check register, All, 202,000 entries", "<= 2 s", 2.0, "register, All"),
    accounting("Ledger, All", "<= 2 s", 2.0, "ledger, All"),
    None,  # the last month's ledger: see last_month_row
    accounting("File balance, one account through a date", "<= 2 s", 2.0, "file balance, account 0 through",
               "walk and lookups"),
    accounting("File balance, All Items, all accounts", "<= 2 s", 2.0, "file balance, All Items, all",
               "walk and lookups"),
    Goal("File balance, all accounts, 200,000 files", "<= 10 s", 10.0, "s", "accounting_bench",
         r"^file balance, all accounts, \d+ files.*median " + measured("s") + r".*lookups " + base("s"),
         "walk and lookups"),
    accounting("Disbursement report, 2,000 entries", "<= 2 s", 2.0, "disbursement report, 2,000"),
    accounting("Check request, 2,000 entries", "<= 2 s", 2.0, "check request, 2,000"),
    Goal("Statement print against the backgrounds alone", "<= 1.5 x", 1.5, "x", "statement_print_bench",
         r"^statements against backgrounds: ratio " + measured(), "(ratio)"),
    Goal("Start-up to the frame, 20,000 files", "< 1500 ms", 1500, "ms", "office_bench",
         r"^start-up to the frame shown.*?\s" + measured("ms") + r"\s+" + base("ms"), "empty database",
         strict=True),
    Goal("Start-up to the frame, empty database", "< 1000 ms", 1000, "ms", "office_bench",
         r"^start-up to the frame shown.*?\s" + NUMBER + r" ms\s+" + measured("ms"), strict=True),
    Goal("Open a closing file, median of 40 (office bench)", "<= 3 ms", 3.0, "ms", "office_bench",
         r"^open a file from the file-number dialog \(median\)\s+" + measured("ms") + r"\s+" + base("ms"),
         "13 raw keyed reads"),
    Goal("Open a closing file, 95th percentile of 40", "<= 5 ms", 5.0, "ms", "office_bench",
         r"^open a file from the file-number dialog \(95th percentile\)\s+" + measured("ms") + r"\s+" + base("ms"),
         "13 raw keyed reads"),
    Goal("One committed edit with its repaint", "<= 1 ms", 1.0, "ms", "office_bench",
         r"^one committed edit.*?\s" + measured("ms") + r"\s+" + base("ms"), "full repaint"),
    Goal("Recalculation of one edit (RecalcForField)", "<= 1000 us", 1000, "us", "recalc_bench",
         r"^RecalcForField \d+\s+" + NUMBER + r" ms\s+" + measured("us") + " each"),
    Goal("File Open list fill, 20,000 numbers", "<= 5 x raw SQLite", 5.0, "x", "shell_bench",
         r"^\(a\) fill the file list.*?\s" + NUMBER + r" us\s+" + base("us") + r"\s+ratio\s+" + measured(),
         "raw SQLite reading the column", base_unit="us"),
    Goal("File Open list fill, 200,000 numbers", "<= 5 x raw SQLite", 5.0, "x", "shell_bench_200000",
         r"^\(a\) fill the file list.*?\s" + NUMBER + r" us\s+" + base("us") + r"\s+ratio\s+" + measured(),
         "raw SQLite reading the column", base_unit="us"),
    Goal("Typed number found in the list (200,000 files)", "<= 50 us", 50, "us", "shell_bench_200000",
         r"^\(a'\) type a number.*?\s" + measured("us") + r"\s+" + base("us"), "linear search of a vector"),
    Goal("Script against Lua 5.4 locals", "<= 3 x", 3.0, "x", "script_bench",
         r"^Ratio ZarneBasic / Lua locals:\s+" + measured(), "(ratio)"),
    engine("Engine: seek and read BUYER by key", "<= 1.5 x raw", 1.5, "(a) seek+read BUYER by key"),
    engine("Engine: open a closing file's 13 records", "<= 1.5 x raw", 1.5, "(b) open closing file"),
    engine("Engine: post an overwrite", "<= 1.5 x raw", 1.5, "(c) post an overwrite"),
    engine("Engine: walk ACCOUNT by AcctDate", "<= 1.5 x raw", 1.5, "(d) walk ACCOUNT by AcctDate"),
    engine("Engine: reconciliation query", "<= 3 x raw", 3.0, "(e) reconciliation query"),
]


def outputs(directory, bench):
    """The texts of every run of a benchmark, first run first."""
    texts = []
    for name in [bench + ".txt", bench + ".2.txt", bench + ".3.txt"]:
        path = os.path.join(directory, name)
        if os.path.exists(path):
            with open(path, encoding="utf-8", errors="replace") as f:
                texts.append(f.read())
    return texts


def within_block(text, block):
    """The part of the text from the line matching `block` to the next "<n> entries," line."""
    start = re.search(block, text, re.M)
    if not start:
        return ""
    text = text[start.start():]
    first_line_end = text.find("\n") + 1
    following = re.search(r"^\d+ entries,", text[first_line_end:], re.M)
    return text[:first_line_end + following.start()] if following else text


def matches(directory, bench, line, block=""):
    found = []
    for text in outputs(directory, bench):
        if block:
            text = within_block(text, block)
        found.extend(re.finditer(line, text, re.M))
    return found


def number(match, group):
    return float(match.group(group).replace(",", ""))


def show(value, unit):
    if unit == "x":
        return "%.2f x" % value
    return ("%.3f %s" if value < 10 else "%.1f %s") % (value, unit)


def counted(found):
    return "" if len(found) == 1 else " (median of %d)" % len(found)


def last_month_row(directory):
    """The last month's ledger at 200,000 entries against the same month at 50,000."""
    figure, goal = "Ledger, last month (200,000 entries)", "<= 1.5 x the 50,000 figure"
    line = re.escape("ledger, last month") + r"\s+" + measured("s")
    big = matches(directory, "accounting_bench", line, r"^200000 entries")
    small = matches(directory, "accounting_bench", line, r"^50000 entries")
    if not big or not small:
        return (figure, goal, "not measured", "", "NOT MET")
    b = statistics.median(number(m, "measured") for m in big)
    s = statistics.median(number(m, "measured") for m in small)
    if s <= 0:
        return (figure, goal, "not measured", "", "NOT MET")
    return (figure, goal, "%.3f s, %s" % (b, show(b / s, "x")) + counted(big),
            "%.3f s (the same month at 50,000 entries)" % s, "met" if b / s <= 1.5 else "NOT MET")


def goal_row(directory, goal):
    found = matches(directory, goal.bench, goal.line, goal.block)
    if not found:
        return (goal.figure, goal.goal, "not measured", "", "NOT MET")
    value = statistics.median(number(m, "measured") for m in found)
    baseline = goal.baseline
    if "base" in found[0].re.groupindex:
        baseline = show(statistics.median(number(m, "base") for m in found), goal.base_unit or goal.unit)
        baseline += " (" + goal.baseline + ")"
    met = value < goal.limit if goal.strict else value <= goal.limit
    return (goal.figure, goal.goal, show(value, goal.unit) + counted(found), baseline, "met" if met else "NOT MET")


def main():
    directory = sys.argv[1]
    rows = [last_month_row(directory) if goal is None else goal_row(directory, goal) for goal in GOALS]
    header = ("figure", "goal", "measured", "baseline (same run)", "")
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(5)]
    print()
    print("Goals: each figure the median of the measurements in this run (three runs, or three rounds")
    print("of one run, or three printouts of a report)")
    for row in [header] + rows:
        print("  ".join(cell.ljust(widths[i]) for i, cell in enumerate(row)).rstrip())
    missed = sum(1 for r in rows if r[4] != "met")
    print("%d of %d goals met" % (len(rows) - missed, len(rows)))


if __name__ == "__main__":
    main()
