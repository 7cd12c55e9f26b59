#include "platform/testing/gui_test.h"

#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string gTyped;

LRESULT CALLBACK CharCollector(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR) gTyped.push_back(static_cast<char>(wParam));
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT r{10, 10, 30, 20};
    FillRect(dc, &r, blue);
    DeleteObject(blue);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

HWND CollectorWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASS wc{};
    wc.lpfnWndProc = CharCollector;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "HarnessCollector";
    registered = RegisterClass(&wc) != 0;
  }
  return CreateWindow("HarnessCollector", "Harness", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr,
                      nullptr, nullptr, nullptr);
}

}  // namespace

using Harness = GuiTest;

TEST_F(Harness, ScriptedBoxesRecordEveryBoxAndAnswerInTurn) {
  HWND owner = CollectorWindow();
  Boxes().QueueAnswer(IDNO);
  EXPECT_EQ(MessageBox(owner, "Save changes?", "Zarne Message", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBox(nullptr, "Gone", "System Error", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  ASSERT_EQ(Boxes().Shown().size(), 2u);
  EXPECT_EQ(Boxes().Shown()[0].owner, owner);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Zarne Message");
  EXPECT_EQ(Boxes().Shown()[0].text, "Save changes?");
  EXPECT_EQ(Boxes().Shown()[1].type, static_cast<UINT>(MB_OKCANCEL | MB_DEFBUTTON2));
}

TEST_F(Harness, ScriptedBoxesCallBackWhileTheBoxIsUpBeforeItIsAnswered) {
  std::vector<std::string> seen;
  int shownWhenCalled = -1;
  Boxes().OnShow([&](const MessageBoxRequest& box) {
    seen.push_back(box.caption + ": " + box.text);
    shownWhenCalled = static_cast<int>(Boxes().Shown().size());
  });
  Boxes().QueueAnswer(IDRETRY);
  EXPECT_EQ(MessageBox(nullptr, "Disk busy", "Error", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(seen, std::vector<std::string>{"Error: Disk busy"});
  EXPECT_EQ(shownWhenCalled, 1);
}

TEST_F(Harness, EachTestHasItsOwnFreshRoot) {
  const char* root = std::getenv("ZARNE_ROOT");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Root(), root);
  EXPECT_TRUE(std::filesystem::is_directory(Root()));
  EXPECT_TRUE(std::filesystem::is_empty(Root()));
}

TEST_F(Harness, TypedTextArrivesAsCharactersWithShiftedSymbols) {
  HWND w = CollectorWindow();
  SetFocus(w);
  gTyped.clear();
  TypeText("Ab1!$ z");
  PressKey(VK_RETURN);
  EXPECT_EQ(gTyped, "Ab1!$ z\r");
}

TEST_F(Harness, ScreenshotsShowWhatTheWindowPainted) {
  HWND w = CollectorWindow();
  QImage image = GrabWindow(w);
  ASSERT_EQ(image.size(), QSize(60, 40));
  EXPECT_EQ(image.pixel(15, 15), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(50, 30), qRgb(192, 192, 192));  // the class brush erased the rest
  std::string path = PathInRoot("harness.png");
  ASSERT_TRUE(SaveWindowScreenshot(w, path));
  EXPECT_GT(std::filesystem::file_size(path), 0u);
  EXPECT_FALSE(SaveWindowScreenshot(w, "/nonexistent-dir/x.png"));
}

TEST_F(Harness, RecordingDCIsOfferedWithTheHarness) {
  HDC dc = GdiCreateRecordingDC();
  ASSERT_NE(dc, nullptr);
  TextOutA(dc, 3, 4, "Hi", 2);
  auto calls = GdiRecordedCalls(dc);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].call, "TextOut");
  EXPECT_EQ(calls[0].text, "Hi");
  DeleteDC(dc);
}
