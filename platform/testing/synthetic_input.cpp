/*
** Synthetic input: Qt events built as the desktop would deliver them and sent to the widget
** that would receive them, then the window messages they became are dispatched.
*/
#include "platform/testing/synthetic_input.h"

#include "platform/user/key_mapping.h"
#include "platform/user/message_queue.h"
#include "platform/user/text_1252.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace {

/* The deepest visible widget under a point of `base`, and the point in its coordinates. */
QWidget* WidgetAt(QWidget* base, QPoint& point) {
  QWidget* target = base;
  if (QWidget* child = base->childAt(point)) {
    point = child->mapFrom(base, point);
    target = child;
  }
  return target;
}

void SendMouse(QWidget* base, QPoint point, QEvent::Type type, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  if (!base) return;
  QPoint local = point;
  QWidget* target = WidgetAt(base, local);
  QPoint global = target->mapToGlobal(local);
  QCursor::setPos(global);
  QMouseEvent event(type, QPointF(local), QPointF(global), button, buttons, modifiers);
  QApplication::sendEvent(target, &event);
  ProcessPendingMessages();
}

QWidget* ClientOf(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  return window ? window->clientWidget.data() : nullptr;
}

QWidget* FrameOf(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  return window ? static_cast<QWidget*>(window->frame.data()) : nullptr;
}

/* A window point as a point of its frame widget (a top-level frame starts inside the
** desktop's border and caption). */
QPoint FramePoint(HWND hwnd, int x, int y) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return QPoint(x, y);
  QMargins native = NativeFrameInsets(*window);
  return QPoint(x - native.left(), y - native.top());
}

QWidget* KeyTarget() {
  // An open pop-up menu takes the keys, as on the desktop.
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  HWND focus = GetFocus();
  if (!focus) focus = GetActiveWindow();
  WindowPtr window = FindWindowObject(focus);
  if (!window) return nullptr;
  return window->focusTarget ? window->focusTarget.data() : window->clientWidget.data();
}

void SendKey(QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  QWidget* target = KeyTarget();
  if (!target) return;
  QKeyEvent event(type, qtKey, modifiers, text);
  QApplication::sendEvent(target, &event);
  ProcessPendingMessages();
}

/* The text a desktop reports with a key: Alt keeps the plain character (it becomes WM_SYSCHAR). */
QString TextOfKey(int vk, Qt::KeyboardModifiers modifiers) {
  bool control = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
  int c = CharFromVirtualKey(vk, modifiers & Qt::ShiftModifier, control, false);
  return c ? QString(QChar(c)) : QString();
}

}  // namespace

void MouseDown(HWND hwnd, int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  SendMouse(ClientOf(hwnd), QPoint(x, y), QEvent::MouseButtonPress, button, button, modifiers);
}

void MouseUp(HWND hwnd, int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  SendMouse(ClientOf(hwnd), QPoint(x, y), QEvent::MouseButtonRelease, button, Qt::NoButton,
            modifiers);
}

void MouseMove(HWND hwnd, int x, int y, Qt::MouseButtons held) {
  SendMouse(ClientOf(hwnd), QPoint(x, y), QEvent::MouseMove, Qt::NoButton, held, Qt::NoModifier);
}

void Click(HWND hwnd, int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  MouseDown(hwnd, x, y, button, modifiers);
  MouseUp(hwnd, x, y, button, modifiers);
}

void DoubleClick(HWND hwnd, int x, int y, Qt::MouseButton button) {
  Click(hwnd, x, y, button);
  SendMouse(ClientOf(hwnd), QPoint(x, y), QEvent::MouseButtonDblClick, button, button,
            Qt::NoModifier);
  MouseUp(hwnd, x, y, button);
}

void Wheel(HWND hwnd, int x, int y, int notches, Qt::KeyboardModifiers modifiers) {
  QWidget* base = ClientOf(hwnd);
  if (!base) return;
  QPoint local(x, y);
  QWidget* target = WidgetAt(base, local);
  QPoint global = target->mapToGlobal(local);
  QCursor::setPos(global);
  QWheelEvent event(QPointF(local), QPointF(global), QPoint(), QPoint(0, 120 * notches),
                    Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &event);
  ProcessPendingMessages();
}

void PressWindowPart(HWND hwnd, int x, int y) {
  SendMouse(FrameOf(hwnd), FramePoint(hwnd, x, y), QEvent::MouseButtonPress, Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
}

void DragWindowPart(HWND hwnd, int x, int y) {
  SendMouse(FrameOf(hwnd), FramePoint(hwnd, x, y), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
            Qt::NoModifier);
}

void ReleaseWindowPart(HWND hwnd, int x, int y) {
  SendMouse(FrameOf(hwnd), FramePoint(hwnd, x, y), QEvent::MouseButtonRelease, Qt::LeftButton,
            Qt::NoButton, Qt::NoModifier);
}

void ClickWindowPart(HWND hwnd, int x, int y) {
  PressWindowPart(hwnd, x, y);
  ReleaseWindowPart(hwnd, x, y);
}

void KeyDown(int virtualKey, Qt::KeyboardModifiers modifiers) {
  SendKey(QEvent::KeyPress, QtKeyFromVirtualKey(virtualKey), modifiers,
          TextOfKey(virtualKey, modifiers));
}

void KeyUp(int virtualKey, Qt::KeyboardModifiers modifiers) {
  SendKey(QEvent::KeyRelease, QtKeyFromVirtualKey(virtualKey), modifiers, QString());
}

void PressKey(int virtualKey, Qt::KeyboardModifiers modifiers) {
  KeyDown(virtualKey, modifiers);
  KeyUp(virtualKey, modifiers);
}

void TypeText(const std::string& text) {
  for (QChar c : DecodeWindows1252(text)) {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    if (c.isLetter() && c.unicode() < 0x80) {
      qtKey = Qt::Key_A + (c.toUpper().unicode() - 'A');
      if (c.isUpper()) modifiers |= Qt::ShiftModifier;
    } else {
      // Qt names the other printable keys by their character.
      qtKey = c.unicode();
      if (QString("~!@#$%^&*()_+{}|:\"<>?").contains(c)) modifiers |= Qt::ShiftModifier;
    }
    QString typed(c);
    SendKey(QEvent::KeyPress, qtKey, modifiers, typed);
    SendKey(QEvent::KeyRelease, qtKey, modifiers, QString());
  }
}
