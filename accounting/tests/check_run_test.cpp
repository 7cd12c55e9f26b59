/*
** Print Checks in the disbursing dialog, on real tables in a fresh root with the checks
** printer on the PDF device: numbering in grid order from the number the dialog confirms,
** one single-page PDF per check whatever copies or pages are asked, every item of the check
** form at its two positions, the run's refusals and questions, and a printer failure midway.
** Expected positions are the test's own layout values turned into points (18 + 0.072 v).
*/
#include "accounting/check_printout.h"
#include "accounting/print_checks_dialog.h"
#include "check_fixture.h"
#include "platform/testing/print_job_failure.h"
#include "platform/user/winuser.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

namespace {

constexpr char kFile[] = "F-100";

class CheckRunTest : public CheckTest {
 protected:
  void SetUp() override {
    CheckTest::SetUp();
    MakeCheckCtl(1001);
  }
  /* A check of kFile with creation key `seq`. */
  static void PutCheck(double seq, int status, double amount, const std::string& payee,
                       long number = 0, LONG date = kBlankDate,
                       const std::string& description = "Payoff") {
    PutEntry({kFile, 'C', seq, number, 2, status, date, payee, amount, description});
  }
  static TLedgerEntry Stored(double seq) {
    std::optional<TLedgerEntry> entry = StoredEntry(kFile, 'C', seq);
    EXPECT_TRUE(entry.has_value()) << seq;
    return entry.value_or(TLedgerEntry{});
  }
  /* Whether a box with exactly this text was shown. */
  bool ShownText(const std::string& text) {
    for (const MessageBoxRequest& box : Shown())
      if (box.text == text) return true;
    return false;
  }
  static void PutDate(int table, int field, LONG date) {
    TPXRecord record(gTables[table], true);
    record.Clear();
    record.SetString(1, kFile);
    record.SetLong(field, date);
    ASSERT_TRUE(record.Post());
  }
};

// Every item placed: main positions in the upper half of the sheet, copies 5 inches lower.
const short kFullLayout[kCheckFormValueCount] = {
    500,  300,  500,  5300,                         // file number
    6000, 300,  6000, 5300,                         // short date
    3000, 300,  3000, 5300,                         // check number
    6500, 1200, 6500, 6200,                         // amount
    500,  2600, 4000, 400,  500,  7600, 4000, 400,  // description
    500,  600,  2500, 300,  500,  5600, 2500, 300,  // buyers
    3200, 600,  2500, 300,  3200, 5600, 2500, 300,  // sellers
    5900, 800,  5900, 5800,                         // long date
    500,  1800, 7000, 300,  500,  6800, 7000, 300,  // amount in words
    7000, 2200, 7000, 7200,                         // second amount
    500,  1200, 5000, 300,  500,  6200, 5000, 300,  // payee
};

TEST_F(CheckRunTest, ReadyChecksAreNumberedInGridOrderAndEachPrintsEveryItemTwice) {
  std::memcpy(gCheckFormLayout, kFullLayout, sizeof kFullLayout);
  PutParty(0, kFile, "Ann & Bob Buyer");
  PutParty(1, kFile, "Sam Seller");
  const LONG printedDate = DateOf(1, 5, 2026);
  PutCheck(1, kStatusReady, 1234.56, "Smith & Jones Title");
  PutCheck(2, kStatusEscrow, 50.00, "Escrow Payee");
  PutCheck(3, kStatusPrinted, 75.00, "Old Payee", 500, printedDate);
  PutCheck(4, kStatusReady, 200.00, "Second Payee", 0, kBlankDate, "Commission");
  PutCheck(5, kStatusReady, 10.00, "Third Payee");
  const std::vector<BYTE> escrow = RawRecord(kFile, 'C', 2), printed = RawRecord(kFile, 'C', 3);
  Printers().ChoosePrinter();
  const LONG date = DateOf(3, 14, 2026);
  std::vector<TDisburseCheckRow> rows;
  Driver().OnDialog(20905, [&](HWND dialog) {
    SetControlText(dialog, 106, "1001");
    SetControlText(dialog, 105, "03/14/2026");
    PressButton(dialog, IDOK);
  });
  RunDisburse(kFile, [&](HWND dialog, TDisburse&) {
    PressButton(dialog, 502);
    for (int i = 0; i < RowCount(dialog, 300); ++i) rows.push_back(CheckRow(dialog, i));
  });

  ExpectOnlyPrintedPdfsTold();  // one box for the run's three checks
  EXPECT_EQ(1u, Printers().PrintRequests().size());
  const double seqs[] = {1, 4, 5};
  for (int i = 0; i < 3; ++i) {
    TLedgerEntry check = Stored(seqs[i]);
    EXPECT_EQ(kStatusPrinted, check.Status);
    EXPECT_EQ(1001 + i, check.Number);
    EXPECT_EQ(date, check.Date);
  }
  EXPECT_EQ(escrow, RawRecord(kFile, 'C', 2));
  EXPECT_EQ(printed, RawRecord(kFile, 'C', 3));
  EXPECT_EQ(1004.0, StoredNextNumber().value_or(0));
  // The grid shows them printed.
  ASSERT_EQ(5u, rows.size());
  EXPECT_STREQ("Printed", rows[0].StatusText);
  EXPECT_EQ(1001, rows[0].Number);
  EXPECT_STREQ("Escrow", rows[1].StatusText);
  EXPECT_EQ(1003, rows[4].Number);

  std::vector<std::string> pdfs = PrintedChecks();
  ASSERT_EQ(3u, pdfs.size());
  for (const std::string& pdf : pdfs) EXPECT_EQ(1, PageCount(pdf)) << pdf;
  const std::vector<PdfWord> words = Words(pdfs[0]);
  // Each text as its value form gives it, worked by hand, at main then copy position.
  const struct {
    int item;
    const char* text;
  } items[] = {
      {kCheckFileNumberItem, "F-100"},
      {kCheckShortDateItem, "03/14/2026"},
      {kCheckNumberItem, "Check Number: 1001"},
      {kCheckAmountItem, "1,234.56"},
      {kCheckDescriptionItem, "Payoff"},
      {kCheckBuyersItem, "Ann & Bob Buyer"},
      {kCheckSellersItem, "Sam Seller"},
      {kCheckLongDateItem, "March 14, 2026"},
      {kCheckAmountWordsItem, "One Thousand Two Hundred Thirty Four and 56/100 Dollars"},
      {kCheckSecondAmountItem, "1,234.56"},
      {kCheckPayeeItem, "Smith & Jones Title"},
  };
  for (const auto& item : items) {
    const bool box = item.item == kCheckDescriptionItem || item.item == kCheckBuyersItem ||
                     item.item == kCheckSellersItem || item.item == kCheckAmountWordsItem ||
                     item.item == kCheckPayeeItem;
    const int copy = item.item + (box ? 4 : 2);
    EXPECT_TRUE(TextAt(words, item.text, Points(kFullLayout[item.item]),
                       Points(kFullLayout[item.item + 1])))
        << item.text << " main";
    EXPECT_TRUE(TextAt(words, item.text, Points(kFullLayout[copy]), Points(kFullLayout[copy + 1])))
        << item.text << " copy";
  }
  const std::filesystem::path pictures = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(pictures);
  RenderFirstPage(pdfs[0], (pictures / "printed_check.png").string());
  const std::vector<PdfWord> third = Words(pdfs[2]);
  EXPECT_TRUE(TextAt(third, "Check Number: 1003", Points(3000), Points(300)));
  EXPECT_TRUE(TextAt(third, "Third Payee", Points(500), Points(1200)));
  EXPECT_TRUE(TextAt(third, "Ten and 00/100 Dollars", Points(500), Points(1800)));
}

TEST_F(CheckRunTest, WithoutAReadyCheckOkStoresTheTypedNumberAndPrintsNothing) {
  PutCheck(1, kStatusEscrow, 50.00, "Escrow Payee");
  PutCheck(2, kStatusPrinted, 75.00, "Old Payee", 500, DateOf(1, 5, 2026));
  RunPrintChecks(kFile, 2500, DateOf(3, 14, 2026));
  EXPECT_EQ(2500.0, StoredNextNumber().value_or(0));
  EXPECT_TRUE(Printers().PrintRequests().empty());
  EXPECT_TRUE(PrintedChecks().empty());
}

TEST_F(CheckRunTest, CancelInThePrintChecksDialogWritesNothing) {
  PutCheck(1, kStatusReady, 100.00, "Payee");
  PutCheck(2, kStatusReady, 200.00, "Payee Two");
  const std::vector<char> checkCtl = CheckCtlBytes();
  const std::vector<std::vector<BYTE>> records = AllRawRecords();
  ASSERT_FALSE(checkCtl.empty());
  Driver().OnDialog(20905, [](HWND dialog) {
    SetControlText(dialog, 106, "7000");
    PressButton(dialog, IDCANCEL);
  });
  RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  EXPECT_EQ(checkCtl, CheckCtlBytes());
  EXPECT_EQ(records, AllRawRecords());
  EXPECT_TRUE(PrintedChecks().empty());
  EXPECT_TRUE(Printers().PrintRequests().empty());
}

TEST_F(CheckRunTest, AFreshCheckFormRefusesTheRunBeforeAnythingIsAskedOrRecorded) {
  for (short& value : gCheckFormLayout) value = kCheckFormUnset;
  // Positions short of one value each: a box's height, a copy's y, a main x.
  for (int i : {0, 1, 2}) gCheckFormLayout[kCheckPayeeItem + i] = 400;
  gCheckFormLayout[kCheckNumberItem + 2] = 100;
  gCheckFormLayout[kCheckAmountItem + 1] = 100;
  PutCheck(1, kStatusReady, 100.00, "Payee");
  PutCheck(2, kStatusReady, 200.00, "Payee Two");
  const std::vector<char> checkCtl = CheckCtlBytes();
  const std::vector<std::vector<BYTE>> records = AllRawRecords();
  RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  ASSERT_EQ(1u, Shown().size());
  EXPECT_NE(std::string::npos, Shown()[0].text.find("Options, Check Form")) << Shown()[0].text;
  EXPECT_EQ(checkCtl, CheckCtlBytes());
  EXPECT_EQ(records, AllRawRecords());
  EXPECT_TRUE(PrintedChecks().empty());
  EXPECT_TRUE(Printers().PrintRequests().empty());
  for (const std::string& caption : Driver().Opened()) EXPECT_NE("Print Checks", caption);
}

TEST_F(CheckRunTest, TheDialogProposesTheNextNumberAndTheFilesDisbursementClosingOrTodaysDate) {
  std::vector<std::pair<std::string, std::string>> proposed;
  auto look = [&] {
    Driver().OnDialog(20905, [&](HWND dialog) {
      proposed.emplace_back(ControlTextOf(dialog, 106), ControlTextOf(dialog, 105));
      PressButton(dialog, IDCANCEL);
    });
    RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  };
  look();  // neither record: today
  PutDate(kSummary1Table, 2, DateOf(6, 30, 2026));
  PutDate(kExtraTable, 20, kBlankDate);
  look();  // a blank disbursement date: the closing date
  PutDate(kExtraTable, 20, DateOf(7, 2, 2026));
  look();  // the disbursement date first
  // The date edit shows two-digit years.
  int month = 0, day = 0, year = 0;
  DecodeDate(TodayDate(), month, day, year);
  char today[16];
  std::snprintf(today, sizeof today, "%02d/%02d/%02d", month, day, year % 100);
  ASSERT_EQ(3u, proposed.size());
  EXPECT_EQ("1001", proposed[0].first);
  EXPECT_EQ(today, proposed[0].second);
  EXPECT_EQ("06/30/26", proposed[1].second);
  EXPECT_EQ("07/02/26", proposed[2].second);
}

TEST_F(CheckRunTest, ANextNumberTheDialogCannotHoldIsProposedAsZeroToBeTyped) {
  {
    char path[MAX_PATH];
    BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
    TPXTable table(path, 0);
    TPXRecord record(&table, true);
    ASSERT_TRUE(record.First() && record.Read(0));
    record.SetDouble(1, 5e9);  // written by something else: past what a LONG can count to
    ASSERT_TRUE(record.Modify());
  }
  std::string proposed;
  Driver().OnDialog(20905, [&](HWND dialog) {
    proposed = ControlTextOf(dialog, 106);
    PressButton(dialog, IDCANCEL);
  });
  RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  EXPECT_EQ("0", proposed);
  EXPECT_EQ(5e9, StoredNextNumber().value_or(0));
}

TEST_F(CheckRunTest, NumberZeroAndABlankDateAreRefusedWithTheDialogOpen) {
  PutCheck(1, kStatusReady, 100.00, "Payee");
  bool openAfterNumber = false, openAfterDate = false;
  Driver().OnDialog(20905, [&](HWND dialog) {
    SetControlText(dialog, 106, "0");
    PressButton(dialog, IDOK);
    openAfterNumber = IsWindow(dialog) && IsWindowVisible(dialog);
    SetControlText(dialog, 106, "12");
    SetControlText(dialog, 105, "");
    PressButton(dialog, IDOK);
    openAfterDate = IsWindow(dialog) && IsWindowVisible(dialog);
    PressButton(dialog, IDCANCEL);
  });
  RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  EXPECT_TRUE(openAfterNumber);
  EXPECT_TRUE(openAfterDate);
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ(kCheckNumberTooLow, Shown()[0].text);
  EXPECT_EQ(kCheckDateMissing, Shown()[1].text);
  EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), Shown()[0].type & MB_ICONMASK);
  EXPECT_EQ(1001.0, StoredNextNumber().value_or(0));
  EXPECT_EQ(kStatusReady, Stored(1).Status);
}

