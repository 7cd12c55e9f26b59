/*
** Display pictures: classifying them and laying values out by text, numeric, date and
** yes/no pictures. Literal elements are a backslash pair, a quoted run and any character
** that is no placeholder of the picture's kind; an asterisk and a character set the fill.
*/
#include "grid/values.h"

#include <cctype>
#include <cstring>

namespace {

const char* const kTextPlaceholders = "@_anlu";
const char* const kNumberPlaceholders = "#0?.,+-()";
const char* const kDatePlaceholders = "DMYhHmsfPp/:";
const char* const kBoolPlaceholders = "ty";

bool In(char c, const char* set) { return c && std::strchr(set, c) != nullptr; }

template <typename T>
T Load(const void* value) {
  T out;
  std::memcpy(&out, value, sizeof(T));
  return out;
}

/* The length of the literal element at p (a backslash pair, a quoted run, a fill). */
size_t SkipLiteral(const char* p) {
  if (p[0] == '\\') return p[1] ? 2 : 1;
  if (p[0] == '*') return p[1] ? 2 : 1;
  if (p[0] == '"') {
    size_t i = 1;
    while (p[i] && p[i] != '"') i += (p[i] == '\\' && p[i + 1]) ? 2 : 1;
    return p[i] ? i + 1 : i;
  }
  return 0;
}

bool IsNumericType(uint16_t type) {
  switch (type) {
    case TST_INT1:
    case TST_INT2:
    case TST_INT4:
    case TST_UINT1:
    case TST_UINT2:
    case TST_UINT4:
    case TST_SQLINT1:
    case TST_SQLINT2:
    case TST_SQLINT4:
    case TST_SQLBIT:
    case TST_CHAR:
    case TST_CHECKBOX:
    case TST_REAL4:
    case TST_REAL8:
    case TST_SQLFLT8:
    case TST_SQLMONEY: return true;
    default: return false;
  }
}

bool IsZeroValue(const void* value, uint16_t type) {
  switch (type) {
    case TST_SQLBIT: return (Load<uint8_t>(value) & 1) == 0;
    case TST_INT1:
    case TST_UINT1:
    case TST_SQLINT1:
    case TST_CHAR: return Load<uint8_t>(value) == 0;
    case TST_INT2:
    case TST_UINT2:
    case TST_SQLINT2: return Load<uint16_t>(value) == 0;
    case TST_INT4:
    case TST_UINT4:
    case TST_SQLINT4:
    case TST_CHECKBOX: return Load<uint32_t>(value) == 0;
    case TST_SQLMONEY: return ReadMoneyWords(value) == 0;
    case TST_REAL4: return Load<float>(value) == 0.0f;
    case TST_REAL8:
    case TST_SQLFLT8: return Load<double>(value) == 0.0;
    default: return false;
  }
}

/* The value's digits under D decimals, its sign taken off. */
std::string NumberDigits(const void* value, uint16_t type, int decimals, bool* negative) {
  std::string digits;
  switch (type) {
    case TST_CHAR:
    case TST_SQLINT1:
    case TST_SQLBIT:
    case TST_UINT1: digits = std::to_string(Load<uint8_t>(value)); break;
    case TST_INT1: digits = std::to_string(Load<int8_t>(value)); break;
    case TST_INT2:
    case TST_SQLINT2: digits = std::to_string(Load<int16_t>(value)); break;
    case TST_UINT2: digits = std::to_string(Load<uint16_t>(value)); break;
    case TST_INT4:
    case TST_SQLINT4:
    case TST_CHECKBOX: digits = std::to_string(Load<int32_t>(value)); break;
    case TST_UINT4: digits = std::to_string(Load<uint32_t>(value)); break;
    case TST_REAL4: digits = FormatDouble(Load<float>(value), decimals); break;
    case TST_REAL8:
    case TST_SQLFLT8: digits = FormatDouble(Load<double>(value), decimals); break;
    case TST_SQLMONEY: digits = FormatMoney(ReadMoneyWords(value)); break;
    default: digits = "?";
  }
  if (digits == "N/A") digits = "?";  // a non-finite double shows question marks
  *negative = !digits.empty() && digits[0] == '-';
  if (*negative) digits.erase(0, 1);
  return digits;
}

struct NumberPlan {
  bool grouping = false;
  bool parentheses = false;
  bool signPlace = false;
  int decimals = 0;
  int integerPlaces = 0;
  int hashPadding = 0;
  bool blankZero = false;
};

NumberPlan PlanNumber(const char* picture) {
  NumberPlan plan;
  bool afterPoint = false;
  char lastIntegerPlaceholder = 0;
  for (const char* p = picture; *p;) {
    if (size_t skip = SkipLiteral(p)) {
      p += skip;
      continue;
    }
    char c = *p++;
    if (c == ',') plan.grouping = true;
    else if (c == '(') plan.parentheses = true;
    else if (c == '+' || c == '-') plan.signPlace = true;
    else if (c == '.') afterPoint = true;
    else if (c == '#' || c == '?' || c == '0') {
      if (afterPoint) plan.decimals += 1;
      else {
        plan.integerPlaces += 1;
        lastIntegerPlaceholder = c;
      }
    }
  }
  plan.blankZero = lastIntegerPlaceholder == '#' || lastIntegerPlaceholder == '?';
  return plan;
}

}  // namespace

