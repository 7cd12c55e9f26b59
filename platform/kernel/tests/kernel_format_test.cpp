// wsprintf conversions, flags, widths and the 1024-byte limit.
#include "platform/kernel/format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Format(const char* format, ...) {
  char buffer[WSPRINTF_LIMIT + 16];
  std::memset(buffer, '#', sizeof buffer);
  va_list args;
  va_start(args, format);
  const int length = wvsprintf(buffer, format, args);
  va_end(args);
  EXPECT_EQ(length, static_cast<int>(std::strlen(buffer)));
  return buffer;
}

TEST(WsprintfTest, IntegerConversions) {
  EXPECT_EQ(Format("%d|%i|%u", -42, 7, 4000000000u), "-42|7|4000000000");
  EXPECT_EQ(Format("%ld %lu", static_cast<LONG>(-2147483647 - 1), static_cast<DWORD>(0xFFFFFFFF)),
            "-2147483648 4294967295");
  EXPECT_EQ(
      Format("%x %X %lx %08lx", 255u, 255u, static_cast<DWORD>(0xBEEF), static_cast<DWORD>(0x1A2B)),
      "ff FF beef 00001a2b");
  EXPECT_EQ(Format("%#x", 26u), "0x1a");
  EXPECT_EQ(Format("%hd", 12), "12");
}

TEST(WsprintfTest, WidthsPaddingAndAlignment) {
  EXPECT_EQ(Format("[%5d][%-5d][%05d]", 42, 42, -42), "[   42][42   ][-0042]");
  EXPECT_EQ(Format("[%.3d][%6.3d]", 7, 7), "[007][   007]");
  EXPECT_EQ(Format("%02d/%02d/%02d", 1, 2, 99), "01/02/99");
  EXPECT_EQ(Format("%02.2d/%.2d:%.2d", 3, 4, 5), "03/04:05");
  EXPECT_EQ(Format("0x%04X", 0x2807u), "0x2807");
  EXPECT_EQ(Format("[%8s][%-8s][%.3s][%-6.2s]", "abc", "abc", "abcdef", "abc"),
            "[     abc][abc     ][abc][ab    ]");
}

TEST(WsprintfTest, CharactersStringsAndPercent) {
  EXPECT_EQ(Format("%c%c %s %%d", 'O', 'K', "done"), "OK done %d");
  EXPECT_EQ(Format("%s", static_cast<const char*>(nullptr)), "(null)");
  EXPECT_EQ(Format("Opening %s", "BUYER"), "Opening BUYER");
  EXPECT_EQ(Format("%q%"), "q");
  EXPECT_EQ(Format("no conversions"), "no conversions");
}

TEST(WsprintfTest, OutputIsCutAt1023Characters) {
  const std::string long_text(2000, 'x');
  char buffer[WSPRINTF_LIMIT + 16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(wsprintf(buffer, "%s%d", long_text.c_str(), 5), WSPRINTF_LIMIT - 1);
  EXPECT_EQ(buffer[WSPRINTF_LIMIT - 1], '\0');
  EXPECT_EQ(buffer[WSPRINTF_LIMIT], '#');
  EXPECT_EQ(std::string(buffer), long_text.substr(0, WSPRINTF_LIMIT - 1));
  EXPECT_EQ(wsprintf(buffer, "%2000d", 1), WSPRINTF_LIMIT - 1);
}

}  // namespace
