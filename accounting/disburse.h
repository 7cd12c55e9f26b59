/*
** TDisburse: the escrow ledger of one closing file: its deposits and checks in two grids,
** the balance in exact cents, the bank account new entries go to, and the changes to them,
** each written to ACCOUNT at once by the handler that makes it. A change re-reads its entry
** under a lock first, so a list filled earlier never overrules another station's work.
*/
#ifndef ZARNE_ACCOUNTING_DISBURSE_H
#define ZARNE_ACCOUNTING_DISBURSE_H

#include "accounting/ledger_entry.h"
#include "accounting/ledger_refusals.h"
#include "accounting/ledger_rows.h"
#include "accounting/ledger_store.h"
#include "platform/framework/dialog.h"

#include <cstdint>

class RespaWindow;
class TPXRecord;
class TPXTable;

constexpr int kDisburseTemplate = 20900;

struct TBundleEntry;

class TDisburse : public TDialog {
 public:
  TDisburse(TWindow* parent, TResId resId = kDisburseTemplate, TModule* module = nullptr);
  ~TDisburse() override;

  void CloseWindow(int retVal = IDCANCEL) override;
  void SetupWindow() override;

  /* New entries: inserted under a key of their own (a taken key gets a new one, written
     back into the row); answer whether the entry was written (a failure has been shown). */
  bool WriteCheckRecord(TDisburseCheckRow& row);
  bool WriteDepositRecord(TDisburseDepositRow& row);
  void UpdateBalance();
  void SelectBankAccount();
  void FillDeposits();
  void FillChecks();
  void FindBankAccount();

  /* Button handlers. */
  void CmAddDeposit();
  void CmModifyDeposit();
  void CmDeleteDeposit();
  void CmAddCheck();
  void CmModifyCheck();
  void CmDeleteCheck();
  void CmFileNumber();
  void CmAutoCreate();
  void CmRunBundles();
  void AddBundleEntry(const TBundleEntry& step);
  void CmPrintReport();
  void CmCheckRequest();
  /* Prints the file's Ready checks (check_run.cpp). */
  void CmPrintChecks();

  /* Set by the creator after construction, before the dialog runs; may stay null. */
  RespaWindow* StatementWindow = nullptr;
  char FileNumber[16] = "";
  int32_t BankKey = kNoBankAccount;
  int32_t BalanceSign = 0;
  /* The cents the balance shows. */
  int64_t BalanceCents = 0;

 protected:
  HBRUSH EvCtlColor(HDC dc, HWND child, UINT ctlType) override;

 private:
  HWND Grid(int id) const { return GetDlgItem(id); }
  void RefillFile();
  void ShowBankName(const char* name);
  /* After an entry left a grid: both empty means no account any more. */
  void ResetBankWhenEmpty();
  /* Auto Create only for the statement window's own file. */
  void EnableAutoCreate();
  bool ForStatementFile() const;

  /* The selected row of a grid as an entry; false (after the select-first box) when none. */
  bool SelectedEntry(int gridId, const char* what, TLedgerEntry& entry);
  /* Replaces or removes the grid's current row. */
  void ReplaceCurrentRow(int gridId, const TLedgerEntry& entry);
  void DeleteCurrentRow(int gridId);
  /* A re-read that did not find the entry as listed: the row follows the record and the
     box says why nothing was changed. Answers whether the change may go on. */
  bool AcceptReread(int gridId, TRereadResult result, const TLedgerEntry& stored,
                    TLedgerAction action);
  /* Asks whether a check recorded as Printed may take a number another check has. */
  bool ConfirmCheckNumber(const TLedgerEntry& check, LONG number);
  void ApplyCheckModify(const TLedgerEntry& shown);
  void ApplyCheckDelete(const TLedgerEntry& shown);
  void ApplyDepositModify(const TLedgerEntry& shown);
  void ApplyDepositDelete(const TLedgerEntry& shown);
  /* The fresh status list of the check dialog, with `selected` chosen when it is one. */
  static void FillStatusList(const char* const* names, int count, const char* selected);

  TPXTable* Table;
  TPXRecord* Record;
  HBRUSH RedBrush;
  HBRUSH GreenBrush;
  char RefusalFormat[128];
  char SelectFirstFormat[128];
  char MessageCaption[30];

  friend class TCheckRun;
  DECLARE_RESPONSE_TABLE(TDisburse);
};

#endif
