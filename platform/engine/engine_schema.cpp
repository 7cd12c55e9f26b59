/*
** Table shapes: checking a creation descriptor, laying out the record buffer, and storing
** the field and index descriptors inside the table file beside the records.
*/
#include "platform/engine/engine_schema.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <strings.h>

namespace zarne::engine {
namespace {

constexpr int kFormatVersion = 1;
constexpr int kMaxFields = 1024;

std::string FixedText(const char* text, size_t size) {
  return std::string(text, strnlen(text, size));
}

int DataLength(const FieldInfo& field) {
  switch (field.type) {
    case ENGINE_FLD_STRING: return field.units1 + 1;
    case ENGINE_FLD_DATE: return 4;
    case ENGINE_FLD_BLOB: return 8;
    case ENGINE_FLD_INT16: return 2;
    case ENGINE_FLD_INT32: return 4;
    case ENGINE_FLD_FLOAT: return 8;
    default: return 0;
  }
}

bool CheckField(const FieldInfo& field, std::string* problem) {
  // Named only when refused: every open of a table checks each of its fields.
  auto where = [&field] {
    return "field " + std::to_string(field.number) + " (" + field.name + ")";
  };
  if (field.name.empty() || field.name.size() > 31) {
    *problem = where() + ": name must have 1 to 31 characters";
    return false;
  }
  switch (field.type) {
    case ENGINE_FLD_STRING:
      if (field.units1 < 1 || field.units1 > 255) {
        *problem = where() + ": string length must be 1 to 255";
        return false;
      }
      return true;
    case ENGINE_FLD_DATE:
    case ENGINE_FLD_BLOB:
    case ENGINE_FLD_INT16:
    case ENGINE_FLD_INT32:
    case ENGINE_FLD_FLOAT: return true;
    default: *problem = where() + ": unsupported type " + std::to_string(field.type); return false;
  }
}

bool CheckIndexes(const TableSchema& schema, std::string* problem) {
  int primaries = 0;
  for (const IndexInfo& index : schema.indexes) {
    auto where = [&index] {
      return index.primary ? std::string("primary index") : "index \"" + index.name + "\"";
    };
    if (index.keyFields.empty() || index.keyFields.size() > 16) {
      *problem = where() + ": it must have 1 to 16 key fields";
      return false;
    }
    for (int number : index.keyFields) {
      if (number < 1 || number > schema.FieldCount()) {
        *problem = where() + ": key field " + std::to_string(number) + " does not exist";
        return false;
      }
      if (schema.Field(number).type == ENGINE_FLD_BLOB) {
        *problem = where() + ": a blob field cannot be a key";
        return false;
      }
    }
    if (index.primary) {
      ++primaries;
      if (!index.unique) {
        *problem = "the primary index must be unique";
        return false;
      }
    }
  }
  if (primaries > 1) {
    *problem = "a table has at most one primary index";
    return false;
  }
  return true;
}

int Exec(sqlite3* db, const std::string& sql) {
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

std::string JoinNumbers(const std::vector<int>& numbers) {
  std::string text;
  for (int n : numbers) {
    if (!text.empty()) text += ',';
    text += std::to_string(n);
  }
  return text;
}

bool ParseNumbers(const std::string& text, std::vector<int>* numbers) {
  numbers->clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    std::string item = text.substr(start, end - start);
    if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos ||
        item.size() > 6) {
      return false;
    }
    numbers->push_back(std::stoi(item));
    start = end + 1;
  }
  return !numbers->empty();
}

}  // namespace

const IndexInfo* TableSchema::Primary() const {
  for (const IndexInfo& index : indexes) {
    if (index.primary) return &index;
  }
  return nullptr;
}

const IndexInfo* TableSchema::IndexById(int id) const {
  for (const IndexInfo& index : indexes) {
    if (index.id == id) return &index;
  }
  return nullptr;
}

bool TableSchema::ComputeLayout() {
  int offset = FieldCount();  // blank indicators come first
  for (int i = 0; i < FieldCount(); ++i) {
    fields[i].nullOffset = i;
    fields[i].offset = offset;
    fields[i].length = DataLength(fields[i]);
    offset += fields[i].length;
  }
  recordSize = offset;
  return recordSize <= 0xFFFF;
}

