/*
** The money conversions of the statement's rules. Every stored amount a rule reads is
** taken at cents (the double's exact binary value, ties to the even cent); percentages at
** the five places the statement shows; commission and loan-charge results rounded half away
** from zero; sums, differences and products exact; results stored as the nearest double.
*/
#ifndef ZARNE_STATEMENT_RECALC_AMOUNTS_H
#define ZARNE_STATEMENT_RECALC_AMOUNTS_H

#include "script/script_decimal.h"

/* A value too large for a decimal (no amount a statement holds) counts as 0. */
inline ScriptDecimal DecimalAtPlaces(double value, int places) {
  ScriptDecimal result;
  if (ScriptDecimal::FromDouble(value, places, &result) != DecimalStatus::kOk) return {};
  return result;
}

inline ScriptDecimal AtCents(double value) { return DecimalAtPlaces(value, 2); }
inline ScriptDecimal AtPercentPlaces(double value) { return DecimalAtPlaces(value, 5); }

/* To cents, an exact half cent away from zero for either sign. */
inline ScriptDecimal RoundedHalfUp(const ScriptDecimal& value) {
  ScriptDecimal result;
  if (value.RoundToStep(-2, DecimalRounding::kHalfAwayFromZero, &result) != DecimalStatus::kOk)
    return value;
  return result;
}

/* Exact within 18 significant digits; an overflow (beyond any amount) leaves the left term. */
inline ScriptDecimal Plus(const ScriptDecimal& a, const ScriptDecimal& b) {
  ScriptDecimal result = a;
  ScriptDecimal::Add(a, b, &result);
  return result;
}
inline ScriptDecimal Minus(const ScriptDecimal& a, const ScriptDecimal& b) {
  ScriptDecimal result = a;
  ScriptDecimal::Subtract(a, b, &result);
  return result;
}
inline ScriptDecimal Times(const ScriptDecimal& a, const ScriptDecimal& b) {
  ScriptDecimal result = a;
  ScriptDecimal::Multiply(a, b, &result);
  return result;
}

/* A percentage as the factor it stands for: the 5-place rate times 0.01, exact. */
inline ScriptDecimal PercentFactor(double percent) {
  return Times(AtPercentPlaces(percent), ScriptDecimal{1, -2});
}

#endif
