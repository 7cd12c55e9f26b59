#!/usr/bin/env python3
"""Expected figures of the recalculation tests, computed from the statement's rounding
rules with Python's decimal module (never from the code under test). Writes
recalc_reference_cases.inc beside this script; run it again after changing a case."""
from decimal import Decimal, getcontext, ROUND_HALF_EVEN, ROUND_HALF_UP
from fractions import Fraction
import os

getcontext().prec = 50
CENT = Decimal("0.01")
P5 = Decimal("0.00001")


def ac(x):  # a stored double at cents, ties to the even cent
    return Decimal(x).quantize(CENT, ROUND_HALF_EVEN)


def hu(d):  # rounded half up: a tie away from zero for either sign
    return d.quantize(CENT, ROUND_HALF_UP)


def pct(x):  # a percentage at five places
    return Decimal(x).quantize(P5, ROUND_HALF_EVEN)


def whole(x):  # "%.0lf" of the double
    return int(Decimal(x).quantize(Decimal(1), ROUND_HALF_EVEN))


def f(d):  # the double stored
    return repr(float(d))


out = []

# Recording splits: one component paid "/", the halves taken from the double.
out.append("// amount, borrower, seller, whether the double half lies below the half cent")
out.append("const HalfSplitCase kHalfSplitCases[] = {")
below = above = 0
for a in [10.01, 0.03, 0.05, 2.01, 1.15, 8.03, 100.07, 0.29, 1234.57, 0.01, 7.77, 64.99,
          -10.01, 1000000.03]:
    h = Decimal(a * 0.5)
    exact_half = Decimal(a) / 2  # the decimal half of the double itself
    hc = h.quantize(CENT, ROUND_HALF_EVEN)
    s = Decimal(a - float(hc)).quantize(CENT, ROUND_HALF_EVEN)
    lies_below = h - h.quantize(Decimal("0.001"), ROUND_HALF_EVEN) < 0
    below += lies_below
    above += not lies_below
    out.append(f"    {{{a!r}, {f(hc)}, {f(s)}, {str(lies_below).lower()}}},")
out.append("};")
assert below and above

# A mixed split: D 10.01 "/", M 20.00 "S", R 5.555 "b".
d, m, r = 10.01, 20.00, 5.555
hd = Decimal(d * 0.5).quantize(CENT, ROUND_HALF_EVEN)
sd = Decimal(d - float(hd)).quantize(CENT, ROUND_HALF_EVEN)
out.append(f"constexpr double kMixedBorrower = {f(hd + ac(r))};")
out.append(f"constexpr double kMixedSeller = {f(sd + ac(m))};")

# Commission: price, rate, deposit (A506) -> A700, A701, A702, A703S.
out.append("// price, rate, deposit, A700, A701, A702, A703S")
out.append("const CommissionCase kCommissionCases[] = {")
for price, rate, deposit in [(100.50, 5.0, 0.0), (-100.50, 5.0, -10.0), (1234.56, 6.123456, 25.0),
                             (250000.0, 6.35, 2000.0), (100.10, 2.5, 0.0), (0.7, 2.5, 0.0),
                             (-0.7, 2.5, -1.0), (98765.43, 7.000005, 6913.58),
                             (12345.675, 3.0, 0.005)]:
    a700 = hu(ac(price) * (pct(rate) * Decimal("0.01")))
    a701 = hu(a700 * Decimal("0.5"))
    a702 = a700 - a701
    a703s = a700 - ac(deposit)
    assert ac(deposit) <= a700
    out.append(f"    {{{price!r}, {rate!r}, {deposit!r}, {f(a700)}, {f(a701)}, {f(a702)}, {f(a703s)}}},")
out.append("};")

# Lines 801 and 802: loan amount, two rates -> the two charges.
out.append("// loan, rate 801, rate 802, A801B, A802B")
out.append("const LoanChargeCase kLoanChargeCases[] = {")
for loan, r1, r2 in [(100.50, 1.0, 5.0), (-100.50, 5.0, 1.0), (200000.0, 1.125, 0.5),
                     (123456.78, 0.999995, 2.000004), (0.5, 1.0, 3.0), (-0.5, 1.0, 3.0),
                     (150000.005, 1.0, 0.0)]:
    c1 = hu(ac(loan) * (pct(r1) * Decimal("0.01")))
    c2 = hu(ac(loan) * (pct(r2) * Decimal("0.01")))
    out.append(f"    {{{loan!r}, {r1!r}, {r2!r}, {f(c1)}, {f(c2)}}},")
