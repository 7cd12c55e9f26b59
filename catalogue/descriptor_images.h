/*
** Byte images of the creation descriptors in their stored layout: packed, little-endian,
** with 32-bit pointer fields. The catalogue holds native structs; these images are how
** their contents are compared, byte for byte, with the layout the stored format fixes.
**
** Pointers cannot keep their value in 32 bits, so an image records only whether one is set:
** null is written as 0 and any other pointer as kImagePointerPresent.
*/
#ifndef ZARNE_CATALOGUE_DESCRIPTOR_IMAGES_H
#define ZARNE_CATALOGUE_DESCRIPTOR_IMAGES_H

#include "platform/engine/engine.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::size_t kTableCreateDescImageSize = 682;
constexpr std::size_t kFieldDescImageSize = 62;
constexpr std::size_t kIndexDescImageSize = 893;

/* What a non-null pointer field reads as in an image. */
constexpr std::uint32_t kImagePointerPresent = 0xFFFFFFFFu;

using TableCreateDescImage = std::array<std::uint8_t, kTableCreateDescImageSize>;
using FieldDescImage = std::array<std::uint8_t, kFieldDescImageSize>;
using IndexDescImage = std::array<std::uint8_t, kIndexDescImageSize>;

TableCreateDescImage ImageOfTableCreateDesc(const EngineTableCreateDesc& desc);
FieldDescImage ImageOfFieldDesc(const EngineFieldDesc& desc);
IndexDescImage ImageOfIndexDesc(const EngineIndexDesc& desc);

#endif
