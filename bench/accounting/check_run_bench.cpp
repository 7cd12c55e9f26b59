/*
** The check run's benchmark: Print Checks on a file of N Ready checks (default 200) through
** the disbursing dialog, CHECKCTL and ACCOUNT in memory (/dev/shm), every check to the PDF
** device. Baseline in the same run: the same N check printouts printed one after another on
** the same printer with no table work at all (no locks, re-reads or writes). The ratio is
** what the run's safety costs over the printing it cannot avoid. Best of three each.
**   check_run_bench [--checks N]
*/
#include "accounting/check_printer.h"
#include "accounting/check_printout.h"
#include "accounting/disburse.h"
#include "catalogue/tabgen32.h"
#include "platform/gdi/gdi_print.h"
#include "platform/kernel/modules.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/scripted_boxes.h"
#include "tableaccess/check_form_settings.h"
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
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char kDataDir[] = "C:\\ZARNE\\DATA";
constexpr const char kCheckDir[] = "C:\\ZARNE\\CHECKS";
constexpr const char kFile[] = "B-1";
constexpr int kRuns = 3;

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ClearPdfs() {
  for (const auto& entry : fs::directory_iterator(GdiPdfOutputDirectory()))
    if (entry.path().extension() == ".pdf") fs::remove(entry.path());
}

size_t PdfCount() {
  size_t n = 0;
  for (const auto& entry : fs::directory_iterator(GdiPdfOutputDirectory()))
    n += entry.path().extension() == ".pdf";
  return n;
}

void OpenTables(int checks) {
  PXInit();
  MakeDirectoryPath(kDataDir);
  MakeDirectoryPath(kCheckDir);
  MakeDirectoryPath("C:\\ZARNE\\PRIVATE");
  PXSetPrivateDir("C:\\ZARNE\\PRIVATE");
  PXOpenDatabase();
  PXSetDirectory(kDataDir);
  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", kDataDir);
  std::snprintf(gCheckCtlDir, sizeof gCheckCtlDir, "%s", kCheckDir);
  for (int i = 0; i < kSharedTableCount; ++i) {
    _CreateZarneTable(gDatabase, kSharedTableNames[i], kDataDir);
    gTables[i] = new TPXTable(kSharedTableNames[i], 0);
  }
  gAccountRecord = new TPXRecord(gTables[kAccountTable], false);
  gBankRecord = new TPXRecord(gTables[kBankTable], false);
  _CreateZarneTable(gDatabase, "CHECKCTL", kCheckDir);
  char path[MAX_PATH];
  BuildPath(path, kCheckDir, "CHECKCTL", nullptr, sizeof path);
  TPXTable table(path, 0);
  TPXRecord control(&table, true);
  control.Clear();
  control.SetDouble(1, 1001);
  MustWrite(control.Insert());
  TPXRecord account(gTables[kAccountTable], true);
  for (int i = 0; i < checks; ++i) {
    account.Clear();
    account.SetString(1, kFile);
    account.SetString(2, "C");
    account.SetDouble(3, i + 1.0);
    account.SetShort(5, 2);
    account.SetShort(6, 0);
    account.SetLong(7, kBlankDate);
    account.SetString(8, ("Payee of check " + std::to_string(i + 1)).c_str());
    account.SetString(9, "Payoff of the first mortgage");
    account.SetDouble(10, 100.0 + i);
    MustWrite(account.Insert());
  }
}

/* Every check of the file back to Ready, outside the timing. */
void ResetChecks() {
  TPXRecord account(gTables[kAccountTable], true);
  for (bool more = account.First(); more; more = account.Next()) {
    account.Read(0);
    account.SetShort(6, 0);
    account.SetDouble(4, 0);
    account.SetLong(7, kBlankDate);
    MustWrite(account.Modify());
  }
}

