/*
** Date and time values: splitting the four stored forms into parts, laying them out by a
** date picture, reading date and time text, and storing the parts back. Only dates that
** exist are stored; an MS-DOS date keeps to its years 1980-2107.
*/
#include "grid/values.h"

#include "platform/kernel/kernel.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

template <typename T>
T Load(const void* value) {
  T out;
  std::memcpy(&out, value, sizeof(T));
  return out;
}

template <typename T>
void Save(void* value, T in) {
  std::memcpy(value, &in, sizeof(T));
}

std::string Number(int value, bool twoDigits) {
  char text[16];
  std::snprintf(text, sizeof text, twoDigits ? "%02d" : "%d", value);
  return text;
}

int RunLength(const char* p, int most) {
  int n = 1;
  while (n < most && p[n] == p[0]) ++n;
  return n;
}

void WriteField(BoundedText& out, char letter, int run, const DateTimeParts& parts) {
  int hour12 = parts.hour24 % 12 == 0 ? 12 : parts.hour24 % 12;
  switch (letter) {
    case 'D':
      if (run <= 2) out.Add(Number(parts.day, run == 2));
      else {
        long count = DateToJulian(parts.year, parts.month, parts.day);
        std::string name = kWeekdays[DayOfWeek(count) - 1];
        out.Add(run == 3 ? name.substr(0, 3) : name);
      }
      break;
    case 'M':
      if (run <= 2) out.Add(Number(parts.month, run == 2));
      else if (parts.month >= 1 && parts.month <= 12) {
        std::string name = kMonths[parts.month - 1];
        out.Add(run == 3 ? name.substr(0, 3) : name);
      }
      break;
    case 'Y':
      if (run == 1) out.Add('Y');
      else if (run == 4) out.Add(Number(parts.year, false));
      else {
        out.Add(Number(((parts.year % 100) + 100) % 100, true));
        if (run == 3) out.Add('Y');
      }
      break;
    case 'h': out.Add(Number(hour12, run == 2)); break;
    case 'H': out.Add(Number(parts.hour24, run == 2)); break;
    case 'm': out.Add(Number(parts.minute, run == 2)); break;
    case 's': out.Add(Number(parts.second, run == 2)); break;
    case 'f': {
      std::string ms = Number(parts.millisecond, false);
      ms.insert(0, 3 - std::min<size_t>(3, ms.size()), '0');
      out.Add(ms.substr(0, run));
      break;
    }
    case 'P': out.Add(parts.hour24 < 12 ? 'A' : 'P'); break;
    case 'p': out.Add(parts.hour24 < 12 ? 'a' : 'p'); break;
    default: out.Add(letter);
  }
}

int MostRun(char letter) {
  if (letter == 'D' || letter == 'M' || letter == 'Y') return 4;
  if (letter == 'f') return 3;
  if (letter == 'h' || letter == 'H' || letter == 'm' || letter == 's') return 2;
  return 1;
}

void Today(int* year, int* month, int* day, int* hour, int* minute, int* second) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  *year = now.wYear;
  *month = now.wMonth;
  *day = now.wDay;
  *hour = now.wHour;
  *minute = now.wMinute;
  *second = now.wSecond;
}

/* "d" or "dd" followed by a separator; the number of characters of the field. */
bool ReadDateField(const char* text, int* value, size_t* used) {
  if (!std::isdigit(static_cast<unsigned char>(text[0]))) return false;
  bool single = text[1] == '/' || text[1] == '-';
  if (single) {
    *value = text[0] - '0';
    *used = 2;
    return true;
  }
  if (!std::isdigit(static_cast<unsigned char>(text[1]))) return false;
  *value = (text[0] - '0') * 10 + (text[1] - '0');
  *used = 3;
  return text[2] != '\0';
}

bool AllDigits(const std::string& text) {
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return !text.empty();
}

