/*
** TPXRecord: a record buffer with a cursor over one TPXTable, through which every read,
** search and write of table data passes. Fields are addressed by their 1-based number.
**
** Every operation stores the engine's result in gLastDbResult; unexpected results are
** reported to the user and the operation answers false. The outcomes callers expect (end of
** table, key not found, lock already held) answer false or true without a box.
*/
#ifndef ZARNE_TABLEACCESS_PX_RECORD_H
#define ZARNE_TABLEACCESS_PX_RECORD_H

#include "platform/engine/engine.h"
#include "platform/kernel/wintypes.h"

#include <functional>

class TPXTable;

class TPXRecord {
 public:
  /* With ownCursor the record walks its own clone of the table's cursor; without, it shares
     the table's cursor (and moves with every other record that shares it). */
  TPXRecord(TPXTable* table, bool ownCursor);
  ~TPXRecord();
  TPXRecord(const TPXRecord&) = delete;
  TPXRecord& operator=(const TPXRecord&) = delete;

  /* Navigation: the buffer is not filled. False at the end of the table, without a box. */
  bool First();
  bool Next();
  /* Searches for the key already set in the buffer: keyFieldCount 0 is the whole key;
     condition ENGINE_KEY_EQ or ENGINE_KEY_GEQ. An absent key answers false without a box,
     0x2206 in gLastDbResult; a search at or after the key that passes the last record
     answers false without a box, 0x2202 in gLastDbResult. */
  bool Seek(SHORT keyFieldCount, DWORD condition);
  /* Totals the money field sumField over the records before the key set in the buffer (its
     first keyFieldCount key fields, in the cursor's order), one group per set of values of
     the groupCount fields groupFields: `each` is called per group with the buffer holding
     the group's values (the getters read them; every other field is blank). The cursor
     does not move. False without a box when the engine cannot total them (a damaged record
     among them): the caller reads the records one by one instead, which reports it. */
  bool TotalBeforeKey(SHORT keyFieldCount, int sumField, const int* groupFields, int groupCount,
                      const std::function<void(const EngineCentsTotal&)>& each);
  /* Reads the current record (or the next one) into the buffer. */
  bool Read(DWORD lockMode);
  bool ReadNext(DWORD lockMode);
  /* Reads one text field of the record the cursor is on straight from the cursor, leaving
     the buffer as it is: a walk that lists one field copies no record. */
  bool ReadCurrentString(int field, LPSTR buffer, DWORD size);
  /* Write-locks the current record; a lock this program holds already counts as taken. */
  bool Lock();
  void Unlock();

  /* Typed access by field number. A blank number reads as 0 and is written back as 0. */
  bool GetString(int field, LPSTR buffer, DWORD size);
  bool GetDouble(int field, double& value);
  bool GetLong(int field, LONG& value);
  bool GetShort(int field, SHORT& value);
  bool SetString(int field, LPCSTR text);
  bool SetBlob(int field, const void* data, DWORD length);
  bool SetDouble(int field, double value);
  bool SetLong(int field, LONG value);
  bool SetShort(int field, SHORT value);
  /* Bytes a field needs: a blob's current size, else the descriptor's length; 0 on failure. */
  DWORD FieldSize(int field);

  /* Writes: Post overwrites the record with the buffer's key or inserts a new one. A failure
     has had its box; the caller still decides what not to do after it. */
  [[nodiscard]] bool Post();
  [[nodiscard]] bool Modify();
  [[nodiscard]] bool Insert();
  [[nodiscard]] bool Delete();
  bool Flush();
  /* Blanks the buffer again. */
  bool Clear();

  /* Fills this record's empty fields from another record of the same table. */
  bool Merge(TPXRecord& other);
  bool MergeField(int field, TPXRecord& other);

  bool IsModified() const { return modified_ != 0; }
  /* Counts the buffer as unsaved again (its post was taken back). */
  void MarkModified() { modified_ = 1; }
  TPXTable* Table() const { return table_; }
  EngineCursor Cursor() const { return cursor_; }

 private:
  /* Reports a field number outside 1..field count; answers whether it is in range. */
  bool CheckField(int field) const;
  const EngineFieldDesc& Desc(int field) const;
  /* Reads a numeric field as the engine gives it; a blank one is written back as 0. */
  bool ReadNumber(int field, void* value, bool& blank);
  bool WriteBlank0(int field);
  bool PutField(int field, const void* source);
  bool PutBlob(int field, const void* data, DWORD length);
  bool ReadBlob(int field, LPSTR buffer, DWORD size);
  bool MergeBlob(int field, TPXRecord& other);

  TPXTable* table_;
  BYTE* buffer_ = nullptr;
  EngineCursor cursor_ = nullptr;
  BYTE ownsCursor_ = 0;
  DWORD modified_ = 1;
  WORD keyFieldCount_ = 0;
  DWORD searchCondition_ = 0;
};

#endif
