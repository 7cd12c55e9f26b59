/*
** TAdjustmentTable: the "Adjustments" dialog. It lists the bank adjustments of one account
** (ACCOUNT entries of type "B" under the reserved file number "0") that no period close has
** balanced yet, and adds, modifies and deletes them. New adjustments are inserted, never
** posted over a key; a change re-reads its entry under the lock first.
*/
#ifndef ZARNE_ACCOUNTING_ADJUSTMENT_TABLE_H
#define ZARNE_ACCOUNTING_ADJUSTMENT_TABLE_H

#include "accounting/ledger_range_walk.h"
#include "platform/framework/dialog.h"

class TStatic;

constexpr int kAdjustmentTableTemplate = 20920;

class TAdjustmentTable : public TDialog {
 public:
  TAdjustmentTable(TWindow* parent, TResId resId = kAdjustmentTableTemplate,
                   TModule* module = nullptr);
  ~TAdjustmentTable() override;
  void SetupWindow() override;

  /* Refills the grid and the two statics from gAccountRangeXfer. */
  void FillGrid();

 protected:
  void CmAdd();
  void CmModify();
  void CmDelete();
  void CmRange();

 private:
  HWND Grid() const;
  /* The selected row's entry as stored now, checked against the row; false (with the row
     refreshed or removed and the user told) when it no longer is what the row shows. */
  bool SelectedEntry(TLedgerEntry& entry);
  /* Whether a stored adjustment still shows as the listed one. */
  bool SameAsListed(const TLedgerEntry& listed, const TLedgerEntry& stored) const;
  /* The stored entry met after a change elsewhere: the row refreshed, or removed when it is
     no longer listed, and the user told. */
  void ShowChangedEntry(const TLedgerEntry& stored);
  /* Locks the entry again after the dialog; true with the record locked when unchanged. */
  bool RelockUnchanged(const TLedgerEntry& listed);
  /* The adjustment dialog over the listed entry (captioned, in delete mode or not): true when
     it is confirmed and the entry is locked again unchanged. */
  bool ConfirmedAndRelocked(const TLedgerEntry& listed, const char* caption, bool deleteMode);

  TStatic* RangeText;
  TStatic* AccountName;
  int ListedBank = -1;
  TRangeMode ListedMode = TRangeMode::kAll;

  DECLARE_RESPONSE_TABLE(TAdjustmentTable);
};

#endif
