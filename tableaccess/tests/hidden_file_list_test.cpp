/*
** THiddenFileList: created from its template without being shown, it lists the plain files
** of a directory that match its pattern and extension, and nothing for a directory that is
** missing or a path too long to be built whole.
*/
#include "tableaccess/hidden_file_list.h"

#include "platform/kernel/paths.h"
#include "platform/testing/gui_test.h"
#include "platform/user/window_manager.h"
#include "tableaccess/ww_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kScriptDir = "C:\\ZLIST\\DATA";

class HiddenFileListTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    CreateDirectory("C:\\ZLIST", nullptr);
    CreateDirectory(kScriptDir, nullptr);
    for (const char* name : {"BUYER1.zbi", "agent.ZBI", "notes.txt", "README", "B.zbi.bak"})
      Touch(name);
    // A directory whose name matches the pattern is not a file and stays out of the list.
    CreateDirectory("C:\\ZLIST\\DATA\\OLD.zbi", nullptr);
  }

  void Touch(const std::string& name) {
    TWWFile file;
    ASSERT_TRUE(file.Open((std::string(kScriptDir) + "\\" + name).c_str(), 0x42));
  }

  static std::vector<std::string> Names(const THiddenFileList& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.ListBox()->GetCount(); ++i)
      names.push_back(list.ListBox()->GetString(i));
    return names;
  }
};

}  // namespace

TEST_F(HiddenFileListTest, ListsTheMatchingPlainFilesWithoutShowingItself) {
  char before[MAX_PATH];
  GetCurrentDirectory(sizeof before, before);

  THiddenFileList list(nullptr, kHiddenFileListTemplate);
  list.SetDirectory(kScriptDir);
  list.SetExtension("zbi");
  ASSERT_TRUE(list.Create());
  EXPECT_FALSE(IsWindowVisible(list.GetHandle()));
  EXPECT_STREQ(list.Path(), "C:\\ZLIST\\DATA\\*.zbi");
  // The extension matches without regard to case; the names come as they are stored.
  EXPECT_EQ(Names(list), (std::vector<std::string>{"agent.ZBI", "BUYER1.zbi"}));

  char after[MAX_PATH];
  GetCurrentDirectory(sizeof after, after);
  EXPECT_STREQ(before, after);
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(HiddenFileListTest, DefaultsListEveryPlainFile) {
  THiddenFileList list(nullptr, kHiddenFileListTemplate);
  EXPECT_STREQ(list.NamePattern(), "*");
  EXPECT_STREQ(list.Extension(), "*");
  list.SetDirectory("C:\\ZLIST\\DATA\\");  // a closing separator is not doubled
  ASSERT_TRUE(list.Create());
  EXPECT_STREQ(list.Path(), "C:\\ZLIST\\DATA\\*.*");
  EXPECT_EQ(Names(list), (std::vector<std::string>{"agent.ZBI", "B.zbi.bak", "BUYER1.zbi",
                                                   "notes.txt", "README"}));
}

TEST_F(HiddenFileListTest, NamePatternNarrowsTheList) {
  THiddenFileList list(nullptr, kHiddenFileListTemplate);
  list.SetDirectory(kScriptDir);
  list.SetNamePattern("b*");
  ASSERT_TRUE(list.Create());
  EXPECT_EQ(Names(list), (std::vector<std::string>{"B.zbi.bak", "BUYER1.zbi"}));
}

TEST_F(HiddenFileListTest, AMissingDirectoryListsNothing) {
  THiddenFileList list(nullptr, kHiddenFileListTemplate);
  list.SetDirectory("C:\\ZLIST\\NOWHERE");
  list.SetExtension("zbi");
  ASSERT_TRUE(list.Create());
  EXPECT_EQ(list.ListBox()->GetCount(), 0);
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(HiddenFileListTest, APathTooLongToBuildWholeListsNothing) {
  // 255 characters of directory: with "\*.zbi" the path passes 259 characters, and a cut one
  // ("...\*.z" or "...\*.") would list other files.
  std::string directory = std::string(kScriptDir) + "\\" + std::string(255 - 14, 'X');
  ASSERT_EQ(directory.size(), 255u);
  THiddenFileList list(nullptr, kHiddenFileListTemplate);
  list.SetDirectory(directory.c_str());
  list.SetExtension("zbi");
  EXPECT_EQ(std::string(list.Directory()), directory);
  ASSERT_TRUE(list.Create());
  EXPECT_STREQ(list.Path(), "");
  EXPECT_EQ(list.ListBox()->GetCount(), 0);
}

TEST_F(HiddenFileListTest, TextsLongerThanTheirBuffersAreCut) {
  THiddenFileList list(nullptr, kHiddenFileListTemplate);
  std::string longText(400, 'Q');
  list.SetDirectory(longText.c_str());
  list.SetNamePattern(longText.c_str());
  list.SetExtension(nullptr);
  EXPECT_EQ(std::string(list.Directory()), std::string(255, 'Q'));
  EXPECT_EQ(std::string(list.NamePattern()), std::string(255, 'Q'));
  EXPECT_STREQ(list.Extension(), "");
}
