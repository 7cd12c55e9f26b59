// Auto Create on a real statement window of a real closing file: bundle steps reading the
// statement, steps that make nothing, rounding to cents, payees cut to 60, several files with
// one interpreter, a missing file, a script error mid-file, the button only for the window's
// own file, and files that must not crash the run.
#include "accounting/bank_lists.h"
#include "accounting/disburse.h"
#include "accounting/ledger_rows.h"
#include "grid/tessel_codes.h"
#include "platform/kernel/modules.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "platform/user/winuser.h"
#include "script/script_globals.h"
#include "statement/tests/window/statement_window_support.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

class BundleTest : public StatementWindowTest {
 protected:
  void SetUp() override {
    StatementWindowTest::SetUp();
    grid_ = LoadLibrary("vgrd32.dll");
    ASSERT_NE(grid_, nullptr);
    gAccountRecord = new TPXRecord(gTables[kAccountTable], false);
    gBankRecord = new TPXRecord(gTables[kBankTable], false);
    for (SHORT key = 0; key < 20; ++key) {
      TPXRecord bank(gTables[kBankTable], true);
      bank.Clear();
      bank.SetShort(1, key);
      bank.SetString(2, ("Account " + std::to_string(key)).c_str());
      ASSERT_TRUE(bank.Post());
    }
    gDefaultAccount = 3;
    LoadBankLists();
    RegisterScriptGlobals();
  }
  void TearDown() override {
    delete gAccountRecord;
    delete gBankRecord;
    gAccountRecord = gBankRecord = nullptr;
    StatementWindowTest::TearDown();
    FreeLibrary(grid_);
  }
  /* A closing file as File New leaves it: a record in each of its thirteen tables. */
  void MakeClosingFile(const std::string& number, double a101) {
    for (int table = 0; table <= 12; ++table) PutRecord(table, number);
    TPXRecord summary(gTables[kSummary1Table], true);
    summary.SetString(1, number.c_str());
    ASSERT_TRUE(summary.Seek(0, ENGINE_KEY_EQ));
    ASSERT_TRUE(summary.Read(0));
    summary.SetDouble(3, a101);
    ASSERT_TRUE(summary.Modify());
  }
  std::string Bundle(const std::string& name, const std::string& text) {
    const std::string path = Root() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  /* Runs the dialog on the window; Auto Create with these files, the default account. */
  void AutoCreate(RespaWindow* view, const std::vector<std::string>& files,
                  const std::function<void(HWND, TDisburse&)>& after) {
    TDisburse dialog(nullptr);
    dialog.StatementWindow = view;
    DialogDriver driver;
    CommonDialogAnswers answers;
    answers.ChooseFiles(files);
    driver.OnDialog(20903, [](HWND select) { PressButton(select, IDOK); });
    driver.OnDialog(kDisburseTemplate, [&](HWND hwnd) {
      EXPECT_TRUE(IsWindowEnabled(FindControl(hwnd, 501)));
      PressButton(hwnd, 501);
      after(hwnd, dialog);
      PressButton(hwnd, IDOK);
    });
    dialog.Execute();
  }
  static std::vector<TDisburseCheckRow> Checks(HWND dialog) {
    std::vector<TDisburseCheckRow> rows;
    HWND grid = FindControl(dialog, 300);
    for (LRESULT i = 0, n = SendMessage(grid, TSM_GETROWCOUNT, 0, 0); i < n; ++i) {
      TDisburseCheckRow row{};
      SendMessage(grid, TSM_SETCURSOR, 0, i);
      SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
      rows.push_back(row);
    }
    return rows;
  }
  static int Count(HWND dialog, int grid) {
    return static_cast<int>(SendMessage(FindControl(dialog, grid), TSM_GETROWCOUNT, 0, 0));
  }
  static int StoredEntries() {
    TPXRecord record(gTables[kAccountTable], true);
    int count = 0;
    for (bool more = record.First(); more; more = record.Next()) ++count;
    return count;
  }

 private:
  HMODULE grid_ = nullptr;
};

TEST_F(BundleTest, StepsMakeTheirEntriesFileAfterFile) {
  MakeClosingFile("BND-1", 1500.25);
  RespaWindow* view = OpenFile("BND-1");
  const std::string longPayee(75, 'P');
  const std::string steps = Bundle(
      "steps.BND",
      "AcctType$ = \"C\"\nAcctName$ = \"Lender payoff\"\nAcctDesc$ = \"Payoff\"\nAcctAmount = A101\nend\n"
      "AcctType$ = \"C\"\nAcctName$ = \"Nobody\"\nAcctAmount = 0\nend\n"
      "AcctType$ = \"d\"\nAcctName$ = \"" +
          longPayee +
          "\"\nAcctAmount = 12.345\nend\n"
          "AcctType$ = \"D\"\nAcctName$ = \"Buyer\"\nAcctDesc$ = \"Earnest money\"\nAcctAmount = 250\nend\n"
          "AcctType$ = \"C\"\nAcctAmount = 0 - 5\nend\n"
          "AcctType$ = \"C\"\nAcctAmount = 0.004\nend\n"
          "A102 = 77\n");
  const std::string errors =
      Bundle("errors.BND",
             "AcctType$ = \"C\"\nAcctName$ = \"Before the error\"\nAcctAmount = 10\nend\n"
             "AcctAmount = 20\ngoto nowhere\nend\n"
             "AcctAmount = 30\nend\n");
  const std::string second =
      Bundle("second.BND",
             "AcctType$ = \"C\"\nAcctName$ = \"From the first file\"\nAcctAmount = A102\nend\n");
  // Chosen while it exists, removed before it is read (by another station, as it were: here
  // while the error of the file before it is shown).
  const std::string missing = Bundle("missing.BND", "AcctAmount = 1\n");
  Boxes().OnShow([&](const MessageBoxRequest&) { std::filesystem::remove(missing); });
  AutoCreate(view, {steps, errors, missing, second}, [&](HWND dialog, TDisburse& disburse) {
    std::vector<TDisburseCheckRow> checks = Checks(dialog);
    ASSERT_EQ(checks.size(), 4u);
    EXPECT_STREQ(checks[0].PayeeDepositor, "Lender payoff");
    EXPECT_EQ(RowAmount(checks[0]), 1500.25);
    EXPECT_EQ(std::string(checks[1].PayeeDepositor), longPayee.substr(0, 60));
    EXPECT_EQ(RowAmount(checks[1]), 12.35);
    EXPECT_STREQ(checks[2].PayeeDepositor, "Before the error");
    EXPECT_EQ(RowAmount(checks[2]), 10.0);
    EXPECT_STREQ(checks[3].PayeeDepositor, "From the first file");
    EXPECT_EQ(RowAmount(checks[3]), 77.0);
    for (const TDisburseCheckRow& row : checks) {
      EXPECT_STREQ(row.StatusText, "Ready");
      EXPECT_EQ(row.Bank, 3);
    }
    ASSERT_EQ(Count(dialog, 200), 1);
    EXPECT_EQ(ControlTextOf(dialog, 103), "-1,349.60");  // 250 - 1599.60
    EXPECT_EQ(disburse.BankKey, 3);
  });
  EXPECT_EQ(StoredEntries(), 5);
  std::vector<std::string> texts = BoxTexts();
  ASSERT_EQ(texts.size(), 2u);  // the script error, then the missing file
  EXPECT_EQ(texts[1], "Could not open file.");
  EXPECT_FALSE(std::filesystem::exists(missing));  // reading made no file
  CloseFile(view);
}

TEST_F(BundleTest, AutoCreateIsOnlyForTheWindowsOwnFile) {
  MakeClosingFile("OWN", 10.0);
  MakeClosingFile("OTHER", 20.0);
  RespaWindow* view = OpenFile("OWN");
  TDisburse dialog(nullptr);
  dialog.StatementWindow = view;
  DialogDriver driver;
  CommonDialogAnswers answers;
  driver.OnDialog(20000, [](HWND files) {
    SetControlText(files, 101, "OTHER");
    PressButton(files, IDOK);
  });
  driver.OnDialog(kDisburseTemplate, [&](HWND hwnd) {
    EXPECT_EQ(ControlTextOf(hwnd, 104), "OWN");
    EXPECT_TRUE(IsWindowEnabled(FindControl(hwnd, 501)));
    PressButton(hwnd, 105);
    EXPECT_EQ(ControlTextOf(hwnd, 104), "OTHER");
    EXPECT_FALSE(IsWindowEnabled(FindControl(hwnd, 501)));
    dialog.BankKey = 1;
    dialog.CmRunBundles();  // refused without asking for files
    PressButton(hwnd, IDOK);
  });
  dialog.Execute();
  EXPECT_TRUE(answers.FileRequests().empty());
  EXPECT_EQ(StoredEntries(), 0);
  CloseFile(view);
}

TEST_F(BundleTest, BadBundleFilesMakeNothingAndDoNotCrash) {
  MakeClosingFile("BAD", 10.0);
  RespaWindow* view = OpenFile("BAD");
  const std::string empty = Bundle("empty.BND", "");
  std::string bytes(4096, '\0');
  std::mt19937 random(7);
  for (char& c : bytes) c = static_cast<char>(random());
  const std::string binary = Bundle("binary.BND", bytes);
  std::string big;
  big.reserve(10 * 1024 * 1024);
  while (big.size() < 10 * 1024 * 1024) big += "x = x + 1\n";
  const std::string large = Bundle("large.BND", big);
  const std::string unterminated = Bundle("open.BND", "AcctName$ = \"never closed\nAcctAmount = 5");
  AutoCreate(view, {empty, binary, large, unterminated}, [&](HWND dialog, TDisburse&) {
    EXPECT_EQ(Count(dialog, 200) + Count(dialog, 300), StoredEntries());
  });
  CloseFile(view);
}

TEST_F(BundleTest, TooManyFilesAtOnceAreSaidSoNotTakenForCancel) {
  MakeClosingFile("MANY", 10.0);
  RespaWindow* view = OpenFile("MANY");
  std::vector<std::string> files;
  // Far more names than the dialog's 8,192-byte name buffer holds.
  for (int i = 0; i < 300; ++i)
    files.push_back(
        Bundle("a_rather_long_bundle_name_" + std::to_string(i) + ".BND", "AcctAmount = 1\n"));
  AutoCreate(view, files, [&](HWND dialog, TDisburse& disburse) {
    EXPECT_EQ(Count(dialog, 300), 0);
    EXPECT_EQ(disburse.BankKey, -1);  // nothing listed: the account chosen for the run goes
  });
  EXPECT_EQ(StoredEntries(), 0);
  std::vector<std::string> texts = BoxTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "Too many files were chosen at once.");
  CloseFile(view);
}

TEST_F(BundleTest, AFewFilesFitTheNameBuffer) {
  MakeClosingFile("FEW", 10.0);
  RespaWindow* view = OpenFile("FEW");
  std::vector<std::string> files;
  for (int i = 0; i < 40; ++i)
    files.push_back(
        Bundle("bundle_" + std::to_string(i) + ".BND", "AcctType$ = \"C\"\nAcctAmount = 1\n"));
  AutoCreate(view, files, [&](HWND dialog, TDisburse&) { EXPECT_EQ(Count(dialog, 300), 40); });
  EXPECT_EQ(StoredEntries(), 40);
  CloseFile(view);
}

}  // namespace
