/*
** Directory listings in list boxes: LB_DIR and DlgDirList over a directory whose names mix
** upper and lower case, reached through the kernel's Windows path mapping.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/user/combobox_control.h"
#include "platform/user/listbox_control.h"

#include <string>
#include <vector>

using ListBoxDirectory = WindowTest;

namespace {

void MakeFile(const std::string& windowsPath) {
  HFILE file = _lcreat(windowsPath.c_str(), 0);
  ASSERT_NE(file, HFILE_ERROR) << windowsPath;
  _lwrite(file, "x", 1);
  _lclose(file);
}

std::vector<std::string> Items(HWND list, UINT countMessage = LB_GETCOUNT,
                               UINT textMessage = LB_GETTEXT) {
  std::vector<std::string> texts;
  LRESULT count = SendMessage(list, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char buffer[MAX_PATH] = {};
    SendMessage(list, textMessage, i, reinterpret_cast<LPARAM>(buffer));
    texts.push_back(buffer);
  }
  return texts;
}

class DirectoryOfScripts : public ListBoxDirectory {
 protected:
  void SetUp() override {
    ListBoxDirectory::SetUp();
    ASSERT_TRUE(CreateDirectory("C:\\Zarne", nullptr));
    MakeFile("C:\\Zarne\\Fees.ZBI");
    MakeFile("C:\\Zarne\\alpha.zbi");
    MakeFile("C:\\Zarne\\Beta.Zbi");
    MakeFile("C:\\Zarne\\notes.txt");
    MakeFile("C:\\Zarne\\README");
    ASSERT_TRUE(CreateDirectory("C:\\Zarne\\Old.zbi", nullptr));  // a directory is never listed
  }
};

HWND CreateList(HWND parent, DWORD style, int id = 102) {
  return CreateWindow("listbox", "", WS_CHILD | WS_VISIBLE | style, 0, 0, 150, 100, parent,
                      reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

}  // namespace

TEST_F(DirectoryOfScripts, LbDirListsMatchingPlainFilesAsStoredInNameOrder) {
  HWND top = TopWindow();
  HWND list = CreateList(top, 0);
  // The pattern and the directory are matched without regard to case.
  LRESULT last =
      SendMessage(list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>("c:\\ZARNE\\*.ZBI"));
  EXPECT_EQ(last, 2);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"alpha.zbi", "Beta.Zbi", "Fees.ZBI"}));
  // Added to what is there; a sorted list sorts them among its items.
  HWND sorted = CreateList(top, LBS_SORT, 103);
  SendMessage(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Charlie.zbi"));
  SendMessage(sorted, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>("C:\\Zarne\\*.zbi"));
  EXPECT_EQ(Items(sorted),
            (std::vector<std::string>{"alpha.zbi", "Beta.Zbi", "Charlie.zbi", "Fees.ZBI"}));
  // "*.*" names every file, also one without an extension; '?' stands for one character.
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  SendMessage(list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>("C:\\Zarne\\*.*"));
  EXPECT_EQ(Items(list).size(), 5u);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  SendMessage(list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>("C:\\Zarne\\?eta.*"));
  EXPECT_EQ(Items(list), std::vector<std::string>{"Beta.Zbi"});
}

TEST_F(DirectoryOfScripts, LbDirFailsForAMissingDirectoryAndListsNothingForDirectoriesAlone) {
  HWND top = TopWindow();
  HWND list = CreateList(top, 0);
  EXPECT_EQ(
      SendMessage(list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>("C:\\Nowhere\\*.zbi")),
      LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>("C:\\Zarne\\*.doc")),
            LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_DIR, DDL_DIRECTORY | DDL_EXCLUSIVE,
                        reinterpret_cast<LPARAM>("C:\\Zarne\\*.*")),
            LB_ERR);
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(DirectoryOfScripts, DlgDirListFillsTheListSetsTheDirectoryAndLeavesThePattern) {
  char before[MAX_PATH] = {};
  GetCurrentDirectory(sizeof before, before);
  HWND top = TopWindow();
  HWND list = CreateList(top, 0);
  HWND label = CreateWindow("edit", "", WS_CHILD, 0, 120, 200, 20, top,
                            reinterpret_cast<HMENU>(103), nullptr, nullptr);
  SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("stale"));
  char pattern[MAX_PATH] = "C:\\ZARNE\\*.zbi";
  EXPECT_TRUE(DlgDirList(top, pattern, 102, 103, DDL_READWRITE));
  EXPECT_STREQ(pattern, "*.zbi");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"alpha.zbi", "Beta.Zbi", "Fees.ZBI"}));
  char current[MAX_PATH] = {};
  GetCurrentDirectory(sizeof current, current);
  EXPECT_STREQ(current, "C:\\ZARNE");  // as given, like the platform
  char shown[MAX_PATH] = {};
  GetWindowText(label, shown, sizeof shown);
  EXPECT_STREQ(shown, current);
  // A bare pattern lists the current directory.
  char bare[MAX_PATH] = "*.TXT";
  EXPECT_TRUE(DlgDirList(top, bare, 102, 0, DDL_READWRITE));
  EXPECT_EQ(Items(list), std::vector<std::string>{"notes.txt"});
  char missing[MAX_PATH] = "C:\\Nowhere\\*.zbi";
  EXPECT_FALSE(DlgDirList(top, missing, 102, 0, DDL_READWRITE));
  EXPECT_EQ(Items(list), std::vector<std::string>{"notes.txt"});  // untouched
  SetCurrentDirectory(before);
}

TEST_F(DirectoryOfScripts, ComboBoxesListDirectoriesToo) {
  HWND top = TopWindow();
  HWND combo = CreateWindow("combobox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_SORT, 0,
                            0, 150, 100, top, reinterpret_cast<HMENU>(201), nullptr, nullptr);
  EXPECT_EQ(SendMessage(combo, CB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>("C:\\Zarne\\*.ZBI")),
            2);
  EXPECT_EQ(Items(combo, CB_GETCOUNT, CB_GETLBTEXT),
            (std::vector<std::string>{"alpha.zbi", "Beta.Zbi", "Fees.ZBI"}));
}
