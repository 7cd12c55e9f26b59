/*
** The three-way identity on a generated ledger. A seeded generator (the seed is printed on a
** failure; RECONCILE_SEED picks another) makes some three thousand entries over three
** accounts and two hundred files, in every type and life-cycle status, with cent amounts,
** blank and repeated dates and adjustments on file "0". Each account is reconciled through
** the dialogs for four monthly periods, clearing the entries the generator marks for each;
** every period must print both variances "0.00" and balance exactly the expected entries.
** Then for each account and several dates the reconciliation report's book balance, the
** ledger's ENDING BALANCE and the file balance REPORT TOTAL must all equal the test's own
** integer-cent sum of the entries that count in the book.
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/reconcile_report.h"
#include "accounting/report_commands.h"
#include "accounting/report_drawing.h"
#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "reconcile_fixture.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <regex>

namespace {

constexpr int kAccounts = 3;
constexpr int kPeriods = 4;

struct GeneratedEntry {
  std::string file;
  char type;
  double seq;
  int bank;
  int status;
  LONG date;
  long long cents;
  int clearedIn;  // the period (1..4) in which the test clears it; 0 never
};

LONG PeriodEnd(int period) {
  return DateOf(period + 1, DaysInMonth(period + 1, 2024), 2024);
}  // 1: Jan 31

std::vector<GeneratedEntry> Generate(unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&](int from, int to) {
    return std::uniform_int_distribution<int>(from, to)(random);
  };
  auto someDate = [&]() { return DateOf(pick(1, 5), pick(1, 28), 2024); };  // Jan..May, days repeat
  std::vector<GeneratedEntry> entries;
  double seq = 1000.0;
  auto add = [&](std::string file, char type, int bank, int status, LONG date, int clearedIn) {
    entries.push_back(
        {std::move(file), type, seq += 1.0, bank, status, date, pick(1, 500000), clearedIn});
  };
  for (int i = 0; i < 3000; ++i) {
    char file[8];
    std::snprintf(file, sizeof file, "F%03d", pick(0, 199));
    const int bank = pick(0, kAccounts - 1);
    const int kind = pick(0, 99);
    LONG date = someDate();
    auto periodOf = [&](LONG d) {  // the first period whose end covers the date
      for (int p = 1; p <= kPeriods; ++p)
        if (d <= PeriodEnd(p)) return p;
      return 0;
    };
    if (kind < 8) {
      add("0", 'B', bank, 6, date, 0);  // adjustments are born Reconciled
    } else if (kind < 14) {
      add(file, 'D', bank, 7, DateOf(12, pick(1, 31), 2023), 0);  // balanced in an earlier period
    } else if (kind < 18) {
      add(file, 'C', bank, 7, DateOf(12, pick(1, 31), 2023), 0);
    } else if (kind < 24) {
      add(file, 'C', bank, pick(0, 1), pick(0, 3) == 0 ? kBlankDate : date, 0);  // Ready or Escrow
    } else if (kind < 28) {
      add(file, 'C', bank, 4, date, 0);  // Void
    } else if (kind < 55) {
      // Printed: cleared in its own period or a later one, or left outstanding.
      const int first = periodOf(date);
      add(file, 'C', bank, 2, date,
          first == 0 || pick(0, 4) == 0 ? 0 : std::min(kPeriods, first + pick(0, 1)));
    } else if (kind < 62) {
      // Unposted, most without a date: listed in every period, cleared in one of them.
      const bool blank = pick(0, 3) != 0;
      const int first = blank ? 1 : periodOf(date);
      add(file, 'D', bank, 3, blank ? kBlankDate : date,
          first == 0 || pick(0, 2) == 0 ? 0 : std::max(first, pick(1, kPeriods)));
    } else {
      const int first = periodOf(date);
      add(file, 'D', bank, 5, date,
          first == 0 || pick(0, 5) == 0 ? 0 : std::min(kPeriods, first + pick(0, 1)));
    }
  }
  return entries;
}

long long Signed(const GeneratedEntry& e) { return e.type == 'C' ? -e.cents : e.cents; }

std::string Plain(long long cents) {
  const long long magnitude = cents < 0 ? -cents : cents;
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%02lld", cents < 0 ? "-" : "", magnitude / 100,
                magnitude % 100);
  return text;
}

class ReconcileIdentityTest : public ReconcileTest {
 protected:
  std::vector<GeneratedEntry> entries_;

  long long BookSum(int bank, LONG through) const {
    long long sum = 0;
    for (const GeneratedEntry& e : entries_)
      if (e.bank == bank && (e.status == 2 || e.status >= 5) && e.date <= through) sum += Signed(e);
    return sum;
  }
  /* The listed rows whose entries the generator clears in this period, selected. */
  void SelectCleared(HWND dialog, int bank, int period) {
    const std::vector<TReconcileRow> rows = Rows(dialog);
    for (size_t row = 0; row < rows.size(); ++row)
      for (const GeneratedEntry& e : entries_)
        if (e.bank == bank && e.clearedIn == period && e.seq == rows[row].Seq &&
            e.file == rows[row].FileNum)
          SendMessage(GridOf(dialog), TSM_SELECTROW, 1, static_cast<LPARAM>(row));
  }
  void ReconcilePeriod(int bank, int period, long long& begin) {
    SCOPED_TRACE("account " + std::to_string(bank) + " period " + std::to_string(period));
    // What the test expects to become Reconciled and then Balanced.
    for (GeneratedEntry& e : entries_)
      if (e.bank == bank && e.clearedIn == period) e.status = 6;
    long long movement = 0;
    for (const GeneratedEntry& e : entries_)
      if (e.bank == bank && e.status == 6 && e.date <= PeriodEnd(period)) movement += Signed(e);
    const long long end = begin + movement;
    ClearPrintedPdfs();
    Boxes().Clear();
    const bool opened = RunReconcile(
        [&](HWND info) {
          SendMessage(FindControl(info, 136), CB_SETCURSEL, bank, 0);
          SendMessage(info, WM_COMMAND, MAKEWPARAM(136, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(FindControl(info, 136)));
          if (period == 1) {
            SetControlText(info, 104, Plain(begin));
            TypeStatement(info, Plain(end), DialogDate(PeriodEnd(1)));
          } else {
            char shown[64];
            FormatReportAmount(shown, sizeof shown, begin / 100.0);
            EXPECT_EQ(ControlTextOf(info, 204), shown);
            EXPECT_EQ(ControlTextOf(info, 105), "0.00");
            EXPECT_EQ(ControlTextOf(info, 106), DialogDate(PeriodEnd(period)));
            TypeStatement(info, Plain(end));
          }
        },
        [&](HWND dialog) {
          SelectCleared(dialog, bank, period);
          PressButton(dialog, 104);
          ChooseRange(dialog, 101, DialogDate(PeriodEnd(period)));
          SelectCleared(dialog, bank, period);
          PressButton(dialog, 104);
          Boxes().QueueAnswer(IDOK);  // where the report went
          Boxes().QueueAnswer(IDOK);
          Boxes().QueueAnswer(IDYES);
          PressButton(dialog, 342);
        });
    ASSERT_TRUE(opened);
    const std::string text = PdfText(PrintedPdf());
    EXPECT_EQ(text.find("NOT IN BALANCE"), std::string::npos);
    EXPECT_EQ(AmountAfter(text, "Book balance"), Plain(BookSum(bank, PeriodEnd(period))));
    EXPECT_EQ(Shown().size(), 3u);
    for (GeneratedEntry& e : entries_)
      if (e.bank == bank && e.status == 6 && e.date <= PeriodEnd(period)) e.status = 7;
    begin = end;
  }
  std::string LedgerOrBalance(TReportCommandKind kind, LONG through) {
    ClearPrintedPdfs();
    DialogDriver driver;
    driver.OnDialog(20950, [&](HWND dialog) {
      PressButton(dialog, 400);
      if (kind == kLedgerReport) SetControlText(dialog, 401, "01/01/20");
      SetControlText(dialog, 402, DialogDate(through));
      PressButton(dialog, IDOK);
    });
    if (kind == kFileBalanceReport) Boxes().QueueAnswer(IDYES);
    RunReportCommand(kind, nullptr);
    return PdfText(PrintedPdf());
  }
  std::string BookBalanceThrough(int bank, LONG through) {
    ClearPrintedPdfs();
    gReconcileXfer.Accounts.Select(bank);
    gReconcileXfer.CloseDate = through;
    TReconcileReport report("Reconciliation Report");
    PrintOnReportPrinter(nullptr, report);
    return AmountAfter(PdfText(PrintedPdf()), "Book balance");
  }
};

