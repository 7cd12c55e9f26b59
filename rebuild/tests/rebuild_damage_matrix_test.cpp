/*
** The damage matrix: ACCOUNT and BUYER of the catalogue, 400 records each, damaged in 210
** ways chosen by a fixed seed (bytes overwritten inside a leaf of records, whole pages
** garbage or zeroed, the header page, the root page of the records, cuts at and between
** page boundaries, an empty file), each backed up and rebuilt as the utility does it.
** Which records must survive is worked out from the intact file's own page map (SQLite's
** dbstat) and the bytes the test changed: every record stored on a page whose bytes are
** unchanged, and no other.
*/
#include "catalogue/table_catalog.h"
#include "platform/engine/engine.h"
#include "platform/engine/tests/engine_salvage_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>

using namespace enginetest;

namespace {

constexpr int kRecords = 400;
constexpr int kCasesPerTable = 104;
constexpr size_t kMarkerLength = 9;  // "AMK000123"

std::string Numbered(const char* prefix, int n) {
  char text[24];
  std::snprintf(text, sizeof text, "%s%06d", prefix, n);
  return text;
}

/* One table of the matrix: how it is filled and how a record is compared. */
struct MatrixTable {
  const char* name;
  const char* backup;
  const char* problems;
  const char* markerPrefix;
  std::string fillSql;
  std::vector<int> fields;                                     // compared, by field number
  std::map<std::string, std::map<int, std::string>> expected;  // marker -> fields
};

MatrixTable Account() {
  MatrixTable t{"ACCOUNT", "ACTBU", "ACTPROB", "AMK", "", {1, 2, 3, 4, 7, 8, 9, 10}, {}};
  t.fillSql =
      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 399) "
      "INSERT INTO records SELECT printf('F%06d', i / 10), 'C', i % 10 + 0.0, "
      "5000 + (i * 7919) % 1000 + 0.0, NULL, NULL, 730000 + (i * 37) % 365, "
      "'A payee of reasonable length', printf('AMK%06d', i), i + 0.25 FROM n";
  for (int n = 0; n < kRecords; ++n) {
    t.expected[Numbered("AMK", n)] = {{1, Numbered("F", n / 10)},
                                      {2, "C"},
                                      {3, std::to_string(n % 10)},
                                      {4, std::to_string(5000 + (n * 7919) % 1000)},
                                      {7, std::to_string(730000 + (n * 37) % 365)},
                                      {8, "A payee of reasonable length"},
                                      {9, Numbered("AMK", n)},
                                      {10, std::to_string(n) + ".25"}};
  }
  return t;
}

MatrixTable Buyer() {
  MatrixTable t{"BUYER", "BUYBU", "BUYPROB", "BMK", "", {1, 2, 8, 9}, {}};
  std::string columns;
  for (int n = 10; n <= 42; ++n) columns += ", NULL";
  t.fillSql =
      "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 399) "
      "INSERT INTO records SELECT printf('F%06d', i), printf('BMK%06d', i), "
      "NULL, NULL, NULL, NULL, NULL, 'A street ' || i, 'Springfield'" +
      columns + " FROM n";
  for (int n = 0; n < kRecords; ++n) {
    t.expected[Numbered("BMK", n)] = {{1, Numbered("F", n)},
                                      {2, Numbered("BMK", n)},
                                      {8, "A street " + std::to_string(n)},
                                      {9, "Springfield"}};
  }
  return t;
}

/* A field as text: strings as they are, numbers without a zero fraction, amounts to cents. */
std::string FieldText(EngineCursor cursor, const std::vector<EngineFieldDesc>& descs,
                      const std::vector<char>& record, int number) {
  char buffer[300] = {};
  DWORD blank = 0;
  EngineGetField(cursor, WORD(number), record.data(), buffer, &blank);
  const EngineFieldDesc& desc = descs[size_t(number - 1)];
  if (blank) return "";
  if (desc.type == ENGINE_FLD_STRING) return buffer;
  if (desc.type == ENGINE_FLD_DATE) return std::to_string(*reinterpret_cast<DWORD*>(buffer));
  double value = *reinterpret_cast<double*>(buffer);
  char text[64];
  std::snprintf(text, sizeof text, desc.subtype == 21 ? "%.2f" : "%.0f", value);
  return text;
}

class RebuildDamageMatrixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zarne-matrix-XXXXXX";
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
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  /* Creates the table from the catalogue and fills it in one transaction of raw SQLite
       (each page gets its check value as the engine's own writes would give it). */
  std::string MakePristine(const MatrixTable& t) {
    EXPECT_EQ(EngineCreateTable(db_, 0, FindCatalogTable(t.name)), ENGINE_OK);
    RawExec(Path(std::string(t.name) + ".DB"), "BEGIN; " + t.fillSql + "; COMMIT;");
    return FileBytes(Path(std::string(t.name) + ".DB"));
  }

  /* Every record of the table: marker -> compared fields. */
  std::map<std::string, std::map<int, std::string>> Records(const MatrixTable& t, int* fieldCount) {
    std::map<std::string, std::map<int, std::string>> rows;
    EngineCursor cursor = nullptr;
    EXPECT_EQ(
        EngineOpenTable(db_, t.name, "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &cursor),
        ENGINE_OK);
    if (!cursor) return rows;
    EngineCursorProps props{};
    EngineGetCursorProps(cursor, &props);
    *fieldCount = props.fieldCount;
    std::vector<EngineFieldDesc> descs(props.fieldCount);
    EngineGetFieldDescs(cursor, descs.data());
    std::vector<char> record(props.recordSize);
    int markerField = t.fields[size_t(t.name == std::string("ACCOUNT") ? 6 : 1)];
    while (EngineGetNextRecord(cursor, 0, record.data(), nullptr) == ENGINE_OK) {
      std::map<int, std::string> fields;
      for (int number : t.fields) fields[number] = FieldText(cursor, descs, record, number);
      rows[fields[markerField]] = fields;
    }
    EngineCloseCursor(&cursor);
    return rows;
  }

  void RunMatrix(MatrixTable t, unsigned seed);

  std::string dir_;
  EngineDatabase db_ = nullptr;
};

enum DamageKind {
  kOverwriteInLeaf,
  kGarbagePage,
  kZeroedPage,
  kHeaderPage,
  kRootPage,
  kCutAtPage,
  kCutInPage,
  kKinds
};

