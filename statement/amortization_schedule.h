/*
** The arithmetic of an amortization schedule: one line per monthly payment with its date,
** payment, interest, principal and remaining balance. Money is decimal throughout: the
** balance at cents, the monthly rate the yearly rate over 1200, and each month's interest
** the exact product of the two rounded once to the cent (an exact half cent to the even
** cent). The last line, at maturity or as soon as the payment would clear the balance,
** pays the balance and its interest and leaves 0.00.
*/
#ifndef ZARNE_STATEMENT_AMORTIZATION_SCHEDULE_H
#define ZARNE_STATEMENT_AMORTIZATION_SCHEDULE_H

#include "script/script_decimal.h"

#include <cstdint>

struct AmortizationLine {
  int32_t number;
  int month, day, year;
  ScriptDecimal payment, interest, principal, balance;
};

/* Where the schedule stands: what a page saves at its start to print it again alike. */
struct AmortizationState {
  int32_t next = 1;
  ScriptDecimal balance;
  int month = 1;
  int year = 0;
  bool cleared = false;  // an early payment left nothing to pay
};

/* B x m rounded once to cents, ties to the even cent, from the exact product. */
ScriptDecimal InterestAtCents(const ScriptDecimal& balance, const ScriptDecimal& monthlyRate);
/* The yearly rate in percent (at 5 places) over 1200, to 18 significant digits. */
ScriptDecimal MonthlyRate(double yearlyRatePercent);

class AmortizationSchedule {
 public:
  /* The first payment falls in the month after origination, on the origination day (or
     the last day of a shorter month). */
  AmortizationSchedule(double principal, const ScriptDecimal& payment, double yearlyRatePercent,
                       int32_t maturity, int originMonth, int originDay, int originYear);

  bool Complete() const { return state_.cleared || state_.next > maturity_; }
  /* The next line, and the state moved past it. */
  AmortizationLine NextLine();

  const AmortizationState& State() const { return state_; }
  void Restore(const AmortizationState& state) { state_ = state; }
  const ScriptDecimal& MonthlyRateValue() const { return monthlyRate_; }

 private:
  ScriptDecimal payment_;
  ScriptDecimal monthlyRate_;
  int32_t maturity_;
  int paymentDay_;
  AmortizationState state_;
};

#endif
