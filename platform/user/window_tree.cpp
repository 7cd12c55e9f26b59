/*
** The window tree: parents, owners, children and siblings in z-order, enumeration and
** lookup by class, title and control id.
*/
#include "platform/user/cross_process_windows.h"
#include "platform/user/window_manager.h"

#include "platform/user/message_queue.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

HWND GetParent(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return nullptr;
  if (window->IsChild()) return window->parent;
  return (window->style & WS_POPUP) ? window->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  WindowPtr window = FindWindowObject(child);
  if (!window) return nullptr;
  if (newParent == GetDesktopWindow()) newParent = nullptr;
  WindowPtr parent = FindWindowObject(newParent);
  if (newParent && (!parent || newParent == child || IsChild(child, newParent))) return nullptr;
  HWND old = window->IsChild() ? window->parent : GetDesktopWindow();
  auto& siblings = SiblingList(*window);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
  bool visible = (window->style & WS_VISIBLE) != 0;
  if (parent) {
    window->style |= WS_CHILD;
    window->parent = newParent;
    parent->children.insert(parent->children.begin(), child);
    if (window->frame) window->frame->setParent(parent->clientWidget);
  } else {
    window->style &= ~WS_CHILD;
    window->parent = nullptr;
    AddTopLevelWindow(child, true);
    if (window->frame) window->frame->setParent(nullptr, Qt::Window);
  }
  ApplyWidgetGeometry(*window);
  if (window->frame) {
    window->frame->setVisible(visible);
    RaiseFrame(*window);
  }
  return old;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return nullptr;
  if (relation == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
  if (relation == GW_OWNER) return window->IsChild() ? nullptr : window->owner;
  const std::vector<HWND>& siblings = SiblingList(*window);
  auto self = std::find(siblings.begin(), siblings.end(), hwnd);
  if (self == siblings.end()) return nullptr;
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return self + 1 == siblings.end() ? nullptr : *(self + 1);
    case GW_HWNDPREV: return self == siblings.begin() ? nullptr : *(self - 1);
    default: return nullptr;
  }
}

BOOL IsChild(HWND parent, HWND hwnd) {
  for (WindowPtr w = FindWindowObject(hwnd); w && w->IsChild(); w = FindWindowObject(w->parent))
    if (w->parent == parent) return TRUE;
  return FALSE;
}

namespace {

/* Every descendant in z-order, depth first, listed before any callback runs. */
void CollectDescendants(HWND hwnd, std::vector<HWND>& out) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return;
  for (HWND child : window->children) {
    out.push_back(child);
    CollectDescendants(child, out);
  }
}

bool TitleMatches(const std::string& title, LPCSTR wanted) {
  return !wanted || strcasecmp(title.c_str(), wanted) == 0;
}

bool ClassMatches(const WindowObject& window, LPCSTR wanted) {
  if (!wanted) return true;
  if (IS_INTRESOURCE(wanted))
    return window.windowClass->atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(wanted));
  return strcasecmp(window.windowClass->name.c_str(), wanted) == 0;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> all;
  if (!parent || parent == GetDesktopWindow()) {
    for (HWND top : TopLevelWindows()) {
      all.push_back(top);
      CollectDescendants(top, all);
    }
  } else {
    CollectDescendants(parent, all);
  }
  for (HWND hwnd : all) {
    if (!FindWindowObject(hwnd)) continue;  // destroyed by an earlier callback
    if (!proc(hwnd, lParam)) return FALSE;
  }
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  for (HWND top : TopLevelWindows()) {
    if (!FindWindowObject(top)) continue;
    if (!proc(top, lParam)) return FALSE;
  }
  return EnumOtherProgramsWindows(proc, lParam);
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
  for (HWND top : TopLevelWindows()) {
    WindowPtr window = FindWindowObject(top);
    if (window && ClassMatches(*window, className) && TitleMatches(window->text, windowName))
      return top;
  }
  return FindOtherProgramsWindow(className, windowName);
}

int GetDlgCtrlID(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !window->IsChild()) return 0;
  return static_cast<int>(window->id);
}

HWND GetDlgItem(HWND dialog, int id) {
  WindowPtr window = FindWindowObject(dialog);
  if (!window) return nullptr;
  for (HWND child : window->children) {
    WindowPtr c = FindWindowObject(child);
    if (c && static_cast<int>(c->id) == id) return child;
  }
  return nullptr;
}