std::string ColumnName(int fieldNumber) { return "f" + std::to_string(fieldNumber); }

std::string KeyColumn(const TableSchema& schema, const IndexInfo& index, int fieldNumber) {
  std::string column = ColumnName(fieldNumber);
  if (index.caseInsensitive && schema.Field(fieldNumber).type == ENGINE_FLD_STRING) {
    column += " COLLATE NOCASE";
  }
  return column;
}

EngineResult SchemaFromDesc(const EngineTableCreateDesc& desc, TableSchema* schema,
                            std::string* problem) {
  *schema = TableSchema{};
  if (desc.fieldCount < 1 || desc.fieldCount > kMaxFields || !desc.fields) {
    *problem = "the table must have 1 to " + std::to_string(kMaxFields) + " fields";
    return ENGINE_ERR_INVALIDDESC;
  }
  if (desc.indexCount > 0 && !desc.indexes) {
    *problem = "index count given without indexes";
    return ENGINE_ERR_INVALIDDESC;
  }
  for (int i = 0; i < desc.fieldCount; ++i) {
    const EngineFieldDesc& source = desc.fields[i];
    FieldInfo field;
    field.number = i + 1;
    field.name = FixedText(source.name, sizeof source.name);
    field.type = source.type;
    field.subtype = source.subtype;
    field.units1 = source.units1;
    field.units2 = source.units2;
    if (!CheckField(field, problem)) return ENGINE_ERR_INVALIDDESC;
    for (const FieldInfo& earlier : schema->fields) {
      if (strcasecmp(earlier.name.c_str(), field.name.c_str()) == 0) {
        *problem = "field name " + field.name + " appears twice";
        return ENGINE_ERR_INVALIDDESC;
      }
    }
    schema->fields.push_back(field);
  }
  int nextSecondaryId = 1;
  for (int i = 0; i < desc.indexCount; ++i) {
    const EngineIndexDesc& source = desc.indexes[i];
    IndexInfo index;
    index.primary = source.primary != 0;
    index.id = index.primary ? 0 : nextSecondaryId++;
    index.name = FixedText(source.name, sizeof source.name);
    if (!index.primary && index.name.empty()) index.name = "Index" + std::to_string(index.id);
    index.unique = source.unique != 0 || index.primary;
    index.caseInsensitive = source.caseInsensitive != 0;
    index.keyLength = source.keyLength;
    index.blockSize = source.blockSize;
    if (source.keyFieldCount > 16) {
      *problem = "index " + index.name + " has more than 16 key fields";
      return ENGINE_ERR_INVALIDDESC;
    }
    // The packed record puts its words at odd offsets: copy them out byte-wise.
    for (int k = 0; k < source.keyFieldCount; ++k) {
      WORD number;
      std::memcpy(&number, reinterpret_cast<const char*>(source.keyFields) + 2 * k, 2);
      index.keyFields.push_back(number);
    }
    if (source.descending || source.subset || source.expressionIndex) {
      *problem = "descending, subset and expression indexes are not supported";
      return ENGINE_ERR_NOTSUPPORTED;
    }
    schema->indexes.push_back(index);
  }
  if (!CheckIndexes(*schema, problem)) return ENGINE_ERR_INVALIDDESC;
  if (!schema->ComputeLayout()) {
    *problem = "the record is larger than 65535 bytes";
    return ENGINE_ERR_INVALIDDESC;
  }
  return ENGINE_OK;
}

