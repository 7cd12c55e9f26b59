/*
** Helpers shared by the engine tests: a fresh directory and engine session per test, table
** descriptors shaped like the system's tables, and short typed field accessors.
*/
#ifndef ZARNE_PLATFORM_ENGINE_TESTS_ENGINE_TEST_SUPPORT_H
#define ZARNE_PLATFORM_ENGINE_TESTS_ENGINE_TEST_SUPPORT_H

#include "platform/engine/engine.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace enginetest {

struct FieldShape {
  const char* name;
  WORD type;
  WORD subtype;
  SHORT units1;
};

/* Owns the arrays a creation descriptor points at. */
struct TableShape {
  EngineTableCreateDesc desc{};
  std::vector<EngineFieldDesc> fields;
  std::vector<EngineIndexDesc> indexes;

  TableShape(const std::string& name, const std::vector<FieldShape>& columns) {
    std::strncpy(desc.name, name.c_str(), sizeof desc.name - 1);
    std::strcpy(desc.driverType, "PARADOX");
    for (size_t i = 0; i < columns.size(); ++i) {
      EngineFieldDesc field{};
      field.fieldNumber = WORD(i + 1);
      std::strncpy(field.name, columns[i].name, sizeof field.name - 1);
      field.type = columns[i].type;
      field.subtype = columns[i].subtype;
      field.units1 = columns[i].units1;
      fields.push_back(field);
    }
  }
  TableShape& Index(const char* name, bool primary, bool caseInsensitive, std::vector<WORD> keys) {
    EngineIndexDesc index{};
    std::strncpy(index.name, name, sizeof index.name - 1);
    index.primary = primary;
    index.unique = primary;
    index.maintained = 1;
    index.caseInsensitive = caseInsensitive;
    index.keyFieldCount = WORD(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) index.keyFields[i] = keys[i];
    indexes.push_back(index);
    return *this;
  }
  EngineTableCreateDesc* Desc() {
    desc.fieldCount = WORD(fields.size());
    desc.fields = fields.data();
    desc.indexCount = WORD(indexes.size());
    desc.indexes = indexes.empty() ? nullptr : indexes.data();
    return &desc;
  }
};

/* Restructures the table of shape as the repair utility does: every field kept, every index
   rebuilt, problem records to problems. */
inline EngineResult RestructureToShape(EngineDatabase database, TableShape& shape,
                                       const char* problems) {
  std::vector<EngineRestructureOp> fieldOps(shape.fields.size(), ENGINE_OP_KEEP);
  std::vector<EngineRestructureOp> indexOps(shape.indexes.size(), ENGINE_OP_REBUILD);
  EngineTableCreateDesc* desc = shape.Desc();
  desc->fieldOps = fieldOps.data();
  desc->indexOps = indexOps.empty() ? nullptr : indexOps.data();
  EngineResult result = EngineRestructureTable(database, 1, desc, nullptr, nullptr, problems, 0);
  desc->fieldOps = nullptr;
  desc->indexOps = nullptr;
  return result;
}

inline FieldShape Str(const char* name, SHORT length) { return {name, 1, 0, length}; }
inline FieldShape Date(const char* name) { return {name, 2, 0, 1}; }
inline FieldShape Memo(const char* name) { return {name, 3, 22, 240}; }
inline FieldShape Short(const char* name) { return {name, 5, 0, 1}; }
inline FieldShape Long(const char* name) { return {name, 6, 0, 1}; }
inline FieldShape Float(const char* name) { return {name, 7, 0, 1}; }
inline FieldShape Money(const char* name) { return {name, 7, 21, 1}; }

/* ACCOUNT: primary on FileNum, Type, Seq; "AcctDate" on Date, "AcctNumber" on Number. */
inline TableShape AccountShape(const std::string& name = "ACCOUNT") {
  TableShape shape(name, {Str("FileNum", 15), Str("Type", 1), Float("Seq"), Float("Number"),
                          Short("Bank"), Short("Status"), Date("Date"), Str("PayeeDepositor", 60),
                          Str("Description", 60), Money("Amount")});
  shape.Index("", true, false, {1, 2, 3});
  shape.Index("AcctDate", false, true, {7});
  shape.Index("AcctNumber", false, true, {4});
  return shape;
}

/* A per-file table keyed by FileNum with a memo: enough of every field type. */
inline TableShape FileShape(const std::string& name = "BUYER") {
  TableShape shape(name, {Str("FileNum", 15), Str("Name", 60), Date("CDATE"), Money("A101"),
                          Short("Count"), Long("Big"), Memo("Notes")});
  shape.Index("", true, false, {1});
  return shape;
}

