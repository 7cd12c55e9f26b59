/*
** Window longs and words, and the window text. Extra bytes are kept as pointer-sized slots,
** one per four bytes, so that handles and pointers stored at offsets 0, 4, ... keep all
** their bits; word access reaches the low or high half of a slot's low 32 bits.
*/
#include "platform/user/cross_process_windows.h"
#include "platform/user/window_manager.h"

#include "platform/user/message_queue.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <cstring>

namespace {

LONG_PTR* ExtraSlot(WindowObject& window, int offset, int size) {
  if (offset < 0 || offset + size > window.extraBytes) return nullptr;
  size_t slot = static_cast<size_t>(offset / 4);
  return slot < window.extraWords.size() ? &window.extraWords[slot] : nullptr;
}

void ApplyStyleChange(WindowObject& window, DWORD oldStyle) {
  DWORD changed = oldStyle ^ window.style;
  if (!window.frame) return;
  if (changed & WS_VISIBLE) window.frame->setVisible((window.style & WS_VISIBLE) != 0);
  if (changed & WS_DISABLED) window.frame->setEnabled(!(window.style & WS_DISABLED));
  window.frame->update();
}

LONG_PTR SetStyle(HWND hwnd, int index, DWORD value) {
  WindowPtr window = FindWindowObject(hwnd);
  DWORD& field = index == GWL_STYLE ? window->style : window->exStyle;
  STYLESTRUCT change{field, value};
  SendMessage(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index),
              reinterpret_cast<LPARAM>(&change));
  window = FindWindowObject(hwnd);
  if (!window) return 0;
  DWORD& target = index == GWL_STYLE ? window->style : window->exStyle;
  DWORD old = target;
  target = change.styleNew;
  if (index == GWL_STYLE) ApplyStyleChange(*window, old);
  STYLESTRUCT done{old, target};
  SendMessage(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&done));
  return static_cast<LONG_PTR>(static_cast<LONG>(old));
}

}  // namespace

LONG_PTR GetWindowLong(HWND hwnd, int index) {
  WindowObject* window = PeekWindowObject(hwnd);
  if (!window) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(window->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(window->IsChild() ? window->parent : window->owner);
    case GWL_ID: return window->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(window->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(window->exStyle));
    case GWL_USERDATA: return window->userData;
    default: {
      if (index % 4 != 0) return 0;
      LONG_PTR* slot = ExtraSlot(*window, index, 4);
      return slot ? *slot : 0;
    }
  }
}

LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return 0;
  LONG_PTR old = GetWindowLong(hwnd, index);
  switch (index) {
    case GWL_WNDPROC:
      if (!value) return 0;
      window->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWL_HINSTANCE: window->instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GWL_HWNDPARENT:
      if (!window->IsChild()) window->owner = reinterpret_cast<HWND>(value);
      return old;
    case GWL_ID: window->id = value; return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: return SetStyle(hwnd, index, static_cast<DWORD>(value));
    case GWL_USERDATA: window->userData = value; return old;
    default: {
      if (index % 4 != 0) return 0;
      LONG_PTR* slot = ExtraSlot(*window, index, 4);
      if (!slot) return 0;
      *slot = value;
      return old;
    }
  }
}

WORD GetWindowWord(HWND hwnd, int index) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || index < 0 || index % 2 != 0) return 0;
  LONG_PTR* slot = ExtraSlot(*window, index, 2);
  if (!slot) return 0;
  int shift = (index % 4) * 8;
  return static_cast<WORD>((static_cast<ULONG_PTR>(*slot) >> shift) & 0xFFFF);
}

WORD SetWindowWord(HWND hwnd, int index, WORD value) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || index < 0 || index % 2 != 0) return 0;
  LONG_PTR* slot = ExtraSlot(*window, index, 2);
  if (!slot) return 0;
  int shift = (index % 4) * 8;
  ULONG_PTR bits = static_cast<ULONG_PTR>(*slot);
  WORD old = static_cast<WORD>((bits >> shift) & 0xFFFF);
  bits = (bits & ~(static_cast<ULONG_PTR>(0xFFFF) << shift)) |
         (static_cast<ULONG_PTR>(value) << shift);
  *slot = static_cast<LONG_PTR>(bits);
  return old;
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
  if (!FindWindowObject(hwnd)) return FALSE;
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowText(HWND hwnd, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  if (IsOtherProgramsWindow(hwnd)) return OtherProgramsWindowText(hwnd, buffer, size);
  if (!FindWindowObject(hwnd)) return 0;
  return static_cast<int>(
      SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
  if (IsOtherProgramsWindow(hwnd)) return OtherProgramsWindowTextLength(hwnd);
  if (!FindWindowObject(hwnd)) return 0;
  return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}
