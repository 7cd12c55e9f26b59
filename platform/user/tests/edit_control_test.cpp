#include "platform/user/tests/window_test_fixture.h"

#include "platform/kernel/global_memory.h"
#include "platform/testing/screenshot.h"
#include "platform/user/key_mapping.h"

#include <QApplication>
#include <QPalette>

#include <cstring>

using EditControl = WindowTest;

namespace {

HWND CreateEdit(HWND parent, int id, DWORD style = 0, LPCSTR cls = "edit", LPCSTR text = "") {
  return CreateWindow(cls, text, WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, 150, 24, parent,
                      reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

std::string TextOf(HWND hwnd) {
  char buffer[256];
  GetWindowText(hwnd, buffer, sizeof buffer);
  return buffer;
}

std::vector<WORD> Notifications(HWND parent, HWND edit) {
  std::vector<WORD> codes;
  for (const auto& m : LoggedOf(WM_COMMAND))
    if (m.hwnd == parent && reinterpret_cast<HWND>(m.lParam) == edit)
      codes.push_back(HIWORD(m.wParam));
  return codes;
}

WNDPROC gEditProc = nullptr;
std::vector<UINT> gSubclassSaw;

/* A subclass that takes Tab for itself and upper-cases typed letters. */
LRESULT CALLBACK TabEatingSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) gSubclassSaw.push_back(msg);
  if (msg == WM_CHAR && wParam == '\t') {
    PostMessage(GetParent(hwnd), WM_USER + 1, GetDlgCtrlID(hwnd), 0);
    return 0;
  }
  if (msg == WM_CHAR && wParam >= 'a' && wParam <= 'z') wParam -= 32;
  return CallWindowProc(gEditProc, hwnd, msg, wParam, lParam);
}

}  // namespace

TEST_F(EditControl, TypingReachesTheEditAndNotifiesTheParent) {
  HWND top = TopWindow();
  HWND edit = CreateEdit(top, 101);
  ASSERT_NE(edit, nullptr);
  SetFocus(edit);
  EXPECT_EQ(Notifications(top, edit), std::vector<WORD>{EN_SETFOCUS});
  MessageLog().clear();
  TypeText("Hi 5");
  EXPECT_EQ(TextOf(edit), "Hi 5");
  EXPECT_EQ(GetWindowTextLength(edit), 4);
  std::vector<WORD> codes = Notifications(top, edit);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_CHANGE), 4);
  PressKey(VK_LEFT);
  PressKey(VK_BACK);
  EXPECT_EQ(TextOf(edit), "Hi5");
  PressKey(VK_HOME);
  PressKey(VK_DELETE);
  EXPECT_EQ(TextOf(edit), "i5");
  MessageLog().clear();
  SetFocus(top);
  EXPECT_EQ(Notifications(top, edit), std::vector<WORD>{EN_KILLFOCUS});
}

TEST_F(EditControl, SelectionLimitAndReplacementFollowTheMessages) {
  HWND top = TopWindow();
  HWND edit = CreateEdit(top, 101, 0, "edit", "abcdef");
  EXPECT_EQ(TextOf(edit), "abcdef");
  SendMessage(edit, EM_SETSEL, 1, 4);
  DWORD start = 0, end = 0;
  LRESULT both = SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                             reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(both, MAKELRESULT(1, 4));
  SendMessage(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("XY"));
  EXPECT_EQ(TextOf(edit), "aXYef");
  SendMessage(edit, EM_SETSEL, 0, -1);
  SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end, 5u);
  SendMessage(edit, EM_LIMITTEXT, 6, 0);
  EXPECT_EQ(SendMessage(edit, EM_GETLIMITTEXT, 0, 0), 6);
  SendMessage(edit, EM_SETSEL, 5, 5);
  SetFocus(edit);
  MessageLog().clear();
  int beeps = MessageBeepCount();
  TypeText("12");
  EXPECT_EQ(TextOf(edit), "aXYef1");
  std::vector<WORD> codes = Notifications(top, edit);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_MAXTEXT), 1);
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  // Setting the text ignores the limit, as on the original platform.
  SetWindowText(edit, "longer than six");
  EXPECT_EQ(TextOf(edit), "longer than six");
}

