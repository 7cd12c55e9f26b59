/*
** TPXTransaction: the records written through any table while one lives are stored together
** by Commit, or none of them (no Commit, a failed write before it, a failed commit, the
** program's death). One inside another joins it: the outermost one commits for both. A
** write that fails while one is open takes all of them back at the end, and a record whose
** write was taken back counts as unsaved again, so the next save writes it.
*/
#ifndef ZARNE_TABLEACCESS_PX_TRANSACTION_H
#define ZARNE_TABLEACCESS_PX_TRANSACTION_H

#include "platform/engine/engine.h"

class TPXRecord;

class TPXTransaction {
 public:
  /* A failed begin is reported; the writes are then stored one by one, as without one. */
  TPXTransaction();
  /* Takes every write back unless Commit stored them. */
  ~TPXTransaction();
  TPXTransaction(const TPXTransaction&) = delete;
  TPXTransaction& operator=(const TPXTransaction&) = delete;

  /* Stores the writes; false (reported) when they were not stored. An inner transaction
     answers true and leaves the storing to the outermost. */
  [[nodiscard]] bool Commit();
  /* Takes the writes back (an inner one: the outermost's too, when it commits). */
  void Abort();

  /* The record layer's notes: a record written while a transaction is open, a write that
     failed (answers false, for the record layer to pass on), and a record that is going
     away. */
  static void NoteWritten(TPXRecord* record);
  static bool NoteFailedWrite();
  static void Forget(TPXRecord* record);

 private:
  bool End(DWORD end);

  EngineTransaction handle_ = nullptr;
  bool outermost_ = false;
  bool ended_ = false;
};

#endif
