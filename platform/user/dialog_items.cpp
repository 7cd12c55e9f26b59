/*
** Reaching a dialog's controls by id: their text, their text as a number, and the check state
** of check boxes and radio buttons. A missing control answers the calls' failure values.
*/
#include "platform/user/dialog_manager.h"

#include "platform/user/button_control.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string ItemText(HWND item) {
  int length = GetWindowTextLength(item);
  std::vector<char> buffer(static_cast<size_t>(length) + 1, 0);
  GetWindowText(item, buffer.data(), length + 1);
  return buffer.data();
}

/* Leading and trailing blanks are allowed around the number, nothing else. */
bool ParseNumber(const std::string& text, bool isSigned, UINT* value) {
  size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  bool negative = false;
  if (at < text.size() && text[at] == '-' && isSigned) {
    negative = true;
    ++at;
  }
  size_t digitsStart = at;
  unsigned long long magnitude = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    magnitude = magnitude * 10 + static_cast<unsigned>(text[at] - '0');
    if (magnitude > 0xFFFFFFFFull) return false;
    ++at;
  }
  if (at == digitsStart) return false;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  if (at != text.size()) return false;
  if (isSigned) {
    if (negative ? magnitude > 0x80000000ull : magnitude > 0x7FFFFFFFull) return false;
    long long signedValue =
        negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    *value = static_cast<UINT>(static_cast<int>(signedValue));
    return true;
  }
  *value = static_cast<UINT>(magnitude);
  return true;
}

}  // namespace

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  return SendMessage(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE
                                                                                      : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  HWND item = GetDlgItem(dialog, id);
  if (!item) return 0;
  return static_cast<UINT>(
      SendMessage(item, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char text[16];
  if (isSigned) std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  else std::snprintf(text, sizeof text, "%u", value);
  return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  HWND item = GetDlgItem(dialog, id);
  UINT value = 0;
  if (!item || !ParseNumber(ItemText(item), isSigned != FALSE, &value)) return 0;
  if (translated) *translated = TRUE;
  return value;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  SendMessage(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item ? static_cast<UINT>(SendMessage(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  if (!IsWindow(dialog) || firstId > lastId) return FALSE;
  for (int id = firstId; id <= lastId; ++id) {
    if (HWND item = GetDlgItem(dialog, id))
      SendMessage(item, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}
