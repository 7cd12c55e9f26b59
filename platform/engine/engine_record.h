/*
** Moving field values between record buffers and stored columns: decoding a selected
** row into a buffer, binding a buffer's values as stored, and the key hash of a record.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ENGINE_RECORD_H
#define ZARNE_PLATFORM_ENGINE_ENGINE_RECORD_H

#include "platform/engine/engine_schema.h"

#include <cstdint>
#include <cstring>

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

/* True when a stored value can be read as the field's type without loss. Inline: a page
   reading checks several values of every record with it. */
inline bool StoredFormFits(const StoredForm& form, const FieldInfo& field) {
  const int kind = form.kind;
  switch (field.type) {
    case ENGINE_FLD_STRING: {
      if (kind == SQLITE_NULL) return true;
      if (kind != SQLITE_TEXT) return false;
      // A record holds text up to its first NUL: a NUL inside stored text is damage.
      return form.size <= field.units1 &&
             (form.size == 0 || !std::memchr(form.bytes, 0, size_t(form.size)));
    }
    case ENGINE_FLD_DATE: {
      if (kind == SQLITE_NULL) return true;
      if (kind != SQLITE_INTEGER) return false;
      return form.integer == kBlankDate || (form.integer >= 1 && form.integer <= 3652059);
    }
    case ENGINE_FLD_INT16:
    case ENGINE_FLD_INT32: {
      if (kind == SQLITE_NULL) return true;
      if (kind != SQLITE_INTEGER) return false;
      long long number = form.integer;
      if (number == kBlankNumber) return true;
      return field.type == ENGINE_FLD_INT16 ? number >= -32768 && number <= 32767
                                            : number >= INT32_MIN && number <= INT32_MAX;
    }
    case ENGINE_FLD_FLOAT: {
      if (kind != SQLITE_INTEGER) return kind == SQLITE_NULL || kind == SQLITE_FLOAT;
      // A whole number is read as a double: only one the double holds exactly fits.
      long long number = form.integer;
      if (number == kBlankNumber) return true;
      double real = static_cast<double>(number);
      return real < 9223372036854775808.0 && static_cast<long long>(real) == number;
    }
    case ENGINE_FLD_BLOB: return kind == SQLITE_NULL || kind == SQLITE_BLOB || kind == SQLITE_TEXT;
  }
  return false;
}
bool StoredValueFits(sqlite3_value* value, const FieldInfo& field);

/* The hash that names a record's lock: its primary key, or its row id without one. */
uint64_t RecordLockHash(const TableSchema& schema, const char* record, long long rowid);

}  // namespace zarne::engine

#endif
