/*
** The clipboard over Qt's clipboard. CF_TEXT goes out as Unicode text (converted from
** Windows-1252) and comes back as a moveable global block the clipboard owns until it is
** emptied or changed; the block a program hands to SetClipboardData becomes the clipboard's.
*/
#include "platform/user/clipboard.h"

#include "platform/kernel/global_memory.h"
#include "platform/user/text_1252.h"
#include "platform/user/window_object.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstring>
#include <string>

namespace {

struct ClipboardState {
  bool open = false;
  HWND openedBy = nullptr;
  HWND owner = nullptr;
  HGLOBAL textBlock = nullptr;  // the block GetClipboardData last answered or was given
};

ClipboardState& State() {
  static ClipboardState state;
  return state;
}

QClipboard* QtClipboard() {
  if (!EnsureWindowSystem()) return nullptr;
  return QGuiApplication::clipboard();
}

void FreeTextBlock() {
  ClipboardState& state = State();
  if (state.textBlock) GlobalFree(state.textBlock);
  state.textBlock = nullptr;
}

bool IsTextFormat(UINT format) { return format == CF_TEXT || format == CF_OEMTEXT; }

}  // namespace

BOOL OpenClipboard(HWND owner) {
  ClipboardState& state = State();
  if (state.open) return FALSE;
  if (owner && !FindWindowObject(owner)) return FALSE;
  state.open = true;
  state.openedBy = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  ClipboardState& state = State();
  if (!state.open) return FALSE;
  state.open = false;
  state.openedBy = nullptr;
  return TRUE;
}

BOOL EmptyClipboard() {
  ClipboardState& state = State();
  if (!state.open) return FALSE;
  FreeTextBlock();
  if (QClipboard* clipboard = QtClipboard()) clipboard->clear();
  state.owner = state.openedBy;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  ClipboardState& state = State();
  if (!state.open || !IsTextFormat(format) || !data) return nullptr;
  const char* bytes = static_cast<const char*>(GlobalLock(data));
  if (!bytes) return nullptr;
  // The block need not be terminated within its size: read no further than it reaches.
  size_t size = GlobalSize(data);
  size_t length = strnlen(bytes, size);
  std::string text(bytes, length);
  GlobalUnlock(data);
  QClipboard* clipboard = QtClipboard();
  if (!clipboard) return nullptr;
  clipboard->setText(DecodeWindows1252(text));
  if (state.textBlock != data) FreeTextBlock();
  state.textBlock = data;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  ClipboardState& state = State();
  if (!state.open || !IsTextFormat(format)) return nullptr;
  QClipboard* clipboard = QtClipboard();
  if (!clipboard || clipboard->text().isNull()) return nullptr;
  std::string text = EncodeWindows1252(clipboard->text());
  FreeTextBlock();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  char* bytes = static_cast<char*>(GlobalLock(block));
  if (!bytes) {
    GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  state.textBlock = block;
  return block;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (!IsTextFormat(format)) return FALSE;
  QClipboard* clipboard = QtClipboard();
  return clipboard && !clipboard->text().isEmpty() ? TRUE : FALSE;
}

HWND GetClipboardOwner() { return State().owner; }
