/*
** Value forms and shared helpers: the texts of dates, money and words, ledger status names,
** stored line breaks, party-name lists, the loan payment and the path helpers. Every write
** into a caller's buffer goes through BoundedText, so none leaves the buffer.
*/
#include "tableaccess/value_forms.h"

#include "tableaccess/bounded_text.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

double gLastTimeKey = 0.0;

namespace {

const char* const kMonthNames[13] = {"zero",    "January",  "February", "March",  "April",
                                     "May",     "June",     "July",     "August", "September",
                                     "October", "November", "December"};

const char* const kOnesWords[20] = {"",        "One",     "Two",       "Three",    "Four",
                                    "Five",    "Six",     "Seven",     "Eight",    "Nine",
                                    "Ten",     "Eleven",  "Twelve",    "Thirteen", "Fourteen",
                                    "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen"};

const char* const kTensWords[10] = {"",      "",      "Twenty",  "Thirty", "Forty",
                                    "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};

const char* const kStatusNames[8] = {"Ready", "Escrow", "Printed",    "Unposted",
                                     "Void",  "Posted", "Reconciled", "Balanced"};

/* Cents of the largest amount a check can carry in words: it fits a 32-bit unsigned count. */
constexpr double kLargestAmountInWords = 42949672.94;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/* Reads a whole, non-empty run of digits [begin, end); false for anything else. */
bool ReadDigits(const char* begin, const char* end, int& value) {
  if (begin == end || end - begin > 9) return false;
  value = 0;
  for (const char* p = begin; p != end; ++p) {
    if (!IsDigit(*p)) return false;
    value = value * 10 + (*p - '0');
  }
  return true;
}

const char* MonthName(int month) { return (month >= 1 && month <= 12) ? kMonthNames[month] : ""; }

const char* OrdinalSuffix(int day) {
  switch (day) {
    case 1:
    case 21:
    case 31: return "st";
    case 2:
    case 22: return "nd";
    case 3:
    case 23: return "rd";
    default: return "th";
  }
}

/* Proleptic-Gregorian ordinal of a date (1 January of year 1 is 1), for the weekday. */
long long DayOrdinal(int month, int day, int year) {
  long long y = year - 1;
  long long days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(m, year);
  return days + day;
}

LPSTR CopyToNewText(const char* text) {
  size_t length = std::strlen(text);
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

/* Copies a worked-out text into a caller buffer: cut to size - 1, terminated, rest zeroed. */
void CopyZeroFilled(const std::string& text, LPSTR destination, size_t size) {
  if (destination == nullptr || size == 0) return;
  size_t count = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(destination, text.data(), count);
  std::memset(destination + count, 0, size - count);
}

}  // namespace

/* ---- Validation ---- */

BOOL IsMoneyText(LPCSTR text) {
  if (text == nullptr) return FALSE;
  const char* p = text;
  if (*p == '-') ++p;
  bool seenPoint = false;
  int decimals = 0;
  for (; *p != '\0'; ++p) {
    if (*p == '.') {
      if (seenPoint) return FALSE;
      seenPoint = true;
    } else if (IsDigit(*p)) {
      if (seenPoint && ++decimals > 2) return FALSE;
    } else {
      return FALSE;
    }
  }
  return TRUE;
}

BOOL IsDateText(LPCSTR text) {
  if (text == nullptr) return FALSE;
  if (*text == '\0') return TRUE;
  int slashes = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '/') ++slashes;
    else if (!IsDigit(*p)) return FALSE;
  }
  int month, day, year;
  return slashes == 2 && ParseDate(text, month, day, year);
}

/* ---- Dates ---- */

BOOL ParseDate(LPCSTR text, int& month, int& day, int& year) {
  month = day = year = 0;
  if (text == nullptr) return FALSE;
  const char* firstSlash = std::strchr(text, '/');
  if (firstSlash == nullptr) return FALSE;
  const char* secondSlash = std::strchr(firstSlash + 1, '/');
  if (secondSlash == nullptr) return FALSE;
  const char* end = secondSlash + std::strlen(secondSlash);
  int m, d, y;
  /* Parts must be plain digits: a stray character makes the text no date at all. */
  if (!ReadDigits(text, firstSlash, m) || !ReadDigits(firstSlash + 1, secondSlash, d) ||
      !ReadDigits(secondSlash + 1, end, y))
    return FALSE;
  if (y < 100) y += (y > 90) ? 1900 : 2000;
  if (m < 1 || m > 12 || d < 1 || d > DaysInMonth(m, y)) return FALSE;
  month = m;
  day = d;
  year = y;
  return TRUE;
}

BOOL IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
  static const int kLengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kLengths[month];
}

void FormatShortDate(LPSTR buffer, LONG date, size_t size) {
  BoundedText out(buffer, size);
  if (date == kBlankDate) return;
  int month, day, year;
  DecodeDate(date, month, day, year);
  int shownYear = (year >= 1901 && year <= 1999) ? year - 1900 : year;
  out.Format("%02d/%02d/%02d", month, day, shownYear);
}