void UsePdf() {
  gCheckPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  GdiDefaultDevMode("PDF", &mode);
  gCheckPrintData.SetDevMode(&mode);
  gCheckPrintData.Copies = 1;
  const short layout[kCheckFormValueCount] = {
      500,  300,  500,  5300, 6000, 300,  6000, 5300, 3000, 300,  3000, 5300, 6500,
      1200, 6500, 6200, 500,  2600, 4000, 400,  500,  7600, 4000, 400,  500,  600,
      2500, 300,  500,  5600, 2500, 300,  3200, 600,  2500, 300,  3200, 5600, 2500,
      300,  5900, 800,  5900, 5800, 500,  1800, 7000, 300,  500,  6800, 7000, 300,
      7000, 2200, 7000, 7200, 500,  1200, 5000, 300,  500,  6200, 5000, 300};
  std::memcpy(gCheckFormLayout, layout, sizeof layout);
}

/* The baseline: the same checks' printouts, printed on the checks printer, nothing else. */
double PrintOnly(int checks) {
  TCheckPrinter printer;
  std::vector<TDisburseCheckRow> rows(checks);
  for (int i = 0; i < checks; ++i) {
    TLedgerEntry entry;
    CopyLedgerText(entry.FileNum, sizeof entry.FileNum, kFile);
    CopyLedgerText(entry.Type, sizeof entry.Type, "C");
    entry.Number = 1001 + i;
    entry.Status = 2;
    EncodeDate(entry.Date, 3, 14, 2026);
    CopyLedgerText(entry.PayeeDepositor, sizeof entry.PayeeDepositor,
                   ("Payee of check " + std::to_string(i + 1)).c_str());
    CopyLedgerText(entry.Description, sizeof entry.Description, "Payoff of the first mortgage");
    entry.Amount = 100.0 + i;
    RowFromEntry(entry, rows[i]);
  }
  return Seconds([&] {
    for (const TDisburseCheckRow& row : rows) {
      TCheckPrintout printout("Check", &row, "", "");
      printer.Print(nullptr, printout, false);
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int checks = 200;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::strcmp(argv[i], "--checks") == 0) checks = std::atoi(argv[i + 1]);
  const std::string root = "/dev/shm/zarne-check-run-bench-" + std::to_string(getpid());
  fs::remove_all(root);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  EnsureTestApplication();
  HMODULE grid = LoadLibrary("vgrd32.dll");
  if (grid == nullptr) {
    std::fprintf(stderr, "vgrd32 could not be loaded\n");
    return 1;
  }
  OpenTables(checks);
  UsePdf();
  ScriptedMessageBoxes boxes;
  DialogDriver driver;
  CommonDialogAnswers printers;

  double run = 1e9, baseline = 1e9;
  size_t runPdfs = 0;
  {
    TDisburse dialog(nullptr);
    CopyLedgerText(dialog.FileNumber, sizeof dialog.FileNumber, kFile);
    driver.OnDialog(kDisburseTemplate, [&](HWND window) {
      for (int r = 0; r < kRuns; ++r) {
        ResetChecks();
        dialog.FillChecks();
        ClearPdfs();
        driver.OnDialog(20905, [](HWND confirm) { PressButton(confirm, IDOK); });
        printers.ChoosePrinter();
        run = std::min(run, Seconds([&] { PressButton(window, 502); }));
        runPdfs = PdfCount();
        ClearPdfs();
        baseline = std::min(baseline, PrintOnly(checks));
      }
      PressButton(window, IDOK);
    });
    dialog.Execute();
  }
  std::printf("%d Ready checks, one file, PDF device\n", checks);
  std::printf("  check run (Print Checks)       %8.3f s  PDFs %zu\n", run, runPdfs);
  std::printf("  printouts alone (baseline)     %8.3f s\n", baseline);
  std::printf("  ratio run/printouts alone      %8.2f x  (goal: at most 1.3)\n", run / baseline);
  std::fflush(stdout);
  fs::remove_all(root);
  std::_Exit(0);
}
