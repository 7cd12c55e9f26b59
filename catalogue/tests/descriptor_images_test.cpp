/*
** The stored-layout byte images of the catalogue's descriptors: sizes, the offsets of the
** fields read back from the images, and primary against secondary index images.
*/
#include "catalogue/descriptor_images.h"
#include "catalogue/table_catalog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

template <std::size_t N>
unsigned U16At(const std::array<std::uint8_t, N>& image, std::size_t offset) {
  return image.at(offset) | (image.at(offset + 1) << 8);
}

template <std::size_t N>
std::uint32_t U32At(const std::array<std::uint8_t, N>& image, std::size_t offset) {
  return U16At(image, offset) | (static_cast<std::uint32_t>(U16At(image, offset + 2)) << 16);
}

/* The text at an offset, checking that the rest of its buffer is NUL padding. */
template <std::size_t N>
std::string TextAt(const std::array<std::uint8_t, N>& image, std::size_t offset, std::size_t size) {
  std::string text;
  std::size_t i = 0;
  for (; i < size && image.at(offset + i) != 0; ++i) text += static_cast<char>(image[offset + i]);
  for (; i < size; ++i) EXPECT_EQ(image.at(offset + i), 0) << "padding at " << offset + i;
  return text;
}

template <std::size_t N>
bool ZeroFrom(const std::array<std::uint8_t, N>& image, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i)
    if (image.at(i) != 0) return false;
  return true;
}

}  // namespace

TEST(DescriptorImages, HaveTheStoredSizes) {
  EXPECT_EQ(ImageOfTableCreateDesc(*kTableCatalog[0].desc).size(), 682u);
  EXPECT_EQ(ImageOfFieldDesc(kTableCatalog[0].desc->fields[0]).size(), 62u);
  EXPECT_EQ(ImageOfIndexDesc(kTableCatalog[0].desc->indexes[0]).size(), 893u);
}

TEST(DescriptorImages, TableImagesCarryNameDriverCountsAndPointersAtTheirOffsets) {
  for (const CatalogEntry& entry : kTableCatalog) {
    SCOPED_TRACE(entry.name);
    TableCreateDescImage image = ImageOfTableCreateDesc(*entry.desc);
    EXPECT_EQ(TextAt(image, 0, 261), entry.name);
    EXPECT_EQ(TextAt(image, 261, 32), "PARADOX");
    EXPECT_EQ(TextAt(image, 293, 261), "__TUERR.DB");
    EXPECT_EQ(TextAt(image, 554, 32), "");
    EXPECT_EQ(TextAt(image, 586, 32), "");
    EXPECT_EQ(U16At(image, 618), 0u);  // protected
    EXPECT_EQ(U16At(image, 620), 0u);  // pack
    EXPECT_EQ(U16At(image, 622), entry.desc->fieldCount);
    EXPECT_EQ(U32At(image, 624), 0u);  // field operations
    EXPECT_EQ(U32At(image, 628), kImagePointerPresent);
    EXPECT_EQ(U16At(image, 632), entry.desc->indexCount);
    EXPECT_EQ(U32At(image, 634), 0u);  // index operations
    bool indexed = std::strcmp(entry.name, "CHECKCTL") != 0;
    EXPECT_EQ(U32At(image, 638), indexed ? kImagePointerPresent : 0u);
    EXPECT_TRUE(ZeroFrom(image, 642, 682)) << "the four further groups";
  }
  TableCreateDescImage account = ImageOfTableCreateDesc(*FindCatalogTable("ACCOUNT"));
  EXPECT_EQ(U16At(account, 632), 3u);
  EXPECT_EQ(U16At(account, 622), 10u);
}

TEST(DescriptorImages, FieldImagesPlaceNumberNameTypeAndLength) {
  const EngineTableCreateDesc* property = FindCatalogTable("PROPERTY");
  ASSERT_NE(property, nullptr);

  FieldDescImage street = ImageOfFieldDesc(property->fields[1]);
  EXPECT_EQ(U16At(street, 0), 2u);
  EXPECT_EQ(TextAt(street, 2, 32), "PSTREET");
  EXPECT_EQ(U16At(street, 34), 1u);
  EXPECT_EQ(U16At(street, 36), 0u);
  EXPECT_EQ(U16At(street, 38), 35u);
  EXPECT_TRUE(ZeroFrom(street, 40, 62));

  FieldDescImage legal = ImageOfFieldDesc(property->fields[5]);
  EXPECT_EQ(U16At(legal, 0), 6u);
  EXPECT_EQ(TextAt(legal, 2, 32), "PLEGAL");
  EXPECT_EQ(U16At(legal, 34), 3u);
  EXPECT_EQ(U16At(legal, 36), 22u);
  EXPECT_EQ(U16At(legal, 38), 240u);

  FieldDescImage money = ImageOfFieldDesc(FindCatalogTable("ACCOUNT")->fields[9]);
  EXPECT_EQ(U16At(money, 0), 10u);
  EXPECT_EQ(TextAt(money, 2, 32), "Amount");
  EXPECT_EQ(U16At(money, 34), 7u);
  EXPECT_EQ(U16At(money, 36), 21u);
  EXPECT_EQ(U16At(money, 38), 1u);

  FieldDescImage whole = ImageOfFieldDesc(FindCatalogTable("BANK")->fields[0]);
  EXPECT_EQ(U16At(whole, 34), 5u);
  EXPECT_EQ(U16At(whole, 38), 1u);
}

