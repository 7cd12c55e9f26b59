/*
** Place, size, z-order and show state of windows; client and window rectangles; coordinate
** mapping. A window's rectangle is kept in its parent's client coordinates (screen
** coordinates for top-level windows); its client rectangle comes from WM_NCCALCSIZE.
*/
#include "platform/user/cross_process_windows.h"
#include "platform/user/window_manager.h"

#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/system_info.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

/* Internal: place the scroll-bar widgets (scroll_bars.cpp). */
void PlaceScrollBarWidgets(WindowObject& window, const QMargins& native);

/* The position flag the manager adds when minimising, maximising or restoring, so that the
** window hears WM_SIZE with its new state even when its size stays. */
#define SWP_STATECHANGED 0x8000

namespace {

const HWND kDesktop = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10000));

QPoint ClientOriginOnScreen(const WindowObject& window) {
  QPoint origin(window.rect.left + window.client.left, window.rect.top + window.client.top);
  if (window.IsChild()) {
    if (WindowPtr parent = FindWindowObject(window.parent)) origin += ClientOriginOnScreen(*parent);
  }
  return origin;
}

QPoint ClientOriginOf(HWND hwnd) {
  if (!hwnd || hwnd == kDesktop) return QPoint(0, 0);
  WindowPtr window = FindWindowObject(hwnd);
  return window ? ClientOriginOnScreen(*window) : QPoint(0, 0);
}

RECT ScreenRect() {
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

/* Qt's stacking of child windows follows our z-order list: raise each from the bottom up. */
void RestackChildren(const std::vector<HWND>& siblings) {
  for (auto it = siblings.rbegin(); it != siblings.rend(); ++it)
    if (WindowPtr w = FindWindowObject(*it)) RaiseFrame(*w);
}

bool IsTopmost(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  return window && (window->exStyle & WS_EX_TOPMOST);
}

/* A top-level window that came to the top of its band (topmost or ordinary) is raised;
   Qt keeps the topmost frames above the ordinary ones by their stay-on-top hint. */
void RestackTopLevel(const WindowObject& window) {
  KeepTopmostWindowsFirst();
  const std::vector<HWND>& list = SiblingList(window);
  auto self = std::find(list.begin(), list.end(), window.hwnd);
  bool topOfBand =
      IsTopmost(window.hwnd) ? self == list.begin() : std::all_of(list.begin(), self, IsTopmost);
  if (topOfBand) RaiseFrame(window);
}

void ApplyZOrder(WindowObject& window, HWND insertAfter) {
  auto& siblings = SiblingList(window);
  auto self = std::find(siblings.begin(), siblings.end(), window.hwnd);
  if (self == siblings.end()) return;
  siblings.erase(self);
  if (insertAfter == HWND_TOPMOST) {
    window.exStyle |= WS_EX_TOPMOST;
    insertAfter = HWND_TOP;
  } else if (insertAfter == HWND_NOTOPMOST) {
    window.exStyle &= ~WS_EX_TOPMOST;
    insertAfter = HWND_TOP;
  }
  if (insertAfter == HWND_TOP) {
    siblings.insert(siblings.begin(), window.hwnd);
  } else if (insertAfter == HWND_BOTTOM) {
    siblings.push_back(window.hwnd);
  } else {
    auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
    siblings.insert(after == siblings.end() ? siblings.begin() : after + 1, window.hwnd);
  }
  if (window.IsChild()) RestackChildren(siblings);
  else RestackTopLevel(window);
}

/* The newly exposed strips after a resize, or everything for CS_HREDRAW/CS_VREDRAW. */
void InvalidateAfterResize(WindowObject& window, const RECT& oldClient) {
  int oldW = RectWidth(oldClient), oldH = RectHeight(oldClient);
  int newW = RectWidth(window.client), newH = RectHeight(window.client);
  UINT classStyle = window.windowClass->record.style;
  bool all =
      ((classStyle & CS_HREDRAW) && oldW != newW) || ((classStyle & CS_VREDRAW) && oldH != newH);
  if (all) {
    InvalidateRect(window.hwnd, nullptr, TRUE);
    return;
  }
  if (newW > oldW) {
    RECT strip{oldW, 0, newW, newH};
    InvalidateRect(window.hwnd, &strip, TRUE);
  }
  if (newH > oldH) {
    RECT strip{0, oldH, newW, newH};
    InvalidateRect(window.hwnd, &strip, TRUE);
  }
}

/* What a child covered and no longer covers is the parent's to paint again: the parent's pixels
   there are whatever it drew before the child came over them. */
void InvalidateUncovered(const WindowObject& child, const RECT& oldRect, const RECT* newRect) {
  auto toQRect = [](const RECT& r) { return QRect(r.left, r.top, RectWidth(r), RectHeight(r)); };
  QRegion uncovered(toQRect(oldRect));
  if (newRect) uncovered -= QRegion(toQRect(*newRect));
  for (const QRect& part : uncovered) {
    RECT r{part.left(), part.top(), part.left() + part.width(), part.top() + part.height()};
    InvalidateRect(child.parent, &r, TRUE);
  }
}

void InvalidateTree(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !(window->style & WS_VISIBLE)) return;
  InvalidateRect(hwnd, nullptr, TRUE);
  for (HWND child : window->children) InvalidateTree(child);
}

}  // namespace

