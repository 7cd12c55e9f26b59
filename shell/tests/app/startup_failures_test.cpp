/*
** Start-up on fresh roots: the libraries it cannot do without end it before the frame is
** shown, with their box and a loop ending in 0; a missing second layout library is only
** reported; a refused or impossible directory ends it without creating anything; damaged
** tables and settings are left or repaired; other programs' restore requests wait.
*/
#include "zarne_app_fixture.h"

#include "platform/framework/frame.h"
#include "platform/user/message_box.h"
#include "platform/user/window_manager.h"
#include "tableaccess/field_list.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char kAsk[] = "Directory C:\\ZARNE does not exist.  Do you want to create it?";

class StartupFailureTest : public ZarneAppTest {
 protected:
  void TearDown() override {
    unsetenv("ZARNE_HIDDEN_LIBRARIES");
    unsetenv("ZARNE_LIBRARY_DIR");
    ZarneAppTest::TearDown();
  }
  void ExpectStopBox(size_t index, const char* text) {
    ASSERT_GT(Boxes().Shown().size(), index);
    EXPECT_EQ(Boxes().Shown()[index].text, text);
    EXPECT_EQ(Boxes().Shown()[index].caption, "System Error");
    EXPECT_EQ(Boxes().Shown()[index].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  }
  void ExpectEndedUnshown() {
    EXPECT_TRUE(quitSeen_);
    EXPECT_EQ(quitCode_, 0);
    EXPECT_FALSE(FrameShown());
    EXPECT_FALSE(app_->StartedUp());
  }
};

TEST_F(StartupFailureTest, WithoutTheGridLibraryTheProgramEndsBeforeAnythingElse) {
  setenv("ZARNE_HIDDEN_LIBRARIES", "vgrd32", 1);
  StartApp();
  ASSERT_EQ(BoxTexts(), std::vector<std::string>{"Unable to load Tessel."});
  ExpectStopBox(0, "Unable to load Tessel.");
  ExpectEndedUnshown();
  EXPECT_FALSE(fs::exists(ZarneDir()));
}

TEST_F(StartupFailureTest, WithoutTheStatementLayoutTheProgramEnds) {
  setenv("ZARNE_HIDDEN_LIBRARIES", "stmlay32", 1);
  StartApp();
  ASSERT_EQ(BoxTexts(), (std::vector<std::string>{kAsk, "Unable to load StmLay."}));
  ExpectStopBox(1, "Unable to load StmLay.");
  ExpectEndedUnshown();
}

TEST_F(StartupFailureTest, WithoutTheOtherLayoutStartUpGoesOnWithAnEmptySecondList) {
  setenv("ZARNE_HIDDEN_LIBRARIES", "auxlay32", 1);
  StartApp();
  ASSERT_EQ(BoxTexts(), (std::vector<std::string>{kAsk, "Unable to load AuxLay."}));
  ExpectStopBox(1, "Unable to load AuxLay.");
  EXPECT_TRUE(app_->StartedUp());
  EXPECT_TRUE(FrameShown());
  EXPECT_TRUE(IsZoomed(Frame()->HWindow));
  EXPECT_EQ(FirstField(&gOtherFieldList), nullptr);
  EXPECT_NE(FirstField(&gRespaFieldList), nullptr);
}

TEST_F(StartupFailureTest, ALayoutLibraryWithoutItsRecordExportEndsTheProgram) {
  setenv("ZARNE_LIBRARY_DIR", BROKEN_LAYOUT_DIR, 1);
  StartApp();
  ASSERT_EQ(BoxTexts(), (std::vector<std::string>{kAsk, "GetProcessAddress failed."}));
  ExpectStopBox(1, "GetProcessAddress failed.");
  ExpectEndedUnshown();
  EXPECT_EQ(FirstField(&gRespaFieldList), nullptr);
}

TEST_F(StartupFailureTest, RefusingTheDirectoryEndsWithoutCreatingIt) {
  Boxes().QueueAnswer(IDNO);
  StartApp();
  ASSERT_EQ(BoxTexts(), (std::vector<std::string>{kAsk, "This directory is required."}));
  ExpectStopBox(1, "This directory is required.");
  ExpectEndedUnshown();
  EXPECT_FALSE(fs::exists(Root() + "/drive_c/ZARNE"));
  EXPECT_FALSE(fs::exists(Root() + "/drive_c/ZARNE/BUYER.DB"));
}

TEST_F(StartupFailureTest, ADatabaseDirectoryNamingAFileLeavesTheFileAlone) {
  WriteIni("[System]\r\nDirDatabase=C:\\OFFICE.TXT\r\n");
  WriteHostFile(Root() + "/drive_c/OFFICE.TXT", "minutes of the meeting\n");
  StartApp();
  ASSERT_EQ(BoxTexts(), (std::vector<std::string>{
                            "Directory C:\\OFFICE.TXT does not exist.  Do you want to create it?",
                            "This directory is required."}));
  ExpectEndedUnshown();
  EXPECT_EQ(ReadHostFile(Root() + "/drive_c/OFFICE.TXT"), "minutes of the meeting\n");
}

TEST_F(StartupFailureTest, ADamagedTableEndsStartUpAndIsLeftAsItWas) {
  const std::string junk(3000, '\x5A');
  WriteHostFile(ZarneDir() + "/BUYER.DB", junk);
  StartApp();
  ASSERT_FALSE(Boxes().Shown().empty());
  EXPECT_EQ(Boxes().Shown()[0].caption, "Database Error");
  ExpectEndedUnshown();
  EXPECT_EQ(ReadHostFile(ZarneDir() + "/BUYER.DB"), junk);
  EXPECT_FALSE(fs::exists(ZarneDir() + "/SELLER.DB"));  // nothing after the failed table
}

TEST_F(StartupFailureTest, AGarbageSettingsFileAndOutOfRangeOptionsAreRepaired) {
  WriteIni(
      std::string("\x01\x02garbage\xff\r\n=\r\n[HUD1Options]\r\nAutoClose=5\r\nMaxWindows=9\r\n"
                  "Privacy=-1\r\nDateSig=1\r\n"));
  StartApp();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kAsk});
  EXPECT_TRUE(FrameShown());
  std::string ini = Ini();
  for (const char* line : {"AutoClose=1", "MaxWindows=1", "Privacy=0", "DateSig=1", "Maximize=1",
                           "DirDatabase=C:\\ZARNE"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
  EXPECT_EQ(ini.find("AutoClose=5"), std::string::npos);
  EXPECT_EQ(ini.find("MaxWindows=9"), std::string::npos);
}

TEST_F(StartupFailureTest, ARestoreRequestDuringStartUpIsIgnored) {
  // The request arrives while start-up waits on its first question.
  bool hiddenAfterRequest = false;
  MessageBoxPresenter previous = SetMessageBoxPresenter([&](const MessageBoxRequest& box) {
    HWND frame = TApplication::Current()->GetMainWindow()->HWindow;
    SendMessage(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessage(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    hiddenAfterRequest = !IsWindowVisible(frame);
    return DefaultMessageBoxAnswer(box.type);
  });
  StartApp();
  SetMessageBoxPresenter(previous);
  EXPECT_TRUE(hiddenAfterRequest);
  EXPECT_TRUE(FrameShown());
  // Once started, the same request is the frame's own business again.
  SendMessage(Frame()->HWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpUntilIdle();
  EXPECT_FALSE(IsZoomed(Frame()->HWindow));
}

}  // namespace
