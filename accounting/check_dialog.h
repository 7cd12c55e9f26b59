/*
** TCheck: the entry dialog of one check, over gCheckXfer. The caller fills the record, sets
** the caption and, to confirm a deletion, the delete mode; after OK it reads the record back.
** The date and number show only while the status is "Printed".
*/
#ifndef ZARNE_ACCOUNTING_CHECK_DIALOG_H
#define ZARNE_ACCOUNTING_CHECK_DIALOG_H

#include "platform/framework/dialog.h"

class TEdit;
class TComboBox;
class TStatic;
class TWWDate;
class TWWInteger;
class TWWMoney;

constexpr int kCheckTemplate = 20901;
constexpr char kPrintedStatusName[] = "Printed";
constexpr char kPrintedNeedsNumberAndDate[] = "A printed check needs its check number and date.";

class TCheck : public TDialog {
 public:
  TCheck(TWindow* parent, TResId resId = kCheckTemplate, TModule* module = nullptr);
  ~TCheck() override;
  void SetupWindow() override;
  /* A check recorded as Printed by hand must carry its number and date. */
  void CmOk() override;
  void CmStatusChange();

  int DeleteMode = 0;

 protected:
  bool EvInitDialog(HWND focus) override;

 private:
  TEdit* Description;
  TEdit* Payee;
  TComboBox* Status;
  TWWDate* Date;
  TWWInteger* Number;
  TWWMoney* Amount;
  TStatic* DateLabel;
  TStatic* NumberLabel;

  DECLARE_RESPONSE_TABLE(TCheck);
};

#endif