TEST_F(CheckRunTest, AFirstReadyCheckInRowTwoStillGetsExactlyOnePrintDialog) {
  PutCheck(1, kStatusPrinted, 75.00, "Old Payee", 500, DateOf(1, 5, 2026));
  PutCheck(2, kStatusEscrow, 50.00, "Escrow Payee");
  PutCheck(3, kStatusReady, 100.00, "First Ready");
  PutCheck(4, kStatusReady, 200.00, "Second Ready");
  Printers().ChoosePrinter();
  RunPrintChecks(kFile, 1001, DateOf(3, 14, 2026));
  ASSERT_EQ(1u, Printers().PrintRequests().size());
  EXPECT_EQ(2u, PrintedChecks().size());
  EXPECT_EQ(1001, Stored(3).Number);
  EXPECT_EQ(1002, Stored(4).Number);
  // The dialog asked for what a check may print: no selection, no page numbers, no file.
  const DWORD flags = Printers().PrintRequests()[0].flags;
  EXPECT_EQ(static_cast<DWORD>(PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE),
            flags & (PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE));
}

TEST_F(CheckRunTest, CopiesAndAPageRangeAskedForStillGiveOneSinglePagePdfPerCheck) {
  UsePdfCheckPrinter(2);  // the stored device mode asks for two copies
  PutCheck(1, kStatusReady, 100.00, "First Ready");
  PutCheck(2, kStatusReady, 200.00, "Second Ready");
  Printers().ChoosePrinter({}, [](PrintDialogAnswer& answer) {
    answer.copies = 2;
    answer.mode.dmCopies = 2;
    answer.flags |= PD_PAGENUMS;
    answer.fromPage = 2;
    answer.toPage = 5;
  });
  RunPrintChecks(kFile, 1001, DateOf(3, 14, 2026));
  std::vector<std::string> pdfs = PrintedChecks();
  ASSERT_EQ(2u, pdfs.size());
  for (const std::string& pdf : pdfs) EXPECT_EQ(1, PageCount(pdf)) << pdf;
  EXPECT_EQ(kStatusPrinted, Stored(1).Status);
  EXPECT_EQ(kStatusPrinted, Stored(2).Status);
  EXPECT_EQ(1003.0, StoredNextNumber().value_or(0));
}

