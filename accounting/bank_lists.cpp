/*
** Filling the four bank-account lists from the BANK table.
*/
#include "accounting/bank_lists.h"

#include "accounting/account_transfers.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <array>

namespace {

constexpr int kAccountNameField = 2;

std::array<TComboBoxData*, 4> AccountLists() {
  return {&gAccountRangeXfer.Accounts, &gEditAccountRecordXfer.Accounts, &gReportRangeXfer.Accounts,
          &gReconcileXfer.Accounts};
}

}  // namespace

void LoadBankLists() {
  const auto lists = AccountLists();
  for (TComboBoxData* list : lists) list->Clear();  // no items, index -1, empty text

  if (gBankRecord != nullptr) {
    for (bool more = gBankRecord->First(); more; more = gBankRecord->Next()) {
      if (!gBankRecord->Read(0)) break;  // the wrapper has reported the engine's error
      char name[80] = "";
      if (!gBankRecord->GetString(kAccountNameField, name, sizeof name)) name[0] = '\0';
      const char* shown = name[0] != '\0' ? name : kUndefinedAccountName;
      for (TComboBoxData* list : lists) list->AddString(shown);
    }
  }

  // A default account that is no position of the lists selects nothing.
  for (TComboBoxData* list : lists) list->Select(gDefaultAccount);
}
