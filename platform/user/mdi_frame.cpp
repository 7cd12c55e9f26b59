/*
** The default procedures of an MDI frame and of its children, and the MDI keyboard
** shortcuts (Ctrl+F4, Ctrl+F6).
*/
#include "platform/user/mdi_client.h"
#include "platform/user/mdi_internal.h"

#include "platform/user/input.h"
#include "platform/user/message_queue.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_object.h"
#include "platform/user/window_styles.h"

#include <set>

namespace {

/* The child whose window-menu entry has this id. */
HWND ChildOfMenuId(const MdiClientState& state, UINT id) {
  if (id < state.idFirstChild) return nullptr;
  size_t index = id - state.idFirstChild;
  return index < state.created.size() ? state.created[index] : nullptr;
}

LRESULT ChildSysCommand(HWND child, MdiClientState* state, WPARAM wParam, LPARAM lParam) {
  if (!state) return DefWindowProc(child, WM_SYSCOMMAND, wParam, lParam);
  switch (wParam & 0xFFF0) {
    case SC_CLOSE: SendMessage(child, WM_CLOSE, 0, 0); return 0;
    case SC_MAXIMIZE:
      SendMessage(state->client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
      return 0;
    case SC_RESTORE:
      SendMessage(state->client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
      return 0;
    case SC_NEXTWINDOW:
      SendMessage(state->client, WM_MDINEXT, reinterpret_cast<WPARAM>(child), 0);
      return 0;
    default: return DefWindowProc(child, WM_SYSCOMMAND, wParam, lParam);
  }
}

/* Children being shown from hidden: showing one activates it (ShowWindow on a visible
** window also carries SWP_SHOWWINDOW, so WM_SHOWWINDOW marks the real change). */
std::set<HWND>& ChildrenBeingShown() {
  static std::set<HWND> children;
  return children;
}

/* Position, size and show changes: the client's lists, stacking and the frame's title. */
void ChildMovedOrShown(HWND child, const WINDOWPOS* pos) {
  MdiClientState* state = MdiClientOfChild(child);
  bool beingShown = ChildrenBeingShown().erase(child) > 0;
  if (!state || !pos) return;
  if (beingShown && (pos->flags & SWP_SHOWWINDOW) && !(pos->flags & SWP_NOACTIVATE) &&
      state->active != child) {
    MdiActivate(*state, child);
    return;
  }
  if (!(pos->flags & SWP_NOZORDER)) MdiRestoreChildOrder(*state);
}

}  // namespace

LRESULT DefMDIChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  MdiClientState* state = MdiClientOfChild(child);
  switch (message) {
    case WM_CLOSE:
      if (state) {
        SendMessage(state->client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
        return 0;
      }
      break;
    case WM_SYSCOMMAND: return ChildSysCommand(child, state, wParam, lParam);
    case WM_CHILDACTIVATE:
    case WM_SETFOCUS:
      if (state && state->active != child) MdiActivate(*state, child);
      return 0;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProc(child, message, wParam, lParam);
      if ((state = MdiClientOfChild(child))) {
        MdiUpdateFrameTitle(*state);
        MdiRefreshWindowMenu(*state);
      }
      return result;
    }
    case WM_SIZE: {
      LRESULT result = DefWindowProc(child, message, wParam, lParam);
      if ((state = MdiClientOfChild(child))) {
        if (wParam == SIZE_MAXIMIZED && state->active != child) MdiActivate(*state, child);
        if ((state = MdiClientOfChild(child))) MdiUpdateFrameTitle(*state);
      }
      return result;
    }
    case WM_WINDOWPOSCHANGED: {
      LRESULT result = DefWindowProc(child, message, wParam, lParam);
      ChildMovedOrShown(child, reinterpret_cast<const WINDOWPOS*>(lParam));
      return result;
    }
    case WM_SHOWWINDOW:
      if (wParam && state) ChildrenBeingShown().insert(child);
      break;
    case WM_DESTROY:
      ChildrenBeingShown().erase(child);
      if (state) MdiForgetChild(*state, child);
      break;
    default: break;
  }
  return DefWindowProc(child, message, wParam, lParam);
}

LRESULT DefFrameProc(HWND frame, HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
  MdiClientState* state = FindMdiClient(client);
  if (!state) return DefWindowProc(frame, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == 0) {
        if (HWND child = ChildOfMenuId(*state, LOWORD(wParam))) {
          if (IsIconic(child))
            SendMessage(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
          SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
          return 0;
        }
      }
      break;
    case WM_SIZE: {
      RECT area;
      GetClientRect(frame, &area);
      MoveWindow(client, 0, 0, area.right, area.bottom, TRUE);
      return 0;
    }
    case WM_SETFOCUS: SetFocus(client); return 0;
    case WM_SETTEXT:
      if (!state->composingTitle) {
        // The text set is the frame's own title; the child's part is added back to it.
        state->titleComposed = false;
        LRESULT result = DefWindowProc(frame, message, wParam, lParam);
        if ((state = FindMdiClient(client))) MdiUpdateFrameTitle(*state);
        return result;
      }
      break;
    default: break;
  }
  return DefWindowProc(frame, message, wParam, lParam);
}

BOOL TranslateMDISysAccel(HWND client, LPMSG msg) {
  MdiClientState* state = FindMdiClient(client);
  if (!state || !msg || !state->active) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return FALSE;
  if (!(GetKeyState(VK_CONTROL) & 0x8000) || (msg->lParam & (1 << 29))) return FALSE;
  if (!IsWindowEnabled(state->active)) return FALSE;
  bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  switch (msg->wParam) {
    case VK_F4: SendMessage(state->active, WM_SYSCOMMAND, SC_CLOSE, 0); return TRUE;
    case VK_F6:
    case VK_TAB: SendMessage(client, WM_MDINEXT, 0, backwards ? 1 : 0); return TRUE;
    default: return FALSE;
  }
}
