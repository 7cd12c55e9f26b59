/*
** The repair operations on damaged files: a backup copies what is there byte for byte, a
** restructure reads past lost pages and keeps every other record, problem records are
** added to those an earlier rebuild set aside, and work files of killed rebuilds go away.
** What is expected is worked out from the test's own records and the bytes it destroys.
*/
#include "platform/engine/tests/engine_salvage_support.h"
#include "platform/engine/tests/engine_test_support.h"

#include "platform/engine/engine_test_hooks.h"

#include <map>

using namespace enginetest;

namespace {

constexpr int kMarkerLength = 8;  // "MK000123"

std::string Marker(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "MK%06d", n);
  return text;
}

class EngineSalvageTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, account_.Desc()), ENGINE_OK);
    ASSERT_EQ(EngineCreateTable(db_, 0, buyer_.Desc()), ENGINE_OK);
  }
  void TearDown() override {
    EngineTestClearFailures();
    EngineTest::TearDown();
  }
  /* ACCOUNT entries 0..count-1 with their marker in Description and n in Number. */
  void FillAccount(int count) {
    EngineCursor c = Open("ACCOUNT");
    std::vector<char> r = NewRecord(c);
    for (int n = 0; n < count; ++n) {
      EngineInitRecord(c, r.data());
      PutText(c, r, 1, ("F" + std::to_string(n / 10)).c_str());
      PutText(c, r, 2, "C");
      PutDouble(c, r, 3, n % 10);
      PutDouble(c, r, 4, 5000 + (n * 7919) % 1000);
      PutDay(c, r, 7, Day(1, 1, 2000) + DWORD(n % 365));
      PutText(c, r, 8, "A payee of reasonable length");
      PutText(c, r, 9, Marker(n).c_str());
      PutDouble(c, r, 10, n * 1.25);
      ASSERT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
    }
    EngineCloseCursor(&c);
  }
  /* Marker -> amount of every ACCOUNT record, in key order. */
  std::map<std::string, double> AccountContent(const char* table = "ACCOUNT", WORD index = 0) {
    std::map<std::string, double> content;
    EngineCursor c = Open(table, index);
    if (!c) return content;
    std::vector<char> r = NewRecord(c);
    while (EngineGetNextRecord(c, 0, r.data(), nullptr) == ENGINE_OK) {
      content[GetText(c, r, 9)] = GetDouble(c, r, 10);
    }
    EngineCloseCursor(&c);
    return content;
  }
  EngineResult Restructure(TableShape& shape, const char* problems) {
    return RestructureToShape(db_, shape, problems);
  }
  EngineRestructureCounts Counts() {
    EngineRestructureCounts counts{};
    EXPECT_EQ(EngineGetRestructureCounts(&counts), ENGINE_OK);
    return counts;
  }
  std::string ErrorContext(int slot) {
    EngineErrorInfo info{};
    EngineGetErrorInfo(1, &info);
    return info.context[slot];
  }

  TableShape account_ = AccountShape();
  TableShape buyer_ = FileShape("BUYER");
};

TEST_F(EngineSalvageTest, BackupOfADamagedFileKeepsItsBytesAndItsJournal) {
  FillAccount(300);
  const std::string table = Path("ACCOUNT.DB");
  std::filesystem::resize_file(table, std::filesystem::file_size(table) / 2);
  WriteBytes(table + "-journal", "journal bytes as they were");
  const std::string damaged = FileBytes(table);

  ASSERT_EQ(EngineCopyTable(db_, 1, "ACCOUNT", "PARADOX", "ACTBU"), ENGINE_OK);
  EXPECT_EQ(FileBytes(Path("ACTBU.DB")), damaged);
  EXPECT_EQ(FileBytes(Path("ACTBU.DB-journal")), "journal bytes as they were");

  // The table is then replaced by something else; the restore gives it back exactly.
  std::filesystem::remove(table + "-journal");
  WriteBytes(table, "something else");
  ASSERT_EQ(EngineCopyTable(db_, 1, "ACTBU", "PARADOX", "ACCOUNT"), ENGINE_OK);
  EXPECT_EQ(FileBytes(table), damaged);
  EXPECT_EQ(FileBytes(table + "-journal"), "journal bytes as they were");
  // No work file is left beside either.
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename().string().find(".cpy"), std::string::npos);
  }
}

