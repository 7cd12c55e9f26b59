/*
** Keyboard focus, activation and enabling. The window manager keeps its own focus and
** active window (the messages follow them); Qt's focus is moved along so that real key
** events arrive at the widget of the focus window.
*/
#include "platform/user/cross_process_windows.h"
#include "platform/user/window_manager.h"

#include "platform/user/menu_internal.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <map>

namespace {

struct FocusState {
  HWND focus = nullptr;
  HWND active = nullptr;
  bool changingActive = false;
  std::map<HWND, HWND>
      focusBeforeDeactivation;  // top-level window -> its control that had the focus
};

FocusState& State() {
  static FocusState state;
  return state;
}

HWND TopLevelOf(HWND hwnd) {
  HWND top = hwnd;
  for (WindowPtr w = FindWindowObject(hwnd); w && w->IsChild(); w = FindWindowObject(w->parent))
    top = w->parent;
  return top;
}

/* A window cannot take the focus while it or an ancestor is disabled or minimised. */
bool CanTakeFocus(HWND hwnd) {
  for (WindowPtr w = FindWindowObject(hwnd); w; w = FindWindowObject(w->parent)) {
    if (w->style & (WS_DISABLED | WS_MINIMIZE)) return false;
    if (!w->IsChild()) break;
  }
  return true;
}

void GiveQtFocus(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return;
  QWidget* target = window->focusTarget ? window->focusTarget.data() : window->clientWidget.data();
  if (target) target->setFocus(Qt::OtherFocusReason);
}

}  // namespace

HWND GetFocus() {
  FocusState& state = State();
  if (state.focus && !FindWindowObject(state.focus)) state.focus = nullptr;
  return state.focus;
}

HWND SetFocus(HWND hwnd) {
  FocusState& state = State();
  HWND previous = GetFocus();
  if (hwnd) {
    if (!FindWindowObject(hwnd) || !CanTakeFocus(hwnd)) return nullptr;
    HWND top = TopLevelOf(hwnd);
    if (top != GetActiveWindow()) {
      SetActiveWindow(top);
      if (!FindWindowObject(hwnd)) return nullptr;
      previous = GetFocus();
    }
  }
  if (hwnd == previous) return previous;
  state.focus = hwnd;
  if (previous) SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  // The focus may have moved again while the old window heard about it.
  if (state.focus != hwnd || (hwnd && !FindWindowObject(hwnd))) return previous;
  if (hwnd) {
    GiveQtFocus(hwnd);
    SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

HWND GetActiveWindow() {
  FocusState& state = State();
  if (state.active && !FindWindowObject(state.active)) state.active = nullptr;
  return state.active;
}

namespace {

/* The newest visible, enabled window owned (directly or through others) by the window: where
   activation goes when the desktop activates a window disabled under a modal dialog. */
HWND EnabledOwnedPopup(HWND owner) {
  for (HWND top : TopLevelWindows()) {
    WindowPtr window = FindWindowObject(top);
    if (!window || window->owner != owner || !(window->style & WS_VISIBLE) || window->destroying)
      continue;
    if (HWND deeper = EnabledOwnedPopup(top)) return deeper;
    if (!(window->style & WS_DISABLED)) return top;
  }
  return nullptr;
}

HWND ChangeActiveWindow(HWND hwnd, bool askDesktop);

/* A window activated again (a modal dialog or box over it ended) gives the focus back to the
   control that had it, where the activation itself left it nowhere, on the window or on a
   window that holds the control (an MDI frame gives it to its active child). */
void RestoreFocusAfterActivation(HWND hwnd) {
  FocusState& state = State();
  auto saved = state.focusBeforeDeactivation.find(hwnd);
  if (saved == state.focusBeforeDeactivation.end()) return;
  HWND back = saved->second;
  state.focusBeforeDeactivation.erase(saved);
  HWND focus = GetFocus();
  if (GetActiveWindow() != hwnd || (focus && focus != hwnd && !IsChild(focus, back))) return;
  if (IsChild(hwnd, back) && IsWindowVisible(back) && IsWindowEnabled(back)) SetFocus(back);
}

}  // namespace

HWND SetActiveWindow(HWND hwnd) { return ChangeActiveWindow(hwnd, true); }

void NoteDesktopActivation(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || window->IsChild() || window->destroying) return;
  if (window->style & WS_DISABLED) {
    // A click on an owner waiting under its modal dialog: the dialog takes the activation, as
    // the user expects; asked once, so the desktop and the program never take turns.
    HWND popup = EnabledOwnedPopup(hwnd);
    WindowPtr target = FindWindowObject(popup);
    if (!target) return;
    ChangeActiveWindow(popup, false);
    if (target->frame && !target->frame->isActiveWindow()) {
      RaiseFrame(*target);
      target->frame->activateWindow();
    }
    return;
  }
  ChangeActiveWindow(hwnd, false);
}

namespace {

/* Moves the activation in the model; askDesktop also asks the desktop to raise and activate
   the window (the program's own choice), which the desktop's own choices never do. */
HWND ChangeActiveWindow(HWND hwnd, bool askDesktop) {
  FocusState& state = State();
  if (IsOtherProgramsWindow(hwnd)) {
    // Activation of another program's window is asked of that program, as the foreground is.
    HWND previous = GetActiveWindow();
    return ActivateOtherProgramsWindow(hwnd) ? previous : nullptr;
  }
  if (hwnd) {
    if (!FindWindowObject(hwnd)) return nullptr;
    hwnd = TopLevelOf(hwnd);
  }
  HWND previous = GetActiveWindow();
  if (hwnd == previous || state.changingActive) return previous;
  state.changingActive = true;
  state.active = hwnd;
  HWND focusLeaving = GetFocus();
  if (previous && focusLeaving && focusLeaving != previous && TopLevelOf(focusLeaving) == previous)
    state.focusBeforeDeactivation[previous] = focusLeaving;  // given back when it is active again
  if (previous) {
    SendMessage(previous, WM_NCACTIVATE, FALSE, 0);
    SendMessage(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous)),
                reinterpret_cast<LPARAM>(hwnd));
  }
  HWND focus = GetFocus();
  if (focus && TopLevelOf(focus) != hwnd) {
    // The focus leaves with the window that loses activation.
    state.focus = nullptr;
    SendMessage(focus, WM_KILLFOCUS, 0, 0);
  }
  if (hwnd && FindWindowObject(hwnd)) {
    WindowPtr window = FindWindowObject(hwnd);
    if (askDesktop && window->frame && window->frame->isVisible()) {
      RaiseFrame(*window);
      window->frame->activateWindow();
    }
    SendMessage(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hwnd)),
                reinterpret_cast<LPARAM>(previous));
    RestoreFocusAfterActivation(hwnd);
  }
  state.changingActive = false;
  return previous;
}

}  // namespace

