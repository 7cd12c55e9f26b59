/*
** Records read in part. A walk decodes only the fields its caller has been reading (and the
** fields it is ordered by); the other fields of a record buffer it fills are marked unread,
** and the first use of the buffer that needs one of them reads the whole record by its row
** id. So a walk that lists one column of a wide table does not decode every column, and no
** caller ever sees a field it did not get.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_PARTREAD_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_PARTREAD_H

#include "platform/engine/engine_cursor.h"

namespace zarne::engine {

/* The blank-indicator value of a field a walk did not decode (1 is blank, 0 holds a value). */
constexpr char kUnreadField = 2;

/* The fields a continuing walk of the cursor decodes: those it is ordered by, the primary key
   (the record's lock) and every field the caller read through it; empty when the whole record
   is wanted. */
std::vector<int> WalkFields(EngineCursor cursor);

/* Copies only the walk's fields of the cursor's current record into record when record
   holds an earlier record of the same walk (its unread marks are in place); false when the
   whole record must be copied. */
bool RefillWalkFields(EngineCursor cursor, void* record);

/* Notes that record now holds the cursor's current record, unread fields and all. */
void NoteRecordFilled(EngineCursor cursor, const void* record);

/* Reads the unread fields of record when a walk filled it in part; field is the one the
   caller asks for (0: the whole record is used, e.g. to be written). */
EngineResult CompleteRecord(EngineCursor cursor, const void* record, int field);

/* Forgets what the record held (it was blanked or filled whole). */
void ForgetRecord(const void* record);

/* Forgets the records the cursor filled (it closes). */
void ForgetRecordsOf(EngineCursor cursor);

}  // namespace zarne::engine

#endif
