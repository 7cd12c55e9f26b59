/*
** TDialog: a dialog made from a numbered template of its module, run modally (Execute) or
** modelessly (Create). Control objects constructed over the template's controls by id are
** bound to them when the dialog is set up; the transfer buffer then fills the controls, and
** OK (after every control agreed to close, validators included) copies them back.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_DIALOG_H
#define ZARNE_PLATFORM_FRAMEWORK_DIALOG_H

#include "platform/framework/window.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/message_box.h"

class TDialog : public TWindow {
 public:
  TDialog(TWindow* parent, TResId resId, TModule* module = nullptr);
  ~TDialog() override;

  /* Runs the dialog modally: IDOK, IDCANCEL or what CloseWindow/Destroy ended it with; -1
     when the template could not be made into a dialog (reported). */
  virtual int Execute();
  /* Makes the dialog modeless; it shows when its template says so. */
  bool Create() override;
  void SetupWindow() override;
  bool PreProcessMsg(MSG& msg) override;
  void CloseWindow(int retVal = IDCANCEL) override;
  void Destroy(int retVal = IDCANCEL) override;
  void EvClose() override;

  virtual void CmOk();
  virtual void CmCancel();

  TResId GetResId() const { return resId_; }
  bool IsModal() const { return IsFlagSet(wfModalWindow); }

 protected:
  /* WM_INITDIALOG: binds the controls, runs SetupWindow and the transfer into the controls. */
  virtual bool EvInitDialog(HWND hWndFocus);

 private:
  friend INT_PTR CALLBACK FrameworkDialogProc(HWND, UINT, WPARAM, LPARAM);
  void ReportMissingTemplate();
  TResId resId_;

  DECLARE_RESPONSE_TABLE(TDialog);
};

INT_PTR CALLBACK FrameworkDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
