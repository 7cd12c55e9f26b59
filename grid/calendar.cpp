/*
** Day counts and dates, by the classic Julian-day formulas with the Gregorian switch
** after 1582-10-04; integer parts truncate as the formulas were written.
*/
#include "grid/calendar.h"

long DateToJulian(int year, int month, int day) {
  if (month < 3) {
    year -= 1;
    month += 12;
  }
  long b = 0;
  if (static_cast<long>(year) * 10000 + month * 100 + day >= 15821015L) {
    long a = year / 100;
    b = 2 - a + a / 4;
  }
  double years = 365.25 * year;
  if (year < 1) years -= 0.75;
  return static_cast<long>(years) + static_cast<long>(30.6001 * (month + 1)) + day + b + 1720994L;
}

void JulianToDate(long dayCount, int* year, int* month, int* day) {
  long z = dayCount + 1;
  long a = z;
  if (z >= 2299161L) {
    long alpha = static_cast<long>((z - 1867216.25) / 36524.25);
    a = z + 1 + alpha - alpha / 4;
  }
  long b = a + 1524;
  long c = static_cast<long>((b - 122.1) / 365.25);
  long d = static_cast<long>(365.25 * c);
  long e = static_cast<long>((b - d) / 30.6001);
  *day = static_cast<int>(b - d - static_cast<long>(30.6001 * e));
  *month = static_cast<int>(e < 14 ? e - 1 : e - 13);
  *year = static_cast<int>(*month > 2 ? c - 4716 : c - 4715);
}

int DayOfWeek(long dayCount) { return static_cast<int>((dayCount + 2) % 7) + 1; }

long CheckedDateToJulian(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || day > 31) return 0;
  long count = DateToJulian(year, month, day);
  int y = 0, m = 0, d = 0;
  JulianToDate(count, &y, &m, &d);
  return y == year && m == month && d == day ? count : 0;
}
