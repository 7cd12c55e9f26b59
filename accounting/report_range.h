/*
** TReportRange: the "Report Range" dialog of the range reports: a bank account and one kind
** of range over the ledger entries (all, files, dates, check numbers), kept in
** gReportRangeXfer. Each report command sets the mode flags it needs before running it.
*/
#ifndef ZARNE_ACCOUNTING_REPORT_RANGE_H
#define ZARNE_ACCOUNTING_REPORT_RANGE_H

#include "platform/framework/dialog.h"

class TComboBox;
class TEdit;
class TRadioButton;
class TCheckBox;
class TStatic;
class TWWDate;
class TWWInteger;

constexpr int kReportRangeTemplate = 20950;

class TReportRange : public TDialog {
 public:
  TReportRange(TWindow* parent, TResId resId = kReportRangeTemplate, TModule* module = nullptr);
  ~TReportRange() override;
  void SetupWindow() override;

  /* Set by the caller between construction and execution. */
  bool NoFileRange = false;
  bool NoNumberRange = false;
  bool AccountOptional = false;
  bool ThroughDateOnly = false;

 protected:
  bool EvInitDialog(HWND focus) override;
  void CmRangeAll();
  void CmRangeFile();
  void CmRangeDate();
  void CmRangeNumber();
  void CmUseAccount();

 private:
  void EnableFileRange(bool on);
  void EnableDateRange(bool on);
  void EnableNumberRange(bool on);

  TComboBox* Accounts;
  TEdit* FileFrom;
  TEdit* FileTo;
  TRadioButton* RangeAll;
  TRadioButton* RangeDate;
  TRadioButton* RangeFile;
  TRadioButton* RangeNumber;
  TCheckBox* UseAccount;
  TWWDate* DateFrom;
  TWWDate* DateTo;
  TWWInteger* NumberFrom;
  TWWInteger* NumberTo;
  TStatic* AccountLabel;

  DECLARE_RESPONSE_TABLE(TReportRange);
};

#endif
