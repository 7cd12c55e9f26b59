/*
** Another workstation printing checks, for the check tests: a program of its own on the
** database and check-control directories its zarne.ini names ([System] DirDatabase and
** DirCheckCtl, default C:\ZARNE\DATA and C:\ZARNE\CHECKS below its own ZARNE_ROOT), so two
** of them with different roots share one host directory as two offices' stations would.
**
**   check_station run <file> [barrier] [kill-at N] [slow-sync MS]   opens the disbursing
**       dialog on the file and presses Print Checks, confirming the number and date it
**       proposes and the print dialog; a run refused because CHECKCTL is busy is tried again
**       until it runs. With "barrier" it prints "ready" and waits for a line on its standard
**       input before the first try. "kill-at N" ends it with SIGKILL at the N-th change to
**       disk of the run; "slow-sync MS" makes every sync that much slower. Ends by printing
**       "refused <n>" (runs refused before it ran) and "writes <n>" (the run's changes).
**   check_station hold-checkctl          locks CHECKCTL's record, prints "held" and keeps the
**       lock until its standard input closes.
**
** Checks print on the PDF device into the station's own private directory, with the file
** number and the check number placed on the form so each PDF names its check.
*/
#include "accounting/disburse.h"
#include "platform/gdi/gdi_print.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/profile.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/scripted_boxes.h"
#include "platform/engine/engine_test_hooks.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr char kBusyText[] = "Checks are being printed at another workstation.";

void Pause(long milliseconds) {
  struct timespec pause {
    milliseconds / 1000, (milliseconds % 1000) * 1000000L
  };
  nanosleep(&pause, nullptr);
}

void ReadDirectories() {
  GetPrivateProfileString("System", "DirDatabase", "C:\\ZARNE\\DATA", gDatabaseDir,
                          sizeof gDatabaseDir, "zarne.ini");
  GetPrivateProfileString("System", "DirCheckCtl", "C:\\ZARNE\\CHECKS", gCheckCtlDir,
                          sizeof gCheckCtlDir, "zarne.ini");
}

bool OpenTables() {
  PXInit();
  MakeDirectoryPath("C:\\ZARNE\\PRIVATE");
  PXSetPrivateDir("C:\\ZARNE\\PRIVATE");
  PXOpenDatabase();
  PXSetDirectory(gDatabaseDir);
  for (int i = 0; i < kSharedTableCount; ++i) {
    char path[MAX_PATH];
    BuildPath(path, gDatabaseDir, kSharedTableNames[i], nullptr, sizeof path);
    gTables[i] = new TPXTable(path, 0);
    if (!gTables[i]->IsOpen()) return false;
  }
  gAccountRecord = new TPXRecord(gTables[kAccountTable], false);
  gBankRecord = new TPXRecord(gTables[kBankTable], false);
  return true;
}

void UsePdfChecks() {
  gCheckPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  GdiDefaultDevMode("PDF", &mode);
  gCheckPrintData.SetDevMode(&mode);
  gCheckPrintData.Copies = 1;
  for (short& value : gCheckFormLayout) value = kCheckFormUnset;
  const short placed[] = {500, 500, -1, -1, -1, -1, -1, -1, 3000, 500, -1, -1};
  std::memcpy(gCheckFormLayout, placed, sizeof placed);
}

int RunChecks(const char* file, bool barrier, long killAt) {
  ScriptedMessageBoxes boxes;
  bool busy = false;
  boxes.OnShow([&](const MessageBoxRequest& box) {
    if (box.text == kBusyText) busy = true;
  });
  DialogDriver driver;
  CommonDialogAnswers printers;
  if (barrier) {
    std::puts("ready");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin)) return 1;
  }
  int refused = 0;
  size_t printersChosen = 0;
  TDisburse dialog(nullptr);
  CopyLedgerText(dialog.FileNumber, sizeof dialog.FileNumber, file);
  driver.OnDialog(kDisburseTemplate, [&](HWND hwnd) {
    for (;;) {
      if (driver.Pending() == 0)
        driver.OnDialog(20905, [](HWND confirm) { PressButton(confirm, IDOK); });
      if (printers.PrintRequests().size() == printersChosen) {
        printers.ChoosePrinter();
        ++printersChosen;
      }
      busy = false;
      PressButton(hwnd, 502);
      if (!busy) break;
      ++refused;
      Pause(20);
    }
    PressButton(hwnd, IDOK);
  });
  const long writesBefore = EngineTestWriteCount();
  EngineTestKillAtWrite(killAt);
  dialog.Execute();
  std::printf("refused %d\nwrites %ld\n", refused, EngineTestWriteCount() - writesBefore);
  return 0;
}

int HoldCheckCtl() {
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
  TPXTable table(path, 0);
  TPXRecord record(&table, true);
  if (!table.IsOpen() || !record.First() || !record.Lock()) {
    std::puts("failed");
    return 1;
  }
  std::puts("held");
  std::fflush(stdout);
  char line[64];
  while (std::fgets(line, sizeof line, stdin)) {}
  record.Unlock();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  EnsureTestApplication();
  ReadDirectories();
  const std::string command = argv[1];
  if (command == "hold-checkctl") {
    PXInit();
    PXSetPrivateDir("C:\\ZARNE\\PRIVATE");
    PXOpenDatabase();
    return HoldCheckCtl();
  }
  if (command != "run" || argc < 3) return 2;
  HMODULE grid = LoadLibrary("vgrd32.dll");
  if (grid == nullptr || !OpenTables()) {
    std::puts("failed");
    return 1;
  }
  UsePdfChecks();
  bool barrier = false;
  long killAt = 0;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "barrier") == 0) barrier = true;
    else if (std::strcmp(argv[i], "kill-at") == 0 && i + 1 < argc) killAt = std::atol(argv[++i]);
    else if (std::strcmp(argv[i], "slow-sync") == 0 && i + 1 < argc)
      EngineTestSlowSyncs(std::atoi(argv[++i]));
  }
  const int result = RunChecks(argv[2], barrier, killAt);
  std::fflush(stdout);
  // Ends without the orderly shutdown: the tables close with the process.
  std::_Exit(result);
}
