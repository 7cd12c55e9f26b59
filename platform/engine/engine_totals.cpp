/*
** Totals of a money field by group over the records before a key, in one statement: what a
** report needs from the part of a table it does not list (the balance before a date range)
** without stepping a cursor through every record of it. SQLite hands each record's values
** to an aggregate of the engine's own, so no row leaves the statement and none is decoded;
** the records are read through the index's range, or in stored order when most of the file
** lies before the key.
*/
#include "platform/engine/engine_cursor.h"
#include "platform/engine/engine_record.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zarne::engine {
namespace {

// Beyond this an amount's cents no longer fit a double's 53 bits with room to spare.
constexpr double kLargestExactAmount = 1e13;
// A group's sum of absolute cents stays below this, far from overflowing.
constexpr long long kLargestMagnitude = 1LL << 62;

// An amount this close to whole cents (in cents) stands for them: a sum of such amounts,
// rounded to cents after every step, is the sum of their cents, while an amount computed
// in binary (12.34 + 10) is often a bit off the double nearest its cents.
constexpr double kCentsTolerance = 1e-4;

/* The whole cents an amount stands for: those of its "%.2lf" text, when it lies within
   the tolerance of them. */
bool ExactCents(double amount, long long* cents) {
  if (!std::isfinite(amount) || std::fabs(amount) > kLargestExactAmount) return false;
  double scaled = amount * 100.0;
  double whole = std::nearbyint(scaled);
  if (std::fabs(scaled - whole) > kCentsTolerance) return false;
  *cents = static_cast<long long>(whole);
  return true;
}

/* The group fields' blank indicators and bytes: equal for records of one group. */
std::string GroupKey(const TableSchema& schema, const std::vector<int>& groupFields,
                     const char* record) {
  std::string key;
  for (int number : groupFields) {
    const FieldInfo& field = schema.Field(number);
    key += record[field.nullOffset];
    key.append(record + field.offset, field.length);
  }
  return key;
}

struct Group {
  std::vector<char> record;
  EngineCentsTotal total{};
};

/* A value's kind and stored bytes, appended: values with equal bytes are equal values. */
void AppendStoredValue(sqlite3_value* value, std::string* bytes) {
  int kind = sqlite3_value_type(value);
  bytes->push_back(static_cast<char>(kind));
  if (kind == SQLITE_INTEGER) {
    long long number = sqlite3_value_int64(value);
    bytes->append(reinterpret_cast<const char*>(&number), sizeof number);
  } else if (kind == SQLITE_FLOAT) {
    double number = sqlite3_value_double(value);
    bytes->append(reinterpret_cast<const char*>(&number), sizeof number);
  } else if (kind != SQLITE_NULL) {
    const char* text = static_cast<const char*>(sqlite3_value_blob(value));
    int size = sqlite3_value_bytes(value);
    bytes->append(reinterpret_cast<const char*>(&size), sizeof size);
    if (text) bytes->append(text, static_cast<size_t>(size));
  }
}

/* The records of one set of stored group values: its first values (to decode once the
   statement is done) and their total. */
struct StoredGroup {
  std::vector<sqlite3_value*> values;
  EngineCentsTotal total{};
};

struct StoredHash {
  using is_transparent = void;
  size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
};

/* What the statement's aggregate gathers, row by row, inside SQLite: each row's arguments
   are the group fields' values, the amount, then the fields the walk is ordered by that
   are not among them, only checked (a record a walk could not read refuses the total, as
   the walk would fail there). */
struct TotalRun {
  const TableSchema* schema = nullptr;
  std::vector<const FieldInfo*> fields;  // the field of each argument after the first
  size_t groupCount = 0;
  std::unordered_map<std::string, StoredGroup, StoredHash, std::equal_to<>> groups;
  std::string stored;                       // the current row's group values, as bytes
  const std::string* lastStored = nullptr;  // the last row's group's key
  StoredGroup* last = nullptr;
  bool unfit = false;
  bool failed = false;  // out of memory copying a group's values

