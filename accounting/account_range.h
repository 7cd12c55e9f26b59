/*
** TAccountRange: the "Range" dialog of the windows that list one bank account's ledger
** entries (the account editor, the adjustments list, the reconciliation list). It chooses
** the account, the kind of entry and the range, all kept in gAccountRangeXfer, which those
** windows preset and read when they fill their grids.
*/
#ifndef ZARNE_ACCOUNTING_ACCOUNT_RANGE_H
#define ZARNE_ACCOUNTING_ACCOUNT_RANGE_H

#include "platform/framework/dialog.h"

class TComboBox;
class TEdit;
class TRadioButton;
class TWWDate;
class TWWInteger;

constexpr int kAccountRangeTemplate = 20942;

class TAccountRange : public TDialog {
 public:
  TAccountRange(TWindow* parent, TResId resId = kAccountRangeTemplate, TModule* module = nullptr);
  ~TAccountRange() override;
  void SetupWindow() override;

  /* Set by the creator before running it: the kind may not change (Check and Deposits are
     disabled), the account may not change (the list is disabled). */
  bool FixedKind = false;
  bool FixedAccount = false;

 protected:
  bool EvInitDialog(HWND focus) override;
  void CmCheck();
  void CmDeposits();
  void CmAdjustments();
  void CmAll();
  void CmFile();
  void CmDate();
  void CmNumber();

 private:
  /* A kind click: the mode goes back to All with every range edit off, and the modes the
     kind offers are enabled. */
  void ChooseKind(bool fileOffered, bool numberOffered);
  void ShowFileRange(bool on);
  void ShowDateRange(bool on);
  void ShowNumberRange(bool on);

  TComboBox* Accounts;
  TEdit* FileFrom;
  TEdit* FileTo;
  TRadioButton* Adjustments;
  TRadioButton* All;
  TRadioButton* Check;
  TRadioButton* Date;
  TRadioButton* Deposits;
  TRadioButton* File;
  TRadioButton* Number;
  TWWDate* DateFrom;
  TWWDate* DateTo;
  TWWInteger* NumberFrom;
  TWWInteger* NumberTo;

  DECLARE_RESPONSE_TABLE(TAccountRange);
};

#endif
