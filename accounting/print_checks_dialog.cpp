/*
** The Print Checks dialog: the number and date a run starts from, refused when they could
** not number or date a check.
*/
#include "accounting/print_checks_dialog.h"

#include "accounting/ledger_refusals.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

TPrintChecksXfer gPrintChecksXfer = {1, kBlankDate};

namespace {
enum { kNumberEdit = 106, kDateEdit = 105 };
constexpr UINT kNumberLimit = 8;
constexpr UINT kDateLimit = 11;
}  // namespace

TPrintChecks::TPrintChecks(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  Number = new TWWInteger(this, kNumberEdit, kNumberLimit);
  Date = new TWWDate(this, kDateEdit, kDateLimit);
  SetTransferBuffer(&gPrintChecksXfer);
}

TPrintChecks::~TPrintChecks() = default;

void TPrintChecks::CmOk() {
  // The edits' own checks first (a date that does not parse, a number that is no number).
  if (!CanClose()) return;
  int32_t number = 0;
  int32_t date = kBlankDate;
  Number->Transfer(&number, tdGetData);
  Date->Transfer(&date, tdGetData);
  if (number < 1) {
    ShowLedgerMessage(HWindow, kCheckNumberTooLow, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (date == kBlankDate) {
    ShowLedgerMessage(HWindow, kCheckDateMissing, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  TDialog::CmOk();
}
