/*
** The MDI client window: its class, its procedure (the WM_MDI* messages) and its state:
** the children in creation order, the active child, the frame title and the window menu.
*/
#include "platform/user/mdi_client.h"
#include "platform/user/mdi_internal.h"

#include "platform/user/menu_calls.h"
#include "platform/user/menu_internal.h"
#include "platform/user/message_queue.h"
#include "platform/user/scroll_bars.h"
#include "platform/user/system_classes.h"
#include "platform/user/system_info.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <map>
#include <string>

namespace {

constexpr UINT kWindowMenuEntries = 9;

std::map<HWND, MdiClientState>& Clients() {
  static std::map<HWND, MdiClientState> clients;
  return clients;
}

bool Contains(const std::vector<HWND>& list, HWND hwnd) {
  return std::find(list.begin(), list.end(), hwnd) != list.end();
}

void Erase(std::vector<HWND>& list, HWND hwnd) {
  list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
}

bool Destroying(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  return !window || window->destroying;
}

std::string TextOf(HWND hwnd) {
  WindowPtr window = FindWindowObject(hwnd);
  return window ? window->text : std::string();
}

/* Sets a window's text without passing through its procedure (no DefFrameProc echo). */
void SetTextDirectly(HWND hwnd, const std::string& text) {
  DefWindowProc(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

/* A click anywhere inside an inactive MDI child activates it before the click is handled. */
class ClickActivator : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
      return false;
    for (QWidget* w = qobject_cast<QWidget*>(watched); w; w = w->parentWidget()) {
      auto* frame = dynamic_cast<FrameWidget*>(w);
      if (!frame) continue;
      MdiClientState* state = MdiClientOfChild(frame->Handle());
      if (!state) continue;
      // A frame disabled under a modal dialog lets no click change its active child.
      bool enabled = IsWindowEnabled(state->frame) && IsWindowEnabled(frame->Handle());
      if (enabled && state->active != frame->Handle()) MdiActivate(*state, frame->Handle());
      break;
    }
    return false;
  }
};

void EnsureClickActivator() {
  static ClickActivator* activator = nullptr;
  if (activator || !qApp) return;
  activator = new ClickActivator;
  qApp->installEventFilter(activator);
}

/* Where a child goes when its creator leaves position or size to the system. */
void DefaultChildPlacement(const MdiClientState& state, MDICREATESTRUCT& mcs) {
  RECT area;
  GetClientRect(state.client, &area);
  int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  int slot = static_cast<int>(state.created.size() % 8);
  if (mcs.x == CW_USEDEFAULT) mcs.x = mcs.y = step * slot;
  if (mcs.cx == CW_USEDEFAULT) {
    mcs.cx = RectWidth(area) * 3 / 4;
    mcs.cy = RectHeight(area) * 3 / 4;
  }
}

/* Adds a child the client did not know yet (made by WM_MDICREATE or by CreateWindowEx with
** WS_EX_MDICHILD); answers whether it is new. */
bool Adopt(MdiClientState& state, HWND child) {
  if (Contains(state.created, child)) return false;
  WindowPtr window = FindWindowObject(child);
  if (!window || window->parent != state.client) return false;
  state.created.push_back(child);
  state.activation.push_back(child);
  SetWindowLong(child, GWL_ID, state.idFirstChild + static_cast<UINT>(state.created.size()) - 1);
  MdiRefreshWindowMenu(state);
  return true;
}

HWND CreateChild(MdiClientState& state, const MDICREATESTRUCT* request) {
  if (!request || !request->szClass) return nullptr;
  MDICREATESTRUCT mcs = *request;
  DefaultChildPlacement(state, mcs);
  HWND previous = state.active;
  bool maximize = (mcs.style & WS_MAXIMIZE) || (previous && IsZoomed(previous));
  bool minimize = (mcs.style & WS_MINIMIZE) && !maximize;
  DWORD style = mcs.style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE | WS_POPUP);
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (!(GetWindowLong(state.client, GWL_STYLE) & MDIS_ALLCHILDSTYLES))
    style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  HMENU id =
      reinterpret_cast<HMENU>(static_cast<uintptr_t>(state.idFirstChild + state.created.size()));
  HWND client = state.client;
  HWND child = CreateWindowEx(WS_EX_MDICHILD, mcs.szClass, mcs.szTitle, style, mcs.x, mcs.y, mcs.cx,
                              mcs.cy, client, id, static_cast<HINSTANCE>(mcs.hOwner),
                              const_cast<MDICREATESTRUCT*>(request));
  MdiClientState* current = FindMdiClient(client);  // a handler may have destroyed the client
  if (!child || !current) return child;
  Adopt(*current, child);
  ShowWindow(child, maximize ? SW_SHOWMAXIMIZED : minimize ? SW_SHOWMINIMIZED : SW_SHOW);
  if (IsWindow(child) && (current = FindMdiClient(client))) MdiActivate(*current, child);
  return IsWindow(child) ? child : nullptr;
}

