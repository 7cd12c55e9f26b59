/*
** Screenshots of the statement as a user sees it, written into the build tree to be looked
** at: the frame with a maximized statement holding values, and a 640-wide statement scrolled
** to its bottom right corner.
*/
#include "statement/tests/window/statement_window_support.h"

#include "platform/framework/mdi.h"
#include "platform/framework/scroller.h"
#include "platform/testing/screenshot.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_record.h"

#include <QImage>

namespace {

class StatementScreenshotTest : public StatementWindowTest {
 protected:
  void FillValues(RespaWindow* view) {
    TPXRecord* buyer = view->records[kBuyerTable];
    buyer->SetString(2, "Pat Payer");
    buyer->SetString(8, "12 Elm Street");
    buyer->SetString(9, "Springfield");
    buyer->SetString(10, "IL");
    view->records[kSellerTable]->SetString(2, "Sol Seller");
    view->records[kLenderTable]->SetString(2, "FHA");
    TPXRecord* summary = view->records[kSummary1Table];
    summary->SetLong(2, 731290);      // settlement 16 March 2003
    summary->SetDouble(3, 185000.0);  // contract sales price
    summary->SetDouble(4, 1250.75);   // personal property
    summary->SetLong(15, 731290);
    summary->SetLong(16, 731581);
    TPXRecord* expenses = view->records[kExpense4Table];
    expenses->SetDouble(49, 4321.09);
    expenses->SetDouble(50, 987.65);
    // The edit line is filled again from the record, as after a command's dialog.
    view->PostMessage(WM_BEGINFIELDEDIT);
    view->Invalidate(true);
    Pump();
  }
};

TEST_F(StatementScreenshotTest, MaximizedStatementHoldingValues) {
  MakeFrame(1024, 768);
  RespaWindow* view = OpenFile("2003-0316", true);
  FillValues(view);
  std::string path = std::string(STATEMENT_OUTPUT_DIR) + "/statement_maximized.png";
  ASSERT_TRUE(SaveWindowScreenshot(frame->HWindow, path));
  QImage image(QString::fromStdString(path));
  EXPECT_GE(image.width(), 1000);
}

TEST_F(StatementScreenshotTest, NarrowStatementScrolledToTheBottomRight) {
  MakeFrame(900, 700);
  RespaWindow* view = OpenFile("2003-0316");
  view->Parent->MoveWindow(0, 0, 640, 500, true);
  Pump();
  FillValues(view);
  view->Scroller->ScrollTo(view->Scroller->XRange, view->Scroller->YRange);
  Pump();
  EXPECT_EQ(view->Scroller->XPos, 72);
  EXPECT_EQ(view->Scroller->YPos, 139);
  std::string path = std::string(STATEMENT_OUTPUT_DIR) + "/statement_640_bottom_right.png";
  ASSERT_TRUE(SaveWindowScreenshot(view->Parent->HWindow, path));
}

}  // namespace
