/*
** A day at the settlement office, step by step over one data root: the first start, a
** purchase with a new loan typed into the statement with every total checked on screen, in
** the tables and through zdde against figures worked out beside this test
** (office_day_figures.py), the settlement date moved a week, the statement printed three
** ways, Save As and Delete, a SIGKILL in the middle of work, and the shutdowns. The steps run
** in order in one test program; each builds on what the earlier ones left.
*/
#include "acceptance/office_day.h"

#include "acceptance/statement_typing.h"

#include "accounting/bank_editor.h"
#include "accounting/bank_lists.h"
#include "accounting/check_form_editor.h"
#include "accounting/ledger_rows.h"
#include "accounting/reconcile_row.h"
#include "platform/framework/mdi.h"
#include "platform/testing/pdf_words.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/other_programs.h"
#include "platform/user/message_queue.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/winuser.h"
#include "grid/tessel_codes.h"
#include "filenumber/file_windows.h"
#include "shell/shell_ids.h"
#include "shell/tests/lock_probe_runner.h"
#include "shell/zarne_mdi_client.h"
#include "statement/field_engine.h"
#include "statement/hud1_print_options.h"
#include "statement/respa_window.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <QProcess>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <regex>
#include <set>
#include <sstream>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct OfficeFigure {
  const char* name;
  const char* text;
};
#include "office_day_figures.inc"

constexpr char kPurchase[] = "2026-0417";
constexpr char kCopy[] = "2026-0418";
constexpr char kOther[] = "2026-0419";
constexpr char kMerged[] = "2026-0420";
constexpr int kFileTables = 13;

const char* const kTables[] = {"BUYER",    "SELLER",   "LENDER",   "SAGENT",   "PROPERTY",
                               "SUMMARY1", "SUMMARY2", "EXPENSE1", "EXPENSE2", "EXPENSE3",
                               "EXPENSE4", "TITLEA",   "EXTRA",    "TITLEB",   "ACCOUNT",
                               "BANK",     "CHECKCTL"};

/* The field ids of the figures: where each shows on the statement (both sides where it shows twice). */
struct FigureField {
  const char* name;
  std::vector<int> ids;
};
const FigureField kFigureFields[] = {
    {"A106", {224, 256}},   {"A210", {295, 341}},   {"A700", {372}},      {"A701", {373}},
    {"A703S", {378}},       {"A801B", {384}},       {"A802B", {387}},     {"A901B", {426}},
    {"A1001B", {445}},      {"A1104S", {480}},      {"A1201B", {514}},    {"A1201S", {515}},
    {"A1400B", {555, 215}}, {"A1400S", {556, 325}}, {"A120", {243, 321}}, {"A220", {320, 322}},
    {"A303", {323}},        {"A420", {275, 367}},   {"A520", {366, 368}}, {"A603", {369}},
};

const std::vector<int>& IdsOf(const std::string& name) {
  for (const FigureField& field : kFigureFields)
    if (name == field.name) return field.ids;
  static const std::vector<int> none;
  return none;
}

/* The texts a window's own paint drew while the field was scrolled into view. */
std::vector<std::string> PaintedTexts(RespaWindow* view, int id) {
  ScrollFieldIntoView(view, FindFieldByNumber(&gRespaFieldList, id));
  ProcessPendingMessages();
  RecordWindowPaints(view->HWindow, true);
  InvalidateRect(view->HWindow, nullptr, TRUE);
  UpdateWindow(view->HWindow);
  std::vector<std::string> texts;
  for (const GdiDrawRecord& call : RecordedWindowPaints(view->HWindow))
    if (!call.text.empty()) {
      std::string text = call.text;
      text.erase(0, text.find_first_not_of(' '));
      text.erase(text.find_last_not_of(' ') + 1);
      texts.push_back(text);
    }
  RecordWindowPaints(view->HWindow, false);
  return texts;
}