HWND NextInRing(const MdiClientState& state, HWND from, bool backwards) {
  const std::vector<HWND>& ring = state.created;
  auto self = std::find(ring.begin(), ring.end(), from);
  if (self == ring.end() || ring.size() < 2) return nullptr;
  size_t index = static_cast<size_t>(self - ring.begin());
  size_t count = ring.size();
  for (size_t step = 1; step < count; ++step) {
    size_t next = backwards ? (index + count - step) % count : (index + step) % count;
    if (IsWindowVisible(ring[next]) && IsWindowEnabled(ring[next])) return ring[next];
  }
  return nullptr;
}

HMENU SetMenus(MdiClientState& state, HMENU frameMenu, HMENU windowMenu) {
  HMENU previous = GetMenu(state.frame);
  if (windowMenu && windowMenu != state.windowMenu) {
    // The old window menu loses its list of children; the new one receives it.
    std::vector<HWND> keep = state.created;
    state.created.clear();
    MdiRefreshWindowMenu(state);
    state.created = keep;
    state.windowMenu = windowMenu;
    state.separatorAdded = false;
  }
  if (frameMenu) SetMenu(state.frame, frameMenu);
  MdiRefreshWindowMenu(state);
  return previous;
}

LRESULT OnMdiMessage(MdiClientState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND child = reinterpret_cast<HWND>(wParam);
  bool known = Contains(state.created, child);
  switch (message) {
    case WM_MDICREATE:
      return reinterpret_cast<LRESULT>(
          CreateChild(state, reinterpret_cast<MDICREATESTRUCT*>(lParam)));
    case WM_MDIDESTROY:
      if (known) DestroyWindow(child);
      return 0;
    case WM_MDIACTIVATE:
      if (known) MdiActivate(state, child);
      return 0;
    case WM_MDIGETACTIVE:
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = state.active && IsZoomed(state.active);
      return reinterpret_cast<LRESULT>(state.active);
    case WM_MDINEXT: {
      HWND from = child ? child : state.active;
      if (HWND next = NextInRing(state, from, lParam != 0)) MdiActivate(state, next);
      return 0;
    }
    case WM_MDIMAXIMIZE:
      if (known) {
        ShowWindow(child, SW_SHOWMAXIMIZED);
        if (MdiClientState* current = MdiClientOfChild(child)) MdiActivate(*current, child);
      }
      return 0;
    case WM_MDIRESTORE:
      if (known) ShowWindow(child, SW_RESTORE);
      return 0;
    case WM_MDICASCADE: return MdiCascade(state, static_cast<UINT>(wParam));
    case WM_MDITILE: return MdiTile(state, static_cast<UINT>(wParam));
    case WM_MDIICONARRANGE: return MdiArrangeIcons(state);
    case WM_MDISETMENU:
      return reinterpret_cast<LRESULT>(
          SetMenus(state, reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam)));
    case WM_MDIREFRESHMENU:
      MdiRefreshWindowMenu(state);
      return reinterpret_cast<LRESULT>(GetMenu(state.frame));
    default: return 0;
  }
}

