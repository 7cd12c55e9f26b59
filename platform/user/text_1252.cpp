/*
** Windows-1252 text to and from Qt strings, through the kernel's code-page tables.
*/
#include "platform/user/text_1252.h"

#include "platform/kernel/text.h"

QString DecodeWindows1252(std::string_view text) {
  return QString::fromStdU16String(Cp1252ToUtf16(text));
}

std::string EncodeWindows1252(const QString& text) {
  return Utf16ToCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<size_t>(text.size())));
}

unsigned char EncodeWindows1252Char(QChar c) {
  if (c.unicode() == '?') return '?';
  char byte = CodePointToCp1252(c.unicode());
  return byte == '?' ? 0 : static_cast<unsigned char>(byte);
}