TEST_F(EditControl, SubclassSeesKeysFirstAndDefaultHandlingDoesTheEditing) {
  HWND top = TopWindow();
  HWND edit = CreateEdit(top, 101);
  gEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLong(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(TabEatingSubclass)));
  ASSERT_EQ(gEditProc, EditWindowProc);
  gSubclassSaw.clear();
  SetFocus(edit);
  TypeText("ab");
  PressKey(VK_TAB);
  EXPECT_EQ(TextOf(edit), "AB");
  EXPECT_EQ(MessagesOf(top, {WM_USER + 1}).size(), 1u);  // the subclass's own Tab handling
  std::vector<UINT> firstKey(gSubclassSaw.begin(), gSubclassSaw.begin() + 3);
  EXPECT_EQ(firstKey, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
}

TEST_F(EditControl, SuperclassBuiltFromTheEditClassInfoBehavesAsAnEdit) {
  WNDCLASS wc{};
  ASSERT_TRUE(GetClassInfo(nullptr, "edit", &wc));
  EXPECT_EQ(wc.lpfnWndProc, EditWindowProc);
  EXPECT_TRUE(wc.style & CS_PARENTDC);
  gEditProc = wc.lpfnWndProc;
  wc.lpfnWndProc = TabEatingSubclass;
  wc.style = (wc.style | CS_GLOBALCLASS) & ~CS_PARENTDC;
  wc.lpszClassName = "tsedit";
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND top = TopWindow();
  HWND edit = CreateEdit(top, 7, 0, "tsedit", "start");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(TextOf(edit), "start");
  char name[16];
  GetClassName(edit, name, sizeof name);
  EXPECT_STREQ(name, "tsedit");
  SetFocus(edit);
  SendMessage(edit, EM_SETSEL, 0, -1);
  TypeText("x");
  EXPECT_EQ(TextOf(edit), "X");
  EXPECT_EQ(SendMessage(edit, WM_GETDLGCODE, 0, 0),
            DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
  DestroyWindow(top);
  EXPECT_TRUE(UnregisterClass("tsedit", nullptr));
}

TEST_F(EditControl, MultiLineTextUsesCrLfAndClicksReachTheProcedure) {
  HWND top = TopWindow();
  HWND edit = CreateWindow("edit", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 80, top,
                           reinterpret_cast<HMENU>(5), nullptr, nullptr);
  SetWindowText(edit, "one\r\ntwo");
  EXPECT_EQ(GetWindowTextLength(edit), 8);
  EXPECT_EQ(SendMessage(edit, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessage(edit, EM_LINEINDEX, 1, 0), 5);
  SendMessage(edit, EM_SETSEL, 5, 8);
  DWORD start = 0, end = 0;
  SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 5u);
  EXPECT_EQ(end, 8u);
  std::vector<UINT> seen;
  gEditProc = reinterpret_cast<WNDPROC>(GetWindowLong(edit, GWL_WNDPROC));
  static std::vector<UINT>* clicks;
  clicks = &seen;
  SetWindowLong(edit, GWL_WNDPROC,
                reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                  if (m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDOWN || m == WM_LBUTTONDOWN)
                    clicks->push_back(m);
                  return CallWindowProc(gEditProc, h, m, w, l);
                }));
  DoubleClick(edit, 5, 5);
  Click(edit, 5, 5, Qt::RightButton);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}));
  EXPECT_EQ(GetFocus(), edit);  // the click focused the edit
}