int WriteSchema(sqlite3* db, const TableSchema& schema) {
  std::string sql =
      "CREATE TABLE engine_format(version INTEGER NOT NULL);"
      "INSERT INTO engine_format VALUES(" +
      std::to_string(kFormatVersion) +
      ");"
      "CREATE TABLE engine_fields(number INTEGER PRIMARY KEY, name TEXT NOT NULL,"
      " type INTEGER NOT NULL, subtype INTEGER NOT NULL, units1 INTEGER NOT NULL,"
      " units2 INTEGER NOT NULL);"
      "CREATE TABLE engine_indexes(id INTEGER PRIMARY KEY, name TEXT NOT NULL,"
      " is_primary INTEGER NOT NULL, is_unique INTEGER NOT NULL,"
      " case_insensitive INTEGER NOT NULL, key_fields TEXT NOT NULL,"
      " key_length INTEGER NOT NULL, block_size INTEGER NOT NULL);";
  int rc = Exec(db, sql);
  if (rc != SQLITE_OK) return rc;

  sqlite3_stmt* insertField = nullptr;
  rc = sqlite3_prepare_v2(db, "INSERT INTO engine_fields VALUES(?,?,?,?,?,?)", -1, &insertField,
                          nullptr);
  for (size_t i = 0; rc == SQLITE_OK && i < schema.fields.size(); ++i) {
    const FieldInfo& f = schema.fields[i];
    sqlite3_bind_int(insertField, 1, f.number);
    sqlite3_bind_text(insertField, 2, f.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insertField, 3, f.type);
    sqlite3_bind_int(insertField, 4, f.subtype);
    sqlite3_bind_int(insertField, 5, f.units1);
    sqlite3_bind_int(insertField, 6, f.units2);
    rc = sqlite3_step(insertField) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    sqlite3_reset(insertField);
  }
  sqlite3_finalize(insertField);
  if (rc != SQLITE_OK) return rc;

  sqlite3_stmt* insertIndex = nullptr;
  rc = sqlite3_prepare_v2(db, "INSERT INTO engine_indexes VALUES(?,?,?,?,?,?,?,?)", -1,
                          &insertIndex, nullptr);
  for (size_t i = 0; rc == SQLITE_OK && i < schema.indexes.size(); ++i) {
    const IndexInfo& x = schema.indexes[i];
    std::string keys = JoinNumbers(x.keyFields);
    sqlite3_bind_int(insertIndex, 1, x.id);
    sqlite3_bind_text(insertIndex, 2, x.name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insertIndex, 3, x.primary);
    sqlite3_bind_int(insertIndex, 4, x.unique);
    sqlite3_bind_int(insertIndex, 5, x.caseInsensitive);
    sqlite3_bind_text(insertIndex, 6, keys.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insertIndex, 7, x.keyLength);
    sqlite3_bind_int(insertIndex, 8, x.blockSize);
    rc = sqlite3_step(insertIndex) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    sqlite3_reset(insertIndex);
  }
  sqlite3_finalize(insertIndex);
  if (rc != SQLITE_OK) return rc;

  // Untyped columns keep each value exactly as bound (no affinity conversions).
  std::string create = "CREATE TABLE records(";
  for (const FieldInfo& f : schema.fields) {
    create += (f.number > 1 ? ", " : "") + ColumnName(f.number);
  }
  rc = Exec(db, create + ")");
  if (rc != SQLITE_OK) return rc;

  const IndexInfo* primary = schema.Primary();
  for (const IndexInfo& index : schema.indexes) {
    std::vector<int> columns = index.keyFields;
    // A secondary index also holds the primary key, so equal keys keep primary order.
    if (!index.primary && primary) {
      for (int number : primary->keyFields) {
        if (std::find(columns.begin(), columns.end(), number) == columns.end()) {
          columns.push_back(number);
        }
      }
    }
    std::string sqlIndex = std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX ix" +
                           std::to_string(index.id) + " ON records(";
    for (size_t i = 0; i < columns.size(); ++i) {
      // Only the index's own key fields follow its case rule; the tail is exact.
      bool own = i < index.keyFields.size();
      sqlIndex +=
          (i ? ", " : "") + (own ? KeyColumn(schema, index, columns[i]) : ColumnName(columns[i]));
    }
    rc = Exec(db, sqlIndex + ")");
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

namespace {

/* The field descriptors, in number order; false (with problem) when one is refused. */
bool ReadFields(sqlite3* db, TableSchema* schema, std::string* problem) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT number, name, type, subtype, units1, units2 FROM "
                         "engine_fields ORDER BY number",
                         -1, &stmt, nullptr) != SQLITE_OK) {
    *problem = std::string("field descriptors unreadable: ") + sqlite3_errmsg(db);
    return false;
  }
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    FieldInfo field;
    field.number = sqlite3_column_int(stmt, 0);
    const unsigned char* name = sqlite3_column_text(stmt, 1);
    field.name = name ? reinterpret_cast<const char*>(name) : "";
    field.type = sqlite3_column_int(stmt, 2);
    field.subtype = sqlite3_column_int(stmt, 3);
    field.units1 = sqlite3_column_int(stmt, 4);
    field.units2 = sqlite3_column_int(stmt, 5);
    if (field.number != schema->FieldCount() + 1 || !CheckField(field, problem)) {
      if (problem->empty()) *problem = "field descriptors out of order";
      sqlite3_finalize(stmt);
      return false;
    }
    schema->fields.push_back(field);
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE || schema->fields.empty() || schema->FieldCount() > kMaxFields) {
    *problem = "field descriptors unreadable or missing";
    return false;
  }
  return true;
}

