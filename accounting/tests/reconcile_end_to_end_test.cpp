/*
** The reconciliation from start to end through its dialogs, on a small ledger whose figures
** expected/reconcile_end_to_end.py works out: the proposal after a closed period, the
** statement written to BANK, deposits and checks picked by real clicks and cleared, the
** report read back from its PDF, the period closed, and the next period's proposal; then an
** ending balance one cent off, which offers no close.
*/
#include "accounting/account_transfers.h"
#include "reconcile_fixture.h"
#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

class ReconcileEndToEndTest : public ReconcileTest {
 protected:
  void SetUp() override {
    ReconcileTest::SetUp();
    PutStatement(kBank, {DateOf(1, 31, 2024), DateOf(1, 31, 2024), 800.00, 1000.00});
    Put("B-001", 'D', 1.0, 7, 1200.00, DateOf(1, 5, 2024), 0, "Opening");
    Put("B-002", 'C', 2.0, 7, 200.00, DateOf(1, 10, 2024), 900, "Old check");
    Put("F-100", 'D', 3.0, 5, 500.00, DateOf(2, 3, 2024), 0, "Smith & Jones");
    Put("F-101", 'D', 4.0, 5, 250.25, DateOf(2, 10, 2024), 0, "Baker");
    Put("F-102", 'D', 5.0, 3, 75.10, kBlankDate, 0, "Clark");
    Put("F-103", 'D', 6.0, 5, 1234.56, DateOf(2, 20, 2024), 0, "Davis");
    Put("F-104", 'D', 7.0, 5, 99.99, DateOf(3, 5, 2024), 0, "Evans");
    Put("F-100", 'C', 8.0, 2, 300.00, DateOf(2, 5, 2024), 1001, "Title Co");
    Put("F-101", 'C', 9.0, 2, 45.67, DateOf(2, 12, 2024), 1002, "County Recorder");
    Put("F-102", 'C', 10.0, 2, 800.00, DateOf(2, 25, 2024), 1003, "Lender");
    Put("F-103", 'C', 11.0, 0, 10.00, DateOf(2, 26, 2024), 0, "Ready check");
    Put("F-105", 'C', 12.0, 4, 20.00, DateOf(2, 26, 2024), 1004, "Void check");
    Put("0", 'B', 13.0, 6, -12.50, DateOf(2, 28, 2024), 0, "Service charge");
    Put("F-100", 'D', 14.0, 5, 777.77, DateOf(2, 3, 2024), 0, "Other account", 4);
  }

  static std::string Total(HWND dialog) { return ControlTextOf(dialog, 261); }
};

std::string Squeeze(const std::string& text) {
  return std::regex_replace(text, std::regex(" +"), " ");
}

