/*
** The reconciliation against other stations and failures: Clear with an entry locked,
** changed, cleared or deleted elsewhere; the period close with a Reconciled entry locked
** elsewhere, and with one more entry cleared elsewhere after the report printed; a failed
** section or book query and a failed print job, none of which may end in a close.
*/
#include "accounting/account_transfers.h"
#include "accounting/reconcile_report.h"
#include "platform/testing/print_job_failure.h"
#include "platform/user/winuser.h"
#include "reconcile_fixture.h"
#include "second_station.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

const double kSeqs[] = {1.0, 2.0, 3.0};

class ReconcileContentionTest : public ReconcileTest {
 protected:
  void SetUp() override {
    ReconcileTest::SetUp();
    // A period closed on 01/31 with nothing Balanced: the next one begins at 0.00.
    PutStatement(kBank, {DateOf(1, 31, 2024), DateOf(1, 31, 2024), 0, 0});
    Put("A-1", 'D', 1.0, 5, 100.00, DateOf(2, 5, 2024), 0, "First");
    Put("A-2", 'D', 2.0, 5, 200.00, DateOf(2, 6, 2024), 0, "Second");
    Put("A-3", 'D', 3.0, 5, 300.00, DateOf(2, 7, 2024), 0, "Third");
    Put("A-4", 'C', 4.0, 2, 50.00, DateOf(2, 8, 2024), 501, "Outstanding");
  }
  void TearDown() override {
    gFailReconcileQueryForTest = 0;
    ReconcileTest::TearDown();
  }
  /* The statement of February with that ending balance, then the script in the reconcile
     dialog. */
  void RunFebruary(const std::string& end, const Script& script) {
    EXPECT_TRUE(RunReconcile(
        [&](HWND info) {
          SendMessage(FindControl(info, 136), CB_SETCURSEL, kBank, 0);
          SendMessage(info, WM_COMMAND, MAKEWPARAM(136, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(FindControl(info, 136)));
          TypeStatement(info, end);
        },
        script));
  }
  static void ClearAllDeposits(HWND dialog) {
    for (int row = 0; row < RowCount(dialog); ++row) ClickRow(dialog, row);
    PressButton(dialog, 104);
  }
  static std::vector<int> DepositStatuses() {
    std::vector<int> statuses;
    for (int i = 0; i < 3; ++i)
      statuses.push_back(StoredStatus("A-" + std::to_string(i + 1), 'D', kSeqs[i]));
    return statuses;
  }
  bool Shows(const std::string& text) {
    for (const std::string& shown : BoxTexts())
      if (shown == text) return true;
    return false;
  }
  static constexpr char kReconciled[] =
      "The account has been reconciled.  Before continuing, examine the Reconciliation Report to be sure it has "
      "printed properly.";
};

TEST_F(ReconcileContentionTest, ClearWritesWhatItCanAndKeepsTheRestSelected) {
  RunFebruary("600.00", [&](HWND dialog) {
    ASSERT_EQ(RowCount(dialog), 3);
    for (int row = 0; row < 3; ++row) ClickRow(dialog, row);
    {
      SecondStationLock lock({"account", "A-2", "D", SeqArgument(2.0)});
      ASSERT_EQ(lock.Answer(), "held");
      PressButton(dialog, 104);
    }
    EXPECT_EQ(DepositStatuses(), (std::vector<int>{6, 5, 6}));
    ASSERT_EQ(RowCount(dialog), 1);
    EXPECT_EQ(RowOf(dialog, "A-2"), 0);
    EXPECT_TRUE(Selected(dialog, 0));
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(
        Shown().back().text,
        "1 of the selected entries could not be marked Reconciled.  They are still selected.");
    EXPECT_EQ(Shown().back().caption, "Zarne Message");
    EXPECT_EQ(Shown().back().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    // Once the other station lets go, the same Clear writes it.
    Boxes().Clear();
    PressButton(dialog, 104);
    EXPECT_EQ(RowCount(dialog), 0);
    EXPECT_TRUE(Shown().empty());
  });
  EXPECT_EQ(DepositStatuses(), (std::vector<int>{6, 6, 6}));
}

TEST_F(ReconcileContentionTest, ClearDropsRowsOfEntriesGoneOrClearedElsewhereAndKeepsChangedOnes) {
  Put("A-5", 'D', 5.0, 5, 10.00, DateOf(2, 9, 2024), 0, "Changed");
  RunFebruary("600.00", [&](HWND dialog) {
    ASSERT_EQ(RowCount(dialog), 4);
    for (int row = 0; row < 4; ++row) ClickRow(dialog, row);
    EXPECT_EQ(RunSecondStation({"account", "A-1", "D", SeqArgument(1.0), "delete"}), "done");
    EXPECT_EQ(RunSecondStation({"account", "A-2", "D", SeqArgument(2.0), "set", "6", "i:6"}),
              "done");
    EXPECT_EQ(RunSecondStation({"account", "A-5", "D", SeqArgument(5.0), "set", "6", "i:1"}),
              "done");
    PressButton(dialog, 104);
    ASSERT_EQ(RowCount(dialog), 1);
    EXPECT_EQ(RowOf(dialog, "A-5"), 0);
    EXPECT_TRUE(Selected(dialog, 0));
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(
        Shown()[0].text,
        "1 of the selected entries could not be marked Reconciled.  They are still selected.");
  });
  EXPECT_FALSE(StoredEntry("A-1", 'D', 1.0).has_value());
  EXPECT_EQ(StoredStatus("A-2", 'D', 2.0), 6);
  EXPECT_EQ(StoredStatus("A-3", 'D', 3.0), 6);
  EXPECT_EQ(StoredStatus("A-5", 'D', 5.0), 1);  // its new status is kept
}

TEST_F(ReconcileContentionTest, ACloseWithAnEntryInUseChangesNothingAndARetrySucceeds) {
  RunFebruary("600.00", [&](HWND dialog) {
    ClearAllDeposits(dialog);
    {
      SecondStationLock lock({"account", "A-2", "D", SeqArgument(2.0)});
      ASSERT_EQ(lock.Answer(), "held");
      Boxes().QueueAnswer(IDOK);  // where the report went
      Boxes().QueueAnswer(IDOK);
      Boxes().QueueAnswer(IDYES);
      PressButton(dialog, 342);
    }
    EXPECT_TRUE(Shows(kReconciled));
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(Shown().back().text,
              "The period could not be closed: 1 reconciled entries are in use or could not be "
              "written.  Nothing was changed.");
    EXPECT_EQ(Shown().back().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(DepositStatuses(), (std::vector<int>{6, 6, 6}));
    EXPECT_EQ(StoredStatement(kBank).LastBalanceDate, DateOf(1, 31, 2024));

    Boxes().Clear();
    ClearPrintedPdfs();
    Boxes().QueueAnswer(IDOK);  // where the report went
    Boxes().QueueAnswer(IDOK);
    Boxes().QueueAnswer(IDYES);
    PressButton(dialog, 342);
    ASSERT_EQ(Shown().size(), 3u);
    EXPECT_TRUE(TellsPrintedPdfs(Shown()[0])) << Shown()[0].text;
  });
  EXPECT_EQ(DepositStatuses(), (std::vector<int>{7, 7, 7}));
  EXPECT_EQ(StoredStatus("A-4", 'C', 4.0), 2);
  EXPECT_EQ(StoredStatement(kBank).LastBalanceDate, DateOf(2, 29, 2024));
}

TEST_F(ReconcileContentionTest, ABankRecordInUseTurnsTheBalancedEntriesBack) {
  RunFebruary("600.00", [&](HWND dialog) {
    ClearAllDeposits(dialog);
    SecondStationLock lock({"bank", "3"});
    ASSERT_EQ(lock.Answer(), "held");
    Boxes().QueueAnswer(IDOK);  // where the report went
    Boxes().QueueAnswer(IDOK);
    Boxes().QueueAnswer(IDYES);
    PressButton(dialog, 342);
  });
  ASSERT_FALSE(Shown().empty());
  EXPECT_EQ(Shown().back().text,
            "An error occurred in updating BANK.DB - the period could not be closed");
  EXPECT_EQ(Shown().back().caption, "System Error");
  EXPECT_EQ(Shown().back().type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(DepositStatuses(), (std::vector<int>{6, 6, 6}));
  EXPECT_EQ(StoredStatement(kBank).LastBalanceDate, DateOf(1, 31, 2024));
}

TEST_F(ReconcileContentionTest, AnEntryClearedElsewhereAfterThePrintStopsTheClose) {
  RunFebruary("600.00", [&](HWND dialog) {
    ClearAllDeposits(dialog);
    Boxes().OnShow([&](const MessageBoxRequest& box) {
      if (box.text == kReconciled)
        EXPECT_EQ(RunSecondStation({"account", "A-4", "C", SeqArgument(4.0), "set", "6", "i:6"}),
                  "done");
    });
    Boxes().QueueAnswer(IDOK);  // where the report went
    Boxes().QueueAnswer(IDOK);
    Boxes().QueueAnswer(IDYES);
    PressButton(dialog, 342);
    Boxes().OnShow(nullptr);
  });
  ASSERT_EQ(Shown().size(), 4u);
  EXPECT_EQ(Shown()[3].text,
            "The ledger has changed since the report was printed.  Print the Reconciliation Report "
            "again before closing the period.");
  EXPECT_EQ(DepositStatuses(), (std::vector<int>{6, 6, 6}));
  EXPECT_EQ(StoredStatus("A-4", 'C', 4.0), 6);
  EXPECT_EQ(StoredStatement(kBank).LastBalanceDate, DateOf(1, 31, 2024));
}

TEST_F(ReconcileContentionTest, AFailedQueryNeverOffersAClose) {
  struct Case {
    int query;
    const char* box;
    const char* printed;
  };
  // The adjustments section lists nothing either way, so both variances still print 0.00.
  const Case cases[] = {
      {1, "BkBal Query Error", "Book balance 0.00 *** QUERY FAILED ***"},
      {6, "AdjIn Query Error", "Adjustments - Reconciled *** QUERY FAILED ***"},
      {2, "DepIn Query Error", "Deposits - Reconciled *** QUERY FAILED ***"},
  };
  bool cleared = false;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    Boxes().Clear();
    ClearPrintedPdfs();
    RunFebruary("600.00", [&](HWND dialog) {
      if (!cleared) ClearAllDeposits(dialog);
      cleared = true;
      gFailReconcileQueryForTest = c.query;
      PressButton(dialog, 342);
      gFailReconcileQueryForTest = 0;
    });
    // The query's error, then where the report went.
    ASSERT_EQ(Shown().size(), 2u);
    EXPECT_EQ(Shown()[0].text, c.box);
    EXPECT_EQ(Shown()[0].caption, "Database Error");
    EXPECT_TRUE(TellsPrintedPdfs(Shown()[1])) << Shown()[1].text;
    const std::string text = std::regex_replace(PdfText(PrintedPdf()), std::regex("[ \n]+"), " ");
    EXPECT_NE(text.find(c.printed), std::string::npos) << text;
    EXPECT_EQ(StoredStatement(kBank).LastBalanceDate, DateOf(1, 31, 2024));
  }
  // The adjustments case printed both variances in balance and still offered nothing.
  EXPECT_EQ(DepositStatuses(), (std::vector<int>{6, 6, 6}));
}

TEST_F(ReconcileContentionTest, AFailedPrintJobOffersNoClose) {
  RunFebruary("600.00", [&](HWND dialog) {
    ClearAllDeposits(dialog);
    Boxes().Clear();
    FailingPrintJob failure(1, FailingPrintJob::AtPage, 1);
    PressButton(dialog, 342);
  });
  EXPECT_FALSE(Shows(kReconciled));
  EXPECT_EQ(DepositStatuses(), (std::vector<int>{6, 6, 6}));
  EXPECT_EQ(StoredStatement(kBank).LastBalanceDate, DateOf(1, 31, 2024));
  EXPECT_EQ(PrintedPdfCount(), 0u);
}

}  // namespace
