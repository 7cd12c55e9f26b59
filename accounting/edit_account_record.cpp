/*
** The entry dialog of the account editor: the statuses of the entry's kind, the payee label
** and the controls a kind does not use hidden, and the status chosen read back at OK.
*/
#include "accounting/edit_account_record.h"

#include "accounting/account_transfers.h"
#include "platform/framework/controls.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"
#include "platform/user/winuser.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

#include <initializer_list>
#include <vector>

namespace {
enum {
  kAccountList = 136,
  kDescriptionEdit = 104,
  kPayeeEdit = 103,
  kAmountEdit = 102,
  kDateEdit = 105,
  kNumberEdit = 106,
  kNumberLabel = 335,
  kPayeeLabel = 334,
  kStatusList = 101
};
}  // namespace

DEFINE_RESPONSE_TABLE1(TEditAccountRecord, TDialog)
EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;

TEditAccountRecord::TEditAccountRecord(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  Accounts = new TComboBox(this, kAccountList);
  Description = new TEdit(this, kDescriptionEdit, sizeof gEditAccountRecordXfer.Description);
  Payee = new TEdit(this, kPayeeEdit, sizeof gEditAccountRecordXfer.Payee);
  Amount = new TWWMoney(this, kAmountEdit, 14);
  Date = new TWWDate(this, kDateEdit, 12);
  Number = new TWWInteger(this, kNumberEdit, 10);
  NumberLabel = new TStatic(this, kNumberLabel, 10);
  PayeeLabel = new TStatic(this, kPayeeLabel, 16);
  Statuses = new TComboBox(this, kStatusList);
  Statuses->DisableTransfer();
  SetTransferBuffer(&gEditAccountRecordXfer);
}

TEditAccountRecord::~TEditAccountRecord() = default;

void TEditAccountRecord::SetupWindow() { TDialog::SetupWindow(); }

// After the base has transferred the record into the controls: the kind's statuses and
// controls, then the entry's status selected when its kind has it.
bool TEditAccountRecord::EvInitDialog(HWND focus) {
  bool result = TDialog::EvInitDialog(focus);
  static const std::vector<const char*> kAdjustmentStatuses = {"Reconciled", "Balanced"};
  static const std::vector<const char*> kCheckStatuses = {"Ready", "Escrow",     "Printed",
                                                          "Void",  "Reconciled", "Balanced"};
  static const std::vector<const char*> kDepositStatuses = {"Unposted", "Posted", "Reconciled",
                                                            "Balanced"};
  Statuses->ClearList();
  const std::vector<const char*>* statuses;
  if (EntryType == 'B') {
    statuses = &kAdjustmentStatuses;
    for (TWindow* control : std::initializer_list<TWindow*>{Payee, PayeeLabel, Number, NumberLabel})
      control->Show(SW_HIDE);
  } else if (EntryType == 'C') {
    statuses = &kCheckStatuses;
    PayeeLabel->SetText("Payee");
  } else {
    statuses = &kDepositStatuses;
    PayeeLabel->SetText("Depositor");
    Number->Show(SW_HIDE);
    NumberLabel->Show(SW_HIDE);
  }
  for (const char* status : *statuses) Statuses->AddString(status);
  char current[kStatusTextSize] = "";
  StatusText(current, EntryStatus, sizeof current);
  // A status its kind does not have (or no status at all) selects nothing.
  Statuses->SetSelIndex(current[0] != '\0' ? Statuses->FindExactString(current) : -1);
  return result;
}

void TEditAccountRecord::CmOk() {
  if (Statuses->GetSelIndex() >= 0) {
    char text[20] = "";
    Statuses->GetText(text, sizeof text);
    SHORT code = StatusCode(text);
    if (code >= 0) EntryStatus = code;
  }
  TDialog::CmOk();
}