TEST_F(ReconcileEndToEndTest, APeriodIsReconciledReportedAndClosed) {
  EXPECT_TRUE(RunReconcile(
      [&](HWND info) {
        EXPECT_EQ(SendMessage(FindControl(info, 136), CB_GETCURSEL, 0, 0), 0);
        SendMessage(FindControl(info, 136), CB_SETCURSEL, kBank, 0);
        SendMessage(info, WM_COMMAND, MAKEWPARAM(136, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(FindControl(info, 136)));
        // A closed period: its ending balance begins the next one and cannot be changed.
        EXPECT_FALSE(IsWindowVisible(FindControl(info, 104)));
        EXPECT_TRUE(IsWindowVisible(FindControl(info, 204)));
        EXPECT_EQ(ControlTextOf(info, 204), "1,000.00");
        EXPECT_EQ(ControlTextOf(info, 105), "0.00");
        EXPECT_EQ(ControlTextOf(info, 106), "02/29/24");
        SaveWindowScreenshot(info, PicturePath("bank_statement_information.png"));
        TypeStatement(info, "1622.06");
      },
      [&](HWND dialog) {
        // BANK holds the statement before the reconcile dialog opens; field 6 untouched.
        const Statement written = StoredStatement(kBank);
        EXPECT_EQ(written.LastCloseDate, DateOf(2, 29, 2024));
        EXPECT_EQ(written.LastBalanceDate, DateOf(1, 31, 2024));
        EXPECT_EQ(written.LastBegin, 1000.00);
        EXPECT_EQ(written.LastEnd, 1622.06);

        EXPECT_EQ(ControlTextOf(dialog, 264), "Account 3");
        EXPECT_EQ(ControlTextOf(dialog, 101), "DEPOSITS: Dates  - 02/29/2024");
        ASSERT_EQ(RowCount(dialog), 4);  // blank date first, then by date; not F-104 (March)
        EXPECT_EQ(RowOf(dialog, "F-102"), 0);
        EXPECT_EQ(RowOf(dialog, "F-100"), 1);
        EXPECT_EQ(RowOf(dialog, "F-101"), 2);
        EXPECT_EQ(RowOf(dialog, "F-103"), 3);
        EXPECT_TRUE(IsWindowVisible(FindControl(dialog, 261)));
        EXPECT_EQ(Total(dialog), "0.00");
        ClickRow(dialog, 1);
        EXPECT_EQ(Total(dialog), "500.00");
        ClickRow(dialog, 3);
        EXPECT_EQ(Total(dialog), "1,734.56");
        ClickRow(dialog, 0);
        EXPECT_EQ(Total(dialog), "1,809.66");
        ClickRow(dialog, 0);  // a second click takes it out again
        EXPECT_EQ(Total(dialog), "1,734.56");
        EXPECT_FALSE(Selected(dialog, 0));
        EXPECT_EQ(SelectedCount(dialog), 2);
        SaveWindowScreenshot(dialog, PicturePath("reconcile_account_deposits.png"));
        PressButton(dialog, 104);
        ASSERT_EQ(RowCount(dialog), 2);
        EXPECT_EQ(RowOf(dialog, "F-102"), 0);
        EXPECT_EQ(RowOf(dialog, "F-101"), 1);
        EXPECT_EQ(StoredStatus("F-100", 'D', 3.0), 6);
        EXPECT_EQ(StoredStatus("F-103", 'D', 6.0), 6);
        EXPECT_EQ(StoredStatus("F-101", 'D', 4.0), 5);

        ChooseRange(dialog, 101, "02/29/24");
        EXPECT_EQ(ControlTextOf(dialog, 101), "CHECKS: Dates  - 02/29/2024");
        EXPECT_FALSE(IsWindowVisible(FindControl(dialog, 261)));
        ASSERT_EQ(RowCount(dialog), 3);  // Printed only: not the Ready or the Void check
        EXPECT_EQ(RowOf(dialog, "F-100"), 0);
        EXPECT_EQ(RowOf(dialog, "F-101"), 1);
        EXPECT_EQ(RowOf(dialog, "F-102"), 2);
        ClickRow(dialog, 0);
        ClickRow(dialog, 2);
        PressButton(dialog, 104);
        ASSERT_EQ(RowCount(dialog), 1);
        EXPECT_EQ(RowOf(dialog, "F-101"), 0);

        Boxes().QueueAnswer(IDOK);  // where the report went
        Boxes().QueueAnswer(IDOK);
        Boxes().QueueAnswer(IDYES);
        PressButton(dialog, 342);
      }));
  const std::vector<std::string> texts = BoxTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_TRUE(TellsPrintedPdfs(Shown()[0])) << texts[0];
  EXPECT_EQ(
      texts[1],
      "The account has been reconciled.  Before continuing, examine the Reconciliation Report to be sure "
      "it has printed properly.");
  EXPECT_EQ(Shown()[2].caption, "Zarne Message");
  EXPECT_EQ(Shown()[2].type & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));

  const std::string pdf = PrintedPdf();
  const std::string text = PdfText(pdf);
  RenderFirstPage(pdf, PicturePath("reconciliation_report_page1.png"));
  // Sections in order, each with its rows in answer order.
  const std::string flat = Squeeze(text);
  const std::vector<std::string> order = {"Reconciliation Report",
                                          "Account 3",
                                          "Statement Close Date: 02/29/2024",
                                          "Deposits - Reconciled",
                                          "02/03/2024 Smith & Jones 500.00",
                                          "02/20/2024 Davis 1,234.56",
                                          "Deposits - In Transit",
                                          "02/10/2024 Baker 250.25",
                                          "Checks - Reconciled",
                                          "1001 02/05/2024 Title Co 300.00",
                                          "1003 02/25/2024 Lender 800.00",
                                          "Checks - Outstanding",
                                          "1002 02/12/2024 County Recorder 45.67",
                                          "Adjustments - Reconciled",
                                          "02/28/2024 -12.50",
                                          "Bank Balance Summary",
                                          "Beginning bank balance 1,000.00",
                                          "Plus deposits received 1,734.56",
                                          "Less cleared checks -1,100.00",
                                          "Bank adjusments -12.50",
                                          "Calculated ending balance 1,622.06",
                                          "Ending bank balance 1,622.06",
                                          "Variance 0.00",
                                          "Book Balance Summary",
                                          "Ending bank balance 1,622.06",
                                          "Plus deposits in transit 250.25",
                                          "Less outstanding checks -45.67",
                                          "Reconciled bank balance 1,826.64",
                                          "Book balance 1,826.64",
                                          "Variance 0.00"};
  size_t at = 0;
  for (const std::string& piece : order) {
    const size_t found = flat.find(piece, at);
    EXPECT_NE(found, std::string::npos) << piece << "\n" << flat;
    if (found != std::string::npos) at = found + piece.size();
  }
  EXPECT_EQ(text.find("NOT IN BALANCE"), std::string::npos);
  EXPECT_EQ(text.find("Clark"), std::string::npos);           // Unposted: in no section
  EXPECT_EQ(text.find("Evans"), std::string::npos);           // after the close date
  EXPECT_EQ(text.find("Service charge"), std::string::npos);  // an adjustment's text is not fetched

  // The period is closed: the Reconciled entries up to the date are Balanced, nothing else moved.
  EXPECT_EQ(StoredStatus("F-100", 'D', 3.0), 7);
  EXPECT_EQ(StoredStatus("F-103", 'D', 6.0), 7);
  EXPECT_EQ(StoredStatus("F-100", 'C', 8.0), 7);
  EXPECT_EQ(StoredStatus("F-102", 'C', 10.0), 7);
  EXPECT_EQ(StoredStatus("0", 'B', 13.0), 7);
  EXPECT_EQ(StoredStatus("F-101", 'D', 4.0), 5);
  EXPECT_EQ(StoredStatus("F-102", 'D', 5.0), 3);
  EXPECT_EQ(StoredStatus("F-104", 'D', 7.0), 5);
  EXPECT_EQ(StoredStatus("F-101", 'C', 9.0), 2);
  EXPECT_EQ(StoredStatus("F-103", 'C', 11.0), 0);
  EXPECT_EQ(StoredStatus("F-105", 'C', 12.0), 4);
  EXPECT_EQ(StoredStatus("B-001", 'D', 1.0), 7);
  EXPECT_EQ(StoredStatus("F-100", 'D', 14.0), 5);
  EXPECT_EQ(StoredStatement(kBank).LastBalanceDate, DateOf(2, 29, 2024));

  // The next period, ended one cent off: both sides out of balance, no close offered.
  Boxes().Clear();
  ClearPrintedPdfs();
  EXPECT_TRUE(RunReconcile(
      [&](HWND info) {
        SendMessage(FindControl(info, 136), CB_SETCURSEL, kBank, 0);
        SendMessage(info, WM_COMMAND, MAKEWPARAM(136, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(FindControl(info, 136)));
        EXPECT_EQ(ControlTextOf(info, 204), "1,622.06");
        EXPECT_EQ(ControlTextOf(info, 105), "0.00");
        EXPECT_EQ(ControlTextOf(info, 106), "03/31/24");
        TypeStatement(info, "1622.07");
      },
      [&](HWND dialog) { PressButton(dialog, 342); }));
  ExpectOnlyPrintedPdfsTold();  // out of balance: no close offered
  const std::string off = Squeeze(PdfText(PrintedPdf()));
  EXPECT_NE(off.find("Variance -0.01 *** NOT IN BALANCE ***"), std::string::npos) << off;
  EXPECT_NE(off.find("Reconciled bank balance 1,926.64"), std::string::npos) << off;
  EXPECT_NE(off.find("Book balance 1,926.63"), std::string::npos) << off;
  EXPECT_NE(off.find("Variance 0.01 *** NOT IN BALANCE ***"), std::string::npos) << off;
  EXPECT_NE(off.find("Less cleared checks -0.00"), std::string::npos) << off;
  EXPECT_EQ(StoredStatement(kBank).LastBalanceDate, DateOf(2, 29, 2024));
}

}  // namespace
