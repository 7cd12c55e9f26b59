/*
** The recalculation in a real statement window over real tables: values typed into the
** window's edit line and committed with Tab reach the rules through the window's seam; the
** set-up's column sums, the typed commission, the settlement-date move, a field script,
** the Prorater command, repaints of ids the field list lacks and of unchanged fields, and
** the pixels committed edits leave.
*/
#include "platform/kernel/paths.h"
#include "platform/testing/screenshot.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/message_queue.h"
#include "platform/user/winuser.h"
#include "statement/one_controls.h"
#include "statement/prorater.h"
#include "statement/recalc_dispatch.h"
#include "statement/recalc_field_scripts.h"
#include "statement/recalc_install.h"
#include "statement/recalculation_seam.h"
#include "statement/respa_window.h"
#include "statement/tests/recalc_test_support.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>
#include <memory>
#include <random>

namespace {

class RecalcWindow : public StatementTablesTest {
 protected:
  void SetUp() override {
    StatementTablesTest::SetUp();
    for (int t = 0; t < kFileTableCount; ++t) gTables[t] = tables[t].get();
    InstallRecalculation();
    gFieldScripts.clear();
    host = std::make_unique<TWindow>(nullptr, "Host");
    host->Attr.W = 900;
    host->Attr.H = 700;
    ASSERT_TRUE(host->Create());
    host->Show(SW_SHOW);
  }
  void TearDown() override {
    if (window && window->HWindow) window->CanClose();
    window = nullptr;
    host.reset();
    gFieldScripts.clear();
    for (int t = 0; t < kFileTableCount; ++t) gTables[t] = nullptr;
    StatementTablesTest::TearDown();
  }

  /* Opens file `number` in a statement window filling the host. */
  void Open(const char* number) {
    window = new RespaWindow(host.get());
    std::snprintf(window->fileNumber, sizeof window->fileNumber, "%s", number);
    window->Attr.W = 880;
    window->Attr.H = 660;
    ASSERT_TRUE(window->Create());
    window->Show(SW_SHOW);
    ProcessPendingMessages();
  }

  /* Types the text into the edit line over the field and commits it with Tab. */
  void Commit(int id, const std::string& text) {
    window->currentField = FindFieldByNumber(&gRespaFieldList, id);
    ASSERT_NE(window->currentField, nullptr) << id;
    window->SendMessage(WM_BEGINFIELDEDIT);
    HWND edit = window->editLine->HWindow;
    SetFocus(edit);
    SendMessage(edit, EM_SETSEL, 0, -1);
    TypeText(text);
    PressKey(VK_TAB);
    ProcessPendingMessages();
  }

  /* Chooses a paid-by letter in the choice list over the field with the arrow keys, then
     Tab: the share's commit as a user makes it. */
  void CommitChoice(int id, const char* letter) {
    window->currentField = FindFieldByNumber(&gRespaFieldList, id);
    ASSERT_NE(window->currentField, nullptr) << id;
    window->SendMessage(WM_BEGINFIELDEDIT);
    HWND list = window->choiceList->HWindow;
    SetFocus(list);
    int target = static_cast<int>(
        SendMessage(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(letter)));
    ASSERT_GE(target, 0) << letter;
    PressKey(VK_HOME);
    for (int i = 0; i < target; ++i) PressKey(VK_DOWN);
    PressKey(VK_TAB);
    ProcessPendingMessages();
  }

  double Amount(int table, int field) {
    double value = -1;
    window->records[table]->GetDouble(field, value);
    return value;
  }

  std::unique_ptr<TWindow> host;
  RespaWindow* window = nullptr;  // a child of the host, deleted with it
};

}  // namespace

TEST_F(RecalcWindow, TypedAmountsReachTheTotalsAndTheBalance) {
  // Line 801 stands in the file before it is opened: the set-up's column sums count it.
  Open("F-200");
  Commit(384, "12.5");
  Commit(213, "250000");
  Commit(214, "100.005");
  EXPECT_EQ(Amount(kExpense4Table, 49), 12.5);
  EXPECT_EQ(Amount(kSummary1Table, 38), 250112.5);  // 100.005 reads back at cents as 100.00
  EXPECT_EQ(Amount(kSummary2Table, 59), 250112.5);
  Commit(277, "200000");  // line 202 and its loan charges
  Commit(557, "1");       // 1% on line 801
  EXPECT_EQ(Amount(kExpense1Table, 16), 2000.0);
  EXPECT_EQ(Amount(kSummary2Table, 59), 250000.0 + 100.0 + 2000.0 - 200000.0);
  EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
}

