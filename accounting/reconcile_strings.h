/*
** The reconciliation's boxes: their string ids and the one way each is shown (text loaded
** from the string table, a date or count put in, caption "Zarne Message" unless named).
*/
#ifndef ZARNE_ACCOUNTING_RECONCILE_STRINGS_H
#define ZARNE_ACCOUNTING_RECONCILE_STRINGS_H

#include "platform/kernel/wintypes.h"

#include <string>

enum : UINT {
  kSystemErrorCaption = 1002,
  kOpenPeriodText = 1130,
  kCompletePeriodQuestion = 1131,
  kPeriodResetText = 1132,
  kProceedAnywayQuestion = 1133,
  kReconciledText = 1134,
  kClosePeriodQuestion = 1135,
  kCloseBankFailedText = 1136,
  kNoDateIndexText = 1137,
  kEnterCloseDateText = 1140,
  kCloseDateTooEarlyText = 1141,
  kNotClearedText = 1142,
  kEntriesInUseText = 1143,
  kLedgerChangedText = 1144,
};

/* The string with that id, "%s" or "%d" filled from the argument when it has one. */
std::string ReconcileText(UINT id);
std::string ReconcileText(UINT id, const char* argument);
std::string ReconcileText(UINT id, int argument);

/* A box under "Zarne Message"; answers the button pressed. */
int ShowReconcileBox(HWND owner, const std::string& text, UINT type);

/* The BANK write of the command that failed. */
constexpr char kBankUpdateError[] = "An error occurred in updating BANK.DB.";

#endif
