/*
** The utility as a program: its engine error boxes, its About box against the version data
** of zrnfix32.rc (worked out by hand), show commands, a failed engine start, a second
** close, screenshots of its windows, and the real zrnfix32 binary started offscreen and
** ended by SIGTERM.
*/
#include "rebuild/tests/rebuild_test_support.h"

#include "platform/engine/engine_test_hooks.h"
#include "platform/framework/frame.h"
#include "platform/kernel/modules.h"
#include "platform/testing/screenshot.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/winuser.h"
#include "rebuild/project_rc_version.h"
#include "rebuild/report_bde_error.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace rebuildtest;

namespace {

constexpr UINT kStop = MB_OK | MB_ICONSTOP;

class RebuildProgramTest : public RebuildTest {
 protected:
  void TearDown() override {
    EngineTestClearFailures();
    RebuildTest::TearDown();
  }
};

TEST_F(RebuildProgramTest, EngineErrorBoxesShowTheNumberTheTextAndTheContexts) {
  ReportBdeErrorDetail(0x00010000);  // only high bits set: no failure
  EXPECT_TRUE(BoxesShown().empty());

  EngineTestFailCall("EngineSetDirectory", 1, ENGINE_ERR_DIRNOTFOUND);
  DWORD code = EngineSetDirectory(nullptr, "C:\\NOWHERE");
  ReportBdeErrorDetail(code);
  EXPECT_EQ(BoxesShown(), EngineErrorBoxes(9218, "Directory does not exist.", "None"));

  Boxes().Clear();
  EngineTestFailCall("EngineCopyTable", 1, ENGINE_ERR_FILEIO, {"Table C:\\A\\B", "", "disk full"});
  ReportBdeErrorDetail(EngineCopyTable(nullptr, 1, "A", "PARADOX", "B") | 0x00050000);
  EXPECT_EQ(BoxesShown(),
            EngineErrorBoxes(9219, "File read or write failed.", "Table C:\\A\\B; disk full; "));
}

/* Runs the About box from the Help menu by keys and answers its three texts. */
std::vector<std::string> AboutTexts(const std::string& screenshot = {}) {
  std::vector<std::string> texts;
  DialogDriver driver;
  driver.OnDialog(22000, [&](HWND dialog) {
    for (int id : {22001, 22002, 22003}) texts.push_back(ControlTextOf(dialog, id));
    if (!screenshot.empty()) SaveWindowScreenshot(dialog, screenshot);
    PressDialogKey(dialog, VK_RETURN);
  });
  PressKey('H', Qt::AltModifier);
  PressKey(VK_RETURN);
  ProcessPendingMessages();
  return texts;
}

TEST_F(RebuildProgramTest, AboutBoxShowsNameVersionAndCopyrightFromTheVersionData) {
  if (std::getenv("REBUILD_TEST_CHILD")) {
    // The copy run from the accented directory: its module name holds "é" (0xE9).
    char name[1024] = {};
    GetModuleFileName(nullptr, name, sizeof name);
    EXPECT_NE(std::string(name).find("Caf\xE9 Install"), std::string::npos) << name;
  }
  StartUtility();
  // From zrnfix32.rc: ProductName "ZarneFix", ProductVersion "3.2", the template's
  // "Version" between them; LegalCopyright in Windows-1252 (the copyright sign is 0xA9);
  // no SpecialBuild value.
  EXPECT_EQ(AboutTexts("zrnfix32_about.png"),
            (std::vector<std::string>{"ZarneFix Version 3.2",
                                      "Copyright \xA9 1996-1999 Zarne Settlement Systems", ""}));
}

TEST_F(RebuildProgramTest, AModuleWithoutVersionDataAnswersNothing) {
  HMODULE engine = GetModuleHandle("zarne_engine.dll");
  ASSERT_NE(engine, nullptr);
  ProjectRCVersion version(engine);
  const char* value = "untouched";
  EXPECT_FALSE(version.GetProductName(value));
  EXPECT_FALSE(version.GetProductVersion(value));
  EXPECT_FALSE(version.GetLegalCopyright(value));
  EXPECT_FALSE(version.GetSpecialBuild(value));
  EXPECT_STREQ(value, "untouched");
  ProjectRCVersion program(GetModuleHandle(nullptr));
  EXPECT_TRUE(program.GetProductName(value));
  EXPECT_STREQ(value, "ZarneFix");
}

TEST_F(RebuildProgramTest, AboutBoxFindsItsVersionDataFromADirectoryWithAnAccentedName) {
  if (std::getenv("REBUILD_TEST_CHILD")) GTEST_SKIP() << "already the copy";
  std::string dir = Root() + "/Caf\xC3\xA9 Install";  // "Café Install" on the host (UTF-8)
  std::filesystem::create_directories(dir);
  std::string copy = dir + "/rebuild_tests";
  std::filesystem::copy_file("/proc/self/exe", copy);
  pid_t child = ::fork();
  if (child == 0) {
    ::setenv("REBUILD_TEST_CHILD", "1", 1);
    ::execl(
        copy.c_str(), copy.c_str(),
        "--gtest_filter=RebuildProgramTest.AboutBoxShowsNameVersionAndCopyrightFromTheVersionData",
        static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(RebuildProgramTest, ShowCommandsOtherThanHideAndMinimizedBecomeNormal) {
  for (auto [given, kept] :
       std::vector<std::pair<int, int>>{{SW_HIDE, SW_HIDE},
                                        {SW_SHOWMINNOACTIVE, SW_SHOWMINNOACTIVE},
                                        {SW_SHOWMAXIMIZED, SW_SHOWNORMAL}}) {
    StartUtility(given);
    HWND frame = app_->GetMainWindow()->HWindow;
    EXPECT_EQ(app_->nCmdShow, kept) << given;
    EXPECT_EQ(IsWindowVisible(frame) != FALSE, given != SW_HIDE) << given;
    EXPECT_EQ(IsIconic(frame) != FALSE, given == SW_SHOWMINNOACTIVE) << given;
    EXPECT_FALSE(IsZoomed(frame)) << given;
    EXPECT_TRUE(CloseUtility());
    app_.reset();
  }
  EXPECT_TRUE(BoxesShown().empty());
}

TEST_F(RebuildProgramTest, AFailedEngineStartShowsTheBoxesAndEndsWithoutADatabase) {
  EngineTestFailCall("EngineInit", 1, ENGINE_ERR_NOTINITIALIZED);
  StartUtility();
  EXPECT_EQ(BoxesShown(), EngineErrorBoxes(8456, "Database engine not initialized.", "None"));
  int code = -1;
  EXPECT_TRUE(QuitPosted(&code));
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(app_->EngineStarted());
  EXPECT_EQ(app_->Database(), nullptr);
}

TEST_F(RebuildProgramTest, ClosingTwiceEndsTheEngineOnceWithoutABox) {
  StartUtility();
  ASSERT_TRUE(app_->EngineStarted());
  ASSERT_NE(app_->Database(), nullptr);
  EXPECT_TRUE(app_->CanClose());
  EXPECT_FALSE(app_->EngineStarted());
  EXPECT_TRUE(app_->CanClose());  // a second EngineExit would answer a failure and box it
  EXPECT_TRUE(BoxesShown().empty());
}

TEST_F(RebuildProgramTest, ScreenshotsOfTheFrameAndTheRebuildDialog) {
  CreateTables(kDataDir, {"BANK"});
  StartUtility();
  HWND frame = app_->GetMainWindow()->HWindow;
  EXPECT_EQ(app_->GetMainWindow()->GetWindowText(), "ZarneFix");
  EXPECT_TRUE(SaveWindowScreenshot(frame, "zrnfix32_frame.png"));
  std::vector<std::string> listed;
  driver_->OnDialog(1001, [&](HWND dialog) {
    HWND list = FindControl(dialog, 398);
    LRESULT count = SendMessage(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char text[32] = {};
      SendMessage(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
      listed.push_back(text);
    }
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(SaveWindowScreenshot(dialog, "zrnfix32_rebuild_dialog.png"));
    PressDialogKey(dialog, VK_ESCAPE);
  });
  PressKey('F', Qt::AltModifier);
  PressKey(VK_RETURN);
  ProcessPendingMessages();
  EXPECT_EQ(listed, kSortedTableNames);
}

/* Every file below dir with its bytes. */
std::map<std::string, std::string> FilesBelow(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

TEST_F(RebuildProgramTest, TheRealProgramStartsOffscreenChangesNothingAndEndsOnSigterm) {
  CreateTables(kDataDir, {"BUYER", "ACCOUNT"});
  const auto before = FilesBelow(HostDir(kDataDir));
  OtherProgram program(ZRNFIX32_PROGRAM);
  EXPECT_TRUE(program.WaitForWindows([](const std::vector<SeenWindow>& windows) {
    for (const SeenWindow& w : windows) {
      if (w.title == "ZarneFix" && w.visible && !w.iconic) return true;
    }
    return false;
  })) << "no published ZarneFix frame";
  EXPECT_EQ(program.Terminate(), 0);
  EXPECT_EQ(FilesBelow(HostDir(kDataDir)), before);
}

}  // namespace
