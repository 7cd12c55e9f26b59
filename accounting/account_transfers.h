/*
** The program-wide transfer records of the accounting dialogs that show a bank-account list:
** the account range, the entry editor, the report range and the bank statement information.
** Each lists its dialog's control values in the order the dialog creates its controls, with
** no gaps, because the dialog's transfer walks the record control by control. They outlive
** the dialogs so that a choice carries from one dialog to the next.
*/
#ifndef ZARNE_ACCOUNTING_ACCOUNT_TRANSFERS_H
#define ZARNE_ACCOUNTING_ACCOUNT_TRANSFERS_H

#include "platform/framework/list_data.h"
#include "platform/kernel/wintypes.h"

#include <cstddef>

#pragma pack(push, 1)

/* The range of one account's ledger entries that the account editor, the adjustments list
   and the reconciliation list show: account, kind (one of Check, Deposits, Adjustments) and
   range (one of All, File, Date, Number). */
struct TAccountRangeXfer {
  TComboBoxData Accounts;  // selected index = BANK key number
  char FileFrom[16];
  char FileTo[16];
  DWORD Adjustments;
  DWORD All;
  DWORD Check;
  DWORD Date;
  DWORD Deposits;
  DWORD File;
  DWORD Number;
  LONG DateFrom;  // date numbers, blank kBlankDate
  LONG DateTo;
  LONG NumberFrom;
  LONG NumberTo;
};

/* One ledger entry as the entry editor shows it. */
struct TEditAccountRecordXfer {
  TComboBoxData Accounts;
  char Description[61];
  char Payee[61];
  double Amount;
  LONG Date;
  LONG Number;
};

/* The choice of the range reports: account, range (one of All, Date, File, Number) and
   whether the account limits the report. */
struct TReportRangeXfer {
  TComboBoxData Accounts;
  char FileFrom[16];
  char FileTo[16];
  DWORD RangeAll;
  DWORD RangeDate;
  DWORD RangeFile;
  DWORD RangeNumber;
  DWORD UseAccount;
  LONG DateFrom;
  LONG DateTo;
  LONG NumberFrom;
  LONG NumberTo;
};

/* The bank statement a reconciliation works against. */
struct TReconcileReportInfoXfer {
  TComboBoxData Accounts;
  double BeginBalance;
  double EndBalance;
  LONG CloseDate;
};

#pragma pack(pop)

// The records are read control by control, so every field must follow the previous one
// without a gap.
constexpr size_t kListDataSize = sizeof(TComboBoxData);
static_assert(offsetof(TAccountRangeXfer, FileFrom) == kListDataSize);
static_assert(offsetof(TAccountRangeXfer, Adjustments) == kListDataSize + 32);
static_assert(offsetof(TAccountRangeXfer, DateFrom) == kListDataSize + 32 + 7 * 4);
static_assert(sizeof(TAccountRangeXfer) == kListDataSize + 32 + 7 * 4 + 4 * 4);

static_assert(offsetof(TEditAccountRecordXfer, Description) == kListDataSize);
static_assert(offsetof(TEditAccountRecordXfer, Payee) == kListDataSize + 61);
static_assert(offsetof(TEditAccountRecordXfer, Amount) == kListDataSize + 122);
static_assert(offsetof(TEditAccountRecordXfer, Date) == kListDataSize + 130);
static_assert(sizeof(TEditAccountRecordXfer) == kListDataSize + 138);

static_assert(offsetof(TReportRangeXfer, FileFrom) == kListDataSize);
static_assert(offsetof(TReportRangeXfer, RangeAll) == kListDataSize + 32);
static_assert(offsetof(TReportRangeXfer, UseAccount) == kListDataSize + 32 + 4 * 4);
static_assert(offsetof(TReportRangeXfer, DateFrom) == kListDataSize + 32 + 5 * 4);
static_assert(sizeof(TReportRangeXfer) == kListDataSize + 32 + 5 * 4 + 4 * 4);

static_assert(offsetof(TReconcileReportInfoXfer, BeginBalance) == kListDataSize);
static_assert(offsetof(TReconcileReportInfoXfer, CloseDate) == kListDataSize + 16);
static_assert(sizeof(TReconcileReportInfoXfer) == kListDataSize + 20);

// Owner: accounting.
extern TAccountRangeXfer gAccountRangeXfer;
extern TEditAccountRecordXfer gEditAccountRecordXfer;
extern TReportRangeXfer gReportRangeXfer;
extern TReconcileReportInfoXfer gReconcileXfer;

#endif
