/*
** TAdjustment: the "Account Adjustment" dialog over one bank adjustment (date, amount,
** description), used to add, modify and, with DeleteMode, to confirm a deletion with the
** values shown disabled. Its transfer record is the program-wide gAdjustmentXfer.
*/
#ifndef ZARNE_ACCOUNTING_ADJUSTMENT_H
#define ZARNE_ACCOUNTING_ADJUSTMENT_H

#include "platform/framework/dialog.h"

#include <cstddef>

class TEdit;
class TWWDate;
class TWWMoney;

constexpr int kAdjustmentTemplate = 20921;

#pragma pack(push, 1)
struct TAdjustmentXfer {
  char Description[61];
  double Amount;
  LONG Date;  // blank kBlankDate
};
#pragma pack(pop)
static_assert(offsetof(TAdjustmentXfer, Amount) == 61);
static_assert(offsetof(TAdjustmentXfer, Date) == 69);
static_assert(sizeof(TAdjustmentXfer) == 73);

// Owner: accounting.
extern TAdjustmentXfer gAdjustmentXfer;

class TAdjustment : public TDialog {
 public:
  TAdjustment(TWindow* parent, TResId resId = kAdjustmentTemplate, TModule* module = nullptr);
  ~TAdjustment() override;
  void SetupWindow() override;

  /* Set by the caller: the dialog only shows the entry, for confirmation. */
  bool DeleteMode = false;

 private:
  TEdit* Description;
  TWWMoney* Amount;
  TWWDate* Date;
};

#endif