// Every Windows-1252 byte the caller stored comes back as it was, in both kinds of edit:
// the no-break space (0xA0) is not a space, and line ends stay CR LF.
TEST_F(EditControl, TextComesBackByteForByte) {
  HWND top = TopWindow();
  HWND multi = CreateWindow("edit", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 80, top,
                            reinterpret_cast<HMENU>(6), nullptr, nullptr);
  HWND single = CreateEdit(top, 7);
  const std::string stored =
      "Lot\xA0"
      "7 caf\xE9 \x80"
      "5\r\nBlock\xA0"
      "B";
  for (HWND edit : {multi, single}) {
    const std::string expected = edit == multi ? stored
                                               : "Lot\xA0"
                                                 "7 caf\xE9 \x80"
                                                 "5";
    SetWindowText(edit, expected.c_str());
    char back[64] = {};
    GetWindowText(edit, back, sizeof back);
    EXPECT_EQ(std::string(back), expected);
    EXPECT_EQ(GetWindowTextLength(edit), static_cast<int>(expected.size()));
  }
  char line[32] = {};
  *reinterpret_cast<WORD*>(line) = sizeof line;
  LRESULT copied = SendMessage(multi, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line));
  EXPECT_EQ(std::string(line, static_cast<size_t>(copied)),
            "Block\xA0"
            "B");
}

TEST_F(EditControl, CopyAndPasteGoThroughTheClipboard) {
  HWND top = TopWindow();
  HWND source = CreateEdit(top, 1, 0, "edit", "copy me");
  HWND target = CreateEdit(top, 2);
  SendMessage(source, EM_SETSEL, 0, 4);
  SendMessage(source, WM_COPY, 0, 0);
  SetFocus(target);
  PressKey('V', Qt::ControlModifier);
  EXPECT_EQ(TextOf(target), "copy");
  ASSERT_TRUE(OpenClipboard(top));
  HANDLE block = GetClipboardData(CF_TEXT);
  ASSERT_NE(block, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(block)), "copy");
  GlobalUnlock(block);
  CloseClipboard();
}

