/*
** The script decimal: the value of every numeric script variable, and the money arithmetic
** of the statement's sums. A value is mantissa x 10^exponent.
**
** Arithmetic is exact decimal arithmetic: each operation computes the exact result and
** rounds it once, half to even, to 18 significant digits (and to at most the places asked
** for). That is what the old extended-precision path approximated, and it gives the same
** digits on every machine. Values are kept canonical (no trailing zeros in the mantissa,
** zero is 0 x 10^0), so equal values have equal bytes.
**
** Range: a result of magnitude 10^126 or more is an overflow; places below 10^-150 are
** rounded away (so smaller magnitudes become zero).
*/
#ifndef ZARNE_SCRIPT_SCRIPT_DECIMAL_H
#define ZARNE_SCRIPT_SCRIPT_DECIMAL_H

#include <cstdint>
#include <string>

/* What an operation on decimals came to. */
enum class DecimalStatus { kOk, kDivideByZero, kOverflow };

/* How RoundToStep treats the part below the step. */
enum class DecimalRounding {
  kHalfAwayFromZero,  // round
  kDown,              // rounddn: toward minus infinity
  kUp,                // roundup: toward plus infinity
};

#pragma pack(push, 4)
struct ScriptDecimal {
  int64_t mantissa = 0;
  int32_t exponent = 0;

  /* Requesting this many places keeps every place the mantissa can hold. */
  static constexpr int kAllPlaces = 5000;
  static constexpr int kSignificantDigits = 18;
  static constexpr int kMaxAdjustedExponent = 125;  // 10^126 and above overflow
  static constexpr int kMinExponent = -150;

  static ScriptDecimal FromLong(int64_t whole);
  /* The double's exact binary value rounded half to even to at most `places` places. */
  static DecimalStatus FromDouble(double value, int places, ScriptDecimal* result);
  /* Decimal digits with an optional sign, point and e-exponent ("12.5", ".5", "-1e3"),
     rounded like an operation's result. False for text that is no such number; a number
     too large answers true with *status kOverflow. */
  static bool ParseText(const char* text, int places, ScriptDecimal* result, DecimalStatus* status);

  double ToDouble() const;
  /* Canonical text without exponent notation where short ("-12.5", "0.001"), else with
     one ("1e+30"); what tests and messages print. */
  std::string ToText() const;

  bool IsZero() const { return mantissa == 0; }
  int Sign() const { return mantissa > 0 ? 1 : (mantissa < 0 ? -1 : 0); }
  ScriptDecimal Negated() const {
    ScriptDecimal value = *this;
    value.mantissa = -mantissa;  // |mantissa| < 10^18, so this never overflows
    return value;
  }

  /* Arithmetic; on an error *result is left unchanged. Sums and products whose exact
     result fits 18 digits are done inline in 64 bits; the rest take the general path. */
  static DecimalStatus Add(const ScriptDecimal& a, const ScriptDecimal& b, ScriptDecimal* result);
  static DecimalStatus Subtract(const ScriptDecimal& a, const ScriptDecimal& b,
                                ScriptDecimal* result);
  static DecimalStatus Multiply(const ScriptDecimal& a, const ScriptDecimal& b,
                                ScriptDecimal* result);
  /* The general paths of Add and Multiply, for operands of any size. They give the same
     result as the inline ones wherever both apply; tests hold them to that. */
  static DecimalStatus AddGeneral(const ScriptDecimal& a, const ScriptDecimal& b,
                                  ScriptDecimal* result);
  static DecimalStatus MultiplyGeneral(const ScriptDecimal& a, const ScriptDecimal& b,
                                       ScriptDecimal* result);
  static DecimalStatus Divide(const ScriptDecimal& a, const ScriptDecimal& b,
                              ScriptDecimal* result);
  /* a - trunc(a / b) x b, exact: the sign follows a. */
  static DecimalStatus Remainder(const ScriptDecimal& a, const ScriptDecimal& b,
                                 ScriptDecimal* result);
  /* -1, 0 or 1 by exact value. */
  static int Compare(const ScriptDecimal& a, const ScriptDecimal& b);

  /* Rounds to a multiple of 10^stepExponent (-2: cents, 0: units, 2: hundreds). */
  DecimalStatus RoundToStep(int stepExponent, DecimalRounding rounding,
                            ScriptDecimal* result) const;
  /* Rounds half away from zero to a whole number; kOverflow beyond the 32-bit range. */
  DecimalStatus ToWholeLong(int32_t* whole) const;
};
#pragma pack(pop)

static_assert(sizeof(ScriptDecimal) == 12, "a script decimal is twelve bytes");

