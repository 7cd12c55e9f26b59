/*
** Real Qt input becomes window messages: key events for the focus window, mouse events for
** the window under the pointer or the capture window, in client coordinates with MK_ flags.
** Hit testing, cursor setting and click activation are asked of the window on the way, as
** the original platform does.
*/
#include "platform/user/window_widgets.h"

#include "platform/user/input.h"
#include "platform/user/key_mapping.h"
#include "platform/user/message_queue.h"
#include "platform/user/message_queue_internal.h"
#include "platform/user/text_1252.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace {

std::string CharsOfKeyEvent(const QKeyEvent* event, int vk) {
  if (vk == VK_RETURN && (event->modifiers() & Qt::ControlModifier)) return std::string(1, '\x0A');
  std::string chars;
  for (QChar c : event->text()) {
    unsigned char byte = EncodeWindows1252Char(c);
    if (byte && byte != 0x7F) chars.push_back(static_cast<char>(byte));  // Delete makes no char
  }
  if (chars.empty() && (event->modifiers() & Qt::ControlModifier) && vk >= 'A' && vk <= 'Z')
    chars.push_back(static_cast<char>(vk - 'A' + 1));
  if (chars.empty()) {
    // Synthetic events may carry no text: the key itself says which control character it is.
    if (vk == VK_RETURN || vk == VK_BACK || vk == VK_TAB || vk == VK_ESCAPE)
      chars.push_back(static_cast<char>(CharFromVirtualKey(vk, false, false, false)));
  }
  return chars;
}

WPARAM MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  WPARAM flags = 0;
  if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
  if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

UINT ButtonMessage(Qt::MouseButton button, QEvent::Type type, bool classDoubleClicks) {
  int base;
  switch (button) {
    case Qt::LeftButton: base = WM_LBUTTONDOWN; break;
    case Qt::RightButton: base = WM_RBUTTONDOWN; break;
    case Qt::MiddleButton: base = WM_MBUTTONDOWN; break;
    default: return 0;
  }
  if (type == QEvent::MouseButtonRelease) return base + 1;
  if (type == QEvent::MouseButtonDblClick && classDoubleClicks) return base + 2;
  return base;
}

int ButtonKey(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return VK_LBUTTON;
    case Qt::RightButton: return VK_RBUTTON;
    case Qt::MiddleButton: return VK_MBUTTON;
    default: return 0;
  }
}

HWND TopLevelOf(HWND hwnd) {
  HWND top = hwnd;
  for (WindowPtr w = FindWindowObject(hwnd); w && w->IsChild(); w = FindWindowObject(w->parent))
    top = w->parent;
  return top;
}

/* Where the pointer is as far as the program can tell: inside the ClipCursor rectangle,
** whose right and bottom edges lie just outside it. */
QPoint ConfinedPoint(QPoint global) {
  RECT clip;
  if (!CursorConfinement(&clip)) return global;
  return QPoint(std::clamp(global.x(), clip.left, std::max(clip.left, clip.right - 1)),
                std::clamp(global.y(), clip.top, std::max(clip.top, clip.bottom - 1)));
}

/* Asks about activation before a click in a window of an inactive top-level window;
** answers false when the click is to be eaten. */
bool ActivateForClick(HWND hwnd, UINT message) {
  HWND top = TopLevelOf(hwnd);
  if (!top || top == GetActiveWindow()) return true;
  LRESULT answer = SendMessage(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                               MAKELPARAM(HTCLIENT, message));
  if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) SetActiveWindow(top);
  return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT;
}

}  // namespace

HWND KeyboardInputTarget(HWND fallback) {
  if (HWND focus = GetFocus()) return focus;
  if (HWND active = GetActiveWindow()) return active;
  return fallback;
}

void PostKeyInput(HWND fallback, const QKeyEvent* event, bool press) {
  int vk = VirtualKeyFromQtKey(event->key(), event->modifiers());
  if (!vk) return;
  HWND target = KeyboardInputTarget(fallback);
  bool alt = (event->modifiers() & Qt::AltModifier) != 0;
  bool system = alt || vk == VK_F10;
  UINT message = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  DWORD scan = event->nativeScanCode() & 0xFF;
  LPARAM lParam = 1 | (scan << 16);
  if (IsExtendedKey(vk)) lParam |= 1 << 24;
  if (alt) lParam |= 1 << 29;
  if (!press || event->isAutoRepeat()) lParam |= 1 << 30;
  if (!press) lParam |= static_cast<LPARAM>(1u << 31);
  NoteAsyncKeyState(vk, press);

  QueuedMessage queued;
  queued.msg = MSG{target, message, static_cast<WPARAM>(vk), lParam, 0, {}};
  if (press) queued.chars = CharsOfKeyEvent(event, vk);
  queued.keyVk = vk;
  queued.keyDown = press;
  queued.hasInputState = true;
  queued.keyboardInput = true;
  queued.modifiers = event->modifiers();
  queued.buttons = Qt::NoButton;
  PostQueuedMessage(std::move(queued));
}

bool PostMouseInput(HWND origin, const QMouseEvent* event) {
  HWND target = GetCapture();
  if (!target) target = origin;
  WindowPtr window = FindWindowObject(target);
  if (!window || !window->clientWidget) return false;
  QPoint global = ConfinedPoint(event->globalPosition().toPoint());
  QPoint client = window->clientWidget->mapFromGlobal(global);
  bool doubleClicks = (window->windowClass->record.style & CS_DBLCLKS) != 0;

  UINT message = WM_MOUSEMOVE;
  int buttonKey = 0;
  if (event->type() != QEvent::MouseMove) {
    message = ButtonMessage(event->button(), event->type(), doubleClicks);
    buttonKey = ButtonKey(event->button());
    if (!message) return false;
  }
  bool pressed =
      event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
  if (buttonKey) NoteAsyncKeyState(buttonKey, pressed);

  if (!GetCapture()) {
    LRESULT hit = SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y()));
    if (!FindWindowObject(target)) return false;
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, message));
    if (pressed && !ActivateForClick(target, message)) return false;
    if (!FindWindowObject(target)) return false;
  }

  QueuedMessage queued;
  queued.msg = MSG{target,
                   message,
                   MouseKeyFlags(event->buttons(), event->modifiers()),
                   MAKELPARAM(client.x(), client.y()),
                   0,
                   POINT{global.x(), global.y()}};
  queued.hasInputState = true;
  queued.modifiers = event->modifiers();
  queued.buttons = event->buttons();
  PostQueuedMessage(std::move(queued));
  return true;
}

void PostWheelInput(HWND target, const QWheelEvent* event) {
  if (!FindWindowObject(target)) return;
  QPoint global = event->globalPosition().toPoint();
  QPoint angle = event->angleDelta();
  bool sideways = angle.y() == 0 && angle.x() != 0;
  int delta = sideways ? -angle.x() : angle.y();  // a right turn is positive sideways
  if (delta == 0) return;
  WPARAM keys = MouseKeyFlags(event->buttons(), event->modifiers());
  QueuedMessage queued;
  queued.msg = MSG{target,
                   static_cast<UINT>(sideways ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL),
                   MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                   MAKELPARAM(global.x(), global.y()),
                   0,
                   POINT{global.x(), global.y()}};
  queued.hasInputState = true;
  queued.modifiers = event->modifiers();
  queued.buttons = event->buttons();
  PostQueuedMessage(std::move(queued));
}
