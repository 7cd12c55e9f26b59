/*
** Property sheets and pages: the sheet window with its tab buttons and OK, Cancel and Apply,
** pages made on first show, and the notifications OK, Apply and Cancel send to created pages.
*/
#include "platform/framework/property_sheet.h"

#include "platform/kernel/resource_formats.h"
#include "platform/kernel/resources.h"
#include "platform/user/button_control.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <algorithm>

namespace {
const int kTabHeight = 24;
const int kButtonHeight = 26;
const int kButtonWidth = 80;
const int kMargin = 6;
}  // namespace

/* ---- page ---- */

TPropertyPage::TPropertyPage(TPropertySheet* parent, TResId resId, const char* title, TResId,
                             TModule* module)
    : TDialog(parent, resId, module), tabTitle_(title ? title : "") {}

TPropertySheet* TPropertyPage::GetSheet() const { return static_cast<TPropertySheet*>(Parent); }

std::string TPropertyPage::GetTabTitle() {
  if (!tabTitle_.empty()) return tabTitle_;
  HRSRC found = FindResource(*GetModule(), GetResId(), RT_DIALOG);
  const void* bytes = found ? LockResource(LoadResource(*GetModule(), found)) : nullptr;
  resource_format::DialogTemplate parsed;
  if (bytes && resource_format::ParseDialogTemplate(bytes, SizeofResource(*GetModule(), found), &parsed))
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
  return index >= 0 && index < static_cast<int>(pages.size()) ? pages[static_cast<size_t>(index)] : nullptr;
}

void TPropertySheet::SetupWindow() {
  TWindow::SetupWindow();
  std::vector<TPropertyPage*> pages = Pages();
  HINSTANCE instance = *GetModule();
  int x = kMargin;
  for (size_t i = 0; i < pages.size(); ++i) {
    std::string label = pages[i]->GetTabTitle();
    int width = std::max(60, static_cast<int>(label.size()) * 7 + 16);
    CreateWindow("button", label.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, kMargin, width,
                 kTabHeight, HWindow, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(IdFirstTab + i)),
                 instance, nullptr);
    x += width;
  }
  tabsWidth_ = x - kMargin;
  auto button = [&](const char* text, int id) {
    CreateWindow("button", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | (id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                 0, 0, kButtonWidth, kButtonHeight, HWindow,
                 reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(id)), instance, nullptr);
  };
  button("OK", IDOK);
  button("Cancel", IDCANCEL);
  if (HasApplyButton()) button("&Apply", IdApply);
  if (!pages.empty()) SelectPage(std::min<int>(static_cast<int>(startPage_), static_cast<int>(pages.size()) - 1));
  LayoutSheet();
}

void TPropertySheet::LayoutSheet() {
  // The sheet is as large as its largest created page, with the tabs above and the buttons below.
  int pageW = std::max(240, tabsWidth_), pageH = 140;
  for (TPropertyPage* page : Pages()) {
    if (!page->HWindow) continue;
    TRect r = page->GetWindowRect();
    pageW = std::max(pageW, r.Width());
    pageH = std::max(pageH, r.Height());
  }
  int top = kMargin + kTabHeight + kMargin;
  for (TPropertyPage* page : Pages())
    if (page->HWindow) page->MoveWindow(kMargin, top, pageW, pageH, true);
  int buttonsY = top + pageH + kMargin;
  int clientW = pageW + 2 * kMargin, clientH = buttonsY + kButtonHeight + kMargin;
  int x = clientW - kMargin;
  for (int id : {HasApplyButton() ? static_cast<int>(IdApply) : 0, static_cast<int>(IDCANCEL), static_cast<int>(IDOK)}) {
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
    case IdApply:
      Apply();
      return 0;
    default:
      return TWindow::EvCommand(id, hWndCtl, notifyCode);
  }
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
    TPropertyPage* page = GetPage(current_);
    return page && page->HWindow && IsDialogMessage(page->HWindow, &msg);
  };
  RunModalLoop(loop, &finished_);
  if (ownerWasEnabled) ::EnableWindow(top, TRUE);
  Destroy();
  current_ = -1;
  return result_;
}