HWND GetDesktopWindow() { return kDesktop; }

void RaiseFrame(const WindowObject& window) {
  if (!window.frame) return;
  if (!window.IsChild() && QGuiApplication::platformName() == QLatin1String("offscreen")) return;
  window.frame->raise();
}

int FrameBorderWidth(const WindowObject& window) {
  if (window.style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((window.style & WS_DLGFRAME) || (window.exStyle & WS_EX_DLGMODALFRAME))
    return GetSystemMetrics(SM_CXDLGFRAME);
  if (window.style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

int CaptionHeight(const WindowObject& window) {
  return (window.style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
}

QMargins NativeFrameInsets(const WindowObject& window) {
  if (window.IsChild()) return QMargins();
  const int border = FrameBorderWidth(window);
  return QMargins(border, border + CaptionHeight(window), border, border);
}

void RecalcClientRect(WindowObject& window, bool calcValidRects) {
  HWND hwnd = window.hwnd;
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = window.rect;
  params.rgrc[1] = window.rect;
  params.rgrc[2] =
      RECT{window.rect.left + window.client.left, window.rect.top + window.client.top,
           window.rect.left + window.client.right, window.rect.top + window.client.bottom};
  SendMessage(hwnd, WM_NCCALCSIZE, calcValidRects ? TRUE : FALSE,
              reinterpret_cast<LPARAM>(&params));
  if (!FindWindowObject(hwnd)) return;
  RECT r = params.rgrc[0];
  // The client area always lies inside the window.
  r.left = std::clamp(r.left, window.rect.left, window.rect.right);
  r.top = std::clamp(r.top, window.rect.top, window.rect.bottom);
  r.right = std::clamp(r.right, r.left, window.rect.right);
  r.bottom = std::clamp(r.bottom, r.top, window.rect.bottom);
  window.client = RECT{r.left - window.rect.left, r.top - window.rect.top,
                       r.right - window.rect.left, r.bottom - window.rect.top};
}

void ApplyWidgetGeometry(WindowObject& window) {
  if (!window.frame) return;
  QMargins native = NativeFrameInsets(window);
  QRect whole(window.rect.left, window.rect.top, RectWidth(window.rect), RectHeight(window.rect));
  QRect frameRect = whole.marginsRemoved(native);
  window.frame->applyingGeometry = true;
  QSize frameSize(std::max(frameRect.width(), 1), std::max(frameRect.height(), 1));
  if (!window.IsChild()) {
    // A window without a sizing border has the one size its program gives it: the window
    // manager learns so from the size hints and offers neither resizing nor maximising.
    if (window.style & WS_THICKFRAME) {
      window.frame->setMinimumSize(0, 0);
      window.frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
      window.frame->setFixedSize(frameSize);
    }
  }
  window.frame->setGeometry(frameRect.x(), frameRect.y(), frameSize.width(), frameSize.height());
  window.frame->applyingGeometry = false;
  QSize clientSize(RectWidth(window.client), RectHeight(window.client));
  if (window.clientWidget) {
    window.clientWidget->setGeometry(window.client.left - native.left(),
                                     window.client.top - native.top(), clientSize.width(),
                                     clientSize.height());
  }
  if (!clientSize.isEmpty() && (window.backingStale || window.backing.size() != clientSize)) {
    // What was drawn stays where it was, as on the original platform's screen.
    if (!window.backingStale) {
      window.backingStale = true;
      window.backingKept = window.backing.size();
    }
    window.backingKept = window.backingKept.boundedTo(clientSize);
    // A DC kept open draws on the image it was given: that one must have the new size now.
    if (HasOpenDC(window)) RealizedBacking(window);
  }
  PlaceScrollBarWidgets(window, native);
  window.frame->update();
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  if (flags & SWP_NOMOVE) x = window->rect.left, y = window->rect.top;
  if (flags & SWP_NOSIZE) cx = RectWidth(window->rect), cy = RectHeight(window->rect);
  WINDOWPOS pos{hwnd, insertAfter, x, y, std::max(cx, 0), std::max(cy, 0), flags};
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!FindWindowObject(hwnd)) return FALSE;
  }
  RECT newRect{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
  RECT oldRect = window->rect;
  RECT oldClient = window->client;
  bool childWasShowing = window->IsChild() && (window->style & WS_VISIBLE);
  bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  bool sized =
      RectWidth(newRect) != RectWidth(oldRect) || RectHeight(newRect) != RectHeight(oldRect);
  if (moved || sized || (pos.flags & (SWP_FRAMECHANGED | SWP_STATECHANGED))) {
    window->rect = newRect;
    RecalcClientRect(*window, true);
    if (!FindWindowObject(hwnd)) return FALSE;
    ApplyWidgetGeometry(*window);
  }
  bool clientSized = RectWidth(oldClient) != RectWidth(window->client) ||
                     RectHeight(oldClient) != RectHeight(window->client);
  bool clientMoved =
      moved || oldClient.left != window->client.left || oldClient.top != window->client.top;
  if (!(pos.flags & SWP_NOZORDER)) ApplyZOrder(*window, pos.hwndInsertAfter);

  bool shown = (pos.flags & SWP_SHOWWINDOW) && !(window->style & WS_VISIBLE);
  bool hidden = (pos.flags & SWP_HIDEWINDOW) && (window->style & WS_VISIBLE);
  if (shown) {
    window->style |= WS_VISIBLE;
    if (window->frame) window->frame->show();
    InvalidateTree(hwnd);
  } else if (hidden) {
    window->style &= ~WS_VISIBLE;
    if (window->frame) window->frame->hide();
  }
  if (childWasShowing && hidden) InvalidateUncovered(*window, oldRect, nullptr);
  else if (childWasShowing && (moved || sized) && !(pos.flags & SWP_NOREDRAW))
    InvalidateUncovered(*window, oldRect, &window->rect);
  // Other programs see a top-level window appear, disappear, maximize and restore.
  if (!window->IsChild() && (shown || hidden || (pos.flags & SWP_STATECHANGED)))
    RepublishTopLevel(hwnd);
  if (clientSized && !(pos.flags & SWP_NOREDRAW)) InvalidateAfterResize(*window, oldClient);
  if (!window->IsChild() && !(pos.flags & SWP_NOACTIVATE) && (window->style & WS_VISIBLE) &&
      !(pos.flags & SWP_HIDEWINDOW) && !(window->exStyle & WS_EX_NOACTIVATE))
    SetActiveWindow(hwnd);

  WINDOWPOS changed{hwnd,
                    pos.hwndInsertAfter,
                    window->rect.left,
                    window->rect.top,
                    RectWidth(window->rect),
                    RectHeight(window->rect),
                    pos.flags};
  if (!clientMoved) changed.flags |= SWP_NOMOVE;
  if (!clientSized && !(pos.flags & SWP_STATECHANGED)) changed.flags |= SWP_NOSIZE;
  else changed.flags &= ~SWP_NOSIZE;
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&changed));
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

namespace {

bool OnRealDesktop() { return QGuiApplication::platformName() != QLatin1String("offscreen"); }

/* On a real desktop a maximised top-level window's widget fills the screen's available area
   inside what the window manager draws around it (its caption and borders, none without one);
   the window's own caption and border insets lie around the widget. */
RECT DesktopMaximizedRect(const WindowObject& window) {
  QScreen* screen = window.frame ? window.frame->screen() : QGuiApplication::primaryScreen();
  QRect area = screen ? screen->availableGeometry()
                      : QRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (window.frame && window.frame->isVisible()) {
    QRect outer = window.frame->frameGeometry(), inner = window.frame->geometry();
    area = area.marginsRemoved(QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                        outer.right() - inner.right(),
                                        outer.bottom() - inner.bottom()));
  }
  QRect whole = area.marginsAdded(NativeFrameInsets(window));
  return RECT{whole.left(), whole.top(), whole.left() + whole.width(),
              whole.top() + whole.height()};
}

RECT MaximizedRect(const WindowObject& window) {
  if (!window.IsChild() && OnRealDesktop()) return DesktopMaximizedRect(window);
  RECT area = ScreenRect();
  if (window.IsChild()) {
    if (WindowPtr parent = FindWindowObject(window.parent))
      area = RECT{0, 0, RectWidth(parent->client), RectHeight(parent->client)};
  }
  // The client fills the area; borders and caption lie outside it.
  RECT probe{0, 0, 100, 100};
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = probe;
  SendMessage(window.hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params));
  RECT client = params.rgrc[0];
  return RECT{area.left - client.left, area.top - client.top,
              area.right + (probe.right - client.right),
              area.bottom + (probe.bottom - client.bottom)};
}

RECT MinimizedRect(const WindowObject& window) {
  int w = GetSystemMetrics(SM_CXMINIMIZED), h = GetSystemMetrics(SM_CYMINIMIZED);
  if (window.IsChild()) {
    if (WindowPtr parent = FindWindowObject(window.parent)) {
      int bottom = RectHeight(parent->client);
      return RECT{0, bottom - h, w, bottom};
    }
  }
  return window.rect;  // the desktop keeps a minimised top-level window's rectangle
}

void ChangeShowState(WindowObject& window, DWORD state, const RECT& target, UINT flags) {
  if (!(window.style & (WS_MINIMIZE | WS_MAXIMIZE))) window.restoreRect = window.rect;
  window.style = (window.style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | state;
  SetWindowPos(window.hwnd, nullptr, target.left, target.top, RectWidth(target), RectHeight(target),
               flags | SWP_NOZORDER | SWP_STATECHANGED | SWP_FRAMECHANGED);
}

}  // namespace

namespace {

/* A top-level window's minimised and maximised states show on a real desktop as well: the
   window manager is told, so it keeps a maximised window in the available area under its
   caption and offers "restore". */
void SyncDesktopShowState(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || window->IsChild() || !window->frame || !OnRealDesktop()) return;
  Qt::WindowStates states = window->frame->windowState();
  Qt::WindowStates wanted = states & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (window->style & WS_MINIMIZE) wanted |= Qt::WindowMinimized;
  if (window->style & WS_MAXIMIZE) wanted |= Qt::WindowMaximized;
  if (wanted == states) return;
  window->frame->applyingGeometry = true;
  window->frame->setWindowState(wanted);
  window->frame->applyingGeometry = false;
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int command) {
  if (IsOtherProgramsWindow(hwnd)) return AskOtherProgramsWindow(hwnd, command);
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  BOOL wasVisible = (window->style & WS_VISIBLE) ? TRUE : FALSE;
  if (command == SW_HIDE) {
    if (!wasVisible) return FALSE;
    SendMessage(hwnd, WM_SHOWWINDOW, FALSE, 0);
    if (!FindWindowObject(hwnd)) return wasVisible;
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus)))
      SetFocus(window->IsChild() ? window->parent : nullptr);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!window->IsChild() && GetActiveWindow() == hwnd) {
      HWND next = nullptr;
      for (HWND top : TopLevelWindows())
        if (top != hwnd && IsWindowVisible(top)) {
          next = top;
          break;
        }
      SetActiveWindow(next);
    }
    return wasVisible;
  }
  bool activate = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                  command != SW_SHOWMINNOACTIVE && command != SW_MINIMIZE;
  if (!wasVisible) {
    SendMessage(hwnd, WM_SHOWWINDOW, TRUE, 0);
    if (!FindWindowObject(hwnd)) return wasVisible;
  }
  UINT flags = SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE);
  switch (command) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      if (!(window->style & WS_MINIMIZE))
        ChangeShowState(*window, WS_MINIMIZE, MinimizedRect(*window), flags);
      else SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
      if (command != SW_SHOWMINIMIZED && GetFocus() &&
          (GetFocus() == hwnd || IsChild(hwnd, GetFocus())))
        SetFocus(nullptr);
      break;
    case SW_SHOWMAXIMIZED:
      ChangeShowState(*window, WS_MAXIMIZE, MaximizedRect(*window), flags);
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      if (window->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        RECT back = window->restoreRect;
        window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        SetWindowPos(hwnd, nullptr, back.left, back.top, RectWidth(back), RectHeight(back),
                     flags | SWP_NOZORDER | SWP_STATECHANGED | SWP_FRAMECHANGED);
        break;
      }
      [[fallthrough]];
    default:
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
      break;
  }
  SyncDesktopShowState(hwnd);
  if (!wasVisible && !window->IsChild()) PresentOnDisplayNow(hwnd);
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  if (hwnd && hwnd == kDesktop) return TRUE;
  if (IsOtherProgramsWindow(hwnd)) return OtherProgramsWindowVisible(hwnd);
  for (WindowPtr w = FindWindowObject(hwnd); w; w = FindWindowObject(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
    if (!w->IsChild()) return TRUE;
  }
  return FALSE;
}

