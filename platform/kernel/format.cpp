/*
** The wsprintf formatter: parses each conversion and writes into the caller's buffer,
** never beyond the platform's 1024-byte limit.
*/
#include "platform/kernel/format.h"

#include <cstring>

namespace {

struct Conversion {
  bool left = false;
  bool zero = false;
  bool prefix = false;
  int width = 0;
  int precision = -1;
  char type = 0;
};

// Collects output up to the limit; further characters are dropped.
class Output {
 public:
  explicit Output(char* buffer) : buffer_(buffer) {}
  void Put(char c) {
    if (length_ < WSPRINTF_LIMIT - 1) buffer_[length_++] = c;
  }
  void Put(const char* text, size_t count) {
    for (size_t i = 0; i < count; ++i) Put(text[i]);
  }
  void Repeat(char c, int count) {
    for (int i = 0; i < count; ++i) Put(c);
  }
  int Finish() {
    buffer_[length_] = '\0';
    return length_;
  }

 private:
  char* buffer_;
  int length_ = 0;
};

const char* ParseConversion(const char* p, Conversion& conv) {
  for (;; ++p) {
    if (*p == '-') conv.left = true;
    else if (*p == '0') conv.zero = true;
    else if (*p == '#') conv.prefix = true;
    else break;
  }
  while (*p >= '0' && *p <= '9') conv.width = conv.width * 10 + (*p++ - '0');
  if (*p == '.') {
    conv.precision = 0;
    ++p;
    while (*p >= '0' && *p <= '9') conv.precision = conv.precision * 10 + (*p++ - '0');
  }
  if (*p == 'l' || *p == 'h') ++p;  // both sizes are 32 bits here
  conv.type = *p;
  return *p ? p + 1 : p;
}

void PutPadded(Output& out, const Conversion& conv, const char* sign, const char* digits,
               size_t digit_count) {
  const size_t sign_len = std::strlen(sign);
  int zeros = conv.precision > static_cast<int>(digit_count)
                  ? conv.precision - static_cast<int>(digit_count)
                  : 0;
  const int body = static_cast<int>(sign_len + digit_count) + zeros;
  int pad = conv.width > body ? conv.width - body : 0;
  if (conv.zero && !conv.left && conv.precision < 0) {
    zeros += pad;
    pad = 0;
  }
  if (!conv.left) out.Repeat(' ', pad);
  out.Put(sign, sign_len);
  out.Repeat('0', zeros);
  out.Put(digits, digit_count);
  if (conv.left) out.Repeat(' ', pad);
}

void PutNumber(Output& out, const Conversion& conv, va_list& args) {
  char digits[16];
  size_t n = 0;
  const char* sign = "";
  uint32_t magnitude = 0;
  if (conv.type == 'd' || conv.type == 'i') {
    const int32_t value = va_arg(args, int32_t);
    magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    if (value < 0) sign = "-";
  } else {
    magnitude = va_arg(args, uint32_t);
  }
  const bool hex = conv.type == 'x' || conv.type == 'X';
  const char* alphabet = conv.type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  const uint32_t base = hex ? 16 : 10;
  char reversed[16];
  do {
    reversed[n++] = alphabet[magnitude % base];
    magnitude /= base;
  } while (magnitude);
  if (conv.precision == 0 && n == 1 && reversed[0] == '0') n = 0;
  for (size_t i = 0; i < n; ++i) digits[i] = reversed[n - 1 - i];
  if (hex && conv.prefix) sign = conv.type == 'X' ? "0X" : "0x";
  PutPadded(out, conv, sign, digits, n);
}

void PutText(Output& out, const Conversion& conv, const char* text, size_t length) {
  if (conv.precision >= 0 && static_cast<size_t>(conv.precision) < length) length = conv.precision;
  const int pad = conv.width > static_cast<int>(length) ? conv.width - static_cast<int>(length) : 0;
  const char fill = conv.zero && !conv.left ? '0' : ' ';
  if (!conv.left) out.Repeat(fill, pad);
  out.Put(text, length);
  if (conv.left) out.Repeat(' ', pad);
}

}  // namespace

int wvsprintf(LPSTR buffer, LPCSTR format, va_list arguments) {
  if (!buffer) return 0;
  Output out(buffer);
  if (!format) return out.Finish();
  va_list args;
  va_copy(args, arguments);
  for (const char* p = format; *p;) {
    if (*p != '%') {
      out.Put(*p++);
      continue;
    }
    Conversion conv;
    p = ParseConversion(p + 1, conv);
    switch (conv.type) {
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X': PutNumber(out, conv, args); break;
      case 'c': {
        const char c = static_cast<char>(va_arg(args, int));
        PutText(out, conv, &c, 1);
        break;
      }
      case 's': {
        const char* text = va_arg(args, const char*);
        if (!text) text = "(null)";
        PutText(out, conv, text, std::strlen(text));
        break;
      }
      case 0: break;
      default:  // "%%" and anything unknown: the character itself
        out.Put(conv.type);
        break;
    }
  }
  va_end(args);
  return out.Finish();
}

int wsprintf(LPSTR buffer, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  const int length = wvsprintf(buffer, format, args);
  va_end(args);
  return length;
}
