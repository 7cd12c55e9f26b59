// String tables compiled by zrc, read back through LoadString and FindResource.
#include "platform/kernel/resource_formats.h"
#include "platform/kernel/resources.h"

#include <gtest/gtest.h>

#include <string>

TEST(RcStringTable, LoadsTheProgramsStringsWithEscapesDecoded) {
  char buffer[128];
  EXPECT_EQ(LoadString(nullptr, 300, buffer, sizeof buffer), 22);
  EXPECT_STREQ(buffer, "Hello from the program");
  int length = LoadString(nullptr, 301, buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, length), "Tab\there \"quoted\" back\\slashAA caf\xE9");
  LoadString(nullptr, 302, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "one line");
  // UTF-8 in a script becomes the Windows-1252 byte the system stores.
  LoadString(nullptr, 303, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Copyright \xA9 1999");
}

TEST(RcStringTable, CutsToTheCallersBufferLikeThePlatform) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(LoadString(nullptr, 300, buffer, 6), 5);
  EXPECT_STREQ(buffer, "Hello");
  EXPECT_EQ(buffer[6], 'x');  // nothing written past the given size
  EXPECT_EQ(LoadString(nullptr, 300, buffer, 1), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(LoadString(nullptr, 300, buffer, 0), 0);
  EXPECT_EQ(LoadString(nullptr, 300, nullptr, 10), 0);
}

TEST(RcStringTable, MissingStringAnswersZeroAndAnEmptyText) {
  char buffer[16] = "previous";
  EXPECT_EQ(LoadString(nullptr, 304, buffer, sizeof buffer), 0);  // in a block, not defined
  EXPECT_STREQ(buffer, "");
  strcpy(buffer, "previous");
  EXPECT_EQ(LoadString(nullptr, 60000, buffer, sizeof buffer), 0);  // no such block
  EXPECT_STREQ(buffer, "");
}

TEST(RcStringTable, ScriptsOfOneModuleShareStringBlocks) {
  char buffer[64];
  // 298 comes from the second script, in the same block of sixteen (288 to 303) as 300.
  EXPECT_GT(LoadString(nullptr, 298, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "From the second script");
  HRSRC block = FindResource(nullptr, MAKEINTRESOURCE(300 / 16 + 1), RT_STRING);
  ASSERT_NE(block, nullptr);
  const char* text = nullptr;
  WORD length = 0;
  const void* data = LockResource(LoadResource(nullptr, block));
  ASSERT_TRUE(resource_format::StringBlockEntry(data, SizeofResource(nullptr, block), 298 % 16,
                                                &text, &length));
  EXPECT_EQ(std::string(text, length), "From the second script");
}

TEST(RcStringTable, DamagedBlockIsRefusedNotOverread) {
  const BYTE cut[] = {3, 0, 'a', 'b'};  // says three bytes, holds two
  const char* text = nullptr;
  WORD length = 0;
  EXPECT_FALSE(resource_format::StringBlockEntry(cut, sizeof cut, 0, &text, &length));
  EXPECT_FALSE(resource_format::StringBlockEntry(cut, sizeof cut, 5, &text, &length));
}

TEST(RcStringTable, PreprocessorConditionsMacrosAndComments) {
  char buffer[64];
  LoadString(nullptr, 320, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "ifdef taken");
  LoadString(nullptr, 321, buffer, sizeof buffer);  // id from a macro redefined after #undef
  EXPECT_STREQ(buffer, "elif taken");
  LoadString(nullptr, 322, buffer, sizeof buffer);  // id from a macro continued over lines
  EXPECT_STREQ(buffer, "// not a comment /* nor this */");
  LoadString(nullptr, 323, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "wider");
  EXPECT_EQ(LoadString(nullptr, 999, buffer, sizeof buffer), 0);  // inside a comment
}