TEST_F(EngineSalvageTest, DamagedFilesAreStillRefusedByOpenAndCopiesOntoAnOpenTableToo) {
  FillAccount(20);
  WriteBytes(Path("BUYER.DB"), "garbage");
  EngineCursor cursor = nullptr;
  EXPECT_EQ(
      EngineOpenTable(db_, "BUYER", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &cursor),
      ENGINE_ERR_TABLEDAMAGED);
  Child user([this](Child& self) {
    EngineCursor open = Open("ACCOUNT");
    self.Send(open ? 'O' : 'x');
    self.Receive();
  });
  ASSERT_EQ(user.Receive(), 'O');
  EXPECT_EQ(EngineCopyTable(db_, 1, "BUYER", "PARADOX", "ACCOUNT"), ENGINE_ERR_TABLELOCKED);
  user.Kill();
  EXPECT_EQ(AccountContent().size(), 20u);
}

TEST_F(EngineSalvageTest, AnOverwrittenPageCostsOnlyTheRecordsStoredOnIt) {
  const int count = 600;
  FillAccount(count);
  const std::string table = Path("ACCOUNT.DB");
  int pageSize = 0;
  std::vector<PageInfo> pages = PagesOf(table, &pageSize);
  std::vector<int> leaves;
  for (const PageInfo& page : pages) {
    if (page.tree == "records" && page.kind == "leaf") leaves.push_back(page.number);
  }
  ASSERT_GE(leaves.size(), 5u);
  int victim = leaves[leaves.size() / 2];
  std::string bytes = FileBytes(table);
  std::set<std::string> lost =
      MarkersIn(bytes.substr(size_t(victim - 1) * pageSize, pageSize), "MK", kMarkerLength);
  ASSERT_FALSE(lost.empty());
  OverwritePage(table, victim, pageSize);

  ASSERT_EQ(Restructure(account_, "ACTPROB"), ENGINE_OK);
  std::map<std::string, double> content = AccountContent();
  EXPECT_EQ(content.size(), count - lost.size());
  for (int n = 0; n < count; ++n) {
    if (lost.count(Marker(n))) {
      EXPECT_EQ(content.count(Marker(n)), 0u) << Marker(n);
    } else {
      ASSERT_EQ(content.count(Marker(n)), 1u) << Marker(n);
      EXPECT_EQ(content[Marker(n)], n * 1.25);
    }
  }
  EngineRestructureCounts counts = Counts();
  EXPECT_EQ(counts.kept, DWORD(count - lost.size()));
  EXPECT_EQ(counts.setAside, 0u);
  EXPECT_EQ(counts.skipped, 1u);
  // Each index walks every kept record again.
  EXPECT_EQ(AccountContent("ACCOUNT", 1).size(), content.size());
  EXPECT_EQ(AccountContent("ACCOUNT", 2).size(), content.size());
  EXPECT_FALSE(std::filesystem::exists(Path("ACTPROB.DB")));
}

/* The row ids of a table leaf page in cell order, and where each cell starts in the file. */
struct LeafCells {
  std::vector<long long> rowids;
  std::vector<size_t> offsets;
};

