/*
** Filling the four bank-account lists from the BANK table.
*/
#include "accounting/bank_lists.h"

#include "accounting/account_transfers.h"
#include "accounting/bank_slots.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <array>

namespace {

constexpr size_t kListNameChars = 79;

std::array<TComboBoxData*, 4> AccountLists() {
  return {&gAccountRangeXfer.Accounts, &gEditAccountRecordXfer.Accounts, &gReportRangeXfer.Accounts,
          &gReconcileXfer.Accounts};
}

}  // namespace

void LoadBankLists() {
  const auto lists = AccountLists();
  for (TComboBoxData* list : lists) list->Clear();  // no items, index -1, empty text

  if (gBankRecord != nullptr) {
    // By key, not by position: a missing record must not shift the later names.
    for (const std::string& name : ReadBankSlots(*gBankRecord, kListNameChars))
      for (TComboBoxData* list : lists) list->AddString(name.c_str());
  }

  // A default account that is no position of the lists selects nothing.
  for (TComboBoxData* list : lists) list->Select(gDefaultAccount);
}
