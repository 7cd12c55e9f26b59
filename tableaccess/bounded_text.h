/*
** BoundedText: appends to a caller's fixed-size char buffer without ever writing past it.
** Text that does not fit is cut; the buffer always stays terminated. The value-form helpers
** and the error boxes build their texts through it.
*/
#ifndef ZARNE_TABLEACCESS_BOUNDED_TEXT_H
#define ZARNE_TABLEACCESS_BOUNDED_TEXT_H

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

class BoundedText {
 public:
  /* Starts with an empty text in the buffer. */
  BoundedText(char* buffer, size_t size) : buffer_(buffer), size_(buffer ? size : 0), length_(0) {
    if (size_ != 0) buffer_[0] = '\0';
  }

  /* Continues after the text already in the buffer (cut to fit when it is unterminated). */
  static BoundedText Appending(char* buffer, size_t size) {
    BoundedText text(buffer, size, 0);
    if (text.size_ != 0) {
      const void* end = std::memchr(buffer, '\0', size);
      text.length_ = end ? static_cast<const char*>(end) - buffer : size - 1;
      buffer[text.length_] = '\0';
    }
    return text;
  }

  void Append(char c) {
    if (length_ + 1 < size_) {
      buffer_[length_++] = c;
      buffer_[length_] = '\0';
    }
  }

  void Append(const char* text) { Append(text, text ? std::strlen(text) : 0); }

  void Append(const char* text, size_t count) {
    if (size_ == 0 || text == nullptr) return;
    size_t room = size_ - 1 - length_;
    if (count > room) count = room;
    std::memcpy(buffer_ + length_, text, count);
    length_ += count;
    buffer_[length_] = '\0';
  }

  /* printf-style, cut to the room left. */
  __attribute__((format(printf, 2, 3))) void Format(const char* format, ...) {
    if (size_ == 0) return;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer_ + length_, size_ - length_, format, args);
    va_end(args);
    if (written > 0) {
      size_t added = static_cast<size_t>(written);
      length_ += added < size_ - length_ ? added : size_ - 1 - length_;
    }
  }

  bool EndsWith(char c) const { return length_ != 0 && buffer_[length_ - 1] == c; }
  size_t Length() const { return length_; }

 private:
  BoundedText(char* buffer, size_t size, int)
      : buffer_(buffer), size_(buffer ? size : 0), length_(0) {}

  char* buffer_;
  size_t size_;
  size_t length_;
};

#endif