LeafCells CellsOf(const std::string& bytes, int page, int pageSize) {
  LeafCells cells;
  size_t base = size_t(page - 1) * pageSize;
  auto byte = [&](size_t at) { return static_cast<unsigned char>(bytes[at]); };
  auto varint = [&](size_t* at) {
    long long value = 0;
    for (int n = 0; n < 9; ++n) {
      unsigned char b = byte((*at)++);
      if (n == 8) return (value << 8) | b;
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) break;
    }
    return value;
  };
  int count = byte(base + 3) << 8 | byte(base + 4);
  for (int i = 0; i < count; ++i) {
    size_t cell = base + size_t(byte(base + 8 + 2 * i) << 8 | byte(base + 9 + 2 * i));
    size_t at = cell;
    varint(&at);  // payload size
    cells.offsets.push_back(at);
    cells.rowids.push_back(varint(&at));
  }
  return cells;
}

TEST_F(EngineSalvageTest, ARowIdGoingBackBeforeDamageDoesNotMakeTheSalvageReadForEver) {
  const int count = 600;
  FillAccount(count);
  const std::string table = Path("ACCOUNT.DB");
  int pageSize = 0;
  std::map<long long, int> leavesByFirstRowid;
  std::string bytes = FileBytes(table);
  for (const PageInfo& page : PagesOf(table, &pageSize)) {
    if (page.tree == "records" && page.kind == "leaf") {
      leavesByFirstRowid[CellsOf(bytes, page.number, pageSize).rowids.front()] = page.number;
    }
  }
  ASSERT_GE(leavesByFirstRowid.size(), 3u);
  int first = leavesByFirstRowid.begin()->second;
  int second = std::next(leavesByFirstRowid.begin())->second;
  // The last row of the first leaf says it is row 3 (a one-byte row id, like its own), and
  // the leaf after it is lost: reading by row id comes back to row 4 after the last row.
  LeafCells cells = CellsOf(bytes, first, pageSize);
  ASSERT_LT(cells.rowids.back(), 128);
  bytes[cells.offsets.back()] = 3;
  WriteBytes(table, bytes);
  // The changed byte breaks the first leaf's check value: it is damaged as well.
  std::set<std::string> lost =
      MarkersIn(bytes.substr(size_t(second - 1) * pageSize, pageSize), "MK", kMarkerLength);
  for (const std::string& marker :
       MarkersIn(bytes.substr(size_t(first - 1) * pageSize, pageSize), "MK", kMarkerLength)) {
    lost.insert(marker);
  }
  ASSERT_FALSE(lost.empty());
  OverwritePage(table, second, pageSize);

  // In a child, so that a salvage that never ends fails the test instead of hanging it.
  Child rebuild(
      [&](Child& child) { child.Send(Restructure(account_, "ACTPROB") == ENGINE_OK ? 'O' : 'F'); });
  bool finished = false;
  for (int wait = 0; wait < 600 && !finished; ++wait) {
    finished = rebuild.HasSent();
    if (!finished) ::usleep(100 * 1000);
  }
  ASSERT_TRUE(finished) << "the salvage was still reading after a minute";
  ASSERT_EQ(rebuild.Receive(), 'O');
  std::map<std::string, double> content = AccountContent();
  EXPECT_EQ(content.size(), count - lost.size());
  for (const auto& [marker, amount] : content) EXPECT_EQ(lost.count(marker), 0u) << marker;
}

TEST_F(EngineSalvageTest, ATruncatedFileKeepsTheRecordsBeforeTheCut) {
  const int count = 600;
  FillAccount(count);
  const std::string table = Path("ACCOUNT.DB");
  int pageSize = 0;
  std::vector<PageInfo> pages = PagesOf(table, &pageSize);
  // Cut at the first page of the second half after which only leaves follow.
  int cut = int(pages.size()) / 2;
  for (const PageInfo& page : pages) {
    if (page.number > cut) ASSERT_EQ(page.kind, "leaf") << "page " << page.number;
  }
  std::string bytes = FileBytes(table);
  std::set<std::string> lost = MarkersIn(bytes.substr(size_t(cut) * pageSize), "MK", kMarkerLength);
  ASSERT_FALSE(lost.empty());
  std::filesystem::resize_file(table, std::uintmax_t(cut) * pageSize);

  ASSERT_EQ(Restructure(account_, "ACTPROB"), ENGINE_OK) << ErrorContext(1) << ErrorContext(2);
  std::map<std::string, double> content = AccountContent();
  EXPECT_EQ(content.size(), count - lost.size());
  for (const auto& [marker, amount] : content) EXPECT_EQ(lost.count(marker), 0u) << marker;
  EXPECT_GE(Counts().skipped, 1u);
}

