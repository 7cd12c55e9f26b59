/*
** The Rebuild command's course as the user meets it: Cancel, an empty choice, a missing
** directory setting, each table in its own directory, long and separator-ended directory
** settings, and the captions, icons and buttons of every box.
*/
#include "rebuild/tests/rebuild_test_support.h"

#include "platform/user/winuser.h"

#include <filesystem>

using namespace rebuildtest;

namespace {

using RebuildFlowTest = RebuildTest;

TEST_F(RebuildFlowTest, CancelDoesNothing) {
  CreateTables(kDataDir, {"BUYER"});
  StartUtility();
  CancelRebuildDialog();
  EXPECT_TRUE(BoxesShown().empty());
  EXPECT_FALSE(std::filesystem::exists(DataFile("BUYBU.DB")));
}

TEST_F(RebuildFlowTest, OkWithTheSelectionClearedNamesNoTable) {
  StartUtility();
  RebuildWithNothingSelected();
  EXPECT_EQ(
      BoxesShown(),
      (std::vector<Box>{{"'' is not a valid Zarne table name.", "Error", MB_OK | MB_ICONSTOP}}));
}

TEST_F(RebuildFlowTest, AMissingDirectorySettingEndsTheUtility) {
  SetIni("DirDatabase", "");
  StartUtility();
  RebuildByKeys("BUYER");
  EXPECT_EQ(BoxesShown(),
            (std::vector<Box>{{"No zarne.ini entry", "DirDatabase", MB_OK | MB_ICONSTOP}}));
  int code = -1;
  EXPECT_TRUE(QuitPosted(&code));
  EXPECT_EQ(code, 0);
}

TEST_F(RebuildFlowTest, AHealthyTableIsRebuiltInItsDirectoryWithABackup) {
  CreateTables(kDataDir, {"BUYER"});
  StartUtility();
  RebuildByKeys("BUYER");
  EXPECT_EQ(
      BoxesShown(),
      (std::vector<Box>{{"C:\\ZARNE\\DATA\\BUYER was successfully rebuilt.\n\n0 records were kept.",
                         "Success", MB_OK}}));
  EXPECT_TRUE(std::filesystem::exists(DataFile("BUYBU.DB")));
  EXPECT_FALSE(std::filesystem::exists(DataFile("BUYPROB.DB")));
}

TEST_F(RebuildFlowTest, CheckControlIsRebuiltInItsOwnDirectory) {
  CreateTables(kCheckCtlDir, {"CHECKCTL"});
  StartUtility();
  RebuildByKeys("CHECKCTL");
  EXPECT_EQ(BoxesShown(),
            (std::vector<Box>{
                {"C:\\ZARNE\\CHECK\\CHECKCTL was successfully rebuilt.\n\n0 records were kept.",
                 "Success", MB_OK}}));
  EXPECT_TRUE(std::filesystem::exists(HostDir(kCheckCtlDir) + "/CHCBU.DB"));
  EXPECT_FALSE(std::filesystem::exists(DataFile("CHCBU.DB")));
}

TEST_F(RebuildFlowTest, ADirectoryEndingInASeparatorDoesNotDoubleIt) {
  SetIni("DirDatabase", std::string(kDataDir) + "\\");
  CreateTables(kDataDir, {"LENDER"});
  StartUtility();
  RebuildByKeys("LENDER");
  EXPECT_EQ(BoxesShown(),
            (std::vector<Box>{
                {"C:\\ZARNE\\DATA\\LENDER was successfully rebuilt.\n\n0 records were kept.",
                 "Success", MB_OK}}));
}

TEST_F(RebuildFlowTest, ADirectoryOf250CharactersIsRebuiltWithoutOverflow) {
  // "C:\" and then components of 9 letters and a separator, to 250 characters in all.
  std::string dir = "C:";
  while (dir.size() + 10 <= 250) dir += "\\DIRECTORY";
  dir += "\\" + std::string(250 - dir.size() - 1, 'Z');
  ASSERT_EQ(dir.size(), 250u);
  std::filesystem::create_directories(HostDir(dir.c_str()));
  SetIni("DirDatabase", dir);
  CreateTables(dir.c_str(), {"SAGENT"});
  StartUtility();
  RebuildByKeys("SAGENT");
  EXPECT_EQ(BoxesShown(),
            (std::vector<Box>{{dir + "\\SAGENT was successfully rebuilt.\n\n0 records were kept.",
                               "Success", MB_OK}}));
  EXPECT_TRUE(std::filesystem::exists(HostDir(dir.c_str()) + "/SABU.DB"));
}

TEST_F(RebuildFlowTest, AMissingTableFailsAtTheCopyAndReleasesItsLocks) {
  StartUtility();
  RebuildByKeys("TITLEB");
  std::vector<Box> expected = {
      {"Unable to continue - could not copy C:\\ZARNE\\DATA\\TIBBU", "Error", MB_OK | MB_ICONSTOP}};
  std::vector<Box> shown = BoxesShown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0], expected[0]);
  EXPECT_EQ(shown[1], (Box{"Error No.: 9217", "Database Error", MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(shown[2], (Box{"Table does not exist.", "Database Error", MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(shown[3].caption, "Error Context");
  EXPECT_EQ(shown[3].text, "Table C:\\ZARNE\\DATA\\TITLEB; There is no such table; ");
  // No lock stays: another program takes the table lock.
  EXPECT_EQ(RunClient(HostDir(kDataDir), "lock", "TITLEB"), "0");
}

}  // namespace