BOOL SetForegroundWindow(HWND hwnd) {
  if (IsOtherProgramsWindow(hwnd)) return ActivateOtherProgramsWindow(hwnd);
  if (!FindWindowObject(hwnd)) return FALSE;
  SetActiveWindow(hwnd);
  return TRUE;
}

/* Qt disables a widget's child windows with it, but disabling an owner leaves its owned
   windows (a modal dialog, a floating list) working; only those disabled themselves stay so. */
static void KeepOwnedWindowsEnabled(QWidget* owner) {
  for (QObject* child : owner->children()) {
    auto* frame = dynamic_cast<FrameWidget*>(child);
    if (!frame || !frame->isWindow()) continue;
    WindowPtr owned = FindWindowObject(frame->Handle());
    if (owned && !(owned->style & WS_DISABLED)) frame->setEnabled(true);
  }
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
  if (enable && wasDisabled) {
    window->style &= ~WS_DISABLED;
    if (window->frame) SetFrameEnabled(hwnd, window->frame, true);
    SendMessage(hwnd, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    SendMessage(hwnd, WM_CANCELMODE, 0, 0);
    window = FindWindowObject(hwnd);
    if (!window) return wasDisabled;
    window->style |= WS_DISABLED;
    if (window->frame) {
      SetFrameEnabled(hwnd, window->frame, false);
      KeepOwnedWindowsEnabled(window->frame);
    }
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus))) {
      // A window disabled under its modal dialog or box gets this control's focus back when
      // it is active again; the dialog's own activation finds the focus already gone.
      if (!window->IsChild() && focus != hwnd) State().focusBeforeDeactivation[hwnd] = focus;
      SetFocus(nullptr);
    }
    SendMessage(hwnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}
