/*
** The walk over one file's entries of one type (included by disbursement_items.h).
*/
#ifndef ZARNE_ACCOUNTING_DISBURSEMENT_ITEMS_WALK_H
#define ZARNE_ACCOUNTING_DISBURSEMENT_ITEMS_WALK_H

#include "tableaccess/px_record.h"

#include <cstring>

template <class Take>
void WalkFileEntries(TPXRecord& record, const char* fileNumber, const char* type, Take take) {
  record.Clear();
  record.SetString(1, fileNumber);
  record.SetString(2, type);
  for (bool positioned = record.Seek(2, ENGINE_KEY_EQ); positioned; positioned = record.Next()) {
    // A record that cannot be read ends the gathering, which prints what it has.
    char file[16] = "", kind[2] = "";
    if (!record.Read(0) || !record.GetString(1, file, sizeof file) ||
        !record.GetString(2, kind, sizeof kind))
      break;
    if (std::strcmp(file, fileNumber) != 0 || kind[0] != type[0]) break;
    take(record);
  }
}

#endif
