/*
** Shutdown with two files open, one with a value still in its edit line: File|Exit by keys,
** and in a second run SIGTERM, save both files, free both locks for other programs, and
** close the tables once, even when asked again as a logout does.
*/
#include "zarne_app_fixture.h"

#include "../lock_probe_runner.h"
#include "filenumber/file_windows.h"
#include "platform/framework/mdi.h"
#include "platform/framework/termination.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/window_manager.h"
#include "shell/shell_ids.h"
#include "shell/zarne_mdi_client.h"
#include "statement/one_controls.h"
#include "statement/respa_window.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <csignal>

namespace {

class ShutdownTest : public ZarneAppTest {
 protected:
  void SetUp() override {
    ZarneAppTest::SetUp();
    WriteIni("[HUD1Options]\r\nMaxWindows=2\r\n");
    StartApp();
    ASSERT_TRUE(app_->StartedUp());
    auto* client = static_cast<ZarneMDIClient*>(Frame()->GetClientWindow());
    OpenFileWindow(client, "X1");
    PumpUntilIdle();
    TMDIChild* first = FindFileWindow(client, "X1");
    ASSERT_NE(first, nullptr);
    dynamic_cast<RespaWindow*>(first->GetClientWindow())->records[0]->SetString(12, "Second Buyer");
    OpenFileWindow(client, "X2");
    PumpUntilIdle();
    TMDIChild* second = FindFileWindow(client, "X2");
    ASSERT_NE(second, nullptr);
    auto* view = dynamic_cast<RespaWindow*>(second->GetClientWindow());
    ASSERT_NE(view->editLine, nullptr);
    // The edit line stands on the first buyer's name once the window is shown.
    SetFocus(view->editLine->HWindow);
    TypeText("Typed Before Exit");
    PumpUntilIdle();
    EXPECT_EQ(ProbeLock(ZarneDir(), "X1"), "refused");
    EXPECT_EQ(ProbeLock(ZarneDir(), "X2"), "refused");
  }

  std::string Stored(const char* number, int field) {
    PXInit();
    PXOpenDatabase();
    PXSetDirectory(ZarneDir().c_str());
    std::string text = "<none>";
    {
      TPXTable buyer("BUYER", 0);
      TPXRecord record(&buyer, false);
      record.SetString(1, number);
      if (record.Seek(0, 0)) {
        char value[64] = "";
        record.Read(0);
        record.GetString(field, value, sizeof value);
        text = value;
      }
    }
    PXExit();
    return text;
  }

  void ExpectEverythingSavedAndFreed() {
    EXPECT_TRUE(Frame() == nullptr || Frame()->HWindow == nullptr);
    EXPECT_TRUE(quitSeen_);
    EXPECT_EQ(quitCode_, 0);
    for (TPXTable* table : gTables) EXPECT_EQ(table, nullptr);
    EXPECT_EQ(gAccountRecord, nullptr);
    EXPECT_EQ(gBankRecord, nullptr);
    // Asked again, as a logout after File|Exit would: nothing is closed twice.
    EXPECT_TRUE(app_->CanClose());
    EXPECT_EQ(ProbeLock(ZarneDir(), "X1"), "locked");
    EXPECT_EQ(ProbeLock(ZarneDir(), "X2"), "locked");
    EXPECT_EQ(Stored("X1", 12), "Second Buyer");
    EXPECT_EQ(Stored("X2", 2), "Typed Before Exit");
  }
};

TEST_F(ShutdownTest, FileExitByKeysSavesBothFilesAndFreesBothLocks) {
  SetFocus(Frame()->HWindow);
  PressKey('F', Qt::AltModifier);
  PressKey('X');
  PumpUntilIdle();
  ExpectEverythingSavedAndFreed();
}

TEST_F(ShutdownTest, SigtermSavesBothFilesAndFreesBothLocks) {
  // What the program's loop sets up around start-up.
  CatchTerminationSignals();
  WatchForTermination([]() -> HWND { return TApplication::Current()->GetMainWindow()->HWindow; });
  raise(SIGTERM);
  PumpUntilIdle();
  ExpectEverythingSavedAndFreed();
}

}  // namespace
