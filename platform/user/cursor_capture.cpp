/*
** Mouse capture and the cursor. The system cursors map to Qt's cursor shapes, a module's
** cursor resources to Qt cursors of their picture and hot spot; the cursor set by SetCursor
** is shown over the capture window or the window under the pointer.
*/
#include "platform/user/input.h"

#include "platform/user/message_queue.h"
#include "platform/user/system_info.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"
#include "platform/gdi/gdi_surface.h"

#include <QCursor>
#include <QGuiApplication>

#include <QPixmap>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

struct SystemCursor {
  WORD id;
  Qt::CursorShape shape;
};

// The system cursors; each entry's address is that cursor's handle.
const SystemCursor kSystemCursors[] = {
    {32512, Qt::ArrowCursor},     {32513, Qt::IBeamCursor},     {32514, Qt::WaitCursor},
    {32515, Qt::CrossCursor},     {32516, Qt::UpArrowCursor},   {32640, Qt::SizeAllCursor},
    {32641, Qt::ArrowCursor},     {32642, Qt::SizeFDiagCursor}, {32643, Qt::SizeBDiagCursor},
    {32644, Qt::SizeHorCursor},   {32645, Qt::SizeVerCursor},   {32646, Qt::SizeAllCursor},
    {32648, Qt::ForbiddenCursor}, {32650, Qt::BusyCursor},      {32651, Qt::WhatsThisCursor},
};

HCURSOR HandleOf(const SystemCursor& cursor) {
  return reinterpret_cast<HCURSOR>(const_cast<SystemCursor*>(&cursor));
}

const SystemCursor* CursorOf(HCURSOR handle) {
  for (const auto& cursor : kSystemCursors)
    if (HandleOf(cursor) == handle) return &cursor;
  return nullptr;
}

/* A cursor loaded from a module. One handle per module and name, as loading the same
   resource again answers the cursor already made; it lives until DestroyCursor. */
struct ResourceCursor {
  QCursor shape;
  std::pair<HINSTANCE, std::string> key;
};

std::map<HCURSOR, std::unique_ptr<ResourceCursor>>& ResourceCursors() {
  static std::map<HCURSOR, std::unique_ptr<ResourceCursor>> cursors;
  return cursors;
}

/* A resource name as a key: "#<n>" for an ordinal, the name upper-cased otherwise, since
   names are found without regard to case. */
std::string ResourceNameKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<uintptr_t>(name));
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

ResourceCursor* ResourceCursorOf(HCURSOR handle) {
  auto found = ResourceCursors().find(handle);
  return found == ResourceCursors().end() ? nullptr : found->second.get();
}

HCURSOR LoadResourceCursor(HINSTANCE instance, LPCSTR name) {
  std::pair<HINSTANCE, std::string> key{instance, ResourceNameKey(name)};
  for (const auto& [handle, cursor] : ResourceCursors())
    if (cursor->key == key) return handle;
  POINT hotSpot{0, 0};
  QImage image = GdiCursorImage(instance, name, &hotSpot);
  if (image.isNull()) return nullptr;
  auto cursor = std::make_unique<ResourceCursor>();
  cursor->shape = QCursor(QPixmap::fromImage(image), hotSpot.x, hotSpot.y);
  cursor->key = std::move(key);
  HCURSOR handle = reinterpret_cast<HCURSOR>(cursor.get());
  ResourceCursors()[handle] = std::move(cursor);
  return handle;
}

struct PointerState {
  HWND capture = nullptr;
  HCURSOR cursor = nullptr;
  int showCount = 0;
  bool clipped = false;
  RECT clip{};
};

PointerState& State() {
  static PointerState state;
  return state;
}

}  // namespace

HWND SetCapture(HWND hwnd) {
  PointerState& state = State();
  HWND previous = GetCapture();
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return previous;
  if (previous == hwnd) return previous;
  state.capture = hwnd;
  if (previous) SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return previous;
}

BOOL ReleaseCapture() {
  PointerState& state = State();
  HWND previous = GetCapture();
  state.capture = nullptr;
  if (previous) SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  PointerState& state = State();
  if (state.capture && !FindWindowObject(state.capture)) state.capture = nullptr;
  return state.capture;
}

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
  if (!name) return nullptr;
  if (instance) return LoadResourceCursor(instance, name);
  if (!IS_INTRESOURCE(name)) return nullptr;
  WORD id = static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
  for (const auto& cursor : kSystemCursors)
    if (cursor.id == id) return HandleOf(cursor);
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  PointerState& state = State();
  HCURSOR previous = state.cursor;
  state.cursor = cursor;
  HWND target = GetCapture();
  if (!target) {
    POINT p;
    GetCursorPos(&p);
    target = WindowFromPoint(p);
  }
  WindowPtr window = FindWindowObject(target);
  if (window && window->clientWidget) {
    const SystemCursor* shape = CursorOf(cursor);
    ResourceCursor* loaded = ResourceCursorOf(cursor);
    if (!cursor) window->clientWidget->setCursor(Qt::BlankCursor);
    else if (loaded) window->clientWidget->setCursor(loaded->shape);
    else window->clientWidget->setCursor(shape ? shape->shape : Qt::ArrowCursor);
  }
  return previous;
}

HCURSOR GetCursor() { return State().cursor; }

BOOL DestroyCursor(HCURSOR cursor) {
  if (ResourceCursors().erase(cursor)) {
    if (State().cursor == cursor) State().cursor = nullptr;
    return TRUE;
  }
  return FALSE;  // the system's cursors stay; anything else is no cursor
}

BOOL DestroyIcon(HICON icon) { return GdiDestroyIcon(icon); }

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  QPoint p = QCursor::pos();
  *point = POINT{p.x(), p.y()};
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  PointerState& state = State();
  if (state.clipped) {
    x = std::clamp(x, state.clip.left, std::max(state.clip.left, state.clip.right - 1));
    y = std::clamp(y, state.clip.top, std::max(state.clip.top, state.clip.bottom - 1));
  }
  QCursor::setPos(x, y);
  return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
  PointerState& state = State();
  state.clipped = rect != nullptr;
  if (rect) {
    state.clip = *rect;
    // The pointer moves into the rectangle at once.
    POINT now;
    GetCursorPos(&now);
    SetCursorPos(now.x, now.y);
  }
  return TRUE;
}

bool CursorConfinement(RECT* clip) {
  PointerState& state = State();
  if (!state.clipped) return false;
  *clip = state.clip;
  return true;
}

BOOL GetClipCursor(LPRECT rect) {
  if (!rect) return FALSE;
  PointerState& state = State();
  *rect = state.clipped ? state.clip
                        : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return TRUE;
}
