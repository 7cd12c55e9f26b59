/*
** TReconcileReportInfo: the "Bank Statement Information" dialog that starts a
** reconciliation. It proposes the chosen account's statement values from its BANK record by
** the period rule (an open period's values again; after a closed one its ending balance as
** the fixed beginning, 0.00 and the last day of the next month), and at OK refuses a close
** date that is blank or not after the last closed period before it asks about an open one.
** The values are kept in gReconcileXfer.
*/
#ifndef ZARNE_ACCOUNTING_RECONCILE_INFO_H
#define ZARNE_ACCOUNTING_RECONCILE_INFO_H

#include "platform/framework/dialog.h"

#include <string>

class TComboBox;
class TStatic;
class TWWDate;
class TWWMoney;

constexpr int kReconcileInfoTemplate = 20965;

/* The period rule's close date after a period closed on `lastClose`: the last day of the
   next month. */
LONG NextPeriodCloseDate(LONG lastClose);

class TReconcileReportInfo : public TDialog {
 public:
  TReconcileReportInfo(TWindow* parent, TResId resId = kReconcileInfoTemplate,
                       TModule* module = nullptr);
  ~TReconcileReportInfo() override;
  void SetupWindow() override;

  /* Reads the selected account's BANK record and shows its proposal. */
  void LoadBankRecord();
  void CmOk() override;

  SHORT BankKey = 0;
  LONG LastCloseDate;
  LONG LastBalanceDate;
  double LastBeginBalance = 0;
  double LastEndBalance = 0;

 protected:
  bool EvInitDialog(HWND focus) override;

 private:
  void EvAccountChanged();
  /* The box of a refused close date: exclamation icon, focus back on the date. */
  void RefuseCloseDate(const std::string& text);
  /* The questions about an open period given a new close date; answers whether to close. */
  bool ConfirmOpenPeriod();

  TComboBox* Accounts;
  TWWMoney* BeginBalance;
  TStatic* FixedBeginBalance;
  TWWMoney* EndBalance;
  TWWDate* CloseDate;

  DECLARE_RESPONSE_TABLE(TReconcileReportInfo);
};

#endif
