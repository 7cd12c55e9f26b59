/*
** TAccountEditor: the "Account Editor" dialog. It lists the ACCOUNT entries of one bank
** account and one kind within the range chosen in the account range dialog, and edits one
** entry at a time in the "Edit Account Record" dialog with any status its kind can have, any
** account and any amount. A write re-reads the entry under its lock and changes only what the
** user changed, so another station's work is never undone.
*/
#ifndef ZARNE_ACCOUNTING_ACCOUNT_EDITOR_H
#define ZARNE_ACCOUNTING_ACCOUNT_EDITOR_H

#include "accounting/ledger_range_walk.h"
#include "platform/framework/dialog.h"

class TStatic;
struct TAccountEditorRow;

constexpr int kAccountEditorTemplate = 20940;

class TAccountEditor : public TDialog {
 public:
  TAccountEditor(TWindow* parent, TResId resId = kAccountEditorTemplate, TModule* module = nullptr);
  ~TAccountEditor() override;
  void SetupWindow() override;

  /* Refills the grid and the two statics from gAccountRangeXfer. */
  void FillGrid();

 protected:
  void CmEdit();
  void CmRange();

 private:
  HWND Grid() const;
  /* After an entry was found changed or written: the row shows it, or leaves the grid when
     the entry no longer belongs to the listing. */
  void ShowEntryInRow(const TLedgerEntry& entry);
  bool BelongsToListing(const TLedgerEntry& entry) const;

  TStatic* RangeText;
  TStatic* AccountName;
  /* What the listing was filled for. */
  int ListedBank = kNoBankAccount;
  TRangeMode ListedMode = TRangeMode::kAll;

  DECLARE_RESPONSE_TABLE(TAccountEditor);
};

#endif
