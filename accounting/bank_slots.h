/*
** The twenty bank-account names by key: every bank-account list of the program is filled
** from this, so an account's position in a list is always its BANK key number, whatever
** records are missing or out of order.
*/
#ifndef ZARNE_ACCOUNTING_BANK_SLOTS_H
#define ZARNE_ACCOUNTING_BANK_SLOTS_H

#include "accounting/ledger_entry.h"

#include <array>
#include <string>

class TPXRecord;

using TBankSlots = std::array<std::string, kBankAccountCount>;

/* Walks the BANK records through `bank` from the first to the last and puts each account
   name, cut to `maxChars` characters, at its KeyNumber; keys outside 0..19 are skipped, and
   an empty name or a key without a record gives "<undefined>". A failed read ends the walk
   (the table layer has reported it); the slots not reached stay "<undefined>". */
TBankSlots ReadBankSlots(TPXRecord& bank, size_t maxChars);

#endif
