/*
** The general text of each cell type, floating-point and money digits.
*/
#include "grid/values.h"

#include "grid/type_table.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

template <typename T>
T Load(const void* value) {
  T out;
  std::memcpy(&out, value, sizeof(T));
  return out;
}

/* Raises the last digit of digits by one, carrying left past the point. */
void CarryUp(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '.') continue;
    if (digits[i] != '9') {
      digits[i] += 1;
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

/* The in-cell editor's text limit of a number type, so its text can be edited whole. */
size_t EditLimitOf(uint16_t type) {
  const TesselTypeInfo* info = FindTesselType(type);
  return info && info->editLimit > 0 ? static_cast<size_t>(info->editLimit) : TS_MAXTEXT - 1;
}

std::string CharactersUpToNul(const char* text, size_t length) {
  return std::string(text, strnlen(text, length));
}

}  // namespace

std::string FormatDouble(double value, int decimals) {
  if (!std::isfinite(value)) return "N/A";
  char expansion[400];
  std::snprintf(expansion, sizeof expansion, "%.20f", std::fabs(value));
  std::string digits = expansion;
  bool negative = std::signbit(value) && value != 0.0;
  size_t point = digits.find('.');
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (!digits.empty() && digits.back() == '.') digits.pop_back();
  if (decimals >= 0) {
    point = digits.find('.');
    if (point == std::string::npos) {
      point = digits.size();
      digits += '.';
    }
    size_t have = digits.size() - point - 1;
    if (have < static_cast<size_t>(decimals)) {
      digits.append(decimals - have, '0');
    } else if (have > static_cast<size_t>(decimals)) {
      char dropped = digits[point + 1 + decimals];
      digits.resize(point + 1 + decimals);
      if (dropped >= '5') CarryUp(digits);
    }
    if (decimals == 0) digits.resize(digits.find('.'));
  }
  return negative ? "-" + digits : digits;
}

namespace {

/* The shortest text that reads back to the same value, at most limit characters. */
template <typename Real>
std::string ShortestRealText(Real value, size_t limit) {
  if (!std::isfinite(value)) return "N/A";
  if (value == 0) return "0";  // minus zero too: it reads back equal
  char text[400];
  auto written = [&](std::to_chars_result result) { return std::string(text, result.ptr); };
  // Plain digits where they fit, else the exponent form; only a value whose every
  // round-trip form is too long gives up digits, keeping as many as the limit allows.
  std::string plain =
      written(std::to_chars(text, text + sizeof text, value, std::chars_format::fixed));
  if (plain.size() <= limit) return plain;
  std::string exponent =
      written(std::to_chars(text, text + sizeof text, value, std::chars_format::scientific));
  if (exponent.size() <= limit) return exponent;
  for (int digits = std::numeric_limits<Real>::max_digits10; digits > 1; --digits) {
    std::string shorter =
        written(std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits));
    if (shorter.size() <= limit) return shorter;
  }
  return written(std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 0));
}

}  // namespace

int64_t ReadMoneyWords(const void* value) {
  uint32_t high = Load<uint32_t>(value);
  uint32_t low = Load<uint32_t>(static_cast<const char*>(value) + 4);
  return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

void WriteMoneyWords(void* value, int64_t count) {
  uint64_t bits = static_cast<uint64_t>(count);
  uint32_t high = static_cast<uint32_t>(bits >> 32);
  uint32_t low = static_cast<uint32_t>(bits);
  std::memcpy(value, &high, 4);
  std::memcpy(static_cast<char*>(value) + 4, &low, 4);
}

std::string FormatMoney(int64_t count) {
  // The magnitude as unsigned, so the smallest count keeps its digits.
  uint64_t magnitude = count < 0 ? 0 - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
  std::string digits = std::to_string(magnitude);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  digits.insert(digits.size() - 4, ".");
  return count < 0 ? "-" + digits : digits;
}

bool IsDateTimeType(uint16_t type) {
  return type == TST_SQLDATETIME || type == TST_FILEDATE || type == TST_FILETIME ||
         type == TST_CDATETIME;
}

std::string GeneralText(const void* value, uint16_t type, uint16_t length) {
  const char* bytes = static_cast<const char*>(value);
  switch (type) {
    case TST_INT1: return std::to_string(Load<int8_t>(value));
    case TST_INT2:
    case TST_SQLINT2: return std::to_string(Load<int16_t>(value));
    case TST_INT4:
    case TST_SQLINT4:
    case TST_CHECKBOX: return std::to_string(Load<int32_t>(value));
    case TST_UINT1:
    case TST_SQLINT1: return std::to_string(Load<uint8_t>(value));
    case TST_UINT2: return std::to_string(Load<uint16_t>(value));
    case TST_UINT4: return std::to_string(Load<uint32_t>(value));
    case TST_REAL4: return ShortestRealText(Load<float>(value), EditLimitOf(type));
    case TST_REAL8:
    case TST_SQLFLT8: return ShortestRealText(Load<double>(value), EditLimitOf(type));
    case TST_SQLMONEY: return FormatMoney(ReadMoneyWords(value));
    case TST_SQLBIT: return bytes[0] ? "True" : "False";
    case TST_CHAR: return std::string(1, bytes[0]);
    case TST_ZSTRING:
    case TST_SQLCHAR: return CharactersUpToNul(bytes, length);
    case TST_SQLVARCHAR: {
      if (length == 0) return "";
      size_t count = static_cast<uint8_t>(bytes[0]);
      if (count > static_cast<size_t>(length - 1)) count = length - 1;
      return std::string(bytes + 1, count);
    }
    default: {
      if (!IsDateTimeType(type)) return "N/A";
      BoundedText out;
      int fill = -1;
      char fillChar = 0;
      FormatDatePicture(out, "MM/DD/YY hh:mm:ss P\\M", value, type, &fill, &fillChar);
      return out.Text();
    }
  }
}
