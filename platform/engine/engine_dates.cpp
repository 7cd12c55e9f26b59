/*
** Day numbers of the engine: proleptic-Gregorian ordinals where 1 January of year 1 is
** day 1, for years 1 to 9999. The blank date is not a day and decodes as an error.
*/
#include "platform/engine/engine_internal.h"

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

/* Days before 1 January of year. */
long DaysBeforeYear(int year) {
  long y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

long DaysBeforeMonth(int year, int month) {
  long days = 0;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days;
}

const long kLastDay = DaysBeforeYear(10000);  // 31 December 9999

}  // namespace

using namespace zarne::engine;

EngineResult EngineEncodeDate(WORD month, WORD day, SHORT year, DWORD* date) {
  if (!date) return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineEncodeDate: no result address"});
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return Fail(ENGINE_ERR_INVALIDDATE, {"Month " + std::to_string(month) + ", day " +
                                         std::to_string(day) + ", year " + std::to_string(year)});
  }
  *date = static_cast<DWORD>(DaysBeforeYear(year) + DaysBeforeMonth(year, month) + day);
  return ENGINE_OK;
}

EngineResult EngineDecodeDate(DWORD date, WORD* month, WORD* day, SHORT* year) {
  if (!month || !day || !year) {
    return Fail(ENGINE_ERR_INVALIDPARAM, {"EngineDecodeDate: no result address"});
  }
  if (date < 1 || static_cast<long>(date) > kLastDay) {
    return Fail(ENGINE_ERR_INVALIDDATE, {"Day number " + std::to_string(date)});
  }
  long ordinal = static_cast<long>(date);
  // Estimate the year from the mean Gregorian year, then correct by at most one step.
  int y = static_cast<int>(ordinal / 365.2425) + 1;
  while (y > 1 && DaysBeforeYear(y) >= ordinal) --y;
  while (DaysBeforeYear(y + 1) < ordinal) ++y;
  long dayOfYear = ordinal - DaysBeforeYear(y);
  int m = 1;
  while (dayOfYear > DaysInMonth(y, m)) dayOfYear -= DaysInMonth(y, m++);
  *year = static_cast<SHORT>(y);
  *month = static_cast<WORD>(m);
  *day = static_cast<WORD>(dayOfYear);
  return ENGINE_OK;
}