TEST_F(CheckRunTest, ChecksWithoutPayeeOrWithAnAmountTheWordsCannotSayStayReadyAndAreListed) {
  PutCheck(1, kStatusReady, 0.00, "Zero Payee");
  PutCheck(2, kStatusReady, -5.00, "Negative Payee");
  PutCheck(3, kStatusReady, 10.00, "");
  PutCheck(4, kStatusReady, 42949672.95, "Too Large");
  PutCheck(5, kStatusReady, 42949672.94, "Largest");
  Printers().ChoosePrinter();
  RunPrintChecks(kFile, 1001, DateOf(3, 14, 2026));
  EXPECT_EQ(1u, PrintedChecks().size());
  EXPECT_EQ(1001, Stored(5).Number);
  EXPECT_EQ(1002.0, StoredNextNumber().value_or(0));
  for (double seq : {1, 2, 3, 4}) {
    EXPECT_EQ(kStatusReady, Stored(seq).Status) << seq;
    EXPECT_EQ(0, Stored(seq).Number) << seq;
  }
  // Where the one printed check went, then the list of those left Ready.
  ASSERT_EQ(2u, Shown().size());
  EXPECT_TRUE(TellsPrintedPdfs(Shown()[0])) << Shown()[0].text;
  EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), Shown()[1].type & MB_ICONMASK);
  EXPECT_EQ(
      "These Ready checks were not printed. A check needs a payee and an amount above 0.00 and at "
      "most 42,949,672.94:\nZero Payee  0.00\nNegative Payee  -5.00\n(no payee)  10.00\nToo Large  "
      "42,949,672.95",
      Shown()[1].text);
}