TEST_F(EngineSalvageTest, AFileOfGarbageBecomesAnEmptyTableAndALostRootCostsNoRecord) {
  // Structure unreadable: a file of garbage gives the table's structure with no record.
  WriteBytes(Path("BUYER.DB"), std::string(8192, '\xEE'));
  EXPECT_EQ(Restructure(buyer_, "BUYPROB"), ENGINE_OK);
  EXPECT_TRUE(Counts().madeEmpty);
  EXPECT_EQ(Counts().kept, 0u);
  EngineCursor empty = Open("BUYER");
  std::vector<char> r = NewRecord(empty);
  EXPECT_EQ(EngineGetNextRecord(empty, 0, r.data(), nullptr), ENGINE_ERR_EOF);
  EngineCloseCursor(&empty);

  // The root page of the records is lost: every leaf is found without it.
  FillAccount(600);
  const std::string table = Path("ACCOUNT.DB");
  int pageSize = 0;
  int root = 0;
  for (const PageInfo& page : PagesOf(table, &pageSize)) {
    if (page.tree == "records" && page.kind == "internal" && !root) root = page.number;
  }
  ASSERT_GT(root, 0);
  OverwritePage(table, root, pageSize);
  EXPECT_EQ(Restructure(account_, "ACTPROB"), ENGINE_OK);
  EXPECT_EQ(AccountContent().size(), 600u);
  EXPECT_EQ(Counts().kept, 600u);
  EXPECT_TRUE(Counts().lostCounted);
  EXPECT_EQ(Counts().lost, 0u);
  EXPECT_FALSE(Counts().madeEmpty);

  // A valid empty table rebuilds to an empty table.
  ASSERT_EQ(EngineCreateTable(db_, 1, buyer_.Desc()), ENGINE_OK);
  EXPECT_EQ(Restructure(buyer_, "BUYPROB"), ENGINE_OK);
  EXPECT_EQ(Counts().kept, 0u);
  EXPECT_FALSE(Counts().damaged);
  EXPECT_FALSE(Counts().madeEmpty);
}

TEST_F(EngineSalvageTest, ProblemRecordsAreAddedToThoseSetAsideBefore) {
  FillAccount(50);
  RawExec(Path("ACCOUNT.DB"),
          "DROP INDEX ix0; INSERT INTO records SELECT * FROM records WHERE f9 = 'MK000007';"
          "UPDATE records SET f10 = 'text' WHERE f9 = 'MK000011';");
  ASSERT_EQ(Restructure(account_, "ACTPROB"), ENGINE_OK);
  EXPECT_EQ(Counts().setAside, 2u);
  EXPECT_EQ(Counts().kept, 49u);
  RawExec(Path("ACCOUNT.DB"), "UPDATE records SET f6 = 'text' WHERE f9 = 'MK000012';");
  ASSERT_EQ(Restructure(account_, "ACTPROB"), ENGINE_OK);
  EXPECT_EQ(Counts().setAside, 1u);
  std::map<std::string, double> problems;
  EngineCursor c = Open("ACTPROB");
  std::vector<char> r = NewRecord(c);
  int rows = 0;
  while (EngineGetNextRecord(c, 0, r.data(), nullptr) == ENGINE_OK) {
    ++rows;
    problems[GetText(c, r, 9)] = 0;
  }
  EngineCloseCursor(&c);
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems.count("MK000007") + problems.count("MK000011") + problems.count("MK000012"),
            3u);
  EXPECT_EQ(AccountContent().size(), 48u);
}

