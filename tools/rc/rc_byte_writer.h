/*
** Building compiled resources byte by byte in the little-endian layouts of
** platform/kernel/resource_formats.h.
*/
#ifndef ZARNE_TOOLS_RC_RC_BYTE_WRITER_H
#define ZARNE_TOOLS_RC_RC_BYTE_WRITER_H

#include "platform/kernel/resource_formats.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

class ByteWriter {
 public:
  void Byte(uint8_t value) { bytes_.push_back(value); }
  void Word(uint32_t value) {
    Byte(value & 0xFF);
    Byte((value >> 8) & 0xFF);
  }
  void Dword(uint32_t value) {
    Word(value & 0xFFFF);
    Word(value >> 16);
  }
  void Raw(const std::string& text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
  void Raw(const std::vector<uint8_t>& data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
  }
  void Text(const std::string& text) {
    Raw(text);
    Byte(0);
  }
  void Ref(const resource_format::ResourceKey& key) {
    Byte(key.kind);
    if (key.kind == resource_format::kRefOrdinal) Word(key.id);
    if (key.kind == resource_format::kRefName) Text(key.name);
  }
  void AlignTo4() {
    while (bytes_.size() % 4) Byte(0);
  }
  void PatchWord(size_t offset, uint32_t value) {
    bytes_[offset] = value & 0xFF;
    bytes_[offset + 1] = (value >> 8) & 0xFF;
  }
  size_t Size() const { return bytes_.size(); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace rc

#endif
