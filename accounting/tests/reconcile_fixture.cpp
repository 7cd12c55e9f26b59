/*
** The reconciliation tests' fixture.
*/
#include "reconcile_fixture.h"

#include "accounting/bank_lists.h"
#include "accounting/reconcile_command.h"
#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

void ReconcileTest::SetUp() {
  LedgerTest::SetUp();
  PutTwentyBanks();
  LoadBankLists();
  UsePdfReportPrinter();
}

void ReconcileTest::PutStatement(SHORT key, const Statement& s) {
  TPXRecord bank(gTables[kBankTable], true);
  bank.Clear();
  bank.SetShort(1, key);
  ASSERT_TRUE(bank.Seek(0, ENGINE_KEY_EQ));
  ASSERT_TRUE(bank.Read(0));
  bank.SetLong(5, s.LastCloseDate);
  bank.SetLong(6, s.LastBalanceDate);
  bank.SetDouble(7, s.LastBegin);
  bank.SetDouble(8, s.LastEnd);
  ASSERT_TRUE(bank.Modify());
}

ReconcileTest::Statement ReconcileTest::StoredStatement(SHORT key) {
  Statement s{kBlankDate, kBlankDate, -1, -1};
  TPXRecord bank(gTables[kBankTable], true);
  bank.Clear();
  bank.SetShort(1, key);
  if (!bank.Seek(0, ENGINE_KEY_EQ) || !bank.Read(0)) return s;
  bank.GetLong(5, s.LastCloseDate);
  bank.GetLong(6, s.LastBalanceDate);
  bank.GetDouble(7, s.LastBegin);
  bank.GetDouble(8, s.LastEnd);
  return s;
}

void ReconcileTest::Put(const std::string& file, char type, double seq, int status, double amount,
                        LONG date, long number, const std::string& payee, int bank) {
  // An adjustment's text is its description; its payee stays empty.
  PutEntry({file, type, seq, number, bank, status, date, type == 'B' ? "" : payee, amount,
            type == 'B' ? payee : ""});
}

int ReconcileTest::StoredStatus(const std::string& file, char type, double seq) {
  auto entry = StoredEntry(file, type, seq);
  return entry ? static_cast<int>(entry->Status) : -1;
}

bool ReconcileTest::RunReconcile(const Script& info, const Script& reconcile) {
  DialogDriver driver;
  bool opened = false;
  driver.OnDialog(20965, info);
  driver.OnDialog(20930, [&](HWND dialog) {
    opened = true;
    if (reconcile) reconcile(dialog);
    PressButton(dialog, IDOK);
  });
  RunReconcileCommand(nullptr);
  return opened;
}

void ReconcileTest::TypeStatement(HWND dialog, const std::string& end,
                                  const std::string& closeDate) {
  SetControlText(dialog, 105, end);
  if (!closeDate.empty()) SetControlText(dialog, 106, closeDate);
  PressButton(dialog, IDOK);
}

int ReconcileTest::RowCount(HWND dialog) {
  return static_cast<int>(SendMessage(GridOf(dialog), TSM_GETROWCOUNT, 0, 0));
}

std::vector<TReconcileRow> ReconcileTest::Rows(HWND dialog) {
  std::vector<TReconcileRow> rows;
  HWND grid = GridOf(dialog);
  const int count = RowCount(dialog);
  for (int i = 0; i < count; ++i) {
    TReconcileRow row{};
    SendMessage(grid, TSM_SETCURSOR, 0, i);
    SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
    rows.push_back(row);
  }
  return rows;
}

void ReconcileTest::ClickRow(HWND dialog, int row, Qt::KeyboardModifiers modifiers) {
  ClickGridRow(dialog, GridOf(dialog), row, modifiers);
}

bool ReconcileTest::Selected(HWND dialog, int row) {
  return SendMessage(GridOf(dialog), TSM_ISROWSELECTED, 0, row) == 1;
}

int ReconcileTest::SelectedCount(HWND dialog) {
  return static_cast<int>(SendMessage(GridOf(dialog), TSM_GETSELROWCOUNT, 0, 0));
}

int ReconcileTest::RowOf(HWND dialog, const std::string& file) {
  const std::vector<TReconcileRow> rows = Rows(dialog);
  for (size_t i = 0; i < rows.size(); ++i)
    if (file == rows[i].FileNum) return static_cast<int>(i);
  return -1;
}

void ReconcileTest::ChooseRange(HWND dialog, int kindButton, const std::string& to) {
  DialogDriver driver;
  driver.OnDialog(20942, [&](HWND range) {
    PressButton(range, kindButton);
    PressButton(range, 400);
    SetControlText(range, 401, "");
    SetControlText(range, 402, to);
    PressButton(range, IDOK);
  });
  PressButton(dialog, 103);
  EXPECT_EQ(driver.Pending(), 0u);
}

std::vector<std::string> ReconcileTest::BoxTexts() {
  std::vector<std::string> texts;
  for (const MessageBoxRequest& box : Shown()) texts.push_back(box.text);
  return texts;
}

std::string ReconcileTest::PicturePath(const char* name) {
  const std::filesystem::path pictures = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(pictures);
  return (pictures / name).string();
}

std::string ReconcileTest::DialogDate(LONG date) {
  int month, day, year;
  DecodeDate(date, month, day, year);
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d", month, day, year % 100);
  return text;
}
