/*
** The reconciliation's benchmark over a ledger of 200,000 ACCOUNT entries (and 50,000), 20,000
** files, 3 accounts, most entries Balanced in the earlier periods and a current period of a
** few thousand open items per account, in memory (/dev/shm):
**   (a) the reconciliation report of account 0: its six queries and every page to PDF;
**       baseline, in the same run: a raw walk of the same entries in date order through the
**       engine's cursor calls, decoding the fields the queries use, nothing drawn;
**   (b) the period close of account 0; baseline: that walk plus engine lock, modify and
**       unlock of the same Reconciled entries.
** Each size runs in a child process of its own, so that its peak memory is its own.
**   reconcile_bench [--entries N]   (default: 50000, then 200000)
*/
#include "bench/accounting/bench_tables.h"
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/ledger_cents.h"
#include "accounting/reconcile.h"
#include "accounting/reconcile_report.h"
#include "accounting/report_drawing.h"
#include "catalogue/tabgen32.h"
#include "platform/gdi/gdi_print.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/other_programs.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"
#include "bench/bench_write.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kAccounts = 3;
constexpr int kOpenPerAccount = 3000;  // the current period's items of each account
constexpr int kRuns = 3;

LONG Day(int month, int day, int year) {
  LONG date = 0;
  EncodeDate(date, month, day, year);
  return date;
}

/* Fills the ledger; answers the signed cents of account 0's Reconciled entries. */
int64_t OpenAndFill(int entries) {
  OpenBenchTables();
  const int files = entries / 10;
  const int open = std::min(entries / 2, kOpenPerAccount * kAccounts);
  const LONG first = Day(1, 1, 2020);
  int64_t reconciled = 0;
  TPXRecord account(gTables[kAccountTable], true);
  const char* const kinds[3] = {"C", "D", "B"};
  for (int i = 0; i < entries; ++i) {
    const unsigned h = static_cast<unsigned>(i) * 2654435761u >> 8;
    char file[16];
    std::snprintf(file, sizeof file, "F%05d", static_cast<int>(h % files));
    const bool current = i >= entries - open;
    const char* type = kinds[h / 7 % 3];
    const SHORT bank = static_cast<SHORT>(h / 31 % kAccounts);
    // The earlier periods' entries are Balanced; the current period's are waiting to clear,
    // cleared, or outstanding.
    SHORT status = 7;
    LONG date = first + (i % 1400);
    if (current) {
      const int kind = static_cast<int>(h / 101 % 3);
      status = type[0] == 'B' ? 6 : kind == 0 ? 6 : type[0] == 'C' ? 2 : 5;
      date = Day(1, 1 + static_cast<int>(h / 11 % 31), 2024);
    }
    const double amount = static_cast<double>(1 + h % 500000) / 100.0;
    if (current && bank == 0 && status == 6)
      reconciled += type[0] == 'C' ? -AmountCents(amount) : AmountCents(amount);
    account.Clear();
    account.SetString(1, type[0] == 'B' ? "0" : file);
    account.SetString(2, type);
    account.SetDouble(3, i + 1.0);
    account.SetDouble(4, type[0] == 'C' ? 1000.0 + i : 0.0);
    account.SetShort(5, bank);
    account.SetShort(6, status);
    account.SetLong(7, date);
    account.SetString(8, "Payee or depositor of the entry");
    account.SetString(9, "");
    account.SetDouble(10, amount);
    MustWrite(account.Insert());
  }
  return reconciled;
}

int PdfPageCount() {
  int pages = 0;
  fs::path dir = GdiPdfOutputDirectory();
  if (!fs::exists(dir)) return 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".pdf") continue;
    for (const std::string& line : ProgramLines(CommandLine("pdfinfo", {entry.path().string()})))
      if (line.rfind("Pages:", 0) == 0) pages += std::atoi(line.c_str() + 6);
    fs::remove(entry.path());
  }
  return pages;
}

/* The raw walk of ACCOUNT in date order up to the close date: every field the report's
   queries read. With `balance` each Reconciled entry of account 0 is locked, set to status
   `to` and unlocked, as the close does. Answers the rows account 0 has in the walk. */