TEST_F(CheckRunTest, ATypedNumberOverlappingUsedNumbersIsRefusedAndWritesNothing) {
  PutEntry({"OTHER", 'C', 9, 1002, 2, kStatusVoid, DateOf(1, 5, 2026), "Voided", 0, ""});
  PutCheck(1, kStatusReady, 100.00, "First Ready");
  PutCheck(2, kStatusReady, 200.00, "Second Ready");
  const std::vector<char> checkCtl = CheckCtlBytes();
  const std::vector<std::vector<BYTE>> records = AllRawRecords();
  Printers().ChoosePrinter();
  RunPrintChecks(kFile, 1001, DateOf(3, 14, 2026));
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ(
      "Check numbers 1001 to 1002 include numbers already used; no check was printed. Type a number "
      "after the last one used.",
      Shown()[0].text);
  EXPECT_EQ(checkCtl, CheckCtlBytes());
  EXPECT_EQ(records, AllRawRecords());
  EXPECT_TRUE(PrintedChecks().empty());
  EXPECT_TRUE(Printers().PrintRequests().empty());

  // One check at a used number is refused in the singular; 1003 is free and prints.
  Boxes().Clear();
  PutEntry({"OTHER", 'C', 10, 1003, 2, kStatusPrinted, DateOf(1, 5, 2026), "Printed", 5, ""});
  PutEntry({"F-200", 'C', 1, 0, 2, kStatusReady, kBlankDate, "Lone Payee", 50.00, ""});
  RunPrintChecks("F-200", 1003, DateOf(3, 14, 2026));
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ(
      "Check number 1003 is already used; no check was printed. Type a number after the last one used.",
      Shown()[0].text);
  Boxes().Clear();
  RunPrintChecks("F-200", 1004, DateOf(3, 14, 2026));
  EXPECT_EQ(1004, StoredEntry("F-200", 'C', 1).value_or(TLedgerEntry{}).Number);
  EXPECT_EQ(1005.0, StoredNextNumber().value_or(0));
}

