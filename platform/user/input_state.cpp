/*
** Key and button states. GetKeyState answers what was true when the message being handled
** was queued (states change as messages are taken from the queue), GetAsyncKeyState what is
** true now; both follow real Qt input.
*/
#include "platform/user/input.h"

#include "platform/user/message_queue_internal.h"
#include "platform/user/virtual_keys.h"

#include <cstring>

namespace {

struct KeyTables {
  BYTE sync[256] = {};
  BYTE async[256] = {};
};

KeyTables& Tables() {
  static KeyTables tables;
  return tables;
}

void SetDown(BYTE* table, int vk, bool down) {
  if (vk <= 0 || vk > 255) return;
  if (down) {
    if (!(table[vk] & 0x80)) table[vk] ^= 0x01;  // each new press toggles
    table[vk] |= 0x80;
  } else {
    table[vk] &= static_cast<BYTE>(~0x80);
  }
}

/* The generic and left-hand codes of the modifier keys move together. */
void SetModifier(BYTE* table, int generic, int left, bool down) {
  if (((table[generic] & 0x80) != 0) == down) return;
  SetDown(table, generic, down);
  SetDown(table, left, down);
}

}  // namespace

void ApplyMessageInputState(const QueuedMessage& message) {
  BYTE* sync = Tables().sync;
  if (message.hasInputState) {
    SetModifier(sync, VK_SHIFT, VK_LSHIFT, (message.modifiers & Qt::ShiftModifier) != 0);
    SetModifier(sync, VK_CONTROL, VK_LCONTROL, (message.modifiers & Qt::ControlModifier) != 0);
    SetModifier(sync, VK_MENU, VK_LMENU, (message.modifiers & Qt::AltModifier) != 0);
    auto button = [&](int vk, Qt::MouseButton b) {
      bool down = (message.buttons & b) != 0;
      if (((sync[vk] & 0x80) != 0) != down) SetDown(sync, vk, down);
    };
    button(VK_LBUTTON, Qt::LeftButton);
    button(VK_RBUTTON, Qt::RightButton);
    button(VK_MBUTTON, Qt::MiddleButton);
  }
  if (message.keyVk) SetDown(sync, message.keyVk, message.keyDown);
}

void NoteAsyncKeyState(int virtualKey, bool down) { SetDown(Tables().async, virtualKey, down); }

SHORT GetKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  BYTE state = Tables().sync[virtualKey];
  SHORT result = (state & 0x80) ? static_cast<SHORT>(0xFF80) : 0;
  return static_cast<SHORT>(result | (state & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 255) return 0;
  return (Tables().async[virtualKey] & 0x80) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL GetKeyboardState(BYTE* state256) {
  if (!state256) return FALSE;
  std::memcpy(state256, Tables().sync, 256);
  return TRUE;
}

BOOL SetKeyboardState(const BYTE* state256) {
  if (!state256) return FALSE;
  std::memcpy(Tables().sync, state256, 256);
  return TRUE;
}
