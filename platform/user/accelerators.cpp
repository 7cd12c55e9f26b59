/*
** Keyboard accelerators: matching key messages against an accelerator table.
*/
#include "platform/user/accelerators.h"

#include "platform/user/input.h"
#include "platform/user/menu_calls.h"
#include "platform/user/menu_internal.h"
#include "platform/user/message_queue.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"

#include <vector>

namespace {

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

/* A virtual-key entry: the key and exactly the modifiers it names. */
bool MatchesVirtualKey(const ACCEL& entry, const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (entry.key != static_cast<WORD>(msg.wParam)) return false;
  bool alt = (msg.lParam & (1 << 29)) != 0 || KeyDown(VK_MENU);
  return KeyDown(VK_SHIFT) == ((entry.fVirt & FSHIFT) != 0) &&
         KeyDown(VK_CONTROL) == ((entry.fVirt & FCONTROL) != 0) &&
         alt == ((entry.fVirt & FALT) != 0);
}

/* A character entry: the character as typed; with FALT only as WM_SYSCHAR. */
bool MatchesCharacter(const ACCEL& entry, const MSG& msg) {
  if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
  if ((entry.key & 0xFF) != (msg.wParam & 0xFF)) return false;
  return (msg.message == WM_SYSCHAR) == ((entry.fVirt & FALT) != 0);
}

/* The command is swallowed when the window's menu shows it grayed or disabled once the
** window has prepared its menus, as if the user were opening them. */
bool CommandEnabled(HWND hwnd, WORD command) {
  UINT state = PrepareMenuCommand(hwnd, command);
  return state == static_cast<UINT>(-1) || !(state & (MF_GRAYED | MF_DISABLED));
}

}  // namespace

int TranslateAccelerator(HWND hwnd, HACCEL table, LPMSG msg) {
  if (!msg || !IsWindow(hwnd)) return 0;
  UINT kind = msg->message;
  if (kind != WM_KEYDOWN && kind != WM_SYSKEYDOWN && kind != WM_CHAR && kind != WM_SYSCHAR)
    return 0;
  int count = CopyAcceleratorTable(table, nullptr, 0);
  if (count <= 0) return 0;
  std::vector<ACCEL> entries(count);
  count = CopyAcceleratorTable(table, entries.data(), count);
  for (int i = 0; i < count; ++i) {
    const ACCEL& entry = entries[i];
    bool matched =
        (entry.fVirt & FVIRTKEY) ? MatchesVirtualKey(entry, *msg) : MatchesCharacter(entry, *msg);
    if (!matched) continue;
    if (IsWindowEnabled(hwnd) && CommandEnabled(hwnd, entry.cmd))
      SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
    return 1;
  }
  return 0;
}
