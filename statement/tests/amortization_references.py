#!/usr/bin/env python3
"""Expected amortization schedules, line by line, from the schedule's rules in Python's
decimal module: the balance at cents, the monthly rate the 5-place yearly rate over 1200
to 18 significant digits, each interest the exact product rounded once to the even cent,
the last line (at maturity, or when the payment would clear what is owed) paying the
balance and its interest. Writes amortization/<case>.txt beside this script, one line per
payment as the report prints it, and the payments the dialog shows."""
from decimal import Decimal, Context, getcontext, ROUND_HALF_EVEN
import calendar
import os

getcontext().prec = 60
CENT = Decimal("0.01")


def ac(x):
    return Decimal(x).quantize(CENT, ROUND_HALF_EVEN)


def loan_payment(principal, rate, n):
    # The level payment P / ((v^(n+1) - v) / (v - 1)), v = 1 / (1 + r / 1200), shown "%.2lf".
    v = 1 / (1 + Decimal(rate) / 1200)
    return (Decimal(principal) / ((v ** (n + 1) - v) / (v - 1))).quantize(CENT, ROUND_HALF_EVEN)


def money(d):
    sign = "-" if d < 0 else ""
    whole, frac = f"{abs(d):.2f}".split(".")
    return f"{sign}{int(whole):,}.{frac}"


def schedule(principal, rate, payment, maturity, month, day, year):
    m = Context(prec=18, rounding=ROUND_HALF_EVEN).divide(
        Decimal(rate).quantize(Decimal("0.00001"), ROUND_HALF_EVEN), Decimal(1200))
    b = ac(principal)
    pm, py = month + 1, year
    if pm > 12:
        pm, py = 1, py + 1
    lines = []
    for k in range(1, maturity + 1):
        i = (b * m).quantize(CENT, ROUND_HALF_EVEN)
        pay = payment
        last = k == maturity
        if last or payment >= b + i:
            pay, last = b + i, True
        shown_interest = i if i <= pay else pay
        principal_part = pay - i
        b = b - principal_part
        d = min(day, calendar.monthrange(py, pm)[1])
        lines.append(f"{k} {pm:02d} / {d:02d} / {py} {money(pay)} {money(shown_interest)} "
                     f"{money(principal_part)} {money(b)}")
        pm += 1
        if pm > 12:
            pm, py = 1, py + 1
        if last:
            break
    return lines


# name, principal, rate, term, maturity (0: the term), typed payment (None: computed), date
cases = [
    ("thirty_years", 100000.00, 8.0, 360, 0, None, (3, 15, 1997)),
    ("six_percent", 200000.00, 6.0, 360, 0, None, (12, 10, 2025)),
    ("balloon", 150000.00, 7.5, 360, 60, None, (6, 1, 2020)),
    ("low_payment", 100000.00, 8.0, 360, 24, "500.00", (1, 5, 2024)),
    ("high_payment", 50000.00, 5.0, 360, 0, "10000.00", (2, 20, 2023)),
    ("long_maturity", 10000.00, 5.0, 12, 24, None, (9, 9, 2021)),
    ("january_31", 24000.00, 4.25, 24, 0, None, (1, 31, 2024)),
]

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "amortization", "cases.txt"), "w") as index:
    index.write("# name principal rate term maturity typed-payment month day year shown-payment\n")
    for name, principal, rate, term, maturity, typed, (mo, da, yr) in cases:
        computed = loan_payment(principal, rate, term)
        payment = Decimal(typed) if typed else computed
        lines = schedule(principal, rate, payment, maturity or term, mo, da, yr)
        with open(os.path.join(here, "amortization", name + ".txt"), "w") as out:
            out.write("\n".join(lines) + "\n")
        index.write(f"{name} {principal:.2f} {rate} {term} {maturity} {typed or '-'} "
                    f"{mo} {da} {yr} {computed}\n")