void FormatLongDate(LPSTR buffer, LONG date, size_t size) {
  BoundedText out(buffer, size);
  if (date == kBlankDate) return;
  int month, day, year;
  DecodeDate(date, month, day, year);
  out.Format("%s %d, %d", MonthName(month), day, year);
}

void FormatOrdinalDate(LPSTR buffer, LONG date, size_t size) {
  BoundedText out(buffer, size);
  if (date == kBlankDate) return;
  int month, day, year;
  DecodeDate(date, month, day, year);
  out.Format("%d%s day of %s, %d", day, OrdinalSuffix(day), MonthName(month), year);
}

BOOL IsFixedHoliday(int month, int day, int /*year*/) {
  return (month == 1 && day == 1) || (month == 7 && day == 4) || (month == 12 && day == 25);
}

BOOL IsWeekend(int month, int day, int year) {
  /* Day 1 was a Monday, so the weekday counted 1 Monday to 7 Sunday follows from the ordinal. */
  long long weekday = (DayOrdinal(month, day, year) - 1) % 7 + 1;
  return weekday == 6 || weekday == 7;
}

/* ---- Numbers and money ---- */

/* The money helpers read a copy of the source: callers may hand one buffer as both. */
int InsertThousandsCommas(LPCSTR source, LPSTR destination, size_t size) {
  const std::string text = source != nullptr ? source : "";
  BoundedText out(destination, size);
  if (source == nullptr) return 0;
  const char* p = text.c_str();
  if (*p == '-') out.Append(*p++);
  size_t digits = std::strcspn(p, ".");
  if (digits < 4) {
    out.Append(p);
    return 0;
  }
  size_t firstGroup = digits % 3 == 0 ? 3 : digits % 3;
  int commas = 0;
  for (size_t i = 0; i < digits; ++i) {
    if (i >= firstGroup && (i - firstGroup) % 3 == 0) {
      out.Append(',');
      ++commas;
    }
    out.Append(p[i]);
  }
  out.Append(p + digits);
  return commas;
}

int StripCommas(LPCSTR source, LPSTR destination, size_t size) {
  const std::string text = source != nullptr ? source : "";
  BoundedText out(destination, size);
  if (source == nullptr) return 0;
  int removed = 0;
  for (const char* p = text.c_str(); *p != '\0'; ++p) {
    if (*p == ',') ++removed;
    else out.Append(*p);
  }
  return removed;
}

void PadDecimals(LPCSTR source, LPSTR destination, int n, size_t size) {
  const std::string text = source != nullptr ? source : "";
  BoundedText out(destination, size);
  const char* p = text.c_str();
  const char* point = std::strchr(p, '.');
  const char* decimals = "";
  if (point != nullptr) {
    out.Append(p, static_cast<size_t>(point - p) + 1);
    decimals = point + 1;
  } else {
    out.Append(p);
    out.Append('.');
  }
  for (int i = 0; i < n; ++i) {
    if (*decimals != '\0') out.Append(*decimals++);
    else out.Append('0');
  }
}

double RoundToCents(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2lf", value);
  return std::atof(text);
}

/* ---- Words ---- */

void HundredsInWords(int n, LPSTR destination, size_t size) {
  if (n <= 0 || n > 999) return;
  BoundedText out = BoundedText::Appending(destination, size);
  int hundreds = n / 100;
  int rest = n % 100;
  if (hundreds != 0) {
    out.Append(kOnesWords[hundreds]);
    out.Append(" Hundred");
  }
  if (rest == 0) return;
  if (hundreds != 0) out.Append(' ');
  if (rest >= 20) {
    out.Append(kTensWords[rest / 10]);
    if (rest % 10 != 0) {
      out.Append(' ');
      out.Append(kOnesWords[rest % 10]);
    }
  } else {
    out.Append(kOnesWords[rest]);
  }
}

/*
** The longest result: "Forty Two" at most for the millions (the limit is 42 million), then
** " Million ", "Seven Hundred Seventy Seven" twice with " Thousand " between, " and " and
** "99/100 Dollars": under 110 bytes, inside kAmountWordsSize.
*/
void AmountInWords(LPSTR destination, double amount, size_t size) {
  BoundedText out(destination, size);
  if (!(amount >= 0.0) || amount > kLargestAmountInWords) return;
  unsigned long long cents = std::llround(RoundToCents(amount) * 100.0);
  unsigned millions = static_cast<unsigned>(cents / 100000000ULL);
  unsigned thousands = static_cast<unsigned>(cents / 100000ULL % 1000);
  unsigned units = static_cast<unsigned>(cents / 100ULL % 1000);
  unsigned centsPart = static_cast<unsigned>(cents % 100);
  if (millions != 0) {
    HundredsInWords(static_cast<int>(millions), destination, size);
    BoundedText::Appending(destination, size).Append(" Million ");
  }
  if (thousands != 0) {
    HundredsInWords(static_cast<int>(thousands), destination, size);
    BoundedText::Appending(destination, size).Append(" Thousand ");
  }
  HundredsInWords(static_cast<int>(units), destination, size);
  BoundedText tail = BoundedText::Appending(destination, size);
  if (millions != 0 || thousands != 0 || units != 0) tail.Append(" and ");
  tail.Format("%02u/100 Dollars", centsPart);
}

