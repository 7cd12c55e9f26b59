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
  static bool ParseText(const char* text, int places, ScriptDecimal* result,
                        DecimalStatus* status);

  double ToDouble() const;
  /* Canonical text without exponent notation where short ("-12.5", "0.001"), else with
     one ("1e+30"); what tests and messages print. */
  std::string ToText() const;

  bool IsZero() const { return mantissa == 0; }
  int Sign() const { return mantissa > 0 ? 1 : (mantissa < 0 ? -1 : 0); }
  ScriptDecimal Negated() const;

  /* Arithmetic; on an error *result is left unchanged. */
  static DecimalStatus Add(const ScriptDecimal& a, const ScriptDecimal& b, ScriptDecimal* result);
  static DecimalStatus Subtract(const ScriptDecimal& a, const ScriptDecimal& b,
                                ScriptDecimal* result);
  static DecimalStatus Multiply(const ScriptDecimal& a, const ScriptDecimal& b,
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

inline bool operator==(const ScriptDecimal& a, const ScriptDecimal& b) {
  return ScriptDecimal::Compare(a, b) == 0;
}

#endif
