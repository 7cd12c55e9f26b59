/*
** The shape of one table: its fields, its indexes and the record-buffer layout made from
** them, plus how that shape is stored in and read back from a table file.
**
** Record buffer: one blank-indicator byte per field (1 = blank) at the start, then each
** field's data: strings units1 + 1 bytes NUL-terminated, dates u32, 16-bit and 32-bit
** integers, floats as double, and for a blob the 64-bit row id of the record it was read
** from (0 for none), through which its content is found when the blob is opened.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_SCHEMA_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_SCHEMA_H

#include "platform/engine/engine_internal.h"

#include <string>
#include <vector>

namespace zarne::engine {

struct FieldInfo {
  int number = 0;  // 1-based
  std::string name;
  int type = 0;
  int subtype = 0;
  int units1 = 0;
  int units2 = 0;
  int offset = 0;      // of the data in the record buffer
  int length = 0;      // bytes of the data
  int nullOffset = 0;  // of the blank indicator
};

struct IndexInfo {
  int id = 0;  // 0 primary, secondaries 1, 2, ... in creation order
  std::string name;
  bool primary = false;
  bool unique = false;
  bool caseInsensitive = false;
  std::vector<int> keyFields;  // 1-based field numbers
  int keyLength = 0;
  int blockSize = 0;
};

struct TableSchema {
  std::vector<FieldInfo> fields;
  std::vector<IndexInfo> indexes;
  int recordSize = 0;

  const IndexInfo* Primary() const;
  const IndexInfo* IndexById(int id) const;
  const FieldInfo& Field(int number) const { return fields[number - 1]; }
  int FieldCount() const { return static_cast<int>(fields.size()); }
  /* Fills offsets, lengths and the record size; false when the record is too large. */
  bool ComputeLayout();
};

/* Builds a schema from a creation descriptor; on failure problem says what is wrong. */
EngineResult SchemaFromDesc(const EngineTableCreateDesc& desc, TableSchema* schema,
                            std::string* problem);

/* Creates the descriptor tables, the record table and its SQL indexes in an empty file. */
int WriteSchema(sqlite3* db, const TableSchema& schema);

/* Reads the shape back; false (with problem) when the file does not hold a table. */
bool ReadSchema(sqlite3* db, TableSchema* schema, std::string* problem);

/* "f<number>", the column of a field in the record table. */
std::string ColumnName(int fieldNumber);

/* The column expression as an index of that kind compares it. */
std::string KeyColumn(const TableSchema& schema, const IndexInfo& index, int fieldNumber);

/* Stored stand-ins for blank values, so key columns never hold NULL and blanks sort first. */
constexpr long long kBlankNumber = -9223372036854775807LL - 1;
constexpr long long kBlankDate = -2147483648LL;

}  // namespace zarne::engine

#endif
