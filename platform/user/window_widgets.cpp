/*
** Frame and client widgets of a window. The frame paints the non-client parts the window
** manager draws itself (child windows' borders and captions; a top-level window's frame is
** the desktop's); the client shows the backing image that GDI drew and forwards input.
*/
#include "platform/user/window_widgets.h"

#include "platform/user/control_input.h"
#include "platform/user/message_queue.h"
#include "platform/user/system_info.h"
#include "platform/user/text_1252.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_styles.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

/* Paints a region one rectangle at a time, each as the painter's whole clip. Under a clip of
** many rectangles (a widget with children, a partial update) Qt draws span by span and hands
** large areas to its thread pool; under a one-rectangle clip an image of the device's format
** is a plain copy and a fill a plain fill. The pixels are the same either way. */
template <typename Paint>
void PaintRectByRect(QPainter& painter, const QRegion& region, Paint paint) {
  for (const QRect& rect : region) {
    painter.setClipRect(rect);
    paint(rect);
  }
  painter.setClipping(false);
}

QColor SysQColor(int index) {
  DWORD c = GetSysColor(index);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

/* The sunken edge around the client area and scroll bars of a WS_EX_CLIENTEDGE window. */
void PaintClientEdge(QPainter& painter, const WindowObject& window) {
  QRect inside(window.client.left, window.client.top, RectWidth(window.client),
               RectHeight(window.client));
  if (window.style & WS_VSCROLL) inside.setRight(inside.right() + GetSystemMetrics(SM_CXVSCROLL));
  if (window.style & WS_HSCROLL) inside.setBottom(inside.bottom() + GetSystemMetrics(SM_CYHSCROLL));
  auto edge = [&](const QRect& r, int topLeft, int bottomRight) {
    painter.setPen(SysQColor(topLeft));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(SysQColor(bottomRight));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
  };
  edge(inside.adjusted(-2, -2, 2, 2), COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  edge(inside.adjusted(-1, -1, 1, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
}

/* Border and caption of a child window (an MDI child, a bordered control). */
void PaintChildFrame(QPainter& painter, const WindowObject& window, const QRect& whole) {
  QRect r = whole.adjusted(0, 0, -1, -1);
  if (window.style & WS_THICKFRAME) {
    painter.setPen(SysQColor(COLOR_ACTIVEBORDER));
    for (int i = 0; i < GetSystemMetrics(SM_CXFRAME); ++i)
      painter.drawRect(r.adjusted(i, i, -i, -i));
    painter.setPen(SysQColor(COLOR_WINDOWFRAME));
    painter.drawRect(r);
  } else if (window.style & (WS_BORDER | WS_DLGFRAME)) {
    painter.setPen(SysQColor(COLOR_WINDOWFRAME));
    painter.drawRect(r);
  }
  if (window.exStyle & WS_EX_CLIENTEDGE) PaintClientEdge(painter, window);
  if ((window.style & WS_CAPTION) == WS_CAPTION) {
    int inset = (window.style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : 1;
    QRect caption(inset, inset, whole.width() - 2 * inset, GetSystemMetrics(SM_CYCAPTION) - 1);
    HWND focus = GetFocus();
    bool active = focus && (focus == window.hwnd || IsChild(window.hwnd, focus));
    painter.fillRect(caption, SysQColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    painter.setPen(SysQColor(COLOR_CAPTIONTEXT));
    painter.drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     DecodeWindows1252(window.text));
  }
}

}  // namespace

FrameWidget::FrameWidget(HWND hwnd, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), hwnd_(hwnd) {
  setAttribute(Qt::WA_NoSystemBackground);
  // Every pixel of the frame is painted (the face first, then border and caption), so Qt
  // need not draw the parent's image under a child window first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void FrameWidget::paintEvent(QPaintEvent* event) {
  WindowPtr window = FindWindowObject(hwnd_);
  if (!window) return;
  QPainter painter(this);
  QColor face = SysQColor(COLOR_BTNFACE);  // scroll-bar corner and gaps
  PaintRectByRect(painter, event->region() & rect(),
                  [&](const QRect& r) { painter.fillRect(r, face); });
  if (window->IsChild()) PaintChildFrame(painter, *window, rect());
}

void FrameWidget::closeEvent(QCloseEvent* event) {
  // The desktop's close button asks the window, which decides (DefWindowProc destroys it).
  event->ignore();
  if (FindWindowObject(hwnd_)) PostMessage(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void FrameWidget::changeEvent(QEvent* event) {
  // Enabling or disabling a window changes none of the pixels the frame draws (a control
  // that looks disabled repaints on WM_ENABLE): no repaint of the whole window, as a modal
  // dialog's owner would get twice with every dialog.
  if (event->type() == QEvent::EnabledChange) return;
  QWidget::changeEvent(event);
  // The desktop activated, minimised or restored a window by itself (its frame buttons, a
  // window switcher). Offscreen there is no desktop, and its own changes would only disturb
  // the model.
  if (!isWindow() || QGuiApplication::platformName() == QLatin1String("offscreen")) return;
  WindowPtr window = FindWindowObject(hwnd_);
  if (!window || window->destroying) return;
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    // Taken as the desktop's choice: answering with an activation of our own would start the
    // two taking turns for ever.
    NoteDesktopActivation(hwnd_);
  } else if (event->type() == QEvent::WindowStateChange && !applyingGeometry) {
    // The desktop minimised, maximised or restored the window: it hears so as from ShowWindow.
    bool minimized = windowState().testFlag(Qt::WindowMinimized);
    bool maximized = windowState().testFlag(Qt::WindowMaximized);
    if (minimized && !(window->style & WS_MINIMIZE)) ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
    else if (!minimized && (window->style & WS_MINIMIZE)) ShowWindow(hwnd_, SW_RESTORE);
    else if (!minimized && !maximized && (window->style & WS_MAXIMIZE))
      ShowWindow(hwnd_, SW_RESTORE);
  }
}

void FrameWidget::mousePressEvent(QMouseEvent* event) { event->accept(); }

void FrameWidget::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void FrameWidget::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void FrameWidget::moveEvent(QMoveEvent*) { NoteWindowManagerGeometry(); }

void FrameWidget::resizeEvent(QResizeEvent*) { NoteWindowManagerGeometry(); }

/* The desktop moved or resized a top-level window: the window learns it as from SetWindowPos. */
void FrameWidget::NoteWindowManagerGeometry() {
  if (applyingGeometry || !isWindow()) return;
  WindowPtr window = FindWindowObject(hwnd_);
  if (!window || window->destroying || window->creating) return;
  QRect rect = geometry().marginsAdded(NativeFrameInsets(*window));
  if (rect.x() == window->rect.left && rect.y() == window->rect.top &&
      rect.width() == RectWidth(window->rect) && rect.height() == RectHeight(window->rect))
    return;
  SetWindowPos(hwnd_, nullptr, rect.x(), rect.y(), rect.width(), rect.height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

ClientWidget::ClientWidget(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd) {
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
}

bool ClientWidget::event(QEvent* event) {
  // Tab belongs to the window procedure, not to Qt's focus chain.
  if (event->type() == QEvent::KeyPress) {
    keyPressEvent(static_cast<QKeyEvent*>(event));
    return true;
  }
  return QWidget::event(event);
}

void ClientWidget::paintEvent(QPaintEvent* event) {
  WindowPtr window = FindWindowObject(hwnd_);
  if (!window) return;
  QPainter painter(this);
  RealizedBacking(*window);
  if (window->backing.isNull()) {
    painter.fillRect(event->rect(), Qt::white);
    return;
  }
  const QImage& backing = window->backing;
  PaintRectByRect(painter, event->region(),
                  [&](const QRect& r) { painter.drawImage(r.topLeft(), backing, r); });
}

void ClientWidget::changeEvent(QEvent* event) {
  // The image shows what the window painted; being enabled or not changes none of it.
  if (event->type() == QEvent::EnabledChange) return;
  QWidget::changeEvent(event);
}

/* A key a control's widget left alone during its default handling ends there, as a key the
   default handling ignores does; posting it would hand it to the control again for ever. */
void ClientWidget::keyPressEvent(QKeyEvent* event) {
  if (ReplayingInput()) return;
  PostKeyInput(hwnd_, event, true);
}

void ClientWidget::keyReleaseEvent(QKeyEvent* event) {
  if (ReplayingInput()) return;
  PostKeyInput(hwnd_, event, false);
}

void ClientWidget::mousePressEvent(QMouseEvent* event) { PostMouseInput(hwnd_, event); }

void ClientWidget::mouseReleaseEvent(QMouseEvent* event) { PostMouseInput(hwnd_, event); }

void ClientWidget::mouseDoubleClickEvent(QMouseEvent* event) { PostMouseInput(hwnd_, event); }

void ClientWidget::mouseMoveEvent(QMouseEvent* event) { PostMouseInput(hwnd_, event); }

void ClientWidget::wheelEvent(QWheelEvent* event) {
  PostWheelInput(hwnd_, event);
  event->accept();
}
