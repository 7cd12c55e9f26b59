/*
** Totals of a money field by group over the records before a key, in one pass over them: what a
** report needs from the part of a table it does not list (the balance before a date range)
** without stepping a cursor through every record of it. When most of the file lies before
** a key of one whole-number field (a date), the records are read straight from the file's
** pages; otherwise, or when the pages hold anything that reading leaves to SQLite, SQLite
** hands each record's values to an aggregate of the engine's own, reading the index's range
** or the file in stored order. Either way no row is decoded: a group's stored values are
** decoded once, after the records.
*/
#include "platform/engine/engine_cursor.h"
#include "platform/engine/engine_pagescan.h"
#include "platform/engine/engine_record.h"

#include <algorithm>
#include <array>
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
  // Rounded to the nearest whole number, ties to even, as nearbyint rounds, without a call:
  // below 2^51 in size, adding 1.5 * 2^52 leaves no bits after the point.
  constexpr double kRounder = 6755399441055744.0;
  double whole = (scaled + kRounder) - kRounder;
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

/* A form's kind and stored bytes, appended: values with equal bytes are equal values. */
void AppendStoredForm(const StoredForm& form, std::string* bytes) {
  bytes->push_back(static_cast<char>(form.kind));
  if (form.kind == SQLITE_INTEGER) {
    bytes->append(reinterpret_cast<const char*>(&form.integer), sizeof form.integer);
  } else if (form.kind == SQLITE_FLOAT) {
    bytes->append(reinterpret_cast<const char*>(&form.real), sizeof form.real);
  } else if (form.kind != SQLITE_NULL) {
    bytes->append(reinterpret_cast<const char*>(&form.size), sizeof form.size);
    if (form.bytes) bytes->append(reinterpret_cast<const char*>(form.bytes), size_t(form.size));
  }
}

/* A stored value kept past the row it came with. */
struct KeptForm {
  int kind = SQLITE_NULL;
  long long integer = 0;
  double real = 0;
  std::string bytes;
};

/* The records of one set of stored group values: its first values (to decode once the
   records are all read) and their total. */
struct StoredGroup {
  std::vector<KeptForm> values;
  EngineCentsTotal total{};
};

struct StoredHash {
  using is_transparent = void;
  size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
};

/* What the total gathers, record by record: each record's forms are the group fields'
   values, the amount, then the fields the walk is ordered by that are not among them, only
   checked (a record a walk could not read refuses the total, as the walk would fail there). */
struct TotalRun {
  const TableSchema* schema = nullptr;
  std::vector<const FieldInfo*> fields;  // the field of each form
  size_t groupCount = 0;
  std::unordered_map<std::string, StoredGroup, StoredHash, std::equal_to<>> groups;
  std::string stored;  // a record's group values, as bytes, when its group is looked up
  // Groups met lately, by a quick hash of their stored values: records of a few groups
  // mixed together find theirs without a look-up in the map.
  std::array<StoredGroup*, 64> recent{};
  // The groups met in a page reading, by the word of their stored values (PageRecord::Word):
  // a small table, each word in the first free slot from its hash on.
  struct WordGroup {
    uint64_t word = 0;
    StoredGroup* group = nullptr;
  };
  std::array<WordGroup, 256> byWord{};
  std::vector<StoredForm> forms;  // the current record's, as SQLite hands them over
  bool unfit = false;
  bool failed = false;  // out of memory