  ~TotalRun() {
    for (auto& entry : groups)
      for (sqlite3_value* value : entry.second.values) sqlite3_value_free(value);
  }
};

constexpr char kTotalFunction[] = "engine_cents_total";
constexpr char kTotalRunType[] = "zarne-engine-total-run";

/* The amount a stored value stands for (a blank one: 0), as a walk would decode it. */
double StoredAmount(sqlite3_value* value) {
  int kind = sqlite3_value_type(value);
  if (kind == SQLITE_NULL) return 0;
  if (kind == SQLITE_INTEGER && sqlite3_value_int64(value) == kBlankNumber) return 0;
  double amount = sqlite3_value_double(value);
  return amount == static_cast<double>(kBlankNumber) ? 0 : amount;
}

void AddAmount(EngineCentsTotal* total, double amount) {
  long long cents = 0;
  ++total->records;
  if (ExactCents(amount, &cents) &&
      (cents < 0 ? -cents : cents) < kLargestMagnitude - total->magnitude) {
    total->cents += cents;
    total->magnitude += cents < 0 ? -cents : cents;
  } else {
    ++total->inexact;
  }
}

/* The group of the row whose group values are in run->stored, made on first meeting it;
   null when those values do not fit their fields. Equal stored values fit alike, so they
   are checked only when first met. */
StoredGroup* GroupOfRow(TotalRun* run, sqlite3_value** groupValues) {
  auto found = run->groups.find(std::string_view(run->stored));
  if (found == run->groups.end()) {
    for (size_t i = 0; i < run->groupCount; ++i) {
      if (!StoredValueFits(groupValues[i], *run->fields[i])) {
        run->unfit = true;
        return nullptr;
      }
    }
    found = run->groups.emplace(run->stored, StoredGroup{}).first;
    for (size_t i = 0; i < run->groupCount; ++i) {
      sqlite3_value* copy = sqlite3_value_dup(groupValues[i]);
      if (copy == nullptr) run->failed = true;
      found->second.values.push_back(copy);
    }
  }
  run->lastStored = &found->first;
  return &found->second;
}

/* The aggregate's step: one record before the key. Most rows meet the group of the row
   before or one met earlier; their stored values tell it without decoding them. */
void TotalStepOf(TotalRun* run, int argc, sqlite3_value** argv) {
  for (int i = int(run->groupCount) + 1; i < argc; ++i) {
    if (!StoredValueFits(argv[i], *run->fields[size_t(i - 1)])) {
      run->unfit = true;
      return;
    }
  }
  run->stored.clear();
  for (size_t i = 0; i < run->groupCount; ++i) AppendStoredValue(argv[i + 1], &run->stored);
  if (run->last == nullptr || run->stored != *run->lastStored) {
    run->last = GroupOfRow(run, argv + 1);
    if (run->last == nullptr || run->failed) return;
  }
  AddAmount(&run->last->total, StoredAmount(argv[run->groupCount + 1]));
}

void TotalStep(sqlite3_context* context, int argc, sqlite3_value** argv) {
  // The run is found once per statement and kept in the aggregate's own memory: finding it
  // compares the pointer's type name, on every one of a large file's rows otherwise.
  auto** slot = static_cast<TotalRun**>(sqlite3_aggregate_context(context, sizeof(TotalRun*)));
  if (slot == nullptr) {
    sqlite3_result_error_nomem(context);
    return;
  }
  if (*slot == nullptr)
    *slot = static_cast<TotalRun*>(sqlite3_value_pointer(argv[0], kTotalRunType));
  TotalRun* run = *slot;
  if (run == nullptr || run->unfit || run->failed) return;
  try {
    TotalStepOf(run, argc, argv);
  } catch (...) {  // nothing may unwind through SQLite
    run->failed = true;
  }
}

void TotalFinal(sqlite3_context*) {}

/* Prepares the statement, making the aggregate known to the table file's connection the
   first time it is asked for there. */
int PrepareTotal(sqlite3* db, const std::string& sql, sqlite3_stmt** stmt) {
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, stmt, nullptr);
  if (rc == SQLITE_OK || std::strstr(sqlite3_errmsg(db), "no such function") == nullptr) {
    return rc;
  }
  sqlite3_finalize(*stmt);
  *stmt = nullptr;
  // Made once per connection (making it again would expire every prepared statement);
  // not usable from the file's own schema (a view or trigger there cannot call it).
  rc = sqlite3_create_function_v2(db, kTotalFunction, -1, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr,
                                  nullptr, TotalStep, TotalFinal, nullptr);
  if (rc != SQLITE_OK) return rc;
  return sqlite3_prepare_v2(db, sql.c_str(), -1, stmt, nullptr);
}

