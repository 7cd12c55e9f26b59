/*
** Windows-1252 text, as the system stores it in char buffers, to and from QString for
** measuring and drawing. Bytes 0x80-0x9F carry the code page's typographic characters;
** the five unassigned ones pass through as the C1 controls of the same value.
*/
#include "platform/gdi/gdi_internal.h"

#include <cstring>

namespace zarne::gdi {

namespace {

constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar CharFrom1252(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return QChar(k1252High[byte - 0x80]);
  return QChar(static_cast<char16_t>(byte));
}

char CharTo1252(QChar ch) {
  char16_t code = ch.unicode();
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int i = 0; i < 32; ++i)
    if (k1252High[i] == code) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

QString TextFrom1252(const char* text, int count) {
  if (!text) return QString();
  if (count < 0) count = static_cast<int>(std::strlen(text));
  QString out;
  out.reserve(count);
  for (int i = 0; i < count; ++i) out.append(CharFrom1252(static_cast<unsigned char>(text[i])));
  return out;
}

std::string TextTo1252(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (QChar ch : text) out.push_back(CharTo1252(ch));
  return out;
}

}  // namespace zarne::gdi
