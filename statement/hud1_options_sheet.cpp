/*
** The statement options sheet: each page shows the running options and, on OK, writes its
** keys in its own order and changes gHud1Options.
*/
#include "statement/hud1_options_sheet.h"

#include "platform/user/button_control.h"
#include "platform/user/combobox_control.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/message_queue.h"
#include "statement/hud1_options.h"
#include "statement/hud1_print_options.h"

namespace {

constexpr int IDC_MAX_WINDOWS = 101;
constexpr int IDC_AUTO_CLOSE = 102;
constexpr int IDC_MAXIMIZE = 103;
constexpr int IDC_GDI_LINES = 106;
constexpr int IDC_RUNTIME_SELECT = 107;

void Check(HWND page, int id, SHORT on) {
  CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
}
SHORT Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0; }

}  // namespace

THUDViewPage::THUDViewPage(TPropertySheet* sheet) : TPropertyPage(sheet, IDD_HUD1_VIEW_PAGE) {}

void THUDViewPage::SetupWindow() {
  TPropertyPage::SetupWindow();
  for (const char* count : {"1", "2", "3"})
    ::SendDlgItemMessage(HWindow, IDC_MAX_WINDOWS, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(count));
  ::SendDlgItemMessage(HWindow, IDC_MAX_WINDOWS, CB_SETCURSEL, gHud1Options.MaxWindows - 1, 0);
  Check(HWindow, IDC_AUTO_CLOSE, gHud1Options.AutoClose);
  Check(HWindow, IDC_MAXIMIZE, gHud1Options.Maximize);
}

int THUDViewPage::Apply(TNotify&) {
  gHud1Options.AutoClose = Checked(HWindow, IDC_AUTO_CLOSE);
  gHud1Options.Maximize = Checked(HWindow, IDC_MAXIMIZE);
  LRESULT selected = ::SendDlgItemMessage(HWindow, IDC_MAX_WINDOWS, CB_GETCURSEL, 0, 0);
  gHud1Options.MaxWindows = static_cast<SHORT>(selected < 0 ? 1 : selected + 1);
  WriteHud1Option("AutoClose", gHud1Options.AutoClose);
  WriteHud1Option("Maximize", gHud1Options.Maximize);
  WriteHud1Option("MaxWindows", gHud1Options.MaxWindows);
  return PSNRET_NOERROR;
}

THUDPrintPage::THUDPrintPage(TPropertySheet* sheet) : TPropertyPage(sheet, IDD_HUD1_PRINT_PAGE) {}

void THUDPrintPage::SetupWindow() {
  TPropertyPage::SetupWindow();
  CheckDlgButton(HWindow, PrivacyButton(gHud1Options.Privacy), BST_CHECKED);
  Check(HWindow, IDC_GDI_LINES, gHud1Options.GDILines);
  Check(HWindow, IDC_RUNTIME_SELECT, gHud1Options.PrintOptions);
  Check(HWindow, IDC_DATE_SIGNATURES, gHud1Options.DateSig);
  Check(HWindow, IDC_SIGNATURES_PAGE3, gHud1Options.SigPage3);
}

int THUDPrintPage::Apply(TNotify&) {
  gHud1Options.Privacy = static_cast<SHORT>(CheckedPrivacy(HWindow));
  gHud1Options.SigPage3 = Checked(HWindow, IDC_SIGNATURES_PAGE3);
  gHud1Options.PrintOptions = Checked(HWindow, IDC_RUNTIME_SELECT);
  gHud1Options.GDILines = Checked(HWindow, IDC_GDI_LINES);
  gHud1Options.DateSig = Checked(HWindow, IDC_DATE_SIGNATURES);
  WriteHud1Option("Privacy", gHud1Options.Privacy);
  WriteHud1Option("DateSig", gHud1Options.DateSig);
  WriteHud1Option("GDILines", gHud1Options.GDILines);
  WriteHud1Option("PrintOptions", gHud1Options.PrintOptions);
  WriteHud1Option("SigPage3", gHud1Options.SigPage3);
  return PSNRET_NOERROR;
}

THUDOptSheet::THUDOptSheet(TWindow* parent)
    : TPropertySheet(parent, "HUD-1 Options", 0, false, PSH_NOAPPLYNOW) {
  new THUDViewPage(this);
  new THUDPrintPage(this);
}
