/*
** TPostDeposits: posting one closing file's deposits. The user selects deposits by clicking
** their cells, enters the posting date and presses Post: each selected deposit gets that
** date and Posted, or with no date goes back to Unposted. Closed periods do not move.
*/
#ifndef ZARNE_ACCOUNTING_POST_DEPOSITS_H
#define ZARNE_ACCOUNTING_POST_DEPOSITS_H

#include "platform/framework/dialog.h"

class TStatic;
class TWWDate;
struct TLedgerEntry;

constexpr int kPostDepositsTemplate = 20910;
constexpr char kUnpostQuestion[] = "Set the %d selected deposits back to Unposted?";

class TPostDeposits : public TDialog {
 public:
  TPostDeposits(TWindow* parent, TResId resId = kPostDepositsTemplate, TModule* module = nullptr);
  ~TPostDeposits() override;
  void SetupWindow() override;

  void FillList();
  void CmPost();
  void CmFileSelect();
  void EvGridClick();

  /* Set by the creator before the dialog runs. */
  char FileNumber[16] = "";
  LONG PostingDate;

 private:
  HWND Grid() const { return GetDlgItem(200); }
  void ShowPostingDate();
  /* Posts one row's deposit; false when it stays as it was (and selected). `closed` takes
     the first Reconciled or Balanced entry met. */
  bool PostRow(int row, const TLedgerEntry*& closed, TLedgerEntry& closedEntry);

  TStatic* FileNumberText;
  TWWDate* DateEdit;

  DECLARE_RESPONSE_TABLE(TPostDeposits);
};

#endif
