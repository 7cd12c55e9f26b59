/*
** Exact decimal arithmetic for the script decimal. Every operation forms its exact result
** as a wide coefficient (128 bits), an exponent and a flag for nonzero digits below the
** coefficient, then rounds once in FinishExact. Mantissas hold at most 18 digits, so the
** exact sums, products and scaled dividends all fit in 128 bits. Sums, products and
** comparisons that fit 64 bits are done inline in the header; these are their general
** paths.
*/
#include "script/script_decimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Wide = unsigned __int128;

constexpr int kMaxWidePower = 38;  // 10^38 < 2^128

struct PowerTable {
  Wide values[kMaxWidePower + 1];
  constexpr PowerTable() : values() {
    values[0] = 1;
    for (int i = 1; i <= kMaxWidePower; ++i) values[i] = values[i - 1] * 10;
  }
};
constexpr PowerTable kPowers;

inline Wide PowerOfTen(int n) { return kPowers.values[n]; }

int DigitCount(Wide value) {
  int digits = 1;
  while (digits <= kMaxWidePower && value >= PowerOfTen(digits)) ++digits;
  return digits;
}

uint64_t Magnitude(int64_t mantissa) {
  return mantissa < 0 ? 0 - static_cast<uint64_t>(mantissa) : static_cast<uint64_t>(mantissa);
}

/* An exact (or exactly-flagged) intermediate result. */
struct Exact {
  bool negative = false;
  Wide coefficient = 0;
  int64_t exponent = 0;
  bool sticky = false;  // nonzero digits lie below the coefficient's last place
};

/* Drops `count` low digits, rounding half to even; `sticky` breaks exact-half ties upward. */
Wide DropDigitsHalfEven(Wide coefficient, int64_t count, bool sticky) {
  if (count > kMaxWidePower) return 0;  // the whole value lies far below half a unit
  Wide divisor = PowerOfTen(static_cast<int>(count));
  Wide quotient = coefficient / divisor;
  Wide twiceRest = (coefficient % divisor) * 2;
  bool up = twiceRest > divisor || (twiceRest == divisor && (sticky || (quotient & 1)));
  return up ? quotient + 1 : quotient;
}

/* The common case: an exact result of at most 18 digits well inside the range. */
bool FinishSmallExact(const Exact& exact, int places, ScriptDecimal* result) {
  constexpr uint64_t kEighteenDigits = 1000000000000000000ULL;
  if (exact.sticky || exact.coefficient >= kEighteenDigits || exact.exponent > 100 ||
      exact.exponent < -places || exact.exponent < ScriptDecimal::kMinExponent)
    return false;
  uint64_t coefficient = static_cast<uint64_t>(exact.coefficient);
  int64_t exponent = exact.exponent;
  if (coefficient == 0) {
    exponent = 0;
  } else {
    while (coefficient % 10 == 0) {
      coefficient /= 10;
      ++exponent;
    }
  }
  int64_t magnitude = static_cast<int64_t>(coefficient);
  result->mantissa = exact.negative ? -magnitude : magnitude;
  result->exponent = static_cast<int32_t>(exponent);
  return true;
}

DecimalStatus FinishExact(Exact exact, int places, ScriptDecimal* result) {
  if (FinishSmallExact(exact, places, result)) return DecimalStatus::kOk;
  if (exact.coefficient == 0) {
    *result = ScriptDecimal{};
    return DecimalStatus::kOk;
  }
  int64_t drop = DigitCount(exact.coefficient) - ScriptDecimal::kSignificantDigits;
  int64_t lowestExponent = -static_cast<int64_t>(places);
  if (lowestExponent < ScriptDecimal::kMinExponent) lowestExponent = ScriptDecimal::kMinExponent;
  if (exact.exponent + drop < lowestExponent) drop = lowestExponent - exact.exponent;
  if (drop > 0) {
    exact.coefficient = DropDigitsHalfEven(exact.coefficient, drop, exact.sticky);
    exact.exponent += drop;
  }
  if (exact.coefficient == 0) {
    *result = ScriptDecimal{};
    return DecimalStatus::kOk;
  }
  while (exact.coefficient % 10 == 0) {  // canonical form; also undoes a carry to 10^18
    exact.coefficient /= 10;
    ++exact.exponent;
  }
  if (exact.exponent + DigitCount(exact.coefficient) - 1 > ScriptDecimal::kMaxAdjustedExponent)
    return DecimalStatus::kOverflow;
  int64_t magnitude = static_cast<int64_t>(exact.coefficient);
  result->mantissa = exact.negative ? -magnitude : magnitude;
  result->exponent = static_cast<int32_t>(exact.exponent);
  return DecimalStatus::kOk;
}

