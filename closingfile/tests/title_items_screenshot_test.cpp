// Pictures of the title-item dialogs as a user sees them, written beside the tests' build
// files: Requirements with both lists filled and a row selected, the item dialog confirming
// a deletion, and Exceptions after a load.
#include "closingfile/tests/title_items_support.h"

#include "platform/user/winuser.h"
#include "tableaccess/px_record.h"

namespace {

std::string Picture(const std::string& name) {
  return std::string(CLOSINGFILE_OUTPUT_DIR) + "/" + name;
}

class TitleItemScreenshotTest : public TitleItemsTest {};

TEST_F(TitleItemScreenshotTest, RequirementsDeleteModeAndExceptionsAfterALoad) {
  PutItem(kFile, "1A", 700000.1, "Record the warranty deed from the sellers to the buyers.");
  PutItem(kFile, "1A", 700000.2, "Record the mortgage to the lender.\x0BBook and page to follow.",
          "L");
  PutItem(kFile, "1A", 700000.3, "Satisfaction of the prior mortgage.", "O");
  PutItem(kFile, "1B", 700000.1, "Payment of the 2026 taxes.");
  PutItem(kFile, "1B", 700000.2, "Survey showing no encroachments.", "O");
  bool savedList = false, savedItem = false, savedExceptions = false;
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    ClickRow(FindControl(dialog, 101), 1);
    driver.OnDialog(kTitleItemTemplate, [&](HWND item) {
      Pump();
      savedItem = SaveWindowScreenshot(item, Picture("title_item_delete.png"));
      PressDialogKey(item, VK_ESCAPE);
    });
    Pump();
    savedList = SaveWindowScreenshot(dialog, Picture("requirements.png"));
    PressDialogKey(dialog, 'E', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  view->records[kBuyerTable]->SetString(2, "Pat Payer");
  std::string set = WriteFile("standard.B2",
                              "Rights of parties in possession.\r\n\r\n\r\n"
                              "Easements not shown by the public records.\r\n\r\n\r\n"
                              "Taxes for the year of closing, a lien not yet payable.\r\n\r\n\r\n"
                              "Mortgage given by |B1NAME| to the lender.");
  files.ChooseFiles({set});
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    PressDialogKey(dialog, 'X', Qt::AltModifier);
    Pump();
    savedExceptions = SaveWindowScreenshot(dialog, Picture("exceptions_loaded.png"));
    PressButton(dialog, IDOK);
  });
  EXPECT_TRUE(savedList);
  EXPECT_TRUE(savedItem);
  EXPECT_TRUE(savedExceptions);
  EXPECT_EQ(Stored(kFile, "2").size(), 4u);
}

}  // namespace
