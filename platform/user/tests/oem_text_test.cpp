/*
** The OEM conversions keep every byte value, in place and between buffers.
*/
#include "platform/user/oem_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

/* Every byte value from 1 to 255 once, then the terminator. */
std::string AllBytes() {
  std::string text;
  for (int b = 1; b < 256; ++b) text.push_back(static_cast<char>(b));
  return text;
}

TEST(OemText, EveryByteValueIsKeptBetweenBuffersAndInPlace) {
  const std::string all = AllBytes();
  for (auto convert : {&OemToAnsi, &OemToChar}) {
    char target[300];
    std::memset(target, 'x', sizeof target);
    ASSERT_TRUE(convert(all.c_str(), target));
    EXPECT_EQ(std::string(target), all);
    EXPECT_EQ(target[255], '\0');
    EXPECT_EQ(target[256], 'x');  // nothing written past the terminator

    char inPlace[300];
    std::memcpy(inPlace, all.c_str(), all.size() + 1);
    ASSERT_TRUE(convert(inPlace, inPlace));
    EXPECT_EQ(std::string(inPlace), all);
  }
  // A Windows-1252 path keeps its accented letter (0xE9).
  char path[] = "C:\\Caf\xE9\\ZRNFIX32.EXE";
  ASSERT_TRUE(OemToAnsi(path, path));
  EXPECT_STREQ(path, "C:\\Caf\xE9\\ZRNFIX32.EXE");
  EXPECT_FALSE(OemToAnsi(nullptr, path));
  EXPECT_FALSE(OemToChar(path, nullptr));
}

}  // namespace
