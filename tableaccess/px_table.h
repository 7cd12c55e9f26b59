/*
** TPXTable: one open table (or the answer of a QBE query) with its cursor, cursor properties
** and field descriptors. Records (TPXRecord) read and write it; it only opens, describes and
** closes. Failures are stored in gLastDbResult and reported, never thrown.
*/
#ifndef ZARNE_TABLEACCESS_PX_TABLE_H
#define ZARNE_TABLEACCESS_PX_TABLE_H

#include "platform/engine/engine.h"
#include "platform/kernel/wintypes.h"

class TPXTable {
 public:
  /* Opens a table by name in the order of an index (0: primary). A failed open is reported
     and leaves a table with no cursor, no name and no descriptors. */
  TPXTable(LPCSTR name, SHORT indexId);
  ~TPXTable();
  TPXTable(const TPXTable&) = delete;
  TPXTable& operator=(const TPXTable&) = delete;

  /* Runs a QBE text; the answer as a new table the caller deletes, or null after a report. */
  TPXTable* QueryQBE(LPCSTR qbeText);
  /* The id of the index on a field, for opening a second table in that order; 0 on failure. */
  SHORT IndexForField(int field);
  WORD FieldCount() const;
  /* Closes the cursor when one is open; a failed close is reported and keeps the handle. */
  void Close();

  /* What records need of their table. */
  EngineCursor Cursor() const { return cursor_; }
  bool IsOpen() const { return cursor_ != nullptr; }
  WORD RecordSize() const;
  /* The descriptor of a 1-based field, or null when the number is out of range. */
  const EngineFieldDesc* FieldDesc(int field) const;
  /* The table's name as the engine reports it in its cursor properties ("" when unknown). */
  LPCSTR EngineName() const;
  /* The name it was opened by; null for a query answer or a failed open. */
  LPCSTR Name() const { return name_; }

 private:
  explicit TPXTable(EngineCursor answer);
  /* Fetches the cursor properties and field descriptors of the open cursor; false after a
     report, with neither kept. */
  bool LoadDescriptors();

  EngineCursor cursor_ = nullptr;
  EngineCursorProps* props_ = nullptr;
  EngineFieldDesc* fieldDescs_ = nullptr;
  char* name_ = nullptr;
};

#endif
