#!/usr/bin/env python3
"""Generates the ledger of the balance identity test and the balances it must print,
with exact decimal arithmetic, independently of the program.

  identity_ledger.csv   file,type,seq,number,bank,status,year,month,day,amount  (day 0 = blank)
  identity_expected.csv account,lower,upper,starting,ending  (lower/upper as yyyy-mm-dd,
                        "all" for a report of every entry, "-" for no lower date)

Counted entries: status 2 or >= 5. Checks subtract, deposits and adjustments add."""
import csv
import datetime
import random
from decimal import Decimal

SEED = 20261209
ENTRIES = 2000
FILES = 300
ACCOUNTS = (0, 1, 2)


def generate():
    rng = random.Random(SEED)
    start = datetime.date(2025, 1, 1)
    days = [start + datetime.timedelta(days=rng.randrange(365)) for _ in range(120)]  # repeats
    rows = []
    for seq in range(1, ENTRIES + 1):
        kind = rng.choices("CDB", weights=(6, 4, 1))[0]
        if kind == "B":
            file, status = "0", rng.choice((5, 6, 7))
            cents = rng.randrange(-50000, 50000) or 1
        elif kind == "D":
            file, status = "F%03d" % rng.randrange(FILES), rng.choice((3, 5, 6, 7))
            cents = rng.randrange(1, 2000000)
        else:
            file, status = "F%03d" % rng.randrange(FILES), rng.choice((0, 1, 2, 4, 6, 7))
            cents = 0 if status == 4 else rng.randrange(1, 1500000)
        date = None if rng.random() < 0.03 else rng.choice(days)
        number = rng.randrange(1, 100000) if kind == "C" else 0
        rows.append((file, kind, seq, number, rng.choice(ACCOUNTS), status, date, Decimal(cents) / 100))
    return rows


def counted(row):
    return row[5] == 2 or row[5] >= 5


def signed(row):
    return -row[7] if row[1] == "C" else row[7]


def balances(rows, bank, lower, upper):
    """Starting: counted entries of the bank dated before lower (blank dates count as
    earliest); ending adds those up to upper."""
    starting = ending = Decimal("0.00")
    for row in rows:
        if not counted(row) or row[4] != bank:
            continue
        date = row[6]
        before = lower is not None and (date is None or date < lower)
        if before:
            starting += signed(row)
        if upper is None or date is None or date <= upper:
            ending += signed(row)
    return starting, ending


def main():
    rows = generate()
    with open("identity_ledger.csv", "w", newline="") as out:
        w = csv.writer(out)
        for f, k, seq, num, bank, status, date, amount in rows:
            y, m, d = (date.year, date.month, date.day) if date else (0, 0, 0)
            w.writerow([f, k, seq, num, bank, status, y, m, d, "%.2f" % amount])
    with open("identity_expected.csv", "w", newline="") as out:
        w = csv.writer(out)
        for bank in ACCOUNTS:
            s, e = balances(rows, bank, None, None)
            w.writerow([bank, "all", "all", s, e])
            for lower, upper in ((datetime.date(2025, 3, 1), datetime.date(2025, 6, 30)),
                                 (datetime.date(2025, 9, 15), datetime.date(2025, 12, 31))):
                s, e = balances(rows, bank, lower, upper)
                w.writerow([bank, lower.isoformat(), upper.isoformat(), s, e])


if __name__ == "__main__":
    main()