void StatusText(LPSTR buffer, SHORT code, size_t size) {
  BoundedText out(buffer, size);
  if (code >= 0 && code <= 7) out.Append(kStatusNames[code]);
}

SHORT StatusCode(LPCSTR name) {
  if (name == nullptr) return -1;
  for (SHORT code = 0; code <= 7; ++code)
    if (std::strcmp(name, kStatusNames[code]) == 0) return code;
  return -1;
}

/* ---- Texts of parties ---- */

LPSTR JoinNames(LPCSTR a, LPCSTR b, LPCSTR c, LPCSTR d) {
  auto empty = [](LPCSTR s) { return s == nullptr || *s == '\0'; };
  std::string joined;
  if (empty(a)) return CopyToNewText("");
  joined = a;
  if (empty(b)) return CopyToNewText(joined.c_str());
  if (empty(c)) return CopyToNewText((joined + " and " + b).c_str());
  if (empty(d)) return CopyToNewText((joined + ", " + b + " and " + c).c_str());
  return CopyToNewText((joined + ", " + b + ", " + c + " and " + d).c_str());
}

LPSTR GetPartyNames(LPCSTR fileNumber, LPCSTR partyTableName) {
  static const WORD kNameFields[4] = {2, 12, 22, 32};
  char names[4][81] = {};
  TPXTable table(partyTableName, 0);
  {
    TPXRecord record(&table, true);
    record.SetString(1, fileNumber);
    if (record.Seek(1, 0) && record.Read(0)) {
      for (int i = 0; i < 4; ++i) record.GetString(kNameFields[i], names[i], sizeof names[i]);
    }
  }
  return JoinNames(names[0], names[1], names[2], names[3]);
}

/* ---- Stored text ---- */

void PackLineBreaks(LPCSTR source, LPSTR destination, size_t size) {
  std::string packed;
  for (const char* p = source != nullptr ? source : ""; *p != '\0'; ++p) {
    if (p[0] == '\r' && p[1] == '\n') {
      packed += '\x0B';
      ++p;
    } else {
      packed += *p;
    }
  }
  CopyZeroFilled(packed, destination, size);
}

void UnpackLineBreaks(LPCSTR source, LPSTR destination, size_t size) {
  std::string unpacked;
  for (const char* p = source != nullptr ? source : ""; *p != '\0'; ++p) {
    if (*p == '\x0B') unpacked += "\r\n";
    else unpacked += *p;
  }
  CopyZeroFilled(unpacked, destination, size);
}

/* ---- Loan payment ---- */

double PowerOf(double x, int n) {
  double result = 1.0;
  for (int i = 0; i < n; ++i) result *= x;
  for (int i = 0; i > n; --i) result /= x;
  return result;
}

double LoanPayment(double principal, double annualRatePercent, int periodsPerYear, int periods) {
  if (principal <= 0.0 || periods < 1) return 0.0;
  /* At no interest the level payment is the principal spread evenly; the formula divides by 0. */
  if (annualRatePercent == 0.0 || periodsPerYear < 1) return principal / periods;
  double v = 1.0 / (1.0 + annualRatePercent / (periodsPerYear * 100.0));
  return principal / ((PowerOf(v, periods + 1) - v) / (v - 1.0));
}

/* ---- Paths ---- */

void BuildPath(LPSTR destination, LPCSTR directory, LPCSTR name, LPCSTR extension, size_t size) {
  BoundedText out(destination, size);
  /* An empty directory adds no separator: the name then stands as a bare, relative name. */
  if (directory != nullptr && *directory != '\0') {
    out.Append(directory);
    if (!out.EndsWith('\\')) out.Append('\\');
  }
  if (name != nullptr) out.Append(name);
  if (extension != nullptr && *extension != '\0') {
    if (!out.EndsWith('.') && extension[0] != '.') out.Append('.');
    out.Append(extension);
  }
}

/* ---- Date numbers through the engine ---- */

void EncodeDate(LONG& date, int month, int day, int year) {
  DWORD encoded = 0;
  /* A date the engine refuses is simply no date; callers test for the blank date. Parts
     that do not fit the engine's words are refused here, before they wrap into a real date. */
  if (year < INT16_MIN || year > INT16_MAX || month < 0 || month > UINT16_MAX || day < 0 ||
      day > UINT16_MAX ||
      EngineEncodeDate(static_cast<WORD>(month), static_cast<WORD>(day), static_cast<SHORT>(year),
                       &encoded) != ENGINE_OK) {
    date = kBlankDate;
    return;
  }
  date = static_cast<LONG>(encoded);
}

void DecodeDate(LONG date, int& month, int& day, int& year) {
  month = day = year = 0;
  if (date == kBlankDate) return;
  WORD m = 0, d = 0;
  SHORT y = 0;
  if (!PXCheck(EngineDecodeDate(static_cast<DWORD>(date), &m, &d, &y))) return;
  month = m;
  day = d;
  year = y;
}
