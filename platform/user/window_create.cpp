/*
** Creating and destroying windows, with the message order of the original platform:
** WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE on creation; WM_DESTROY from the
** parent down, then WM_NCDESTROY from the deepest child up on destruction.
*/
#include "platform/user/cross_process_windows.h"
#include "platform/user/window_manager.h"

#include "platform/user/caret.h"
#include "platform/user/input.h"
#include "platform/user/message_queue.h"
#include "platform/user/message_queue_internal.h"
#include "platform/user/painting.h"
#include "platform/user/system_info.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <algorithm>

/* Internal: the caret and the paint layer let go of a window that is being destroyed. */
void ForgetCaretOwner(HWND hwnd);
void ReleaseWindowDCs(WindowObject& window);
void RecalcClientRect(WindowObject& window, bool calcValidRects);
/* Internal: a top-level window's menu given at creation becomes its menu bar. */
void AttachMenuAtCreation(HWND hwnd, HMENU menu);

namespace {

HWND TopLevelAncestor(HWND hwnd) {
  HWND top = hwnd;
  for (WindowPtr w = FindWindowObject(hwnd); w && w->IsChild(); w = FindWindowObject(w->parent))
    top = w->parent;
  return top;
}

/* Where an overlapped window goes when its creator leaves it to the system: cascaded. */
void ApplyDefaultPlacement(int& x, int& y, int& width, int& height, DWORD style) {
  static int cascade = 0;
  bool overlapped = (style & (WS_CHILD | WS_POPUP)) == 0;
  int screenW = GetSystemMetrics(SM_CXSCREEN);
  int screenH = GetSystemMetrics(SM_CYSCREEN);
  if (x == CW_USEDEFAULT) {
    if (overlapped) {
      int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
      x = y = step * (cascade++ % 8);
    } else {
      x = y = 0;
    }
  }
  if (width == CW_USEDEFAULT) {
    width = overlapped ? screenW * 3 / 4 : 0;
    height = overlapped ? screenH * 3 / 4 : 0;
  }
}

/* What the window manager is told about a top-level window: an owned window with a caption
   (a dialog, a box) is a dialog; the frame buttons are those the style asks for. */
Qt::WindowFlags TopLevelWindowFlags(const WindowObject& window, bool owned) {
  Qt::WindowFlags flags = Qt::Window;
  bool captioned = (window.style & WS_CAPTION) == WS_CAPTION;
  if (owned && captioned) flags = Qt::Dialog;
  if ((window.style & WS_POPUP) && !captioned) flags |= Qt::FramelessWindowHint;
  if (captioned) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (window.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (window.style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (window.style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
  }
  if (window.exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  if (window.exStyle & WS_EX_TOOLWINDOW) flags |= Qt::Tool;
  return flags;
}

void CreateWidgets(WindowObject& window, const WindowPtr& parent, const WindowPtr& owner) {
  QWidget* parentWidget = nullptr;
  Qt::WindowFlags flags;
  if (window.IsChild()) {
    parentWidget = parent->clientWidget;
  } else {
    flags = TopLevelWindowFlags(window, owner != nullptr);
    // An owned window is the owner's transient: the window manager keeps it above the owner.
    if (owner) parentWidget = owner->frame;
  }
  auto* frame = new FrameWidget(window.hwnd, parentWidget, flags);
  frame->hide();
  window.frame = frame;
  window.clientWidget = new ClientWidget(window.hwnd, frame);
  window.focusTarget = window.clientWidget;
  if (window.IsChild()) frame->lower();  // new children go to the bottom of the z-order
}

void MarkDestroying(const WindowPtr& window) {
  window->destroying = true;
  for (HWND child : window->children)
    if (WindowPtr c = FindWindowObject(child)) MarkDestroying(c);
}

void SendDestroyMessages(HWND hwnd) {
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return;
  std::vector<HWND> children = window->children;
  for (HWND child : children) SendDestroyMessages(child);
}

/* Children first, then the window itself: WM_NCDESTROY and the handle's end. */
void FreeWindow(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return;
  std::vector<HWND> children = window->children;
  for (HWND child : children) FreeWindow(child);
  SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  KillWindowTimers(hwnd);
  ForgetQueuedMessagesOf(hwnd);
  ReleaseWindowDCs(*window);
  KeepBackingForReuse(*window);
  auto& siblings = SiblingList(*window);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
  if (!window->IsChild()) RemoveTopLevelWindow(hwnd);
  if (window->frame) {
    window->frame->hide();
    window->frame->deleteLater();  // it may be inside one of its own event handlers
  }
  ForgetWindowObject(hwnd);
}

/* A destroyed window gives up the focus, the capture and the caret before WM_DESTROY. */
void ReleaseInputStateOf(const WindowPtr& window) {
  HWND hwnd = window->hwnd;
  HWND focus = GetFocus();
  if (focus && (focus == hwnd || IsChild(hwnd, focus)))
    SetFocus(window->IsChild() ? window->parent : nullptr);
  HWND capture = GetCapture();
  if (capture && (capture == hwnd || IsChild(hwnd, capture))) ReleaseCapture();
  ForgetCaretOwner(hwnd);
}

/* When the active window goes, its owner or the next visible top-level window takes over. */
void ActivateAnother(HWND leaving, HWND owner) {
  if (GetActiveWindow() != leaving) return;
  HWND next = owner && IsWindowVisible(owner) ? owner : nullptr;
  if (!next) {
    for (HWND top : TopLevelWindows())
      if (top != leaving && IsWindowVisible(top)) {
        next = top;
        break;
      }
  }
  SetActiveWindow(next);
}

}  // namespace

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                    LPVOID createParam) {
  if (!EnsureWindowSystem()) return nullptr;
  auto windowClass = FindWindowClass(className, instance);
  if (!windowClass) return nullptr;
  // A child of the desktop (a list floating above its dialog) is a top-level window at screen
  // coordinates that keeps its id, takes no menu and is never activated.
  bool desktopChild = parent == GetDesktopWindow() && (style & WS_CHILD);
  if (desktopChild) style = (style & ~WS_CHILD) | WS_POPUP, exStyle |= WS_EX_NOACTIVATE;
  if (parent == GetDesktopWindow()) parent = nullptr;
  WindowPtr parentWindow = FindWindowObject(parent);
  if (parent && !parentWindow) return nullptr;
  if ((style & WS_CHILD) && !parentWindow) return nullptr;
  // A child created while its parent is being destroyed would outlive it unseen.
  if ((style & WS_CHILD) && parentWindow->destroying) return nullptr;
  if ((style & (WS_CHILD | WS_POPUP)) == 0) style |= WS_CLIPSIBLINGS | WS_CAPTION;

  WindowPtr window = RegisterWindowObject(windowClass);
  HWND hwnd = window->hwnd;
  window->proc = windowClass->record.lpfnWndProc;
  window->style = style & ~WS_VISIBLE;
  window->exStyle = exStyle;
  window->instance = instance;
  window->extraBytes = windowClass->record.cbWndExtra;
  window->extraWords.assign((window->extraBytes + 3) / 4, 0);
  WindowPtr owner;
  if (style & WS_CHILD) {
    window->parent = parent;
    window->id = reinterpret_cast<LONG_PTR>(menuOrId);
    parentWindow->children.push_back(hwnd);
  } else {
    window->owner = parent ? TopLevelAncestor(parent) : nullptr;
    owner = FindWindowObject(window->owner);
    AddTopLevelWindow(hwnd, true);
    if (desktopChild) window->id = reinterpret_cast<LONG_PTR>(menuOrId);
  }
  ApplyDefaultPlacement(x, y, width, height, style);
  window->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  window->client = RECT{0, 0, RectWidth(window->rect), RectHeight(window->rect)};
  window->restoreRect = window->rect;
  CreateWidgets(*window, parentWindow, owner);
  if (!(style & WS_CHILD) && menuOrId && !desktopChild)
    AttachMenuAtCreation(hwnd, menuOrId);  // menu_bar.cpp

  CREATESTRUCT cs{
      createParam, instance,  menuOrId, parent, height, width, y, x, static_cast<LONG>(style),
      windowName,  className, exStyle};
  if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (FindWindowObject(hwnd)) {
      MarkDestroying(window);
      FreeWindow(hwnd);
    }
    return nullptr;
  }
  if (!FindWindowObject(hwnd)) return nullptr;
  RecalcClientRect(*window, false);
  ApplyWidgetGeometry(*window);
  if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!FindWindowObject(hwnd)) return nullptr;  // it destroyed itself in WM_CREATE
  window->creating = false;
  SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(RectWidth(window->client), RectHeight(window->client)));
  SendMessage(
      hwnd, WM_MOVE, 0,
      MAKELPARAM(window->rect.left + window->client.left, window->rect.top + window->client.top));
  if (!FindWindowObject(hwnd)) return nullptr;
  if (window->IsChild() && !(exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessage(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, window->id),
                reinterpret_cast<LPARAM>(hwnd));
  if (!FindWindowObject(hwnd)) return nullptr;
  if (style & WS_VISIBLE) {
    int command = (style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                  : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                          : SW_SHOW;
    window->style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
    ShowWindow(hwnd, command);
  }
  if (!FindWindowObject(hwnd)) return nullptr;
  if (!window->IsChild()) PublishTopLevel(hwnd);  // other programs see top-level windows
  return hwnd;
}

HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID createParam) {
  return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menuOrId,
                        instance, createParam);
}

BOOL DestroyWindow(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || window->destroying) return FALSE;
  MarkDestroying(window);
  if (!window->IsChild()) UnpublishTopLevel(hwnd);
  if (window->IsChild() && !(window->exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessage(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, window->id),
                reinterpret_cast<LPARAM>(hwnd));
  // Owned windows go first, as on the original platform.
  for (HWND top : TopLevelWindows()) {
    WindowPtr owned = FindWindowObject(top);
    if (owned && owned->owner == hwnd) DestroyWindow(top);
  }
  // A child going away uncovers its parent's pixels, which the parent paints again.
  if (window->IsChild() && (window->style & WS_VISIBLE))
    InvalidateRect(window->parent, &window->rect, TRUE);
  if (window->frame) window->frame->hide();
  window->style &= ~WS_VISIBLE;
  ReleaseInputStateOf(window);
  if (!window->IsChild()) ActivateAnother(hwnd, window->owner);
  SendDestroyMessages(hwnd);
  FreeWindow(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  if (hwnd && hwnd == GetDesktopWindow()) return TRUE;
  if (IsOtherProgramsWindow(hwnd)) return OtherProgramsWindowExists(hwnd);
  return FindWindowObject(hwnd) ? TRUE : FALSE;
}
