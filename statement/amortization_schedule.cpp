/*
** The schedule's lines, computed in decimal.
*/
#include "statement/amortization_schedule.h"

#include "tableaccess/value_forms.h"

namespace {

ScriptDecimal Cents(double value) {
  ScriptDecimal result;
  if (ScriptDecimal::FromDouble(value, 2, &result) != DecimalStatus::kOk) return {};
  return result;
}

ScriptDecimal Sum(const ScriptDecimal& a, const ScriptDecimal& b) {
  ScriptDecimal result = a;
  ScriptDecimal::Add(a, b, &result);
  return result;
}

ScriptDecimal Difference(const ScriptDecimal& a, const ScriptDecimal& b) {
  ScriptDecimal result = a;
  ScriptDecimal::Subtract(a, b, &result);
  return result;
}

/* Trailing zeros moved into the exponent, as every decimal keeps them. */
ScriptDecimal Canonical(int64_t mantissa, int32_t exponent) {
  if (mantissa == 0) return {};
  while (mantissa % 10 == 0) {
    mantissa /= 10;
    ++exponent;
  }
  return ScriptDecimal{mantissa, exponent};
}

/* A value's count of cents; false when it has finer places or does not fit. */
bool CentsOf(const ScriptDecimal& value, __int128* cents) {
  __int128 count = value.mantissa;
  int exponent = value.exponent + 2;
  if (exponent < 0 || exponent > 20) return value.IsZero() ? (*cents = 0, true) : false;
  for (int i = 0; i < exponent; ++i) count *= 10;
  *cents = count;
  return true;
}

}  // namespace

ScriptDecimal InterestAtCents(const ScriptDecimal& balance, const ScriptDecimal& monthlyRate) {
  __int128 cents = 0;
  if (!CentsOf(balance, &cents)) {
    ScriptDecimal product, rounded;
    ScriptDecimal::Multiply(balance, monthlyRate, &product);
    product.RoundToStep(-2, DecimalRounding::kHalfAwayFromZero, &rounded);
    return rounded;
  }
  // cents x mantissa is the product in units of 10^(exponent - 2): exact in 128 bits.
  __int128 product = cents * monthlyRate.mantissa;
  int shift = -monthlyRate.exponent;
  if (shift <= 0) {
    for (int i = 0; i < -shift && i < 18; ++i) product *= 10;
  } else if (shift > 36) {
    product = 0;  // below a millionth of a cent for any balance a schedule holds
  } else {
    __int128 divisor = 1;
    for (int i = 0; i < shift; ++i) divisor *= 10;
    __int128 quotient = product / divisor, remainder = product % divisor;
    __int128 twice = remainder < 0 ? -2 * remainder : 2 * remainder;
    if (twice > divisor || (twice == divisor && quotient % 2 != 0))
      quotient += product < 0 ? -1 : 1;
    product = quotient;
  }
  return Canonical(static_cast<int64_t>(product), -2);
}

ScriptDecimal MonthlyRate(double yearlyRatePercent) {
  ScriptDecimal rate, monthly;
  if (ScriptDecimal::FromDouble(yearlyRatePercent, 5, &rate) != DecimalStatus::kOk) return {};
  if (ScriptDecimal::Divide(rate, ScriptDecimal::FromLong(1200), &monthly) != DecimalStatus::kOk)
    return {};
  return monthly;
}

AmortizationSchedule::AmortizationSchedule(double principal, const ScriptDecimal& payment,
                                           double yearlyRatePercent, int32_t maturity,
                                           int originMonth, int originDay, int originYear)
    : payment_(payment),
      monthlyRate_(MonthlyRate(yearlyRatePercent)),
      maturity_(maturity),
      paymentDay_(originDay) {
  state_.balance = Cents(principal);
  state_.month = originMonth + 1;
  state_.year = originYear;
  if (state_.month > 12) {
    state_.month = 1;
    ++state_.year;
  }
}

AmortizationLine AmortizationSchedule::NextLine() {
  AmortizationLine line{};
  line.number = state_.next;
  line.month = state_.month;
  line.year = state_.year;
  int lastDay = DaysInMonth(state_.month, state_.year);
  line.day = paymentDay_ > lastDay ? lastDay : paymentDay_;

  const ScriptDecimal& balance = state_.balance;
  ScriptDecimal interest = InterestAtCents(balance, monthlyRate_);
  ScriptDecimal owed = Sum(balance, interest);
  ScriptDecimal pay = payment_;
  // The last payment, or one that would clear more than is owed, pays what is owed.
  if (state_.next >= maturity_ || ScriptDecimal::Compare(payment_, owed) >= 0) {
    pay = owed;
    state_.cleared = state_.next < maturity_;
  }
  line.payment = pay;
  line.interest = ScriptDecimal::Compare(interest, pay) <= 0 ? interest : pay;
  line.principal = Difference(pay, interest);
  line.balance = Difference(balance, line.principal);
  state_.balance = line.balance;

  ++state_.next;
  if (++state_.month > 12) {
    state_.month = 1;
    ++state_.year;
  }
  return line;
}
