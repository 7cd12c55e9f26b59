/*
** String literal decoding. Escapes follow the resource compiler's rules: \n \t \r \a \b \f \v,
** \\ \" \', octal \ooo (so \0 is a NUL byte), hexadecimal \xhh; "" inside a literal is one
** quote. A multi-byte UTF-8 sequence whose character exists in Windows-1252 becomes that byte.
*/
#include "tools/rc/rc_text.h"

#include <cstdint>
#include <cstdio>

namespace rc {

namespace {

// Windows-1252 bytes 0x80-0x9F and the Unicode characters they stand for.
const uint16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int Windows1252Byte(uint32_t codePoint) {
  if (codePoint >= 0xA0 && codePoint <= 0xFF) return static_cast<int>(codePoint);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == codePoint) return 0x80 + i;
  }
  return -1;
}

// A UTF-8 sequence of two to four bytes at line[i]; answers its length, 0 when there is none.
size_t Utf8Sequence(const std::string& line, size_t i, uint32_t* codePoint) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(line[k]); };
  auto continuation = [&](size_t k) { return k < line.size() && (byte(k) & 0xC0) == 0x80; };
  if ((byte(i) & 0xE0) == 0xC0 && continuation(i + 1)) {
    *codePoint = ((byte(i) & 0x1F) << 6) | (byte(i + 1) & 0x3F);
    return *codePoint >= 0x80 ? 2 : 0;
  }
  if ((byte(i) & 0xF0) == 0xE0 && continuation(i + 1) && continuation(i + 2)) {
    *codePoint = ((byte(i) & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F);
    return *codePoint >= 0x800 ? 3 : 0;
  }
  if ((byte(i) & 0xF8) == 0xF0 && continuation(i + 1) && continuation(i + 2) &&
      continuation(i + 3)) {
    *codePoint = ((byte(i) & 0x07) << 18) | ((byte(i + 1) & 0x3F) << 12) |
                 ((byte(i + 2) & 0x3F) << 6) | (byte(i + 3) & 0x3F);
    return *codePoint >= 0x10000 ? 4 : 0;
  }
  return 0;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The escape after a backslash at line[i]; advances i past it.
void DecodeEscape(const std::string& line, size_t* i, std::string* bytes) {
  char c = line[*i];
  switch (c) {
    case 'n':
      *bytes += '\n';
      ++*i;
      return;
    case 't':
      *bytes += '\t';
      ++*i;
      return;
    case 'r':
      *bytes += '\r';
      ++*i;
      return;
    case 'a':
      *bytes += '\b';
      ++*i;
      return;  // right-aligns menu text, as on the platform
    case 'b':
      *bytes += '\b';
      ++*i;
      return;
    case 'f':
      *bytes += '\f';
      ++*i;
      return;
    case 'v':
      *bytes += '\v';
      ++*i;
      return;
    case 'x':
    case 'X': {
      int value = 0, digits = 0;
      ++*i;
      while (digits < 2 && *i < line.size() && HexValue(line[*i]) >= 0) {
        value = value * 16 + HexValue(line[(*i)++]);
        ++digits;
      }
      *bytes += static_cast<char>(value);
      return;
    }
    default: break;
  }
  if (c >= '0' && c <= '7') {
    int value = 0, digits = 0;
    while (digits < 3 && *i < line.size() && line[*i] >= '0' && line[*i] <= '7') {
      value = value * 8 + (line[(*i)++] - '0');
      ++digits;
    }
    *bytes += static_cast<char>(value & 0xFF);
    return;
  }
  *bytes += c;  // \\ \" \' and any other character stand for themselves
  ++*i;
}

}  // namespace

bool DecodeStringLiteral(const std::string& line, size_t start, size_t* end, std::string* bytes,
                         std::string* problem, bool byteForByte) {
  bytes->clear();
  size_t i = start + 1;
  while (i < line.size()) {
    char c = line[i];
    if (c == '"') {
      if (i + 1 < line.size() && line[i + 1] == '"') {
        *bytes += '"';
        i += 2;
        continue;
      }
      *end = i + 1;
      return true;
    }
    if (c == '\\' && i + 1 < line.size()) {
      ++i;
      DecodeEscape(line, &i, bytes);
      continue;
    }
    uint32_t codePoint = 0;
    size_t length = (!byteForByte && static_cast<unsigned char>(c) >= 0x80)
                        ? Utf8Sequence(line, i, &codePoint)
                        : 0;
    if (length > 0) {
      int converted = Windows1252Byte(codePoint);
      if (converted < 0) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
        *problem = std::string("character ") + code + " has no Windows-1252 form";
        return false;
      }
      *bytes += static_cast<char>(converted);
      i += length;
      continue;
    }
    *bytes += c;
    ++i;
  }
  *problem = "string not terminated on its line";
  return false;
}

}  // namespace rc
