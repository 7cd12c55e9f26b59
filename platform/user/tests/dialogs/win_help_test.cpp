/*
** Help tests: the page standing for a help file, beside the program, is handed to the
** desktop's browser, at the topic's anchor for HELP_CONTEXT; a missing page is reported with
** a message box naming it and FALSE; HELP_QUIT has nothing to close.
*/
#include "platform/testing/gui_test.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/paths.h"
#include "platform/user/winuser.h"

#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

class WinHelpTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SetHelpFileOpener([this](const std::string& path, const std::string& topic) {
      opened_.push_back(topic.empty() ? path : path + "#" + topic);
      return viewerWorks_;
    });
  }
  void TearDown() override {
    SetHelpFileOpener(nullptr);
    GuiTest::TearDown();
  }
  std::vector<std::string> opened_;
  bool viewerWorks_ = true;
};

TEST_F(WinHelpTest, MissingFileIsReportedAndAnswersFalse) {
  EXPECT_FALSE(WinHelp(nullptr, "nosuch.hlp", HELP_CONTENTS, 0));
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Help");
  EXPECT_NE(Boxes().Shown()[0].text.find("nosuch.html"), std::string::npos);
  EXPECT_TRUE(opened_.empty());

  EXPECT_FALSE(
      WinHelp(nullptr, "C:\\ZARNE\\tstd.hlp", HELP_KEY, reinterpret_cast<ULONG_PTR>("Deeds")));
  EXPECT_FALSE(WinHelp(nullptr, nullptr, HELP_CONTENTS, 0));
  ASSERT_EQ(Boxes().Shown().size(), 3u);
  EXPECT_EQ(Boxes().Shown()[1].text,
            "Cannot find the help page C:\\ZARNE\\tstd.html.");  // the program's drive
  EXPECT_TRUE(WinHelp(nullptr, "", HELP_QUIT, 0)) << "quitting needs no file";
  EXPECT_EQ(Boxes().Shown().size(), 3u);
}

TEST_F(WinHelpTest, AnHlpNameOpensTheHtmlPageOfTheSameBaseName) {
  char program[MAX_PATH];
  GetModuleFileName(nullptr, program, sizeof program);
  std::string directory = program;
  directory.erase(directory.find_last_of('\\') + 1);
  std::string base = "pages" + std::to_string(getpid());
  std::string page = HostPathFromWindowsPath((directory + base + ".html").c_str());
  std::ofstream(page) << "<html></html>";
  EXPECT_TRUE(WinHelp(nullptr, (base + ".HLP").c_str(), HELP_CONTENTS, 0));
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], page);
  EXPECT_TRUE(Boxes().Shown().empty());
  std::remove(page.c_str());
  // Without its page the box names the page that is missing.
  EXPECT_FALSE(WinHelp(nullptr, (base + ".hlp").c_str(), HELP_CONTENTS, 0));
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_NE(Boxes().Shown()[0].text.find(base + ".html"), std::string::npos);
}

TEST_F(WinHelpTest, FileBesideTheProgramOpensInTheViewer) {
  char program[MAX_PATH];
  GetModuleFileName(nullptr, program, sizeof program);
  std::string directory = program;
  directory.erase(directory.find_last_of('\\') + 1);
  std::string base = "zarne" + std::to_string(getpid());
  std::string name = base + ".HLP";
  std::string host = HostPathFromWindowsPath((directory + base + ".html").c_str());
  std::ofstream(host) << "<html>help</html>";
  EXPECT_TRUE(WinHelp(nullptr, (name + ">main").c_str(), HELP_CONTEXT, 12));
  EXPECT_TRUE(WinHelp(nullptr, name.c_str(), HELP_CONTENTS, 0));
  ASSERT_EQ(opened_.size(), 2u);
  EXPECT_EQ(opened_[0], host + "#12");
  EXPECT_EQ(opened_[1], host);
  EXPECT_TRUE(Boxes().Shown().empty());

  viewerWorks_ = false;  // a desktop with no browser
  EXPECT_FALSE(WinHelp(nullptr, name.c_str(), HELP_CONTENTS, 0));
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  // The page beside the program, outside the program's drives, is named as the desktop
  // knows it: the directory of /proc/self/exe.
  char exe[PATH_MAX] = "";
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  std::string exeDirectory = exe;
  exeDirectory.erase(exeDirectory.find_last_of('/') + 1);
  EXPECT_EQ(Boxes().Shown()[0].text,
            "No program is available to show the help page " + exeDirectory + base + ".html.");
  std::remove(host.c_str());
}

TEST_F(WinHelpTest, AKeywordOpensThePageAtItsAnchor) {
  char program[MAX_PATH];
  GetModuleFileName(nullptr, program, sizeof program);
  std::string directory = program;
  directory.erase(directory.find_last_of('\\') + 1);
  std::string base = "keys" + std::to_string(getpid());
  std::string host = HostPathFromWindowsPath((directory + base + ".html").c_str());
  std::ofstream(host) << "<html>keys</html>";
  std::string name = base + ".hlp";
  auto key = [](const char* keyword) { return reinterpret_cast<ULONG_PTR>(keyword); };
  EXPECT_TRUE(WinHelp(nullptr, name.c_str(), HELP_KEY, key("The Column Configuration Dialog")));
  EXPECT_TRUE(WinHelp(nullptr, name.c_str(), HELP_KEY, key("Copying Columns at Design time")));
  EXPECT_TRUE(WinHelp(nullptr, name.c_str(), HELP_KEY, key("Ctl - Tab / Tab, 2 ways")));
  ASSERT_EQ(opened_.size(), 3u);
  EXPECT_EQ(opened_[0], host + "#the-column-configuration-dialog");
  EXPECT_EQ(opened_[1], host + "#copying-columns-at-design-time");
  EXPECT_EQ(opened_[2], host + "#ctl-tab-tab-2-ways");
  std::remove(host.c_str());
}

}  // namespace