TEST_F(CheckRunTest, TheDialogNeverProposesANumberTheLedgerHolds) {
  // CHECKCTL says 1001, but a run that died before moving it on left 1001 and 1002 printed.
  PutEntry({"OTHER", 'C', 9, 1001, 2, kStatusPrinted, DateOf(1, 5, 2026), "Printed", 5, ""});
  PutEntry({"OTHER", 'C', 10, 1002, 2, kStatusVoid, DateOf(1, 5, 2026), "Voided", 5, ""});
  PutEntry({"OTHER", 'D', 11, 1500, 2, kStatusPosted, DateOf(1, 5, 2026), "A deposit", 5, ""});
  PutCheck(1, kStatusReady, 100.00, "First Ready");
  std::string proposed;
  Printers().ChoosePrinter();
  Driver().OnDialog(20905, [&](HWND dialog) {
    proposed = ControlTextOf(dialog, 106);
    PressButton(dialog, IDOK);
  });
  RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  EXPECT_EQ("1003", proposed);
  ExpectOnlyPrintedPdfsTold();
  EXPECT_EQ(1003, Stored(1).Number);
  EXPECT_EQ(1004.0, StoredNextNumber().value_or(0));
}

TEST_F(CheckRunTest, CancelInThePrintDialogPrintsAndRecordsNothing) {
  PutCheck(1, kStatusReady, 100.00, "First Ready");
  Printers().CancelPrintDialog();
  RunPrintChecks(kFile, 1001, DateOf(3, 14, 2026));
  EXPECT_TRUE(PrintedChecks().empty());
  EXPECT_EQ(kStatusReady, Stored(1).Status);
  EXPECT_EQ(0, Stored(1).Number);
}

