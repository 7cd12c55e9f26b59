/*
** The money conversions of the statement's rules. Every stored amount a rule reads is
** taken at cents (the double's exact binary value, ties to the even cent); percentages at
** the five places the statement shows; commission and loan-charge results rounded half away
** from zero; sums, differences and products exact; results stored as the nearest double.
*/
#ifndef ZARNE_STATEMENT_RECALC_AMOUNTS_H
#define ZARNE_STATEMENT_RECALC_AMOUNTS_H

#include "script/script_decimal.h"

#include <cstdint>
#include <limits>

/* A value too large for a decimal (no amount a statement holds) counts as 0. */
inline ScriptDecimal DecimalAtPlaces(double value, int places) {
  ScriptDecimal result;
  if (ScriptDecimal::FromDouble(value, places, &result) != DecimalStatus::kOk) return {};
  return result;
}

/* A double times 100 needs at most 60 significant bits, so in the 64-bit mantissa of the
   extended type it is exact, and rounding it to a whole number, a half to even, gives the
   exact binary value's nearest cent, ties to even: the general conversion's answer, found
   without its long arithmetic. */
inline ScriptDecimal AtCents(double value) {
  if constexpr (std::numeric_limits<long double>::digits >= 64) {
    long double hundredths = static_cast<long double>(value) * 100.0L;
    if (hundredths > -9.0e17L && hundredths < 9.0e17L) {
      // Whole part and fraction are both exact; the fraction decides, a half to even.
      int64_t cents = static_cast<int64_t>(hundredths);
      long double fraction = hundredths - static_cast<long double>(cents);
      long double size = fraction < 0 ? -fraction : fraction;
      if (size > 0.5L || (size == 0.5L && cents % 2 != 0)) cents += fraction < 0 ? -1 : 1;
      if (cents == 0) return {};
      int32_t exponent = -2;
      while (cents % 10 == 0) {
        cents /= 10;
        ++exponent;
      }
      return ScriptDecimal{cents, exponent};
    }
  }
  return DecimalAtPlaces(value, 2);
}
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