/* The index descriptors, in id order; false (with problem) when one is damaged. */
bool ReadIndexes(sqlite3* db, TableSchema* schema, std::string* problem) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT id, name, is_primary, is_unique, case_insensitive, "
                         "key_fields, key_length, block_size FROM engine_indexes ORDER BY id",
                         -1, &stmt, nullptr) != SQLITE_OK) {
    *problem = std::string("index descriptors unreadable: ") + sqlite3_errmsg(db);
    return false;
  }
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    IndexInfo index;
    index.id = sqlite3_column_int(stmt, 0);
    const unsigned char* name = sqlite3_column_text(stmt, 1);
    index.name = name ? reinterpret_cast<const char*>(name) : "";
    index.primary = sqlite3_column_int(stmt, 2) != 0;
    index.unique = sqlite3_column_int(stmt, 3) != 0;
    index.caseInsensitive = sqlite3_column_int(stmt, 4) != 0;
    const unsigned char* keys = sqlite3_column_text(stmt, 5);
    index.keyLength = sqlite3_column_int(stmt, 6);
    index.blockSize = sqlite3_column_int(stmt, 7);
    if (!keys || !ParseNumbers(reinterpret_cast<const char*>(keys), &index.keyFields) ||
        index.primary != (index.id == 0)) {
      *problem = "index descriptor " + std::to_string(index.id) + " is damaged";
      sqlite3_finalize(stmt);
      return false;
    }
    schema->indexes.push_back(index);
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE || !CheckIndexes(*schema, problem)) {
    if (problem->empty()) *problem = "index descriptors unreadable";
    return false;
  }
  return true;
}

}  // namespace

bool ReadSchema(sqlite3* db, TableSchema* schema, std::string* problem) {
  *schema = TableSchema{};
  // The format row comes first, and its statement stays open until the shape is read: the
  // reads after it then share its read transaction (one shared lock and one check for
  // another program's change instead of one per statement).
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT version FROM engine_format", -1, &stmt, nullptr) !=
      SQLITE_OK) {
    *problem = std::string("no table descriptors: ") + sqlite3_errmsg(db);
    return false;
  }
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> format(stmt, sqlite3_finalize);
  const int version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
  if (version != kFormatVersion) {
    *problem = "unknown table format " + std::to_string(version);
    return false;
  }
  if (!ReadFields(db, schema, problem) || !ReadIndexes(db, schema, problem)) return false;

  // The record table must have exactly one column per field. (A prepared SELECT * would
  // count them as well, but the names it makes for each column cost a wide table more.)
  int columns = 0;
  sqlite3_stmt* count = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT count(*) FROM pragma_table_info('records')", -1, &count,
                         nullptr) == SQLITE_OK &&
      sqlite3_step(count) == SQLITE_ROW) {
    columns = sqlite3_column_int(count, 0);
  }
  sqlite3_finalize(count);
  if (columns != schema->FieldCount()) {
    *problem = "record table does not match its field descriptors";
    return false;
  }
  if (!schema->ComputeLayout()) {
    *problem = "record too large";
    return false;
  }
  return true;
}

}  // namespace zarne::engine