LRESULT CALLBACK MdiClientWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      auto* ccs = cs ? static_cast<const CLIENTCREATESTRUCT*>(cs->lpCreateParams) : nullptr;
      MdiClientState& state = Clients()[hwnd];
      state.client = hwnd;
      state.frame = GetParent(hwnd);
      state.frameTitle = TextOf(state.frame);
      if (ccs) {
        state.windowMenu = static_cast<HMENU>(ccs->hWindowMenu);
        state.idFirstChild = ccs->idFirstChild;
      }
      EnsureClickActivator();
      // The client does not scroll its children: bars asked for in the style stay hidden.
      ShowScrollBar(hwnd, SB_BOTH, FALSE);
      return 0;
    }
    case WM_NCDESTROY: Clients().erase(hwnd); return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_PARENTNOTIFY: {
      MdiClientState* state = FindMdiClient(hwnd);
      HWND child = reinterpret_cast<HWND>(lParam);
      if (state && LOWORD(wParam) == WM_CREATE &&
          (GetWindowLong(child, GWL_EXSTYLE) & WS_EX_MDICHILD))
        Adopt(*state, child);
      else if (state && LOWORD(wParam) == WM_DESTROY) MdiForgetChild(*state, child);
      return 0;
    }
    case WM_SIZE:
      if (MdiClientState* state = FindMdiClient(hwnd))
        if (state->active && IsZoomed(state->active)) ShowWindow(state->active, SW_SHOWMAXIMIZED);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_SETFOCUS:
      if (MdiClientState* state = FindMdiClient(hwnd))
        if (state->active && !IsIconic(state->active)) SetFocus(state->active);
      return 0;
    default: break;
  }
  if (message >= WM_MDICREATE && message <= WM_MDIREFRESHMENU) {
    MdiClientState* state = FindMdiClient(hwnd);
    return state ? OnMdiMessage(*state, message, wParam, lParam) : 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

MdiClientState* FindMdiClient(HWND client) {
  auto it = Clients().find(client);
  return it == Clients().end() ? nullptr : &it->second;
}

MdiClientState* MdiClientOfChild(HWND child) {
  WindowPtr window = FindWindowObject(child);
  if (!window || !window->IsChild()) return nullptr;
  MdiClientState* state = FindMdiClient(window->parent);
  return state && Contains(state->created, child) ? state : nullptr;
}

void MdiActivate(MdiClientState& state, HWND child) {
  if (!Contains(state.created, child) || Destroying(child)) return;
  HWND client = state.client;
  HWND previous = state.active;
  if (previous == child) {
    MdiRestoreChildOrder(state);
    return;
  }
  bool carryMaximize = previous && IsZoomed(previous) && !Destroying(previous);
  state.active = child;
  Erase(state.activation, child);
  state.activation.insert(state.activation.begin(), child);
  if (previous && IsWindow(previous)) {
    SendMessage(previous, WM_NCACTIVATE, FALSE, 0);
    SendMessage(previous, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous),
                reinterpret_cast<LPARAM>(child));
  }
  if (!IsWindow(child) || !FindMdiClient(client)) return;
  if (carryMaximize) {
    ShowWindow(child, SW_SHOWMAXIMIZED);
    if (IsWindow(previous)) ShowWindow(previous, SW_RESTORE);
  }
  MdiClientState* current = FindMdiClient(client);
  if (!current || !IsWindow(child)) return;
  MdiRestoreChildOrder(*current);
  SendMessage(child, WM_NCACTIVATE, TRUE, 0);
  SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous),
              reinterpret_cast<LPARAM>(child));
  current = FindMdiClient(client);
  if (!current || !IsWindow(child)) return;
  HWND focus = GetFocus();
  if (GetActiveWindow() == current->frame || !focus || IsChild(current->frame, focus))
    SetFocus(child);
  if ((current = FindMdiClient(client))) {
    MdiUpdateFrameTitle(*current);
    MdiRefreshWindowMenu(*current);
  }
}