PictureClass ClassifyPicture(const char* picture) {
  if (!picture || !*picture) return kTextPicture;
  for (const char* p = picture; *p;) {
    if (size_t skip = SkipLiteral(p)) {
      p += skip;
      continue;
    }
    char c = *p++;
    if (In(c, kTextPlaceholders)) return kTextPicture;
    if (In(c, kNumberPlaceholders)) return kNumericPicture;
    if (In(c, kDatePlaceholders)) return kDatePicture;
    if (In(c, kBoolPlaceholders)) return kBoolPicture;
  }
  return kLiteralPicture;
}

size_t ReadLiteral(const char* p, BoundedText& out, int* fill, char* fillChar) {
  if (p[0] == '\\') {
    if (p[1]) out.Add(p[1]);
    return p[1] ? 2 : 1;
  }
  if (p[0] == '*') {
    *fill = static_cast<int>(out.Size());
    *fillChar = p[1];
    return p[1] ? 2 : 1;
  }
  if (p[0] == '"') {
    size_t i = 1;
    while (p[i] && p[i] != '"') {
      if (p[i] == '\\' && p[i + 1]) ++i;
      out.Add(p[i++]);
    }
    return p[i] ? i + 1 : i;
  }
  out.Add(p[0]);
  return 1;
}

void FormatLiteralPicture(BoundedText& out, const char* picture, int* fill, char* fillChar) {
  for (const char* p = picture; *p;) p += ReadLiteral(p, out, fill, fillChar);
}

void FormatTextPicture(BoundedText& out, const char* picture, const std::string& general, int* fill,
                       char* fillChar) {
  if (!picture || !*picture) picture = "@";
  long placeholders = 0;
  for (const char* p = picture; *p;) {
    if (size_t skip = SkipLiteral(p)) {
      p += skip;
      continue;
    }
    if (In(*p++, kTextPlaceholders)) ++placeholders;
  }
  long spare = static_cast<long>(general.size()) - placeholders;
  if (spare < 0) spare = 0;  // more places than characters: each takes what is left
  size_t next = 0;
  bool atUsed = false;
  for (const char* p = picture; *p;) {
    char c = *p;
    if (!In(c, kTextPlaceholders)) {
      p += ReadLiteral(p, out, fill, fillChar);
      continue;
    }
    ++p;
    if (c == '@') {
      size_t take = atUsed ? 0 : static_cast<size_t>(spare + 1);
      atUsed = true;
      for (size_t i = 0; i < take && next < general.size(); ++i) out.Add(general[next++]);
      continue;
    }
    if (next >= general.size()) continue;
    char ch = general[next++];
    if (c == 'l') ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (c == 'u') ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    out.Add(ch);
  }
}