DecimalStatus FinishExact(const Exact& exact, ScriptDecimal* result) {
  return FinishExact(exact, ScriptDecimal::kAllPlaces, result);
}

/* (base^power) mod modulus for a modulus below 2^64. */
Wide PowerMod(Wide base, int64_t power, Wide modulus) {
  Wide result = 1 % modulus;
  base %= modulus;
  while (power > 0) {
    if (power & 1) result = result * base % modulus;
    base = base * base % modulus;
    power >>= 1;
  }
  return result;
}

}  // namespace

ScriptDecimal ScriptDecimal::FromLong(int64_t whole) {
  ScriptDecimal value;
  Exact exact{whole < 0, Magnitude(whole), 0, false};
  FinishExact(exact, &value);  // a 64-bit whole number never overflows
  return value;
}

bool ScriptDecimal::ParseText(const char* text, int places, ScriptDecimal* result,
                              DecimalStatus* status) {
  const char* p = text;
  Exact exact;
  if (*p == '+' || *p == '-') exact.negative = (*p++ == '-');
  bool anyDigit = false, seenPoint = false;
  int64_t exponentShift = 0;
  for (;; ++p) {
    if (*p == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if (*p < '0' || *p > '9') break;
    anyDigit = true;
    int digit = *p - '0';
    if (exact.coefficient < PowerOfTen(36)) {
      exact.coefficient = exact.coefficient * 10 + digit;
      if (seenPoint) --exponentShift;
    } else {
      if (digit != 0) exact.sticky = true;  // far below the 18 digits kept
      if (!seenPoint) ++exponentShift;
    }
  }
  if (!anyDigit) return false;
  if (*p == 'e' || *p == 'E') {
    ++p;
    bool negativeExponent = false;
    if (*p == '+' || *p == '-') negativeExponent = (*p++ == '-');
    if (*p < '0' || *p > '9') return false;
    int64_t written = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
      if (written < 1000000) written = written * 10 + (*p - '0');
    exponentShift += negativeExponent ? -written : written;
  }
  if (*p != '\0') return false;
  exact.exponent = exponentShift;
  *status = FinishExact(exact, places, result);
  return true;
}

DecimalStatus ScriptDecimal::FromDouble(double value, int places, ScriptDecimal* result) {
  if (!std::isfinite(value)) return DecimalStatus::kOverflow;
  if (value == 0) {
    *result = ScriptDecimal{};
    return DecimalStatus::kOk;
  }
  if (places < 0) places = 0;
  // The C library prints a double's exact binary value correctly rounded (half to even),
  // so the one rounding happens there: to 18 digits, or to the places when fewer.
  char text[512];
  std::snprintf(text, sizeof text, "%.17e", value);
  int leadingExponent = std::atoi(std::strchr(text, 'e') + 1);
  if (places < kSignificantDigits - 1 - leadingExponent)
    std::snprintf(text, sizeof text, "%.*f", places, value);
  DecimalStatus status = DecimalStatus::kOk;
  ParseText(text, places, result, &status);
  return status;
}

double ScriptDecimal::ToDouble() const {
  char text[48];
  std::snprintf(text, sizeof text, "%lldE%d", static_cast<long long>(mantissa), exponent);
  return std::strtod(text, nullptr);  // correctly rounded to the nearest double
}

std::string ScriptDecimal::ToText() const {
  std::string digits = std::to_string(Magnitude(mantissa));
  std::string sign = mantissa < 0 ? "-" : "";
  if (exponent >= 0 && exponent <= 20) return sign + digits + std::string(exponent, '0');
  if (exponent < 0 && exponent >= -40) {
    int places = -exponent;
    if (static_cast<int>(digits.size()) <= places)
      digits.insert(0, places - digits.size() + 1, '0');
    digits.insert(digits.size() - places, ".");
    return sign + digits;
  }
  return sign + digits + "e" + std::to_string(exponent);
}

DecimalStatus ScriptDecimal::AddGeneral(const ScriptDecimal& a, const ScriptDecimal& b,
                                        ScriptDecimal* result) {
  if (a.IsZero()) return *result = b, DecimalStatus::kOk;
  if (b.IsZero()) return *result = a, DecimalStatus::kOk;
  const ScriptDecimal& high = a.exponent >= b.exponent ? a : b;  // the larger exponent
  const ScriptDecimal& low = a.exponent >= b.exponent ? b : a;
  int64_t gap = static_cast<int64_t>(high.exponent) - low.exponent;
  Exact exact;
  Wide highPart, lowPart;
  bool lowSticky = false;
  if (gap <= 20) {
    highPart = static_cast<Wide>(Magnitude(high.mantissa)) * PowerOfTen(static_cast<int>(gap));
    lowPart = Magnitude(low.mantissa);
    exact.exponent = low.exponent;
  } else {
    // The low operand is below a hundredth of the high one: it only steers the rounding,
    // so it is cut to the high operand's 21st digit and the rest is kept as a flag.
    highPart = static_cast<Wide>(Magnitude(high.mantissa)) * PowerOfTen(20);
    int64_t cut = gap - 20;
    Wide lowMagnitude = Magnitude(low.mantissa);
    lowPart = cut > kMaxWidePower ? 0 : lowMagnitude / PowerOfTen(static_cast<int>(cut));
    lowSticky = cut > kMaxWidePower || lowMagnitude % PowerOfTen(static_cast<int>(cut)) != 0;
    exact.exponent = static_cast<int64_t>(high.exponent) - 20;
  }
  bool highNegative = high.mantissa < 0, lowNegative = low.mantissa < 0;
  if (highNegative == lowNegative) {
    exact.negative = highNegative;
    exact.coefficient = highPart + lowPart;
    exact.sticky = lowSticky;
  } else if (lowSticky) {
    // high - (lowPart + fraction) = (high - lowPart - 1) + (1 - fraction)
    exact.negative = highNegative;
    exact.coefficient = highPart - lowPart - 1;
    exact.sticky = true;
  } else if (highPart >= lowPart) {
    exact.negative = highNegative;
    exact.coefficient = highPart - lowPart;
  } else {
    exact.negative = lowNegative;
    exact.coefficient = lowPart - highPart;
  }
  return FinishExact(exact, result);
}

DecimalStatus ScriptDecimal::MultiplyGeneral(const ScriptDecimal& a, const ScriptDecimal& b,
                                             ScriptDecimal* result) {
  Exact exact;
  exact.negative = (a.mantissa < 0) != (b.mantissa < 0);
  exact.coefficient = static_cast<Wide>(Magnitude(a.mantissa)) * Magnitude(b.mantissa);
  exact.exponent = static_cast<int64_t>(a.exponent) + b.exponent;
  return FinishExact(exact, result);
}

DecimalStatus ScriptDecimal::Divide(const ScriptDecimal& a, const ScriptDecimal& b,
                                    ScriptDecimal* result) {
  if (b.IsZero()) return DecimalStatus::kDivideByZero;
  if (a.IsZero()) return *result = ScriptDecimal{}, DecimalStatus::kOk;
  // Scale the dividend to 38 digits so the quotient has at least 20: enough for one
  // correct rounding to 18, with the remainder deciding exact halves.
  Wide dividend = Magnitude(a.mantissa);
  int scale = kMaxWidePower - DigitCount(dividend);
  dividend *= PowerOfTen(scale);
  Wide divisor = Magnitude(b.mantissa);
  Exact exact;
  exact.negative = (a.mantissa < 0) != (b.mantissa < 0);
  exact.coefficient = dividend / divisor;
  exact.sticky = dividend % divisor != 0;
  exact.exponent = static_cast<int64_t>(a.exponent) - scale - b.exponent;
  return FinishExact(exact, result);
}

DecimalStatus ScriptDecimal::Remainder(const ScriptDecimal& a, const ScriptDecimal& b,
                                       ScriptDecimal* result) {
  if (b.IsZero()) return DecimalStatus::kDivideByZero;
  if (a.IsZero()) return *result = ScriptDecimal{}, DecimalStatus::kOk;
  Exact exact;
  exact.negative = a.mantissa < 0;
  Wide dividend = Magnitude(a.mantissa);
  if (a.exponent >= b.exponent) {
    // a = A x 10^k in units of b's last place; A x 10^k mod B without forming it.
    Wide divisor = Magnitude(b.mantissa);
    int64_t k = static_cast<int64_t>(a.exponent) - b.exponent;
    exact.coefficient = dividend % divisor * PowerMod(10, k, divisor) % divisor;
    exact.exponent = b.exponent;
  } else {
    int64_t gap = static_cast<int64_t>(b.exponent) - a.exponent;
    if (gap > 19) return *result = a, DecimalStatus::kOk;  // |a| < |b|: a is its own rest
    Wide divisor = static_cast<Wide>(Magnitude(b.mantissa)) * PowerOfTen(static_cast<int>(gap));
    exact.coefficient = dividend % divisor;
    exact.exponent = a.exponent;
  }
  return FinishExact(exact, result);
}

DecimalStatus ScriptDecimal::RoundToStep(int stepExponent, DecimalRounding rounding,
                                         ScriptDecimal* result) const {
  if (IsZero() || exponent >= stepExponent) return *result = *this, DecimalStatus::kOk;
  int64_t cut = static_cast<int64_t>(stepExponent) - exponent;
  Wide magnitude = Magnitude(mantissa);
  Wide whole = 0, rest = magnitude;  // in steps, and what lies below one step
  bool restAtLeastHalf = false;
  if (cut <= kMaxWidePower) {
    Wide step = PowerOfTen(static_cast<int>(cut));
    whole = magnitude / step;
    rest = magnitude % step;
    restAtLeastHalf = rest * 2 >= step;
  }
  bool negative = mantissa < 0;
  bool awayFromZero = false;
  switch (rounding) {
    case DecimalRounding::kHalfAwayFromZero: awayFromZero = restAtLeastHalf; break;
    case DecimalRounding::kDown: awayFromZero = negative && rest != 0; break;
    case DecimalRounding::kUp: awayFromZero = !negative && rest != 0; break;
  }
  Exact exact{negative, awayFromZero ? whole + 1 : whole, stepExponent, false};
  return FinishExact(exact, result);
}

DecimalStatus ScriptDecimal::ToWholeLong(int32_t* whole) const {
  ScriptDecimal rounded;
  if (RoundToStep(0, DecimalRounding::kHalfAwayFromZero, &rounded) != DecimalStatus::kOk)
    return DecimalStatus::kOverflow;
  if (rounded.exponent > 9) return DecimalStatus::kOverflow;
  __int128 value =
      static_cast<__int128>(rounded.mantissa) * static_cast<__int128>(PowerOfTen(rounded.exponent));
  if (value > INT32_MAX || value < INT32_MIN) return DecimalStatus::kOverflow;
  *whole = static_cast<int32_t>(value);
  return DecimalStatus::kOk;
}