void MdiForgetChild(MdiClientState& state, HWND child) {
  if (!Contains(state.created, child)) return;
  bool wasActive = state.active == child;
  bool wasMaximized = IsZoomed(child);
  Erase(state.created, child);
  Erase(state.activation, child);
  for (size_t i = 0; i < state.created.size(); ++i)
    SetWindowLong(state.created[i], GWL_ID, state.idFirstChild + static_cast<UINT>(i));
  if (wasActive) state.active = nullptr;
  HWND client = state.client;
  if (wasActive && !Destroying(client)) {
    HWND next = nullptr;
    for (HWND candidate : state.activation)
      if (!Destroying(candidate)) {
        next = candidate;
        break;
      }
    if (next) {
      if (wasMaximized) ShowWindow(next, SW_SHOWMAXIMIZED);
      if (MdiClientState* current = FindMdiClient(client)) MdiActivate(*current, next);
    }
  }
  if (MdiClientState* current = FindMdiClient(client)) {
    MdiUpdateFrameTitle(*current);
    MdiRefreshWindowMenu(*current);
  }
}

void MdiUpdateFrameTitle(MdiClientState& state) {
  if (!IsWindow(state.frame) || Destroying(state.frame)) return;
  // A title the program set while none was composed is the frame's own.
  if (!state.titleComposed) state.frameTitle = TextOf(state.frame);
  std::string title = state.frameTitle;
  state.titleComposed = state.active && IsZoomed(state.active) && !Destroying(state.active);
  if (state.titleComposed) title += " - [" + TextOf(state.active) + "]";
  ShowMaximizedChildControls(state.frame, state.titleComposed ? state.active : nullptr);
  if (title == TextOf(state.frame)) return;
  state.composingTitle = true;
  SetTextDirectly(state.frame, title);
  state.composingTitle = false;
}

void MdiRefreshWindowMenu(MdiClientState& state) {
  HMENU menu = state.windowMenu;
  if (!IsMenu(menu)) return;
  // Out with the old list: every entry in our id range, then our separator at the end.
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    UINT id = GetMenuItemID(menu, i);
    if (id != static_cast<UINT>(-1) && id >= state.idFirstChild &&
        id < state.idFirstChild + 0x100 && !(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR))
      DeleteMenu(menu, i, MF_BYPOSITION);
  }
  int count = GetMenuItemCount(menu);
  if (state.separatorAdded && count > 0 &&
      (GetMenuState(menu, count - 1, MF_BYPOSITION) & MF_SEPARATOR))
    DeleteMenu(menu, count - 1, MF_BYPOSITION);
  state.separatorAdded = false;
  std::vector<HWND> listed;
  for (HWND child : state.created)
    if (!Destroying(child) && listed.size() < kWindowMenuEntries) listed.push_back(child);
  if (listed.empty()) return;
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  state.separatorAdded = true;
  for (size_t i = 0; i < listed.size(); ++i) {
    std::string text = "&" + std::to_string(i + 1) + " " + TextOf(listed[i]);
    UINT flags = MF_STRING | (listed[i] == state.active ? MF_CHECKED : MF_UNCHECKED);
    AppendMenu(menu, flags, state.idFirstChild + static_cast<UINT>(i), text.c_str());
  }
}

void MdiRestoreChildOrder(MdiClientState& state) {
  WindowPtr client = FindWindowObject(state.client);
  if (!client) return;
  // Other children (if any) keep their places; the MDI children fill theirs in creation order.
  std::vector<size_t> places;
  for (size_t i = 0; i < client->children.size(); ++i)
    if (Contains(state.created, client->children[i])) places.push_back(i);
  std::vector<HWND> members;
  for (HWND hwnd : state.created)
    if (Contains(client->children, hwnd)) members.push_back(hwnd);
  if (places.size() == members.size())
    for (size_t k = 0; k < places.size(); ++k) client->children[places[k]] = members[k];
  // Stacking: the least recently active at the bottom, the active child on top.
  for (auto it = state.activation.rbegin(); it != state.activation.rend(); ++it)
    if (WindowPtr child = FindWindowObject(*it)) RaiseFrame(*child);
}

void RegisterMdiClientClass() {
  WNDCLASS wc{};
  wc.style = 0;
  wc.lpfnWndProc = MdiClientWindowProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_APPWORKSPACE + 1));
  wc.lpszClassName = "MDIClient";
  RegisterSystemClass(&wc);
}