void FormatNumberPicture(BoundedText& out, const char* picture, const void* value, uint16_t type,
                         int* fill, char* fillChar) {
  NumberPlan plan = PlanNumber(picture);
  if (plan.blankZero && IsNumericType(type) && IsZeroValue(value, type)) return;
  bool negative = false;
  std::string digits = NumberDigits(value, type, plan.decimals, &negative);
  size_t point = digits.find('.');
  std::string integer = digits.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
  if (integer == "0" && plan.integerPlaces > 0) integer = "0";
  int n = static_cast<int>(integer.size());
  int padding = plan.integerPlaces > n ? plan.integerPlaces - n : 0;
  std::string surplus = n > plan.integerPlaces ? integer.substr(0, n - plan.integerPlaces) : "";
  size_t nextInteger = surplus.size();
  size_t nextFraction = 0;
  bool autoMinus = negative && !plan.parentheses && !plan.signPlace;
  bool started = false, afterPoint = false;
  int placeIndex = 0;
  // The grouping counter counts what the integer places will write.
  int hashPads = 0;
  {
    int seen = 0;
    for (const char* p = picture; *p && seen < padding;) {
      if (size_t skip = SkipLiteral(p)) {
        p += skip;
        continue;
      }
      char c = *p++;
      if (c == '.') break;
      if (c == '#' || c == '?' || c == '0') {
        if (c == '#') ++hashPads;
        ++seen;
      }
    }
  }
  int counter = plan.integerPlaces - hashPads + static_cast<int>(surplus.size());
  auto groupAfter = [&]() {
    --counter;
    if (plan.grouping && counter >= 1 && counter % 3 == 0) out.Add(',');
  };
  for (const char* p = picture; *p;) {
    char c = *p;
    if (!In(c, kNumberPlaceholders)) {
      p += ReadLiteral(p, out, fill, fillChar);
      continue;
    }
    ++p;
    if (!started && In(c, "#?0.")) {
      started = true;
      if (autoMinus) out.Add('-');
      for (char s : surplus) {
        out.Add(s);
        groupAfter();
      }
    }
    switch (c) {
      case '#':
      case '?':
      case '0':
        if (!afterPoint && placeIndex < padding) {
          ++placeIndex;
          if (c == '?') out.Add(' ');
          if (c == '0') {
            out.Add('0');
            groupAfter();
          } else if (c == '?') groupAfter();
          break;
        }
        if (!afterPoint) {
          ++placeIndex;
          out.Add(nextInteger < integer.size() ? integer[nextInteger++] : '0');
          groupAfter();
        } else {
          out.Add(nextFraction < fraction.size() ? fraction[nextFraction++] : '0');
        }
        break;
      case '.':
        out.Add('.');
        afterPoint = true;
        break;
      case '(':
      case ')': out.Add(plan.parentheses ? (negative ? c : ' ') : c); break;
      case '+': out.Add(plan.parentheses ? '+' : (negative ? '-' : '+')); break;
      case '-': out.Add(plan.parentheses ? '-' : (negative ? '-' : ' ')); break;
      default: break;  // a comma writes nothing at its place
    }
  }
}

void FormatBoolPicture(BoundedText& out, const char* picture, const void* value, uint16_t type,
                       int* fill, char* fillChar) {
  bool truth;
  switch (type) {
    case TST_SQLINT2:
    case TST_INT2:
    case TST_UINT2: truth = Load<uint16_t>(value) != 0; break;
    case TST_SQLINT4:
    case TST_INT4:
    case TST_UINT4:
    case TST_CHECKBOX: truth = Load<uint32_t>(value) != 0; break;
    default: truth = Load<uint8_t>(value) != 0;
  }
  for (const char* p = picture; *p;) {
    if (*p == 't' || *p == 'y') {
      bool twice = p[1] == p[0];
      if (*p == 't') out.Add(twice ? (truth ? "True" : "False") : (truth ? "T" : "F"));
      else out.Add(twice ? (truth ? "Yes" : "No") : (truth ? "Y" : "N"));
      p += twice ? 2 : 1;
      continue;
    }
    p += ReadLiteral(p, out, fill, fillChar);
  }
}
