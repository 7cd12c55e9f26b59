#!/usr/bin/env python3
"""Expected starting balances of the ledger test over range_reports_sample.py's entries,
from the lower date 1/6/2026: the counted entries of account 1 dated before it (blank dates
first), each applied to the running balance and rounded to cents after every step, as the
report does with doubles; the order is the date index's (date, file, type, sequence).

With only whole-cent amounts the steps add up to the exact sum; an amount of 0.125 (not
whole cents, an exact tie in binary) shows where the steps and the sum of the amounts'
rounded cents part: that case must keep the stepwise figure."""
from decimal import Decimal as D
from range_reports_sample import ENTRIES, counted

SUB_CENT = ("205", "D", 1, 5, (1, 2), D("0.125"))


def starting(entries, date_from):
    rows = [e + (i,) for i, e in enumerate(entries)]
    order = sorted(rows, key=lambda e: ((0, 0) if e[4] is None else e[4], e[0], e[1], e[6]))
    balance = 0.0
    for e in order:
        if not counted(e) or e[2] != 1 or (e[4] is not None and e[4] >= date_from):
            continue
        amount = float(e[5])
        balance = float("%.2f" % (balance - amount if e[1] == "C" else balance + amount))
    return balance


def cents_sum(entries, date_from):
    total = D("0")
    for e in entries:
        if counted(e) and e[2] == 1 and (e[4] is None or e[4] < date_from):
            cents = D("%.2f" % float(e[5]))
            total += -cents if e[1] == "C" else cents
    return total


if __name__ == "__main__":
    print("sample, from 1/6: starting %.2f (sum of cents %s)" % (starting(ENTRIES, (1, 6)), cents_sum(ENTRIES, (1, 6))))
    more = ENTRIES + [SUB_CENT]
    print("with 0.125 on 1/2: starting %.2f (sum of rounded cents %s)" % (starting(more, (1, 6)), cents_sum(more, (1, 6))))