void RebuildDamageMatrixTest::RunMatrix(MatrixTable t, unsigned seed) {
  const std::string table = Path(std::string(t.name) + ".DB");
  const std::string pristine = MakePristine(t);
  int pageSize = 0;
  std::vector<PageInfo> pages = PagesOf(table, &pageSize);
  // The intact file's page map: the markers on each leaf of records, the root of the
  // records and the pages of the primary index.
  std::map<int, std::set<std::string>> markersOnLeaf;
  std::set<int> primaryIndexPages;
  int root = 0;
  for (const PageInfo& page : pages) {
    if (page.tree == "records" && page.kind == "leaf") {
      markersOnLeaf[page.number] =
          MarkersIn(pristine.substr(size_t(page.number - 1) * pageSize, pageSize), t.markerPrefix,
                    kMarkerLength);
    }
    if (page.tree == "records" && page.kind == "internal" && (!root || page.number < root))
      root = page.number;
    if (page.tree == "ix0") primaryIndexPages.insert(page.number);
  }
  size_t onLeaves = 0;
  for (const auto& [number, markers] : markersOnLeaf) onLeaves += markers.size();
  ASSERT_EQ(onLeaves, size_t(kRecords));
  ASSERT_GT(root, 0);
  const int pageCount = int(pristine.size() / size_t(pageSize));
  std::vector<int> leaves;
  for (const auto& entry : markersOnLeaf) leaves.push_back(entry.first);

  std::mt19937 random(seed);
  auto below = [&](uint32_t n) { return int(random() % n); };
  for (int c = 0; c <= kCasesPerTable; ++c) {
    std::string damaged = pristine;
    std::string what;
    int kind = c == kCasesPerTable ? -1 : c % kKinds;
    auto garbage = [&](size_t at, size_t length, bool zero) {
      for (size_t i = 0; i < length; ++i) damaged[at + i] = zero ? '\0' : char(random() & 0xFF);
    };
    if (kind == kOverwriteInLeaf) {
      int page = leaves[size_t(below(uint32_t(leaves.size())))];
      int length = 16 + below(985);
      int offset = below(uint32_t(pageSize - length));
      garbage(size_t(page - 1) * pageSize + size_t(offset), size_t(length), false);
      what = "overwrite page " + std::to_string(page) + " at " + std::to_string(offset) + "+" +
             std::to_string(length);
    } else if (kind == kGarbagePage || kind == kZeroedPage) {
      int page = 1 + below(uint32_t(pageCount));
      garbage(size_t(page - 1) * pageSize, size_t(pageSize), kind == kZeroedPage);
      what =
          std::string(kind == kZeroedPage ? "zeroed" : "garbage") + " page " + std::to_string(page);
    } else if (kind == kHeaderPage) {
      bool whole = below(2) == 0;
      garbage(0, whole ? size_t(pageSize) : size_t(16 + below(85)), false);
      what = whole ? "header page garbage" : "file header overwritten";
    } else if (kind == kRootPage) {
      bool zero = below(2) == 0;
      garbage(size_t(root - 1) * pageSize, size_t(pageSize), zero);
      what = std::string("root page ") + (zero ? "zeroed" : "garbage");
    } else if (kind == kCutAtPage || kind == kCutInPage) {
      size_t at = size_t(1 + below(uint32_t(pageCount - 1))) * size_t(pageSize);
      if (kind == kCutInPage) at += size_t(1 + below(uint32_t(pageSize - 1)));
      damaged.resize(at);
      what = "cut at " + std::to_string(at);
    } else {
      damaged.clear();
      what = "zero-length file";
    }
    SCOPED_TRACE(std::string(t.name) + " case " + std::to_string(c) + ": " + what);

    // The records that must survive: those on leaves whose bytes are all still there.
    auto pageChanged = [&](int page) {
      size_t at = size_t(page - 1) * pageSize;
      return damaged.size() < at + size_t(pageSize) ||
             damaged.compare(at, size_t(pageSize), pristine, at, size_t(pageSize)) != 0;
    };
    std::set<std::string> survivors;
    for (const auto& [page, markers] : markersOnLeaf) {
      if (!pageChanged(page)) survivors.insert(markers.begin(), markers.end());
    }
    bool indexWhole = !damaged.empty() && !pageChanged(1);
    for (int page : primaryIndexPages) indexWhole = indexWhole && !pageChanged(page);

    WriteBytes(table, damaged);
    std::filesystem::remove(Path(std::string(t.backup) + ".DB"));
    std::filesystem::remove(Path(std::string(t.problems) + ".DB"));
    ASSERT_EQ(EngineCopyTable(db_, 1, t.name, "PARADOX", t.backup), ENGINE_OK);
    EngineTableCreateDesc desc = *FindCatalogTable(t.name);
    ASSERT_EQ(EngineRestructureTable(db_, 1, &desc, nullptr, nullptr, t.problems, 0), ENGINE_OK);
    EngineRestructureCounts counts{};
    EngineGetRestructureCounts(&counts);

    int fieldCount = 0;
    auto kept = Records(t, &fieldCount);
    EXPECT_EQ(fieldCount, desc.fieldCount);
    std::set<std::string> keptMarkers;
    for (const auto& [marker, fields] : kept) {
      keptMarkers.insert(marker);
      auto original = t.expected.find(marker);
      ASSERT_NE(original, t.expected.end()) << "a record that was never written: " << marker;
      EXPECT_EQ(fields, original->second) << marker;
    }
    EXPECT_EQ(keptMarkers, survivors);
    EXPECT_EQ(counts.kept, DWORD(survivors.size()));
    EXPECT_EQ(counts.setAside, 0u);
    EXPECT_FALSE(std::filesystem::exists(Path(std::string(t.problems) + ".DB")));
    EXPECT_EQ(bool(counts.damaged), true);
    EXPECT_EQ(bool(counts.madeEmpty), survivors.empty());
    if (indexWhole) {
      EXPECT_TRUE(counts.lostCounted);
      EXPECT_EQ(counts.lost, DWORD(kRecords) - DWORD(survivors.size()));
    }
    if (counts.lostCounted) EXPECT_EQ(counts.lost, DWORD(kRecords) - DWORD(survivors.size()));
    EXPECT_EQ(FileBytes(Path(std::string(t.backup) + ".DB")), damaged);
  }
}

TEST_F(RebuildDamageMatrixTest, AccountKeepsExactlyTheRecordsOnIntactPages) {
  RunMatrix(Account(), 20261209);
}

TEST_F(RebuildDamageMatrixTest, BuyerKeepsExactlyTheRecordsOnIntactPages) {
  RunMatrix(Buyer(), 37);
}

}  // namespace
