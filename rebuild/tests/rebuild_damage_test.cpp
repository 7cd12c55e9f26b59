/*
** The damaged-table day: BUYER cut short and ACCOUNT with an overwritten page, each with
** unfit rows planted, and a garbage problems table in the way. The utility runs in this
** process; the engine client is a separate program acting while the utility's boxes are
** up. What is expected comes from the test's own records and the bytes it destroys.
*/
#include "rebuild/tests/rebuild_test_support.h"

#include "catalogue/table_catalog.h"
#include "platform/engine/tests/engine_salvage_support.h"

#include <filesystem>
#include <map>
#include <set>

using namespace enginetest;
using namespace rebuildtest;

namespace {

constexpr int kBuyers = 400;
constexpr int kEntries = 600;
constexpr size_t kMarkerLength = 9;  // "BMK000123", "AMK000123"

std::string Numbered(const char* prefix, int n) {
  char text[24];
  std::snprintf(text, sizeof text, "%s%06d", prefix, n);
  return text;
}

/* A record as the test compares it: its fields as text, by field number. */
using Fields = std::map<int, std::string>;

class RebuildDamageTest : public RebuildTest {
 protected:
  void Fill() {
    WithEngine(kDataDir, [&](EngineDatabase database) {
      Insert(database, "BUYER", kBuyers, [](int n, Fields& f) {
        f[1] = Numbered("F", n);    // FileNum, the key
        f[2] = Numbered("BMK", n);  // B1NAME: the marker, in no index
        f[8] = "A street of some length " + std::to_string(n);
        f[9] = "Springfield";
      });
      Insert(database, "ACCOUNT", kEntries, [](int n, Fields& f) {
        f[1] = Numbered("F", n / 10);
        f[2] = "C";
        f[3] = std::to_string(n % 10);                    // Seq
        f[4] = std::to_string(5000 + (n * 7919) % 1000);  // Number
        f[7] = std::to_string(730000 + (n * 37) % 365);   // Date, a day number
        f[8] = "A payee of reasonable length";
        f[9] = Numbered("AMK", n);          // Description: the marker
        f[10] = std::to_string(n) + ".25";  // Amount
      });
    });
  }
  /* Inserts count records made by make; every field given as text and put by its type. */
  template <typename Make>
  void Insert(EngineDatabase database, const char* table, int count, Make make) {
    EngineCursor cursor = nullptr;
    ASSERT_EQ(EngineOpenTable(database, table, "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                              &cursor),
              ENGINE_OK);
    EngineCursorProps props{};
    EngineGetCursorProps(cursor, &props);
    std::vector<EngineFieldDesc> descs(props.fieldCount);
    EngineGetFieldDescs(cursor, descs.data());
    std::vector<char> record(props.recordSize);
    for (int n = 0; n < count; ++n) {
      Fields fields;
      make(n, fields);
      EngineInitRecord(cursor, record.data());
      for (const auto& [number, text] : fields)
        Put(cursor, descs[number - 1], record, number, text);
      ASSERT_EQ(EngineInsertRecord(cursor, 0, record.data()), ENGINE_OK) << table << n;
    }
    EngineCloseCursor(&cursor);
  }
  static void Put(EngineCursor cursor, const EngineFieldDesc& desc, std::vector<char>& record,
                  int number, const std::string& text) {
    if (desc.type == ENGINE_FLD_STRING) {
      EnginePutField(cursor, WORD(number), record.data(), text.c_str());
    } else if (desc.type == ENGINE_FLD_DATE) {
      DWORD day = DWORD(std::stoul(text));
      EnginePutField(cursor, WORD(number), record.data(), &day);
    } else if (desc.type == ENGINE_FLD_INT16) {
      SHORT value = SHORT(std::stoi(text));
      EnginePutField(cursor, WORD(number), record.data(), &value);
    } else {
      double value = std::stod(text);
      EnginePutField(cursor, WORD(number), record.data(), &value);
    }
  }
  /* Every record of a table through index, marker field -> the given fields as text. */
  std::vector<Fields> Read(const char* table, WORD index, const std::vector<int>& numbers) {
    std::vector<Fields> rows;
    WithEngine(kDataDir, [&](EngineDatabase database) {
      EngineCursor cursor = nullptr;
      ASSERT_EQ(EngineOpenTable(database, table, "PARADOX", nullptr, nullptr, index, 0, 0, 2, 0,
                                nullptr, &cursor),
                ENGINE_OK)
          << table;
      EngineCursorProps props{};
      EngineGetCursorProps(cursor, &props);
      std::vector<EngineFieldDesc> descs(props.fieldCount);
      EngineGetFieldDescs(cursor, descs.data());
      std::vector<char> record(props.recordSize);
      while (EngineGetNextRecord(cursor, 0, record.data(), nullptr) == ENGINE_OK) {
        Fields fields;
        for (int number : numbers) fields[number] = Get(cursor, descs[number - 1], record, number);
        rows.push_back(fields);
      }
      EngineCloseCursor(&cursor);
    });
    return rows;
  }
  static std::string Get(EngineCursor cursor, const EngineFieldDesc& desc,
                         const std::vector<char>& record, int number) {
    char buffer[300] = {};
    EngineGetField(cursor, WORD(number), record.data(), buffer, nullptr);
    if (desc.type == ENGINE_FLD_STRING) return buffer;
    if (desc.type == ENGINE_FLD_DATE) return std::to_string(*reinterpret_cast<DWORD*>(buffer));
    if (desc.type == ENGINE_FLD_INT16) return std::to_string(*reinterpret_cast<SHORT*>(buffer));
    double value = *reinterpret_cast<double*>(buffer);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string t = text;
    if (t.size() > 3 && t.compare(t.size() - 3, 3, ".00") == 0) t.resize(t.size() - 3);
    return t;
  }
  /* Pages of the file's record tree or indexes that hold only leaves after `from`. */
  static void ExpectOnlyLeavesFrom(const std::vector<PageInfo>& pages, int from) {
    for (const PageInfo& page : pages) {
      if (page.number >= from) {
        EXPECT_EQ(page.kind, "leaf") << page.tree << " page " << page.number;
      }
    }
  }
  std::string Client(const char* command, const char* table) {
    return RunClient(HostDir(kDataDir), command, table);
  }
};

/* zarne32 on the test's root: its frame shown maximized, and no splash left. */
bool MainProgramFrameShown(const std::vector<SeenWindow>& windows) {
  bool frame = false, splash = false;
  for (const SeenWindow& w : windows) {
    if (w.title == "Zarne" && w.visible && w.zoomed) frame = true;
    if (w.title.empty() && w.visible) splash = true;
  }
  return frame && !splash;
}

TEST_F(RebuildDamageTest, TheDamagedTableDay) {
  // The main program's own settings; it makes its tables on its first start.
  SetIni("DirPrinters", "C:\\ZARNE");
  SetIni("DirPrivate", "C:\\ZARNE\\PRIVATE");
  std::filesystem::create_directories(HostDir("C:\\ZARNE\\PRIVATE"));
  {
    OtherProgram zarne(ZARNE32_PROGRAM);
    ASSERT_TRUE(zarne.WaitForWindows(MainProgramFrameShown)) << "zarne32 did not start";
    ASSERT_EQ(zarne.Terminate(), 0);
  }
  for (const char* table : {"BUYER", "ACCOUNT", "SELLER", "BANK"}) {
    ASSERT_TRUE(std::filesystem::exists(DataFile(std::string(table) + ".DB"))) << table;
  }
  Fill();
  // Plant, with raw SQLite, rows the rebuild must set aside, on pages that survive (rowid
  // n + 1 holds record n): BUYER record 4 takes the key of record 6, which is read later
  // and set aside; ACCOUNT record 2 gets text in its amount, and record 6 the key of
  // record 8, which is set aside.
  RawExec(DataFile("BUYER.DB"),
          "DROP INDEX ix0; UPDATE records SET f1 = 'F000006' WHERE rowid = 5;");
  RawExec(DataFile("ACCOUNT.DB"),
          "DROP INDEX ix0; UPDATE records SET f10 = 'not money' WHERE rowid = 3;"
          "UPDATE records SET f3 = 8 WHERE rowid = 7;");
  const std::set<std::string> unfitBuyers = {Numbered("BMK", 6)};
  const std::set<std::string> unfitEntries = {Numbered("AMK", 2), Numbered("AMK", 8)};

  // Damage. BUYER: cut at a page boundary in its second half, after which only leaves lie.
  int pageSize = 0;
  std::vector<PageInfo> buyerPages = PagesOf(DataFile("BUYER.DB"), &pageSize);
  int buyerCount = int(std::filesystem::file_size(DataFile("BUYER.DB")) / pageSize);
  int cut = buyerCount / 2 + 1;
  ExpectOnlyLeavesFrom(buyerPages, cut + 1);
  std::string buyerBytes = FileBytes(DataFile("BUYER.DB"));
  std::set<std::string> lostBuyers =
      MarkersIn(buyerBytes.substr(size_t(cut) * pageSize), "BMK", kMarkerLength);
  ASSERT_FALSE(lostBuyers.empty());
  for (int n : {4, 6}) ASSERT_EQ(lostBuyers.count(Numbered("BMK", n)), 0u);
  std::filesystem::resize_file(DataFile("BUYER.DB"), std::uintmax_t(cut) * pageSize);
  const std::string damagedBuyer = FileBytes(DataFile("BUYER.DB"));
  // ACCOUNT: one whole page of records in the middle.
  std::vector<PageInfo> accountPages = PagesOf(DataFile("ACCOUNT.DB"), &pageSize);
  std::vector<int> recordLeaves;
  for (const PageInfo& page : accountPages) {
    if (page.tree == "records" && page.kind == "leaf") recordLeaves.push_back(page.number);
  }
  ASSERT_GE(recordLeaves.size(), 6u);
  int victim = recordLeaves[recordLeaves.size() / 2];
  std::string accountBytes = FileBytes(DataFile("ACCOUNT.DB"));
  std::set<std::string> lostEntries =
      MarkersIn(accountBytes.substr(size_t(victim - 1) * pageSize, pageSize), "AMK", kMarkerLength);
  ASSERT_FALSE(lostEntries.empty());
  for (int n : {0, 2, 6, 8}) ASSERT_EQ(lostEntries.count(Numbered("AMK", n)), 0u);
  OverwritePage(DataFile("ACCOUNT.DB"), victim, pageSize);
  WriteBytes(DataFile("BUYPROB.DB"), "this is not a table");

  StartUtility();

  // BUYER, first rebuild: stopped by the unusable problems table, and restored.
  std::string openWhileUp;
  Boxes().OnShow([&](const MessageBoxRequest& box) {
    if (box.text.rfind("Rebuild of", 0) == 0) openWhileUp = Client("open", "BUYER");
  });
  RebuildByKeys("BUYER");
  std::vector<Box> shown = BoxesShown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0], (Box{"Rebuild of C:\\ZARNE\\DATA\\BUYER failed - the table was not changed.",
                           "Error", MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(shown[1], (Box{"Error No.: 9220", "Database Error", MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(shown[2].caption, "Database Error");
  EXPECT_EQ(shown[3].caption, "Error Context");
  EXPECT_NE(shown[3].text.find("BUYPROB"), std::string::npos) << shown[3].text;
  EXPECT_EQ(openWhileUp.substr(0, 6), "10242 ") << openWhileUp;  // 0x2802
  EXPECT_EQ(FileBytes(DataFile("BUYER.DB")), damagedBuyer);
  EXPECT_TRUE(std::filesystem::exists(DataFile("BUYBU.DB")));
  EXPECT_EQ(Client("lock", "BUYER"), "0");

  // BUYER, second rebuild, the problems table out of the way.
  std::filesystem::remove(DataFile("BUYPROB.DB"));
  Boxes().Clear();
  openWhileUp.clear();
  Boxes().OnShow([&](const MessageBoxRequest& box) {
    if (box.caption == "Success") openWhileUp = Client("open", "BUYER");
  });
  RebuildByKeys("BUYER");
  // The planted key clash dropped the primary index, so what was lost cannot be counted;
  // the first rebuild's backup holds the damaged file and is kept under a numbered name.
  size_t keptBuyers = size_t(kBuyers) - lostBuyers.size() - unfitBuyers.size();
  EXPECT_EQ(
      BoxesShown(),
      (std::vector<Box>{
          {"C:\\ZARNE\\DATA\\BUYER was successfully rebuilt.\n\n" + std::to_string(keptBuyers) +
               " records were kept. 1 record could not be kept in the table and was set aside in "
               "C:\\ZARNE\\DATA\\BUYPROB.\n\nPart of the file was damaged. Records stored there may be lost; "
               "how many could not be counted. The file as it was before the rebuild is kept in "
               "C:\\ZARNE\\DATA\\BUYBU.\n\nThe earlier backup, which also holds a damaged table, is kept in "
               "C:\\ZARNE\\DATA\\BUYBU1.",
           "Success", MB_OK}}));
  EXPECT_EQ(FileBytes(DataFile("BUYBU.DB")), damagedBuyer);
  EXPECT_EQ(FileBytes(DataFile("BUYBU1.DB")), damagedBuyer);
  EXPECT_EQ(openWhileUp.substr(0, 6), "10242 ") << openWhileUp;
  EXPECT_EQ(Client("open", "BUYER"), "0 " + std::to_string(keptBuyers));

  // ACCOUNT, rebuilt the same way.
  Boxes().Clear();
  Boxes().OnShow(nullptr);
  RebuildByKeys("ACCOUNT");
  size_t firstKept = size_t(kEntries) - lostEntries.size() - unfitEntries.size();
  EXPECT_EQ(
      BoxesShown(),
      (std::vector<Box>{
          {"C:\\ZARNE\\DATA\\ACCOUNT was successfully rebuilt.\n\n" + std::to_string(firstKept) +
               " records were kept. 2 records could not be kept in the table and were set aside in "
               "C:\\ZARNE\\DATA\\ACTPROB.\n\nPart of the file was damaged. Records stored there may be lost; "
               "how many could not be counted. The file as it was before the rebuild is kept in "
               "C:\\ZARNE\\DATA\\ACTBU.",
           "Success", MB_OK}}));

  // ACCOUNT again, with one more unfit row planted on a surviving record (rowid 1 holds
  // record 0 still).
  RawExec(DataFile("ACCOUNT.DB"), "UPDATE records SET f6 = 'not a number' WHERE f9 = 'AMK000000';");
  Boxes().Clear();
  RebuildByKeys("ACCOUNT");
  EXPECT_EQ(
      BoxesShown(),
      (std::vector<Box>{
          {"C:\\ZARNE\\DATA\\ACCOUNT was successfully rebuilt.\n\n" +
               std::to_string(firstKept - 1) +
               " records were kept. 1 record could not be kept in the table and was set aside in "
               "C:\\ZARNE\\DATA\\ACTPROB.\n\nThe earlier backup, which also holds a damaged table, is "
               "kept in C:\\ZARNE\\DATA\\ACTBU1.",
           "Success", MB_OK}}));
  ASSERT_TRUE(CloseUtility());

  // BUYER holds exactly the expected records, field for field, and its key holds again.
  std::vector<Fields> buyers = Read("BUYER", 0, {1, 2, 8, 9});
  std::vector<Fields> expectedBuyers;
  for (int n = 0; n < kBuyers; ++n) {
    std::string marker = Numbered("BMK", n);
    if (lostBuyers.count(marker) || unfitBuyers.count(marker)) continue;
    expectedBuyers.push_back({{1, Numbered("F", n == 4 ? 6 : n)},
                              {2, marker},
                              {8, "A street of some length " + std::to_string(n)},
                              {9, "Springfield"}});
  }
  // The key order puts record 4 (now keyed F000006) where record 6 stood.
  std::sort(expectedBuyers.begin(), expectedBuyers.end(),
            [](const Fields& a, const Fields& b) { return a.at(1) < b.at(1); });
  EXPECT_EQ(buyers, expectedBuyers);
  std::vector<Fields> buyerProblems = Read("BUYPROB", 0, {1, 2});
  EXPECT_EQ(buyerProblems, (std::vector<Fields>{{{1, "F000006"}, {2, Numbered("BMK", 6)}}}));

  // ACCOUNT: every kept record, in key, date and number order; ACTPROB holds all three.
  std::set<std::string> unfitAgain = {Numbered("AMK", 0)};
  std::vector<Fields> byKey = Read("ACCOUNT", 0, {1, 2, 3, 4, 7, 9, 10});
  size_t keptEntries = size_t(kEntries) - lostEntries.size() - unfitEntries.size() - 1;
  ASSERT_EQ(byKey.size(), keptEntries);
  std::set<std::string> seen;
  for (const Fields& f : byKey) {
    const std::string& marker = f.at(9);
    int n = std::stoi(marker.substr(3));
    EXPECT_EQ(lostEntries.count(marker) + unfitEntries.count(marker) + unfitAgain.count(marker),
              0u);
    EXPECT_EQ(f.at(1), Numbered("F", n / 10)) << marker;
    EXPECT_EQ(f.at(10), std::to_string(n) + ".25") << marker;
    EXPECT_EQ(f.at(4), std::to_string(5000 + (n * 7919) % 1000)) << marker;
    EXPECT_EQ(f.at(7), std::to_string(730000 + (n * 37) % 365)) << marker;
    seen.insert(marker);
  }
  EXPECT_EQ(seen.size(), keptEntries);
  auto inOrder = [](const std::vector<Fields>& rows, int field) {
    for (size_t i = 1; i < rows.size(); ++i) {
      if (std::stod(rows[i - 1].at(field)) > std::stod(rows[i].at(field))) return false;
    }
    return true;
  };
  std::vector<Fields> byDate = Read("ACCOUNT", 1, {7, 9});
  std::vector<Fields> byNumber = Read("ACCOUNT", 2, {4, 9});
  EXPECT_EQ(byDate.size(), keptEntries);
  EXPECT_EQ(byNumber.size(), keptEntries);
  EXPECT_TRUE(inOrder(byDate, 7));
  EXPECT_TRUE(inOrder(byNumber, 4));
  std::set<std::string> problems;
  for (const Fields& f : Read("ACTPROB", 0, {9})) problems.insert(f.at(9));
  EXPECT_EQ(problems,
            (std::set<std::string>{Numbered("AMK", 0), Numbered("AMK", 2), Numbered("AMK", 8)}));

  // The main program starts on the repaired directory and ends cleanly.
  OtherProgram zarne(ZARNE32_PROGRAM);
  EXPECT_TRUE(zarne.WaitForWindows(MainProgramFrameShown))
      << "zarne32 did not start on the repaired tables";
  EXPECT_EQ(zarne.Terminate(), 0);
}

}  // namespace
