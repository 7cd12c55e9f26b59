/*
** Fuzz target: QBE query text run by the engine against a small database of ACCOUNT and
** SUMMARY1 rows, as the reconciliation and the 1099 export run theirs. An accepted query's
** answer is walked to its end and every field of every row read into a buffer of exactly
** the field's size; the queried tables must keep every row.
*/
#include "fuzz/fuzz_support.h"
#include "platform/engine/engine.h"
#include "platform/engine/tests/engine_test_support.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using enginetest::AccountShape;
using enginetest::TableShape;

constexpr int kAccountRows = 6;
constexpr int kSummaryRows = 4;

EngineDatabase gDatabase = nullptr;

void Put(EngineCursor cursor, std::vector<char>& record, WORD field, const void* value) {
  FuzzRequire(EnginePutField(cursor, field, record.data(), value) == ENGINE_OK,
              "a seed record's field can be set");
}

std::vector<char> NewRecord(EngineCursor cursor) {
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<char> record(props.recordSize);
  EngineInitRecord(cursor, record.data());
  return record;
}

EngineCursor OpenTable(const char* name) {
  EngineCursor cursor = nullptr;
  FuzzRequire(EngineOpenTable(gDatabase, name, "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                              &cursor) == ENGINE_OK,
              "a seed table opens");
  return cursor;
}

DWORD Day(int month, int day, int year) {
  DWORD value = 0;
  EngineEncodeDate(WORD(month), WORD(day), SHORT(year), &value);
  return value;
}

void FillAccount() {
  EngineCursor cursor = OpenTable("ACCOUNT");
  const char* payees[] = {"Acme Bank", "Zed Title", "Deposit", "Void", "Posted", "Old"};
  for (int i = 0; i < kAccountRows; ++i) {
    std::vector<char> record = NewRecord(cursor);
    std::string file = "F" + std::to_string(1 + i / 2);
    const char* type = i == 2 ? "D" : "C";
    double seq = 1 + i % 2, number = 1001 + i, amount = 10.25 * (i + 1);
    SHORT bank = SHORT(1 + i % 2), status = SHORT(2 + i % 5);
    DWORD date = i == 5 ? ENGINE_BLANK_DATE : Day(3, 1 + i, 2001);
    Put(cursor, record, 1, file.c_str());
    Put(cursor, record, 2, type);
    Put(cursor, record, 3, &seq);
    Put(cursor, record, 4, &number);
    Put(cursor, record, 5, &bank);
    Put(cursor, record, 6, &status);
    Put(cursor, record, 7, &date);
    Put(cursor, record, 8, payees[i]);
    Put(cursor, record, 10, &amount);
    FuzzRequire(EngineInsertRecord(cursor, 0, record.data()) == ENGINE_OK, "a seed row is stored");
  }
  EngineCloseCursor(&cursor);
}

void FillSummary() {
  EngineCursor cursor = OpenTable("SUMMARY1");
  const char* files[] = {"2001-010", "2001-002", "2000-077", "1999-100"};
  for (int i = 0; i < kSummaryRows; ++i) {
    std::vector<char> record = NewRecord(cursor);
    DWORD date = i == 3 ? ENGINE_BLANK_DATE : Day(1 + 3 * i, 5, 2000 + i % 2);
    double amount = 1000.0 * (i + 1);
    Put(cursor, record, 1, files[i]);
    Put(cursor, record, 2, &date);
    Put(cursor, record, 3, &amount);
    FuzzRequire(EngineInsertRecord(cursor, 0, record.data()) == ENGINE_OK, "a seed row is stored");
  }
  EngineCloseCursor(&cursor);
}

/* Walks the cursor from its start, reading every field of every row; answers the rows. */
int ReadEveryRow(EngineCursor cursor) {
  EngineCursorProps props{};
  FuzzRequire(EngineGetCursorProps(cursor, &props) == ENGINE_OK, "an answer has properties");
  std::vector<EngineFieldDesc> descs(props.fieldCount);
  FuzzRequire(EngineGetFieldDescs(cursor, descs.data()) == ENGINE_OK, "an answer has fields");
  std::vector<char> record(props.recordSize);
  int rows = 0;
  while (EngineGetNextRecord(cursor, 0, record.data(), nullptr) == ENGINE_OK) {
    ++rows;
    for (WORD f = 1; f <= props.fieldCount; ++f) {
      const EngineFieldDesc& desc = descs[f - 1];
      size_t size = desc.type == ENGINE_FLD_STRING ? size_t(desc.units1) + 1 : 8;
      std::unique_ptr<char[]> value(new char[size]);
      DWORD blank = 0;
      EngineGetField(cursor, f, record.data(), value.get(), &blank);
    }
  }
  return rows;
}

// Cursors on the queried tables, kept open for the whole run and walked after each query.
EngineCursor gAccount = nullptr;
EngineCursor gSummary = nullptr;

int CountRows(EngineCursor cursor) {
  FuzzRequire(EngineSetToBegin(cursor) == ENGINE_OK, "a table cursor goes back to its start");
  return ReadEveryRow(cursor);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string directory = FuzzScratchDirectory();
  FuzzRequire(EngineInit(ENGINE_VERSION, nullptr) == ENGINE_OK, "the engine starts");
  FuzzRequire(EngineSetPrivateDir((directory + "/private").c_str()) == ENGINE_OK,
              "the private directory is set");
  FuzzRequire(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr,
                                 &gDatabase) == ENGINE_OK,
              "the database opens");
  FuzzRequire(EngineSetDirectory(gDatabase, directory.c_str()) == ENGINE_OK,
              "the database directory is set");
  TableShape account = AccountShape();
  TableShape summary("SUMMARY1", {enginetest::Str("FileNum", 15), enginetest::Date("CDATE"),
                                  enginetest::Money("A101")});
  summary.Index("", true, false, {1});
  FuzzRequire(EngineCreateTable(gDatabase, 0, account.Desc()) == ENGINE_OK, "ACCOUNT is made");
  FuzzRequire(EngineCreateTable(gDatabase, 0, summary.Desc()) == ENGINE_OK, "SUMMARY1 is made");
  FillAccount();
  FillSummary();
  gAccount = OpenTable("ACCOUNT");
  gSummary = OpenTable("SUMMARY1");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  EngineCursor answer = nullptr;
  if (EngineExecQuery(gDatabase, ENGINE_QUERY_QBE, text.c_str(), &answer) == ENGINE_OK) {
    FuzzRequire(answer != nullptr, "an accepted query gives an answer cursor");
    ReadEveryRow(answer);
    FuzzRequire(EngineCloseCursor(&answer) == ENGINE_OK, "an answer cursor closes");
  } else {
    FuzzRequire(answer == nullptr, "a refused query gives no cursor");
  }
  FuzzRequire(CountRows(gAccount) == kAccountRows && CountRows(gSummary) == kSummaryRows,
              "a query leaves the queried tables whole");
  return 0;
}