bool ParseDateToken(const std::string& token, bool dayFirst, ParsedDateTime* parsed) {
  if (token.size() < 3) return false;
  int first = 0, second = 0;
  size_t used = 0;
  if (!ReadDateField(token.c_str(), &first, &used)) return false;
  std::string rest = token.substr(used);
  std::string yearText;
  if (rest.size() < 3) {
    if (!AllDigits(rest)) return false;
    second = std::stoi(rest);
  } else {
    size_t secondUsed = 0;
    if (!ReadDateField(rest.c_str(), &second, &secondUsed)) return false;
    yearText = rest.substr(secondUsed);
  }
  int year = 0;
  if (yearText.empty()) {
    int m, d, h, mi, s;
    Today(&year, &m, &d, &h, &mi, &s);
  } else {
    if ((yearText.size() != 2 && yearText.size() != 4) || !AllDigits(yearText)) return false;
    year = std::stoi(yearText);
    if (year < 100) year += 1900;
  }
  int day = dayFirst ? first : second;
  int month = dayFirst ? second : first;
  if (day < 0 || day > 31 || month < 0 || month > 12) return false;
  parsed->hasDate = true;
  parsed->year = year;
  parsed->month = month;
  parsed->day = day;
  return true;
}

bool Digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

/* Reads the time token; rest receives what follows it in the token. */
bool ParseTimeToken(const std::string& token, ParsedDateTime* parsed, std::string* rest) {
  const char* t = token.c_str();
  int hour;
  size_t at;
  if (Digit(t[0]) && t[1] == ':') {
    hour = t[0] - '0';
    at = 2;
  } else if (Digit(t[0]) && Digit(t[1]) && t[2] == ':') {
    hour = (t[0] - '0') * 10 + t[1] - '0';
    at = 3;
  } else return false;
  if (hour > 23) return false;
  int minute;
  if (!Digit(t[at])) return false;
  if (t[at + 1] == ':' || t[at + 1] == '\0' || !Digit(t[at + 1])) {
    minute = t[at] - '0';
    at += 1;
  } else {
    minute = (t[at] - '0') * 10 + t[at + 1] - '0';
    at += 2;
  }
  if (minute > 59) return false;
  int second = 0;
  if (t[at] == ':' && Digit(t[at + 1])) {
    if (Digit(t[at + 2])) {
      second = (t[at + 1] - '0') * 10 + t[at + 2] - '0';
      at += 3;
    } else {
      second = t[at + 1] - '0';
      at += 2;
    }
    if (second > 59) return false;
  }
  parsed->hasTime = true;
  parsed->hour = hour;
  parsed->minute = minute;
  parsed->second = second;
  *rest = token.substr(at);
  return true;
}

bool ApplyMeridiem(const std::string& marker, ParsedDateTime* parsed) {
  char first = static_cast<char>(std::toupper(static_cast<unsigned char>(marker[0])));
  if (first != 'A' && first != 'P') return false;
  if (marker.size() > 1 && std::toupper(static_cast<unsigned char>(marker[1])) != 'M') return false;
  int hour = parsed->hour;
  if (hour > 12) hour -= 12;
  if (hour < 1 || hour > 12) return false;
  if (first == 'P' && hour < 12) hour += 12;
  if (first == 'A' && hour == 12) hour = 0;
  parsed->hour = hour;
  return true;
}

std::vector<std::string> Tokens(const char* text) {
  std::string limited(text, strnlen(text, 99));
  std::vector<std::string> tokens;
  std::string current;
  for (char c : limited) {
    if (c == ' ' || c == '\t') {
      if (!current.empty()) tokens.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) tokens.push_back(current);
  return tokens;
}

int DayOfYear(int year, int month, int day) {
  return static_cast<int>(DateToJulian(year, month, day) - DateToJulian(year, 1, 1));
}

}  // namespace

DateTimeParts DecodeDateTime(const void* value, uint16_t type) {
  DateTimeParts parts{};
  const char* bytes = static_cast<const char*>(value);
  switch (type) {
    case TST_SQLDATETIME: {
      int32_t day = Load<int32_t>(bytes);
      int32_t ticks = Load<int32_t>(bytes + 4);
      JulianToDate(static_cast<long>(day) + TS_SQLDATE_BASE, &parts.year, &parts.month, &parts.day);
      long total = static_cast<long>(ticks) * 10 / 3;
      parts.millisecond = static_cast<int>(total % 1000);
      total /= 1000;
      parts.second = static_cast<int>(total % 60);
      parts.minute = static_cast<int>(total / 60 % 60);
      parts.hour24 = static_cast<int>(total / 3600 % 24);
      break;
    }
    case TST_FILEDATE: {
      uint16_t packed = Load<uint16_t>(bytes);
      parts.year = 1980 + (packed >> 9);
      parts.month = (packed >> 5) & 15;
      parts.day = packed & 31;
      break;
    }
    case TST_FILETIME: {
      uint16_t packed = Load<uint16_t>(bytes);
      parts.hour24 = packed >> 11;
      parts.minute = (packed >> 5) & 63;
      parts.second = (packed & 31) * 2;
      break;
    }
    case TST_CDATETIME: {
      parts.second = Load<int32_t>(bytes);
      parts.minute = Load<int32_t>(bytes + 4);
      parts.hour24 = Load<int32_t>(bytes + 8);
      parts.day = Load<int32_t>(bytes + 12);
      parts.month = Load<int32_t>(bytes + 16) + 1;
      parts.year = Load<int32_t>(bytes + 20) + 1900;
      break;
    }
    default: break;
  }
  return parts;
}