TEST_F(RecalcWindow, TypedCommissionSplitsAndTheDepositCheckBoxes) {
  Open("F-201");
  Commit(372, "6001.25");
  EXPECT_EQ(Amount(kExpense1Table, 5), 3000.63);  // 3000.625 rounded half up
  EXPECT_EQ(Amount(kExpense1Table, 7), 3000.62);
  EXPECT_EQ(Amount(kExpense1Table, 10), 6001.25);
  Commit(380, "1000");  // the deposit the seller's side holds comes off line 703
  EXPECT_EQ(Amount(kExpense1Table, 10), 5001.25);
  EXPECT_EQ(Amount(kSummary2Table, 60), -6001.25);
  EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
  Commit(380, "7000");
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "Total commission is less than amount entered.");
  EXPECT_EQ(Amount(kExpense1Table, 10), 5001.25);
}

TEST_F(RecalcWindow, SettlementDateCommitMovesTheTiedDates) {
  Open("F-202");
  Commit(212, "03/03/2025");  // a Monday
  Commit(576, "03/04/2025");
  Commit(220, "03/03/2025");  // DB106 on the settlement date
  Commit(212, "03/07/2025");  // Friday: the disbursement steps over the weekend
  LONG disbursement = 0, begin = 0, expected = 0;
  window->records[kExtraTable]->GetLong(20, disbursement);
  window->records[kSummary1Table]->GetLong(15, begin);
  EncodeDate(expected, 3, 10, 2025);
  EXPECT_EQ(disbursement, expected);
  EncodeDate(expected, 3, 7, 2025);
  EXPECT_EQ(begin, expected);
}

TEST_F(RecalcWindow, FieldScriptRunsFromTheCommitAndTheWindowStaysCoherent) {
  std::ofstream(HostPathFromWindowsPath("C:\\ZARNE\\A101.zbi"))
      << "A101 = A101 + 1\nA102 = A101 * 2\n";
  LoadFieldScripts();
  Open("F-203");
  Commit(213, "10");
  EXPECT_EQ(Amount(kSummary1Table, 3), 11.0);
  EXPECT_EQ(Amount(kSummary1Table, 4), 22.0);
  EXPECT_EQ(Amount(kSummary1Table, 38), 33.0);
  EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
}

TEST_F(RecalcWindow, ASharePaidHalfByEachSideSplitsTheDoubleHalf) {
  Open("F-205");
  Commit(508, "10.01");
  CommitChoice(509, "/");
  EXPECT_EQ(Amount(kExpense4Table, 8), 5.0);  // half of 10.01 lies just below 5.005
  EXPECT_EQ(Amount(kExpense4Table, 9), 5.01);
  EXPECT_EQ(Amount(kExpense4Table, 50), 5.01);
  CommitChoice(509, "S");
  EXPECT_EQ(Amount(kExpense4Table, 8), 0.0);
  EXPECT_EQ(Amount(kExpense4Table, 9), 10.01);
}

// Typed commits of every kind, at random, through the window: after each one the full
// recalculation finds nothing left to change.
TEST_F(RecalcWindow, TypedCommitsLeaveNothingForTheFullRecalculation) {
  Open("F-206");
  std::vector<const TFieldNode*> fields;
  for (TFieldNode* n = FirstField(&gRespaFieldList); n; n = n->next)
    if (DispatchRowForId(n->fieldId) && n->fieldId != 330 && n->displayKind >= kFieldKindChoice &&
        n->displayKind <= kFieldKindDate)
      fields.push_back(n);
  std::mt19937 random(99);
  std::uniform_int_distribution<size_t> pick(0, fields.size() - 1);
  std::uniform_int_distribution<int> amount(-50000, 5000000), day(0, 700), letter(0, 2);
  static const char* const kLetters[] = {"B", "S", "/"};
  int failures = 0;
  for (int commit = 0; commit < 400 && failures < 3; ++commit) {
    const TFieldNode* field = fields[pick(random)];
    char text[32];
    switch (field->displayKind) {
      case kFieldKindChoice: CommitChoice(field->fieldId, kLetters[letter(random)]); break;
      case kFieldKindDate: {
        int month, dayOfMonth, year;
        DecodeDate(739000 + day(random), month, dayOfMonth, year);
        std::snprintf(text, sizeof text, "%02d/%02d/%04d", month, dayOfMonth, year);
        Commit(field->fieldId, text);
        break;
      }
      case kFieldKindWhole:
        std::snprintf(text, sizeof text, "%d", day(random) % 400);
        Commit(field->fieldId, text);
        break;
      case kFieldKindMoney:
        std::snprintf(text, sizeof text, "%.2f", amount(random) / 100.0);
        Commit(field->fieldId, text);
        break;
      default:
        std::snprintf(text, sizeof text, "%.5f", (day(random) % 150) / 10.0 + 0.12345);
        Commit(field->fieldId, text);
        break;
    }
    Snapshot after = TakeSnapshot(*window);
    RecalcAll(*window);
    Snapshot again = TakeSnapshot(*window);
    if (after != again) {
      ++failures;
      ADD_FAILURE() << "commit " << commit << " of " << field->name << " (" << text
                    << "): " << SnapshotDiff(after, again);
    }
  }
  SaveWindowScreenshot(host->HWindow, RECALC_OUTPUT_DIR "/statement_after_commits.png");
  Boxes().Clear();
}

