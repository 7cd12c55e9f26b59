/*
** The bank-account selection dialog.
*/
#include "accounting/bank_select.h"

#include "accounting/bank_lists.h"
#include "accounting/bank_slots.h"
#include "accounting/ledger_refusals.h"
#include "accounting/ledger_transfers.h"
#include "platform/framework/list_controls.h"
#include "platform/kernel/resources.h"
#include "platform/user/message_box.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <cstring>

namespace {
constexpr int kAccountList = 136;
constexpr size_t kSelectNameChars = 59;
}  // namespace

DEFINE_RESPONSE_TABLE1(TBankSelect, TDialog)
EV_BN_CLICKED(IDOK, CmOk), END_RESPONSE_TABLE;

TBankSelect::TBankSelect(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  Accounts = new TListBox(this, kAccountList);
  SetTransferBuffer(&gBankSelectXfer);
  gBankSelectXfer.Accounts.Clear();
  if (gBankRecord != nullptr) {
    TPXRecord bank(gBankRecord->Table(), true);
    for (const std::string& name : ReadBankSlots(bank, kSelectNameChars))
      gBankSelectXfer.Accounts.AddString(name.c_str());
  }
  gBankSelectXfer.Accounts.Select(gDefaultAccount);
}

TBankSelect::~TBankSelect() = default;

void TBankSelect::SetupWindow() { TDialog::SetupWindow(); }

void TBankSelect::CmOk() {
  char text[256] = "";
  if (Accounts->GetSelIndex() >= 0) Accounts->GetSelString(text, sizeof text);
  // Nothing chosen is refused like an undefined account: the callers take the selection.
  if (text[0] == '\0' || std::strcmp(text, kUndefinedAccountName) == 0) {
    char message[128];
    LoadString(nullptr, kUndefinedAccountText, message, sizeof message);
    MessageBox(HWindow, message, "", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  TDialog::CmOk();
}

int TBankSelect::ChosenAccount() {
  const TIntArray& chosen = gBankSelectXfer.Accounts.GetSelIndices();
  return chosen.empty() ? -1 : chosen.front();
}
