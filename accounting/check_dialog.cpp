/*
** The check entry dialog: its controls in transfer order, the delete mode, the date and
** number shown only for a Printed check, and the check of a Printed check's number and date.
*/
#include "accounting/check_dialog.h"

#include "accounting/ledger_refusals.h"
#include "accounting/ledger_transfers.h"
#include "platform/framework/controls.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"
#include "platform/user/winuser.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

#include <cstring>
#include <initializer_list>

namespace {
enum {
  kDescription = 104,
  kPayee = 103,
  kStatusList = 101,
  kDate = 105,
  kNumber = 106,
  kAmount = 102,
  kDateLabel = 107,
  kNumberLabel = 108
};
constexpr int kStatusTextLimit = 22;
}  // namespace

DEFINE_RESPONSE_TABLE1(TCheck, TDialog)
EV_CBN_SELCHANGE(kStatusList, CmStatusChange), END_RESPONSE_TABLE;

TCheck::TCheck(TWindow* parent, TResId resId, TModule* module) : TDialog(parent, resId, module) {
  Description = new TEdit(this, kDescription, sizeof gCheckXfer.Description);
  Payee = new TEdit(this, kPayee, sizeof gCheckXfer.Payee);
  Status = new TComboBox(this, kStatusList);
  Date = new TWWDate(this, kDate, 11);
  Number = new TWWInteger(this, kNumber, 8);
  Amount = new TWWMoney(this, kAmount, 14);
  DateLabel = new TStatic(this, kDateLabel, 12);
  NumberLabel = new TStatic(this, kNumberLabel, 12);
  DateLabel->DisableTransfer();
  NumberLabel->DisableTransfer();
  SetTransferBuffer(&gCheckXfer);
}

TCheck::~TCheck() = default;

void TCheck::SetupWindow() { TDialog::SetupWindow(); }

// The controls hold the record's values only once the base has transferred them.
bool TCheck::EvInitDialog(HWND focus) {
  bool result = TDialog::EvInitDialog(focus);
  if (DeleteMode) {
    for (TWindow* control :
         std::initializer_list<TWindow*>{Description, Payee, Status, Date, Number, Amount})
      control->EnableWindow(false);
  }
  CmStatusChange();
  return result;
}

void TCheck::CmStatusChange() {
  char text[kStatusTextLimit + 1] = "";
  Status->GetText(text, sizeof text);
  if (std::strcmp(text, kPrintedStatusName) == 0) {
    // Shown again with the check's own values, not emptied ones.
    Date->Transfer(&gCheckXfer.Date, tdSetData);
    Number->Transfer(&gCheckXfer.Number, tdSetData);
    for (TWindow* control : std::initializer_list<TWindow*>{Number, Date, DateLabel, NumberLabel})
      control->Show(SW_SHOW);
    return;
  }
  // Emptied, they transfer the blank date and 0: only a Printed check has them.
  Number->SetWindowText("");
  Date->SetWindowText("");
  for (TWindow* control : std::initializer_list<TWindow*>{Number, Date, DateLabel, NumberLabel})
    control->Show(SW_HIDE);
}

void TCheck::CmOk() {
  char text[kStatusTextLimit + 1] = "";
  Status->GetText(text, sizeof text);
  if (!DeleteMode && std::strcmp(text, kPrintedStatusName) == 0) {
    LONG number = 0;
    LONG date = kBlankDate;
    Number->Transfer(&number, tdGetData);
    Date->Transfer(&date, tdGetData);
    if (number < 1 || date == kBlankDate) {
      ShowLedgerMessage(HWindow, kPrintedNeedsNumberAndDate, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
  }
  TDialog::CmOk();
}
