#!/usr/bin/env python3
"""Expected figures of the ledger's cents cases, worked out with decimal arithmetic.

An amount's cents are those of its two-decimal text as "%.2lf" prints the stored double:
the exact binary value rounded half to even (Decimal(float) is that exact value). The
balance is the exact sum of those cents. A running double sum is printed for contrast: for
each case it gives another text (or sign) than the cents sum.
"""
from decimal import Decimal, ROUND_HALF_EVEN

def cents(x: float) -> int:
    return int((Decimal(x) * 100).quantize(Decimal(1), rounding=ROUND_HALF_EVEN))

def text(c: int) -> str:
    return f"{Decimal(c) / 100:.2f}"

cases = {
    # deposits, checks
    "three half cents": ([0.005, 0.005, 0.005], []),
    "zero by cents, negative by double": ([0.005], [0.01]),
    "positive with commas": ([1234.565, 0.135], [0.3]),
    "negative": ([100.0], [50.005, 50.005, 0.004]),
}
for name, (deposits, checks) in cases.items():
    total = sum(cents(x) for x in deposits) - sum(cents(x) for x in checks)
    run = 0.0
    for x in deposits: run += x
    for x in checks: run -= x
    print(f"{name}: cents {[cents(x) for x in deposits]} {[cents(x) for x in checks]} "
          f"sum {total} text {text(total)}; running double {run!r} -> {'%.2f' % run}")
