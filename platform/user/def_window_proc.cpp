/*
** Default processing of window messages: what a window gets for every message its own
** procedure passes on. It keeps the window text, sizes the non-client area, erases with the
** class brush, validates on WM_PAINT, turns position changes into WM_MOVE / WM_SIZE and
** closing into destruction.
*/
#include "platform/user/message_queue.h"

#include "platform/gdi/gdi.h"
#include "platform/user/input.h"
#include "platform/user/painting.h"
#include "platform/user/system_info.h"
#include "platform/user/text_1252.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

/* The strip a top-level window's menu bar takes (menu_bar.cpp). */
int MenuBarHeightOf(HWND hwnd);
/* Alt+letter: the menu-bar item with that mnemonic opens (menu_bar.cpp). */
void OpenMenuByMnemonic(HWND hwnd, char mnemonic);

namespace {

/* The standard non-client parts: border, caption, client edge and scroll bars. */
void DefaultNcCalcSize(const WindowObject& window, RECT& r) {
  const int border = FrameBorderWidth(window);
  r.left += border;
  r.right -= border;
  r.top += border;
  r.bottom -= border;
  r.top += CaptionHeight(window);
  r.top += MenuBarHeightOf(window.hwnd);  // a menu bar lies between caption and client
  if (window.exStyle & WS_EX_CLIENTEDGE) {
    r.left += GetSystemMetrics(SM_CXEDGE);
    r.right -= GetSystemMetrics(SM_CXEDGE);
    r.top += GetSystemMetrics(SM_CYEDGE);
    r.bottom -= GetSystemMetrics(SM_CYEDGE);
  }
  if (window.style & WS_VSCROLL) r.right -= GetSystemMetrics(SM_CXVSCROLL);
  if (window.style & WS_HSCROLL) r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
}

LRESULT DefaultHitTest(HWND hwnd, const WindowObject& window, int x, int y) {
  RECT outer;
  GetWindowRect(hwnd, &outer);
  if (x < outer.left || x >= outer.right || y < outer.top || y >= outer.bottom) return HTNOWHERE;
  POINT p{x, y};
  ScreenToClient(hwnd, &p);
  const RECT& c = window.client;
  int cw = RectWidth(c), ch = RectHeight(c);
  if (p.x >= 0 && p.x < cw && p.y >= 0 && p.y < ch) return HTCLIENT;
  if ((window.style & WS_VSCROLL) && p.x >= cw && p.x < cw + GetSystemMetrics(SM_CXVSCROLL) &&
      p.y >= 0 && p.y < ch)
    return HTVSCROLL;
  if ((window.style & WS_HSCROLL) && p.y >= ch && p.y < ch + GetSystemMetrics(SM_CYHSCROLL) &&
      p.x >= 0 && p.x < cw)
    return HTHSCROLL;
  if (p.y < 0 && p.y >= -CaptionHeight(window)) return HTCAPTION;
  return HTBORDER;
}

HBRUSH CachedBrush(int colorIndex) {
  static HBRUSH brushes[32] = {};
  if (colorIndex < 0 || colorIndex >= 32) return nullptr;
  if (!brushes[colorIndex]) brushes[colorIndex] = CreateSolidBrush(GetSysColor(colorIndex));
  return brushes[colorIndex];
}

LRESULT ControlColor(UINT message, WPARAM wParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  bool windowColored = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  int background = windowColored ? COLOR_WINDOW : COLOR_BTNFACE;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(background));
  return reinterpret_cast<LRESULT>(CachedBrush(background));
}

LRESULT EraseBackground(HWND hwnd, const WindowObject& window, HDC dc) {
  HBRUSH brush = window.windowClass->record.hbrBackground;
  if (!brush) return 0;
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush);
  return 1;
}

LRESULT SetText(HWND hwnd, WindowObject& window, LPCSTR text) {
  window.text = text ? text : "";
  if (window.frame) {
    if (!window.IsChild()) window.frame->setWindowTitle(DecodeWindows1252(window.text));
    window.frame->update();
  }
  return TRUE;
}

LRESULT GetText(const WindowObject& window, WPARAM size, LPSTR buffer) {
  if (!buffer || size == 0) return 0;
  size_t length = std::min(window.text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, window.text.data(), length);
  buffer[length] = 0;
  return static_cast<LRESULT>(length);
}

