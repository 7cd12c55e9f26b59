/*
** The accounting commands of the main window's client that print a range report and run
** the 1099 export: each resets the report range, runs the range dialog with the report's
** modes and prints the chosen report on the reports printer.
*/
#ifndef ZARNE_ACCOUNTING_REPORT_COMMANDS_H
#define ZARNE_ACCOUNTING_REPORT_COMMANDS_H

class TWindow;

enum TReportCommandKind { kCheckRegisterReport, kLedgerReport, kFileBalanceReport };

/* The Check Register, Ledger and File Balance commands, with the client as parent. */
void RunReportCommand(TReportCommandKind kind, TWindow* client);

/* The disbursing dialog's report buttons: the disbursement report and the check request of
   one closing file, printed on the reports printer; the outcome is not looked at. */
void PrintDisbursementReport(TWindow* parent, const char* fileNumber);
void PrintCheckRequest(TWindow* parent, const char* fileNumber);

/* The 1099 export command: the export dialog, modal, with the client as parent. */
void RunExport1099(TWindow* client);

#endif
