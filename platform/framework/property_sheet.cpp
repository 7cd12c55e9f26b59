/*
** Property sheets and pages: the sheet window with its row of tabs and OK, Cancel and Apply,
** pages made on first show, and the notifications OK, Apply and Cancel send to created pages.
** The tabs are drawn as the desktop draws tabs: the chosen one raised and joined to the page's
** frame, the others a step lower, in the pages' own font. Escape cancels the sheet, Enter is
** OK, Ctrl+Tab and Ctrl+Page Down go to the next tab, with Shift or Page Up the previous one.
*/
#include "platform/framework/property_sheet.h"

#include "platform/gdi/gdi.h"
#include "platform/kernel/resource_formats.h"
#include "platform/kernel/resources.h"
#include "platform/user/button_control.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/input.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/system_info.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {
const int kButtonHeight = 26;
const int kButtonWidth = 80;
const int kMargin = 6;
const int kTabRise = 2;     // how far the chosen tab stands above the others
const int kTabPadding = 8;  // room beside a tab's text
const char kTabClass[] = "ZarneSheetTab";

/* The font a tab draws with, and whether it is the chosen one (the window's user word). */
std::map<HWND, HFONT>& TabFonts() {
  static std::map<HWND, HFONT> fonts;
  return fonts;
}

bool IsChosenTab(HWND tab) { return GetWindowLongPtr(tab, GWLP_USERDATA) != 0; }

void Line(HDC dc, COLORREF colour, int x1, int y1, int x2, int y2) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

/* A tab: light top and left edge with a rounded corner, shadowed right edge; an unchosen tab
   stands lower and keeps the frame's light line along its foot, the chosen one opens onto the
   page. */
void PaintTab(HWND tab, HDC dc) {
  RECT r;
  GetClientRect(tab, &r);
  bool chosen = IsChosenTab(tab);
  HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  FillRect(dc, &r, face);
  DeleteObject(face);
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW),
           dark = GetSysColor(COLOR_3DDKSHADOW);
  int top = chosen ? 0 : kTabRise, bottom = r.bottom - 1;
  Line(dc, light, 0, bottom + (chosen ? 1 : 0), 0, top + 2);
  Line(dc, light, 0, top + 2, 2, top);
  Line(dc, light, 2, top, r.right - 2, top);
  Line(dc, shadow, r.right - 2, top + 1, r.right - 2, bottom + (chosen ? 1 : 0));
  Line(dc, dark, r.right - 2, top + 1, r.right - 1, top + 2);
  Line(dc, dark, r.right - 1, top + 2, r.right - 1, bottom + (chosen ? 1 : 0));
  if (!chosen) Line(dc, light, 0, bottom, r.right, bottom);

  char text[128] = "";
  GetWindowText(tab, text, sizeof text);
  auto font = TabFonts().find(tab);
  HGDIOBJ oldFont =
      font != TabFonts().end() && font->second ? SelectObject(dc, font->second) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT label{0, top, r.right, bottom};
  DrawText(dc, text, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (oldFont) SelectObject(dc, oldFont);
}

/* A tab tells its sheet it was clicked as a button would; the sheet chooses. */
LRESULT CALLBACK TabProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(tab, &ps);
      PaintTab(tab, dc);
      EndPaint(tab, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case BM_CLICK:
      SendMessage(GetParent(tab), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(tab), BN_CLICKED),
                  reinterpret_cast<LPARAM>(tab));
      return 0;
    case WM_SETFONT:
      TabFonts()[tab] = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(tab, nullptr, TRUE);
      return 0;
    case WM_GETFONT: {
      auto font = TabFonts().find(tab);
      return reinterpret_cast<LRESULT>(font == TabFonts().end() ? nullptr : font->second);
    }
    case WM_NCDESTROY: TabFonts().erase(tab); break;
    default: break;
  }
  return DefWindowProc(tab, message, wParam, lParam);
}

void RegisterTabClass(HINSTANCE instance) {
  WNDCLASS existing{};
  if (GetClassInfo(instance, kTabClass, &existing)) return;
  WNDCLASS tab{};
  tab.lpfnWndProc = TabProc;
  tab.hInstance = instance;
  tab.hCursor = LoadCursor(nullptr, IDC_ARROW);
  tab.lpszClassName = kTabClass;
  RegisterClass(&tab);
}

/* Keys that go to the control with the focus rather than to the sheet: a multi-line edit's
   Enter, an open list's Escape. */
