/*
** Edit control as the dialogs use it: a subclass that filters what is typed and pasted,
** the styles that shape inserted text (case, width without ES_AUTOHSCROLL), the password
** mask, the formatting rectangle, scrolling notifications and the keys a multi-line edit
** leaves to its dialog.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/kernel/global_memory.h"

#include <cstring>
#include <string>
#include <vector>

using EditInDialogs = WindowTest;

namespace {

HWND CreateEdit(HWND parent, int id, DWORD style, int width = 150, int height = 24) {
  return CreateWindow("edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, width, height,
                      parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

std::string TextOf(HWND hwnd) {
  char buffer[512] = {};
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

void PutOnClipboard(HWND owner, const std::string& text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

WNDPROC gBaseEditProc = nullptr;
int gRejected = 0;

/* A digits-only field as the typed edits build one: other characters are refused, and a
** paste is filtered to its digits before the edit inserts it. */
LRESULT CALLBACK DigitsOnly(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR && wParam >= 0x20 && (wParam < '0' || wParam > '9')) {
    ++gRejected;
    return 0;
  }
  if (msg == WM_PASTE) {
    std::string digits;
    if (OpenClipboard(hwnd)) {
      HANDLE block = GetClipboardData(CF_TEXT);
      if (const char* text = block ? static_cast<const char*>(GlobalLock(block)) : nullptr) {
        for (const char* p = text; *p; ++p)
          if (*p >= '0' && *p <= '9') digits += *p;
        GlobalUnlock(block);
      }
      CloseClipboard();
    }
    CallWindowProc(gBaseEditProc, hwnd, EM_REPLACESEL, TRUE,
                   reinterpret_cast<LPARAM>(digits.c_str()));
    return 0;
  }
  return CallWindowProc(gBaseEditProc, hwnd, msg, wParam, lParam);
}

}  // namespace

TEST_F(EditInDialogs, SubclassRejectsTypedAndPastedCharacters) {
  HWND top = TopWindow();
  HWND edit = CreateEdit(top, 101, ES_AUTOHSCROLL);
  gBaseEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLong(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(DigitsOnly)));
  gRejected = 0;
  SetFocus(edit);
  TypeText("12ab3");
  EXPECT_EQ(TextOf(edit), "123");
  EXPECT_EQ(gRejected, 2);
  PutOnClipboard(top, "4-x-5");
  PressKey('V', Qt::ControlModifier);  // Ctrl+V reaches the subclass as WM_PASTE
  EXPECT_EQ(TextOf(edit), "12345");
  PressKey(VK_INSERT, Qt::ShiftModifier);  // the other paste key takes the same road
  EXPECT_EQ(TextOf(edit), "1234545");
  // Backspace and the caret keys still pass through to the edit.
  PressKey(VK_BACK);
  PressKey(VK_HOME);
  PressKey(VK_DELETE);
  EXPECT_EQ(TextOf(edit), "23454");
}

TEST_F(EditInDialogs, CaseStylesHoldForPastedAndReplacedText) {
  HWND top = TopWindow();
  HWND upper = CreateEdit(top, 101, ES_UPPERCASE | ES_AUTOHSCROLL);
  HWND lower = CreateEdit(top, 102, ES_LOWERCASE | ES_AUTOHSCROLL);
  SendMessage(upper, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("Main St \xe9"));
  EXPECT_EQ(TextOf(upper), "MAIN ST \xc9");
  PutOnClipboard(top, "MiXeD");
  SendMessage(lower, WM_PASTE, 0, 0);
  EXPECT_EQ(TextOf(lower), "mixed");
}

