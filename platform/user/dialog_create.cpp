/*
** Making a dialog from its compiled template: the template's font and the dialog units it
** gives, the dialog window placed and sized in those units, its controls in template order
** (of any registered class, the custom-control libraries' class names read as the standard
** ones), WM_INITDIALOG and the first focus.
*/
#include "platform/user/dialog_state.h"

#include "platform/gdi/gdi.h"
#include "platform/kernel/resource_formats.h"
#include "platform/kernel/resources.h"
#include "platform/user/button_control.h"
#include "platform/user/menu_calls.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/system_info.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <strings.h>

namespace {

using resource_format::DialogControlTemplate;
using resource_format::DialogTemplate;
using resource_format::ResourceKey;

/* The custom-control library's class names, drawn here by the standard classes. */
const char* StandardClassFor(const std::string& name) {
  static const std::pair<const char*, const char*> kAliases[] = {
      {"BorDlg", DIALOG_CLASS_NAME}, {"BorBtn", "button"},    {"BorRadio", "button"},
      {"BorCheck", "button"},        {"BorStatic", "static"}, {"BorShade", "static"},
  };
  for (const auto& alias : kAliases)
    if (strcasecmp(alias.first, name.c_str()) == 0) return alias.second;
  return nullptr;
}

/* A shade box of the custom-control library becomes an etched frame of the static class. */
DWORD StandardStyleFor(const std::string& name, DWORD style) {
  if (strcasecmp(name.c_str(), "BorShade") == 0)
    return (style & 0xFFFF0000u) | 0x12;  // SS_ETCHEDFRAME
  return style;
}

void MeasureBaseUnits(HFONT font, int* x, int* y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRIC metrics{};
  SIZE extent{};
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  bool measured = GetTextMetrics(dc, &metrics) && GetTextExtentPoint32(dc, kAlphabet, 52, &extent);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (!measured || extent.cx <= 0 || metrics.tmHeight <= 0) return;  // keep the system's units
  *x = static_cast<int>((extent.cx / 26 + 1) / 2);
  *y = static_cast<int>(metrics.tmHeight);
}

void ApplyTemplateFont(const DialogTemplate& dialog, DialogState& state) {
  LONG units = GetDialogBaseUnits();
  state.baseX = LOWORD(units);
  state.baseY = HIWORD(units);
  if (dialog.pointSize == 0) return;
  LOGFONT font{};
  font.lfHeight = -((dialog.pointSize * 96 + 36) / 72);
  font.lfWeight = dialog.weight ? dialog.weight : 400;
  font.lfItalic = dialog.italic;
  font.lfCharSet = dialog.charset;
  std::strncpy(font.lfFaceName, dialog.faceName.c_str(), sizeof(font.lfFaceName) - 1);
  state.font = CreateFontIndirectA(&font);
  if (!state.font) return;
  state.ownsFont = true;
  MeasureBaseUnits(state.font, &state.baseX, &state.baseY);
}

RECT ToPixels(const DialogState& state, int x, int y, int cx, int cy) {
  return RECT{x * state.baseX / 4, y * state.baseY / 8, (x + cx) * state.baseX / 4,
              (y + cy) * state.baseY / 8};
}

std::string DialogClassName(const DialogTemplate& dialog) {
  const ResourceKey& key = dialog.windowClass;
  if (key.kind == resource_format::kRefName && !key.name.empty()) {
    const char* standard = StandardClassFor(key.name);
    return standard ? standard : key.name;
  }
  return DIALOG_CLASS_NAME;  // no class, or the dialog class's atom
}

/* Where the dialog's top-left corner goes: in its owner's client coordinates, or the
** screen's with DS_ABSALIGN; a child dialog in its parent's. (DS_CENTER is applied once the
** whole window's size is known.) */
POINT DialogOrigin(const DialogTemplate& dialog, const RECT& pixels, HWND parent) {
  POINT origin{pixels.left, pixels.top};
  if (!(dialog.style & WS_CHILD) && parent && !(dialog.style & DS_ABSALIGN))
    ClientToScreen(parent, &origin);
  return origin;
}

void CentreOnScreen(HWND hwnd) {
  RECT placed;
  GetWindowRect(hwnd, &placed);
  SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - RectWidth(placed)) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - RectHeight(placed)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

/* A top-level dialog shows the menu its template names; it goes with the dialog. */
void AttachTemplateMenu(HWND hwnd, HINSTANCE instance, const DialogTemplate& dialog) {
  const ResourceKey& key = dialog.menu;
  if (key.IsNone() || (dialog.style & WS_CHILD)) return;
  LPCSTR name = key.IsOrdinal() ? MAKEINTRESOURCE(key.id) : key.name.c_str();
  if (HMENU menu = LoadMenu(instance, name)) SetMenu(hwnd, menu);
}

/* The client area gets the template's size: the frame is added once the window exists. */
void FitClientArea(HWND hwnd, int clientWidth, int clientHeight) {
  RECT window, client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  int width = RectWidth(window) + clientWidth - RectWidth(client);
  int height = RectHeight(window) + clientHeight - RectHeight(client);
  SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateDialogWindow(HINSTANCE instance, const DialogTemplate& dialog, HWND parent,
                        DialogState& settings) {
  RECT pixels = ToPixels(settings, dialog.x, dialog.y, dialog.cx, dialog.cy);
  DWORD style = static_cast<DWORD>(dialog.style) & ~WS_VISIBLE;
  DWORD exStyle = dialog.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  std::string className = DialogClassName(dialog);
  POINT origin = DialogOrigin(dialog, pixels, parent);
  HWND hwnd =
      CreateWindowEx(exStyle, className.c_str(), dialog.caption.c_str(), style, origin.x, origin.y,
                     RectWidth(pixels), RectHeight(pixels), parent, nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  AttachTemplateMenu(hwnd, instance, dialog);
  FitClientArea(hwnd, RectWidth(pixels), RectHeight(pixels));
  if ((dialog.style & (DS_CENTER | DS_CENTERMOUSE)) && !(dialog.style & WS_CHILD))
    CentreOnScreen(hwnd);
  return hwnd;
}

bool CreateControl(HWND dialog, HINSTANCE instance, const DialogControlTemplate& control,
                   const DialogState& state) {
  const char* standard = StandardClassFor(control.className);
  std::string className = standard ? standard : control.className;
  DWORD style = StandardStyleFor(control.className, control.style);
  LPCSTR text = "";
  if (control.text.kind == resource_format::kRefName) text = control.text.name.c_str();
  else if (control.text.kind == resource_format::kRefOrdinal)
    text = MAKEINTRESOURCE(control.text.id);
  RECT r = ToPixels(state, control.x, control.y, control.cx, control.cy);
  LPVOID creation =
      control.creationData.empty() ? nullptr : const_cast<BYTE*>(control.creationData.data());
  HWND hwnd = CreateWindowEx(control.exStyle | WS_EX_NOPARENTNOTIFY, className.c_str(), text,
                             style | WS_CHILD, r.left, r.top, RectWidth(r), RectHeight(r), dialog,
                             reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(control.id & 0xFFFF)),
                             instance, creation);
  if (!hwnd) return false;
  if (state.font) SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
  DWORD kind = style & BS_TYPEMASK;
  if (strcasecmp(control.className.c_str(), "BorBtn") == 0 &&
      (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON))
    AttachPictureFaces(hwnd, instance);
  return true;
}

bool CreateControls(HWND dialog, HINSTANCE instance, const DialogTemplate& templ) {
  for (const DialogControlTemplate& control : templ.controls) {
    if (!CreateControl(dialog, instance, control, *FindDialogState(dialog)) &&
        !(templ.style & DS_NOFAILCREATE))
      return false;
    if (!IsWindow(dialog)) return false;
  }
  return true;
}

/* WM_INITDIALOG, then the focus it asks for; false when the dialog destroyed itself. */
bool InitializeDialog(HWND dialog, LPARAM param, bool showNow) {
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  LRESULT wantsFocus = SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!IsWindow(dialog)) return false;
  DialogState* state = FindDialogState(dialog);
  if (wantsFocus && state) {
    HWND target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    state->savedFocus = target;
  }
  if (showNow) {
    ShowWindow(dialog, SW_SHOWNORMAL);
    if (!IsWindow(dialog)) return false;
    state = FindDialogState(dialog);
    HWND focus = GetFocus();
    bool focusInside = focus && (focus == dialog || IsChild(dialog, focus));
    if (state && state->savedFocus && (!focusInside || focus == dialog))
      MoveDialogFocus(dialog, state->savedFocus, true);
    UpdateWindow(dialog);
  }
  return IsWindow(dialog) != FALSE;
}

}  // namespace