TEST_F(RecalcWindow, ProraterCommandStoresTheLineAndTheTotals) {
  Open("F-207");
  Commit(212, "03/15/1997");
  window->currentField = FindFieldByNumber(&gRespaFieldList, 237);
  window->SendMessage(WM_BEGINFIELDEDIT);
  DialogDriver driver;
  std::string from, to;
  driver.OnDialog(IDD_PRORATER, [&](HWND dialog) {
    from = ControlTextOf(dialog, IDC_PRORATER_FROM);
    to = ControlTextOf(dialog, IDC_PRORATER_TO);
    TypeIntoControl(dialog, IDC_PRORATER_AMOUNT, "1200");
    TypeIntoControl(dialog, IDC_PRORATER_FROM, "01/01/1997");
    TypeIntoControl(dialog, IDC_PRORATER_TO, "04/01/1997");
    PressButton(dialog, IDOK);
  });
  window->SendMessage(WM_COMMAND, 902, 0);
  ProcessPendingMessages();
  EXPECT_EQ(from, "03/15/97");
  EXPECT_EQ(to, "01/01/98");
  char period[64] = "";
  window->records[kSummary1Table]->GetString(32, period, sizeof period);
  EXPECT_STREQ(period, "1/1/97 - 4/1/97");
  EXPECT_EQ(Amount(kSummary1Table, 33), 90 * (1200.0 / 365));  // unrounded
  EXPECT_EQ(Amount(kSummary1Table, 38), 295.89);
  EXPECT_EQ(Amount(kSummary2Table, 60), 295.89);
  EXPECT_EQ(window->fieldBeingEdited, window->currentField);  // its edit began again
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RecalcWindow, RepaintOfAnIdTheListLacksDoesNothing) {
  Open("F-204");
  ProcessPendingMessages();
  UpdateWindow(window->HWindow);
  RECT dirty{};
  window->RepaintFieldById(9999);
  window->RepaintFieldById(211);
  EXPECT_FALSE(GetUpdateRect(window->HWindow, &dirty, FALSE));
  // A field in view repaints once its value changed, and not before.
  window->RepaintFieldById(102);
  EXPECT_FALSE(GetUpdateRect(window->HWindow, &dirty, FALSE));
  ASSERT_TRUE(window->WriteFieldText(FindFieldByNumber(&gRespaFieldList, 102), "Another Buyer"));
  window->RepaintFieldById(102);
  EXPECT_TRUE(GetUpdateRect(window->HWindow, &dirty, FALSE));
}

TEST_F(RecalcWindow, CommittedEditsLeaveThePixelsOfAFullRepaint) {
  // Each commit repaints only the boxes whose texts changed; the window must then look
  // exactly as when it is drawn whole. Zero paints as an empty box, so the last commit
  // empties the price and the totals it fed.
  Open("F-205");
  // The first Tab from the price scrolls the seller's column into view, and boxes the
  // scroll leaves cut at the window's left edge differ from freshly drawn ones in a corner
  // pixel; the window is drawn whole once it stands where the edits below leave it.
  Commit(213, "1");
  InvalidateRect(window->HWindow, nullptr, TRUE);
  UpdateWindow(window->HWindow);
  for (const char* price : {"250000", "250000", "99.99", "0"}) {
    Commit(213, price);
    UpdateWindow(window->HWindow);
    QImage afterCommit = GrabWindow(window->HWindow);
    InvalidateRect(window->HWindow, nullptr, TRUE);
    UpdateWindow(window->HWindow);
    EXPECT_TRUE(GrabWindow(window->HWindow) == afterCommit) << price;
  }
  EXPECT_EQ(Amount(kSummary1Table, 38), 0.0);
}
