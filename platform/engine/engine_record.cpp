/*
** Record-buffer values and their stored forms. Blank numbers and dates are stored as
** stand-ins that sort first, so key columns never hold NULL and row comparisons work.
*/
#include "platform/engine/engine_record.h"

#include "platform/engine/engine_locks.h"

#include <cmath>
#include <cstring>

namespace zarne::engine {
namespace {

size_t StringLength(const FieldInfo& field, const char* record) {
  return strnlen(record + field.offset, field.length - 1);
}

}  // namespace

void BlankRecord(const TableSchema& schema, char* record) {
  std::memset(record, 0, schema.recordSize);
  for (const FieldInfo& field : schema.fields) record[field.nullOffset] = 1;
}

std::string SelectExpression(const FieldInfo& field) {
  if (field.type == ENGINE_FLD_BLOB) return "length(" + ColumnName(field.number) + ")";
  // "+f3" selects the same value as "f3" (a unary plus leaves a value as it is), but for an
  // expression SQLite notes no declared type, database, table and column of origin: preparing
  // a wide select then copies a name per field, not five. Nothing asks a cursor for them.
  return "+" + ColumnName(field.number);
}

long long BlobSlotRowid(const FieldInfo& field, const char* record) {
  long long rowid;
  std::memcpy(&rowid, record + field.offset, sizeof rowid);
  return rowid;
}

void SetBlobSlotRowid(const FieldInfo& field, char* record, long long rowid) {
  std::memcpy(record + field.offset, &rowid, sizeof rowid);
}

void DecodeColumn(sqlite3_stmt* stmt, int column, const FieldInfo& field, char* record,
                  long long rowid) {
  char* data = record + field.offset;
  // One lookup of the column's value serves its type, bytes and text (the connection is
  // used by this thread alone, so the value needs no protection).
  sqlite3_value* stored = sqlite3_column_value(stmt, column);
  int kind = sqlite3_value_type(stored);
  bool blank = kind == SQLITE_NULL;
  if (blank) {
    // Most fields of most records are empty: the shortest way through a walk's rows.
    std::memset(data, 0, field.length);
    record[field.nullOffset] = 1;
    return;
  }
  if (field.type == ENGINE_FLD_STRING) {
    const unsigned char* text = sqlite3_value_text(stored);
    size_t size = text ? static_cast<size_t>(sqlite3_value_bytes(stored)) : 0;
    size = strnlen(reinterpret_cast<const char*>(text), std::min<size_t>(size, field.units1));
    std::memcpy(data, text, size);
    std::memset(data + size, 0, field.length - size);
    record[field.nullOffset] = size == 0 ? 1 : 0;
    return;
  }
  std::memset(data, 0, field.length);
  switch (field.type) {
    case ENGINE_FLD_DATE: {
      long long value = blank ? kBlankDate : sqlite3_column_int64(stmt, column);
      blank = value == kBlankDate;
      uint32_t day = blank ? ENGINE_BLANK_DATE : static_cast<uint32_t>(value);
      std::memcpy(data, &day, 4);
      break;
    }
    case ENGINE_FLD_INT16:
    case ENGINE_FLD_INT32: {
      long long value = blank ? kBlankNumber : sqlite3_column_int64(stmt, column);
      blank = value == kBlankNumber;
      if (blank) break;
      if (field.type == ENGINE_FLD_INT16) {
        int16_t small = static_cast<int16_t>(value);
        std::memcpy(data, &small, 2);
      } else {
        int32_t whole = static_cast<int32_t>(value);
        std::memcpy(data, &whole, 4);
      }
      break;
    }
    case ENGINE_FLD_FLOAT: {
      if (blank) break;
      if (kind == SQLITE_INTEGER && sqlite3_column_int64(stmt, column) == kBlankNumber) {
        blank = true;
        break;
      }
      double value = sqlite3_column_double(stmt, column);
      if (value == static_cast<double>(kBlankNumber)) {
        blank = true;
        break;
      }
      std::memcpy(data, &value, 8);
      break;
    }
    case ENGINE_FLD_BLOB:
      blank = blank || sqlite3_column_int64(stmt, column) == 0;
      SetBlobSlotRowid(field, record, blank ? 0 : rowid);
      break;
  }
  record[field.nullOffset] = blank ? 1 : 0;
}

void BindStored(sqlite3_stmt* stmt, int parameter, const FieldInfo& field, const char* record,
                BindText text) {
  const char* data = record + field.offset;
  bool blank = FieldIsBlank(field, record);
  switch (field.type) {
    case ENGINE_FLD_STRING:
      sqlite3_bind_text(stmt, parameter, blank ? "" : data,
                        blank ? 0 : static_cast<int>(StringLength(field, record)),
                        text == BindText::kInPlace ? SQLITE_STATIC : SQLITE_TRANSIENT);
      break;
    case ENGINE_FLD_DATE: {
      int32_t day;
      std::memcpy(&day, data, 4);
      sqlite3_bind_int64(stmt, parameter, blank ? kBlankDate : day);
      break;
    }
    case ENGINE_FLD_INT16: {
      int16_t value;
      std::memcpy(&value, data, 2);
      sqlite3_bind_int64(stmt, parameter, blank ? kBlankNumber : value);
      break;
    }
    case ENGINE_FLD_INT32: {
      int32_t value;
      std::memcpy(&value, data, 4);
      sqlite3_bind_int64(stmt, parameter, blank ? kBlankNumber : value);
      break;
    }
    case ENGINE_FLD_FLOAT: {
      double value;
      std::memcpy(&value, data, 8);
      if (blank || std::isnan(value)) {
        sqlite3_bind_int64(stmt, parameter, kBlankNumber);
      } else {
        sqlite3_bind_double(stmt, parameter, value);
      }
      break;
    }
    default: sqlite3_bind_null(stmt, parameter); break;
  }
}

namespace {

/* True when both records' values of a non-blob field are stored alike (BindStored's forms:
   text up to its end, a number's bits, or the blank stand-in). */
bool SameStoredForm(const FieldInfo& field, const char* a, const char* b) {
  const char* dataA = a + field.offset;
  const char* dataB = b + field.offset;
  bool blankA = FieldIsBlank(field, a);
  bool blankB = FieldIsBlank(field, b);
  switch (field.type) {
    case ENGINE_FLD_STRING: {
      size_t sizeA = blankA ? 0 : StringLength(field, a);
      size_t sizeB = blankB ? 0 : StringLength(field, b);
      return sizeA == sizeB && std::memcmp(dataA, dataB, sizeA) == 0;
    }
    case ENGINE_FLD_FLOAT: {
      double valueA, valueB;
      std::memcpy(&valueA, dataA, 8);
      std::memcpy(&valueB, dataB, 8);
      blankA = blankA || std::isnan(valueA);
      blankB = blankB || std::isnan(valueB);
      return blankA || blankB ? blankA == blankB : std::memcmp(dataA, dataB, 8) == 0;
    }
    case ENGINE_FLD_DATE:
    case ENGINE_FLD_INT16:
    case ENGINE_FLD_INT32: {
      size_t size = field.type == ENGINE_FLD_INT16 ? 2 : 4;
      return blankA || blankB ? blankA == blankB : std::memcmp(dataA, dataB, size) == 0;
    }
  }
  return true;
}

/* The row a blob field's content comes from, 0 for none. */
long long BlobSource(const FieldInfo& field, const char* record) {
  return FieldIsBlank(field, record) ? 0 : BlobSlotRowid(field, record);
}

}  // namespace

bool SameStoredValue(const FieldInfo& field, const char* a, const char* b) {
  return field.type == ENGINE_FLD_BLOB ? BlobSource(field, a) == BlobSource(field, b)
                                       : SameStoredForm(field, a, b);
}

bool SameStoredValues(const TableSchema& schema, const char* a, const char* b) {
  for (const FieldInfo& field : schema.fields) {
    if (!SameStoredValue(field, a, b)) return false;
  }
  return true;
}

StoredForm StoredFormOf(sqlite3_value* value) {
  StoredForm form;
  form.kind = sqlite3_value_type(value);
  if (form.kind == SQLITE_INTEGER) {
    form.integer = sqlite3_value_int64(value);
  } else if (form.kind == SQLITE_FLOAT) {
    form.real = sqlite3_value_double(value);
  } else if (form.kind == SQLITE_TEXT) {
    form.bytes = sqlite3_value_text(value);
    form.size = sqlite3_value_bytes(value);
  } else if (form.kind == SQLITE_BLOB) {
    form.bytes = static_cast<const unsigned char*>(sqlite3_value_blob(value));
    form.size = sqlite3_value_bytes(value);
  }
  return form;
}

bool StoredValueFits(sqlite3_value* value, const FieldInfo& field) {
  // Only what the check reads is fetched: walks check the order fields of every row.
  StoredForm form;
  form.kind = sqlite3_value_type(value);
  if (form.kind == SQLITE_INTEGER) {
    form.integer = sqlite3_value_int64(value);
  } else if (form.kind == SQLITE_TEXT && field.type == ENGINE_FLD_STRING) {
    form.bytes = sqlite3_value_text(value);
    form.size = sqlite3_value_bytes(value);
  }
  return StoredFormFits(form, field);
}

uint64_t RecordLockHash(const TableSchema& schema, const char* record, long long rowid) {
  const IndexInfo* primary = schema.Primary();
  if (!primary) return HashKey(&rowid, sizeof rowid);
  uint64_t hash = HashKey("", 0);
  for (int number : primary->keyFields) {
    const FieldInfo& field = schema.Field(number);
    size_t size = field.type == ENGINE_FLD_STRING ? StringLength(field, record)
                                                  : static_cast<size_t>(field.length);
    bool blank = FieldIsBlank(field, record);
    hash = HashKey(&blank, 1, hash);
    if (!blank) hash = HashKey(record + field.offset, size, hash);
    hash = HashKey("|", 1, hash);
  }
  return hash;
}

}  // namespace zarne::engine
