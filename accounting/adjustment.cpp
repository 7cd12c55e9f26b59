/*
** The adjustment entry dialog and its program-wide transfer record.
*/
#include "accounting/adjustment.h"

#include "platform/framework/edit.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

TAdjustmentXfer gAdjustmentXfer{{}, 0.0, kBlankDate};

namespace {
enum { kDescriptionEdit = 103, kAmountEdit = 105, kDateEdit = 104 };
}  // namespace

TAdjustment::TAdjustment(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  Description = new TEdit(this, kDescriptionEdit, sizeof gAdjustmentXfer.Description);
  Amount = new TWWMoney(this, kAmountEdit, 14);
  Date = new TWWDate(this, kDateEdit, 11);
  SetTransferBuffer(&gAdjustmentXfer);
}

TAdjustment::~TAdjustment() = default;

void TAdjustment::SetupWindow() {
  TDialog::SetupWindow();
  if (DeleteMode) {
    Description->EnableWindow(false);
    Amount->EnableWindow(false);
    Date->EnableWindow(false);
  }
}
