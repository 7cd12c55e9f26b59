#!/usr/bin/env python3
"""Expected totals of the engine totals test over a file of many pages: entry i (1..20000)
is a deposit when i is a multiple of 3 (status 5), else a check (status 2), on bank 1 + i % 2,
dated January 1, 2026 plus i // 100 days, of i + (i % 100) / 100 dollars. Before day 199
lie the entries up to 19899. Per group (type, bank, status): cents, magnitude, records.
Then one deposit of 12.34 on bank 1 written by another connection, dated January 4."""
from decimal import Decimal as D
from collections import defaultdict

groups = defaultdict(lambda: [D(0), D(0), 0])
for i in range(1, 20001):
    if i // 100 >= 199:
        continue
    deposit = i % 3 == 0
    key = ("D" if deposit else "C", 1 + i % 2, 5 if deposit else 2)
    cents = (D(i) + D(i % 100) / 100) * 100
    groups[key][0] += cents
    groups[key][1] += abs(cents)
    groups[key][2] += 1
for key in sorted(groups):
    print(key, groups[key])
print("with the deposit of 12.34 written elsewhere, D 1 5:", groups[("D", 1, 5)][0] + 1234)
