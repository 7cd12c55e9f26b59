/*
** The field editor's validators. The date checks read the text part by part (month, day,
** year) so that the partial check can stop wherever the typing has got to.
*/
#include "tableaccess/validators.h"

#include "tableaccess/value_forms.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/* Up to maxDigits digits at p, moved past; answers how many were read. */
int ReadNumber(const char*& p, int maxDigits, int& value) {
  int count = 0;
  value = 0;
  while (count < maxDigits && IsDigit(*p)) {
    value = value * 10 + (*p - '0');
    ++p;
    ++count;
  }
  return count;
}

/* Days a month may have while its year is unknown: February counts 29. */
int DayLimit(int month) {
  switch (month) {
    case 2: return 29;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
  }
}

/* Two-digit years: below 91 in the 2000s, the rest in the 1900s. */
int FullYear(int year) {
  if (year >= 100) return year;
  return year < 91 ? 2000 + year : 1900 + year;
}

/* One month or day part of a whole date: 1 or 2 digits in 1..limit, then '/', which may be
** left out after 2 digits. */
bool ReadWholePart(const char*& p, int limit, int& value) {
  int count = ReadNumber(p, 2, value);
  if (count == 0 || value < 1 || value > limit) return false;
  if (*p == '/') ++p;
  else if (count == 1) return false;
  return true;
}

/* One month or day part being typed: up to 2 digits in 1..limit, then '/' or the end. Sets
** `ended` when the text stops within or right after the part. */
bool ReadTypedPart(const char*& p, int limit, int& value, bool& ended) {
  ended = false;
  if (*p == '\0') {
    ended = true;
    return true;
  }
  int count = ReadNumber(p, 2, value);
  if (count == 0 || value < 1 || value > limit) return false;
  if (*p == '\0') {
    ended = true;
    return true;
  }
  if (*p != '/') return false;
  ++p;
  return true;
}

/* An optional '-', digits, at most one '.'. */
bool IsSignedDecimal(const char* text) {
  const char* p = text;
  if (*p == '-') ++p;
  bool seenPoint = false;
  for (; *p; ++p) {
    if (*p == '.' && !seenPoint) seenPoint = true;
    else if (!IsDigit(*p)) return false;
  }
  return true;
}

bool IsDigitsOnly(const char* text) {
  for (const char* p = text; *p; ++p)
    if (!IsDigit(*p)) return false;
  return true;
}

/* A number text so long that it reads as infinity stands for no amount. */
bool ReadsFinite(const char* text) { return std::isfinite(std::strtod(text, nullptr)); }

}  // namespace

bool TMoneyValidator::IsValid(const char* text) { return IsMoneyText(text) && ReadsFinite(text); }

bool TMoneyValidator::IsValidInput(char* text, bool) { return IsMoneyText(text); }

bool TFloatValidator::IsValid(const char* text) {
  return IsSignedDecimal(text) && ReadsFinite(text);
}

bool TFloatValidator::IsValidInput(char* text, bool) { return IsSignedDecimal(text); }

bool TStateValidator::IsValid(const char*) { return true; }

bool TStateValidator::IsValidInput(char* text, bool) {
  for (char* c = text; *c; ++c)
    *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return true;
}

/* Digits only, and a value a 32-bit field can hold. */
bool TIntegerValidator::IsValid(const char* text) {
  if (!IsDigitsOnly(text)) return false;
  if (*text == '\0') return true;
  errno = 0;
  long long value = std::strtoll(text, nullptr, 10);
  return errno == 0 && value <= INT32_MAX;
}

bool TIntegerValidator::IsValidInput(char* text, bool) { return IsDigitsOnly(text); }

/* Month, day and year; the year of up to 4 digits must end the text and, read through the
** two-digit window, lie in 1991 to 2090. */
bool TDateValidator::IsValid(const char* text) {
  if (*text == '\0') return true;
  const char* p = text;
  int month, day, year;
  if (!ReadWholePart(p, 12, month) || !ReadWholePart(p, DayLimit(month), day)) return false;
  // An empty year or anything after the year is no date (a short year must end the text too).
  if (ReadNumber(p, 4, year) == 0 || *p != '\0') return false;
  year = FullYear(year);
  if (year < 1991 || year > 2090) return false;
  return !(month == 2 && day == 29 && !IsLeapYear(year));
}

bool TDateValidator::IsValidInput(char* text, bool) {
  const char* p = text;
  int month = 0, day = 0, year = 0;
  bool ended = false;
  if (!ReadTypedPart(p, 12, month, ended)) return false;
  if (ended) return true;
  if (!ReadTypedPart(p, DayLimit(month), day, ended)) return false;
  if (ended) return true;
  ReadNumber(p, 4, year);
  return *p == '\0';
}