TEST_F(ReconcileIdentityTest, FourPeriodsPerAccountAndThreeWalksAgree) {
  const char* chosen = std::getenv("RECONCILE_SEED");
  const unsigned seed =
      chosen ? static_cast<unsigned>(std::strtoul(chosen, nullptr, 10)) : 20261209u;
  SCOPED_TRACE("generator seed " + std::to_string(seed) + " (RECONCILE_SEED)");
  entries_ = Generate(seed);
  for (const GeneratedEntry& e : entries_)
    Put(e.file, e.type, e.seq, e.status, e.cents / 100.0, e.date,
        e.type == 'C' ? static_cast<long>(e.seq) : 0, "Party " + e.file, e.bank);

  for (int bank = 0; bank < kAccounts; ++bank) {
    // The first statement begins where the earlier, balanced periods left the book.
    long long begin = 0;
    for (const GeneratedEntry& e : entries_)
      if (e.bank == bank && e.status == 7) begin += Signed(e);
    for (int period = 1; period <= kPeriods; ++period) ReconcilePeriod(bank, period, begin);
  }
  // Exactly the expected entries moved.
  for (const GeneratedEntry& e : entries_) {
    ASSERT_EQ(StoredStatus(e.file, e.type, e.seq), e.status)
        << e.file << " " << e.type << " " << e.seq;
  }

  const LONG dates[] = {DateOf(1, 1, 2020), PeriodEnd(1), DateOf(2, 14, 2024),
                        PeriodEnd(3),       PeriodEnd(4), DateOf(5, 15, 2024)};
  for (int bank = 0; bank < kAccounts; ++bank) {
    gDefaultAccount = static_cast<SHORT>(bank);
    LoadBankLists();  // selects the account in the report range
    for (LONG through : dates) {
      SCOPED_TRACE("account " + std::to_string(bank) + " through " + DialogDate(through));
      const std::string expected = Plain(BookSum(bank, through));
      EXPECT_EQ(BookBalanceThrough(bank, through), expected);
      EXPECT_EQ(AmountAfter(LedgerOrBalance(kLedgerReport, through), "ENDING BALANCE"), expected);
      EXPECT_EQ(AmountAfter(LedgerOrBalance(kFileBalanceReport, through), "REPORT TOTAL"),
                expected);
    }
  }
}

}  // namespace
