/*
** The range report commands.
*/
#include "accounting/report_commands.h"

#include "accounting/account_transfers.h"
#include "accounting/check_register.h"
#include "accounting/check_request.h"
#include "accounting/disbursement_report.h"
#include "accounting/export_1099.h"
#include "accounting/file_balance_report.h"
#include "accounting/ledger_report.h"
#include "accounting/report_drawing.h"
#include "accounting/report_range.h"
#include "platform/user/message_box.h"
#include "platform/user/winuser.h"
#include "tableaccess/value_forms.h"

#include <memory>

namespace {

/* Every report starts from All, with the account used and every bound empty; the account
   list keeps the account chosen last. */
void ResetReportRange() {
  TReportRangeXfer& range = gReportRangeXfer;
  range.RangeAll = 1;
  range.RangeDate = range.RangeFile = range.RangeNumber = 0;
  range.UseAccount = 1;
  range.FileFrom[0] = range.FileTo[0] = '\0';
  range.DateFrom = range.DateTo = kBlankDate;
  range.NumberFrom = range.NumberTo = 0;
}

std::unique_ptr<TPrintout> MakeReport(TReportCommandKind kind) {
  switch (kind) {
    case kCheckRegisterReport: return std::make_unique<TCheckRegister>("Check Register");
    case kLedgerReport: return std::make_unique<TLedgerReport>("Ledger Report");
    case kFileBalanceReport: {
      int answer = MessageBox(GetFocus(), "Suppress zero balances?", "", MB_YESNO);
      return std::make_unique<TFileBalanceReport>("File Balance Report", answer != IDNO);
    }
  }
  return nullptr;
}

}  // namespace

void RunReportCommand(TReportCommandKind kind, TWindow* client) {
  ResetReportRange();
  TReportRange dialog(client, kReportRangeTemplate);
  dialog.NoFileRange = kind == kLedgerReport;
  dialog.NoNumberRange = kind != kCheckRegisterReport;
  dialog.AccountOptional = kind == kFileBalanceReport;
  dialog.ThroughDateOnly = kind == kFileBalanceReport;
  if (dialog.Execute() != IDOK) return;
  std::unique_ptr<TPrintout> report = MakeReport(kind);
  if (report) PrintOnReportPrinter(client, *report);
}

void RunExport1099(TWindow* client) {
  TExport1099 dialog(client, kExport1099Template);
  dialog.Execute();
}

void PrintDisbursementReport(TWindow* parent, const char* fileNumber) {
  TDisburseReport report("Disbursement Report", fileNumber);
  PrintOnReportPrinter(parent, report);
}

void PrintCheckRequest(TWindow* parent, const char* fileNumber) {
  TCheckRequest request("Check Request", fileNumber);
  PrintOnReportPrinter(parent, request);
}