BOOL IsZoomed(HWND hwnd) {
  if (IsOtherProgramsWindow(hwnd)) return OtherProgramsWindowZoomed(hwnd);
  WindowPtr window = FindWindowObject(hwnd);
  return window && (window->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  if (IsOtherProgramsWindow(hwnd)) return OtherProgramsWindowIconic(hwnd);
  WindowPtr window = FindWindowObject(hwnd);
  return window && (window->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  if (!rect) return FALSE;
  if (hwnd && hwnd == kDesktop) {
    *rect = ScreenRect();
    return TRUE;
  }
  const WindowObject* window = PeekWindowObject(hwnd);
  if (!window) return FALSE;
  *rect = RECT{0, 0, RectWidth(window->client), RectHeight(window->client)};
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  if (!rect) return FALSE;
  if (hwnd && hwnd == kDesktop) {
    *rect = ScreenRect();
    return TRUE;
  }
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return FALSE;
  QPoint origin = window->IsChild() ? ClientOriginOf(window->parent) : QPoint(0, 0);
  *rect = RECT{window->rect.left + origin.x(), window->rect.top + origin.y(),
               window->rect.right + origin.x(), window->rect.bottom + origin.y()};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  if (!point || !IsWindow(hwnd)) return FALSE;
  QPoint origin = ClientOriginOf(hwnd);
  point->x += origin.x();
  point->y += origin.y();
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  if (!point || !IsWindow(hwnd)) return FALSE;
  QPoint origin = ClientOriginOf(hwnd);
  point->x -= origin.x();
  point->y -= origin.y();
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  if ((from && !IsWindow(from)) || (to && !IsWindow(to))) return 0;
  QPoint delta = ClientOriginOf(from) - ClientOriginOf(to);
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += delta.x();
    points[i].y += delta.y();
  }
  return MAKELONG(static_cast<WORD>(delta.x()), static_cast<WORD>(delta.y()));
}

namespace {

bool ContainsPoint(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

HWND DeepestChildAt(HWND hwnd, QPoint screen) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return hwnd;
  QPoint origin = ClientOriginOnScreen(*window);
  for (HWND child : window->children) {
    WindowPtr c = FindWindowObject(child);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    if (ContainsPoint(c->rect, screen.x() - origin.x(), screen.y() - origin.y()))
      return (c->style & WS_DISABLED) ? child : DeepestChildAt(child, screen);
  }
  return hwnd;
}

}  // namespace

HWND WindowFromPoint(POINT screenPoint) {
  for (HWND top : TopLevelWindows()) {
    WindowPtr window = FindWindowObject(top);
    if (!window || !(window->style & WS_VISIBLE)) continue;
    if (ContainsPoint(window->rect, screenPoint.x, screenPoint.y))
      return DeepestChildAt(top, QPoint(screenPoint.x, screenPoint.y));
  }
  return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  WindowPtr window = FindWindowObject(parent);
  if (!window) return nullptr;
  if (!ContainsPoint(RECT{0, 0, RectWidth(window->client), RectHeight(window->client)},
                     clientPoint.x, clientPoint.y))
    return nullptr;
  for (HWND child : window->children) {
    WindowPtr c = FindWindowObject(child);
    if (c && ContainsPoint(c->rect, clientPoint.x, clientPoint.y)) return child;
  }
  return parent;
}