class OfficeDayTest : public OfficeDay {
 protected:
  /* The rows of the disbursing dialog's check grid. */
  static std::vector<TDisburseCheckRow> CheckRows(HWND grid) {
    std::vector<TDisburseCheckRow> rows;
    for (LRESULT i = 0, n = SendMessage(grid, TSM_GETROWCOUNT, 0, 0); i < n; ++i) {
      TDisburseCheckRow row{};
      SendMessage(grid, TSM_SETCURSOR, 0, i);
      SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
      rows.push_back(row);
    }
    SendMessage(grid, TSM_SETCURSOR, 0, -2);
    return rows;
  }
  /* Accounting | Disburse on the front file: each payee a Ready check of 10.00 added by hand. */
  void AddChecksByHand(const std::string& number, const std::vector<std::string>& payees) {
    DialogDriver driver;
    driver.OnDialog(20900, [&](HWND dialog) {
      EXPECT_EQ(ControlTextOf(dialog, 104), number);
      for (const std::string& payee : payees) {
        driver.OnDialog(20901, [payee](HWND check) {
          SetControlText(check, 103, payee);
          SetControlText(check, 104, "Inspection");
          SetControlText(check, 102, "10.00");
          PressButton(check, IDOK);
        });
        PressButton(dialog, 401);
      }
      PressButton(dialog, IDOK);
    });
    driver.OnDialog(
        20903, [](HWND select) { PressButton(select, IDOK); });  // asked on a file's first entry
    SendMessage(Frame()->HWindow, WM_COMMAND, CM_DISBURSE, 0);
    PumpUntilIdle();
  }
  /* Accounting | Disburse, Print Checks with the number and date proposed, to PDF: the
     numbers of the front file's checks afterwards. */
  std::vector<long> PrintReadyChecks() {
    std::vector<long> numbers = PrintRun();
    ExpectOnlyThePrintedBox();
    return numbers;
  }
  /* The same while another workstation prints: a run refused (its box shown, a check left
     without a number) is tried again a moment later, as the user would. */
  std::vector<long> PrintReadyChecksBesideAnotherStation() {
    std::vector<long> numbers;
    for (int attempt = 0; attempt < 200; ++attempt) {
      numbers = PrintRun();
      if (OnlyThePrintedBox()) break;
      Boxes().Clear();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ExpectOnlyThePrintedBox();
    return numbers;
  }
  bool OnlyThePrintedBox() {
    return Boxes().Shown().size() == 1 && Boxes().Shown()[0].caption == "Printed to a File";
  }
  void ExpectOnlyThePrintedBox() {
    // One box for the run: where its checks were printed.
    EXPECT_EQ(Boxes().Shown().size(), 1u) << ::testing::PrintToString(BoxTexts());
    if (!Boxes().Shown().empty()) { EXPECT_EQ(Boxes().Shown()[0].caption, "Printed to a File"); }
  }
  std::vector<long> PrintRun() {
    std::vector<long> numbers;
    CommonDialogAnswers answers;
    DialogDriver driver;
    driver.OnDialog(20900, [&](HWND dialog) {
      driver.OnDialog(20905, [](HWND print) { PressButton(print, IDOK); });
      answers.ChoosePrinter("PDF");
      PressButton(dialog, 502);
      for (const TDisburseCheckRow& row : CheckRows(FindControl(dialog, 300)))
        if (std::string(row.StatusText) == "Printed") numbers.push_back(row.Number);
      PressButton(dialog, IDOK);
    });
    SendMessage(Frame()->HWindow, WM_COMMAND, CM_DISBURSE, 0);
    PumpUntilIdle();
    return numbers;
  }
  /* How many records of a table (TITLEB 13, ACCOUNT 14) belong to the file. */
  static int RecordsOf(int table, const std::string& number) {
    int count = 0;
    TPXRecord record(gTables[table], true);
    for (bool more = record.First(); more; more = record.Next()) {
      char file[16] = "";
      record.Read(0);
      record.GetString(1, file, sizeof file);
      count += number == file;
    }
    return count;
  }
  static int TitleItemsOf(const std::string& number) { return RecordsOf(13, number); }
  static int LedgerEntriesOf(const std::string& number) { return RecordsOf(14, number); }
  /* An amount as the day's figures write it, by hand: cents, commas. */
  static std::string Money(double value) {
    long long cents = static_cast<long long>(value * 100 + (value < 0 ? -0.5 : 0.5));
    std::string whole = std::to_string(cents / 100);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(at, ",");
    char tail[8];
    std::snprintf(tail, sizeof tail, ".%02lld", cents % 100);
    return whole + tail;
  }
  /* The office lets two files be open at once (the settings file, as the options leave it). */
  void AllowTwoWindows() {
    std::string ini = DayIni();
    size_t at = ini.find("MaxWindows=1");
    if (at == std::string::npos) return;
    ini.replace(at, 12, "MaxWindows=2");
    std::ofstream(Places().root + "/windows/zarne.ini", std::ios::binary) << ini;
  }
  /* Every figure of the list: in the window's fields and painted on screen, in the tables
     after Save, and through zdde. */
  template <size_t N>
  void ExpectFigures(RespaWindow* view, const OfficeFigure (&figures)[N]) {
    for (const OfficeFigure& figure : figures) {
      for (int id : IdsOf(figure.name)) {
        EXPECT_EQ(FieldText(view, id), figure.text) << figure.name << " (field " << id << ")";
        std::vector<std::string> painted = PaintedTexts(view, id);
        EXPECT_NE(std::find(painted.begin(), painted.end(), figure.text), painted.end())
            << figure.name << " " << figure.text << " is not on screen (field " << id << ")";
      }
      EXPECT_EQ(ZddeRequest(figure.name), figure.text) << figure.name;
      const TFieldNode* field = FindFieldByNumber(&gRespaFieldList, IdsOf(figure.name).front());
      EXPECT_EQ(TableMoney(field->tableIndex, kPurchase, field->fieldNumber), figure.text)
          << figure.name;
    }
  }
};

/* 1. First start on an empty data directory, then a second copy. */
TEST_F(OfficeDayTest, Step01_FirstStartMakesTheDataDirectoryAndASecondCopyEnds) {
  {
    ZarneProgram first(Places());
    ASSERT_TRUE(first.WaitForFrame()) << first.Stderr();
    EXPECT_EQ(
        CountOf(first.Stderr(), "Directory C:\\ZARNE does not exist.  Do you want to create it?"),
        1)
        << first.Stderr();
    auto before = Snapshot(Places().root + "/drive_c");
    ZarneProgram second(Places());
    EXPECT_EQ(second.WaitForExit(30), 0) << second.Stderr();
    EXPECT_EQ(Snapshot(Places().root + "/drive_c"), before)
        << "the second copy wrote into the data";
    EXPECT_EQ(first.WaitForExit(0), -1) << "the first copy ended too";
    EXPECT_EQ(first.Terminate(), 0) << first.Stderr();
  }
  for (const char* table : kTables)
    EXPECT_TRUE(fs::exists(DayDir() + "/" + table + ".DB")) << table;
  for (const char* side : {"CHKFORM.DAT", "stmtbg32.dat", "prnrpt32.dat", "prnchk32.dat"})
    EXPECT_TRUE(fs::exists(DayDir() + "/" + side)) << side;
  std::string ini = DayIni();
  for (const char* line :
       {"DirDatabase=C:\\ZARNE", "DirCheckCtl=C:\\ZARNE", "Maximize=1", "PrintOptions=1"})
    EXPECT_TRUE(Holds(ini, line)) << line << "\n" << ini;
  // The twenty bank records and the one check-control record, read by the engine.
  PXInit();
  PXOpenDatabase();
  PXSetDirectory(DayDir().c_str());
  for (auto [table, count] :
       {std::pair{"BANK", 20}, std::pair{"CHECKCTL", 1}, std::pair{"BUYER", 0}}) {
    TPXTable opened(table, 0);
    TPXRecord record(&opened, false);
    int seen = 0;
    if (opened.IsOpen() && record.First()) do
        ++seen;
      while (record.Next());
    EXPECT_EQ(seen, count) << table;
  }
  PXExit();
  EXPECT_TRUE(Snapshot(Places().home).empty()) << "written outside the data root";
}

/* 2. Office set-up: two bank accounts named in the bank editor, the default account chosen,
   the check form's positions typed into the check-form editor. */
TEST_F(OfficeDayTest, Step02_TheOfficeNamesItsAccountsChoosesTheDefaultAndPlacesTheCheckForm) {
  StartOffice();
  DialogDriver driver;
  driver.OnDialog(kBankEditorTemplate, [](HWND editor) {
    PressButton(editor, 149);  // to key 1
    SetControlText(editor, 264, "First Trust Escrow");
    PressButton(editor, 149);
    SetControlText(editor, 264, "Second Trust Escrow");
    PressButton(editor, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_BANKEDITOR, 0);  // Accounting | Editors | Bank
  PumpUntilIdle();
  driver.OnDialog(20903, [](HWND select) {
    SendMessage(FindControl(select, 136), LB_SETCURSEL, 1, 0);
    PressButton(select, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_DEFAULTACCOUNT, 0);  // Options | Default Account
  PumpUntilIdle();
  EXPECT_EQ(gDefaultAccount, 1);
  // The payee, the amount and the amount in words, each with its copy on the stub.
  auto place = [&driver](int templateId, std::vector<std::pair<int, const char*>> values) {
    driver.OnDialog(templateId, [values](HWND position) {
      for (auto [id, text] : values) SetControlText(position, id, text);
      PressButton(position, IDOK);
    });
  };
  driver.OnDialog(kCheckFormTemplate, [&](HWND form) {
    place(kPosXYWHTemplate, {{101, "500"},
                             {102, "1200"},
                             {103, "5000"},
                             {104, "250"},
                             {201, "500"},
                             {202, "4700"},
                             {105, "5000"},
                             {106, "250"}});
    PressButton(form, 103);
    place(kPosXYTemplate, {{101, "6500"}, {102, "1200"}, {201, "6500"}, {202, "4700"}});
    PressButton(form, 125);
    place(kPosXYWHTemplate, {{101, "500"},
                             {102, "1600"},
                             {103, "6000"},
                             {104, "250"},
                             {201, "500"},
                             {202, "5100"},
                             {105, "6000"},
                             {106, "250"}});
    PressButton(form, 127);
    PressButton(form, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_CHECKFORM, 0);  // Options | Check Form
  PumpUntilIdle();
  // Default values of every new file: the office as settlement agent, deeds recorded by the
  // seller, 365-day prorations.
  driver.OnDialogCaption("Default Values", [](HWND sheet) {
    HWND agent = CurrentSheetPage(sheet);
    SetControlText(agent, 101, "Pat Closer");
    SetControlText(agent, 200, "Zarne Title & Escrow");
    SetControlText(agent, 108, "Springfield");
    SelectSheetTab(sheet, "Recording");
    HWND recording = CurrentSheetPage(sheet);
    SendMessage(FindControl(recording, 101), CB_SETCURSEL, 1, 0);  // deeds: S
    PumpDialogMessages(recording);
    SelectSheetTab(sheet, "Prorations");
    HWND days = CurrentSheetPage(sheet);
    for (int id = 101; id <= 106; ++id) SetControlText(days, id, "365");
    PressButton(sheet, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_DEFAULTVALUES, 0);  // Options | Default Values
  PumpUntilIdle();
  std::string ini = DayIni();
  for (const char* key :
       {"SANAME=Pat Closer", "SACOMPANY=Zarne Title & Escrow", "P1201D=S", "PA210DAYS=365"})
    EXPECT_TRUE(Holds(ini, key)) << key << "\n" << ini;
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_TRUE(driver.Unanswered().empty()) << ::testing::PrintToString(driver.Unanswered());
  EXPECT_TRUE(Boxes().Shown().empty()) << ::testing::PrintToString(BoxTexts());
  for (auto [key, name] :
       {std::pair<SHORT, const char*>{1, "First Trust Escrow"}, {2, "Second Trust Escrow"}}) {
    TPXRecord bank(gTables[kBankTable], true);
    bank.SetShort(1, key);
    ASSERT_TRUE(bank.Seek(1, ENGINE_KEY_EQ) && bank.Read(0));
    char stored[64] = "";
    bank.GetString(2, stored, sizeof stored);
    EXPECT_STREQ(stored, name);
  }
  EXPECT_EQ(fs::file_size(DayDir() + "/CHKFORM.DAT"), 128u);
}

/* 3. A purchase with a new loan, typed into the statement of a new file. */
TEST_F(OfficeDayTest, Step03_APurchaseWithANewLoanAddsUpOnScreenInTheTablesAndThroughDde) {
  // The office's field script: the seller pays half the title examination.
  std::ofstream(DayDir() + "/A1104B.zbi", std::ios::binary) << "A1104S = A1104B / 2\n";
  StartOffice();
  FileCommandByKeys('N', kPurchase);
  RespaWindow* view = StatementOf(kPurchase);
  ASSERT_NE(view, nullptr);
  for (int i = 0; i < kPurchaseTypedCount; ++i) {
    SCOPED_TRACE(kPurchaseTyped[i].id);
    ASSERT_NO_FATAL_FAILURE(TypeIntoField(view, kPurchaseTyped[i].id, kPurchaseTyped[i].text));
  }
  for (int i = 0; i < kPurchaseChosenCount; ++i)
    ASSERT_NO_FATAL_FAILURE(ChooseInField(view, kPurchaseChosen[i].id, kPurchaseChosen[i].entry));
  FileMenu('S');
  EXPECT_TRUE(Boxes().Shown().empty()) << ::testing::PrintToString(BoxTexts());
  ExpectFigures(view, kBefore);
  EXPECT_EQ(ZddeRequest("B1NAME"), "Ann & Bob Buyer");
  // The office's default values reached the new file.
  EXPECT_EQ(ZddeRequest("SANAME"), "Pat Closer");
  EXPECT_EQ(ZddeRequest("SACOMPANY"), "Zarne Title & Escrow");
  SaveWindowScreenshot(Frame()->HWindow, OutputDir() + "/step03_purchase.png");
}

/* 3, continued. The parties, the lender and the property from their dialogs: the seller's
   address and tax id, the lender's name, the property's address and a legal description
   loaded from the office's .LEG file, whose prompt asks for the subdivision; Schedule A's
   commitment and the file's tracking date. */
TEST_F(OfficeDayTest, Step03b_PartiesLenderAndPropertyAreEnteredInTheirDialogs) {
  std::ofstream(DayDir() + "/LOT5.LEG", std::ios::binary)
      << "Lot 5, Block 2 of |?Subdivision?|, sold by |S1NAME|";
  StartOffice();
  FileCommandByKeys('O', kPurchase);
  ASSERT_NE(StatementOf(kPurchase), nullptr);
  DialogDriver driver;
  CommonDialogAnswers files;
  driver.OnDialog(20200, [&](HWND sellers) {
    driver.OnDialog(20101, [](HWND seller) {
      SetControlText(seller, 118, "36-1234567");
      SetControlText(seller, 107, "14 Oak Lane");
      SetControlText(seller, 108, "Springfield");
      SetControlText(seller, 109, "IL");
      SetControlText(seller, 110, "62704");
      PressButton(seller, IDOK);
    });
    PressButton(sellers, 501);  // Seller 1
    PressButton(sellers, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_SELLERS, 0);  // Parties | Sellers
  PumpUntilIdle();
  driver.OnDialog(20300, [](HWND lender) {
    SetControlText(lender, 101, "First Savings Bank");
    PressButton(lender, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_LENDER, 0);  // Parties | Lender
  PumpUntilIdle();
  std::string legal;
  driver.OnDialog(20500, [&](HWND property) {
    SetControlText(property, 107, "12 Elm Street");
    SetControlText(property, 108, "Springfield");
    SetControlText(property, 109, "IL");
    SetControlText(property, 110, "62701");
    files.ChooseFiles({"C:\\ZARNE\\LOT5.LEG"});
    driver.OnDialog(20904, [](HWND prompt) {
      SetControlText(prompt, 180, "Sunny Acres");
      PressButton(prompt, IDOK);
    });
    PressButton(property, 112);  // Legal Description
    legal = ControlTextOf(property, 180);
    PressButton(property, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_PROPERTY, 0);  // Title | Property
  PumpUntilIdle();
  driver.OnDialog(20600, [](HWND schedule) {
    SetControlText(schedule, 101, "C-2026-117");
    SetControlText(schedule, 102, "12/10/2026");
    SetControlText(schedule, 103, "8:00 AM");
    PressButton(schedule, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_SCHEDULEA, 0);  // Title | Schedule A
  PumpUntilIdle();
  driver.OnDialog(20007, [](HWND tracking) {
    SetControlText(tracking, 301, "12/01/2026");
    PressButton(tracking, IDOK);
  });
  FileMenu('T');  // File | Tracking
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_TRUE(driver.Unanswered().empty()) << ::testing::PrintToString(driver.Unanswered());
  EXPECT_EQ(legal, "Lot 5, Block 2 of Sunny Acres, sold by Carl Seller");
  FileMenu('S');
  EXPECT_TRUE(Boxes().Shown().empty()) << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(ZddeRequest("S1STREET"), "14 Oak Lane");
  EXPECT_EQ(ZddeRequest("PSTREET"), "12 Elm Street");
  EXPECT_EQ(ZddeRequest("S1TAXID"), "36-1234567");
  EXPECT_EQ(ZddeRequest("PLEGAL"), "Lot 5, Block 2 of Sunny Acres, sold by Carl Seller");
  EXPECT_EQ(ZddeRequest("TICommitNum"), "C-2026-117");
  EXPECT_EQ(ZddeRequest("TICommitDate"), "12/10/2026");
  EXPECT_EQ(ZddeRequest("TICommitTime"), "8:00 AM");
  EXPECT_EQ(ZddeRequest("TRACKDATE1"), "12/01/2026");
}

/* 4. The settlement date moves a week: the tied dates, prorations and interest follow, the
   disbursement date keeps its distance and steps over Christmas and the weekend. */
TEST_F(OfficeDayTest, Step04_TheSettlementDateMovesAWeekAndTheFiguresFollow) {
  StartOffice();
  FileCommandByKeys('O', kPurchase);
  RespaWindow* view = StatementOf(kPurchase);
  ASSERT_NE(view, nullptr);
  ASSERT_NO_FATAL_FAILURE(TypeIntoField(view, 212, kMovedSettlement));
  EXPECT_EQ(FieldText(view, 576), kMovedDisbursement);
  EXPECT_EQ(FieldText(view, 220), kMovedSettlement);  // DB106 began on the old date
  EXPECT_EQ(FieldText(view, 292), kMovedSettlement);  // DE210 ended on it
  EXPECT_EQ(FieldText(view, 423), kMovedSettlement);  // DB901
  EXPECT_EQ(FieldText(view, 291), "01/01/2026");      // a 200 line's begin never moves
  FileMenu('S');
  ExpectFigures(view, kAfter);
}

/* 5. The statement printed three times to the PDF device: both sides, borrower only, seller only. */
TEST_F(OfficeDayTest, Step05_ThreePrintoutsEachShowOnlyItsOwnSide) {
  StartOffice();
  FileCommandByKeys('O', kPurchase);
  ASSERT_NE(StatementOf(kPurchase), nullptr);
  struct Copy {
    int button;
    const char* name;
  };
  const Copy kCopies[] = {
      {IDC_PRINT_BOTH, "all"}, {IDC_PRINT_BUYER, "borrower"}, {IDC_PRINT_SELLER, "seller"}};
  for (const Copy& copy : kCopies) {
    SCOPED_TRACE(copy.name);
    ClearPdfs();
    Boxes().Clear();
    DialogDriver driver;
    driver.OnDialog(IDD_HUD1_PRINT_OPTIONS, [&](HWND dialog) {
      PressButton(dialog, copy.button);
      PressButton(dialog, IDOK);
    });
    CommonDialogAnswers answers;
    answers.ChoosePrinter("PDF");
    FileMenu('P');
    EXPECT_EQ(driver.Pending(), 0u) << "no print options dialog";
    std::vector<std::string> files = PdfFiles();
    ASSERT_EQ(files.size(), 1u);
    // One box for the two-page job, naming the file where the desktop has it.
    ASSERT_EQ(Boxes().Shown().size(), 1u) << ::testing::PrintToString(BoxTexts());
    EXPECT_EQ(Boxes().Shown()[0].caption, "Printed to a File");
    EXPECT_NE(Boxes().Shown()[0].text.find("\n" + files[0]), std::string::npos)
        << Boxes().Shown()[0].text;
    std::string kept = OutputDir() + "/step05_" + copy.name + ".pdf";
    fs::copy_file(files[0], kept, fs::copy_options::overwrite_existing);
    std::vector<std::string> pages = PdfPages(kept);
    ASSERT_GE(pages.size(), 2u);
    RenderPage(kept, 1, std::string("step05_") + copy.name + "_page1");
    RenderPage(kept, 2, std::string("step05_") + copy.name + "_page2");
    std::string all = pages[0] + pages[1];
    bool borrower = copy.button != IDC_PRINT_SELLER, seller = copy.button != IDC_PRINT_BUYER;
    EXPECT_TRUE(Holds(all, "Ann & Bob Buyer"));
    EXPECT_TRUE(Holds(all, "Carl Seller"));
    // Figures only the borrower's side holds, and only the seller's.
    for (const char* figure : {"254,188.51", "46,841.11", "200,000.00", "2,000.00"})
      EXPECT_EQ(Holds(all, figure), borrower) << figure;
    for (const char* figure : {"232,213.65", "17,812.65", "10,465.25", "62.75"})
      EXPECT_EQ(Holds(all, figure), seller) << figure;
    EXPECT_TRUE(Holds(all, "250,000.00"));  // the price shows on both sides
  }
}

/* 6. Title: requirements and exceptions loaded from the office's item-set files (one asks for
   the lot), reordered and edited in the dialog; a DDE client walks them and reads each text. */
TEST_F(OfficeDayTest, Step06_TitleItemsLoadedReorderedAndEditedAreWalkedByADdeClient) {
  std::ofstream(DayDir() + "/PURCHASE.B1A", std::ios::binary)
      << "Deed from |S1NAME| to |B1NAME| to be recorded\r\n\r\n\r\n"
         "Release of the mortgage on lot |?Which lot?|\r\n\r\n\r\nSurvey of the property";
  std::ofstream(DayDir() + "/PURCHASE.B2", std::ios::binary)
      << "Easements of record\r\n\r\n\r\nRights of parties in possession";
  StartOffice();
  FileCommandByKeys('O', kPurchase);
  ASSERT_NE(StatementOf(kPurchase), nullptr);
  CommonDialogAnswers files;
  DialogDriver driver;
  std::string promptCaption;
  driver.OnDialog(20700, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 101);
    files.ChooseFiles({"C:\\ZARNE\\PURCHASE.B1A"});
    driver.OnDialog(20904, [&](HWND prompt) {
      char caption[128] = "";
      GetWindowText(prompt, caption, sizeof caption);
      promptCaption = caption;
      SetControlText(prompt, 180, "12");
      PressButton(prompt, IDOK);
    });
    PressButton(dialog, 100);
    // The survey to the top: its row clicked, then Ctrl+Up twice.
    ClickGridRow(grid, 2);
    PressDialogKey(dialog, VK_UP, Qt::ControlModifier);
    PressDialogKey(dialog, VK_UP, Qt::ControlModifier);
    driver.OnDialog(20801, [&](HWND item) {
      SetFocus(FindControl(item, 180));
      PressDialogKey(item, VK_END, Qt::ControlModifier);
      TypeIntoDialog(item, " and plat");
      PressDialogKey(item, VK_RETURN);
    });
    PressDialogKey(dialog, 'M', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_REQUIREMENTS, 0);  // Title | Requirements
  PumpUntilIdle();
  driver.OnDialog(20800, [&](HWND dialog) {
    files.ChooseFiles({"C:\\ZARNE\\PURCHASE.B2"});
    PressButton(dialog, 100);
    PressButton(dialog, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_EXCEPTIONS, 0);  // Title | Exceptions
  PumpUntilIdle();
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_EQ(promptCaption, "C:\\ZARNE\\PURCHASE.B1A");  // the prompt names the item set
  EXPECT_TRUE(driver.Unanswered().empty()) << ::testing::PrintToString(driver.Unanswered());
  EXPECT_TRUE(Boxes().Shown().empty()) << ::testing::PrintToString(BoxTexts());

  std::vector<std::string> walk =
      DdeSession({"x:GetFirstTIBRecordAll", "r:TitleText", "x:GetNextTI", "r:TitleText",
                  "x:GetNextTI", "r:TitleText", "x:GetNextTI", "r:TitleText",
                  "x:GetFirstTIBExceptAll", "r:TitleText", "x:GetNextTI", "r:TitleText"});
  EXPECT_EQ(walk, (std::vector<std::string>{
                      "execute ok", "TitleText=Survey of the property and plat", "execute ok",
                      "TitleText=Deed from Carl Seller to Ann & Bob Buyer to be recorded",
                      "execute ok", "TitleText=Release of the mortgage on lot 12", "execute ok",
                      "TitleText=", "execute ok", "TitleText=Easements of record", "execute ok",
                      "TitleText=Rights of parties in possession"}));
}

/* 7. Money: the bundle takes in the borrower's cash and the lender's funds and writes the
   statement's checks, one check is added by hand, the deposits are posted, the Ready checks
   print to PDF with the next numbers at the check form's positions, a check made by mistake
   is voided, and the file balances to zero. */
TEST_F(OfficeDayTest, Step07_DepositsPostedChecksPrintedAtTheirPositionsAndTheFileBalances) {
  std::ofstream(DayDir() + "/PURCHASE.BND", std::ios::binary)
      << "AcctType$ = \"D\"\nAcctName$ = \"Ann & Bob Buyer\"\nAcctDesc$ = \"Cash from borrower\"\nAcctAmount = A303\nend\n"
         "AcctType$ = \"D\"\nAcctName$ = \"First Savings Bank\"\nAcctDesc$ = \"Loan funds\"\nAcctAmount = A202\nend\n"
         "AcctType$ = \"C\"\nAcctName$ = \"Carl Seller\"\nAcctDesc$ = \"Proceeds\"\nAcctAmount = A603\nend\n"
         "AcctType$ = \"C\"\nAcctName$ = \"Broker Realty\"\nAcctDesc$ = \"Commission\"\nAcctAmount = A703S\nend\n"
         "AcctType$ = \"C\"\nAcctName$ = \"Zarne Title\"\nAcctDesc$ = \"Title charges\"\n"
         "AcctAmount = A1101B + A1101S + A1104B + A1104S\nend\n"
         "AcctType$ = \"C\"\nAcctName$ = \"County Recorder\"\nAcctDesc$ = \"Recording\"\nAcctAmount = A1201B + A1201S\nend\n"
         "AcctType$ = \"C\"\nAcctName$ = \"First Savings Bank\"\nAcctDesc$ = \"Loan charges\"\n"
         "AcctAmount = A801B + A802B + A901B + A1001B\nend\n"
         "AcctType$ = \"C\"\nAcctName$ = \"Courier\"\nAcctDesc$ = \"Delivery\"\nAcctAmount = 25\nend\n";
  StartOffice();
  FileCommandByKeys('O', kPurchase);
  ASSERT_NE(StatementOf(kPurchase), nullptr);
  ClearPdfs();
  CommonDialogAnswers answers;
  DialogDriver driver;
  std::vector<TDisburseCheckRow> rows;
  std::string firstNumber, balance;
  driver.OnDialog(20900, [&](HWND dialog) {
    answers.ChooseFiles({"C:\\ZARNE\\PURCHASE.BND"});
    driver.OnDialog(20903, [](HWND select) { PressButton(select, IDOK); });  // the default account
    PressButton(dialog, 501);                                                // Auto Create
    driver.OnDialog(20901, [](HWND entry) {
      SetControlText(entry, 103, "Appraisal Review Co");
      SetControlText(entry, 104, "Appraisal review");
      SetControlText(entry, 102, "95.00");
      PressButton(entry, IDOK);
    });
    PressButton(dialog, 401);  // Add, by hand
    driver.OnDialog(20905, [&](HWND print) {
      firstNumber = ControlTextOf(print, 106);
      SetControlText(print, 105, "12/24/2026");
      PressButton(print, IDOK);
    });
    answers.ChoosePrinter("PDF");
    PressButton(dialog, 502);  // Print Checks
    rows = CheckRows(FindControl(dialog, 300));
    for (size_t i = 0; i < rows.size(); ++i)
      if (std::string(rows[i].PayeeDepositor) == "Courier") {
        ClickGridRow(FindControl(dialog, 300), static_cast<int>(i));
        driver.OnDialog(20901, [](HWND entry) { PressButton(entry, IDOK); });
        PressButton(dialog, 403);  // the printed check is voided
      }
    balance = ControlTextOf(dialog, 103);
    PressButton(dialog, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_DISBURSE, 0);  // Accounting | Disburse
  PumpUntilIdle();
  driver.OnDialog(20910, [](HWND post) {
    HWND grid = FindControl(post, 200);
    for (int row : {0, 1}) ClickGridRow(grid, row);
    SetControlText(post, 102, "12/24/2026");
    PressButton(post, 319);
    PressButton(post, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_POSTDEPOSITS, 0);  // Accounting | Post deposits
  PumpUntilIdle();
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_TRUE(driver.Unanswered().empty()) << ::testing::PrintToString(driver.Unanswered());
  // The only box said where the check run's checks were printed, one file each.
  ASSERT_EQ(Boxes().Shown().size(), 1u) << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(Boxes().Shown()[0].caption, "Printed to a File");
  EXPECT_NE(Boxes().Shown()[0].text.find(std::to_string(std::size(kChecks)) + " PDF files"),
            std::string::npos)
      << Boxes().Shown()[0].text;

  // The checks as listed after printing: the bundle's in order, then the one added by hand.
  ASSERT_EQ(rows.size(), std::size(kChecks));
  const long first = std::atol(firstNumber.c_str());
  EXPECT_GT(first, 0) << firstNumber;
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_STREQ(rows[i].PayeeDepositor, kChecks[i].name);
    EXPECT_EQ(Money(rows[i].Amount), kChecks[i].text) << kChecks[i].name;
    EXPECT_STREQ(rows[i].StatusText, "Printed") << kChecks[i].name;
    EXPECT_EQ(rows[i].Number, first + static_cast<long>(i)) << kChecks[i].name;
  }
  EXPECT_EQ(balance, "0.00");
  // The ledger as stored: the deposits posted on the date, the courier's check void.
  int posted = 0, voided = 0;
  TPXRecord entry(gTables[kAccountTable], true);
  for (bool more = entry.First(); more; more = entry.Next()) {
    char file[16] = "", type[2] = "", payee[64] = "";
    SHORT status = -1;
    entry.Read(0);
    entry.GetString(1, file, sizeof file);
    if (std::string(file) != kPurchase) continue;
    entry.GetString(2, type, sizeof type);
    entry.GetShort(6, status);
    entry.GetString(8, payee, sizeof payee);
    posted += type[0] == 'D' && status == 5;
    voided += type[0] == 'C' && status == 4 && std::string(payee) == "Courier";
  }
  EXPECT_EQ(posted, 2);
  EXPECT_EQ(voided, 1);

  // Each check's PDF shows its payee, amount and amount in words at the form's positions,
  // on the check and on its stub.
  std::vector<std::string> pdfs = PdfFiles();
  ASSERT_EQ(pdfs.size(), std::size(kChecks));
  const struct {
    const char* payee;
    const char* amount;
    const char* words;
  } kLooked[] = {
      {"Broker Realty", "10,000.00", "Ten Thousand and 00/100 Dollars"},
      {"Carl Seller", "232,213.65",
       "Two Hundred Thirty Two Thousand Two Hundred Thirteen and 65/100 Dollars"},
  };
  auto points = [](int thousandths) {
    return 18.0 + 0.072 * thousandths;
  };  // the PDF page's margin
  // Every check printed once, its payee and amount in place on the check and the stub.
  for (const OfficeFigure& check : kChecks) {
    int found = 0;
    for (const std::string& pdf : pdfs) {
      std::vector<PdfWord> words = PdfWords(pdf);
      if (!PdfTextAt(words, check.name, points(500), points(1200))) continue;
      ++found;
      EXPECT_TRUE(PdfTextAt(words, check.name, points(500), points(4700))) << check.name << " stub";
      EXPECT_TRUE(PdfTextAt(words, check.text, points(6500), points(1200)))
          << check.name << " " << check.text;
      EXPECT_TRUE(PdfTextAt(words, check.text, points(6500), points(4700)))
          << check.name << " stub";
    }
    EXPECT_EQ(found, 1) << check.name;
  }
  // The amounts in words of two checks, written out by hand.
  for (const auto& check : kLooked) {
    std::string found;
    for (const std::string& pdf : pdfs) {
      std::vector<PdfWord> words = PdfWords(pdf);
      if (!PdfTextAt(words, check.payee, points(500), points(1200))) continue;
      found = pdf;
      EXPECT_TRUE(PdfTextAt(words, check.payee, points(500), points(4700)))
          << check.payee << " stub";
      EXPECT_TRUE(PdfTextAt(words, check.amount, points(6500), points(1200))) << check.amount;
      EXPECT_TRUE(PdfTextAt(words, check.amount, points(6500), points(4700)))
          << check.amount << " stub";
      EXPECT_TRUE(PdfTextAt(words, check.words, points(500), points(1600))) << check.words;
      EXPECT_TRUE(PdfTextAt(words, check.words, points(500), points(5100)))
          << check.words << " stub";
    }
    ASSERT_FALSE(found.empty()) << "no check to " << check.payee << " with its payee in place";
    std::string name = std::string("step07_check_") + (check.payee[0] == 'B' ? "broker" : "seller");
    fs::copy_file(found, OutputDir() + "/" + name + ".pdf", fs::copy_options::overwrite_existing);
    RenderPage(found, 1, name);
  }
}

/* The second workstation: office_station on a root and settings of its own whose zarne.ini
   names the day's database directory by the host drive, taking orders line by line. */
class Station {
 public:
  Station(const std::string& root, const std::string& runtime, const std::string& sharedDir) {
    fs::create_directories(root + "/windows");
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    std::string shared = "Z:" + sharedDir;
    std::replace(shared.begin(), shared.end(), '/', '\\');
    std::ofstream(root + "/windows/zarne.ini", std::ios::binary)
        << "[System]\r\nDirDatabase=" << shared << "\r\nDirCheckCtl=" << shared
        << "\r\nDirPrinters=C:\\ZARNE\r\nDirPrivate=C:\\ZARNE\\PRIVATE\r\n";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ZARNE_ROOT", QString::fromStdString(root));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process_.setProcessEnvironment(environment);
    process_.start(OFFICE_STATION, QStringList{});
    process_.waitForStarted(10000);
  }
  ~Station() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  /* The next line the station says (empty after 60 s without one). */
  std::string Line() {
    for (int tick = 0; tick < 600 && !process_.canReadLine(); ++tick)
      process_.waitForReadyRead(100);
    std::string line = process_.readLine().toStdString();
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
  }
  void Tell(const std::string& order) {
    process_.write((order + "\n").c_str());
    process_.waitForBytesWritten(5000);
  }
  std::string Order(const std::string& order) {
    Tell(order);
    return Line();
  }
  int Quit() {
    Tell("quit");
    process_.closeWriteChannel();
    process_.waitForFinished(60000);
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  std::string Errors() { return process_.readAllStandardError().toStdString(); }

 private:
  QProcess process_;
};

/* 8. A second workstation with its own settings on the same database directory: it cannot
   open the file open here, can once it is closed, and the two print checks for different
   files at the same time without sharing a check number. */
TEST_F(OfficeDayTest, Step08_ASecondWorkstationWaitsForTheOpenFileAndNeverSharesACheckNumber) {
  StartOffice();
  FileCommandByKeys('N', kOther);
  ASSERT_NE(StatementOf(kOther), nullptr);
  AddChecksByHand(kOther, {"Other Payee One", "Other Payee Two", "Other Payee Three"});
  FileMenu('C');
  FileCommandByKeys('O', kPurchase);
  ASSERT_NE(StatementOf(kPurchase), nullptr);
  AddChecksByHand(kPurchase, {"Survey Co", "Pest Inspection Co", "Home Warranty Co"});

  const std::string stationRoot = Places().root + "-station",
                    stationRun = Places().runtime + "-station";
  Station station(stationRoot, stationRun, DayDir());
  ASSERT_EQ(station.Line(), "ready") << station.Errors();
  std::string refused = station.Order(std::string("open ") + kPurchase);
  EXPECT_EQ(refused.rfind("refused", 0), 0u) << refused;
  FileMenu('C');
  EXPECT_EQ(station.Order(std::string("open ") + kPurchase), std::string("opened ") + kPurchase);
  EXPECT_EQ(station.Order("close"), "closed");

  // Both print at once: the station's run is ordered, then this one's starts at once.
  FileCommandByKeys('O', kPurchase);
  station.Tell(std::string("print ") + kOther);
  std::vector<long> here = PrintReadyChecksBesideAnotherStation();
  std::string printed = station.Line();
  ASSERT_EQ(printed.rfind("printed", 0), 0u) << printed << station.Errors();
  std::vector<long> there;
  std::istringstream numbers(printed.substr(7, printed.find(" after") - 7));
  for (long number; numbers >> number;) there.push_back(number);
  EXPECT_EQ(printed.find(" box "), std::string::npos) << printed;
  std::printf("second workstation: %s\n", printed.c_str());  // its refusals show the runs met
  EXPECT_EQ(there.size(), 3u) << printed;
  EXPECT_EQ(here.size(), 3u + 6u) << ::testing::PrintToString(
      here);  // step 7's six printed and these
  EXPECT_EQ(std::count(here.begin(), here.end(), 0), 0) << "a check printed here has no number";
  // Every printed check of the ledger has a number of its own.
  std::vector<long> all;
  TPXRecord entry(gTables[kAccountTable], true);
  for (bool more = entry.First(); more; more = entry.Next()) {
    char type[2] = "";
    SHORT status = -1;
    LONG number = 0;
    entry.Read(0);
    entry.GetString(2, type, sizeof type);
    entry.GetShort(6, status);
    entry.GetLong(4, number);
    if (type[0] == 'C' && (status == 2 || status == 4) && number > 0) all.push_back(number);
  }
  std::vector<long> unique = all;
  std::sort(unique.begin(), unique.end());
  unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
  EXPECT_EQ(unique.size(), all.size()) << ::testing::PrintToString(all);
  EXPECT_EQ(all.size(), 7u + 3u + 3u)
      << ::testing::PrintToString(all) << " here " << ::testing::PrintToString(here) << " there "
      << printed << " refused " << refused;
  for (long number : there) EXPECT_EQ(std::count(here.begin(), here.end(), number), 0) << number;
  EXPECT_EQ(station.Quit(), 0) << station.Errors();
  std::error_code ignored;
  fs::remove_all(stationRoot, ignored);
  fs::remove_all(stationRun, ignored);
}

/* 9. Month end: the bank statement entered, the cleared deposits and checks cleared, the
   reconciliation report in balance and the period closed; the file balance report; the
   three balances agree. The bank's figure is worked out by hand from the day's checks: every
   deposit and check cleared but the broker's commission and the six 10.00 checks of the
   second workstation's step: 246,841.11 - (246,841.11 - 10,000.00) = 10,000.00 at the bank,
   and a book balance of 246,841.11 - 246,841.11 - 60.00 = -60.00. */
TEST_F(OfficeDayTest, Step09_MonthEndReconcilesInBalanceAndTheThreeBalancesAgree) {
  StartOffice();
  ClearPdfs();
  CommonDialogAnswers answers;
  for (int i = 0; i < 4; ++i) answers.ChoosePrinter("PDF");
  DialogDriver driver;
  std::string depositTotal;
  int depositRows = -1, checkRowsLeft = -1;
  driver.OnDialog(20965, [](HWND info) {
    HWND accounts = FindControl(info, 136);
    SendMessage(accounts, CB_SETCURSEL, 1, 0);
    SendMessage(info, WM_COMMAND, MAKEWPARAM(136, CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(accounts));
    SetControlText(info, 105, "10000.00");
    SetControlText(info, 106, "12/31/26");
    PressButton(info, IDOK);
  });
  driver.OnDialog(20930, [&](HWND dialog) {
    HWND grid = FindControl(dialog, 102);
    depositRows = static_cast<int>(SendMessage(grid, TSM_GETROWCOUNT, 0, 0));
    for (int row = 0; row < depositRows; ++row) ClickGridRow(grid, row);
    depositTotal = ControlTextOf(dialog, 261);
    PressButton(dialog, 104);  // Clear
    driver.OnDialog(20942, [](HWND range) {
      PressButton(range, 101);  // checks
      PressButton(range, 400);
      SetControlText(range, 401, "");
      SetControlText(range, 402, "12/31/26");
      PressButton(range, IDOK);
    });
    PressButton(dialog, 103);
    const std::set<std::string> outstanding = {
        "Broker Realty",   "Survey Co",       "Pest Inspection Co", "Home Warranty Co",
        "Other Payee One", "Other Payee Two", "Other Payee Three"};
    int count = static_cast<int>(SendMessage(grid, TSM_GETROWCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      TReconcileRow values{};
      SendMessage(grid, TSM_SETCURSOR, 0, row);
      SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&values));
      SendMessage(grid, TSM_SETCURSOR, 0, -2);
      if (!outstanding.count(values.PayeeDepositor)) ClickGridRow(grid, row);
    }
    PressButton(dialog, 104);
    checkRowsLeft = static_cast<int>(SendMessage(grid, TSM_GETROWCOUNT, 0, 0));
    Boxes().QueueAnswer(IDOK);   // examine the report
    Boxes().QueueAnswer(IDYES);  // close the period
    PressButton(dialog, 342);
    if (IsWindow(dialog) && IsWindowVisible(dialog)) PressButton(dialog, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_RECONCILE, 0);  // Accounting | Reconcile
  PumpUntilIdle();
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_EQ(depositRows, 2);
  EXPECT_EQ(depositTotal, "246,841.11");
  EXPECT_EQ(checkRowsLeft, 7);
  std::vector<std::string> reports = PdfFiles();
  ASSERT_EQ(reports.size(), 1u) << ::testing::PrintToString(BoxTexts());
  std::string report = OutputDir() + "/step09_reconciliation.pdf";
  fs::copy_file(reports[0], report, fs::copy_options::overwrite_existing);
  RenderPage(report, 1, "step09_reconciliation_page1");
  std::string text = std::regex_replace(ProgramOutput("pdftotext -layout '" + report + "' -"),
                                        std::regex(" +"), " ");
  for (const char* line : {"Ending bank balance 10,000.00", "Calculated ending balance 10,000.00",
                           "Less outstanding checks -10,060.00", "Reconciled bank balance -60.00",
                           "Book balance -60.00"})
    EXPECT_TRUE(Holds(text, line)) << line << "\n" << text;
  EXPECT_EQ(CountOf(text, "Variance 0.00"), 2) << text;
  TPXRecord bank(gTables[kBankTable], true);
  bank.SetShort(1, 1);
  ASSERT_TRUE(bank.Seek(1, ENGINE_KEY_EQ) && bank.Read(0));
  double closedEnd = 0;
  bank.GetDouble(8, closedEnd);
  EXPECT_EQ(closedEnd, 10000.00) << "the period was not closed at the statement's balance";

  // The file balance report: every file's balance and their total, the third balance.
  ClearPdfs();
  Boxes().Clear();
  Boxes().QueueAnswer(IDNO);  // zero balances listed too
  driver.OnDialog(20950, [](HWND range) { PressButton(range, IDOK); });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_FILEBALANCE,
              0);  // Accounting | Reports | File Balance
  PumpUntilIdle();
  reports = PdfFiles();
  ASSERT_EQ(reports.size(), 1u) << ::testing::PrintToString(BoxTexts());
  std::string balances = OutputDir() + "/step09_file_balance.pdf";
  fs::copy_file(reports[0], balances, fs::copy_options::overwrite_existing);
  RenderPage(balances, 1, "step09_file_balance_page1");
  text = ProgramOutput("pdftotext -layout '" + balances + "' -");
  EXPECT_TRUE(std::regex_search(
      text, std::regex("2026-0417 +Ann & Bob Buyer +Carl Seller +First Trust Escrow +-30\\.00")))
      << text;
  EXPECT_TRUE(std::regex_search(text, std::regex("2026-0419 .*-30\\.00"))) << text;
  EXPECT_TRUE(std::regex_search(text, std::regex("REPORT TOTAL +-60\\.00"))) << text;

  // The check register and the ledger of the month, and the purchase's disbursement report
  // and check request: each printed to PDF with the day's payees and amounts.
  struct Printed {
    const char* name;
    std::function<void()> print;
    std::vector<const char*> holds;
  };
  auto reportCommand = [&](UINT command) {
    return [&, command] {
      driver.OnDialog(20950, [](HWND range) { PressButton(range, IDOK); });
      SendMessage(Frame()->HWindow, WM_COMMAND, command, 0);
      PumpUntilIdle();
    };
  };
  auto disburseButton = [&](int button) {
    return [&, button] {
      driver.OnDialog(20900, [button](HWND dialog) {
        PressButton(dialog, button);
        PressButton(dialog, IDOK);
      });
      SendMessage(Frame()->HWindow, WM_COMMAND, CM_DISBURSE, 0);
      PumpUntilIdle();
    };
  };
  FileCommandByKeys('O', kPurchase);
  const Printed kReports[] = {
      {"check_register",
       reportCommand(CM_CHECKREGISTER),
       {"Carl Seller", "232,213.65", "Broker Realty", "10,000.00"}},
      {"ledger",
       reportCommand(CM_LEDGER),
       {"Ann & Bob Buyer", "46,841.11", "First Savings Bank", "200,000.00"}},
      {"disbursement_report",
       disburseButton(503),
       {"2026-0417", "Carl Seller", "232,213.65", "246,841.11"}},
      // Every check of the file is written: the request shows the heading and parties only.
      {"check_request", disburseButton(504), {"2026-0417", "Ann & Bob Buyer", "Carl Seller"}},
  };
  for (const Printed& report : kReports) {
    SCOPED_TRACE(report.name);
    ClearPdfs();
    for (int i = 0; i < 2; ++i) answers.ChoosePrinter("PDF");
    Boxes().Clear();
    report.print();
    std::vector<std::string> printed = PdfFiles();
    ASSERT_EQ(printed.size(), 1u) << ::testing::PrintToString(BoxTexts());
    std::string kept = OutputDir() + "/step09_" + report.name + ".pdf";
    fs::copy_file(printed[0], kept, fs::copy_options::overwrite_existing);
    RenderPage(kept, 1, std::string("step09_") + report.name + "_page1");
    std::string shown = std::regex_replace(ProgramOutput("pdftotext -layout '" + kept + "' -"),
                                           std::regex(" +"), " ");
    for (const char* piece : report.holds)
      EXPECT_TRUE(Holds(shown, piece)) << piece << "\n" << shown;
    if (std::string(report.name) == "check_request")
      EXPECT_FALSE(Holds(shown, "Zarne Title")) << shown;
  }

  // The 1099 export of the year, against the line written by hand beside this test.
  driver.OnDialog(20990, [](HWND dialog) {
    SetControlText(dialog, 397, "2026");
    PressButton(dialog, IDOK);
  });
  SendMessage(Frame()->HWindow, WM_COMMAND, CM_EXPORT1099, 0);  // Tools | Export 1099 Data
  PumpUntilIdle();
  EXPECT_EQ(driver.Pending(), 0u);
  EXPECT_EQ(ReadHostFile(DayDir() + "/Tax1099.txt"),
            ReadHostFile(OFFICE_EXPECTED_DIR "/tax1099_2026.txt"));
}

/* 10. Save As under a new number, then Delete of the copy. */
TEST_F(OfficeDayTest, Step10_SaveAsMergeAndDeleteKeepEachFilesRecordsTitleItemsAndLedger) {
  StartOffice();
  // The file merged in later: a second borrower and a requirement of its own.
  FileCommandByKeys('N', kMerged);
  ASSERT_NE(StatementOf(kMerged), nullptr);
  ASSERT_NO_FATAL_FAILURE(TypeIntoField(StatementOf(kMerged), 112, "Dee Buyer"));
  {
    DialogDriver driver;
    driver.OnDialog(20700, [&](HWND dialog) {
      driver.OnDialog(20801, [](HWND item) {
        SetFocus(FindControl(item, 180));
        TypeIntoDialog(item, "Merged requirement");
        PressDialogKey(item, VK_RETURN);
      });
      PressButton(dialog, 201);  // Add
      PressButton(dialog, IDOK);
    });
    SendMessage(Frame()->HWindow, WM_COMMAND, CM_REQUIREMENTS, 0);
    PumpUntilIdle();
    EXPECT_EQ(driver.Pending(), 0u);
  }
  FileMenu('C');
  ASSERT_EQ(TitleItemsOf(kMerged), 1);
  const int purchaseItems = TitleItemsOf(kPurchase), purchaseEntries = LedgerEntriesOf(kPurchase);
  EXPECT_EQ(purchaseItems, 5);  // three requirements and two exceptions
  EXPECT_EQ(purchaseEntries, 2 + 7 + 3);

  // Save As: the thirteen records under both numbers; title items and ledger stay the original's.
  FileCommandByKeys('O', kPurchase);
  ASSERT_NE(StatementOf(kPurchase), nullptr);
  FileCommandByKeys('A', kCopy);
  EXPECT_TRUE(Boxes().Shown().empty()) << ::testing::PrintToString(BoxTexts());
  for (int table = 0; table < kFileTables; ++table) {
    EXPECT_TRUE(TableHasFile(table, kCopy)) << table;
    EXPECT_TRUE(TableHasFile(table, kPurchase)) << table;
  }
  const TFieldNode* total = FindFieldByNumber(&gRespaFieldList, 243);
  EXPECT_EQ(TableMoney(total->tableIndex, kCopy, total->fieldNumber), "254,188.51");
  EXPECT_EQ(TitleItemsOf(kCopy), 0);
  EXPECT_EQ(LedgerEntriesOf(kCopy), 0);
  EXPECT_NE(StatementOf(kCopy), nullptr);

  // Merge: the blank second borrower is taken, the first borrower kept, the requirement added.
  FileCommandByKeys('M', kMerged);
  EXPECT_TRUE(Boxes().Shown().empty()) << ::testing::PrintToString(BoxTexts());
  RespaWindow* copy = StatementOf(kCopy);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(FieldText(copy, 112), "Dee Buyer");
  EXPECT_EQ(FieldText(copy, 102), "Ann & Bob Buyer");
  EXPECT_EQ(TitleItemsOf(kCopy), 1);
  EXPECT_EQ(TitleItemsOf(kMerged), 1);
  EXPECT_EQ(ZddeRequest("B2NAME"), "Dee Buyer");

  // Delete of the copy: its records and title item go, the others' stay.
  FileMenu('C');
  Boxes().Clear();
  for (int answer : {IDYES, IDYES, IDYES, IDYES}) Boxes().QueueAnswer(answer);
  FileCommandByKeys('E', kCopy);
  ASSERT_FALSE(Boxes().Shown().empty());
  EXPECT_EQ(Boxes().Shown()[0].text,
            std::string("Are you sure you want to delete file number [") + kCopy + "]");
  for (int table = 0; table < kFileTables; ++table) {
    EXPECT_FALSE(TableHasFile(table, kCopy)) << table;
    EXPECT_TRUE(TableHasFile(table, kPurchase)) << table;
    EXPECT_TRUE(TableHasFile(table, kMerged)) << table;
  }
  EXPECT_EQ(TitleItemsOf(kCopy), 0);
  EXPECT_EQ(TitleItemsOf(kMerged), 1);
  EXPECT_EQ(TitleItemsOf(kPurchase), purchaseItems);
  EXPECT_EQ(LedgerEntriesOf(kPurchase), purchaseEntries);
}

/* 11. SIGKILL while files are open with unsaved edits: what was saved stays, nothing stays
   locked, the tables open clean. */
TEST_F(OfficeDayTest, Step11_AKilledProgramLosesOnlyItsUnsavedEditsAndLocksNothing) {
  AllowTwoWindows();
  {
    ZarneProgram program(Places(), SHUTDOWN_DRIVER, {});
    ASSERT_TRUE(program.WaitForOutput("ready")) << program.Stdout() << program.Stderr();
    EXPECT_EQ(ProbeLock(DayDir(), "X1"), "refused");
    kill(program.Pid(), SIGKILL);
    EXPECT_EQ(program.WaitForExit(), 128 + SIGKILL);
  }
  for (const char* number : {"X1", "X2", kPurchase})
    EXPECT_EQ(ProbeLock(DayDir(), number), "locked") << number;
  StartOffice();
  EXPECT_TRUE(BoxTexts().empty());
  FileCommandByKeys('O', kPurchase);
  RespaWindow* view = StatementOf(kPurchase);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(FieldText(view, 243), "254,188.51");
  EXPECT_EQ(FieldText(view, 102), "Ann & Bob Buyer");
  FileCommandByKeys('O', "X1");
  RespaWindow* killed = StatementOf("X1");
  ASSERT_NE(killed, nullptr);
  EXPECT_EQ(FieldText(killed, 112), "") << "an unsaved edit came back";
  EXPECT_TRUE(Boxes().Shown().empty()) << ::testing::PrintToString(BoxTexts());
  ASSERT_TRUE(CloseApp());
  app_.reset();

  // With the program closed, the seller table loses its last page; zrnfix32 rebuilds it.
  const std::string seller = DayDir() + "/SELLER.DB";
  std::uintmax_t size = fs::file_size(seller);
  ASSERT_GT(size, 4096u);
  fs::resize_file(seller, size - 4096);
  std::string rebuilt = ProgramOutput(CommandLine(REBUILD_DRIVER, {"SELLER"}) + " 2>&1");
  EXPECT_TRUE(Holds(rebuilt, "rebuild ran")) << rebuilt;
  EXPECT_TRUE(Holds(rebuilt, "box: C:\\ZARNE\\SELLER was successfully rebuilt.")) << rebuilt;
  StartOffice();
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
  FileCommandByKeys('O', kPurchase);
  ASSERT_NE(StatementOf(kPurchase), nullptr);
  EXPECT_EQ(FieldText(StatementOf(kPurchase), 143), "Carl Seller");
  for (const char* number : {"X1", "X2", kPurchase}) EXPECT_TRUE(TableHasFile(1, number)) << number;
}

/* 12. Shutdown with two files open and edits typed saves both and frees every lock; so does SIGTERM. */
TEST_F(OfficeDayTest, Step12_ShutdownAndSigtermSaveBothFilesAndFreeEveryLock) {
  AllowTwoWindows();
  StartOffice();
  FileCommandByKeys('O', kPurchase);
  FileCommandByKeys('O', "X1");
  ASSERT_EQ(CountFileWindows(Client()), 2);
  ASSERT_NO_FATAL_FAILURE(TypeIntoField(StatementOf("X1"), 112, "Second Buyer"));
  RespaWindow* purchase = StatementOf(kPurchase);
  ASSERT_NE(purchase, nullptr);
  // The other window brought to the front as the Window menu does, then typed into.
  SendMessage(Client()->HWindow, WM_MDIACTIVATE,
              reinterpret_cast<WPARAM>(FindFileWindow(Client(), kPurchase)->HWindow), 0);
  PumpUntilIdle();
  ASSERT_NO_FATAL_FAILURE(TypeIntoField(purchase, 112, "Dee Buyer"));
  EXPECT_EQ(ProbeLock(DayDir(), kPurchase), "refused");
  ASSERT_TRUE(CloseApp());
  app_.reset();
  EXPECT_EQ(ProbeLock(DayDir(), kPurchase), "locked");
  EXPECT_EQ(ProbeLock(DayDir(), "X1"), "locked");

  {
    ZarneProgram program(Places(), SHUTDOWN_DRIVER, {});
    ASSERT_TRUE(program.WaitForOutput("ready")) << program.Stdout() << program.Stderr();
    EXPECT_EQ(ProbeLock(DayDir(), "X2"), "refused") << program.Stdout() << program.Stderr();
    EXPECT_EQ(program.Terminate(), 0) << program.Stderr();
    EXPECT_TRUE(Holds(program.Stdout(), "tables closed")) << program.Stdout();
  }
  EXPECT_EQ(ProbeLock(DayDir(), "X1"), "locked");
  EXPECT_EQ(ProbeLock(DayDir(), "X2"), "locked");
  StartOffice();
  FileCommandByKeys('O', "X2");
  ASSERT_NE(StatementOf("X2"), nullptr);
  EXPECT_EQ(FieldText(StatementOf("X2"), 102), "Typed Before Exit");
  FileCommandByKeys('O', kPurchase);
  ASSERT_NE(StatementOf(kPurchase), nullptr);
  EXPECT_EQ(FieldText(StatementOf(kPurchase), 112), "Dee Buyer");
}

}  // namespace