bool ControlWantsKey(MSG& msg) {
  LRESULT code = SendMessage(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

}  // namespace

/* ---- page ---- */

TPropertyPage::TPropertyPage(TPropertySheet* parent, TResId resId, const char* title, TResId,
                             TModule* module)
    : TDialog(parent, resId, module), tabTitle_(title ? title : "") {}

std::string TPropertyPage::GetTabTitle() {
  if (!tabTitle_.empty()) return tabTitle_;
  HRSRC found = FindResource(*GetModule(), GetResId(), RT_DIALOG);
  const void* bytes = found ? LockResource(LoadResource(*GetModule(), found)) : nullptr;
  resource_format::DialogTemplate parsed;
  if (bytes &&
      resource_format::ParseDialogTemplate(bytes, SizeofResource(*GetModule(), found), &parsed))
    tabTitle_ = parsed.caption;
  return tabTitle_;
}

bool TPropertyPage::Create() {
  if (!TDialog::Create()) return false;
  // Whatever its template says, a page is a borderless child of its sheet.
  LONG_PTR style = GetWindowLong(HWindow, GWL_STYLE);
  style = (style & ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU)) | WS_CHILD;
  SetWindowLong(HWindow, GWL_STYLE, style);
  if (Parent && Parent->HWindow && ::GetParent(HWindow) != Parent->HWindow)
    ::SetParent(HWindow, Parent->HWindow);
  return true;
}

int TPropertyPage::SetActive(TNotify&) { return 0; }

bool TPropertyPage::KillActive(TNotify&) { return CanClose(); }

int TPropertyPage::Apply(TNotify&) {
  if (!CanClose()) return PSNRET_INVALID_NOCHANGEPAGE;
  TransferData(tdGetData);
  return PSNRET_NOERROR;
}

void TPropertyPage::Reset(TNotify&) {}

/* ---- sheet ---- */

TPropertySheet::TPropertySheet(TWindow* parent, const char* title, UINT startPage, bool,
                               DWORD flags, TModule* module)
    : TWindow(parent, title, module), flags_(flags), startPage_(startPage) {
  Attr.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  Attr.X = Attr.Y = 40;
  Attr.W = 360;
  Attr.H = 280;
  DisableAutoCreate();
}

std::vector<TPropertyPage*> TPropertySheet::Pages() const {
  std::vector<TPropertyPage*> pages;
  for (TWindow* child : Children())
    if (auto* page = dynamic_cast<TPropertyPage*>(child)) pages.push_back(page);
  return pages;
}

TPropertyPage* TPropertySheet::GetPage(int index) const {
  std::vector<TPropertyPage*> pages = Pages();
  return index >= 0 && index < static_cast<int>(pages.size()) ? pages[static_cast<size_t>(index)]
                                                              : nullptr;
}

void TPropertySheet::SetupWindow() {
  TWindow::SetupWindow();
  std::vector<TPropertyPage*> pages = Pages();
  HINSTANCE instance = *GetModule();
  RegisterTabClass(instance);
  for (size_t i = 0; i < pages.size(); ++i) {
    CreateWindow(kTabClass, pages[i]->GetTabTitle().c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                 HWindow, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(IdFirstTab + i)), instance,
                 nullptr);
  }
  auto button = [&](const char* text, int id) {
    CreateWindow(
        "button", text,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | (id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, 0,
        kButtonWidth, kButtonHeight, HWindow, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(id)),
        instance, nullptr);
  };
  button("OK", IDOK);
  button("Cancel", IDCANCEL);
  if (HasApplyButton()) button("&Apply", IdApply);
  if (!pages.empty())
    SelectPage(std::min<int>(static_cast<int>(startPage_), static_cast<int>(pages.size()) - 1));
  LayoutSheet();
}

/* Tabs as wide as their titles in the pages' font; the chosen one a little wider each side and
   down over the frame's top line, above its neighbours. */
