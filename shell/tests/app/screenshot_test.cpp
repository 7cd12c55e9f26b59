/*
** Pictures of the main window to look at: the frame with a maximized statement holding a
** file's values, and a 640-wide statement window scrolled to its bottom right corner.
*/
#include "zarne_app_fixture.h"

#include "platform/framework/mdi.h"
#include "platform/testing/screenshot.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_manager.h"
#include "filenumber/file_windows.h"
#include "shell/zarne_mdi_client.h"
#include "statement/respa_window.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <QImage>

namespace {

class ScreenshotTest : public ZarneAppTest {
 protected:
  void StartWith(const std::string& options) {
    WriteIni("[HUD1Options]\r\n" + options);
    StartApp();
    ASSERT_TRUE(app_->StartedUp());
  }
  /* Sets one field of the file's record in a table, making the record when missing. */
  template <class Set>
  void PutField(int table, Set set) {
    TPXRecord record(gTables[table], true);
    record.SetString(1, "2024-0117");
    if (record.Seek(0, 0)) {
      record.Read(0);
    } else {
      record.Clear();
      record.SetString(1, "2024-0117");
    }
    set(record);
    EXPECT_TRUE(record.Post());
  }
  void PutText(int table, int field, const char* text) {
    PutField(table, [&](TPXRecord& record) { record.SetString(field, text); });
  }
  void PutAmount(int table, int field, double amount) {
    PutField(table, [&](TPXRecord& record) { record.SetDouble(field, amount); });
  }
  void FillFile() {
    PutText(0, 2, "Ann Buyer");
    PutText(0, 12, "Bob Buyer");
    PutText(1, 2, "Sam Seller");
    PutText(2, 5, "First Savings Bank");
    PutText(4, 2, "12 Elm Street");
    PutText(4, 3, "Springfield");
    PutAmount(5, 3, 250000.00);
  }
};

TEST_F(ScreenshotTest, TheFrameWithAMaximizedStatement) {
  StartWith("Maximize=1\r\n");
  FillFile();
  OpenFileWindow(Client(), "2024-0117");
  PumpUntilIdle();
  TMDIChild* child = FindFileWindow(Client(), "2024-0117");
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(IsZoomed(child->HWindow));
  char title[64] = "";
  GetWindowText(Frame()->HWindow, title, sizeof title);
  EXPECT_STREQ(title, "Zarne - [2024-0117]");
  QImage picture = GrabWindow(Frame()->HWindow);
  EXPECT_FALSE(picture.isNull());
  EXPECT_TRUE(SaveWindowScreenshot(Frame()->HWindow, SHELL_OUTPUT_DIR "/frame_with_statement.png"));
}

TEST_F(ScreenshotTest, ANarrowStatementScrolledToItsBottomRight) {
  StartWith("Maximize=0\r\n");
  FillFile();
  OpenFileWindow(Client(), "2024-0117");
  PumpUntilIdle();
  TMDIChild* child = FindFileWindow(Client(), "2024-0117");
  ASSERT_NE(child, nullptr);
  HWND view = child->GetClientWindow()->HWindow;
  SendMessage(view, WM_HSCROLL, SB_BOTTOM, 0);
  SendMessage(view, WM_VSCROLL, SB_BOTTOM, 0);
  PumpUntilIdle();
  RECT box{};
  GetWindowRect(child->HWindow, &box);
  EXPECT_EQ(box.right - box.left, 640);
  EXPECT_TRUE(SaveWindowScreenshot(child->HWindow, SHELL_OUTPUT_DIR "/statement_bottom_right.png"));
}

}  // namespace