TEST_F(EngineSalvageTest, AnUnusableProblemsTableFailsBeforeTheTableChanges) {
  FillAccount(30);
  RawExec(Path("ACCOUNT.DB"), "UPDATE records SET f10 = 'text' WHERE f9 = 'MK000003';");
  const std::string before = FileBytes(Path("ACCOUNT.DB"));

  WriteBytes(Path("ACTPROB.DB"), "not a table");
  EXPECT_EQ(Restructure(account_, "ACTPROB"), ENGINE_ERR_TABLEDAMAGED);
  EXPECT_NE(ErrorContext(0).find("ACTPROB"), std::string::npos) << ErrorContext(0);
  EXPECT_EQ(FileBytes(Path("ACCOUNT.DB")), before);
  EXPECT_EQ(FileBytes(Path("ACTPROB.DB")), "not a table");

  std::filesystem::remove(Path("ACTPROB.DB"));
  TableShape other = FileShape("ACTPROB");
  ASSERT_EQ(EngineCreateTable(db_, 0, other.Desc()), ENGINE_OK);
  EXPECT_EQ(Restructure(account_, "ACTPROB"), ENGINE_ERR_RESTRUCTURE);
  EXPECT_NE(ErrorContext(0).find("ACTPROB"), std::string::npos) << ErrorContext(0);
  EXPECT_EQ(FileBytes(Path("ACCOUNT.DB")), before);
}

TEST_F(EngineSalvageTest, WorkFilesOfKilledRebuildsGoOnceTheirProcessIsGone) {
  FillAccount(10);
  pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  // This test's parent process runs throughout.
  const std::string stale = Path("ACCOUNT.DB.rst" + std::to_string(gone));
  const std::string live = Path("ACCOUNT.DB.rst" + std::to_string(::getppid()));
  WriteBytes(stale, "left by a killed rebuild");
  WriteBytes(stale + "-journal", "its journal");
  WriteBytes(live, "a rebuild still running");
  ASSERT_EQ(Restructure(account_, "ACTPROB"), ENGINE_OK);
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_FALSE(std::filesystem::exists(stale + "-journal"));
  EXPECT_TRUE(std::filesystem::exists(live));
}

TEST_F(EngineSalvageTest, PlannedFailuresStrikeTheChosenCallOnlyAndKeepTheirSlots) {
  FillAccount(5);
  EngineTestFailCall("EngineCopyTable", 2, ENGINE_ERR_FILEIO, {"first", "", "third"});
  EXPECT_EQ(EngineCopyTable(db_, 1, "ACCOUNT", "PARADOX", "ACTBU"), ENGINE_OK);
  std::filesystem::remove(Path("ACTBU.DB"));
  EXPECT_EQ(EngineCopyTable(db_, 1, "ACCOUNT", "PARADOX", "ACTBU"), ENGINE_ERR_FILEIO);
  EXPECT_FALSE(std::filesystem::exists(Path("ACTBU.DB")));  // it did nothing else
  EngineErrorInfo info{};
  EngineGetErrorInfo(1, &info);
  EXPECT_EQ(info.code, ENGINE_ERR_FILEIO);
  EXPECT_STREQ(info.context[0], "first");
  EXPECT_STREQ(info.context[1], "");
  EXPECT_STREQ(info.context[2], "third");
  EXPECT_STREQ(info.context[3], "");
  EXPECT_EQ(EngineCopyTable(db_, 1, "ACCOUNT", "PARADOX", "ACTBU"), ENGINE_OK);

  EngineTestFailCall("EngineReleaseTableLock", 1, ENGINE_ERR_NOTLOCKED);
  ASSERT_EQ(EngineAcquireTableLock(db_, "ACCOUNT", "PARADOX"), ENGINE_OK);
  EXPECT_EQ(EngineReleaseTableLock(db_, "ACCOUNT", "PARADOX"), ENGINE_ERR_NOTLOCKED);
  EXPECT_EQ(EngineReleaseTableLock(db_, "ACCOUNT", "PARADOX"), ENGINE_OK);
}

}  // namespace
