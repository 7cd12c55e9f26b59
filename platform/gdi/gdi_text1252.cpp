/*
** Windows-1252 text, as the system keeps it in char buffers, made the QString that Qt
** measures and draws, through the kernel's code-page conversion.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/kernel/text.h"

#include <cstring>

namespace zarne::gdi {

QString TextFrom1252(const char* text, int count) {
  if (!text) return QString();
  if (count < 0) count = static_cast<int>(std::strlen(text));
  // Straight into the string: every text call converts its text, and a detour through a
  // std::u16string cost a second allocation and copy.
  QString out(count, Qt::Uninitialized);
  QChar* to = out.data();
  for (int i = 0; i < count; ++i)
    to[i] = QChar(Cp1252ToCodePoint(static_cast<unsigned char>(text[i])));
  return out;
}

}  // namespace zarne::gdi
