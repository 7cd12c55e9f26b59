/*
** The item-set file's split into items, byte by byte over the count read: a NUL inside the
** file is a control character like any other and does not end the text.
*/
#include "closingfile/title_item_split.h"

#include <cstring>

namespace {

constexpr unsigned char kPackedBreak = 0x0B;

/* White space and control characters both come before an item and are skipped. */
bool SkippedBefore(unsigned char c) { return c <= 0x20 || c == 0x7F; }

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool At(const char* text, size_t length, size_t at, const char* what, size_t n) {
  return length - at >= n && std::memcmp(text + at, what, n) == 0;
}

bool TrailingSpace(unsigned char c) {
  return c == '\t' || c == '\n' || c == 0x0B || c == '\f' || c == '\r' || c == ' ';
}

}  // namespace

bool NextTitleItem(const char* text, size_t length, size_t& at, char* item) {
  item[0] = '\0';
  while (at < length && SkippedBefore(static_cast<unsigned char>(text[at]))) ++at;
  if (at >= length) return false;
  size_t collected = 0;
  while (at < length && collected < kTitleItemCollectLimit) {
    if (At(text, length, at, "\r\n\r\n\r\n", 6)) {
      at += 6;
      break;
    }
    if (At(text, length, at, "\r\n", 2)) {
      item[collected++] = static_cast<char>(kPackedBreak);
      at += 2;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(text[at++]);
    if (c == '\t' || c == kPackedBreak || !IsControl(c)) item[collected++] = static_cast<char>(c);
  }
  item[collected] = '\0';
  return true;
}

void TrimTitleItem(char* item) {
  size_t length = std::strlen(item);
  while (length > 0 && TrailingSpace(static_cast<unsigned char>(item[length - 1]))) --length;
  item[length] = '\0';
}
