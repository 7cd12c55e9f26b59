/*
** Input routing of Qt-widget controls: a filter queues the widget's input as messages; the
** replay calls carry the class's default handling back to the widget.
*/
#include "platform/user/control_input.h"

#include "platform/user/input.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Owner: platform/user.
int gReplaying = 0;  // events handed back by default handling pass the filter

class ControlInputFilter : public QObject {
 public:
  ControlInputFilter(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (gReplaying) return false;
    switch (event->type()) {
      case QEvent::KeyPress: PostKeyInput(hwnd_, static_cast<QKeyEvent*>(event), true); return true;
      case QEvent::KeyRelease:
        PostKeyInput(hwnd_, static_cast<QKeyEvent*>(event), false);
        return true;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove: PostMouseInput(hwnd_, static_cast<QMouseEvent*>(event)); return true;
      case QEvent::ContextMenu:
      case QEvent::ShortcutOverride: return true;
      default: return false;
    }
  }

 private:
  HWND hwnd_;
};

QEvent::Type MouseEventType(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return QEvent::MouseButtonPress;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return QEvent::MouseButtonRelease;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: return QEvent::MouseButtonDblClick;
    default: return QEvent::MouseMove;
  }
}

Qt::MouseButton MouseButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: return Qt::LeftButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return Qt::RightButton;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return Qt::MiddleButton;
    default: return Qt::NoButton;
  }
}

}  // namespace

void InstallControlInput(HWND hwnd, QWidget* widget) {
  if (widget) widget->installEventFilter(new ControlInputFilter(hwnd, widget));
}

bool ReplayingInput() { return gReplaying > 0; }

void ReplayToWidget(QWidget* widget, QEvent* event) {
  if (!widget) return;
  ++gReplaying;
  QApplication::sendEvent(widget, event);
  --gReplaying;
}

void ReplayMouseMessage(HWND hwnd, QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !window->clientWidget || !widget) return;
  QPoint client(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
  QPoint local = widget->mapFrom(window->clientWidget, client);
  Qt::MouseButtons buttons;
  if (wParam & MK_LBUTTON) buttons |= Qt::LeftButton;
  if (wParam & MK_RBUTTON) buttons |= Qt::RightButton;
  if (wParam & MK_MBUTTON) buttons |= Qt::MiddleButton;
  Qt::KeyboardModifiers modifiers;
  if (wParam & MK_SHIFT) modifiers |= Qt::ShiftModifier;
  if (wParam & MK_CONTROL) modifiers |= Qt::ControlModifier;
  QEvent::Type type = MouseEventType(message);
  Qt::MouseButton button = MouseButtonOf(message);
  if (type == QEvent::MouseButtonRelease) buttons &= ~button;
  QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, buttons,
                    modifiers);
  ReplayToWidget(widget, &event);
}

void ReplayKeyPress(QWidget* widget, int qtKey) {
  Qt::KeyboardModifiers modifiers;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= Qt::ShiftModifier;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= Qt::ControlModifier;
  QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
  ReplayToWidget(widget, &press);
}
