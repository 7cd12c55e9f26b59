/*
** The bank statement information: the period rule's proposals after periods closed at
** different month ends, the questions about an open period and where each answer leads, the
** account change, the refused close dates, and the statement's write to BANK (on a fresh
** read under the record's lock; a missing or locked record opens no reconcile dialog).
*/
#include "accounting/account_transfers.h"
#include "reconcile_fixture.h"
#include "second_station.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

namespace {

class ReconcileInfoTest : public ReconcileTest {
 protected:
  static void ChooseAccount(HWND info, int key) {
    HWND list = FindControl(info, 136);
    SendMessage(list, CB_SETCURSEL, key, 0);
    SendMessage(info, WM_COMMAND, MAKEWPARAM(136, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
  static bool BeginIsFixed(HWND info) {
    return !IsWindowVisible(FindControl(info, 104)) && IsWindowVisible(FindControl(info, 204));
  }
  /* Runs the command on account kBank with that close date typed; answers whether the
     reconcile dialog opened. */
  bool RunWithDate(const std::string& closeDate) {
    bool opened = false;
    RunReconcile(
        [&](HWND info) {
          ChooseAccount(info, kBank);
          TypeStatement(info, "500.00", closeDate);
          if (IsWindow(info) && IsWindowVisible(info)) PressButton(info, IDCANCEL);  // it stayed
        },
        [&](HWND) { opened = true; });
    return opened;
  }
};

TEST_F(ReconcileInfoTest, AClosedPeriodProposesTheLastDayOfTheNextMonth) {
  struct Case {
    LONG closed;
    const char* proposed;
  };
  const Case cases[] = {
      {DateOf(1, 31, 2024), "02/29/24"},  // leap year
      {DateOf(1, 31, 2023), "02/28/23"},
      {DateOf(12, 31, 2023), "01/31/24"},
      {DateOf(6, 15, 2024), "07/31/24"},  // closed mid-month
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.proposed);
    PutStatement(kBank, {c.closed, c.closed, 10.00, 12345.67});
    RunReconcile(
        [&](HWND info) {
          ChooseAccount(info, kBank);
          EXPECT_TRUE(BeginIsFixed(info));
          EXPECT_EQ(ControlTextOf(info, 204), "12,345.67");
          EXPECT_EQ(ControlTextOf(info, 105), "0.00");
          EXPECT_EQ(ControlTextOf(info, 106), c.proposed);
          PressButton(info, IDCANCEL);
        },
        nullptr);
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ReconcileInfoTest, TheDialogOpensOnTheFirstAccountAndAChangeReloadsAllThree) {
  PutStatement(kBank, {DateOf(1, 31, 2024), DateOf(1, 31, 2024), 10.00, 900.00});
  PutStatement(5, {kBlankDate, kBlankDate, 25.50, 75.25});                    // never reconciled
  PutStatement(0, {DateOf(5, 31, 2024), DateOf(4, 30, 2024), 11.11, 22.22});  // an open period
  gReconcileXfer.Accounts.Select(5);
  RunReconcile(
      [&](HWND info) {
        EXPECT_EQ(SendMessage(FindControl(info, 136), CB_GETCURSEL, 0, 0), 0);
        EXPECT_TRUE(BeginIsFixed(info));
        EXPECT_EQ(ControlTextOf(info, 204), "11.11");
        EXPECT_EQ(ControlTextOf(info, 105), "22.22");
        EXPECT_EQ(ControlTextOf(info, 106), "05/31/24");
        ChooseAccount(info, 5);
        EXPECT_TRUE(IsWindowVisible(FindControl(info, 104)));
        EXPECT_FALSE(IsWindowVisible(FindControl(info, 204)));
        EXPECT_EQ(ControlTextOf(info, 104), "25.50");
        EXPECT_EQ(ControlTextOf(info, 105), "75.25");
        EXPECT_EQ(ControlTextOf(info, 106), "");
        ChooseAccount(info, kBank);
        EXPECT_TRUE(BeginIsFixed(info));
        EXPECT_EQ(ControlTextOf(info, 204), "900.00");
        EXPECT_EQ(ControlTextOf(info, 105), "0.00");
        EXPECT_EQ(ControlTextOf(info, 106), "02/29/24");
        ChooseAccount(info, 5);
        EXPECT_TRUE(IsWindowVisible(FindControl(info, 104)));
        EXPECT_EQ(ControlTextOf(info, 104), "25.50");
        PressButton(info, IDCANCEL);
      },
      nullptr);
}

TEST_F(ReconcileInfoTest, EveryAnswerAboutAnOpenPeriodEndsWhereItShould) {
  const LONG open = DateOf(3, 31, 2024);
  const LONG typed = DateOf(4, 30, 2024);
  struct Path {
    const char* name;
    std::vector<int> answers;  // to 1131, then 1133
    bool opens;
    LONG closeDate;
    size_t boxes;
  };
  const Path paths[] = {
      {"Yes resets the date", {IDYES}, true, open, 3},
      {"No then No stays", {IDNO, IDNO}, false, 0, 3},
      {"No then Yes keeps the new date", {IDNO, IDYES}, true, typed, 3},
  };
  for (const Path& path : paths) {
    SCOPED_TRACE(path.name);
    PutStatement(kBank, {open, DateOf(2, 29, 2024), 100.00, 400.00});
    Boxes().Clear();
    Boxes().QueueAnswer(IDOK);
    for (int answer : path.answers) Boxes().QueueAnswer(answer);
    EXPECT_EQ(RunWithDate("04/30/24"), path.opens);
    const std::vector<std::string> texts = BoxTexts();
    ASSERT_EQ(texts.size(), path.boxes);
    EXPECT_EQ(texts[0],
              "You have not completed the reconciliation for the period ending 03/31/2024.");
    EXPECT_EQ(Shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(texts[1],
              "Do you wish to complete the reconciliation of the period ending 03/31/2024?");
    EXPECT_EQ(Shown()[1].type, static_cast<UINT>(MB_YESNO));
    if (path.answers[0] == IDYES) {
      EXPECT_EQ(
          texts[2],
          "The period close date will be reset to 03/31/2024.  When the account is in balance, run the "
          "reconciliation report and close the period.");
      EXPECT_EQ(Shown()[2].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    } else {
      EXPECT_EQ(
          texts[2],
          "You should only proceed if the previous period close date of 03/31/2024 was erroneously "
          "entered.  Are you sure you wish continue?");
      EXPECT_EQ(Shown()[2].type, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2));
    }
    for (const MessageBoxRequest& box : Shown()) EXPECT_EQ(box.caption, "Zarne Message");
    const Statement stored = StoredStatement(kBank);
    if (path.opens) {
      EXPECT_EQ(gReconcileXfer.CloseDate, path.closeDate);
      EXPECT_EQ(stored.LastCloseDate, path.closeDate);
      EXPECT_EQ(stored.LastEnd, 500.00);
    } else {
      EXPECT_EQ(stored.LastCloseDate, open);  // nothing written
      EXPECT_EQ(stored.LastEnd, 400.00);
    }
    EXPECT_EQ(stored.LastBalanceDate, DateOf(2, 29, 2024));
  }
  // The open period's own date asks nothing.
  Boxes().Clear();
  PutStatement(kBank, {open, DateOf(2, 29, 2024), 100.00, 400.00});
  EXPECT_TRUE(RunWithDate("03/31/24"));
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(gReconcileXfer.CloseDate, open);
}

TEST_F(ReconcileInfoTest, ABlankOrAnAlreadyClosedDateIsRefusedBeforeAnything) {
  // A fresh account: blank dates and balances of 0.
  bool stayed = false;
  HWND focus = nullptr;
  RunReconcile(
      [&](HWND info) {
        ChooseAccount(info, 6);
        EXPECT_EQ(ControlTextOf(info, 106), "");
        PressButton(info, IDOK);
        stayed = IsWindowVisible(info);
        focus = GetFocus();
        EXPECT_EQ(focus, FindControl(info, 106));
        PressButton(info, IDCANCEL);
      },
      [&](HWND) { ADD_FAILURE() << "no reconcile dialog without a close date"; });
  EXPECT_TRUE(stayed);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "Enter the statement close date.");
  EXPECT_EQ(Shown()[0].caption, "Zarne Message");
  EXPECT_EQ(Shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(StoredStatement(6).LastCloseDate, kBlankDate);

  // On or before the last closed period's date; checked before the open-period questions.
  Boxes().Clear();
  PutStatement(kBank, {DateOf(2, 29, 2024), DateOf(1, 31, 2024), 100.00, 400.00});
  EXPECT_FALSE(RunWithDate("01/31/24"));
  EXPECT_FALSE(RunWithDate("12/31/23"));
  ASSERT_EQ(Shown().size(), 2u);
  for (const MessageBoxRequest& box : Shown()) {
    EXPECT_EQ(
        box.text,
        "The statement close date must be after 01/31/2024, the close date of the last closed period.");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  }
  EXPECT_EQ(StoredStatement(kBank).LastCloseDate, DateOf(2, 29, 2024));
}

TEST_F(ReconcileInfoTest, TheStatementIsWrittenOnAFreshReadAndAFailedWriteOpensNoReconcile) {
  PutStatement(kBank, {DateOf(1, 31, 2024), DateOf(1, 31, 2024), 10.00, 900.00});
  // Another station changes the account's name while the dialog is open: the name stays.
  EXPECT_TRUE(RunReconcile(
      [&](HWND info) {
        ChooseAccount(info, kBank);
        EXPECT_EQ(RunSecondStation({"bank", "3", "set", "2", "s:Renamed Elsewhere"}), "done");
        TypeStatement(info, "1,250.00");
      },
      [&](HWND) {}));
  Statement stored = StoredStatement(kBank);
  EXPECT_EQ(stored.LastBegin, 900.00);
  EXPECT_EQ(stored.LastEnd, 1250.00);
  EXPECT_EQ(stored.LastCloseDate, DateOf(2, 29, 2024));
  EXPECT_EQ(stored.LastBalanceDate, DateOf(1, 31, 2024));
  {
    TPXRecord bank(gTables[kBankTable], true);
    bank.Clear();
    bank.SetShort(1, kBank);
    ASSERT_TRUE(bank.Seek(0, ENGINE_KEY_EQ) && bank.Read(0));
    char name[64] = "";
    bank.GetString(2, name, sizeof name);
    EXPECT_STREQ(name, "Renamed Elsewhere");
  }

  // Held by another station: the error box, and no reconcile dialog.
  Boxes().Clear();
  {
    SecondStationLock lock({"bank", "3"});
    ASSERT_EQ(lock.Answer(), "held");
    RunReconcile(
        [&](HWND info) {
          ChooseAccount(info, kBank);
          TypeStatement(info, "2,000.00");
        },
        [&](HWND) { ADD_FAILURE() << "opened over a failed write"; });
  }
  ASSERT_FALSE(Shown().empty());
  EXPECT_EQ(Shown().back().text, "An error occurred in updating BANK.DB.");
  EXPECT_EQ(Shown().back().caption, "Error");
  EXPECT_EQ(Shown().back().type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(StoredStatement(kBank).LastEnd, 1250.00);

  // No BANK record for the account.
  Boxes().Clear();
  EXPECT_EQ(RunSecondStation({"bank", "8", "delete"}), "done");
  RunReconcile(
      [&](HWND info) {
        ChooseAccount(info, 8);
        TypeStatement(info, "1.00", "05/31/24");
      },
      [&](HWND) { ADD_FAILURE() << "opened without a BANK record"; });
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "An error occurred in updating BANK.DB.");
}

}  // namespace
