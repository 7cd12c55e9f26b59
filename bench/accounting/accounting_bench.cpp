/*
** The accounting reports' benchmark. A ledger of N entries over N/10 closing files and three
** accounts, with BUYER and SELLER records, in memory (/dev/shm); each report printed to PDF:
** the check register (All), the ledger (All and the last month), the file balance report
** (one account through the last date, and All Items on all accounts), the disbursement
** report and the check request of a file of 2,000 entries. Baselines in the same run: the
** walk of the entries the report reads, in its index order, through the table wrapper's
** cursor calls, decoding the fields it uses (plus a BUYER and a SELLER lookup per file for
** the file balance report), nothing drawn; and a bare printout drawing as many rows of the
** same texts to PDF; and the report's own walk, its rows loaded page batch by page batch
** with nothing drawn.
** First, the printing cost per page alone: 500 pages of those bare rows to PDF (goal 0.5 s);
** last, the file balance report on all accounts over 200,000 files of two entries each (goal
** 10 s). Every printed figure is the median of three printouts.
**   accounting_bench [--entries N ...] [--bare-only] [--balance-files F]
**   (defaults: 50000 200000 entries, 200000 files; F 0 leaves that figure out)
*/
#include "bench/accounting/bench_tables.h"
#include "accounting/account_item.h"
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/check_register.h"
#include "accounting/check_request.h"
#include "accounting/disbursement_report.h"
#include "accounting/file_balance_report.h"
#include "accounting/ledger_report.h"
#include "accounting/report_drawing.h"
#include "catalogue/tabgen32.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_print.h"
#include "platform/testing/gui_test.h"
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
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBigFileEntries = 2000;
const char kBigFile[] = "BIG-FILE";

std::string FileNumber(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "F%06d", n);
  return text;
}

LONG FirstDay() {
  LONG date = 0;
  EncodeDate(date, 1, 1, 2024);
  return date;
}

/* The ledger: entry i lies on file i % files, one day per 100 entries from 1/1/2024. */
void OpenAndFill(int entries) {
  OpenBenchTables();
  const int files = entries / 10;
  for (int t = 0; t < 2; ++t) {
    TPXRecord party(gTables[t], true);
    for (int f = 0; f < files; ++f) {
      party.Clear();
      party.SetString(1, FileNumber(f).c_str());
      const std::string name = (t == 0 ? "Buyer of " : "Seller of ") + FileNumber(f);
      party.SetString(2, name.c_str());
      MustWrite(party.Insert());
    }
  }
  TPXRecord account(gTables[kAccountTable], true);
  auto put = [&](const std::string& file, int i, char type, SHORT status, SHORT bank) {
    const char typeText[2] = {type, '\0'};
    account.Clear();
    account.SetString(1, file.c_str());
    account.SetString(2, typeText);
    account.SetDouble(3, i + 1.0);
    account.SetDouble(4, type == 'C' ? 1000.0 + i : 0.0);
    account.SetShort(5, bank);
    account.SetShort(6, status);
    account.SetLong(7, FirstDay() + i / 100);
    account.SetString(8, "Payee or depositor of the entry");
    account.SetString(9, "Description of the entry");
    account.SetDouble(10, (i % 100000) / 100.0 + 1);
    MustWrite(account.Insert());
  };
  const SHORT checkStatuses[] = {0, 1, 2, 4, 6, 7};
  const SHORT depositStatuses[] = {3, 5, 6, 7};
  // Kind, status and bank mixed by a multiplicative hash, so that they do not move together.
  auto mix = [](int i) { return static_cast<unsigned>(i) * 2654435761u >> 8; };
  for (int i = 0; i < entries; ++i) {
    unsigned h = mix(i);
    bool check = h % 5 < 3;
    put(FileNumber(i % files), i, check ? 'C' : 'D',
        check ? checkStatuses[h / 5 % 6] : depositStatuses[h / 5 % 4],
        static_cast<SHORT>(h / 30 % 3));
  }
  for (int i = 0; i < kBigFileEntries; ++i) {
    unsigned h = mix(i);
    put(kBigFile, entries + i, h % 2 ? 'C' : 'D',
        h % 2 ? checkStatuses[h / 2 % 6] : depositStatuses[h / 2 % 4], 0);
  }
}

/* Walks ACCOUNT in an index's order from the first record while `more` says so, decoding
   the fields a report reads; answers how many rows `listed` admits. */