  /* Forgets every record taken, for a reading afresh. */
  void Restart() {
    groups.clear();
    recent.fill(nullptr);
    byWord.fill({});
    unfit = failed = false;
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

/* StoredAmount of a form read from the file's pages; false for text or a blob, whose
   number only SQLite's own reading of it gives. */
bool FormAmount(const StoredForm& form, double* amount) {
  double value = 0;
  if (form.kind == SQLITE_INTEGER) {
    value = form.integer == kBlankNumber ? 0 : static_cast<double>(form.integer);
  } else if (form.kind == SQLITE_FLOAT) {
    value = form.real;
  } else if (form.kind != SQLITE_NULL) {
    return false;
  }
  *amount = value == static_cast<double>(kBlankNumber) ? 0 : value;
  return true;
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

/* Adds a total gathered apart to another; none of it counts as cents when the two together
   would grow too large to add up. */
void AddTotal(EngineCentsTotal* total, const EngineCentsTotal& more) {
  total->records += more.records;
  if (more.magnitude < kLargestMagnitude - total->magnitude) {
    total->cents += more.cents;
    total->magnitude += more.magnitude;
    total->inexact += more.inexact;
  } else {
    total->inexact += more.records;
  }
}

/* The group of a record's group values, found by their stored bytes and made on first
   meeting them; null when those values do not fit their fields. Equal stored values fit
   alike, so they are checked only when first met. */
StoredGroup* GroupOfRow(TotalRun* run, const StoredForm* groupValues) {
  run->stored.clear();
  for (size_t i = 0; i < run->groupCount; ++i) AppendStoredForm(groupValues[i], &run->stored);
  auto found = run->groups.find(std::string_view(run->stored));
  if (found == run->groups.end()) {
    for (size_t i = 0; i < run->groupCount; ++i) {
      if (!StoredFormFits(groupValues[i], *run->fields[i])) {
        run->unfit = true;
        return nullptr;
      }
    }
    found = run->groups.emplace(run->stored, StoredGroup{}).first;
    for (size_t i = 0; i < run->groupCount; ++i) {
      const StoredForm& form = groupValues[i];
      KeptForm kept{form.kind, form.integer, form.real, {}};
      if (form.bytes)
        kept.bytes.assign(reinterpret_cast<const char*>(form.bytes), size_t(form.size));
      found->second.values.push_back(std::move(kept));
    }
  }
  return &found->second;
}

constexpr uint64_t kHashFactor = 0x9E3779B97F4A7C15ULL;

/* A quick hash of a record's group values: it only spreads groups over the recent ones, so
   a clash costs a look-up, never a wrong group. */
size_t QuickHash(const StoredForm* forms, size_t count) {
  uint64_t hash = count;
  for (size_t i = 0; i < count; ++i) {
    const StoredForm& form = forms[i];
    uint64_t word = 0;
    if (form.kind == SQLITE_INTEGER) {
      word = uint64_t(form.integer);
    } else if (form.kind == SQLITE_FLOAT) {
      std::memcpy(&word, &form.real, sizeof word);
    } else if (form.kind != SQLITE_NULL) {
      word = uint64_t(form.size);
      for (int b = 0; b < form.size; ++b) hash = (hash ^ form.bytes[b]) * kHashFactor;
    }
    hash = (hash ^ uint64_t(form.kind)) * kHashFactor;
    hash = (hash ^ word) * kHashFactor;
  }
  return size_t(hash >> 58);
}

/* Whether a record's group values are stored as a group's first ones were: the same kind
   and the same bytes. */
bool SameGroupValues(const std::vector<KeptForm>& kept, const StoredForm* forms) {
  for (size_t i = 0; i < kept.size(); ++i) {
    const KeptForm& a = kept[i];
    const StoredForm& b = forms[i];
    if (a.kind != b.kind) return false;
    if (a.kind == SQLITE_INTEGER && a.integer != b.integer) return false;
    if (a.kind == SQLITE_FLOAT && std::memcmp(&a.real, &b.real, sizeof a.real) != 0) return false;
    if ((a.kind == SQLITE_TEXT || a.kind == SQLITE_BLOB) &&
        (a.bytes.size() != size_t(b.size) ||
         (b.size > 0 && std::memcmp(a.bytes.data(), b.bytes, size_t(b.size)) != 0))) {
      return false;
    }
  }
  return true;
}

/* The group of a record's group values (its forms, as TotalRun describes); null when they
   do not fit their fields. */
StoredGroup* GroupOfForms(TotalRun* run, const StoredForm* forms) {
  StoredGroup*& recent = run->recent[QuickHash(forms, run->groupCount)];
  if (recent == nullptr || !SameGroupValues(recent->values, forms)) {
    StoredGroup* group = GroupOfRow(run, forms);
    if (group == nullptr) return nullptr;
    recent = group;
  }
  return recent;
}

/* Whether a record's values after its amount fit their fields, formAt(i) giving the form of
   its i-th value; the run is marked unfit when one does not. */
template <typename FormAt>
bool RestFits(TotalRun* run, const FormAt& formAt) {
  for (size_t i = run->groupCount + 1; i < run->fields.size(); ++i) {
    if (!StoredFormFits(formAt(i), *run->fields[i])) {
      run->unfit = true;
      return false;
    }
  }
  return true;
}

/* One record before the key: its forms (as TotalRun describes) and its amount. Nearly every
   record meets a group met before; its stored values tell which without decoding them. */
void TakeRecord(TotalRun* run, const StoredForm* forms, double amount) {
  if (!RestFits(run, [forms](size_t i) { return forms[i]; })) return;
  if (StoredGroup* group = GroupOfForms(run, forms)) AddAmount(&group->total, amount);
}

/* The aggregate's step: one record before the key, its values after the run's pointer. */
void TotalStepOf(TotalRun* run, int argc, sqlite3_value** argv) {
  run->forms.resize(size_t(argc - 1));
  for (int i = 1; i < argc; ++i) run->forms[size_t(i - 1)] = StoredFormOf(argv[i]);
  TakeRecord(run, run->forms.data(), StoredAmount(argv[run->groupCount + 1]));
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

/* Binds a kept value as it was stored. */
void BindKept(sqlite3_stmt* stmt, int parameter, const KeptForm& kept) {
  switch (kept.kind) {
    case SQLITE_INTEGER: sqlite3_bind_int64(stmt, parameter, kept.integer); break;
    case SQLITE_FLOAT: sqlite3_bind_double(stmt, parameter, kept.real); break;
    case SQLITE_TEXT:
      sqlite3_bind_text(stmt, parameter, kept.bytes.data(), int(kept.bytes.size()), SQLITE_STATIC);
      break;
    case SQLITE_BLOB:
      sqlite3_bind_blob(stmt, parameter, kept.bytes.data(), int(kept.bytes.size()), SQLITE_STATIC);
      break;
    default: sqlite3_bind_null(stmt, parameter); break;
  }
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
    for (size_t i = 0; i < run.groupCount; ++i) BindKept(stmt, int(i + 1), stored.values[i]);
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
    AddTotal(&group.total, stored.total);
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

/* Runs the total's statement (sql) over run: SQLITE_ROW when it ran through, else the
   failure of its preparation or of its step. */
int RunTotalStatement(sqlite3* db, const std::string& sql, const TableSchema& schema,
                      const IndexInfo& index, WORD keyFieldCount, const char* key, TotalRun* run) {
  sqlite3_stmt* stmt = nullptr;
  if (PrepareTotal(db, sql, &stmt) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    return sqlite3_errcode(db);
  }
  sqlite3_bind_pointer(stmt, 1, run, kTotalRunType, nullptr);
  for (WORD i = 0; i < keyFieldCount; ++i) {
    BindStored(stmt, i + 2, schema.Field(index.keyFields[i]), key);
  }
  int rc = sqlite3_step(stmt);
  sqlite3_finalize(stmt);
  return rc;
}

/* The key's stored value when it is one whole number, as the statement would bind it. */
bool WholeNumberKey(sqlite3* db, const FieldInfo& field, const char* key, long long* value) {
  if (field.type != ENGINE_FLD_DATE && field.type != ENGINE_FLD_INT16 &&
      field.type != ENGINE_FLD_INT32) {
    return false;
  }
  sqlite3_stmt* stmt = nullptr;
  bool whole = false;
  if (sqlite3_prepare_v2(db, "SELECT ?1", -1, &stmt, nullptr) == SQLITE_OK) {
    BindStored(stmt, 1, field, key);
    whole = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) == SQLITE_INTEGER;
    if (whole) *value = sqlite3_column_int64(stmt, 0);
  }
  sqlite3_finalize(stmt);
  return whole;
}

// Threads a page reading of many leaves may use.
constexpr size_t kPageThreads = 4;
// Slots of the word table looked at for one word before giving up on it.
constexpr size_t kWordProbes = 8;

/* The group of a page record, by its word when one of the table's slots holds it; else by
   its group values' forms (entering the word in the first free slot); null when those do
   not fit their fields. */
StoredGroup* GroupOfPageRecord(TotalRun* run, const PageRecord& record) {
  const uint64_t word = record.Word();
  TotalRun::WordGroup* free = nullptr;
  if (word != 0) {
    const size_t first = size_t((word * kHashFactor) >> 56);
    for (size_t probe = 0; probe < kWordProbes && free == nullptr; ++probe) {
      TotalRun::WordGroup& slot = run->byWord[(first + probe) % run->byWord.size()];
      if (slot.word == word) return slot.group;
      if (slot.word == 0) free = &slot;
    }
  }
  StoredForm* forms = run->forms.data();
  for (size_t i = 0; i < run->groupCount; ++i) forms[i] = record.Form(i);
  StoredGroup* group = GroupOfForms(run, forms);
  if (group != nullptr && free != nullptr) *free = {word, group};
  return group;
}

/* Moves the groups of a run gathered by another thread into run. */
void MergeRun(TotalRun* run, TotalRun* part) {
  for (auto& [bytes, group] : part->groups) {
    auto [found, added] = run->groups.try_emplace(bytes);
    if (added) found->second = std::move(group);
    else AddTotal(&found->second.total, group.total);
  }
}

/* A record read from the file's pages, checked and counted as TakeRecord does; false ends
   the reading. Only the values needed are read: the group's only for a group not met by
   its word. */
bool TakePageRecord(void* context, const PageRecord& record) {
  auto* run = static_cast<TotalRun*>(context);
  double amount = 0;
  if (!FormAmount(record.Form(run->groupCount), &amount)) return false;
  if (!RestFits(run, [&record](size_t i) { return record.Form(i); })) return false;
  try {
    if (StoredGroup* group = GroupOfPageRecord(run, record)) AddAmount(&group->total, amount);
  } catch (...) { run->failed = true; }
  return !run->unfit && !run->failed;
}

/* Totals the records before a key of one whole-number field straight from the file's pages
   (see engine_pagescan): no statement steps through them. False when the file could not be
   read so; nothing in run counts then. */
bool TotalFromPages(sqlite3* db, const TableSchema& schema, const IndexInfo& index,
                    WORD keyFieldCount, const char* key, const std::vector<int>& columns,
                    TotalRun* run) {
  long long below = 0;
  if (keyFieldCount != 1 || !WholeNumberKey(db, schema.Field(index.keyFields[0]), key, &below)) {
    return false;
  }
  // The other threads' runs, merged into run once all is read.
  std::vector<TotalRun> parts(kPageThreads - 1);
  std::vector<void*> contexts{run};
  for (TotalRun& part : parts) {
    part.schema = run->schema;
    part.fields = run->fields;
    part.groupCount = run->groupCount;
    contexts.push_back(&part);
  }
  for (void* context : contexts) static_cast<TotalRun*>(context)->forms.resize(columns.size());
  if (!ScanRecordsBelow(db, index.keyFields[0], below, columns, run->groupCount, TakePageRecord,
                        contexts)) {
    return false;
  }
  try {
    for (TotalRun& part : parts) MergeRun(run, &part);
  } catch (...) { return false; }
  return true;
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
  int rc = SQLITE_ROW;
  if (!wholeFile || !TotalFromPages(db, schema, index, keyFieldCount, key, columns, &run)) {
    run.Restart();
    rc = RunTotalStatement(db,
                           sql + ") FROM records" + (wholeFile ? " NOT INDEXED" : "") + " WHERE (" +
                               terms + ") < (" + marks + ")",
                           schema, index, keyFieldCount, key, &run);
  }
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
