/*
** FormatData and GetCellData: a value as text under a picture, and text read back into a
** value. Readings that do not fit the type's stored form leave the value as it was.
*/
#include "grid/tessel.h"
#include "grid/values.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

template <typename T>
void Save(void* value, T in) {
  std::memcpy(value, &in, sizeof(T));
}

/* Fits the text to the width: overflow characters when too wide, fill when narrower. */
void FitText(HDC dc, std::string& text, int width, char overflow, int fill, char fillChar) {
  SIZE extent{};
  GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  if (overflow && extent.cx > width) {
    SIZE one{};
    GetTextExtentPoint32(dc, &overflow, 1, &one);
    size_t count = one.cx > 0 ? static_cast<size_t>(width / one.cx) : 0;
    text.assign(std::min<size_t>(count, TS_MAXTEXT - 1), overflow);
    return;
  }
  if (fill < 0 || !fillChar || extent.cx >= width) return;
  SIZE one{};
  GetTextExtentPoint32(dc, &fillChar, 1, &one);
  if (one.cx <= 0) return;
  size_t count = static_cast<size_t>((width - extent.cx) / one.cx);
  count = std::min(count, TS_MAXTEXT - 1 - text.size());
  text.insert(static_cast<size_t>(fill), count, fillChar);
}

bool SkipSign(const char*& p, bool* negative) {
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  *negative = false;
  if (*p == '-' || *p == '+') *negative = *p++ == '-';
  return true;
}

/* A decimal number with overflow checks: leading blanks and a sign, digits up to the
   first other character; no digits give 0. False when it passes the 64-bit range. */