unsigned Walk(int orderField, const std::function<bool(const TAccountItem&)>& more,
              const std::function<bool(const TAccountItem&)>& listed, bool lookUpParties = false) {
  SHORT index = orderField ? gTables[kAccountTable]->IndexForField(orderField) : 0;
  TPXTable table(gTables[kAccountTable]->Name(), index);
  TPXRecord record(&table, false);
  TPXRecord buyer(gTables[kBuyerTable], true), seller(gTables[kSellerTable], true);
  unsigned rows = 0;
  char lastFile[16] = "";
  for (bool ok = record.First(); ok; ok = record.Next()) {
    TAccountItem item;
    if (!record.Read(0) || !ReadAccountItem(record, item) || !more(item)) break;
    if (listed(item)) ++rows;
    if (lookUpParties && std::strcmp(lastFile, item.FileNum) != 0) {
      std::snprintf(lastFile, sizeof lastFile, "%s", item.FileNum);
      char name[61];
      for (TPXRecord* party : {&buyer, &seller}) {
        party->Clear();
        party->SetString(1, item.FileNum);
        if (party->Seek(0, ENGINE_KEY_EQ) && party->Read(0)) party->GetString(2, name, sizeof name);
      }
    }
  }
  return rows;
}

/* A report whose rows are loaded page batch by page batch as its printout loads them, with
   nothing drawn: what the report's own walk costs. */
template <class TReport>
class TWalkAlone : public TReport {
 public:
  using TReport::TReport;
  unsigned WalkAll() {
    this->Rewind();
    this->Done = false;
    this->Consumed = 0;
    unsigned rows = 0;
    for (int page = 1;; ++page) {
      this->CurrentPage = page;
      this->LoadItems();
      rows += this->ItemCount;
      this->Consumed = this->ItemCount;
      if (this->Done) return rows;
    }
  }
};

/* The median of three walks of a fresh report's own walk. */
template <class TReport, class... TArgs>
double MedianOwnWalk(TArgs... args) {
  std::vector<double> times;
  for (int run = 0; run < 3; ++run) {
    TWalkAlone<TReport> report(args...);
    times.push_back(Seconds([&] { report.WalkAll(); }));
  }
  std::sort(times.begin(), times.end());
  return times[1];
}

/* As many rows of report-like texts as a report prints, one line apart, 50 to a page. */
class TBarePrintout : public TPrintout {
 public:
  explicit TBarePrintout(unsigned rows) : TPrintout("Bare"), rows_(rows) {}
  bool HasPage(int page) override { return (page - 1) * kPerPage < rows_ || page == 1; }
  void PrintPage(int page, TRect&, unsigned) override {
    TDC& dc = *DC;
    int saved = dc.SaveDC();
    dc.SetMapMode(MM_LOENGLISH);
    TReportFont font(dc, "Arial", -13, FW_NORMAL);
    char amount[64];
    for (unsigned r = (page - 1) * kPerPage; r < rows_ && r < page * kPerPage; ++r) {
      int y = -250 - int(r % kPerPage) * font.LineHeight();
      DrawTextAt(dc, 120, y, TA_RIGHT, "1234");
      DrawTextAt(dc, 130, y, TA_LEFT, "01/05/2024");
      DrawTextAt(dc, 190, y, TA_LEFT, "F000123");
      DrawTextAt(dc, 315, y, TA_LEFT, "Printed");
      DrawCellText(dc, 395, 680, y, font.LineHeight(), "Payee or depositor of the entry");
      FormatReportAmount(amount, sizeof amount, 1234.56 + r);
      DrawTextAt(dc, 795, y, TA_RIGHT, amount);
    }
    dc.RestoreDC(saved);
  }

 private:
  static constexpr unsigned kPerPage = 50;
  unsigned rows_;
};

int PdfPageCount() {
  int pages = 0;
  fs::path dir = GdiPdfOutputDirectory();
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".pdf") continue;
    std::string command = "pdfinfo '" + entry.path().string() + "' 2>/dev/null | grep '^Pages:'";
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char line[128] = "";
      if (fgets(line, sizeof line, pipe)) pages += std::atoi(line + 6);
      pclose(pipe);
    }
    fs::remove(entry.path());
  }
  return pages;
}

void ResetRange() {
  gReportRangeXfer.RangeAll = 1;
  gReportRangeXfer.RangeDate = gReportRangeXfer.RangeFile = gReportRangeXfer.RangeNumber = 0;
  gReportRangeXfer.UseAccount = 1;
  gReportRangeXfer.DateFrom = gReportRangeXfer.DateTo = kBlankDate;
  gReportRangeXfer.Accounts.Select(0);
}

