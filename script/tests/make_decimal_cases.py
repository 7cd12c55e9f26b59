#!/usr/bin/env python3
"""Writes decimal_cases.txt: script expressions with their values worked out independently
by Python's decimal module (18 significant digits, each operation rounded half to even,
the remainder exact with the sign of the dividend). Run once; the output is checked in.

Line forms, tab-separated:
  value    <expression>          <mantissa> <exponent>   (canonical, no trailing zeros)
  value    <expression>          error                   (division by zero)
  compare  <expr> <rel> <expr>   1 | 0
"""
import decimal
import random
import sys
from decimal import Decimal

PREC = 18
ctx = decimal.Context(prec=PREC, rounding=decimal.ROUND_HALF_EVEN, Emax=999, Emin=-999,
                      traps=[decimal.DivisionByZero, decimal.InvalidOperation])
exact = decimal.Context(prec=1200, rounding=decimal.ROUND_HALF_EVEN, Emax=9999, Emin=-9999,
                        traps=[decimal.DivisionByZero, decimal.InvalidOperation])
rng = random.Random(20240507)


def literal():
    """A script number literal (digits and at most one point) and its rounded value."""
    kind = rng.random()
    if kind < 0.25:
        text = str(rng.randint(0, 1000))
    elif kind < 0.55:
        whole = str(rng.randint(0, 10 ** rng.randint(1, 9)))
        frac = ''.join(rng.choice('0123456789') for _ in range(rng.randint(1, 8)))
        text = whole + '.' + frac
    elif kind < 0.70:
        text = '0.' + '0' * rng.randint(0, 12) + str(rng.randint(1, 10 ** rng.randint(1, 6)))
    elif kind < 0.80:
        text = '.' + str(rng.randint(1, 99999))
    elif kind < 0.90:  # more digits than are kept: the literal itself is rounded
        digits = ''.join(rng.choice('0123456789') for _ in range(rng.randint(19, 24)))
        cut = rng.randint(1, len(digits) - 1)
        text = str(rng.randint(1, 9)) + digits[:cut] + '.' + digits[cut:]
    else:  # ties at the 19th digit
        text = str(rng.randint(10 ** 17, 10 ** 18 - 1)) + rng.choice(['5', '50', '500001'])
    return text, ctx.plus(Decimal(text))


def operate(op, a, b):
    """The rounded result, or None once a division by zero has happened."""
    if a is None or b is None:
        return None
    try:
        if op == '+':
            return ctx.add(a, b)
        if op == '-':
            return ctx.subtract(a, b)
        if op == '*':
            return ctx.multiply(a, b)
        if op == '/':
            return ctx.divide(a, b)
        return ctx.plus(exact.remainder(a, b))
    except (decimal.DivisionByZero, decimal.InvalidOperation):
        return None


def primary(depth):
    if depth > 0 and rng.random() < 0.25:
        text, value = expression(depth - 1)
        return '(' + text + ')', value
    if rng.random() < 0.15:  # zero, to reach division by zero now and then
        return '0', Decimal(0)
    return literal()


def unary(depth):
    text, value = primary(depth)
    if rng.random() < 0.2:
        return '-' + text, None if value is None else ctx.minus(value)
    return text, value


def term(depth):
    text, value = unary(depth)
    for _ in range(rng.randint(0, 2)):
        op = rng.choice('***//%')
        right_text, right = unary(depth)
        text, value = text + ' ' + op + ' ' + right_text, operate(op, value, right)
    return text, value


def expression(depth):
    text, value = term(depth)
    for _ in range(rng.randint(0, 2)):
        op = rng.choice('+-')
        right_text, right = term(depth)
        text, value = text + ' ' + op + ' ' + right_text, operate(op, value, right)
    return text, value


def canonical(value):
    if value.is_zero():
        return '0 0'
    sign, digits, exponent = value.normalize(ctx).as_tuple()
    mantissa = int(''.join(map(str, digits)))
    return '%d %d' % (-mantissa if sign else mantissa, exponent)


def main(path):
    lines = []
    errors = 0
    while len(lines) < 400:
        text, value = expression(2)
        if value is not None:
            lines.append('value\t%s\t%s' % (text, canonical(value)))
        elif errors < 20:
            errors += 1
            lines.append('value\t%s\terror' % text)
    relations = {'==': lambda c: c == 0, '!=': lambda c: c != 0, '>': lambda c: c > 0,
                 '>=': lambda c: c >= 0, '<': lambda c: c < 0, '<=': lambda c: c <= 0}
    while len(lines) < 520:
        left_text, left = expression(1)
        if rng.random() < 0.3:  # equal values written differently
            right_text, right = left_text + ' + 0', left
        else:
            right_text, right = expression(1)
        if left is None or right is None:
            continue
        rel = rng.choice(list(relations))
        holds = relations[rel](left.compare(right))
        lines.append('compare\t%s %s %s\t%d' % (left_text, rel, right_text, 1 if holds else 0))
    with open(path, 'w') as out:
        out.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'decimal_cases.txt')
