/*
** Calendar arithmetic on day counts (the Julian day number minus one: 1582-10-15 is
** 2299160, 1900-01-01 is 2415020), and the date and time components values split into.
*/
#ifndef ZARNE_GRID_CALENDAR_H
#define ZARNE_GRID_CALENDAR_H

#include <cstdint>

long DateToJulian(int year, int month, int day);
void JulianToDate(long dayCount, int* year, int* month, int* day);
/* 1 Sunday .. 7 Saturday. */
int DayOfWeek(long dayCount);
/* The day count, or 0 when the date does not exist. */
long CheckedDateToJulian(int year, int month, int day);

#define TS_SQLDATE_BASE 2415020L

struct DateTimeParts {
  int year, month, day;
  int hour24, minute, second, millisecond;
};

#endif
