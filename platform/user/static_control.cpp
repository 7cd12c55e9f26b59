/*
** The system "static" class. Text statics draw their text with the alignment of their style
** (a '&' marks the next character unless SS_NOPREFIX); rectangles, frames and etched lines
** are drawn in the system colours; SS_ICON and SS_BITMAP statics load the picture their
** template names from the creating module and take its size. Frames drawn around other
** controls show only on their outline, so what they surround stays visible.
*/
#include "platform/user/static_control.h"

#include "platform/gdi/gdi.h"
#include "platform/user/button_control.h"
#include "platform/user/dialog_paint.h"
#include "platform/user/input.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/rectangles.h"
#include "platform/user/system_classes.h"
#include "platform/user/system_info.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_styles.h"

#include <map>

namespace {

struct StaticState {
  HFONT font = nullptr;
  HANDLE image = nullptr;  // icon of SS_ICON, bitmap of SS_BITMAP
};

std::map<HWND, StaticState>& Statics() {
  static std::map<HWND, StaticState> statics;
  return statics;
}

StaticState& StateOf(HWND hwnd) { return Statics()[hwnd]; }

DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }
DWORD Kind(HWND hwnd) { return Style(hwnd) & SS_TYPEMASK; }

bool IsTextKind(DWORD kind) {
  return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE ||
         kind == SS_LEFTNOWORDWRAP;
}

void Notify(HWND hwnd, WORD code) {
  HWND parent = GetParent(hwnd);
  if (parent && (Style(hwnd) & SS_NOTIFY))
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code),
                reinterpret_cast<LPARAM>(hwnd));
}

