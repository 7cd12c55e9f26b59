/*
** Reading the BANK names into their key's slot.
*/
#include "accounting/bank_slots.h"

#include "accounting/bank_lists.h"
#include "tableaccess/px_record.h"

namespace {
constexpr int kKeyNumberField = 1;
constexpr int kAccountNameField = 2;
}  // namespace

TBankSlots ReadBankSlots(TPXRecord& bank, size_t maxChars) {
  TBankSlots names;
  names.fill(kUndefinedAccountName);
  for (bool more = bank.First(); more; more = bank.Next()) {
    if (!bank.Read(0)) break;
    SHORT key = -1;
    if (!bank.GetShort(kKeyNumberField, key) || !IsBankKey(key)) continue;
    char name[128] = "";
    if (!bank.GetString(kAccountNameField, name, sizeof name)) name[0] = '\0';
    std::string text(name);
    if (text.size() > maxChars) text.resize(maxChars);
    if (!text.empty()) names[key] = text;
  }
  return names;
}
