/*
** TPartyNameWalk: the first party name (buyer or seller) of closing file after closing file,
** asked in ascending file-number order as a report walking ACCOUNT by file meets them. One
** forward walk of the party table's key order answers them all, with its rows read ahead
** in batches, where a search per file paid a whole lookup for every file.
*/
#ifndef ZARNE_ACCOUNTING_PARTY_NAME_WALK_H
#define ZARNE_ACCOUNTING_PARTY_NAME_WALK_H

#include "platform/kernel/wintypes.h"

#include <memory>

class TPXRecord;
class TPXTable;

class TPartyNameWalk {
 public:
  /* Walks `table` (BUYER or SELLER: file number first, then the first name) with a cursor
     of its own; null: no table, so no file has a record. */
  explicit TPartyNameWalk(TPXTable* table);
  ~TPartyNameWalk();
  TPartyNameWalk(const TPartyNameWalk&) = delete;
  TPartyNameWalk& operator=(const TPartyNameWalk&) = delete;

  /* The file's name into `name` ("" when blank); false, with "", when the file has no
     record. Any order of asking gives the same answers; ascending order is the fast one. */
  bool NameOf(const char* fileNumber, char* name, DWORD size);

 private:
  /* Puts the walk on the first record at or after the file number. */
  void SeekFrom(const char* fileNumber);
  /* One record on; false at the end. */
  bool StepOn();
  /* Whether a search for exactly the file finds its record (fills the record's buffer). */
  bool FoundBySearch(const char* fileNumber);

  std::unique_ptr<TPXRecord> walk_;
  std::unique_ptr<TPXRecord> search_;  // made on the first file the walk does not find
  TPXTable* table_;
  bool positioned_ = false;
  bool atEnd_ = false;
  char current_[16] = "";    // file number of the record the walk is on
  char lastAsked_[16] = "";  // the file asked before
};

#endif
