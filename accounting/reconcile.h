/*
** TReconcile: the "Reconcile Account" dialog. It lists one account's entries of one kind
** still waiting to clear the bank (Printed, Unposted, Posted) in the range of
** gAccountRangeXfer, marks the selected ones Reconciled, totals the selected deposits,
** prints the reconciliation report and, when both its variances are 0.00, closes the period:
** every Reconciled entry up to the close date becomes Balanced, all or none of them.
*/
#ifndef ZARNE_ACCOUNTING_RECONCILE_H
#define ZARNE_ACCOUNTING_RECONCILE_H

#include "platform/framework/dialog.h"

class TStatic;

constexpr int kReconcileTemplate = 20930;

class TReconcile : public TDialog {
 public:
  TReconcile(TWindow* parent, TResId resId = kReconcileTemplate, TModule* module = nullptr);
  ~TReconcile() override;
  void SetupWindow() override;

  /* Refills the grid and the two statics from gAccountRangeXfer. */
  void FillReconcileList();
  /* The period close; answers whether the period was closed. */
  bool ClosePeriod();

  SHORT BankKey = 0;

 protected:
  void CmClear();
  void CmReport();
  void CmRange();
  void SumSelectedDeposits();
  void ToggleRowSelection();

 private:
  HWND Grid() const;
  /* Marks the row's entry Reconciled; answers whether its row may leave the grid. */
  bool ClearRow(int row);

  TStatic* AccountName;
  TStatic* RangeText;
  TStatic* DepositTotal;

  DECLARE_RESPONSE_TABLE(TReconcile);
};

#endif