void TPropertySheet::LayoutTabs() {
  HFONT font = nullptr;
  for (TPropertyPage* page : Pages())
    if (page->HWindow && (font = reinterpret_cast<HFONT>(page->SendMessage(WM_GETFONT))) != nullptr)
      break;
  HDC dc = ::GetDC(HWindow);
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  int x = kMargin;
  for (int i = 0; i < GetPageCount(); ++i) {
    HWND tab = GetDlgItem(IdFirstTab + i);
    if (!tab) continue;
    char title[128] = "";
    ::GetWindowText(tab, title, sizeof title);
    SIZE size{};
    GetTextExtentPoint32(dc, title[0] ? title : "M",
                         title[0] ? static_cast<int>(std::strlen(title)) : 1, &size);
    int width = size.cx + 2 * kTabPadding;
    tabHeight_ = size.cy + 6 + kTabRise;
    bool chosen = i == current_;
    ::SetWindowLongPtr(tab, GWLP_USERDATA, chosen ? 1 : 0);
    ::SendMessage(tab, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (chosen)
      ::SetWindowPos(tab, HWND_TOP, x - 2, kMargin, width + 4, tabHeight_ + 1, SWP_NOACTIVATE);
    else ::SetWindowPos(tab, nullptr, x, kMargin, width, tabHeight_, SWP_NOACTIVATE | SWP_NOZORDER);
    ::InvalidateRect(tab, nullptr, TRUE);
    x += width;
  }
  if (oldFont) SelectObject(dc, oldFont);
  ::ReleaseDC(HWindow, dc);
  tabsWidth_ = x - kMargin;
  // The sheet's buttons speak in the pages' font too.
  for (int id : {static_cast<int>(IDOK), static_cast<int>(IDCANCEL), static_cast<int>(IdApply)})
    if (HWND button = GetDlgItem(id); button && font)
      ::SendMessage(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

/* The face colour of dialogs, on which the tabs and the frame's edges show. */
void TPropertySheet::GetWindowClass(WNDCLASS& wndClass) {
  TWindow::GetWindowClass(wndClass);
  wndClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
}

/* The raised frame the pages stand in; its top line runs under the tabs. */
void TPropertySheet::Paint(TDC& dc, bool, TRect&) {
  TPropertyPage* page = GetPage(current_);
  if (!page || !page->HWindow) return;
  TRect r = page->GetWindowRect();
  int top = kMargin + tabHeight_ - 1, left = kMargin;
  int right = left + r.Width() + 3, bottom = top + r.Height() + 3;
  Line(dc, GetSysColor(COLOR_BTNHIGHLIGHT), left, bottom, left, top);
  Line(dc, GetSysColor(COLOR_BTNHIGHLIGHT), left, top, right, top);
  Line(dc, GetSysColor(COLOR_BTNSHADOW), right - 1, top + 1, right - 1, bottom - 1);
  Line(dc, GetSysColor(COLOR_BTNSHADOW), left + 1, bottom - 1, right, bottom - 1);
  Line(dc, GetSysColor(COLOR_3DDKSHADOW), right, top, right, bottom);
  Line(dc, GetSysColor(COLOR_3DDKSHADOW), left, bottom, right + 1, bottom);
}

void TPropertySheet::LayoutSheet() {
  LayoutTabs();
  // The sheet is as large as its largest created page, with the tabs above and the buttons below.
  int pageW = std::max(240, tabsWidth_), pageH = 140;
  for (TPropertyPage* page : Pages()) {
    if (!page->HWindow) continue;
    TRect r = page->GetWindowRect();
    pageW = std::max(pageW, r.Width());
    pageH = std::max(pageH, r.Height());
  }
  int top = kMargin + tabHeight_ + 1;
  for (TPropertyPage* page : Pages())
    if (page->HWindow) page->MoveWindow(kMargin + 2, top, pageW, pageH, true);
  int buttonsY = top + pageH + 2 + kMargin;
  int clientW = pageW + 4 + 2 * kMargin, clientH = buttonsY + kButtonHeight + kMargin;
  int x = clientW - kMargin;
  for (int id : {HasApplyButton() ? static_cast<int>(IdApply) : 0, static_cast<int>(IDCANCEL),
                 static_cast<int>(IDOK)}) {
    if (!id) continue;
    x -= kButtonWidth;
    if (HWND b = GetDlgItem(id)) ::MoveWindow(b, x, buttonsY, kButtonWidth, kButtonHeight, TRUE);
    x -= kMargin;
  }
  TRect window = GetWindowRect(), client = GetClientRect();
  int extraW = window.Width() - client.Width(), extraH = window.Height() - client.Height();
  if (client.Width() != clientW || client.Height() != clientH)
    SetWindowPos(nullptr, 0, 0, clientW + extraW, clientH + extraH, SWP_NOMOVE | SWP_NOZORDER);
}

bool TPropertySheet::SelectPage(int index) {
  TPropertyPage* next = GetPage(index);
  if (!next) return false;
  if (index == current_) return true;
  TPropertyPage* previous = GetPage(current_);
  if (previous && previous->HWindow) {
    TNotify notify{previous->HWindow, 0, PSN_KILLACTIVE};
    if (!previous->KillActive(notify)) return false;
  }
  if (!next->HWindow) {
    if (!next->Create()) return false;
    LayoutSheet();
  }
  current_ = index;
  TNotify notify{next->HWindow, 0, PSN_SETACTIVE};
  next->SetActive(notify);
  if (previous && previous->HWindow) previous->Show(SW_HIDE);
  next->Show(SW_SHOW);
  LayoutTabs();
  return true;
}

bool TPropertySheet::Apply() {
  TPropertyPage* current = GetPage(current_);
  if (current && current->HWindow) {
    TNotify notify{current->HWindow, 0, PSN_KILLACTIVE};
    if (!current->KillActive(notify)) return false;
  }
  std::vector<TPropertyPage*> pages = Pages();
  for (size_t i = 0; i < pages.size(); ++i) {
    TPropertyPage* page = pages[i];
    if (!page->HWindow) continue;  // never shown: nothing of it to apply
    TNotify notify{page->HWindow, 0, PSN_APPLY};
    if (page->Apply(notify) != PSNRET_NOERROR) {
      SelectPage(static_cast<int>(i));
      return false;
    }
  }
  return true;
}

/* Hidden at once, as an ended dialog is, while its loop winds down. */
void TPropertySheet::End(int result) {
  result_ = result;
  finished_ = true;
  if (HWindow) Show(SW_HIDE);
}

LRESULT TPropertySheet::EvCommand(UINT id, HWND hWndCtl, UINT notifyCode) {
  if (id >= IdFirstTab && id < IdFirstTab + static_cast<UINT>(GetPageCount())) {
    SelectPage(static_cast<int>(id - IdFirstTab));
    return 0;
  }
  switch (id) {
    case IDOK:
      if (Apply()) End(IDOK);
      return 0;
    case IDCANCEL:
      for (TPropertyPage* page : Pages()) {
        if (!page->HWindow) continue;
        TNotify notify{page->HWindow, 0, PSN_RESET};
        page->Reset(notify);
      }
      End(IDCANCEL);
      return 0;
    case IdApply: Apply(); return 0;
    default: return TWindow::EvCommand(id, hWndCtl, notifyCode);
  }
}

bool TPropertySheet::SheetKey(MSG& msg) {
  if (msg.message != WM_KEYDOWN || !HWindow ||
      (msg.hwnd != HWindow && !::IsChild(HWindow, msg.hwnd)))
    return false;
  bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  int key = static_cast<int>(msg.wParam);
  if ((key == VK_TAB && ctrl) || ((key == VK_NEXT || key == VK_PRIOR) && ctrl)) {
    int count = GetPageCount();
    if (count == 0) return true;
    bool back = key == VK_PRIOR || (key == VK_TAB && shift);
    SelectPage((current_ + (back ? count - 1 : 1)) % count);
    return true;
  }
  if ((key == VK_ESCAPE || key == VK_RETURN) && !ControlWantsKey(msg)) {
    SendMessage(WM_COMMAND, key == VK_ESCAPE ? IDCANCEL : IDOK);
    return true;
  }
  return false;
}

void TPropertySheet::EvClose() { SendMessage(WM_COMMAND, IDCANCEL); }

int TPropertySheet::Execute() {
  if (HWindow) return IDCANCEL;
  finished_ = false;
  result_ = IDCANCEL;
  current_ = -1;
  if (!Create()) return IDCANCEL;
  HWND owner = Parent ? Parent->HWindow : nullptr;
  // The owner's top-level window is disabled while the sheet runs, as for a modal dialog.
  HWND top = owner;
  while (top && ::GetParent(top)) top = ::GetParent(top);
  bool ownerWasEnabled = top && IsWindowEnabled() && ::IsWindowEnabled(top);
  if (ownerWasEnabled) ::EnableWindow(top, FALSE);
  Show(SW_SHOW);
  ModalLoop loop;
  loop.idleOwner = top;
  loop.idleSource = HWindow;
  // The test harness's dialog driver sees the sheet as it sees a modal dialog.
  NotifyModalDialogObserver(HWindow, 0);
  loop.preTranslate = [this](MSG& msg) {
    if (SheetKey(msg)) return true;
    TPropertyPage* page = GetPage(current_);
    return page && page->HWindow && IsDialogMessage(page->HWindow, &msg);
  };
  RunModalLoop(loop, &finished_);
  if (ownerWasEnabled) ::EnableWindow(top, TRUE);
  Destroy();
  current_ = -1;
  return result_;
}
