/*
** Moving field values between record buffers and stored columns: decoding a selected
** row into a buffer, binding a buffer's values as stored, and the key hash of a record.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_RECORD_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_RECORD_H

#include "platform/engine/engine_schema.h"

#include <cstdint>

namespace zarne::engine {

inline bool FieldIsBlank(const FieldInfo& field, const char* record) {
  return record[field.nullOffset] != 0;
}

/* Every field blank, every data byte zero. */
void BlankRecord(const TableSchema& schema, char* record);

/* The column text that selects a field's stored value (a blob's length only). */
std::string SelectExpression(const FieldInfo& field);

/* Decodes column `column` of a row selected with SelectExpression into the record. A blob
   field keeps rowid so that opening it later finds its content. */
void DecodeColumn(sqlite3_stmt* stmt, int column, const FieldInfo& field, char* record,
                  long long rowid);

/* How a bound text reaches the statement: copied, or read in place from the record, which
   must then stay as it is until the statement has run and its bindings are cleared. */
enum class BindText { kCopied, kInPlace };

/* Binds a (non-blob) field of the record in its stored form. */
void BindStored(sqlite3_stmt* stmt, int parameter, const FieldInfo& field, const char* record,
                BindText text = BindText::kCopied);

/* The row id kept in a blob field's slot (0: none). */
long long BlobSlotRowid(const FieldInfo& field, const char* record);
void SetBlobSlotRowid(const FieldInfo& field, char* record, long long rowid);

/* True when writing either record would store the same values (blob fields: the same
   stored content, by the row their slots name); SameStoredValue for one field. */
bool SameStoredValues(const TableSchema& schema, const char* a, const char* b);
bool SameStoredValue(const FieldInfo& field, const char* a, const char* b);

/* A stored value as the file holds it: its kind (SQLITE_INTEGER ... SQLITE_NULL), its number,
   or its bytes (text or blob, not NUL-terminated), which belong to whoever made the form. */
struct StoredForm {
  int kind = SQLITE_NULL;
  long long integer = 0;
  double real = 0;
  const unsigned char* bytes = nullptr;
  int size = 0;
};

/* The form of a value SQLite hands over (its bytes stay SQLite's while the value lives). */
StoredForm StoredFormOf(sqlite3_value* value);

/* True when a stored value can be read as the field's type without loss. */
bool StoredFormFits(const StoredForm& form, const FieldInfo& field);
bool StoredValueFits(sqlite3_value* value, const FieldInfo& field);

/* The hash that names a record's lock: its primary key, or its row id without one. */
uint64_t RecordLockHash(const TableSchema& schema, const char* record, long long rowid);

}  // namespace zarne::engine

#endif