out.append("};")

# Interest of line 901: days, per day -> A901B (unrounded) and its 900 sum at cents.
out.append("// days, per day, A901B, the 900 B subtotal")
out.append("const InterestCase kInterestCases[] = {")
for days, per_day in [(30, 12.345678), (1, 0.125), (3, 0.125), (1, 0.375), (2, 0.0625),
                      (-5, 0.125), (0, 99.0), (365, 0.123456789), (7, 1e-06)]:
    a901 = days * pct(per_day)
    out.append(f"    {{{days}, {per_day!r}, {f(a901)}, {f(ac(float(a901)))}}},")
out.append("};")

# Reserves: months (stored with a fraction), monthly amount -> A1001B.
out.append("// months, monthly, A1001B")
out.append("const ReserveCase kReserveCases[] = {")
for months, monthly in [(2.5, 100.0), (3.5, 100.0), (2.4999, 123.455), (12.0, 0.125),
                        (1.5, 33.335), (-2.5, 10.0), (0.0, 55.0)]:
    out.append(f"    {{{months!r}, {monthly!r}, {f(whole(months) * ac(monthly))}}},")
out.append("};")

# Prorations: exact fractions, none within 1e-9 of a half cent.
out.append("// amount, from, to, days, result at cents")
out.append("const ProrationCase kProrationCases[] = {")
for amount, frm, to, days in [(1200.0, 729025, 729115, 365), (1200.0, 729115, 729025, 365),
                              (1000.0, 730000, 730000, 365), (3650.55, 730000, 730031, 360),
                              (-875.25, 730000, 730100, 366), (1e9, 730000, 730001, 365),
                              (0.07, 730000, 730180, 365)]:
    exact = Fraction(to - frm) * Fraction(amount) / days
    cents = exact * 100
    frac = cents - (cents.numerator // cents.denominator)
    assert abs(frac - Fraction(1, 2)) > Fraction(1, 10**7), (amount, frm, to, days)
    result = Decimal(exact.numerator) / Decimal(exact.denominator)
    out.append(f"    {{{amount!r}, {frm}, {to}, {days}, {f(result.quantize(CENT, ROUND_HALF_EVEN))}}},")
out.append("};")

# Section totals of lines 120, 220, 303 with three-place stored amounts.
s1 = {3: 250000.125, 4: 1000.375, 8: 0.005, 12: 12.345, 19: 100.0, 31: -0.125, 37: 2.675}
a1400b = 3456.785
s2 = {2: 5000.0, 4: 200000.0, 5: 0.015, 32: 99.995, 56: 1.125}
a120 = sum(ac(v) for v in s1.values()) + ac(a1400b)
a220 = sum(ac(v) for v in s2.values())
a303 = ac(float(a120)) - ac(float(a220))
out.append("const std::pair<int, double> kSummary1Amounts[] = {" +
           ", ".join(f"{{{k}, {v!r}}}" for k, v in s1.items()) + "};")
out.append("const std::pair<int, double> kSummary2Amounts[] = {" +
           ", ".join(f"{{{k}, {v!r}}}" for k, v in s2.items()) + "};")
out.append(f"constexpr double kLine1400B = {a1400b!r};")
out.append(f"constexpr double kExpectedA120 = {f(a120)};")
out.append(f"constexpr double kExpectedA220 = {f(a220)};")
out.append(f"constexpr double kExpectedA303 = {f(a303)};")

path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "recalc_reference_cases.inc")
with open(path, "w") as fh:
    fh.write("// Generated by recalc_references.py from the statement's rounding rules.\n")
    fh.write("\n".join(out) + "\n")

# The prorater's share: (to - from) x (amount / days) in double precision, unrounded, for
# 1200.00 per 365 days from January 1 to April 1, 1997 (90 days).
from datetime import date as _date
_days = (_date(1997, 4, 1) - _date(1997, 1, 1)).days
with open(os.path.join(os.path.dirname(path), "recalc_prorater_cases.inc"), "w") as fh:
    fh.write("// Generated by recalc_references.py.\n")
    fh.write(f"constexpr double kProraterShare = {float(_days) * (1200.0 / 365)!r};\n")
    fh.write(f"constexpr double kProraterShareAtCents = "
             f"{float(ac(float(_days) * (1200.0 / 365)))!r};\n")
