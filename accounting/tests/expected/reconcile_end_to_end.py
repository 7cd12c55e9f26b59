#!/usr/bin/env python3
"""Figures of the reconciliation end-to-end test, worked out apart from the program.

The fixture's ledger of account 3 (status 2 Printed, 3 Unposted, 4 Void, 5 Posted,
6 Reconciled, 7 Balanced), the entries the test clears, and the statement it enters; prints
every total and balance the report must show, for the first period and for the second
period with an ending balance one cent off.
"""
from datetime import date
from decimal import Decimal as D

BLANK = None
# (file, type, status, amount, date)
ledger = [
    ("B-001", "D", 7, D("1200.00"), date(2024, 1, 5)),
    ("B-002", "C", 7, D("200.00"), date(2024, 1, 10)),
    ("F-100", "D", 5, D("500.00"), date(2024, 2, 3)),
    ("F-101", "D", 5, D("250.25"), date(2024, 2, 10)),
    ("F-102", "D", 3, D("75.10"), BLANK),
    ("F-103", "D", 5, D("1234.56"), date(2024, 2, 20)),
    ("F-104", "D", 5, D("99.99"), date(2024, 3, 5)),
    ("F-100", "C", 2, D("300.00"), date(2024, 2, 5)),
    ("F-101", "C", 2, D("45.67"), date(2024, 2, 12)),
    ("F-102", "C", 2, D("800.00"), date(2024, 2, 25)),
    ("F-103", "C", 0, D("10.00"), date(2024, 2, 26)),
    ("F-105", "C", 4, D("20.00"), date(2024, 2, 26)),
    ("0", "B", 6, D("-12.50"), date(2024, 2, 28)),
]
cleared = {("F-100", "D"), ("F-103", "D"), ("F-100", "C"), ("F-102", "C")}


def on_or_before(d, close):
    return d is None or d <= close


def report(ledger, begin, end, close):
    def total(kind, status):
        return sum((a for f, t, s, a, d in ledger if t == kind and s == status and on_or_before(d, close)), D(0))
    t1, t2, t3, t4, t5 = total("D", 6), total("D", 5), total("C", 6), total("C", 2), total("B", 6)
    book = sum(((-a if t == "C" else a) for f, t, s, a, d in ledger
                if (s == 2 or s > 4) and on_or_before(d, close)), D(0))
    calc = begin + t1 - t3 + t5
    rec = end + t2 - t4
    return dict(T1=t1, T2=t2, T3=t3, T4=t4, T5=t5, Calc=calc, BankVariance=calc - end,
                Reconciled=rec, Book=book, BookVariance=rec - book)


begin = D("1000.00")
first = [(f, t, 6 if (f, t) in cleared else s, a, d) for f, t, s, a, d in ledger]
close1 = date(2024, 2, 29)
# End = Begin + T1 - T3 + T5, the ending balance that puts the bank side in balance.
probe = report(first, begin, D(0), close1)
end1 = begin + probe["T1"] - probe["T3"] + probe["T5"]
print("period 1 end", end1, report(first, begin, end1, close1))
second = [(f, t, 7 if s == 6 and on_or_before(d, close1) else s, a, d) for f, t, s, a, d in first]
print("period 2 one cent off", report(second, end1, end1 + D("0.01"), date(2024, 3, 31)))