void FormatDatePicture(BoundedText& out, const char* picture, const void* value, uint16_t type,
                       int* fill, char* fillChar) {
  DateTimeParts parts = DecodeDateTime(value, type);
  if (parts.day == 0) return;  // no date: the empty text, a time of day alone included
  for (const char* p = picture; *p;) {
    char c = *p;
    if (std::strchr("DMYhHmsfPp", c)) {
      int run = RunLength(p, MostRun(c));
      WriteField(out, c, run, parts);
      p += run;
    } else if (c == '/' || c == ':') {
      out.Add(c);
      ++p;
    } else {
      p += ReadLiteral(p, out, fill, fillChar);
    }
  }
}

bool ParseDateTimeText(const char* text, bool dayFirst, ParsedDateTime* parsed) {
  std::vector<std::string> tokens = Tokens(text ? text : "");
  if (tokens.empty()) return false;
  size_t next = 0;
  if (tokens[0].find_first_of("/-") != std::string::npos) {
    if (!ParseDateToken(tokens[0], dayFirst, parsed)) return false;
    next = 1;
  }
  if (next < tokens.size()) {
    std::string rest;
    if (!ParseTimeToken(tokens[next], parsed, &rest)) return false;
    ++next;
    std::string marker = !rest.empty() ? rest : (next < tokens.size() ? tokens[next] : "");
    if (!marker.empty() && rest.empty() && !ApplyMeridiem(marker, parsed)) return false;
  }
  return parsed->hasDate || parsed->hasTime;
}

bool StoreDateCell(void* value, uint16_t type, const ParsedDateTime& parsed) {
  int year, month, day, hour, minute, second;
  Today(&year, &month, &day, &hour, &minute, &second);
  if (parsed.hasDate) {
    if (CheckedDateToJulian(parsed.year, parsed.month, parsed.day) == 0) return false;
    year = parsed.year;
    month = parsed.month;
    day = parsed.day;
  }
  if (parsed.hasTime) {
    hour = parsed.hour;
    minute = parsed.minute;
    second = parsed.second;
  }
  char* bytes = static_cast<char*>(value);
  switch (type) {
    case TST_SQLDATETIME: {
      int32_t dayNumber = static_cast<int32_t>(DateToJulian(year, month, day) - TS_SQLDATE_BASE);
      int64_t ms = ((static_cast<int64_t>(hour) * 60 + minute) * 60 + second) * 1000;
      Save<int32_t>(bytes, dayNumber);
      Save<int32_t>(bytes + 4, static_cast<int32_t>(ms * 3 / 10));
      return true;
    }
    case TST_FILEDATE:
      if (!parsed.hasDate || year < 1980 || year > 2107) return false;
      Save<uint16_t>(bytes, static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day));
      return true;
    case TST_FILETIME:
      if (!parsed.hasTime) return false;
      Save<uint16_t>(bytes, static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2)));
      return true;
    case TST_CDATETIME:
      Save<int32_t>(bytes, second);
      Save<int32_t>(bytes + 4, minute);
      Save<int32_t>(bytes + 8, hour);
      Save<int32_t>(bytes + 12, day);
      Save<int32_t>(bytes + 16, month - 1);
      Save<int32_t>(bytes + 20, year - 1900);
      Save<int32_t>(bytes + 24, DayOfWeek(DateToJulian(year, month, day)) - 1);
      Save<int32_t>(bytes + 28, DayOfYear(year, month, day));
      return true;
    default: return false;
  }
}
