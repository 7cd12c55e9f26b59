/*
** Windows-1252 <-> Unicode conversion and the case mapping of the code page.
*/
#include "platform/kernel/text.h"

namespace {

// Code points of the bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[pos]; advances pos. Malformed input yields
// U+FFFD and consumes one byte, so decoding always makes progress.
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  size_t extra = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + extra >= text.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (size_t i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += extra + 1;
  return cp;
}

bool IsSingleCharacterForm(const void* text) {
  return (reinterpret_cast<uintptr_t>(text) >> 16) == 0;
}

}  // namespace

char16_t Cp1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControlRange[byte - 0x80];
  return byte;
}

char CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighControlRange[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

std::u16string Cp1252ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out += Cp1252ToCodePoint(static_cast<unsigned char>(c));
  return out;
}

std::string Utf16ToCp1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;  // a pair outside the basic plane has no single-byte form
      out += '?';
    } else {
      out += CodePointToCp1252(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) out += CodePointToCp1252(DecodeUtf8(text, pos));
  return out;
}

unsigned char Cp1252Upper(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
  }
}

unsigned char Cp1252Lower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

bool Cp1252IsAlpha(unsigned char c) {
  return Cp1252Upper(c) != c || Cp1252Lower(c) != c || c == 0xDF || c == 0x83 || c == 0xAA ||
         c == 0xBA || c == 0xB5;
}

DWORD CharUpperBuff(LPSTR text, DWORD length) {
  if (!text) return 0;
  for (DWORD i = 0; i < length; ++i)
    text[i] = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(text[i])));
  return length;
}

LPSTR CharUpper(LPSTR text) {
  if (IsSingleCharacterForm(text)) {
    const auto c = static_cast<unsigned char>(reinterpret_cast<uintptr_t>(text) & 0xFF);
    return reinterpret_cast<LPSTR>(static_cast<uintptr_t>(Cp1252Upper(c)));
  }
  for (char* p = text; *p; ++p) *p = static_cast<char>(Cp1252Upper(static_cast<unsigned char>(*p)));
  return text;
}

LPSTR CharLower(LPSTR text) {
  if (IsSingleCharacterForm(text)) {
    const auto c = static_cast<unsigned char>(reinterpret_cast<uintptr_t>(text) & 0xFF);
    return reinterpret_cast<LPSTR>(static_cast<uintptr_t>(Cp1252Lower(c)));
  }
  for (char* p = text; *p; ++p) *p = static_cast<char>(Cp1252Lower(static_cast<unsigned char>(*p)));
  return text;
}

LPSTR AnsiUpper(LPSTR text) { return CharUpper(text); }
LPSTR AnsiLower(LPSTR text) { return CharLower(text); }

BOOL IsCharAlpha(CHAR ch) { return Cp1252IsAlpha(static_cast<unsigned char>(ch)); }

BOOL IsCharUpper(CHAR ch) {
  const auto c = static_cast<unsigned char>(ch);
  return Cp1252Lower(c) != c;
}

BOOL IsCharLower(CHAR ch) {
  const auto c = static_cast<unsigned char>(ch);
  return Cp1252Upper(c) != c;
}