unsigned RawWalk(LONG closeDate, bool balance, SHORT to) {
  const WORD index = static_cast<WORD>(gTables[kAccountTable]->IndexForField(7));
  EngineCursor cursor = nullptr;
  if (EngineOpenTable(gDatabase, "ACCOUNT", "PARADOX", nullptr, nullptr, index, 0, 0, 2, 0, nullptr,
                      &cursor))
    return 0;
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<char> record(props.recordSize);
  unsigned rows = 0;
  EngineSetToBegin(cursor);
  while (EngineGetNextRecord(cursor, 0, record.data(), nullptr) == 0) {
    char type[2] = "", payee[61] = "";
    SHORT bank = -1, status = -1;
    double number = 0, amount = 0;
    DWORD date = 0;
    DWORD blank = 0;
    EngineGetField(cursor, 7, record.data(), &date, &blank);
    if (!blank && static_cast<LONG>(date) > closeDate) break;
    EngineGetField(cursor, 2, record.data(), type, nullptr);
    EngineGetField(cursor, 4, record.data(), &number, nullptr);
    EngineGetField(cursor, 5, record.data(), &bank, nullptr);
    EngineGetField(cursor, 6, record.data(), &status, nullptr);
    EngineGetField(cursor, 8, record.data(), payee, nullptr);
    EngineGetField(cursor, 10, record.data(), &amount, nullptr);
    if (bank != 0) continue;
    ++rows;
    if (!balance || status != (to == 7 ? 6 : 7) || date < static_cast<DWORD>(Day(1, 1, 2024)))
      continue;
    if (EngineGetRecord(cursor, ENGINE_WRITE_LOCK, record.data(), nullptr) != 0) continue;
    EnginePutField(cursor, 6, record.data(), &to);
    MustWrite(EngineModifyRecord(cursor, record.data(), TRUE) == ENGINE_OK);
  }
  EngineCloseCursor(&cursor);
  return rows;
}

void RunAt(int entries) {
  BenchRoot root("reconcile-bench");
  int64_t reconciled = 0;
  const double fill = Seconds([&] { reconciled = OpenAndFill(entries); });
  std::printf(
      "%d entries, %d files, %d accounts, %d current items per account (filled in %.1f s)\n",
      entries, entries / 10, kAccounts,
      std::min(entries / 2, kOpenPerAccount * kAccounts) / kAccounts, fill);
  gReportPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  GdiDefaultDevMode("PDF", &mode);
  gReportPrintData.SetDevMode(&mode);
  gReportPrintData.Copies = 1;
  const LONG closeDate = Day(1, 31, 2024);
  gReconcileXfer.Accounts.Select(0);
  gReconcileXfer.CloseDate = closeDate;
  gReconcileXfer.BeginBalance = 0;
  gReconcileXfer.EndBalance = CentsAmount(reconciled);

  unsigned walkRows = 0;
  double walk = 1e9, report = 1e9, queries = 1e9;
  int pages = 0;
  bool inBalance = false;
  for (int run = 0; run < kRuns; ++run) {
    walk = std::min(walk, Seconds([&] { walkRows = RawWalk(closeDate, false, 0); }));
    PdfPageCount();
    double made = 0;
    report = std::min(
        report, Seconds([&] {
          TReconcileReport* printout = nullptr;
          made = Seconds([&] { printout = new TReconcileReport("Reconciliation Report"); });
          PrintOnReportPrinter(nullptr, *printout);
          inBalance = printout->BankInBalance;
          delete printout;
        }));
    queries = std::min(queries, made);
    pages = PdfPageCount();
  }
  std::printf(
      "  (a) reconciliation report        %8.3f s  %5d pages %7.1f pages/s  (queries %.3f s)  bank side in balance %s  peak %ld kB\n",
      report, pages, pages / report, queries, inBalance ? "yes" : "no", PeakMemoryKb());
  std::printf("      raw date-order walk (baseline) %6.3f s  rows %u\n", walk, walkRows);
  std::printf("      ratio report/walk             %8.2f x  (goal: at most 3)\n", report / walk);

  double close = 1e9, lockWalk = 1e9;
  bool closed = false;
  for (int run = 0; run < kRuns; ++run) {
    lockWalk = std::min(lockWalk, Seconds([&] { RawWalk(closeDate, true, 7); }));
    RawWalk(closeDate, true, 6);  // back to Reconciled, untimed
    TReconcile dialog(nullptr);
    close = std::min(close, Seconds([&] { closed = dialog.ClosePeriod(); }));
    RawWalk(closeDate, true, 6);
  }
  std::printf("  (b) period close                 %8.3f s  closed %s  peak %ld kB\n", close,
              closed ? "yes" : "no", PeakMemoryKb());
  std::printf("      walk + lock/modify/unlock (baseline) %6.3f s\n", lockWalk);
  std::printf("      ratio close/baseline          %8.2f x  (goal: at most 1.5)\n",
              close / lockWalk);
  CloseBenchTables();
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::vector<int> sizes = {50000, 200000};
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::strcmp(argv[i], "--entries") == 0) sizes = {std::atoi(argv[i + 1])};
  for (int entries : sizes) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
      EnsureTestApplication();
      RunAt(entries);
      std::fflush(stdout);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
  }
  return 0;
}