bool FindDialogTemplate(HINSTANCE instance, LPCSTR name, const void** data, DWORD* size) {
  if (!name) return false;
  HRSRC found = FindResource(instance, name, RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  *data = loaded ? LockResource(loaded) : nullptr;
  *size = found ? SizeofResource(instance, found) : 0;
  return *data != nullptr && *size > 0;
}

HWND CreateDialogFromTemplate(HINSTANCE instance, const void* data, DWORD size, HWND parent,
                              DLGPROC proc, LPARAM param, bool modal) {
  DialogTemplate templ;
  if (!data || !resource_format::ParseDialogTemplate(data, size, &templ)) return nullptr;
  if (parent == GetDesktopWindow()) parent = nullptr;
  if (parent && !IsWindow(parent)) return nullptr;
  if ((templ.style & WS_CHILD) && !parent) return nullptr;

  DialogState settings;
  ApplyTemplateFont(templ, settings);
  HWND dialog = CreateDialogWindow(instance, templ, parent, settings);
  if (!dialog) {
    if (settings.ownsFont) DeleteObject(settings.font);
    return nullptr;
  }
  DialogState& state = CreateDialogState(dialog);
  state.font = settings.font;
  state.ownsFont = settings.ownsFont;
  state.baseX = settings.baseX;
  state.baseY = settings.baseY;
  state.modal = modal;
  if (modal) DisableOwnerOfModal(dialog);
  SetWindowLong(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  if (state.font) SendMessage(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
  if (!IsWindow(dialog)) return nullptr;
  if (!CreateControls(dialog, instance, templ)) {
    EndDialog(dialog, -1);  // gives the owner back
    DestroyWindow(dialog);
    return nullptr;
  }
  if (DialogState* made = FindDialogState(dialog)) {
    // Enter presses the template's default button even after another one is drawn as default.
    if (HWND button = DefaultButtonOf(dialog)) {
      made->defaultId = GetDlgCtrlID(button);
      made->defaultIdSet = true;
    }
  }
  bool showNow = !modal && (templ.style & WS_VISIBLE);
  if (!InitializeDialog(dialog, param, showNow)) return nullptr;
  return dialog;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  DialogState* state = FindDialogState(dialog);
  if (!state || !rect) return FALSE;
  *rect = RECT{rect->left * state->baseX / 4, rect->top * state->baseY / 8,
               rect->right * state->baseX / 4, rect->bottom * state->baseY / 8};
  return TRUE;
}

HWND CreateDialogIndirectParam(HINSTANCE instance, const void* templateData, DWORD templateSize,
                               HWND parent, DLGPROC proc, LPARAM param) {
  return CreateDialogFromTemplate(instance, templateData, templateSize, parent, proc, param, false);
}

HWND CreateDialogParam(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                       LPARAM param) {
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindDialogTemplate(instance, templateName, &data, &size)) return nullptr;
  return CreateDialogIndirectParam(instance, data, size, parent, proc, param);
}

HWND CreateDialog(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc) {
  return CreateDialogParam(instance, templateName, parent, proc, 0);
}

BOOL EnableCtl3d(BOOL) { return TRUE; }
BOOL EnableBWCC(BOOL) { return TRUE; }
