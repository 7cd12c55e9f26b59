// User-defined resources (the saved grid configuration TESSELCFG in its three source forms),
// RCDATA, and bitmaps, icons and cursors taken from files.
#include "platform/kernel/resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> ResourceBytes(LPCSTR name, LPCSTR type, HMODULE module = nullptr) {
  HRSRC found = FindResource(module, name, type);
  if (!found) return {};
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  return std::vector<BYTE>(data, data + SizeofResource(module, found));
}

// The compiled configuration: little-endian words, texts each followed by one NUL.
class ConfigurationBytes {
 public:
  ConfigurationBytes& Words(std::initializer_list<int> words) {
    for (int word : words) {
      bytes.push_back(word & 0xFF);
      bytes.push_back((word >> 8) & 0xFF);
    }
    return *this;
  }
  ConfigurationBytes& Texts(std::initializer_list<const char*> texts) {
    for (const char* text : texts) bytes.insert(bytes.end(), text, text + std::strlen(text) + 1);
    return *this;
  }
  std::vector<BYTE> bytes;
};

std::vector<BYTE> SavedCustGrid() {
  ConfigurationBytes expected;
  expected.Words({8, 25, 2, 0x4044, 40, 0, 0, 0, 0})
      .Words({0x0004, 0x87, 16, 60, 0, 0, 0, 0, 0, 0})
      .Texts({"", "File Number", "FileNum", ""})
      .Words({0x0084, 0x85, 8, 50, 0, 0, 0, 0, 0, 0})
      .Texts({"", "Amount", "Amount", ""});
  return expected.bytes;
}

}  // namespace

TEST(RcUserData, TesselConfigurationFromTheWritersTextForm) {
  EXPECT_EQ(ResourceBytes("CustGrid", "TESSELCFG"), SavedCustGrid());
  // Names and types are found without regard to case, and by "#number" for ordinals.
  EXPECT_EQ(ResourceBytes("custgrid", "tesselcfg"), SavedCustGrid());
  EXPECT_EQ(FindResource(nullptr, "CustGrid", RT_RCDATA), nullptr);
  EXPECT_EQ(FindResource(nullptr, "CustGri", "TESSELCFG"), nullptr);
}

TEST(RcUserData, TesselConfigurationFromNumbersAndFromAFile) {
  EXPECT_EQ(ResourceBytes("NumGrid", "TESSELCFG"), SavedCustGrid());
  EXPECT_EQ(ResourceBytes("FileGrid", "TESSELCFG"), SavedCustGrid());
}

TEST(RcUserData, NameMayStartWithDigits) {
  std::vector<BYTE> expected = {6, 0, 11, 0, 1, 0, 0, 0};
  EXPECT_EQ(ResourceBytes("20100Tessel201", "TESSELCFG"), expected);
}

TEST(RcUserData, RcDataWordsLongsAndStrings) {
  std::vector<BYTE> expected = {1, 0, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12, 'a', 'b'};
  EXPECT_EQ(ResourceBytes(MAKEINTRESOURCE(7), RT_RCDATA), expected);
  EXPECT_EQ(ResourceBytes("#7", RT_RCDATA), expected);
}

TEST(RcUserData, BitmapIsTheFileWithoutItsHeader) {
  std::ifstream file(std::string(RC_TEST_DATA) + "/tiny.bmp", std::ios::binary);
  std::vector<BYTE> bmp((std::istreambuf_iterator<char>(file)), {});
  ASSERT_GT(bmp.size(), 14u);
  EXPECT_EQ(ResourceBytes(MAKEINTRESOURCE(19000), RT_BITMAP),
            std::vector<BYTE>(bmp.begin() + 14, bmp.end()));
}

TEST(RcUserData, IconGroupNamesItsImages) {
  std::vector<BYTE> group = ResourceBytes("APPICON", RT_GROUP_ICON);
  ASSERT_EQ(group.size(), 6u + 14u);
  EXPECT_EQ(group[2], 1);  // an icon group
  EXPECT_EQ(group[4], 1);  // of one image
  EXPECT_EQ(group[6], 1);  // 1 pixel wide
  WORD image = static_cast<WORD>(group[18] | group[19] << 8);
  std::vector<BYTE> bits = ResourceBytes(MAKEINTRESOURCE(image), RT_ICON);
  ASSERT_EQ(bits.size(), 48u);
  EXPECT_EQ(bits[0], 40);  // the image's own header
  // The second ICON statement from the same file gets images of its own.
  std::vector<BYTE> second = ResourceBytes(MAKEINTRESOURCE(1001), RT_GROUP_ICON);
  ASSERT_EQ(second.size(), 20u);
  EXPECT_NE(second[18] | second[19] << 8, image);
}

TEST(RcUserData, CursorImageStartsWithItsHotSpot) {
  std::vector<BYTE> group = ResourceBytes("Hand", RT_GROUP_CURSOR);
  ASSERT_EQ(group.size(), 20u);
  EXPECT_EQ(group[2], 2);
  WORD image = static_cast<WORD>(group[18] | group[19] << 8);
  std::vector<BYTE> bits = ResourceBytes(MAKEINTRESOURCE(image), RT_CURSOR);
  ASSERT_EQ(bits.size(), 52u);
  EXPECT_EQ(bits[0], 3);
  EXPECT_EQ(bits[2], 5);
  EXPECT_EQ(bits[4], 40);
}
