#!/usr/bin/env python3
"""The goal table that ends bench/run: one row per speed goal, read from what the benchmarks
printed into <build>/bench-output/. A benchmark run more than once leaves <name>.txt,
<name>.2.txt, <name>.3.txt; a figure is the median of every value found for it (the
accounting figures are medians of three printouts within one run already).

    bench/goals.py <bench-output directory>

A goal whose benchmark printed no such line shows "not measured" and counts as not met.
"""
import os
import re
import statistics
import sys

NUMBER = r"(-?[0-9][0-9,]*\.?[0-9]*)"


def accounting_line(label):
    """A report line of accounting_bench in its 200,000-entry block: time and walk."""
    return ("accounting_bench", r"^200000 entries", re.escape(label) + r"\s+" + NUMBER + r" s.*walk " + NUMBER + " s")


# figure, goal text, limit, unit, (bench, block start or None, line pattern), group of the
# measured value, group of the baseline (0: none), what the baseline is.
GOALS = [
    ("Bare printout, 500 report pages to PDF", "<= 0.5 s", 0.5, "s",
     ("accounting_bench", None, r"^bare printout, .*median " + NUMBER + " s"), 1, 0, ""),
    ("Check register, All, 202,000 entries", "<= 2 s", 2.0, "s", accounting_line("register, All"), 1, 2, "the walk"),
    ("Ledger, All", "<= 2 s", 2.0, "s", accounting_line("ledger, All"), 1, 2, "the walk"),
    ("Ledger, last month (200,000 entries)", "<= 1.5 x the 50,000 figure", 1.5, "x",
     None, 0, 0, "the same month at 50,000 entries"),
    ("File balance, one account through a date", "<= 2 s", 2.0, "s",
     accounting_line("file balance, account 0 through"), 1, 2, "walk and lookups"),
    ("File balance, All Items, all accounts", "<= 2 s", 2.0, "s",
     accounting_line("file balance, All Items, all"), 1, 2, "walk and lookups"),
    ("File balance, all accounts, 200,000 files", "<= 10 s", 10.0, "s",
     ("accounting_bench", None, r"^file balance, all accounts, \d+ files.*median " + NUMBER + r" s.*lookups " + NUMBER + " s"),
     1, 2, "walk and lookups"),
    ("Disbursement report, 2,000 entries", "<= 2 s", 2.0, "s", accounting_line("disbursement report, 2,000"), 1, 2,
     "the walk"),
    ("Check request, 2,000 entries", "<= 2 s", 2.0, "s", accounting_line("check request, 2,000"), 1, 2, "the walk"),
    ("Statement print against the backgrounds alone", "<= 1.5 x", 1.5, "x",
     ("statement_print_bench", None, r"^statements against backgrounds: ratio " + NUMBER), 1, 0, "(ratio)"),
    ("Start-up to the frame, 20,000 files", "< 1500 ms", 1500, "ms",
     ("office_bench", None, r"^start-up to the frame shown.*?\s" + NUMBER + r" ms\s+" + NUMBER + " ms"), 1, 2,
     "empty database"),
    ("Start-up to the frame, empty database", "< 1000 ms", 1000, "ms",
     ("office_bench", None, r"^start-up to the frame shown.*?\s" + NUMBER + r" ms\s+" + NUMBER + " ms"), 2, 0, ""),
    ("Open a closing file, median (office bench)", "<= 3 ms", 3.0, "ms",
     ("office_bench", None, r"^open a file from the file-number dialog \(median\)\s+" + NUMBER + r" ms\s+" + NUMBER + " ms"),
     1, 2, "13 raw keyed reads"),
    ("Open a closing file, 95th percentile (office bench)", "<= 5 ms", 5.0, "ms",
     ("office_bench", None,
      r"^open a file from the file-number dialog \(95th percentile\)\s+" + NUMBER + r" ms\s+" + NUMBER + " ms"),
     1, 2, "13 raw keyed reads"),
    ("One committed edit with its repaint", "<= 1 ms", 1.0, "ms",
     ("office_bench", None, r"^one committed edit.*?\s" + NUMBER + r" ms\s+" + NUMBER + " ms"), 1, 2, "the repaint alone"),
    ("Recalculation of one edit (RecalcForField)", "<= 1000 us", 1000, "us",
     ("recalc_bench", None, r"^RecalcForField \d+\s+" + NUMBER + r" ms\s+" + NUMBER + " us each"), 2, 0, ""),
    ("File Open list fill, 20,000 numbers", "<= 5 x raw SQLite", 5.0, "x",
     ("shell_bench", None, r"^\(a\) fill the file list.*?ratio\s+" + NUMBER), 1, 0, "(ratio)"),
    ("Typed number found in the list (200,000 files)", "<= 50 us", 50, "us",
     ("shell_bench_typing", None, r"^\(a'\) type a number.*?\s" + NUMBER + r" us\s+" + NUMBER + " us"), 1, 2,
     "linear search of a vector"),
    ("Script against Lua 5.4 locals", "<= 3 x", 3.0, "x",
     ("script_bench", None, r"^Ratio ZarneBasic / Lua locals:\s+" + NUMBER), 1, 0, "(ratio)"),
    ("Engine: seek and read BUYER by key", "<= 1.5 x raw", 1.5, "x",
     ("engine_bench", None, r"^\(a\) seek\+read BUYER by key.*ratio\s+" + NUMBER), 1, 0, "(ratio)"),
    ("Engine: open a closing file's 13 records", "<= 1.5 x raw", 1.5, "x",
     ("engine_bench", None, r"^\(b\) open closing file.*ratio\s+" + NUMBER), 1, 0, "(ratio)"),
    ("Engine: post an overwrite", "<= 1.5 x raw", 1.5, "x",
     ("engine_bench", None, r"^\(c\) post an overwrite.*ratio\s+" + NUMBER), 1, 0, "(ratio)"),
    ("Engine: walk ACCOUNT by AcctDate", "<= 1.5 x raw", 1.5, "x",
     ("engine_bench", None, r"^\(d\) walk ACCOUNT by AcctDate.*ratio\s+" + NUMBER), 1, 0, "(ratio)"),
    ("Engine: reconciliation query", "<= 3 x raw", 3.0, "x",
     ("engine_bench", None, r"^\(e\) reconciliation query.*ratio\s+" + NUMBER), 1, 0, "(ratio)"),
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


def matches(directory, source):
    bench, block, pattern = source
    found = []
    for text in outputs(directory, bench):
        if block:
            start = re.search(block, text, re.M)
            if not start:
                continue
            text = text[start.start():]
            first_line_end = text.find("\n") + 1
            following = re.search(r"^\d+ entries,", text[first_line_end:], re.M)
            if following:
                text = text[:first_line_end + following.start()]
        match = re.search(pattern, text, re.M)
        if match:
            found.append(match)
    return found


def value(match, group):
    return float(match.group(group).replace(",", ""))


def last_month_ratio(directory):
    """The last month's ledger at 200,000 entries against the same month at 50,000."""
    line = re.escape("ledger, last month") + r"\s+" + NUMBER + " s"
    big = matches(directory, ("accounting_bench", r"^200000 entries", line))
    small = matches(directory, ("accounting_bench", r"^50000 entries", line))
    if not big or not small:
        return None
    b = statistics.median(value(m, 1) for m in big)
    s = statistics.median(value(m, 1) for m in small)
    return b / s if s > 0 else None, "%.3f s" % s, "%.3f s at 200,000; " % b


def show(number, unit):
    if unit == "x":
        return "%.2f x" % number
    return ("%.3f %s" if number < 10 else "%.1f %s") % (number, unit)


def main():
    directory = sys.argv[1]
    rows = []
    for figure, goal, limit, unit, source, measured, baseline, baseline_name in GOALS:
        if source is None:
            ratio = last_month_ratio(directory)
            if ratio is None or ratio[0] is None:
                rows.append((figure, goal, "not measured", "", "NOT MET"))
                continue
            rows.append((figure, goal, ratio[2] + show(ratio[0], "x"), ratio[1] + " (" + baseline_name + ")",
                         "met" if ratio[0] <= limit else "NOT MET"))
            continue
        found = matches(directory, source)
        if not found:
            rows.append((figure, goal, "not measured", "", "NOT MET"))
            continue
        figure_value = statistics.median(value(m, measured) for m in found)
        runs = "" if len(found) == 1 else " (median of %d runs)" % len(found)
        base = ""
        if baseline:
            base = show(statistics.median(value(m, baseline) for m in found), unit) + " (" + baseline_name + ")"
        elif baseline_name:
            base = baseline_name
        strict = goal.startswith("<") and not goal.startswith("<=")
        met = figure_value < limit if strict else figure_value <= limit
        rows.append((figure, goal, show(figure_value, unit) + runs, base, "met" if met else "NOT MET"))
    header = ("figure", "goal", "measured", "baseline", "")
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(5)]
    print()
    print("Goals (accounting figures: median of three printouts; \"median of n runs\": of n runs of the"
          " benchmark; the rest as their benchmark prints them)")
    for row in [header] + rows:
        print("  ".join(cell.ljust(widths[i]) for i, cell in enumerate(row)).rstrip())
    missed = sum(1 for r in rows if r[4] != "met")
    print("%d of %d goals met" % (len(rows) - missed, len(rows)))


if __name__ == "__main__":
    main()