/* Prints a report three times (a fresh printout each time) and answers the median time. */
double MedianPrint(const std::function<std::unique_ptr<TPrintout>()>& make, int* pages) {
  std::vector<double> times;
  for (int run = 0; run < 3; ++run) {
    PdfPageCount();  // clear earlier output
    std::unique_ptr<TPrintout> printout = make();
    times.push_back(Seconds([&] { PrintOnReportPrinter(nullptr, *printout); }));
    *pages = PdfPageCount();
  }
  std::sort(times.begin(), times.end());
  return times[1];
}

/* ownWalk: the report's own walk with nothing drawn (negative: not measured). */
void Report(const char* name, const std::function<std::unique_ptr<TPrintout>()>& make, double walk,
            unsigned rows, double ownWalk = -1) {
  int pages = 0;
  double print = MedianPrint(make, &pages);
  TBarePrintout bare(rows);
  double drawing = Seconds([&] { PrintOnReportPrinter(nullptr, bare); });
  PdfPageCount();
  char own[48] = "";
  if (ownWalk >= 0) std::snprintf(own, sizeof own, "  its own walk %.3f s", ownWalk);
  std::printf(
      "  %-34s %8.3f s  %6d pages %8.1f pages/s  rows %7u  ratio to walk %6.2f  ratio to walk+bare %5.2f%s  walk %.3f s  bare %.3f s  peak %ld kB\n",
      name, print, pages, pages / print, rows, print / walk, print / (walk + drawing), own, walk,
      drawing, PeakMemoryKb());
}

/* 500 pages of plain report rows to PDF, median of three: what printing costs by itself. */
void BarePages() {
  BenchRoot root("accounting-bench-bare");
  gReportPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  GdiDefaultDevMode("PDF", &mode);
  gReportPrintData.SetDevMode(&mode);
  gReportPrintData.Copies = 1;
  std::vector<double> times;
  int pages = 0;
  for (int run = 0; run < 3; ++run) {
    TBarePrintout bare(500 * 50);
    times.push_back(Seconds([&] { PrintOnReportPrinter(nullptr, bare); }));
    pages = PdfPageCount();
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "bare printout, %d pages of 50 rows: median %.3f s (%.3f ms a page; min %.3f s)  goal 0.5 s\n",
      pages, times[1], times[1] * 1000 / std::max(pages, 1), times[0]);
}

void RunAt(int entries) {
  BenchRoot root("accounting-bench-" + std::to_string(entries));
  double fill = Seconds([&] { OpenAndFill(entries); });
  std::printf("%d entries, %d files, 3 accounts (filled in %.1f s)\n", entries, entries / 10, fill);
  gReportPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  GdiDefaultDevMode("PDF", &mode);
  gReportPrintData.SetDevMode(&mode);
  gReportPrintData.Copies = 1;
  const LONG lastDay = FirstDay() + (entries + kBigFileEntries) / 100;
  auto always = [](const TAccountItem&) { return true; };
  auto registerRow = [](const TAccountItem& i) {
    return i.Type[0] == 'C' && i.Bank == 0 && i.Status >= 2;
  };
  auto counted = [](const TAccountItem& i) { return CountsInBalance(i.Status) && i.Bank == 0; };
  unsigned rows = 0;
  double walk = 0;

  ResetRange();
  walk = Seconds([&] { rows = Walk(0, always, registerRow); });
  Report(
      "register, All", [] { return std::make_unique<TCheckRegister>("Check Register"); }, walk,
      rows, MedianOwnWalk<TCheckRegister>("Check Register"));

  walk = Seconds([&] { rows = Walk(kAcctDate, always, counted); });
  Report(
      "ledger, All", [] { return std::make_unique<TLedgerReport>("Ledger Report"); }, walk, rows,
      MedianOwnWalk<TLedgerReport>("Ledger Report"));

  gReportRangeXfer.RangeAll = 0;
  gReportRangeXfer.RangeDate = 1;
  gReportRangeXfer.DateFrom = lastDay - 30;
  gReportRangeXfer.DateTo = lastDay;
  walk = Seconds([&] {
    rows = Walk(
        kAcctDate, [&](const TAccountItem& i) { return i.Date <= lastDay; },
        [&](const TAccountItem& i) { return counted(i) && i.Date >= lastDay - 30; });
  });
  Report(
      "ledger, last month", [] { return std::make_unique<TLedgerReport>("Ledger Report"); }, walk,
      rows, MedianOwnWalk<TLedgerReport>("Ledger Report"));

  gReportRangeXfer.DateFrom = kBlankDate;
  walk = Seconds([&] { rows = Walk(0, always, counted, true) / 8; });  // about one row per file
  rows = entries / 10;
  Report(
      "file balance, account 0 through",
      [] { return std::make_unique<TFileBalanceReport>("File Balance Report", false); }, walk, rows,
      MedianOwnWalk<TFileBalanceReport>("File Balance Report", false));
  ResetRange();
  gReportRangeXfer.UseAccount = 0;
  walk = Seconds([&] { Walk(0, always, always, true); });
  Report(
      "file balance, All Items, all",
      [] { return std::make_unique<TFileBalanceReport>("File Balance Report", false); }, walk, rows,
      MedianOwnWalk<TFileBalanceReport>("File Balance Report", false));

  auto bigFile = [](const TAccountItem& i) { return std::strcmp(i.FileNum, kBigFile) == 0; };
  walk = Seconds([&] {
    TPXRecord record(gTables[kAccountTable], true);
    rows = 0;
    for (const char* type : {"D", "C"})
      WalkFileEntries(record, kBigFile, type, [&](TPXRecord& r) {
        TAccountItem item;
        ReadAccountItem(r, item);
        rows += bigFile(item);
      });
  });
  Report(
      "disbursement report, 2,000",
      [] { return std::make_unique<TDisburseReport>("Disbursement Report", kBigFile); }, walk,
      rows);
  Report(
      "check request, 2,000",
      [] { return std::make_unique<TCheckRequest>("Check Request", kBigFile); }, walk, rows / 12);
  CloseBenchTables();
}