TEST(DescriptorImages, PrimaryAndSecondaryIndexImagesDiffer) {
  const EngineTableCreateDesc* account = FindCatalogTable("ACCOUNT");
  ASSERT_NE(account, nullptr);

  IndexDescImage primary = ImageOfIndexDesc(account->indexes[0]);
  EXPECT_EQ(TextAt(primary, 0, 261), "");
  EXPECT_EQ(U16At(primary, 261), 0u);  // index id
  EXPECT_EQ(TextAt(primary, 263, 32), "");
  EXPECT_EQ(TextAt(primary, 295, 32), "");
  EXPECT_EQ(U16At(primary, 327), 1u);  // primary
  EXPECT_EQ(U16At(primary, 329), 1u);  // unique
  EXPECT_EQ(U16At(primary, 331), 0u);  // descending
  EXPECT_EQ(U16At(primary, 333), 1u);  // maintained
  EXPECT_EQ(U16At(primary, 341), 3u);  // key fields
  EXPECT_EQ(U16At(primary, 343), 24u);
  EXPECT_EQ(U16At(primary, 349), 1u);
  EXPECT_EQ(U16At(primary, 351), 2u);
  EXPECT_EQ(U16At(primary, 353), 3u);
  EXPECT_TRUE(ZeroFrom(primary, 355, 823)) << "rest of the key fields, expression, condition";
  EXPECT_EQ(U16At(primary, 823), 0u);  // case-insensitive
  EXPECT_EQ(U16At(primary, 825), 2048u);
  EXPECT_TRUE(ZeroFrom(primary, 827, 893));

  const char* names[] = {"AcctDate", "AcctNumber"};
  const unsigned fields[] = {7, 4};
  const unsigned lengths[] = {4, 8};
  for (int i = 0; i < 2; ++i) {
    IndexDescImage secondary = ImageOfIndexDesc(account->indexes[i + 1]);
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(TextAt(secondary, 0, 261), names[i]);
    EXPECT_EQ(U16At(secondary, 261), 0u);
    EXPECT_EQ(U16At(secondary, 327), 0u);
    EXPECT_EQ(U16At(secondary, 329), 0u);
    EXPECT_EQ(U16At(secondary, 333), 1u);
    EXPECT_EQ(U16At(secondary, 341), 1u);
    EXPECT_EQ(U16At(secondary, 343), lengths[i]);
    EXPECT_EQ(U16At(secondary, 349), fields[i]);
    EXPECT_TRUE(ZeroFrom(secondary, 351, 823));
    EXPECT_EQ(U16At(secondary, 823), 1u);
    EXPECT_EQ(U16At(secondary, 825), 2048u);
    EXPECT_TRUE(ZeroFrom(secondary, 827, 893));
  }

  IndexDescImage buyer = ImageOfIndexDesc(FindCatalogTable("BUYER")->indexes[0]);
  EXPECT_EQ(U16At(buyer, 341), 1u);
  EXPECT_EQ(U16At(buyer, 343), 15u);
  EXPECT_EQ(U16At(buyer, 825), 4096u);
  IndexDescImage bank = ImageOfIndexDesc(FindCatalogTable("BANK")->indexes[0]);
  EXPECT_EQ(U16At(bank, 343), 2u);
}

/* The engine's packed structs and the images share one layout, so on a little-endian host
   an image is the struct's own bytes; this catches a drift between the two. */
TEST(DescriptorImages, MatchThePackedEngineStructsByteForByte) {
  for (const CatalogEntry& entry : kTableCatalog) {
    for (int i = 0; i < entry.desc->fieldCount; ++i) {
      FieldDescImage image = ImageOfFieldDesc(entry.desc->fields[i]);
      EXPECT_EQ(std::memcmp(image.data(), &entry.desc->fields[i], image.size()), 0)
          << entry.name << " field " << i + 1;
    }
    for (int i = 0; i < entry.desc->indexCount; ++i) {
      IndexDescImage image = ImageOfIndexDesc(entry.desc->indexes[i]);
      EXPECT_EQ(std::memcmp(image.data(), &entry.desc->indexes[i], image.size()), 0)
          << entry.name << " index " << i;
    }
  }
}
