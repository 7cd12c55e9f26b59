/*
** TEditAccountRecord: the account editor's "Edit Account Record" dialog over one ledger
** entry: its account, description, payee or depositor, amount, date, number and status. The
** statuses offered are those of the entry's kind; no rule of the disbursing dialog applies.
** Its transfer record is gEditAccountRecordXfer.
*/
#ifndef ZARNE_ACCOUNTING_EDIT_ACCOUNT_RECORD_H
#define ZARNE_ACCOUNTING_EDIT_ACCOUNT_RECORD_H

#include "platform/framework/dialog.h"

class TComboBox;
class TEdit;
class TStatic;
class TWWDate;
class TWWInteger;
class TWWMoney;

constexpr int kEditAccountRecordTemplate = 20941;

class TEditAccountRecord : public TDialog {
 public:
  TEditAccountRecord(TWindow* parent, TResId resId = kEditAccountRecordTemplate,
                     TModule* module = nullptr);
  ~TEditAccountRecord() override;
  void SetupWindow() override;

  /* Set by the caller: the entry's status code and type letter ('C', 'D', 'B'). OK sets the
     status from the list; a list left without a selection keeps the status given. */
  SHORT EntryStatus = -1;
  SHORT EntryType = -1;

 protected:
  bool EvInitDialog(HWND focus) override;
  void CmOk() override;

 private:
  TComboBox* Accounts;
  TEdit* Description;
  TEdit* Payee;
  TWWMoney* Amount;
  TWWDate* Date;
  TWWInteger* Number;
  TStatic* NumberLabel;
  TStatic* PayeeLabel;
  TComboBox* Statuses;

  DECLARE_RESPONSE_TABLE(TEditAccountRecord);
};

#endif
