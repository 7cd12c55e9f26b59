/*
** TDialog over the dialog manager: modal and modeless creation, binding at WM_INITDIALOG,
** OK with validation and transfer, Cancel.
*/
#include "platform/framework/dialog.h"

#include "platform/user/message_box.h"
#include "platform/user/window_manager.h"

#include <cstdio>

TDialog::TDialog(TWindow* parent, TResId resId, TModule* module)
    : TWindow(parent, nullptr, module), resId_(resId) {
  // A dialog is made by whoever runs it, never along with its parent.
  DisableAutoCreate();
  Attr.Style = 0;
}

TDialog::~TDialog() = default;

INT_PTR CALLBACK FrameworkDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_INITDIALOG) return FALSE;
  auto* dialog = reinterpret_cast<TDialog*>(lParam);
  if (!dialog) return FALSE;
  dialog->AttachHandle(hwnd);
  return dialog->EvInitDialog(reinterpret_cast<HWND>(wParam)) ? TRUE : FALSE;
}

bool TDialog::EvInitDialog(HWND) {
  PerformSetupAndTransfer();
  return true;
}

void TDialog::ReportMissingTemplate() {
  char text[200];
  if (resId_.IsNumber())
    std::snprintf(text, sizeof text,
                  "The dialog %d could not be made: its template is missing or damaged.",
                  resId_.Number());
  else
    std::snprintf(text, sizeof text,
                  "The dialog \"%s\" could not be made: its template is missing or damaged.",
                  resId_.IsNull() ? "" : static_cast<LPCSTR>(resId_));
  ReportFrameworkError(Parent ? Parent->HWindow : nullptr, "Dialog Error", text);
}

int TDialog::Execute() {
  if (HWindow) return -1;
  SetFlag(wfModalWindow);
  INT_PTR result = DialogBoxParam(*GetModule(), resId_, Parent ? Parent->HWindow : nullptr,
                                  FrameworkDialogProc, reinterpret_cast<LPARAM>(this));
  ClearFlag(wfModalWindow);
  if (result == -1) ReportMissingTemplate();
  return static_cast<int>(result);
}

bool TDialog::Create() {
  if (HWindow) return true;
  HWND hwnd = CreateDialogParam(*GetModule(), resId_, Parent ? Parent->HWindow : nullptr,
                                FrameworkDialogProc, reinterpret_cast<LPARAM>(this));
  if (!hwnd) {
    ReportMissingTemplate();
    return false;
  }
  return true;
}

void TDialog::SetupWindow() {
  TWindow::SetupWindow();
  if (Title) SetCaption(Title);
}

bool TDialog::PreProcessMsg(MSG& msg) {
  if (!HWindow || IsFlagSet(wfModalWindow)) return false;
  return IsDialogMessage(HWindow, &msg) != 0;
}

void TDialog::CloseWindow(int retVal) {
  if (!CanClose()) return;
  TransferData(tdGetData);
  Destroy(retVal);
}

void TDialog::Destroy(int retVal) {
  if (!HWindow) return;
  if (IsFlagSet(wfModalWindow)) EndDialog(HWindow, retVal);
  else TWindow::Destroy(retVal);
}

void TDialog::EvClose() { CmCancel(); }

void TDialog::CmOk() { CloseWindow(IDOK); }

void TDialog::CmCancel() { Destroy(IDCANCEL); }

DEFINE_RESPONSE_TABLE1(TDialog, TWindow)
EV_COMMAND(IDOK, CmOk), EV_COMMAND(IDCANCEL, CmCancel), EV_WM_CLOSE, END_RESPONSE_TABLE;
