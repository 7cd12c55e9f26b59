#!/usr/bin/env python3
"""The largest amount a money field (a double shown to two places) holds to the cent: every
cent just below 2^46 reads back as itself, and past it some cents do not."""
from decimal import Decimal

def reads_back(cents):
    amount = Decimal(cents) / 100
    return '%.2f' % float(amount) == str(amount.quantize(Decimal('0.01')))

limit = 2 ** 46 * 100
assert all(reads_back(n) for n in range(limit - 300000, limit))
assert not all(reads_back(n) for n in range(limit, limit + 300))
print(f"{2 ** 46:,}")  # 70,368,744,177,664
