/*
** Writes the creation descriptors out in their stored 32-bit layout. Each image is written
** front to back in field order, so the layout is the order of the calls below and the
** final position is checked against the image size.
*/
#include "catalogue/descriptor_images.h"

#include <cstdlib>
#include <cstring>

namespace {

/* Appends little-endian values to a fixed-size image. */
template <std::size_t N>
class ImageWriter {
 public:
  explicit ImageWriter(std::array<std::uint8_t, N>* image) : image_(image) { image_->fill(0); }

  void U16(std::uint16_t value) {
    Byte(static_cast<std::uint8_t>(value & 0xFF));
    Byte(static_cast<std::uint8_t>(value >> 8));
  }
  void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value & 0xFFFF));
    U16(static_cast<std::uint16_t>(value >> 16));
  }
  void Pointer(const void* pointer) { U32(pointer == nullptr ? 0u : kImagePointerPresent); }
  template <std::size_t M>
  void Chars(const char (&text)[M]) {
    for (std::size_t i = 0; i < M; ++i) Byte(static_cast<std::uint8_t>(text[i]));
  }
  /* Packed members cannot be bound to references, so word arrays come in as raw bytes. */
  template <std::size_t M>
  void U16s(const void* values) {
    WORD copy[M];
    std::memcpy(copy, values, sizeof copy);
    for (std::size_t i = 0; i < M; ++i) U16(copy[i]);
  }
  std::size_t Position() const { return position_; }

 private:
  void Byte(std::uint8_t value) {
    if (position_ < N) (*image_)[position_] = value;
    ++position_;
  }

  std::array<std::uint8_t, N>* image_;
  std::size_t position_ = 0;
};

/* A descriptor that wrote more or fewer bytes than its image holds is a layout fault. */
template <std::size_t N>
void CheckComplete(const ImageWriter<N>& writer) {
  if (writer.Position() != N) std::abort();
}

}  // namespace

TableCreateDescImage ImageOfTableCreateDesc(const EngineTableCreateDesc& desc) {
  TableCreateDescImage image;
  ImageWriter<kTableCreateDescImageSize> out(&image);
  out.Chars(desc.name);
  out.Chars(desc.driverType);
  out.Chars(desc.errorTableName);
  out.Chars(desc.userName);
  out.Chars(desc.password);
  out.U16(desc.protectedFlag);
  out.U16(desc.pack);
  out.U16(desc.fieldCount);
  out.Pointer(desc.fieldOps);
  out.Pointer(desc.fields);
  out.U16(desc.indexCount);
  out.Pointer(desc.indexOps);
  out.Pointer(desc.indexes);
  out.U16(desc.validityCount);
  out.Pointer(desc.validityOps);
  out.Pointer(desc.validityDescs);
  out.U16(desc.referenceCount);
  out.Pointer(desc.referenceOps);
  out.Pointer(desc.referenceDescs);
  out.U16(desc.securityCount);
  out.Pointer(desc.securityOps);
  out.Pointer(desc.securityDescs);
  out.U16(desc.optionCount);
  out.Pointer(desc.optionDescs);
  out.Pointer(desc.optionData);
  CheckComplete(out);
  return image;
}

FieldDescImage ImageOfFieldDesc(const EngineFieldDesc& desc) {
  FieldDescImage image;
  ImageWriter<kFieldDescImageSize> out(&image);
  out.U16(desc.fieldNumber);
  out.Chars(desc.name);
  out.U16(desc.type);
  out.U16(desc.subtype);
  out.I16(desc.units1);
  out.I16(desc.units2);
  out.U16(desc.offset);
  out.U16(desc.length);
  out.U16(desc.nullOffset);
  out.U32(desc.validityCheck);
  out.U32(desc.rights);
  out.U16(desc.calculated);
  out.U16s<2>(desc.reserved);
  CheckComplete(out);
  return image;
}

IndexDescImage ImageOfIndexDesc(const EngineIndexDesc& desc) {
  IndexDescImage image;
  ImageWriter<kIndexDescImageSize> out(&image);
  out.Chars(desc.name);
  out.U16(desc.indexId);
  out.Chars(desc.tagName);
  out.Chars(desc.format);
  out.U16(desc.primary);
  out.U16(desc.unique);
  out.U16(desc.descending);
  out.U16(desc.maintained);
  out.U16(desc.subset);
  out.U16(desc.expressionIndex);
  out.U16(desc.cost);
  out.U16(desc.keyFieldCount);
  out.U16(desc.keyLength);
  out.U16(desc.outOfDate);
  out.U16(desc.keyExpressionType);
  out.U16s<16>(desc.keyFields);
  out.Chars(desc.keyExpression);
  out.Chars(desc.keyCondition);
  out.U16(desc.caseInsensitive);
  out.U16(desc.blockSize);
  out.U16(desc.restructureNumber);
  out.U16s<16>(desc.descendingFields);
  out.U16s<16>(desc.reserved);
  CheckComplete(out);
  return image;
}