/* Decodes each set of stored group values as a walk would (one small statement hands them
   back as columns) and merges the sets that decode alike into one group. */
int DecodeGroups(sqlite3* db, const TotalRun& run, std::map<std::string, Group>* found) {
  if (run.groups.empty()) return SQLITE_OK;
  const TableSchema& schema = *run.schema;
  std::vector<int> groupFields;
  for (size_t i = 0; i < run.groupCount; ++i) groupFields.push_back(run.fields[i]->number);
  std::string sql = "SELECT ?";
  for (size_t i = 1; i < run.groupCount; ++i) sql += ", ?";
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
  std::vector<char> row(schema.recordSize);
  for (auto it = run.groups.begin(); rc == SQLITE_OK && it != run.groups.end(); ++it) {
    const StoredGroup& stored = it->second;
    for (size_t i = 0; i < run.groupCount; ++i) {
      sqlite3_bind_value(stmt, int(i + 1), stored.values[i]);
    }
    rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) break;
    rc = SQLITE_OK;
    BlankRecord(schema, row.data());
    for (size_t i = 0; i < run.groupCount; ++i) {
      DecodeColumn(stmt, int(i), schema.Field(groupFields[i]), row.data(), 0);
    }
    sqlite3_reset(stmt);
    Group& group = (*found)[GroupKey(schema, groupFields, row.data())];
    if (group.record.empty()) {
      group.record.resize(schema.recordSize);
      BlankRecord(schema, group.record.data());
      for (int number : groupFields) {
        const FieldInfo& field = schema.Field(number);
        group.record[field.nullOffset] = row[field.nullOffset];
        std::memcpy(group.record.data() + field.offset, row.data() + field.offset, field.length);
      }
    }
    EngineCentsTotal& total = group.total;
    const EngineCentsTotal& more = stored.total;
    total.records += more.records;
    if (more.magnitude < kLargestMagnitude - total.magnitude) {
      total.cents += more.cents;
      total.magnitude += more.magnitude;
      total.inexact += more.inexact;
    } else {
      total.inexact += more.records;  // too large to add up: none of it counts as cents
    }
  }
  sqlite3_finalize(stmt);
  return rc;
}

/* Whether the records before the key are likely most of the file, so that reading the whole
   file in stored order costs less than the index's range with a look-up of each record
   (about twice a stored-order read). Records mostly lie in the order they were entered,
   close to date order, so the row id of the first record at or after the key, against the
   last row id, tells roughly how many come before it. Only the plan depends on it, never
   the total. */
bool MostRecordsBefore(sqlite3* db, const TableSchema& schema, const IndexInfo& index,
                       WORD keyFieldCount, const char* key, const std::string& terms,
                       const std::string& marks) {
  std::string sql = "SELECT (SELECT rowid FROM records WHERE (" + terms + ") >= (" + marks +
                    ") ORDER BY " + terms + " LIMIT 1), (SELECT max(rowid) FROM records)";
  sqlite3_stmt* stmt = nullptr;
  bool most = false;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
    for (WORD i = 0; i < keyFieldCount; ++i) {
      BindStored(stmt, i + 1, schema.Field(index.keyFields[i]), key);
    }
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 1) != SQLITE_NULL) {
      most = sqlite3_column_type(stmt, 0) == SQLITE_NULL ||
             sqlite3_column_int64(stmt, 0) > sqlite3_column_int64(stmt, 1) / 2;
    }
  }
  sqlite3_finalize(stmt);
  return most;
}

