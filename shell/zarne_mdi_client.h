/*
** ZarneMDIClient: the frame's MDI client. It reads the statement options when it is built
** and owns the commands that belong to no one closing file: New, Open and Delete of a file
** and the three printer set-ups, and the tools that need no file. OpenFileWindow makes a statement window for a number.
*/
#ifndef ZARNE_SHELL_ZARNE_MDI_CLIENT_H
#define ZARNE_SHELL_ZARNE_MDI_CLIENT_H

#include "platform/framework/mdi.h"

class TPrintDialogData;

class ZarneMDIClient : public TMDIClient {
 public:
  ZarneMDIClient();
  ~ZarneMDIClient() override;
  /* The frame's Window menu lists the open files. */
  bool Create() override;

  void CmFileNew();
  void CmFileOpen();
  void CmFileDelete();
  void CmPrintSetupHud1();
  void CmPrintSetupChecks();
  void CmPrintSetupReports();
  void CmAmortization();
  /* The two options sheets, made on the stack over the client. */
  void CmHud1Options();
  void CmDefaultValues();
  /* Accounting reports and the 1099 export. */
  void CmCheckRegister();
  void CmLedger();
  void CmFileBalance();
  void CmExport1099();
  /* The ledger editors. */
  void CmAdjustments();
  void CmReconcile();
  void CmBankEditor();
  void CmAccountEditor();
  /* The ledger dialogs. */
  void CmDisburse();
  void CmPostDeposits();
  void CmDefaultAccount();
  /* The check-form layout editor over the client. */
  void CmCheckForm();
  void EvEnterIdle(UINT source, HWND hWndDlg) override;

 private:
  /* New and Open: the dialog in that mode, then the file's window brought up or opened. */
  void PickAndOpen(int mode);
  void PrintSetup(int kind, TPrintDialogData& data);

  DECLARE_RESPONSE_TABLE(ZarneMDIClient);
};

/* Opens a statement window for the number, making room first as the options say. */
void OpenFileWindow(ZarneMDIClient* client, const char* fileNumber);

#endif
