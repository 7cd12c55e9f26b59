/*
** Windows-1252 text, as the system keeps it in char buffers, made the QString that Qt
** measures and draws, through the kernel's code-page conversion.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/kernel/text.h"

#include <cstring>
#include <string_view>

namespace zarne::gdi {

QString TextFrom1252(const char* text, int count) {
  if (!text) return QString();
  if (count < 0) count = static_cast<int>(std::strlen(text));
  return QString::fromStdU16String(Cp1252ToUtf16(std::string_view(text, static_cast<size_t>(count))));
}

}  // namespace zarne::gdi