/* The file balance report on all accounts over `files` closing files of two counted entries
   each (a posted deposit and a printed check on accounts that differ every third file), with
   their BUYER and SELLER records: what a large office's year-end listing costs. */
void FileBalanceAt(int files) {
  BenchRoot root("accounting-bench-files-" + std::to_string(files));
  OpenBenchTables();
  double fill = Seconds([&] {
    TPXRecord buyer(gTables[kBuyerTable], true), seller(gTables[kSellerTable], true),
        account(gTables[kAccountTable], true);
    for (int f = 0; f < files; ++f) {
      const std::string file = FileNumber(f);
      for (TPXRecord* party : {&buyer, &seller}) {
        party->Clear();
        party->SetString(1, file.c_str());
        party->SetString(
            2, (std::string(party == &buyer ? "Buyer of " : "Seller of ") + file).c_str());
        MustWrite(party->Insert());
      }
      for (int e = 0; e < 2; ++e) {
        account.Clear();
        account.SetString(1, file.c_str());
        account.SetString(2, e ? "C" : "D");
        account.SetDouble(3, f * 2.0 + e + 1);
        account.SetShort(5, static_cast<SHORT>(e && f % 3 == 0 ? 1 : 0));
        account.SetShort(6, e ? 2 : 5);
        account.SetLong(7, FirstDay() + f % 700);
        account.SetString(8, "Payee or depositor of the entry");
        account.SetDouble(10, e ? 250.0 + f % 1000 : 1000.0 + f % 5000);
        MustWrite(account.Insert());
      }
    }
  });
  gReportPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  GdiDefaultDevMode("PDF", &mode);
  gReportPrintData.SetDevMode(&mode);
  gReportPrintData.Copies = 1;
  ResetRange();
  gReportRangeXfer.UseAccount = 0;
  double walk = Seconds([&] {
    Walk(
        0, [](const TAccountItem&) { return true; }, [](const TAccountItem&) { return true; },
        true);
  });
  int pages = 0;
  double print = MedianPrint(
      [] { return std::make_unique<TFileBalanceReport>("File Balance Report", false); }, &pages);
  double ownWalk = MedianOwnWalk<TFileBalanceReport>("File Balance Report", false);
  std::printf(
      "file balance, all accounts, %d files (filled in %.1f s): median %.3f s  %d pages  its own walk %.3f s  walk with lookups %.3f s  ratio to walk %.2f  goal 10 s\n",
      files, fill, print, pages, ownWalk, walk, print / walk);
  CloseBenchTables();
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::vector<int> sizes;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::strcmp(argv[i], "--entries") == 0) sizes.push_back(std::atoi(argv[i + 1]));
  bool bareOnly = false;
  int balanceFiles = 200000;
  for (int i = 1; i < argc; ++i) {
    bareOnly = bareOnly || std::strcmp(argv[i], "--bare-only") == 0;
    if (std::strcmp(argv[i], "--balance-files") == 0 && i + 1 < argc)
      balanceFiles = std::atoi(argv[i + 1]);
  }
  if (sizes.empty()) sizes = {50000, 200000};
  EnsureTestApplication();
  BarePages();
  if (bareOnly) return 0;
  for (int entries : sizes) RunAt(entries);
  if (balanceFiles > 0) FileBalanceAt(balanceFiles);
  return 0;
}