bool ReadInteger(const char* text, int64_t* value) {
  const char* p = text ? text : "";
  bool negative = false;
  SkipSign(p, &negative);
  uint64_t magnitude = 0;
  while (std::isdigit(static_cast<unsigned char>(*p))) {
    uint64_t digit = static_cast<uint64_t>(*p++ - '0');
    if (magnitude > (static_cast<uint64_t>(INT64_MAX) + 1 - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  if (!negative && magnitude > static_cast<uint64_t>(INT64_MAX)) return false;
  *value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

bool StoreInteger(void* value, uint16_t type, int64_t number) {
  auto inRange = [&](int64_t low, int64_t high) { return number >= low && number <= high; };
  switch (type) {
    case TST_INT1:
      if (!inRange(INT8_MIN, INT8_MAX)) return false;
      Save<int8_t>(value, static_cast<int8_t>(number));
      return true;
    case TST_SQLINT1:
    case TST_UINT1:
      if (!inRange(0, UINT8_MAX)) return false;
      Save<uint8_t>(value, static_cast<uint8_t>(number));
      return true;
    case TST_INT2:
    case TST_SQLINT2:
      if (!inRange(INT16_MIN, INT16_MAX)) return false;
      Save<int16_t>(value, static_cast<int16_t>(number));
      return true;
    case TST_UINT2:
      if (!inRange(0, UINT16_MAX)) return false;
      Save<uint16_t>(value, static_cast<uint16_t>(number));
      return true;
    case TST_INT4:
    case TST_SQLINT4:
    case TST_CHECKBOX:
      if (!inRange(INT32_MIN, INT32_MAX)) return false;
      Save<int32_t>(value, static_cast<int32_t>(number));
      return true;
    case TST_UINT4:
      if (!inRange(0, UINT32_MAX)) return false;
      Save<uint32_t>(value, static_cast<uint32_t>(number));
      return true;
    default: return false;
  }
}

/* Money: up to 24 digits and one point, four decimals kept (cut, not rounded), within
   the signed 64-bit count of ten-thousandths. */
bool ReadMoney(const char* text, int64_t* count) {
  if (!text || !*text) {
    *count = 0;
    return true;
  }
  const char* p = text;
  bool negative = false;
  SkipSign(p, &negative);
  __int128 magnitude = 0;
  int digits = 0, decimals = 0;
  bool point = false;
  for (; digits < 24; ++p) {
    if (*p == '.' && !point) {
      point = true;
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p))) break;
    ++digits;
    if (point && decimals == 4) continue;
    magnitude = magnitude * 10 + (*p - '0');
    if (point) ++decimals;
  }
  for (; decimals < 4; ++decimals) magnitude *= 10;
  __int128 limit = negative ? static_cast<__int128>(INT64_MAX) + 1 : INT64_MAX;
  if (magnitude > limit) return false;
  *count = static_cast<int64_t>(negative ? -magnitude : magnitude);
  return true;
}

bool ReadReal(const char* text, double* value) {
  const char* p = text ? text : "";
  errno = 0;
  char* end = nullptr;
  double number = std::strtod(p, &end);
  if (end == p) number = 0.0;
  if (!std::isfinite(number)) return false;
  *value = number;
  return true;
}

/* "TtYy" true, "FfNn" false, by the first of them in the text; none at all reads true. */
bool YesNo(const char* text) {
  for (const char* p = text ? text : ""; *p; ++p) {
    if (std::strchr("TtYy", *p)) return true;
    if (std::strchr("FfNn", *p)) return false;
  }
  return true;
}

void StoreCharacters(void* value, const char* text, uint16_t type, uint16_t length) {
  if (length == 0) return;  // a column whose length was never set holds nothing
  char* bytes = static_cast<char*>(value);
  const char* source = text ? text : "";
  if (type == TST_SQLVARCHAR) {
    size_t count = strnlen(source, length - 1);
    std::memset(bytes, 0, length);
    bytes[0] = static_cast<char>(count);
    std::memcpy(bytes + 1, source, count);
    return;
  }
  size_t count = strnlen(source, length);
  std::memset(bytes, 0, length);
  std::memcpy(bytes, source, count);
}

void GeneralReading(void* value, const char* text, uint16_t length, uint16_t type) {
  switch (type) {
    case TST_SQLVARCHAR:
    case TST_SQLCHAR:
    case TST_ZSTRING: StoreCharacters(value, text, type, length); return;
    case TST_SQLBIT: Save<uint8_t>(value, YesNo(text) ? 1 : 0); return;
    case TST_SQLMONEY: {
      int64_t count = 0;
      if (ReadMoney(text, &count)) WriteMoneyWords(value, count);
      return;
    }
    case TST_REAL4:
    case TST_REAL8:
    case TST_SQLFLT8: {
      double number = 0;
      if (!ReadReal(text, &number)) return;
      if (type == TST_REAL4) {
        if (std::fabs(number) > 3.4028234663852886e38) return;
        Save<float>(value, static_cast<float>(number));
      } else {
        Save<double>(value, number);
      }
      return;
    }
    case TST_CHAR: Save<char>(value, text ? text[0] : '\0'); return;
    default:
      if (IsDateTimeType(type)) {
        ParsedDateTime parsed;
        if (ParseDateTimeText(text, false, &parsed)) StoreDateCell(value, type, parsed);
        return;
      }
      int64_t number = 0;
      if (ReadInteger(text, &number)) StoreInteger(value, type, number);
  }
}

bool DayFirst(const char* picture) {
  return picture && (std::strstr(picture, "D\\-M") || std::strstr(picture, "D/M") ||
                     std::strstr(picture, "D\\.M"));
}

void StoreYesNo(void* value, const char* text, uint16_t type) {
  uint32_t truth = YesNo(text) ? 1 : 0;
  switch (type) {
    case TST_SQLINT1:
    case TST_SQLBIT:
    case TST_INT1:
    case TST_CHAR:
    case TST_UINT1: Save<uint8_t>(value, static_cast<uint8_t>(truth)); return;
    case TST_SQLINT2:
    case TST_INT2:
    case TST_UINT2: Save<uint16_t>(value, static_cast<uint16_t>(truth)); return;
    case TST_SQLINT4:
    case TST_INT4:
    case TST_UINT4:
    case TST_CHECKBOX: Save<uint32_t>(value, truth); return;
    default: return;
  }
}

void NumericReading(void* value, const char* text, uint16_t length, uint16_t type) {
  switch (type) {
    case TST_SQLVARCHAR:
    case TST_SQLCHAR:
    case TST_ZSTRING: return;
    case TST_SQLBIT:
    case TST_CHAR: {
      char first = text ? text[0] : '\0';
      Save<uint8_t>(value, static_cast<uint8_t>(
                               std::isdigit(static_cast<unsigned char>(first)) ? first - '0' : 0));
      return;
    }
    default:
      if (IsDateTimeType(type)) return;
      GeneralReading(value, text, length, type);
  }
}

}  // namespace

const char* StandardPicture(const char* picture, uint16_t type) {
  switch (ClassifyPicture(picture && *picture ? picture : "")) {
    case kNumericPicture:
      if (type == TST_SQLMONEY) return "0.00";
      if (type == TST_SQLFLT8 || type == TST_REAL4 || type == TST_REAL8) return "@";
      return "0";
    case kDatePicture:
      if (type == TST_FILEDATE) return DayFirst(picture) ? "DD/MM/YY" : "MM/DD/YY";
      if (type == TST_FILETIME) return "hh:mm:ssp\\m";
      return DayFirst(picture) ? "DD/MM/YY hh:mm:ssp\\m" : "MM/DD/YY hh:mm:ssp\\m";
    case kBoolPicture: return "t";
    default: return "@";
  }
}

extern "C" int FormatData(HDC dc, char* text, const char* picture, const void* value, WORD type,
                          WORD length, int width, char overflow) {
  if (!text) return 0;
  if (!value) {
    text[0] = '\0';
    return 0;
  }
  const char* shown = picture && *picture ? picture : "@";
  BoundedText out;
  int fill = -1;
  char fillChar = 0;
  switch (ClassifyPicture(shown)) {
    case kLiteralPicture: FormatLiteralPicture(out, shown, &fill, &fillChar); break;
    case kTextPicture:
      FormatTextPicture(out, shown, GeneralText(value, type, length), &fill, &fillChar);
      break;
    case kNumericPicture: FormatNumberPicture(out, shown, value, type, &fill, &fillChar); break;
    case kDatePicture: FormatDatePicture(out, shown, value, type, &fill, &fillChar); break;
    case kBoolPicture: FormatBoolPicture(out, shown, value, type, &fill, &fillChar); break;
  }
  std::string result = out.Text();
  if (dc && width > 0)
    FitText(dc, result, width, ClassifyPicture(shown) == kNumericPicture ? overflow : 0, fill,
            fillChar);
  if (result.size() > TS_MAXTEXT - 1) result.resize(TS_MAXTEXT - 1);
  std::memcpy(text, result.c_str(), result.size() + 1);
  return static_cast<int>(result.size());
}

extern "C" int GetCellData(void* value, const char* text, const char* picture, WORD length,
                           WORD type) {
  if (!value) return 0;
  const char* standard = StandardPicture(picture, type);
  switch (ClassifyPicture(standard)) {
    case kNumericPicture: NumericReading(value, text, length, type); break;
    case kDatePicture:
      if (IsDateTimeType(type)) {
        ParsedDateTime parsed;
        if (ParseDateTimeText(text, DayFirst(picture), &parsed)) StoreDateCell(value, type, parsed);
      }
      break;
    case kBoolPicture: StoreYesNo(value, text, type); break;
    default: GeneralReading(value, text, length, type);
  }
  return 0;
}
