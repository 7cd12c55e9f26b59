/*
** The Qt widgets behind a window: a frame widget for the whole window (non-client parts:
** border, caption of child windows, scroll bars) and a client widget inside it that shows
** the window's backing image and turns real Qt input into window messages.
** Child windows' frame widgets are children of their parent's client widget, so Qt clips
** and places them as the original platform does.
*/
#ifndef ZARNE_PLATFORM_USER_WINDOW_WIDGETS_H
#define ZARNE_PLATFORM_USER_WINDOW_WIDGETS_H

#include "platform/kernel/wintypes.h"

#include <QWidget>

class QKeyEvent;
class QMouseEvent;

class FrameWidget : public QWidget {
 public:
  FrameWidget(HWND hwnd, QWidget* parent, Qt::WindowFlags flags);
  HWND Handle() const { return hwnd_; }
  bool applyingGeometry = false;  // set while the manager itself moves the widget

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Clicks on a child's border belong to the child, never to the parent under it.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void NoteWindowManagerGeometry();
  HWND hwnd_;
};

class ClientWidget : public QWidget {
 public:
  ClientWidget(HWND hwnd, QWidget* parent);
  HWND Handle() const { return hwnd_; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Qt repaints a widget whole when it gains or loses the focus; a window draws its own
  // focus marks (caret, focus rectangle) when told with WM_SETFOCUS and WM_KILLFOCUS.
  void focusInEvent(QFocusEvent*) override {}
  void focusOutEvent(QFocusEvent*) override {}
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  HWND hwnd_;
};

/* Turns a real key event into WM_KEYDOWN / WM_KEYUP / WM_SYSKEY* for the focus window (or
** for `fallback` when no window has the focus) and queues it. */
void PostKeyInput(HWND fallback, const QKeyEvent* event, bool press);
/* Turns a real mouse event into a mouse message for the window under it (or the capture
** window) and queues it; `origin` is the window whose widget received the event. Answers
** false when the click was eaten by activation (MA_*ANDEAT). */
bool PostMouseInput(HWND origin, const QMouseEvent* event);
/* Turns a real wheel turn into WM_MOUSEWHEEL (WM_MOUSEHWHEEL sideways) for `target`, the
** window under the pointer, and queues it. */
void PostWheelInput(HWND target, const QWheelEvent* event);
/* The screen rectangle ClipCursor confines the pointer to; false while it is free. Qt
** cannot hold the real pointer, so mouse input is held inside the rectangle instead. */
bool CursorConfinement(RECT* clip);

/* The SB_ code of a Qt scroll-bar action (-1 for none): window scroll bars and the
   scroll-bar control report the same codes. */
int ScrollCodeOfSliderAction(int action);

#endif
