/*
** The Schedule A dialog's seventeen controls, made in the order of gScheduleAXfer.
*/
#include "closingfile/schedule_a_dialog.h"

#include "closingfile/closing_file_xfer.h"
#include "platform/framework/edit.h"
#include "tableaccess/typed_edits.h"

namespace {
constexpr UINT kDateLimit = 11;
constexpr UINT kBookLimit = 8;
constexpr UINT kAmountLimit = 14;
}  // namespace

TScheduleA::TScheduleA(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  TScheduleAXfer& x = gScheduleAXfer;
  new TEdit(this, 101, sizeof x.commitNum);
  new TEdit(this, 103, sizeof x.commitTime);
  new TEdit(this, 111, sizeof x.loanNum);
  new TEdit(this, 113, sizeof x.loanTime);
  new TEdit(this, 104, sizeof x.ownerNum);
  new TEdit(this, 106, sizeof x.ownerTime);
  new TWWDate(this, 102, kDateLimit);
  new TWWDate(this, 105, kDateLimit);
  new TWWDate(this, 108, kDateLimit);
  new TWWDate(this, 112, kDateLimit);
  new TWWDate(this, 115, kDateLimit);
  new TWWInteger(this, 109, kBookLimit);
  new TWWInteger(this, 110, kBookLimit);
  new TWWInteger(this, 116, kBookLimit);
  new TWWInteger(this, 117, kBookLimit);
  new TWWMoney(this, 107, kAmountLimit);
  new TWWMoney(this, 114, kAmountLimit);
  SetTransferBuffer(&gScheduleAXfer);
}
