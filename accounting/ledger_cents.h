/*
** Money in exact cents. An amount's cents are those of its "%.2lf" text, the text the grid,
** the check and the words on it show, so a balance summed here in 64-bit integers is the sum
** of the amounts as shown, never a drifting running double.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_CENTS_H
#define ZARNE_ACCOUNTING_LEDGER_CENTS_H

#include <cstddef>
#include <cstdint>

/* The cents of "%.2lf" of the amount; amounts beyond +-9e15 cents (and NaN) count as 0. */
int64_t AmountCents(double amount);
/* The "%.2lf" text of a cents value ("-1234.50"), no thousands commas. */
void FormatCents(int64_t cents, char* buffer, size_t size);
/* The amount that prints as that cents value. */
double CentsAmount(int64_t cents);
/* -1, 0 or 1. */
inline int CentsSign(int64_t cents) { return cents < 0 ? -1 : (cents > 0 ? 1 : 0); }

#endif