TEST_F(EditInDialogs, PasswordEditMasksItsTextAndKeepsItOffTheClipboard) {
  HWND top = TopWindow();
  HWND secret = CreateEdit(top, 101, ES_PASSWORD | ES_AUTOHSCROLL);
  PutOnClipboard(top, "before");
  SetFocus(secret);
  TypeText("s3cret");
  EXPECT_EQ(TextOf(secret), "s3cret");  // the program reads what was typed
  EXPECT_EQ(SendMessage(secret, EM_GETPASSWORDCHAR, 0, 0), '*');
  SendMessage(secret, EM_SETSEL, 0, -1);
  SendMessage(secret, WM_COPY, 0, 0);
  PressKey('C', Qt::ControlModifier);
  PressKey(VK_INSERT, Qt::ControlModifier);
  ASSERT_TRUE(OpenClipboard(top));
  HANDLE block = GetClipboardData(CF_TEXT);
  std::string held = block ? static_cast<const char*>(GlobalLock(block)) : "";
  if (block) GlobalUnlock(block);
  CloseClipboard();
  EXPECT_EQ(held, "before");
  // Without its mask character the field is an ordinary edit again.
  SendMessage(secret, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_EQ(SendMessage(secret, EM_GETPASSWORDCHAR, 0, 0), 0);
  SendMessage(secret, EM_SETSEL, 0, -1);
  SendMessage(secret, WM_COPY, 0, 0);
  ASSERT_TRUE(OpenClipboard(top));
  block = GetClipboardData(CF_TEXT);
  held = block ? static_cast<const char*>(GlobalLock(block)) : "";
  if (block) GlobalUnlock(block);
  CloseClipboard();
  EXPECT_EQ(held, "s3cret");
}

TEST_F(EditInDialogs, SingleLineWithoutAutoHScrollStopsAtItsWidth) {
  HWND top = TopWindow();
  HWND narrow = CreateEdit(top, 101, 0, 60);
  HWND scrolling = CreateEdit(top, 102, ES_AUTOHSCROLL, 60);
  MessageLog().clear();
  SetFocus(narrow);
  TypeText("WWWWWWWWWWWWWWWWWWWW");
  std::string shown = TextOf(narrow);
  EXPECT_GT(shown.size(), 0u);
  EXPECT_LT(shown.size(), 20u);
  std::vector<WORD> codes = Notifications(top, narrow);
  EXPECT_NE(std::find(codes.begin(), codes.end(), EN_MAXTEXT), codes.end());
  SetFocus(scrolling);
  TypeText("WWWWWWWWWWWWWWWWWWWW");
  EXPECT_EQ(TextOf(scrolling).size(), 20u);
  // Setting the text is not typing: it is kept whole.
  SetWindowText(narrow, "a text much wider than the field");
  EXPECT_EQ(TextOf(narrow), "a text much wider than the field");
}

TEST_F(EditInDialogs, FormattingRectangleAndScrollNotifications) {
  HWND top = TopWindow();
  HWND multi = CreateEdit(top, 101, ES_MULTILINE | ES_AUTOVSCROLL, 150, 60);
  RECT r{};
  SendMessage(multi, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  RECT client{};
  GetClientRect(multi, &client);
  EXPECT_EQ(r.right, client.right);
  RECT inset{4, 2, client.right - 4, client.bottom - 2};
  SendMessage(multi, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&inset));
  SendMessage(multi, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 4);
  EXPECT_EQ(r.bottom, client.bottom - 2);
  std::string lines;
  for (int i = 0; i < 30; ++i) lines += "line " + std::to_string(i) + "\r\n";
  SetWindowText(multi, lines.c_str());
  EXPECT_EQ(SendMessage(multi, EM_GETLINECOUNT, 0, 0), 31);
  MessageLog().clear();
  LRESULT scrolled = SendMessage(multi, EM_SCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(HIWORD(scrolled), TRUE);
  EXPECT_EQ(LOWORD(scrolled), 1);
  EXPECT_EQ(SendMessage(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
  SendMessage(multi, EM_LINESCROLL, 0, 5);
  EXPECT_EQ(SendMessage(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 6);
  std::vector<WORD> codes = Notifications(top, multi);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_VSCROLL), 2);

  // A line wider than the field scrolls sideways and says so.
  HWND wide = CreateEdit(top, 102, ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL, 150, 60);
  SetWindowText(wide, std::string(200, 'W').c_str());
  MessageLog().clear();
  SendMessage(wide, EM_LINESCROLL, 10, 0);
  codes = Notifications(top, wide);
  EXPECT_NE(std::find(codes.begin(), codes.end(), EN_HSCROLL), codes.end());
  EXPECT_GT(GetScrollPos(wide, SB_HORZ), 0);
}

TEST_F(EditInDialogs, MultiLineEditLeavesEnterEscAndTabToItsDialog) {
  HWND top = TopWindow();
  HWND plain = CreateEdit(top, 101, ES_MULTILINE, 150, 60);
  HWND wantsReturn = CreateEdit(top, 102, ES_MULTILINE | ES_WANTRETURN, 150, 60);
  HWND single = CreateEdit(top, 103, ES_AUTOHSCROLL);
  auto code = [](HWND edit, WPARAM key) {
    MSG msg{edit, WM_KEYDOWN, key, 0};
    return SendMessage(edit, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
  };
  EXPECT_FALSE(code(plain, VK_RETURN) & DLGC_WANTALLKEYS);
  EXPECT_TRUE(code(wantsReturn, VK_RETURN) & DLGC_WANTALLKEYS);
  EXPECT_FALSE(code(wantsReturn, VK_ESCAPE) & DLGC_WANTALLKEYS);
  EXPECT_FALSE(code(wantsReturn, VK_TAB) & DLGC_WANTALLKEYS);
  EXPECT_TRUE(code(plain, 'A') & DLGC_WANTALLKEYS);
  EXPECT_FALSE(code(single, VK_RETURN) & DLGC_WANTALLKEYS);
  EXPECT_TRUE(code(single, VK_LEFT) & DLGC_WANTARROWS);
}

TEST_F(EditInDialogs, MultiLineEditScrollsWithTheWindowsOwnBar) {
  HWND top = TopWindow();
  HWND multi = CreateEdit(top, 101, ES_MULTILINE | WS_VSCROLL, 150, 60);
  std::string lines;
  for (int i = 0; i < 30; ++i) lines += "row " + std::to_string(i) + "\r\n";
  SetWindowText(multi, lines.c_str());
  SCROLLINFO info{sizeof info, SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(multi, SB_VERT, &info));
  EXPECT_GT(info.nMax, 20);
  EXPECT_GT(info.nPage, 0u);
  EXPECT_EQ(info.nPos, 0);
  MessageLog().clear();
  SendMessage(multi, WM_VSCROLL, SB_LINEDOWN, 0);
  SendMessage(multi, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(SendMessage(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
  EXPECT_EQ(GetScrollPos(multi, SB_VERT), 2);
  SendMessage(multi, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
  EXPECT_EQ(GetScrollPos(multi, SB_VERT), 10);
  std::vector<WORD> codes = Notifications(top, multi);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_VSCROLL), 3);
  // The caret moving down the text scrolls it, and the bar follows.
  SendMessage(multi, EM_SETSEL, 0, 0);
  SendMessage(multi, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(SendMessage(multi, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  EXPECT_EQ(GetScrollPos(multi, SB_VERT), 0);
}

TEST_F(EditInDialogs, ReadOnlyTextIsNotChangedByCutClearPasteOrUndo) {
  HWND top = TopWindow();
  HWND fixed = CreateEdit(top, 101, ES_READONLY | ES_AUTOHSCROLL);
  SetWindowText(fixed, "2026-0042");
  PutOnClipboard(top, "pasted");
  SendMessage(fixed, EM_SETSEL, 0, -1);
  SendMessage(fixed, WM_CUT, 0, 0);
  SendMessage(fixed, WM_CLEAR, 0, 0);
  SendMessage(fixed, WM_PASTE, 0, 0);
  EXPECT_FALSE(SendMessage(fixed, WM_UNDO, 0, 0));
  EXPECT_EQ(TextOf(fixed), "2026-0042");
  // Copying it is still allowed, and the program may still replace the text.
  SendMessage(fixed, WM_COPY, 0, 0);
  HWND other = CreateEdit(top, 102, ES_AUTOHSCROLL);
  SendMessage(other, WM_PASTE, 0, 0);
  EXPECT_EQ(TextOf(other), "2026-0042");
  SendMessage(fixed, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("X"));
  EXPECT_EQ(TextOf(fixed), "X");
}
