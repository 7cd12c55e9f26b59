/*
** The MDI client: the statement options, the printer set-ups, and the opening of
** statement windows.
*/
#include "shell/zarne_mdi_client.h"

#include "accounting/check_form_editor.h"
#include "accounting/ledger_editor_commands.h"
#include "accounting/reconcile_command.h"
#include "accounting/ledger_commands.h"
#include "accounting/report_commands.h"
#include "platform/framework/print_dialog.h"
#include "platform/kernel/string_calls.h"
#include "platform/user/menu_calls.h"
#include "platform/user/window_styles.h"
#include "filenumber/file_windows.h"
#include "shell/shell_ids.h"
#include "shell/zarne_mdi_child.h"
#include "statement/amortizer.h"
#include "statement/default_values_sheet.h"
#include "statement/hud1_options_sheet.h"
#include "statement/hud1_options.h"
#include "statement/respa_window.h"
#include "tableaccess/printer_settings.h"

#include <cstring>

ZarneMDIClient::ZarneMDIClient() { ReadHud1Options(); }

ZarneMDIClient::~ZarneMDIClient() = default;

bool ZarneMDIClient::Create() {
  constexpr int kWindowMenuPosition = 7;  // File Edit Parties Title Accounting Options Tools Window
  if (!WindowMenu && Parent && Parent->HWindow)
    if (HMENU bar = ::GetMenu(Parent->HWindow)) WindowMenu = ::GetSubMenu(bar, kWindowMenuPosition);
  return TMDIClient::Create();
}

void ZarneMDIClient::EvEnterIdle(UINT source, HWND hWndDlg) {
  TMDIClient::EvEnterIdle(source, hWndDlg);
}

/* The flags become the set-up flag alone for the dialog; the file is written whatever the
   user answered, so a cancelled set-up rewrites the same settings. */
void ZarneMDIClient::PrintSetup(int kind, TPrintDialogData& data) {
  DWORD flags = data.Flags;
  data.Flags = PD_PRINTSETUP;
  TPrintDialog dialog(this, data);
  dialog.Execute();
  data.Flags = flags;
  SavePrinterSettings(kind, data);
}

void ZarneMDIClient::CmPrintSetupHud1() {
  PrintSetup(kStatementPrinterSettings, gStatementPrintData);
}
void ZarneMDIClient::CmPrintSetupChecks() { PrintSetup(kCheckPrinterSettings, gCheckPrintData); }
void ZarneMDIClient::CmPrintSetupReports() { PrintSetup(kReportPrinterSettings, gReportPrintData); }

void ZarneMDIClient::CmAmortization() { RunAmortizer(this); }

void ZarneMDIClient::CmHud1Options() {
  THUDOptSheet sheet(this);
  sheet.Execute();
}

void ZarneMDIClient::CmDefaultValues() {
  TDefValSheet sheet(this);
  sheet.Execute();
}
void ZarneMDIClient::CmCheckRegister() { RunReportCommand(kCheckRegisterReport, this); }
void ZarneMDIClient::CmLedger() { RunReportCommand(kLedgerReport, this); }
void ZarneMDIClient::CmFileBalance() { RunReportCommand(kFileBalanceReport, this); }
void ZarneMDIClient::CmExport1099() { RunExport1099(this); }
void ZarneMDIClient::CmAdjustments() { RunAdjustments(this); }
void ZarneMDIClient::CmBankEditor() { RunBankEditor(this); }
void ZarneMDIClient::CmDisburse() { RunDisburse(Parent, this); }
void ZarneMDIClient::CmPostDeposits() { RunPostDeposits(Parent, this); }
void ZarneMDIClient::CmDefaultAccount() { RunDefaultAccount(Parent); }
void ZarneMDIClient::CmAccountEditor() { RunAccountEditor(this); }
void ZarneMDIClient::CmCheckForm() { RunCheckForm(this); }
void ZarneMDIClient::CmReconcile() { RunReconcileCommand(this); }

void OpenFileWindow(ZarneMDIClient* client, const char* fileNumber) {
  if (CountFileWindows(client) >= gHud1Options.MaxWindows) {
    if (gHud1Options.AutoClose == 0) {
      MessageBox(client->HWindow, "You must close a file before opening another.", "",
                 MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    if (TMDIChild* earliest = EarliestFileWindow(client))
      earliest->GetClientWindow()->SendMessage(WM_COMMAND, CM_FILECLOSE, 0);
  }

  auto* view = new RespaWindow(client);
  lstrcpyn(view->fileNumber, fileNumber, sizeof view->fileNumber);
  auto* child = new ZarneMDIChild(*client, fileNumber, view);
  child->SetIcon(client->GetModule(), IDI_FILE);
  child->SetIconSm(client->GetModule(), IDI_FILE_SMALL);

  bool maximize = gHud1Options.Maximize != 0;
  if (TMDIChild* active = client->GetActiveMDIChild()) {
    maximize = active->IsZoomed();
    if (maximize) active->Show(SW_RESTORE);
  }
  if (child->Create() && maximize && child->HWindow) child->Show(SW_SHOWMAXIMIZED);
}

DEFINE_RESPONSE_TABLE1(ZarneMDIClient, TMDIClient)
EV_COMMAND(CM_FILENEW, CmFileNew), EV_COMMAND(CM_FILEOPEN, CmFileOpen),
    EV_COMMAND(CM_FILEDELETE, CmFileDelete), EV_COMMAND(CM_PRINTSETUPHUD1, CmPrintSetupHud1),
    EV_COMMAND(CM_PRINTSETUPCHECKS, CmPrintSetupChecks),
    EV_COMMAND(CM_PRINTSETUPREPORTS, CmPrintSetupReports),
    EV_COMMAND(CM_AMORTIZATION, CmAmortization), EV_COMMAND(CM_HUD1OPTIONS, CmHud1Options),
    EV_COMMAND(CM_DEFAULTVALUES, CmDefaultValues), EV_COMMAND(CM_CHECKREGISTER, CmCheckRegister),
    EV_COMMAND(CM_LEDGER, CmLedger), EV_COMMAND(CM_FILEBALANCE, CmFileBalance),
    EV_COMMAND(CM_EXPORT1099, CmExport1099), EV_COMMAND(CM_ADJUSTMENTS, CmAdjustments),
    EV_COMMAND(CM_BANKEDITOR, CmBankEditor), EV_COMMAND(CM_DISBURSE, CmDisburse),
    EV_COMMAND(CM_POSTDEPOSITS, CmPostDeposits), EV_COMMAND(CM_DEFAULTACCOUNT, CmDefaultAccount),
    EV_COMMAND(CM_ACCOUNTEDITOR, CmAccountEditor), EV_COMMAND(CM_CHECKFORM, CmCheckForm),
    EV_COMMAND(CM_RECONCILE, CmReconcile), EV_WM_ENTERIDLE, END_RESPONSE_TABLE;
