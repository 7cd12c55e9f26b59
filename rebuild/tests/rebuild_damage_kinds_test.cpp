/*
** The utility itself, driven by keys, on one damaged ACCOUNT of each kind (an overwrite
** inside a leaf of records, a garbage index page, a zeroed leaf, the file header, the root
** page of the records, cuts at and inside a page, an empty file), and on a full disk, a
** read-only table file and a read-only directory. Each box is compared whole with a text
** made from the counts the test works out from the intact file's page map.
*/
#include "rebuild/tests/rebuild_test_support.h"

#include "platform/engine/engine_test_hooks.h"
#include "platform/engine/tests/engine_salvage_support.h"

#include <filesystem>
#include <map>
#include <set>

using namespace enginetest;
using namespace rebuildtest;

namespace {

constexpr UINT kStop = MB_OK | MB_ICONSTOP;
constexpr int kRecords = 400;
const char* const kTable = "C:\\ZARNE\\DATA\\ACCOUNT";

/* "1 record was" or "n records were", as the boxes count. */
std::string Counted(size_t n, const char* one, const char* many) {
  return std::to_string(n) + (n == 1 ? one : many);
}

class RebuildDamageKindsTest : public RebuildTest {
 protected:
  /* ACCOUNT with 400 records, and its page map. */
  void MakeAccount() {
    CreateTables(kDataDir, {"ACCOUNT"});
    RawExec(
        DataFile("ACCOUNT.DB"),
        "BEGIN; WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 399) "
        "INSERT INTO records SELECT printf('F%06d', i / 10), 'C', i % 10 + 0.0, 5000.0 + i, NULL, NULL, "
        "730000 + i % 365, 'A payee', printf('AMK%06d', i), i + 0.25 FROM n; COMMIT;");
    pristine_ = FileBytes(DataFile("ACCOUNT.DB"));
    for (const PageInfo& page : PagesOf(DataFile("ACCOUNT.DB"), &pageSize_)) {
      if (page.tree == "records" && page.kind == "leaf") {
        onLeaf_[page.number] =
            MarkersIn(pristine_.substr(size_t(page.number - 1) * pageSize_, pageSize_), "AMK", 9)
                .size();
      }
      if (page.tree == "records" && page.kind == "internal" && !root_) root_ = page.number;
      if (page.tree == "ix0") primaryPages_.insert(page.number);
      if (page.tree == "ix1" && !secondaryPage_) secondaryPage_ = page.number;
    }
  }
  /* Records on leaves whose bytes damaged no longer holds whole. */
  size_t LostIn(const std::string& damaged) const {
    size_t lost = 0;
    for (const auto& [page, count] : onLeaf_) {
      if (Changed(damaged, page)) lost += count;
    }
    return lost;
  }
  bool Changed(const std::string& damaged, int page) const {
    size_t at = size_t(page - 1) * pageSize_;
    return damaged.size() < at + size_t(pageSize_) ||
           damaged.compare(at, size_t(pageSize_), pristine_, at, size_t(pageSize_)) != 0;
  }
  bool PrimaryIndexWhole(const std::string& damaged) const {
    bool whole = !damaged.empty() && !Changed(damaged, 1);
    for (int page : primaryPages_) whole = whole && !Changed(damaged, page);
    return whole;
  }
  /* The success box for a damaged ACCOUNT, from the test's own counts. */
  std::string SuccessBox(const std::string& damaged) const {
    size_t lost = LostIn(damaged);
    std::string backup =
        " The file as it was before the rebuild is kept in C:\\ZARNE\\DATA\\ACTBU.";
    if (lost == size_t(kRecords)) {
      return std::string("Nothing of ") + kTable +
             " could be read, so no record could be kept. It is "
             "now an empty table, so that work can go on." +
             backup;
    }
    std::string text = std::string(kTable) + " was successfully rebuilt.\n\n" +
                       Counted(kRecords - lost, " record was kept.", " records were kept.") +
                       "\n\nPart of the file was damaged. ";
    if (!PrimaryIndexWhole(damaged))
      text += "Records stored there may be lost; how many could not be counted.";
    else if (lost == 0) text += "No record was lost.";
    else text += Counted(lost, " record stored there is lost.", " records stored there are lost.");
    return text + backup;
  }
  std::string Garbage(size_t at, size_t length, char fill = '\0') const {
    std::string bytes = pristine_;
    for (size_t i = 0; i < length; ++i) bytes[at + i] = fill ? char(fill + i * 7) : '\0';
    return bytes;
  }

