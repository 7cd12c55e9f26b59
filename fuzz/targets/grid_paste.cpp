/*
** Fuzz target: clipboard text another program left there, pasted into an editable grid by
** Ctrl+V and copied back by Ctrl+C. The grid's hidden key column and its protected column
** keep their values, no row is added or lost, and the copy succeeds.
*/
#include "fuzz/fuzz_support.h"
#include "grid/tessel.h"
#include "platform/kernel/kernel.h"
#include "platform/user/clipboard.h"
#include "platform/user/winuser.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

HWND Parent() {
  static HWND parent = [] {
    HWND made = CreateWindow("static", "Parent", WS_OVERLAPPED, 0, 0, 600, 400, nullptr, nullptr,
                             nullptr, nullptr);
    FuzzRequire(LoadLibrary("vgrd32.dll") != nullptr, "the grid library loads");
    return made;
  }();
  return parent;
}

struct Column {
  WORD type;
  int length;
  WORD flags;
};

/* Text, number, hidden key, amount, money, calendar time, protected number, short text,
   file date, check box: the pasted pieces meet every kind of reading. */
const Column kColumns[] = {
    {TST_ZSTRING, 8, TSCS_EDIT},
    {TST_INT4, 0, TSCS_EDIT},
    {TST_INT4, 0, TSCS_HIDDEN | TSCS_EDIT},
    {TST_REAL8, 0, TSCS_EDIT},
    {TST_SQLMONEY, 0, TSCS_EDIT},
    {TST_CDATETIME, 0, TSCS_EDIT},
    {TST_INT4, 0, TSCS_PROTECT},
    {TST_SQLVARCHAR, 3, TSCS_EDIT},
    {TST_FILEDATE, 0, TSCS_EDIT},
    {TST_CHECKBOX, 0, TSCS_EDIT},
};
constexpr int kColumnCount = sizeof kColumns / sizeof kColumns[0];
constexpr int kRows = 4;

HWND MakeGrid() {
  HWND grid =
      CreateWindow("Tessel", "", WS_CHILD | TSS_OWNERDEF | TSS_MULTIROW, 0, 0, 400, 200, Parent(),
                   reinterpret_cast<HMENU>(static_cast<intptr_t>(200)), nullptr, nullptr);
  SendMessage(grid, TSM_SETCOLCOUNT, kColumnCount, 0);
  for (int c = 0; c < kColumnCount; ++c) {
    SendMessage(grid, TSM_SETCOLTYPE, c, kColumns[c].type);
    if (kColumns[c].length) SendMessage(grid, TSM_SETCOLLEN, c, kColumns[c].length);
    SendMessage(grid, TSM_SETCOLSTYLE, c, kColumns[c].flags);
  }
  return grid;
}

/* The grid, made once: its making (the window and each column's layout) cost more than the
   paste itself. Each input begins by deleting every row, which also ends an open edit and
   clears the selection, the cursor and the scrolling, so no input sees another's state. */
HWND Grid() {
  static HWND grid = MakeGrid();
  SendMessage(grid, TSM_DELETEALLROWS, 0, 0);
  return grid;
}

int32_t IntCell(HWND grid, int row, int column) {
  int32_t value = 0;
  SendMessage(grid, TSM_SETCURSOR, column, row);
  SendMessage(grid, TSM_GETCELL, 0, reinterpret_cast<LPARAM>(&value));
  return value;
}

void SetIntCell(HWND grid, int row, int column, int32_t value) {
  SendMessage(grid, TSM_SETCURSOR, column, row);
  SendMessage(grid, TSM_SETCELL, 0, reinterpret_cast<LPARAM>(&value));
}

void PutText(const std::string& text) {
  FuzzRequire(OpenClipboard(nullptr), "the clipboard opens");
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  FuzzRequire(block != nullptr, "a clipboard block");
  std::memcpy(GlobalLock(block), text.data(), text.size());
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

/* A key pressed with Ctrl held, as the grid reads Ctrl. */
void CtrlKey(HWND grid, int key) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessage(grid, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  HWND grid = Grid();
  std::vector<uint8_t> empty(4096, 0);
  for (int r = 0; r < kRows; ++r) {
    SendMessage(grid, TSM_SETCURSOR, 0, TSROW_APPEND);
    SendMessage(grid, TSM_INSERTROW, 0, reinterpret_cast<LPARAM>(empty.data()));
    SetIntCell(grid, r, 2, 1000 + r);
    SetIntCell(grid, r, 6, 2000 + r);
  }
  // The first byte picks the cell the paste starts from.
  SendMessage(grid, TSM_SETCURCELL, data[0] % kColumnCount, (data[0] / kColumnCount) % kRows);
  PutText(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  CtrlKey(grid, 'V');
  FuzzRequire(SendMessage(grid, TSM_GETROWCOUNT, 0, 0) == kRows,
              "a paste adds and removes no rows");
  for (int r = 0; r < kRows; ++r) {
    FuzzRequire(IntCell(grid, r, 2) == 1000 + r, "the hidden key column is never pasted over");
    FuzzRequire(IntCell(grid, r, 6) == 2000 + r, "the protected column is never pasted over");
  }
  SendMessage(grid, TSM_SELECTALLROWS, 1, 0);
  CtrlKey(grid, 'C');
  FuzzRequire(OpenClipboard(nullptr), "the clipboard opens");
  HANDLE copied = GetClipboardData(CF_TEXT);
  std::string text = copied ? static_cast<const char*>(GlobalLock(copied)) : "";
  if (copied) GlobalUnlock(copied);
  CloseClipboard();
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  FuzzRequire(lines == kRows, "every selected row is copied, one line each");
  // What the paste and copy left for later (a repaint) is done now, so that no input ends
  // holding memory that a later turn of the loop frees: the fuzzer would otherwise search the
  // whole heap for a leak after each one.
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  return 0;
}
