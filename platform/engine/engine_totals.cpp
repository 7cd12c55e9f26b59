/*
** Totals of a money field by group over the records before a key, in one statement: what a
** report needs from the part of a table it does not list (the balance before a date range)
** without stepping a cursor through every record of it.
*/
#include "platform/engine/engine_cursor.h"
#include "platform/engine/engine_record.h"

#include <cmath>
#include <cstring>
#include <map>
#include <string>
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

/* The stored values of the first count columns, each with its kind, as bytes: rows with
   equal bytes hold equal values. */
void StoredGroupValues(sqlite3_stmt* stmt, int count, std::string* bytes) {
    bytes->clear();
    for (int i = 0; i < count; ++i) {
        sqlite3_value* value = sqlite3_column_value(stmt, i);
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
}

/* The group of the current row by its decoded group fields, made on first meeting it. */
Group& GroupOfRow(sqlite3_stmt* stmt, const TableSchema& schema, const std::vector<int>& groups,
                  std::vector<char>* row, std::map<std::string, Group>* found) {
    for (size_t i = 0; i < groups.size(); ++i) {
        DecodeColumn(stmt, int(i), schema.Field(groups[i]), row->data(), 0);
    }
    Group& group = (*found)[GroupKey(schema, groups, row->data())];
    if (group.record.empty()) {
        group.record.resize(schema.recordSize);
        BlankRecord(schema, group.record.data());
        for (int number : groups) {
            const FieldInfo& field = schema.Field(number);
            group.record[field.nullOffset] = (*row)[field.nullOffset];
            std::memcpy(group.record.data() + field.offset, row->data() + field.offset,
                        field.length);
        }
    }
    return group;
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
    if (EngineResult r = CheckTotalArguments(cursor, keyFieldCount, record, sumField,
                                             groupFieldCount, groupFields, each)) {
        return r;
    }
    const TableSchema& schema = cursor->file->schema();
    const IndexInfo& index = *cursor->index;
    // Columns: the group fields, the total's field, then every field the walk is ordered
    // by, whose values must read back as a walk would read them.
    std::vector<int> groups(groupFields, groupFields + groupFieldCount);
    std::vector<int> columns = groups;
    columns.push_back(sumField);
    columns.insert(columns.end(), cursor->order.begin(), cursor->order.end());
    std::string sql = "SELECT ";
    for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + ColumnName(columns[i]);
    std::string terms, marks;
    for (WORD i = 0; i < keyFieldCount; ++i) {
        terms += (i ? ", " : "") + KeyColumn(schema, index, index.keyFields[i]);
        marks += i ? ", ?" : "?";
    }
    sql += " FROM records WHERE (" + terms + ") < (" + marks + ")";

    sqlite3* db = cursor->file->db();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        EngineResult failure = FailSqlite(sqlite3_errcode(db), db, {TableContext(cursor)});
        sqlite3_finalize(stmt);
        return failure;
    }
    const char* key = static_cast<const char*>(record);
    for (WORD i = 0; i < keyFieldCount; ++i) {
        BindStored(stmt, i + 1, schema.Field(index.keyFields[i]), key);
    }

    // Groups by their decoded values (the order they are given in), and the group of each
    // set of stored values met so far: most rows repeat one met before, and their stored
    // values tell it without decoding them.
    std::map<std::string, Group> found;
    std::unordered_map<std::string, Group*> byStored;
    std::string stored, lastStored;
    Group* last = nullptr;
    std::vector<char> row(schema.recordSize);
    const FieldInfo& sum = schema.Field(sumField);
    const int sumColumn = groupFieldCount;
    int rc;
    bool unfit = false;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (size_t i = 0; i < columns.size() && !unfit; ++i) {
            unfit = !StoredValueFits(sqlite3_column_value(stmt, int(i)), schema.Field(columns[i]));
        }
        if (unfit) break;
        StoredGroupValues(stmt, groupFieldCount, &stored);
        if (last == nullptr || stored != lastStored) {
            Group*& known = byStored[stored];
            if (known == nullptr) known = &GroupOfRow(stmt, schema, groups, &row, &found);
            last = known;
            lastStored = stored;
        }
        Group& group = *last;
        DecodeColumn(stmt, sumColumn, sum, row.data(), 0);
        double amount = 0;
        if (!FieldIsBlank(sum, row.data())) std::memcpy(&amount, row.data() + sum.offset, 8);
        long long cents = 0;
        ++group.total.records;
        if (ExactCents(amount, &cents) &&
            (cents < 0 ? -cents : cents) < kLargestMagnitude - group.total.magnitude) {
            group.total.cents += cents;
            group.total.magnitude += cents < 0 ? -cents : cents;
        } else {
            ++group.total.inexact;
        }
    }
    sqlite3_finalize(stmt);
    if (unfit) {
        return Fail(ENGINE_ERR_TABLEDAMAGED,
                    {TableContext(cursor), "A record holds a value its fields cannot hold"});
    }
    if (rc != SQLITE_DONE) return FailSqlite(rc, db, {TableContext(cursor)});
    for (const auto& entry : found) each(entry.second.record.data(), &entry.second.total, context);
    return ENGINE_OK;
}