SIZE ImageSize(DWORD kind, HANDLE image) {
  if (!image) return SIZE{0, 0};
  if (kind == SS_ICON) return SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  BITMAP info{};
  if (!GetObject(image, sizeof info, &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

/* A picture static takes the size of its picture, unless asked to centre it. */
void FitToImage(HWND hwnd) {
  DWORD kind = Kind(hwnd);
  SIZE size = ImageSize(kind, StateOf(hwnd).image);
  if (size.cx <= 0 || (Style(hwnd) & SS_CENTERIMAGE)) return;
  SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LoadNamedImage(HWND hwnd, const CREATESTRUCT* cs) {
  DWORD kind = static_cast<DWORD>(cs->style) & SS_TYPEMASK;
  if ((kind != SS_ICON && kind != SS_BITMAP) || !cs->lpszName) return;
  if (!IS_INTRESOURCE(cs->lpszName) && !*cs->lpszName) return;
  StaticState& s = StateOf(hwnd);
  if (kind == SS_ICON) s.image = LoadIcon(cs->hInstance, cs->lpszName);
  else s.image = LoadBitmap(cs->hInstance, cs->lpszName);
}

/* Frames surround other controls: only their outline shows and takes clicks. */
void ApplyFrameMask(HWND hwnd) {
  DWORD kind = Kind(hwnd);
  int thickness = kind == SS_ETCHEDFRAME                                                     ? 2
                  : (kind == SS_BLACKFRAME || kind == SS_GRAYFRAME || kind == SS_WHITEFRAME) ? 1
                                                                                             : 0;
  if (thickness) MaskControlToOutline(hwnd, 0, thickness, RECT{0, 0, 0, 0});
}

UINT TextFormat(DWORD style) {
  UINT format = DT_EXPANDTABS;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: format |= DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: break;
    default: format |= DT_LEFT | DT_WORDBREAK; break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  return format;
}

/* A sunken static's edge is drawn on its outermost pixels; its text keeps clear of the edge
** by one pixel more, so a right-aligned figure does not run into it. */
constexpr int kSunkenEdge = 1;
constexpr int kTextClearOfEdge = 1;

void PaintText(HWND hwnd, HDC dc, RECT client, HBRUSH brush) {
  FillRect(dc, &client, brush);
  HGDIOBJ oldFont = SelectControlFont(hwnd, dc);
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  std::string text = ControlText(hwnd);
  RECT area = client;
  if (Style(hwnd) & SS_SUNKEN) InflateRect(&area, -(kSunkenEdge + kTextClearOfEdge), -kSunkenEdge);
  DrawText(dc, text.c_str(), -1, &area, TextFormat(Style(hwnd)));
  SelectObject(dc, oldFont);
}

void PaintImage(HWND hwnd, HDC dc, const RECT& client, HBRUSH brush) {
  FillRect(dc, &client, brush);
  const StaticState& s = StateOf(hwnd);
  DWORD kind = Kind(hwnd);
  SIZE size = ImageSize(kind, s.image);
  if (size.cx <= 0) return;
  int x = 0, y = 0;
  if (Style(hwnd) & SS_CENTERIMAGE) {
    x = (RectWidth(client) - size.cx) / 2;
    y = (RectHeight(client) - size.cy) / 2;
  }
  if (kind == SS_ICON) {
    DrawIcon(dc, x, y, static_cast<HICON>(s.image));
    return;
  }
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, s.image);
  BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void PaintOwnerDrawn(HWND hwnd, HDC dc, const RECT& client) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_STATIC;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED;
  item.hwndItem = hwnd;
  item.hDC = dc;
  item.rcItem = client;
  SendMessage(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void PaintShape(HWND hwnd, HDC dc, const RECT& client, HBRUSH brush) {
  switch (Kind(hwnd)) {
    case SS_BLACKRECT: FillSolid(dc, client, GetSysColor(COLOR_WINDOWFRAME)); break;
    case SS_GRAYRECT: FillSolid(dc, client, GetSysColor(COLOR_BTNSHADOW)); break;
    case SS_WHITERECT: FillSolid(dc, client, GetSysColor(COLOR_BTNHIGHLIGHT)); break;
    case SS_BLACKFRAME: DrawOutline(dc, client, GetSysColor(COLOR_WINDOWFRAME)); break;
    case SS_GRAYFRAME: DrawOutline(dc, client, GetSysColor(COLOR_BTNSHADOW)); break;
    case SS_WHITEFRAME: DrawOutline(dc, client, GetSysColor(COLOR_BTNHIGHLIGHT)); break;
    case SS_ETCHEDFRAME: DrawEtchedFrame(dc, client); break;
    case SS_ETCHEDHORZ:
      FillRect(dc, &client, brush);
      DrawEtchedFrame(dc, RECT{client.left, client.top, client.right, client.top + 2});
      break;
    case SS_ETCHEDVERT:
      FillRect(dc, &client, brush);
      DrawEtchedFrame(dc, RECT{client.left, client.top, client.left + 2, client.bottom});
      break;
    default: FillRect(dc, &client, brush); break;
  }
}

LRESULT OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    DWORD kind = Kind(hwnd);
    if (kind == SS_OWNERDRAW) {
      PaintOwnerDrawn(hwnd, dc, client);
    } else {
      HBRUSH brush = ControlBackgroundBrush(hwnd, dc, WM_CTLCOLORSTATIC);
      if (IsTextKind(kind)) PaintText(hwnd, dc, client, brush);
      else if (kind == SS_ICON || kind == SS_BITMAP) PaintImage(hwnd, dc, client, brush);
      else PaintShape(hwnd, dc, client, brush);
      if (Style(hwnd) & SS_SUNKEN) DrawOutline(dc, client, GetSysColor(COLOR_BTNSHADOW));
    }
  }
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT SetImage(HWND hwnd, HANDLE image) {
  StaticState& s = StateOf(hwnd);
  HANDLE old = s.image;
  s.image = image;
  FitToImage(hwnd);
  InvalidateRect(hwnd, nullptr, FALSE);
  return reinterpret_cast<LRESULT>(old);
}

}  // namespace

LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      if (lParam) LoadNamedImage(hwnd, reinterpret_cast<const CREATESTRUCT*>(lParam));
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CREATE:
      FitToImage(hwnd);
      ApplyFrameMask(hwnd);
      return 0;
    case WM_SIZE: ApplyFrameMask(hwnd); return 0;
    case WM_NCDESTROY: Statics().erase(hwnd); return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_PAINT: return OnPaint(hwnd);
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    case WM_SETFONT:
      StateOf(hwnd).font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(StateOf(hwnd).font);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST:
      if (!(Style(hwnd) & SS_NOTIFY)) return HTTRANSPARENT;
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: Notify(hwnd, STN_CLICKED); return 0;
    case WM_LBUTTONDBLCLK: Notify(hwnd, STN_DBLCLK); return 0;
    case STM_SETICON: return SetImage(hwnd, reinterpret_cast<HANDLE>(wParam));
    case STM_GETICON: return reinterpret_cast<LRESULT>(StateOf(hwnd).image);
    case STM_SETIMAGE: return SetImage(hwnd, reinterpret_cast<HANDLE>(lParam));
    case STM_GETIMAGE: return reinterpret_cast<LRESULT>(StateOf(hwnd).image);
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

void RegisterStaticClass() {
  WNDCLASS control{};
  control.style = CS_DBLCLKS | CS_PARENTDC;
  control.lpfnWndProc = StaticWindowProc;
  control.cbWndExtra = 8;
  control.hCursor = LoadCursor(nullptr, IDC_ARROW);
  control.lpszClassName = "Static";
  RegisterSystemClass(&control);
}