TEST_F(EditControl, StylesShapeWhatTypingAndSettingTextDo) {
  HWND top = TopWindow();
  HWND number = CreateEdit(top, 1, ES_NUMBER);
  HWND upper = CreateEdit(top, 2, ES_UPPERCASE);
  HWND readOnly = CreateEdit(top, 3, ES_READONLY, "edit", "fixed");
  HWND multi = CreateWindow("edit", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 40, 100, 40, top,
                            reinterpret_cast<HMENU>(4), nullptr, nullptr);
  int beeps = MessageBeepCount();
  SetFocus(number);
  TypeText("4a2");
  EXPECT_EQ(TextOf(number), "42");
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  SetFocus(upper);
  TypeText("abc");
  EXPECT_EQ(TextOf(upper), "ABC");
  SetFocus(readOnly);
  TypeText("x");
  PressKey(VK_BACK);
  EXPECT_EQ(TextOf(readOnly), "fixed");
  // Setting the text notifies a single-line edit's parent, not a multi-line one's.
  MessageLog().clear();
  SetWindowText(upper, "set");
  SetWindowText(multi, "set");
  EXPECT_EQ(Notifications(top, upper), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
  EXPECT_TRUE(Notifications(top, multi).empty());
  SetFocus(multi);
  PressKey(VK_END);
  PressKey(VK_RETURN);
  TypeText("x");
  EXPECT_EQ(TextOf(multi), "set\r\nx");
}

TEST_F(EditControl, EnterInAMultiLineEditThatCannotScrollDownIsRefusedWhenTheLineWouldNotFit) {
  HWND top = TopWindow();
  // One line high, as the statement's edit line: 60 x 24 pixels with a border.
  HWND oneLine =
      CreateWindow("edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_MULTILINE, 0,
                   0, 60, 24, top, reinterpret_cast<HMENU>(1), nullptr, nullptr);
  HWND growing = CreateWindow(
      "edit", "",
      WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 30, 60,
      24, top, reinterpret_cast<HMENU>(2), nullptr, nullptr);
  HWND tall =
      CreateWindow("edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_MULTILINE, 0,
                   60, 60, 200, top, reinterpret_cast<HMENU>(3), nullptr, nullptr);
  SetFocus(oneLine);
  TypeText("12");
  int beeps = MessageBeepCount();
  PressKey(VK_RETURN);
  TypeText("3");
  EXPECT_EQ(TextOf(oneLine), "123");
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  EXPECT_EQ(SendMessage(oneLine, EM_GETLINECOUNT, 0, 0), 1);
  SetFocus(growing);
  TypeText("12");
  PressKey(VK_RETURN);
  TypeText("3");
  EXPECT_EQ(TextOf(growing), "12\r\n3");
  SetFocus(tall);
  TypeText("a");
  PressKey(VK_RETURN);
  TypeText("b");
  EXPECT_EQ(TextOf(tall), "a\r\nb");
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
}

TEST_F(EditControl, CtrlEnterIsALineFeedThatOnlyAMultiLineEditTakes) {
  HWND top = TopWindow();
  HWND single = CreateEdit(top, 1);
  HWND multi =
      CreateWindow("edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, 0,
                   40, 150, 80, top, reinterpret_cast<HMENU>(2), nullptr, nullptr);
  SetFocus(single);
  TypeText("ab");
  PressKey(VK_RETURN, Qt::ControlModifier);
  TypeText("c");
  EXPECT_EQ(TextOf(single), "abc");
  SetFocus(multi);
  TypeText("ab");
  PressKey(VK_RETURN, Qt::ControlModifier);
  TypeText("c");
  EXPECT_EQ(TextOf(multi), "ab\r\nc");
  // A key message no real event made gets the same character from the key states.
  EXPECT_EQ(CharFromVirtualKey(VK_RETURN, false, true, false), 0x0A);
  EXPECT_EQ(CharFromVirtualKey(VK_RETURN, false, false, false), 0x0D);
}

// A key the edit's Qt widget ignores (Ctrl+Up on the first line of a multi-line edit) ends with
// the edit's default handling: it is not handed back up as new input, which the edit would
// receive and replay again without end.
TEST_F(EditControl, AKeyTheEditIgnoresEndsThereAndComesBackNoMore) {
  HWND top = TopWindow();
  HWND edit = CreateWindow("edit", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 80, top,
                           reinterpret_cast<HMENU>(6), nullptr, nullptr);
  SetWindowText(edit, "one\r\ntwo");
  SendMessage(edit, EM_SETSEL, 0, 0);
  SetFocus(edit);
  gSubclassSaw.clear();
  gEditProc = reinterpret_cast<WNDPROC>(GetWindowLong(edit, GWL_WNDPROC));
  SetWindowLong(edit, GWL_WNDPROC,
                reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                  if (m == WM_KEYDOWN) gSubclassSaw.push_back(static_cast<UINT>(w));
                  return CallWindowProc(gEditProc, h, m, w, l);
                }));
  PressKey(VK_UP, Qt::ControlModifier);
  // Bounded: a key handed back as new input would keep the queue busy for ever.
  MSG msg;
  for (int i = 0; i < 200 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
    DispatchMessage(&msg);
  int ups = 0;
  for (UINT key : gSubclassSaw) ups += key == VK_UP;
  EXPECT_EQ(ups, 1);
  SetWindowLong(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(gEditProc));
}

// A multi-line edit shows its selection only while it has the focus; taking the focus away
// and giving it back before a paint leaves the selection showing.
TEST_F(EditControl, AMultiLineSelectionShowsOnlyWithTheFocus) {
  HWND top = TopWindow();
  HWND edit = CreateEdit(top, 7, ES_MULTILINE | ES_AUTOHSCROLL, "edit", "WWWW WWWW");
  const QRgb highlight = QApplication::palette().color(QPalette::Active, QPalette::Highlight).rgb();
  auto highlighted = [&] {
    QImage shown = GrabWindow(edit).convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) count += shown.pixel(x, y) == highlight;
    return count;
  };
  SendMessage(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(highlighted(), 0);
  SetFocus(edit);
  EXPECT_GT(highlighted(), 50);
  SetFocus(top);
  EXPECT_EQ(highlighted(), 0);
  SetFocus(edit);
  SetFocus(top);
  SetFocus(edit);
  EXPECT_GT(highlighted(), 50);
}
