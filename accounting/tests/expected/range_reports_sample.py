#!/usr/bin/env python3
"""Expected balances of the ledger and file balance tests' sample ledger, worked out
independently of the program with exact decimals. Run it to see the figures the tests use.

Entries: (file, type, bank, status, date, amount); date None is blank, dates are
(month, day) of 2026. Counted: status 2 or >= 5. Checks subtract, everything else adds."""
from decimal import Decimal as D

ENTRIES = [
    ("200", "D", 1, 5, (1, 2), D("10000.00")),
    ("200", "C", 1, 2, (1, 3), D("2500.25")),
    ("200", "C", 1, 4, (1, 4), D("0.00")),
    ("200", "C", 1, 0, (1, 4), D("11.00")),
    ("200", "C", 1, 1, (1, 4), D("12.00")),
    ("200", "D", 1, 3, (1, 5), D("700.00")),
    ("0",   "B", 1, 5, (1, 6), D("-12.34")),
    ("201", "D", 1, 6, None,   D("300.10")),
    ("201", "C", 1, 7, (1, 10), D("99.99")),
    ("202", "D", 2, 5, (1, 7), D("5000.00")),
    ("202", "C", 1, 2, (2, 1), D("45.67")),
    ("203", "C", 1, 0, (1, 8), D("77.00")),
    ("204", "D", 1, 5, (1, 4), D("50.00")),
    ("204", "C", 1, 2, (1, 4), D("50.00")),
]

def counted(e): return e[3] == 2 or e[3] >= 5
def signed(e): return -e[5] if e[1] == "C" else e[5]
def key(date): return (0, 0) if date is None else date   # blank sorts first

def ledger(bank, date_from=None, date_to=None):
    rows = [e for e in ENTRIES if counted(e) and e[2] == bank]
    start = sum((signed(e) for e in rows if date_from and key(e[4]) < date_from), D("0"))
    listed = [e for e in rows if not date_from or key(e[4]) >= date_from]
    if date_to: listed = [e for e in listed if key(e[4]) <= date_to]
    return start, start + sum((signed(e) for e in listed), D("0")), listed

def file_balances(bank=None, through=None):
    groups = {}
    for e in ENTRIES:
        if not counted(e) or (bank is not None and e[2] != bank): continue
        if through and e[4] is not None and e[4] > through: continue
        groups.setdefault(e[0], []).append(e)
    out = {f: sum((signed(e) for e in es), D("0")) for f, es in groups.items()}
    return out, sum(v for v in out.values() if v != 0)

if __name__ == "__main__":
    s, e, rows = ledger(1)
    print("ledger all, account 1: ending", e, "rows", len(rows))
    s, e, rows = ledger(1, (1, 3), (1, 31))
    print("ledger 1/3-1/31, account 1: starting", s, "ending", e, "rows", len(rows))
    s, e, rows = ledger(1, (1, 1), (1, 5))
    print("ledger 1/1-1/5, account 1: starting", s, "ending", e)
    print("file balance all accounts:", file_balances())
    print("file balance account 1:", file_balances(1))
    print("file balance account 1 through 1/5:", file_balances(1, (1, 5)))