void SendMoveAndSize(HWND hwnd, const WINDOWPOS& pos) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return;
  if (!(pos.flags & SWP_NOMOVE))
    SendMessage(
        hwnd, WM_MOVE, 0,
        MAKELPARAM(window->rect.left + window->client.left, window->rect.top + window->client.top));
  window = FindWindowObject(hwnd);
  if (!window || (pos.flags & SWP_NOSIZE)) return;
  WPARAM type = (window->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                : (window->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                : SIZE_RESTORED;
  SendMessage(hwnd, WM_SIZE, type,
              MAKELPARAM(RectWidth(window->client), RectHeight(window->client)));
}

LRESULT SysCommand(HWND hwnd, WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_SHOWMAXIMIZED); break;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
    default: break;
  }
  return 0;
}

constexpr int kWheelLinesPerNotch = 3;

/* A window with a scroll bar that can move scrolls by lines, as if its arrows were clicked;
   one without passes the wheel to its parent, so the wheel over a control with nothing to
   scroll moves what it lies in. */
LRESULT Wheel(HWND hwnd, WindowObject& window, UINT message, WPARAM wParam, LPARAM lParam) {
  bool sideways = message == WM_MOUSEHWHEEL || (LOWORD(wParam) & MK_SHIFT);
  const ScrollBarState& bar = sideways ? window.hBar : window.vBar;
  bool hasBar = (window.style & (sideways ? WS_HSCROLL : WS_VSCROLL)) != 0;
  bool canMove = bar.maxPos - std::max<int>(static_cast<int>(bar.page) - 1, 0) > bar.minPos;
  if (!hasBar || !canMove) {
    window.wheelRemainder = 0;
    return window.IsChild() ? SendMessage(window.parent, message, wParam, lParam) : 0;
  }
  int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  if (message == WM_MOUSEHWHEEL) delta = -delta;  // tilting right moves the view right
  if ((window.wheelRemainder > 0) != (delta > 0)) window.wheelRemainder = 0;
  window.wheelRemainder += delta;
  int notches = window.wheelRemainder / WHEEL_DELTA;
  window.wheelRemainder %= WHEEL_DELTA;
  if (notches == 0) return 0;
  UINT scroll = sideways ? WM_HSCROLL : WM_VSCROLL;
  WPARAM code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
  for (int i = 0; i < std::abs(notches) * kWheelLinesPerNotch; ++i) {
    SendMessage(hwnd, scroll, code, 0);
    if (!FindWindowObject(hwnd)) return 0;
  }
  SendMessage(hwnd, scroll, SB_ENDSCROLL, 0);
  return 0;
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window) return 0;
  switch (message) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) window->text = cs->lpszName;
      if (window->frame && !window->IsChild())
        window->frame->setWindowTitle(DecodeWindows1252(window->text));
      return TRUE;
    }
    case WM_NCCALCSIZE:
      if (lParam) DefaultNcCalcSize(*window, *reinterpret_cast<RECT*>(lParam));
      return 0;
    case WM_NCHITTEST:
      return DefaultHitTest(hwnd, *window, static_cast<SHORT>(LOWORD(lParam)),
                            static_cast<SHORT>(HIWORD(lParam)));
    case WM_SETCURSOR: {
      if (window->IsChild() && SendMessage(window->parent, WM_SETCURSOR, wParam, lParam))
        return TRUE;
      if (LOWORD(lParam) == HTCLIENT && window->windowClass->record.hCursor) {
        SetCursor(window->windowClass->record.hCursor);
        return TRUE;
      }
      if (LOWORD(lParam) != HTCLIENT) SetCursor(LoadCursor(nullptr, IDC_ARROW));
      return FALSE;
    }
    case WM_MOUSEACTIVATE:
      if (window->IsChild()) {
        LRESULT parentAnswer = SendMessage(window->parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (parentAnswer) return parentAnswer;
      }
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd)) SetFocus(hwnd);
      return 0;
    case WM_NCACTIVATE:
      if (window->frame) window->frame->update();
      return TRUE;
    case WM_SETTEXT: return SetText(hwnd, *window, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT: return GetText(*window, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
    case WM_ERASEBKGND: return EraseBackground(hwnd, *window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETREDRAW: window->redraw = wParam != 0; return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SYSCOMMAND: return SysCommand(hwnd, wParam);
    case WM_SYSCHAR:
      OpenMenuByMnemonic(hwnd, static_cast<char>(wParam));  // menu_bar.cpp
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (lParam & (1 << 29))) SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_WINDOWPOSCHANGED:
      if (lParam) SendMoveAndSize(hwnd, *reinterpret_cast<const WINDOWPOS*>(lParam));
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return ControlColor(message, wParam);
    case WM_QUERYENDSESSION: return TRUE;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return Wheel(hwnd, *window, message, wParam, lParam);
    default: return 0;
  }
}