/* A fresh directory and engine session, closed and removed after the test. */
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zarne-engine-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    ASSERT_EQ(EngineInit(ENGINE_VERSION, nullptr), ENGINE_OK);
    ASSERT_EQ(EngineSetPrivateDir((dir_ + "/private").c_str()), ENGINE_OK);
    ASSERT_EQ(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &db_),
              ENGINE_OK);
    ASSERT_EQ(EngineSetDirectory(db_, dir_.c_str()), ENGINE_OK);
  }
  void TearDown() override {
    EngineExit();
    std::filesystem::remove_all(dir_);
  }

  EngineCursor Open(const char* name, WORD indexId = 0) {
    EngineCursor cursor = nullptr;
    EXPECT_EQ(EngineOpenTable(db_, name, "PARADOX", nullptr, nullptr, indexId, 0, 0, 2, 0, nullptr,
                              &cursor),
              ENGINE_OK);
    return cursor;
  }
  std::vector<char> NewRecord(EngineCursor cursor) {
    EngineCursorProps props{};
    EXPECT_EQ(EngineGetCursorProps(cursor, &props), ENGINE_OK);
    std::vector<char> record(props.recordSize);
    EXPECT_EQ(EngineInitRecord(cursor, record.data()), ENGINE_OK);
    return record;
  }
  std::string Path(const std::string& file) const { return dir_ + "/" + file; }

  std::string dir_;
  EngineDatabase db_ = nullptr;
};

/* The reconciliation's section and book-balance query texts, as printf patterns: the entry
   type, bank and status, and the close date. */
inline const char kSectionQuery[] =
    "SORT: ACCOUNT.DB->\"Number\", ACCOUNT.DB->\"Date\"\r\n"
    "ACCOUNT.DB | Type | Number | Bank | Status | Date             | PayeeDepositor | Amount     |\r\n"
    "           | %c    | Check  |%d    | %d      | Check <=%s | Check          | CheckPlus  |\r\n";
inline const char kBookQuery[] =
    "SORT: ACCOUNT.DB->\"Date\"\r\n"
    "ACCOUNT.DB | Type   | Bank | Status  | Date             | Amount     |\r\n"
    "           | Check  | %d    | 2 OR >4 | Check <=%s | CheckPlus  |";

/* A query text from a pattern. */
inline std::string Format(const char* pattern, ...) {
  char text[512];
  va_list args;
  va_start(args, pattern);
  std::vsnprintf(text, sizeof text, pattern, args);
  va_end(args);
  return text;
}

inline void PutText(EngineCursor c, std::vector<char>& r, WORD f, const char* text) {
  ASSERT_EQ(EnginePutField(c, f, r.data(), text), ENGINE_OK);
}
inline void PutDouble(EngineCursor c, std::vector<char>& r, WORD f, double value) {
  ASSERT_EQ(EnginePutField(c, f, r.data(), &value), ENGINE_OK);
}
inline void PutShort(EngineCursor c, std::vector<char>& r, WORD f, SHORT value) {
  ASSERT_EQ(EnginePutField(c, f, r.data(), &value), ENGINE_OK);
}
inline void PutDay(EngineCursor c, std::vector<char>& r, WORD f, DWORD day) {
  ASSERT_EQ(EnginePutField(c, f, r.data(), &day), ENGINE_OK);
}
inline std::string GetText(EngineCursor c, const std::vector<char>& r, WORD f) {
  char text[300] = {};
  EXPECT_EQ(EngineGetField(c, f, r.data(), text, nullptr), ENGINE_OK);
  return text;
}
inline double GetDouble(EngineCursor c, const std::vector<char>& r, WORD f) {
  double value = -1;
  EXPECT_EQ(EngineGetField(c, f, r.data(), &value, nullptr), ENGINE_OK);
  return value;
}
inline DWORD GetDay(EngineCursor c, const std::vector<char>& r, WORD f) {
  DWORD value = 0;
  EXPECT_EQ(EngineGetField(c, f, r.data(), &value, nullptr), ENGINE_OK);
  return value;
}
inline DWORD Day(int month, int day, int year) {
  DWORD value = 0;
  EXPECT_EQ(EngineEncodeDate(WORD(month), WORD(day), SHORT(year), &value), ENGINE_OK);
  return value;
}

/* A child process that runs body, reporting one byte per step on a pipe. */
class Child {
 public:
  template <typename Body>
  explicit Child(Body body) {
    int toParent[2], toChild[2];
    if (::pipe(toParent) != 0 || ::pipe(toChild) != 0) std::abort();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(toParent[0]);
      ::close(toChild[1]);
      out_ = toParent[1];
      in_ = toChild[0];
      body(*this);
      ::_exit(0);
    }
    ::close(toParent[1]);
    ::close(toChild[0]);
    in_ = toParent[0];
    out_ = toChild[1];
  }
  ~Child() {
    if (pid_ > 0) Kill();
    ::close(in_);
    ::close(out_);
  }
  void Send(char c) { ASSERT_EQ(::write(out_, &c, 1), 1); }
  char Receive() {
    char c = 0;
    return ::read(in_, &c, 1) == 1 ? c : '\0';
  }
  /* True when the child has sent something not yet received. */
  bool HasSent() {
    pollfd entry{in_, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1;
  }
  void Kill() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
};

}  // namespace enginetest

#endif