  std::string pristine_;
  int pageSize_ = 0;
  int root_ = 0;
  int secondaryPage_ = 0;
  std::map<int, size_t> onLeaf_;
  std::set<int> primaryPages_;
};

TEST_F(RebuildDamageKindsTest, OneDamagedTableOfEachKindThroughTheUtility) {
  MakeAccount();
  ASSERT_GT(root_, 0);
  ASSERT_GT(secondaryPage_, 0);
  ASSERT_GE(onLeaf_.size(), 6u);
  std::vector<int> leaves;
  for (const auto& entry : onLeaf_) leaves.push_back(entry.first);
  const size_t page = size_t(pageSize_);
  std::string cutAt = pristine_.substr(0, size_t(leaves[leaves.size() - 3] - 1) * page);
  std::string cutInside = pristine_.substr(0, size_t(leaves[leaves.size() - 2] - 1) * page + 1000);
  std::vector<std::pair<std::string, std::string>> cases = {
      {"overwrite inside a leaf", Garbage(size_t(leaves[4] - 1) * page + 700, 300, 'Q')},
      {"garbage index page", Garbage(size_t(secondaryPage_ - 1) * page, page, 'x')},
      {"zeroed leaf", Garbage(size_t(leaves[0] - 1) * page, page)},
      {"file header", Garbage(0, 100, 'h')},
      {"root page", Garbage(size_t(root_ - 1) * page, page, 'r')},
      {"cut at a page boundary", cutAt},
      {"cut inside a page", cutInside},
      {"empty file", ""},
  };
  StartUtility();
  for (const auto& [kind, damaged] : cases) {
    SCOPED_TRACE(kind);
    WriteBytes(DataFile("ACCOUNT.DB"), damaged);
    std::filesystem::remove(DataFile("ACTBU.DB"));
    Boxes().Clear();
    RebuildByKeys("ACCOUNT");
    UINT type = LostIn(damaged) == size_t(kRecords) ? MB_OK | MB_ICONEXCLAMATION : MB_OK;
    EXPECT_EQ(BoxesShown(), (std::vector<Box>{{SuccessBox(damaged), "Success", type}}));
    EXPECT_EQ(FileBytes(DataFile("ACTBU.DB")), damaged);
    EXPECT_EQ(RunClient(HostDir(kDataDir), "open", "ACCOUNT"),
              "0 " + std::to_string(kRecords - LostIn(damaged)));
  }
}

TEST_F(RebuildDamageKindsTest, AFullDiskAReadOnlyTableAndAReadOnlyDirectoryChangeNothing) {
  namespace fs = std::filesystem;
  MakeAccount();
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  StartUtility();

  // The disk fills while the rebuilt table is written.
  EngineTestFillDisk(".rst", 40000);
  RebuildByKeys("ACCOUNT");
  EngineTestFillDisk(nullptr, 0);
  std::vector<Box> expected = {
      {std::string("Rebuild of ") + kTable + " failed - the table was not changed.", "Error",
       kStop}};
  for (const Box& box : EngineErrorBoxes(
           9219, "File read or write failed.",
           std::string("Table ") + kTable + "; The disk is full; Nothing was changed; ")) {
    expected.push_back(box);
  }
  EXPECT_EQ(BoxesShown(), expected);
  EXPECT_EQ(FileBytes(DataFile("ACCOUNT.DB")), pristine_);

  // A table file marked read-only.
  Boxes().Clear();
  fs::permissions(DataFile("ACCOUNT.DB"), readOnly);
  RebuildByKeys("ACCOUNT");
  expected = {{std::string("Rebuild of ") + kTable + " failed - the table was not changed.",
               "Error", kStop}};
  for (const Box& box :
       EngineErrorBoxes(9222, "The table or its directory is read-only.",
                        std::string("Table ") + kTable +
                            "; The table file is marked read-only; Nothing was changed; ")) {
    expected.push_back(box);
  }
  EXPECT_EQ(BoxesShown(), expected);
  EXPECT_EQ(FileBytes(DataFile("ACCOUNT.DB")), pristine_);
  EXPECT_EQ(fs::status(DataFile("ACCOUNT.DB")).permissions() & fs::perms::all, readOnly);

  // A read-only directory: not even the backup can be made.
  Boxes().Clear();
  fs::permissions(DataFile("ACCOUNT.DB"), readOnly | fs::perms::owner_write);
  fs::remove(DataFile("ACTBU.DB"));
  const fs::perms directoryMode = fs::status(HostDir(kDataDir)).permissions() & fs::perms::all;
  fs::permissions(HostDir(kDataDir), fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::group_read | fs::perms::group_exec);
  RebuildByKeys("ACCOUNT");
  fs::permissions(HostDir(kDataDir), directoryMode);
  expected = {{"Unable to continue - could not copy C:\\ZARNE\\DATA\\ACTBU", "Error", kStop}};
  for (const Box& box :
       EngineErrorBoxes(9222, "The table or its directory is read-only.",
                        "Table C:\\ZARNE\\DATA\\ACTBU; Its directory is read-only; "
                        "Nothing was changed; ")) {
    expected.push_back(box);
  }
  EXPECT_EQ(BoxesShown(), expected);
  EXPECT_EQ(FileBytes(DataFile("ACCOUNT.DB")), pristine_);
  EXPECT_EQ(fs::status(DataFile("ACCOUNT.DB")).permissions() & fs::perms::all,
            readOnly | fs::perms::owner_write);
  EXPECT_FALSE(fs::exists(DataFile("ACTBU.DB")));
}

}  // namespace
