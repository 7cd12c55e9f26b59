#include "platform/user/tests/window_test_fixture.h"

#include "platform/kernel/global_memory.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstring>

using Clipboard = WindowTest;

namespace {

HGLOBAL TextBlock(const char* text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::strcpy(static_cast<char*>(GlobalLock(block)), text);
  GlobalUnlock(block);
  return block;
}

}  // namespace

TEST_F(Clipboard, TextRoundTripsInWindows1252ThroughTheDesktopClipboard) {
  HWND w = TopWindow();
  ASSERT_TRUE(OpenClipboard(w));
  EXPECT_FALSE(OpenClipboard(w));  // already open
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL block = TextBlock("Caf\xe9 \x80 5");
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_EQ(GetClipboardOwner(), w);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Café € 5"));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));

  QGuiApplication::clipboard()->setText(QString::fromUtf8("naïve “quoted”"));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE back = GetClipboardData(CF_TEXT);
  ASSERT_NE(back, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(back)), "na\xefve \x93quoted\x94");
  GlobalUnlock(back);
  CloseClipboard();
}

TEST_F(Clipboard, CallsOutsideAnOpenClipboardFail) {
  HGLOBAL block = TextBlock("x");
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x31)));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(SetClipboardData(CF_BITMAP, block), nullptr);  // only text is carried
  EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
  CloseClipboard();
  GlobalFree(block);
}

TEST_F(Clipboard, ABlockWithoutTerminatorIsReadOnlyToItsSize) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3);
  std::memcpy(GlobalLock(block), "abc", 3);
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  CloseClipboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
}
