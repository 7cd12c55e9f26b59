/*
** The behaviour the four typed edit boxes share: keys and pasted text judged by the box's
** rule, the two refusal beeps, the refusal of a text that stands for no value, the lowered
** formatting rectangle and the transfer's reading of the text.
*/
#include "tableaccess/typed_edit_input.h"

#include "platform/framework/validator.h"
#include "platform/kernel/global_memory.h"
#include "platform/user/clipboard.h"
#include "platform/user/edit_control.h"
#include "platform/user/input.h"
#include "platform/user/message_box.h"
#include "platform/user/system_info.h"
#include "platform/user/virtual_keys.h"

#include <algorithm>

namespace {

/* The transfer reads the text into a buffer of 38 characters and its terminator. */
constexpr int kTransferTextLength = 38;

/* The simple beep, for a character the box takes but not at this place. */
constexpr UINT kSimpleBeep = 0xFFFFFFFF;

void BeepFor(TKeyVerdict verdict) {
  if (verdict == TKeyVerdict::SimpleBeep) MessageBeep(kSimpleBeep);
  else if (verdict == TKeyVerdict::DefaultBeep) MessageBeep(MB_OK);
}

/* The clipboard's text up to its first line end: what a single-line edit would paste. */
std::string ClipboardLine(HWND owner) {
  std::string text;
  if (!OpenClipboard(owner)) return text;
  HANDLE block = GetClipboardData(CF_TEXT);
  if (const char* bytes = block ? static_cast<const char*>(GlobalLock(block)) : nullptr) {
    text = bytes;
    GlobalUnlock(block);
  }
  CloseClipboard();
  size_t end = text.find_first_of("\r\n");
  if (end != std::string::npos) text.resize(end);
  return text;
}

}  // namespace

bool AdmitKey(TEdit& box, TKeyRule rule, UINT key) {
  UINT start = 0, end = 0;
  box.GetSelection(start, end);
  TKeyVerdict verdict = rule(key, box.GetText(), start, end);
  BeepFor(verdict);
  return verdict == TKeyVerdict::Pass;
}

bool AdmitPaste(TEdit& box, TKeyRule rule) {
  std::string pasted = ClipboardLine(box.HWindow);
  std::string text = box.GetText();
  UINT start = 0, end = 0;
  box.GetSelection(start, end);
  for (unsigned char c : pasted) {
    // Backspace and Tab pass as keys, but as pasted text they would be stored in the box.
    TKeyVerdict verdict = c < 0x20 ? TKeyVerdict::DefaultBeep : rule(c, text, start, end);
    if (verdict != TKeyVerdict::Pass) {
      BeepFor(verdict == TKeyVerdict::Swallow ? TKeyVerdict::DefaultBeep : verdict);
      return false;
    }
    size_t from = std::min<size_t>(start, text.size());
    size_t to = std::min<size_t>(std::max<size_t>(end, from), text.size());
    text = text.substr(0, from) + static_cast<char>(c) + text.substr(to);
    start = end = static_cast<UINT>(from + 1);
  }
  return true;
}

bool PasteKeyTakenOver(TEdit& box, UINT key) {
  if (key != VK_INSERT || GetKeyState(VK_SHIFT) >= 0 || GetKeyState(VK_CONTROL) < 0) return false;
  box.SendMessage(WM_PASTE);
  return true;
}

void LowerFormattingRect(TEdit& box) {
  TRect rect = box.GetClientRect();
  rect.bottom += 8;
  box.SendMessage(EM_SETRECT, 0, reinterpret_cast<LPARAM>(static_cast<RECT*>(&rect)));
}

std::string TransferText(const TEdit& box) {
  char text[kTransferTextLength + 1] = {};
  box.GetText(text, sizeof text);
  return text;
}

bool RefuseUnlessValue(TEdit& box, bool isValue) {
  if (isValue || !box.IsWindowEnabled()) return true;
  TValidator().Error(&box);
  box.SetFocus();
  return false;
}
