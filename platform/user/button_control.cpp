/*
** The system "button" class. Mouse and keys reach the window procedure as window messages
** (so subclasses see them first); the class's own handling presses and releases the button,
** changes the check state of the automatic kinds and tells the parent with BN_CLICKED. The
** button is painted through GDI in the colours its parent gives for WM_CTLCOLORBTN (push
** buttons) or WM_CTLCOLORSTATIC (check boxes, radio buttons, group boxes); owner-drawn
** buttons are drawn by the parent through WM_DRAWITEM.
*/
#include "platform/user/button_control.h"

#include "platform/gdi/gdi.h"
#include "platform/kernel/modules.h"

#include "platform/user/dialog_paint.h"
#include "platform/user/dialog_state.h"
#include "platform/user/input.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/system_classes.h"
#include "platform/user/system_info.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_styles.h"

#include <map>

namespace {

constexpr int kCheckSize = 13;

struct ButtonState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  bool captured = false;
  bool spaceDown = false;
  HFONT font = nullptr;
  HANDLE image = nullptr;
  UINT imageType = IMAGE_BITMAP;
  HBITMAP pictures[3] = {};  // a picture button's faces: up, pressed, focused; owned
};

std::map<HWND, ButtonState>& Buttons() {
  static std::map<HWND, ButtonState> buttons;
  return buttons;
}

ButtonState& StateOf(HWND hwnd) { return Buttons()[hwnd]; }

DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }
DWORD Kind(HWND hwnd) { return Style(hwnd) & BS_TYPEMASK; }

bool IsCheckKind(DWORD kind) {
  return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE ||
         kind == BS_AUTO3STATE;
}
bool IsRadioKind(DWORD kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }

void Notify(HWND hwnd, WORD code) {
  HWND parent = GetParent(hwnd);
  if (parent)
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code),
                reinterpret_cast<LPARAM>(hwnd));
}

/* ---- painting ---- */

UINT OwnerDrawState(HWND hwnd, const ButtonState& s) {
  UINT state = 0;
  if (s.pushed) state |= ODS_SELECTED;
  if (s.focused) state |= ODS_FOCUS;
  if (!IsWindowEnabled(hwnd)) state |= ODS_DISABLED;
  return state;
}

