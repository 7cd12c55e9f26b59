/*
** TPXRecord: construction, navigation, key search, locks and the record-level writes.
** Typed field access is in px_record_fields.cpp, merging in px_record_merge.cpp.
*/
#include "tableaccess/px_record.h"

#include "tableaccess/engine_session.h"
#include "tableaccess/px_table.h"
#include "tableaccess/px_transaction.h"

namespace {

/* Steps onto the next record without reading it; the end of the table is an outcome. */
bool StepToNext(EngineCursor cursor) {
  EngineResult result = PXStore(EngineGetNextRecord(cursor, ENGINE_NO_LOCK, nullptr, nullptr));
  if (result == ENGINE_OK) return true;
  if (result != ENGINE_ERR_EOF) ReportBdeError();
  return false;
}

}  // namespace

TPXRecord::TPXRecord(TPXTable* table, bool ownCursor) : table_(table) {
  buffer_ = new BYTE[table_->RecordSize() + 1]{};
  if (ownCursor) {
    EngineCursor clone = nullptr;
    if (PXCheck(EngineCloneCursor(table_->Cursor(), FALSE, FALSE, &clone))) {
      cursor_ = clone;
      ownsCursor_ = 1;
    }
  } else {
    cursor_ = table_->Cursor();
  }
  PXCheck(EngineInitRecord(cursor_, buffer_));
  modified_ = 1;
}

TPXRecord::~TPXRecord() {
  TPXTransaction::Forget(this);
  if (ownsCursor_ && cursor_ != nullptr) PXCheck(EngineCloseCursor(&cursor_));
  delete[] buffer_;
}

bool TPXRecord::First() {
  if (!PXCheck(EngineSetToBegin(cursor_))) return false;
  return StepToNext(cursor_);
}

bool TPXRecord::Next() { return StepToNext(cursor_); }

bool TPXRecord::Seek(SHORT keyFieldCount, DWORD condition) {
  keyFieldCount_ = static_cast<WORD>(keyFieldCount);
  searchCondition_ = condition;
  EngineResult result =
      PXStore(EngineSetToKey(cursor_, condition, FALSE, keyFieldCount_, 0, buffer_));
  if (result == ENGINE_ERR_RECNOTFOUND) return false;
  if (result != ENGINE_OK) {
    ReportBdeError();
    return false;
  }
  /* A search at or after a key beyond the last record finds nothing: an outcome, as the end
     of the table is for First and Next, so no box. Any other failure of the step is shown. */
  return StepToNext(cursor_);
}

bool TPXRecord::Read(DWORD lockMode) {
  modified_ = 0;
  return PXCheck(EngineGetRecord(cursor_, lockMode, buffer_, nullptr));
}

bool TPXRecord::ReadNext(DWORD lockMode) {
  modified_ = 0;
  EngineResult result = PXStore(EngineGetNextRecord(cursor_, lockMode, buffer_, nullptr));
  if (result == ENGINE_OK) return true;
  if (result != ENGINE_ERR_EOF) ReportBdeError();
  return false;
}

bool TPXRecord::Lock() {
  EngineResult result = PXStore(EngineGetRecord(cursor_, ENGINE_WRITE_LOCK, nullptr, nullptr));
  if (result == ENGINE_OK || result == ENGINE_ERR_ALREADYLOCKED) return true;
  ReportBdeError();
  return false;
}

void TPXRecord::Unlock() {
  DWORD locked = 0;
  if (!PXCheck(EngineIsRecordLocked(cursor_, &locked)) || !locked) return;
  PXCheck(EngineReleaseRecordLock(cursor_, FALSE));
}

bool TPXRecord::Post() {
  if (!modified_) return true;
  EngineResult result = PXStore(EngineSetToKey(cursor_, ENGINE_KEY_EQ, FALSE, 0, 0, buffer_));
  bool written;
  if (result == ENGINE_OK) {
    /* The key is in use: overwrite that record. */
    written = PXCheck(EngineGetNextRecord(cursor_, ENGINE_NO_LOCK, nullptr, nullptr)) &&
              PXCheck(EngineModifyRecord(cursor_, buffer_, FALSE));
  } else if (result == ENGINE_ERR_RECNOTFOUND) {
    written = PXCheck(EngineInsertRecord(cursor_, ENGINE_NO_LOCK, buffer_));
  } else {
    ReportBdeError();
    written = false;
  }
  if (!written) return TPXTransaction::NoteFailedWrite();
  modified_ = 0;
  TPXTransaction::NoteWritten(this);
  return true;
}

bool TPXRecord::Modify() {
  if (!modified_) return true;
  if (!PXCheck(EngineModifyRecord(cursor_, buffer_, FALSE)))
    return TPXTransaction::NoteFailedWrite();
  modified_ = 0;
  TPXTransaction::NoteWritten(this);
  return true;
}

bool TPXRecord::Insert() {
  /* The new record is then current; writing it again leaves the cursor on it with the
     buffer as stored. */
  if (!PXCheck(EngineInsertRecord(cursor_, ENGINE_NO_LOCK, buffer_)))
    return TPXTransaction::NoteFailedWrite();
  if (!PXCheck(EngineModifyRecord(cursor_, buffer_, FALSE)))
    return TPXTransaction::NoteFailedWrite();
  modified_ = 0;
  TPXTransaction::NoteWritten(this);
  return true;
}

bool TPXRecord::Delete() {
  if (!PXCheck(EngineDeleteRecord(cursor_, nullptr))) return TPXTransaction::NoteFailedWrite();
  modified_ = 0;
  return true;
}

bool TPXRecord::Flush() { return PXCheck(EngineFlushCursor(cursor_)); }

bool TPXRecord::Clear() {
  if (!PXCheck(EngineInitRecord(cursor_, buffer_))) return false;
  modified_ = 0;
  return true;
}
