#!/usr/bin/env python3
"""Expected totals of the disbursement report tests, with exact decimals: deposits add,
checks add to the check total (a Void check as 0), the notice shows deposits - checks."""
from decimal import Decimal as D

SAMPLE_DEPOSITS = [D("1000.00"), D("250.10")]
SAMPLE_CHECKS = [D("999.99"), D("0"), D("100.00")]   # the Void check counts 0

def totals(deposits, checks):
    d, c = sum(deposits, D("0")), sum(checks, D("0"))
    return d, c, d - c

if __name__ == "__main__":
    print("sample:", totals(SAMPLE_DEPOSITS, SAMPLE_CHECKS))          # 1250.10 1099.99 150.11
    print("negative:", totals([D("1000.00")], [D("999.99"), D("0.02")]))  # 1000.00 1000.01 -0.01
    print("1,000.00 vs 999.99:", totals([D("1000.00")], [D("999.99")]))  # notice 0.01