namespace script_decimal_detail {

constexpr int64_t kEighteenDigits = 1000000000000000000LL;

constexpr int64_t kPowersOfTen[19] = {1LL,
                                      10LL,
                                      100LL,
                                      1000LL,
                                      10000LL,
                                      100000LL,
                                      1000000LL,
                                      10000000LL,
                                      100000000LL,
                                      1000000000LL,
                                      10000000000LL,
                                      100000000000LL,
                                      1000000000000LL,
                                      10000000000000LL,
                                      100000000000000LL,
                                      1000000000000000LL,
                                      10000000000000000LL,
                                      100000000000000000LL,
                                      1000000000000000000LL};

/* An exact result of fewer than 19 digits at an exponent well inside the range, stored
   canonical (trailing zeros moved into the exponent); false when the general path must
   round or range-check it. */
inline bool StoreExactSmall(int64_t mantissa, int64_t exponent, ScriptDecimal* result) {
  // |mantissa| < 10^18 and kMinExponent <= exponent <= 100, each as one unsigned test.
  constexpr uint64_t kLargest = kEighteenDigits - 1;
  constexpr uint64_t kExponentSpan = 100 - ScriptDecimal::kMinExponent;
  if (static_cast<uint64_t>(mantissa) + kLargest > 2 * kLargest ||
      static_cast<uint64_t>(exponent - ScriptDecimal::kMinExponent) > kExponentSpan)
    return false;
  if (mantissa == 0) {
    *result = ScriptDecimal{};
    return true;
  }
  while (mantissa % 10 == 0) {
    mantissa /= 10;
    ++exponent;
  }
  result->mantissa = mantissa;
  result->exponent = static_cast<int32_t>(exponent);
  return true;
}

/* The exact sum in 64 bits when the operands align within it. */
inline bool AddSmall(const ScriptDecimal& a, const ScriptDecimal& b, ScriptDecimal* result) {
  int64_t left = a.mantissa, right = b.mantissa;
  int32_t exponent = a.exponent;
  if (a.exponent != b.exponent) {
    int64_t gap = static_cast<int64_t>(a.exponent) - b.exponent;
    if (gap > 0) {
      if (gap > 18 || __builtin_mul_overflow(left, kPowersOfTen[gap], &left)) return false;
      exponent = b.exponent;
    } else {
      if (gap < -18 || __builtin_mul_overflow(right, kPowersOfTen[-gap], &right)) return false;
    }
  }
  int64_t sum;
  if (__builtin_add_overflow(left, right, &sum)) return false;
  return StoreExactSmall(sum, exponent, result);
}

}  // namespace script_decimal_detail

inline DecimalStatus ScriptDecimal::Add(const ScriptDecimal& a, const ScriptDecimal& b,
                                        ScriptDecimal* result) {
  // A zero operand answers the other one as it stands.
  if (a.IsZero()) return *result = b, DecimalStatus::kOk;
  if (b.IsZero()) return *result = a, DecimalStatus::kOk;
  if (script_decimal_detail::AddSmall(a, b, result)) return DecimalStatus::kOk;
  return AddGeneral(a, b, result);
}

inline DecimalStatus ScriptDecimal::Subtract(const ScriptDecimal& a, const ScriptDecimal& b,
                                             ScriptDecimal* result) {
  return Add(a, b.Negated(), result);
}

inline DecimalStatus ScriptDecimal::Multiply(const ScriptDecimal& a, const ScriptDecimal& b,
                                             ScriptDecimal* result) {
  int64_t product;
  if (!__builtin_mul_overflow(a.mantissa, b.mantissa, &product) &&
      script_decimal_detail::StoreExactSmall(product, static_cast<int64_t>(a.exponent) + b.exponent,
                                             result))
    return DecimalStatus::kOk;
  return MultiplyGeneral(a, b, result);
}

/* By exact value, without rounding: the mantissa with the larger exponent, scaled to the
   other's exponent, either fits 64 bits and compares directly, or its overflow shows it
   is the larger in magnitude. */
inline int ScriptDecimal::Compare(const ScriptDecimal& a, const ScriptDecimal& b) {
  if (a.exponent == b.exponent) return a.mantissa < b.mantissa ? -1 : (a.mantissa > b.mantissa);
  int signA = a.Sign(), signB = b.Sign();
  if (signA != signB) return signA < signB ? -1 : 1;
  if (signA == 0) return 0;
  const bool aHigher = a.exponent > b.exponent;
  const ScriptDecimal& high = aHigher ? a : b;
  const ScriptDecimal& low = aHigher ? b : a;
  int64_t gap = static_cast<int64_t>(high.exponent) - low.exponent;
  int64_t scaled;
  int highOrder;  // how high compares with low
  if (gap > 18 ||
      __builtin_mul_overflow(high.mantissa, script_decimal_detail::kPowersOfTen[gap], &scaled))
    highOrder = signA;  // |high| is at least 2^63 units of low: beyond any 64-bit mantissa
  else highOrder = scaled < low.mantissa ? -1 : (scaled > low.mantissa);
  return aHigher ? highOrder : -highOrder;
}

inline bool operator==(const ScriptDecimal& a, const ScriptDecimal& b) {
  return ScriptDecimal::Compare(a, b) == 0;
}

#endif