EngineResult CheckTotalArguments(EngineCursor cursor, WORD keyFieldCount, const void* record,
                                 WORD sumField, WORD groupFieldCount, const WORD* groupFields,
                                 EngineGroupTotalProc each) {
  if (EngineResult r = CheckCursor(cursor)) return r;
  if (!record || !each || (groupFieldCount > 0 && !groupFields)) {
    return Fail(ENGINE_ERR_INVALIDPARAM, {TableContext(cursor), "No key, group or callback"});
  }
  if (!cursor->index) {
    return Fail(ENGINE_ERR_NOSUCHINDEX, {TableContext(cursor), "The table has no index"});
  }
  const TableSchema& schema = cursor->file->schema();
  if (keyFieldCount < 1 || keyFieldCount > cursor->index->keyFields.size()) {
    return Fail(ENGINE_ERR_INVALIDPARAM,
                {TableContext(cursor), "Key fields " + std::to_string(keyFieldCount)});
  }
  if (sumField < 1 || sumField > schema.FieldCount()) {
    return Fail(ENGINE_ERR_FLDOUTOFRANGE, {TableContext(cursor)});
  }
  if (schema.Field(sumField).type != ENGINE_FLD_FLOAT) {
    return Fail(ENGINE_ERR_INVALIDFLDTYPE, {TableContext(cursor), "The total is not of a number"});
  }
  for (WORD i = 0; i < groupFieldCount; ++i) {
    if (groupFields[i] < 1 || groupFields[i] > schema.FieldCount() ||
        schema.Field(groupFields[i]).type == ENGINE_FLD_BLOB) {
      return Fail(ENGINE_ERR_FLDOUTOFRANGE, {TableContext(cursor)});
    }
  }
  return ENGINE_OK;
}

}  // namespace
}  // namespace zarne::engine

using namespace zarne::engine;

EngineResult EngineTotalBeforeKey(EngineCursor cursor, WORD keyFieldCount, const void* record,
                                  WORD sumField, WORD groupFieldCount, const WORD* groupFields,
                                  EngineGroupTotalProc each, void* context) {
  if (EngineResult r = CheckTotalArguments(cursor, keyFieldCount, record, sumField, groupFieldCount,
                                           groupFields, each)) {
    return r;
  }
  const TableSchema& schema = cursor->file->schema();
  const IndexInfo& index = *cursor->index;
  // The aggregate's arguments: the group fields, the total's field, then every field the
  // walk is ordered by, whose values must read back as a walk would read them. SQLite
  // hands each record's values straight to it: no row leaves the statement.
  std::vector<int> columns(groupFields, groupFields + groupFieldCount);
  columns.push_back(sumField);
  for (int number : cursor->order) {
    if (std::find(columns.begin(), columns.end(), number) == columns.end()) {
      columns.push_back(number);
    }
  }
  TotalRun run;
  run.schema = &schema;
  run.groupCount = groupFieldCount;
  std::string sql = std::string("SELECT ") + kTotalFunction + "(?";
  for (int number : columns) {
    run.fields.push_back(&schema.Field(number));
    sql += ", " + ColumnName(number);
  }
  std::string terms, marks;
  for (WORD i = 0; i < keyFieldCount; ++i) {
    terms += (i ? ", " : "") + KeyColumn(schema, index, index.keyFields[i]);
    marks += i ? ", ?" : "?";
  }
  sqlite3* db = cursor->file->db();
  const char* key = static_cast<const char*>(record);
  const bool wholeFile = MostRecordsBefore(db, schema, index, keyFieldCount, key, terms, marks);
  sql += std::string(") FROM records") + (wholeFile ? " NOT INDEXED" : "") + " WHERE (" + terms +
         ") < (" + marks + ")";

  sqlite3_stmt* stmt = nullptr;
  if (PrepareTotal(db, sql, &stmt) != SQLITE_OK) {
    EngineResult failure = FailSqlite(sqlite3_errcode(db), db, {TableContext(cursor)});
    sqlite3_finalize(stmt);
    return failure;
  }
  sqlite3_bind_pointer(stmt, 1, &run, kTotalRunType, nullptr);
  for (WORD i = 0; i < keyFieldCount; ++i) {
    BindStored(stmt, i + 2, schema.Field(index.keyFields[i]), key);
  }
  int rc = sqlite3_step(stmt);
  sqlite3_finalize(stmt);
  if (run.unfit) {
    return Fail(ENGINE_ERR_TABLEDAMAGED,
                {TableContext(cursor), "A record holds a value its fields cannot hold"});
  }
  if (run.failed) rc = SQLITE_NOMEM;
  if (rc != SQLITE_ROW) return FailSqlite(rc, db, {TableContext(cursor)});
  std::map<std::string, Group> found;
  rc = DecodeGroups(db, run, &found);
  if (rc != SQLITE_OK) return FailSqlite(rc, db, {TableContext(cursor)});
  for (const auto& entry : found) each(entry.second.record.data(), &entry.second.total, context);
  return ENGINE_OK;
}
