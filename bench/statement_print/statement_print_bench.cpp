/*
** The statement printout's benchmark. A closing file whose every statement field is filled
** (so page 2 takes the extended layout) printed N times with the signatures on a third page,
** each a document of the PDF device; the baseline in the same run is N documents of the
** same three pages with their backgrounds alone, same mapping, same device, printed in turn
** with the statements. Prints both times and their ratio in processor time (the goal: at
** most 1.5; the machine is shared, and processor time is the steadier figure), and the
** ratio by the clock.
**   statement_print_bench [documents]   (default 20)
*/
#include "catalogue/tabgen32.h"
#include "hudform/hudform_exports.h"
#include "platform/framework/printer.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_print.h"
#include "platform/kernel/modules.h"
#include "platform/testing/gui_test.h"
#include "statement/hud1_printout.h"
#include "statement/respa_window.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/field_list.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

/* Time taken, summed over the documents of one kind. */
struct Took {
  double seconds = 0;    // by the clock
  double processor = 0;  // processor time of the whole process
};

double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void AddTime(Took& took, const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  double processorStart = ProcessorSeconds();
  work();
  took.processor += ProcessorSeconds() - processorStart;
  took.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/* The three pages' backgrounds in the statement's page mapping, nothing else. */
class TBackgroundPrintout : public TPrintout {
 public:
  TBackgroundPrintout() : TPrintout("Backgrounds") {}
  bool HasPage(int page) override { return page >= 1 && page <= 3; }
  void GetDialogInfo(int& minPage, int& maxPage, int& from, int& to) override {
    minPage = 1;
    maxPage = 3;
    from = to = 0;
  }
  void PrintPage(int page, TRect&, unsigned) override {
    HDC dc = DC->GetHDC();
    int mode = SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, PageSize.cx, PageSize.cy, nullptr);
    SetWindowExtEx(dc, kHudPageWidth, page == 2 ? -13630 : -13250, nullptr);
    if (page == 1) PrintHUD1ABkg(dc, TRUE);
    else if (page == 2) PrintHUD1BExtraBkg(dc, TRUE);
    else PrintHUD1CSigBkg(dc);
    SetMapMode(dc, mode);
  }
};

template <class Proc>
Proc Export(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(GetProcAddress(module, name));
}

bool LoadFieldLists() {
  HMODULE respa = LoadLibrary("stmlay32.dll");
  HMODULE other = LoadLibrary("auxlay32.dll");
  if (!respa || !other) return false;
  AppendRespaRecords(&gRespaFieldList, Export<GetFieldCountProc>(respa, "GetRespaFieldCount"),
                     Export<GetRespaFieldProc>(respa, "GetRespaField"));
  AppendOtherRecords(&gOtherFieldList, Export<GetFieldCountProc>(other, "GetOtherFieldCount"),
                     Export<GetOtherFieldProc>(other, "GetOtherField"));
  return true;
}

/* Every statement field gets a value of its kind; the party texts their names. */
void FillEveryField(RespaWindow& view) {
  LONG date = 0;
  EncodeDate(date, 3, 15, 2024);
  int n = 0;
  for (TFieldNode* field = gRespaFieldList.head; field; field = field->next, ++n) {
    TPXRecord* record =
        field->tableIndex < kFileRecordCount ? view.records[field->tableIndex] : nullptr;
    if (!record || field->fieldNumber == 1) continue;
    char text[32];
    switch (field->displayKind) {
      case kFieldKindMoney:
      case kFieldKindDecimal:
      case kFieldKindDecimal2: record->SetDouble(field->fieldNumber, 100.0 + n * 7.25); break;
      case kFieldKindWhole: record->SetLong(field->fieldNumber, 30 + n % 300); break;
      case kFieldKindDate: record->SetLong(field->fieldNumber, date + n % 60); break;
      case kFieldKindChoice: record->SetString(field->fieldNumber, "B"); break;
      default:
        std::snprintf(text, sizeof text, "Text %d", n);
        record->SetString(field->fieldNumber, text);
        break;
    }
  }
}

void UsePdfStatementPrinter() {
  gStatementPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  GdiDefaultDevMode("PDF", &mode);
  gStatementPrintData.SetDevMode(&mode);
  gStatementPrintData.Copies = 1;
}

bool PrintOnce(TPrintout& printout) {
  TPrinter printer;
  printer.GetSetup() = gStatementPrintData;
  return printer.Print(nullptr, printout, false);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int documents = argc > 1 ? std::atoi(argv[1]) : 20;
  std::string root = "/dev/shm/zarne-statement-print-bench-" + std::to_string(getpid());
  fs::remove_all(root);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  EnsureTestApplication();
  if (!LoadFieldLists()) return std::fprintf(stderr, "layout libraries not found\n"), 1;

  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", "C:\\ZARNE");
  MakeDirectoryPath(gDatabaseDir);
  PXInit();
  PXOpenDatabase();
  PXSetDirectory(gDatabaseDir);
  for (int t = 0; t < kSharedTableCount; ++t) {
    _CreateZarneTable(gDatabase, kSharedTableNames[t], gDatabaseDir);
    gTables[t] = new TPXTable(kSharedTableNames[t], 0);
  }
  UsePdfStatementPrinter();

  int pages = 0;
  Took statements, backgrounds;
  {
    RespaWindow view(nullptr);
    std::snprintf(view.fileNumber, sizeof view.fileNumber, "%s", "BENCH-1");
    for (int index = 0; index < kFileRecordCount; ++index)
      if (view.records[index]) view.records[index]->SetString(1, view.fileNumber);
    FillEveryField(view);
    THUDPrintout probe("HUD-1", &view);
    if (!probe.IsExtended()) return std::fprintf(stderr, "the file does not print extended\n"), 1;
    // One of each first, so fonts, shaped texts and the device are warm for both.
    TBackgroundPrintout warm;
    PrintOnce(warm);
    THUDPrintout warmStatement("HUD-1", &view);
    warmStatement.separateSignaturePage = true;
    PrintOnce(warmStatement);
    // A statement and a background document in turn, each timed on its own: the machine is
    // shared, and what else runs then weighs on both kinds alike.
    for (int i = 0; i < documents; ++i) {
      AddTime(statements, [&] {
        THUDPrintout printout("HUD-1", &view);
        printout.separateSignaturePage = true;
        if (PrintOnce(printout)) pages += 3;
      });
      AddTime(backgrounds, [&] {
        TBackgroundPrintout printout;
        PrintOnce(printout);
      });
    }
  }
  std::printf(
      "%d three-page extended statements: %.3f s (%.1f ms a document, %d pages), processor %.3f s\n",
      documents, statements.seconds, 1000 * statements.seconds / documents, pages,
      statements.processor);
  std::printf(
      "%d documents of the backgrounds alone: %.3f s (%.1f ms a document), processor %.3f s\n",
      documents, backgrounds.seconds, 1000 * backgrounds.seconds / documents,
      backgrounds.processor);
  std::printf("statements against backgrounds: ratio %.2f in processor time (goal: at most 1.5)\n",
              statements.processor / backgrounds.processor);
  std::printf("statements against backgrounds by the clock: ratio %.2f\n",
              statements.seconds / backgrounds.seconds);
  for (TPXTable*& table : gTables) {
    delete table;
    table = nullptr;
  }
  PXExit();
  fs::remove_all(root);
  return 0;
}