void SendDrawItem(HWND hwnd, HDC dc, UINT action) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  item.itemAction = action;
  item.itemState = OwnerDrawState(hwnd, StateOf(hwnd));
  item.hwndItem = hwnd;
  item.hDC = dc;
  GetClientRect(hwnd, &item.rcItem);
  SendMessage(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

/* Owner-drawn buttons are redrawn at once for a change of focus or pressed state. */
void RedrawOwnerDrawn(HWND hwnd, UINT action) {
  HDC dc = GetDC(hwnd);
  SendDrawItem(hwnd, dc, action);
  ReleaseDC(hwnd, dc);
}

void DrawImage(HDC dc, const ButtonState& s, const RECT& area, int offset) {
  if (!s.image) return;
  if (s.imageType == IMAGE_ICON) {
    int size = GetSystemMetrics(SM_CXICON);
    DrawIcon(dc, (area.left + area.right - size) / 2 + offset,
             (area.top + area.bottom - size) / 2 + offset, static_cast<HICON>(s.image));
    return;
  }
  BITMAP info{};
  if (!GetObject(s.image, sizeof info, &info)) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, s.image);
  BitBlt(dc, (area.left + area.right - info.bmWidth) / 2 + offset,
         (area.top + area.bottom - info.bmHeight) / 2 + offset, info.bmWidth, info.bmHeight, memory,
         0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void DrawLabel(HWND hwnd, HDC dc, RECT area, UINT format) {
  DWORD style = Style(hwnd);
  format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  std::string text = ControlText(hwnd);
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawText(dc, text.c_str(), -1, &area, format);
}

/* A picture button's face is its bitmap alone, centred; a missing pressed or focused face
** falls back to the up face. */
void PaintPicture(HWND hwnd, HDC dc, const RECT& client, const ButtonState& s) {
  HBITMAP face = s.pictures[0];
  if (s.pushed && s.pictures[1]) face = s.pictures[1];
  else if (!s.pushed && s.focused && s.pictures[2]) face = s.pictures[2];
  ControlBackgroundBrush(hwnd, dc, WM_CTLCOLORBTN);
  FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
  ButtonState shown;
  shown.image = face;
  shown.imageType = IMAGE_BITMAP;
  DrawImage(dc, shown, client, 0);
}

void PaintPushButton(HWND hwnd, HDC dc, const RECT& client, bool pushed, bool isDefault) {
  const ButtonState& s = StateOf(hwnd);
  if (s.pictures[0]) {
    PaintPicture(hwnd, dc, client, s);
    return;
  }
  ControlBackgroundBrush(hwnd, dc, WM_CTLCOLORBTN);
  FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
  RECT face = client;
  if (isDefault) {
    DrawOutline(dc, face, GetSysColor(COLOR_WINDOWFRAME));
    face = RECT{face.left + 1, face.top + 1, face.right - 1, face.bottom - 1};
  }
  if (pushed) DrawOutline(dc, face, GetSysColor(COLOR_BTNSHADOW));
  else DrawBevel(dc, face, false);
  int offset = pushed ? 1 : 0;
  RECT inner{face.left + 2 + offset, face.top + 2 + offset, face.right - 2 + offset,
             face.bottom - 2 + offset};
  if (Style(hwnd) & (BS_BITMAP | BS_ICON)) DrawImage(dc, s, inner, offset);
  else DrawLabel(hwnd, dc, inner, DT_CENTER | DT_VCENTER);
  if (s.focused) {
    RECT focus{face.left + 3, face.top + 3, face.right - 3, face.bottom - 3};
    DrawFocusRect(dc, &focus);
  }
}

void DrawCheckMark(HDC dc, const RECT& box, COLORREF color) {
  HPEN pen = CreatePen(PS_SOLID, 2, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, box.left + 3, box.top + 6, nullptr);
  LineTo(dc, box.left + 5, box.top + 9);
  LineTo(dc, box.left + 10, box.top + 3);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawCheckBox(HWND hwnd, HDC dc, const RECT& box, const ButtonState& s) {
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  FillSolid(dc, box,
            (s.pushed || !enabled || s.check == BST_INDETERMINATE) ? GetSysColor(COLOR_BTNFACE)
                                                                   : GetSysColor(COLOR_WINDOW));
  DrawBevel(dc, box, true);
  if (s.check == BST_CHECKED)
    DrawCheckMark(dc, box, enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT));
  else if (s.check == BST_INDETERMINATE) DrawCheckMark(dc, box, GetSysColor(COLOR_BTNSHADOW));
}

void DrawRadio(HWND hwnd, HDC dc, const RECT& box, const ButtonState& s) {
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  HPEN rim = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HBRUSH inside = CreateSolidBrush((s.pushed || !enabled) ? GetSysColor(COLOR_BTNFACE)
                                                          : GetSysColor(COLOR_WINDOW));
  HGDIOBJ oldPen = SelectObject(dc, rim);
  HGDIOBJ oldBrush = SelectObject(dc, inside);
  Ellipse(dc, box.left, box.top, box.right, box.bottom);
  if (s.check == BST_CHECKED) {
    HBRUSH dot =
        CreateSolidBrush(enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT));
    SelectObject(dc, dot);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, box.left + 4, box.top + 4, box.right - 3, box.bottom - 3);
    SelectObject(dc, inside);
    DeleteObject(dot);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(rim);
  DeleteObject(inside);
}

void PaintCheckOrRadio(HWND hwnd, HDC dc, const RECT& client, bool radio) {
  const ButtonState& s = StateOf(hwnd);
  FillRect(dc, &client, ControlBackgroundBrush(hwnd, dc, WM_CTLCOLORSTATIC));
  bool boxRight = (Style(hwnd) & BS_LEFTTEXT) != 0;
  int top = (client.top + client.bottom - kCheckSize) / 2;
  RECT box = boxRight ? RECT{client.right - kCheckSize, top, client.right, top + kCheckSize}
                      : RECT{client.left, top, client.left + kCheckSize, top + kCheckSize};
  if (radio) DrawRadio(hwnd, dc, box, s);
  else DrawCheckBox(hwnd, dc, box, s);
  RECT label = boxRight ? RECT{client.left, client.top, box.left - 4, client.bottom}
                        : RECT{box.right + 4, client.top, client.right, client.bottom};
  DrawLabel(hwnd, dc, label, DT_LEFT | DT_VCENTER);
  if (s.focused && GetWindowTextLength(hwnd) > 0) {
    RECT measured = label;
    std::string text = ControlText(hwnd);
    DrawText(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
    int height = RectHeight(measured);
    RECT focus{label.left - 1, (label.top + label.bottom - height) / 2 - 1,
               std::min<LONG>(measured.right + 1, label.right),
               (label.top + label.bottom + height) / 2 + 1};
    DrawFocusRect(dc, &focus);
  }
}

/* The frame starts half the text's height down; the caption interrupts it at the left. */
RECT GroupCaptionRect(HWND hwnd, HDC dc) {
  std::string text = ControlText(hwnd);
  SIZE extent{0, 0};
  GetTextExtentPoint32(dc, text.empty() ? " " : text.c_str(),
                       text.empty() ? 1 : static_cast<int>(text.size()), &extent);
  if (text.empty()) extent.cx = 0;
  return RECT{8, 0, 8 + extent.cx + (extent.cx ? 4 : 0), extent.cy};
}

void PaintGroupBox(HWND hwnd, HDC dc, const RECT& client) {
  HBRUSH brush = ControlBackgroundBrush(hwnd, dc, WM_CTLCOLORSTATIC);
  RECT caption = GroupCaptionRect(hwnd, dc);
  FillRect(dc, &client, brush);
  RECT frame{client.left, client.top + RectHeight(caption) / 2, client.right, client.bottom};
  DrawEtchedFrame(dc, frame);
  if (RectWidth(caption) > 0) {
    FillRect(dc, &caption, brush);
    RECT text{caption.left + 2, caption.top, caption.right, caption.bottom};
    DrawLabel(hwnd, dc, text, DT_LEFT | DT_TOP);
  }
}

/* A group box surrounds other controls: it shows (and takes clicks) only on its outline. */
void ApplyGroupMask(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectControlFont(hwnd, dc);
  RECT caption = GroupCaptionRect(hwnd, dc);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  MaskControlToOutline(hwnd, RectHeight(caption) / 2, 2, caption);
}

void Paint(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  HGDIOBJ oldFont = SelectControlFont(hwnd, dc);
  const ButtonState& s = StateOf(hwnd);
  DWORD style = Style(hwnd), kind = style & BS_TYPEMASK;
  if (kind == BS_OWNERDRAW) SendDrawItem(hwnd, dc, ODA_DRAWENTIRE);
  else if (kind == BS_GROUPBOX) PaintGroupBox(hwnd, dc, client);
  else if ((style & BS_PUSHLIKE) && (IsCheckKind(kind) || IsRadioKind(kind)))
    PaintPushButton(hwnd, dc, client, s.pushed || s.check != BST_UNCHECKED, false);
  else if (IsCheckKind(kind)) PaintCheckOrRadio(hwnd, dc, client, false);
  else if (IsRadioKind(kind)) PaintCheckOrRadio(hwnd, dc, client, true);
  else PaintPushButton(hwnd, dc, client, s.pushed, kind == BS_DEFPUSHBUTTON);
  SelectObject(dc, oldFont);
}

/* ---- behaviour ---- */

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

void SetPushed(HWND hwnd, bool pushed) {
  ButtonState& s = StateOf(hwnd);
  if (s.pushed == pushed) return;
  s.pushed = pushed;
  if (Kind(hwnd) == BS_OWNERDRAW) RedrawOwnerDrawn(hwnd, ODA_SELECT);
  else Redraw(hwnd);
  if (Style(hwnd) & BS_NOTIFY) Notify(hwnd, pushed ? BN_HILITE : BN_UNHILITE);
}

LRESULT SetCheck(HWND hwnd, WPARAM check) {
  DWORD kind = Kind(hwnd);
  if (!IsCheckKind(kind) && !IsRadioKind(kind)) return 0;
  UINT value = static_cast<UINT>(check);
  if (value == BST_INDETERMINATE && kind != BS_3STATE && kind != BS_AUTO3STATE) value = BST_CHECKED;
  ButtonState& s = StateOf(hwnd);
  if (s.check != value) {
    s.check = value;
    Redraw(hwnd);
  }
  if (IsRadioKind(kind)) {
    // Tab reaches a radio group at its checked button.
    DWORD style = Style(hwnd);
    DWORD wanted = value == BST_CHECKED ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    if (wanted != style) SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG_PTR>(wanted));
  }
  return 0;
}

/* An automatic radio button unchecks the other automatic ones of its group. */
void CheckInGroup(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  SendMessage(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  if (!parent) return;
  HWND start = hwnd;
  for (HWND other = GetNextDlgGroupItem(parent, hwnd, FALSE); other && other != start;
       other = GetNextDlgGroupItem(parent, other, FALSE)) {
    bool autoRadio = (SendMessage(other, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) &&
                     (GetWindowLong(other, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    if (autoRadio) SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

void Clicked(HWND hwnd) {
  switch (Kind(hwnd)) {
    case BS_AUTOCHECKBOX:
      SendMessage(hwnd, BM_SETCHECK,
                  StateOf(hwnd).check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case BS_AUTO3STATE: SendMessage(hwnd, BM_SETCHECK, (StateOf(hwnd).check + 1) % 3, 0); break;
    case BS_AUTORADIOBUTTON: CheckInGroup(hwnd); break;
    default: break;
  }
  if (IsWindow(hwnd)) Notify(hwnd, BN_CLICKED);
}

bool PointInClient(HWND hwnd, LPARAM lParam) {
  RECT client;
  GetClientRect(hwnd, &client);
  int x = static_cast<SHORT>(LOWORD(lParam)), y = static_cast<SHORT>(HIWORD(lParam));
  return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

LRESULT OnButtonDown(HWND hwnd) {
  if (GetFocus() != hwnd) SetFocus(hwnd);
  if (!IsWindow(hwnd)) return 0;
  SetCapture(hwnd);
  StateOf(hwnd).captured = true;
  SetPushed(hwnd, true);
  return 0;
}

/* Radio and owner-drawn buttons (and any with BS_NOTIFY) report a double click; the others
** take it as another press. */
LRESULT OnDoubleClick(HWND hwnd) {
  DWORD kind = Kind(hwnd);
  if (kind == BS_GROUPBOX) return 0;
  if (IsRadioKind(kind) || kind == BS_OWNERDRAW || (Style(hwnd) & BS_NOTIFY)) {
    Notify(hwnd, BN_DOUBLECLICKED);
    return 0;
  }
  return OnButtonDown(hwnd);
}

LRESULT OnButtonUp(HWND hwnd, LPARAM lParam) {
  ButtonState& s = StateOf(hwnd);
  if (!s.captured) return 0;
  bool inside = PointInClient(hwnd, lParam);
  s.captured = false;
  ReleaseCapture();
  SetPushed(hwnd, false);
  if (inside) Clicked(hwnd);
  return 0;
}

LRESULT OnFocus(HWND hwnd, bool gained) {
  ButtonState& s = StateOf(hwnd);
  s.focused = gained;
  if (!gained && s.spaceDown) {
    s.spaceDown = false;
    SetPushed(hwnd, false);
  }
  if (Kind(hwnd) == BS_OWNERDRAW) RedrawOwnerDrawn(hwnd, ODA_FOCUS);
  else Redraw(hwnd);
  HWND parent = GetParent(hwnd);
  if (gained && parent && FindDialogState(parent)) UpdateDialogDefaultButton(parent, hwnd);
  if (Style(hwnd) & BS_NOTIFY) Notify(hwnd, gained ? BN_SETFOCUS : BN_KILLFOCUS);
  return 0;
}

LRESULT DialogCode(HWND hwnd) {
  DWORD kind = Kind(hwnd);
  if (kind == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
  if (kind == BS_PUSHBUTTON || kind == BS_USERBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
  if (IsRadioKind(kind)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
  if (kind == BS_GROUPBOX) return DLGC_STATIC;
  return DLGC_BUTTON;
}

LRESULT SetStyle(HWND hwnd, WPARAM style, LPARAM redraw) {
  DWORD old = Style(hwnd);
  DWORD changed = (old & ~BS_TYPEMASK) | (static_cast<DWORD>(style) & BS_TYPEMASK);
  if (changed != old) SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
  if (redraw) Redraw(hwnd);
  return 0;
}

LRESULT SetImage(HWND hwnd, WPARAM type, LPARAM image) {
  ButtonState& s = StateOf(hwnd);
  HANDLE old = s.image;
  s.image = reinterpret_cast<HANDLE>(image);
  s.imageType = static_cast<UINT>(type);
  Redraw(hwnd);
  return reinterpret_cast<LRESULT>(old);
}

LRESULT ClickFromMessage(HWND hwnd) {
  if (!IsWindowEnabled(hwnd)) return 0;
  SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  if (IsWindow(hwnd)) SendMessage(hwnd, WM_LBUTTONUP, 0, 0);
  return 0;
}

LRESULT OnKey(HWND hwnd, UINT message, WPARAM key) {
  ButtonState& s = StateOf(hwnd);
  if (key != VK_SPACE || Kind(hwnd) == BS_GROUPBOX) return 0;
  if (message == WM_KEYDOWN && !s.spaceDown) {
    s.spaceDown = true;
    SetPushed(hwnd, true);
  } else if (message == WM_KEYUP && s.spaceDown) {
    s.spaceDown = false;
    SetPushed(hwnd, false);
    Clicked(hwnd);
  }
  return 0;
}

LRESULT OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (dc) Paint(hwnd, dc);
  EndPaint(hwnd, &ps);
  return 0;
}

}  // namespace

LRESULT CALLBACK ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: StateOf(hwnd); return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CREATE:
    case WM_SIZE:
      if (Kind(hwnd) == BS_GROUPBOX) ApplyGroupMask(hwnd);
      return 0;
    case WM_NCDESTROY:
      for (HBITMAP picture : StateOf(hwnd).pictures)
        if (picture) DeleteObject(picture);
      Buttons().erase(hwnd);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_PAINT: return OnPaint(hwnd);
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
      if (Kind(hwnd) == BS_GROUPBOX) ApplyGroupMask(hwnd);
      Redraw(hwnd);
      return result;
    }
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_SETFONT:
      StateOf(hwnd).font = reinterpret_cast<HFONT>(wParam);
      if (Kind(hwnd) == BS_GROUPBOX) ApplyGroupMask(hwnd);
      if (LOWORD(lParam)) Redraw(hwnd);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(StateOf(hwnd).font);
    case WM_GETDLGCODE: return DialogCode(hwnd);
    case WM_NCHITTEST:
      if (Kind(hwnd) == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN:
      if (Kind(hwnd) == BS_GROUPBOX) return 0;
      return OnButtonDown(hwnd);
    case WM_LBUTTONDBLCLK: return OnDoubleClick(hwnd);
    case WM_MOUSEMOVE:
      if (StateOf(hwnd).captured) SetPushed(hwnd, PointInClient(hwnd, lParam));
      return 0;
    case WM_LBUTTONUP: return OnButtonUp(hwnd, lParam);
    case WM_CAPTURECHANGED:
      if (StateOf(hwnd).captured) {
        StateOf(hwnd).captured = false;
        SetPushed(hwnd, false);
      }
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: return OnKey(hwnd, message, wParam);
    case WM_CHAR: return 0;
    case WM_SETFOCUS: return OnFocus(hwnd, true);
    case WM_KILLFOCUS: return OnFocus(hwnd, false);
    case BM_GETCHECK: return StateOf(hwnd).check;
    case BM_SETCHECK: return SetCheck(hwnd, wParam);
    case BM_GETSTATE: {
      const ButtonState& s = StateOf(hwnd);
      return s.check | (s.pushed ? BST_PUSHED : 0) | (s.focused ? BST_FOCUS : 0);
    }
    case BM_SETSTATE: SetPushed(hwnd, wParam != 0); return 0;
    case BM_SETSTYLE: return SetStyle(hwnd, wParam, lParam);
    case BM_CLICK: return ClickFromMessage(hwnd);
    case BM_GETIMAGE:
      return StateOf(hwnd).imageType == wParam ? reinterpret_cast<LRESULT>(StateOf(hwnd).image) : 0;
    case BM_SETIMAGE: return SetImage(hwnd, wParam, lParam);
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

bool AttachPictureFaces(HWND button, HINSTANCE instance) {
  // A null instance is the program's own module here, not the system bitmaps LoadBitmap means.
  if (!instance) instance = GetModuleHandle(nullptr);
  int id = GetDlgCtrlID(button);
  HBITMAP up = LoadBitmap(instance, MAKEINTRESOURCE(id + 1000));
  if (!up) return false;
  ButtonState& s = StateOf(button);
  s.pictures[0] = up;
  s.pictures[1] = LoadBitmap(instance, MAKEINTRESOURCE(id + 3000));
  s.pictures[2] = LoadBitmap(instance, MAKEINTRESOURCE(id + 5000));
  Redraw(button);
  return true;
}

void RegisterButtonClass() {
  WNDCLASS button{};
  button.style = CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
  button.lpfnWndProc = ButtonWindowProc;
  button.cbWndExtra = 8;
  button.hCursor = LoadCursor(nullptr, IDC_ARROW);
  button.lpszClassName = "Button";
  RegisterSystemClass(&button);
}