TEST_F(CheckRunTest, AFailedPrintMidwayKeepsThePrintedOnesAndARerunGoesOnFromThere) {
  const char* payees[] = {"First Payee", "Second Payee", "Third Payee", "Fourth Payee"};
  for (int i = 0; i < 4; ++i) PutCheck(i + 1, kStatusReady, 100.00 * (i + 1), payees[i]);
  {
    FailingPrintJob failure(3, FailingPrintJob::AtPage);
    Printers().ChoosePrinter();
    RunPrintChecks(kFile, 1001, DateOf(3, 14, 2026));
  }
  EXPECT_EQ(2u, PrintedChecks().size());
  EXPECT_EQ(1001, Stored(1).Number);
  EXPECT_EQ(1002, Stored(2).Number);
  for (double seq : {3, 4}) {
    EXPECT_EQ(kStatusReady, Stored(seq).Status);
    EXPECT_EQ(0, Stored(seq).Number);
    EXPECT_EQ(kBlankDate, Stored(seq).Date);
  }
  EXPECT_EQ(1003.0, StoredNextNumber().value_or(0));
  EXPECT_TRUE(ShownText("Check 1003 to Third Payee was not printed; it is still Ready."));

  // The rerun takes the number CHECKCTL proposes.
  Boxes().Clear();
  Printers().ChoosePrinter();
  Driver().OnDialog(20905, [](HWND dialog) { PressButton(dialog, IDOK); });
  RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  EXPECT_EQ(1003, Stored(3).Number);
  EXPECT_EQ(1004, Stored(4).Number);
  EXPECT_EQ(1005.0, StoredNextNumber().value_or(0));
  EXPECT_EQ(4u, PrintedChecks().size());
  std::set<long> numbers;
  for (double seq : {1, 2, 3, 4}) numbers.insert(Stored(seq).Number);
  EXPECT_EQ(4u, numbers.size());
}

TEST_F(CheckRunTest, ACheckCtlThatCannotBeReadRefusesTheRun) {
  PutCheck(1, kStatusReady, 100.00, "First Ready");
  const std::vector<std::vector<BYTE>> records = AllRawRecords();
  // Without its record.
  {
    char path[MAX_PATH];
    BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
    TPXTable table(path, 0);
    TPXRecord record(&table, true);
    ASSERT_TRUE(record.First());
    ASSERT_TRUE(record.Delete());
  }
  const std::vector<char> empty = CheckCtlBytes();
  RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  EXPECT_TRUE(
      ShownText("The next check number cannot be read from CHECKCTL; no checks were printed."));
  EXPECT_EQ(empty, CheckCtlBytes());
  // Missing altogether.
  Boxes().Clear();
  std::filesystem::remove(CheckCtlHostPath());
  RunDisburse(kFile, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
  EXPECT_TRUE(
      ShownText("The next check number cannot be read from CHECKCTL; no checks were printed."));
  EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), Shown().back().type & MB_ICONMASK);
  EXPECT_FALSE(std::filesystem::exists(CheckCtlHostPath()));
  EXPECT_EQ(records, AllRawRecords());
  EXPECT_TRUE(PrintedChecks().empty());
  for (const std::string& caption : Driver().Opened()) EXPECT_NE("Print Checks", caption);
}

}  // namespace
