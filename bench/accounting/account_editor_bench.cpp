/*
** The account editor's benchmark: its fill in All mode over a ledger of 100,000 ACCOUNT
** entries (20 accounts, checks, deposits and adjustments mixed), in memory (/dev/shm), the
** grid of the real dialog receiving the rows. Baseline in the same run: a raw engine walk
** over the same table in primary order (EngineSetToBegin, EngineGetNextRecord, the type and
** bank of every record, the row's other fields for the entries the fill lists), nothing
** shown. Prints both times, best of five, and the ratio.
**   account_editor_bench [--entries N]   (default 100000)
*/
#include "bench/accounting/bench_tables.h"
#include "accounting/account_editor.h"
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "catalogue/tabgen32.h"
#include "grid/tessel_codes.h"
#include "platform/kernel/modules.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"
#include "tableaccess/engine_session.h"
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

constexpr int kRuns = 5;
constexpr SHORT kListedBank = 7;

double Best(const std::function<void()>& work) {
  double best = 1e9;
  for (int run = 0; run < kRuns; ++run) best = std::min(best, Seconds(work));
  return best;
}

void OpenAndFill(int entries) {
  gDefaultAccount = kListedBank;
  OpenBenchTables();
  TPXRecord account(gTables[kAccountTable], true);
  const char* const kinds[3] = {"C", "D", "B"};
  for (int i = 0; i < entries; ++i) {
    // Kind and bank by a multiplicative hash, so that neither follows the file order.
    const unsigned h = static_cast<unsigned>(i) * 2654435761u >> 8;
    char file[16];
    std::snprintf(file, sizeof file, "F%05d", i % (entries / 20 + 1));
    account.Clear();
    account.SetString(1, file);
    account.SetString(2, kinds[h % 3]);
    account.SetDouble(3, i + 1.0);
    account.SetDouble(4, 1000.0 + i);
    account.SetShort(5, static_cast<SHORT>(h / 3 % 20));
    account.SetShort(6, static_cast<SHORT>(h / 60 % 8));
    account.SetLong(7, 738000 + i / 100);
    account.SetString(8, "Payee or depositor of the entry");
    account.SetString(9, "Description of the entry");
    account.SetDouble(10, (i % 100000) / 100.0 + 1);
    MustWrite(account.Insert());
  }
}

/* The raw walk: every record's type and bank, the listed rows' other fields; answers the
   rows it would list. */
unsigned RawWalk() {
  EngineCursor cursor = nullptr;
  if (EngineOpenTable(gDatabase, "ACCOUNT", "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr,
                      &cursor))
    return 0;
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<char> record(props.recordSize);
  unsigned rows = 0;
  EngineSetToBegin(cursor);
  while (EngineGetNextRecord(cursor, 0, record.data(), nullptr) == 0) {
    char type[2] = "";
    SHORT bank = -1;
    EngineGetField(cursor, 2, record.data(), type, nullptr);
    EngineGetField(cursor, 5, record.data(), &bank, nullptr);
    if (type[0] != 'C' || bank != kListedBank) continue;
    char file[16], payee[61], description[61];
    double seq = 0, number = 0, amount = 0;
    SHORT status = 0;
    DWORD date = 0;
    EngineGetField(cursor, 1, record.data(), file, nullptr);
    EngineGetField(cursor, 3, record.data(), &seq, nullptr);
    EngineGetField(cursor, 4, record.data(), &number, nullptr);
    EngineGetField(cursor, 6, record.data(), &status, nullptr);
    EngineGetField(cursor, 7, record.data(), &date, nullptr);
    EngineGetField(cursor, 8, record.data(), payee, nullptr);
    EngineGetField(cursor, 9, record.data(), description, nullptr);
    EngineGetField(cursor, 10, record.data(), &amount, nullptr);
    ++rows;
  }
  EngineCloseCursor(&cursor);
  return rows;
}

void RunAt(int entries) {
  BenchRoot root("account-editor-bench");
  double fill = Seconds([&] { OpenAndFill(entries); });
  std::printf("%d entries, 20 accounts, 3 kinds (made in %.1f s)\n", entries, fill);

  unsigned rawRows = 0;
  const double raw = Best([&] { rawRows = RawWalk(); });
  double editor = 0;
  long listed = 0;
  {
    DialogDriver driver;
    TAccountEditor dialog(nullptr);
    driver.OnDialog(kAccountEditorTemplate, [&](HWND window) {
      TAccountRangeXfer& range = gAccountRangeXfer;
      range.File = 0;
      range.All = 1;
      editor = Best([&] { dialog.FillGrid(); });
      listed = static_cast<long>(SendMessage(GetDlgItem(window, 106), TSM_GETROWCOUNT, 0, 0));
      PressButton(window, IDOK);
    });
    dialog.Execute();
  }
  std::printf("  account editor fill, All      %8.3f s  rows %6ld\n", editor, listed);
  std::printf("  raw engine walk (baseline)    %8.3f s  rows %6u\n", raw, rawRows);
  std::printf("  ratio fill/raw walk           %8.2f x  (goal: at most 1.5)\n", editor / raw);
  CloseBenchTables();
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int entries = 100000;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::strcmp(argv[i], "--entries") == 0) entries = std::atoi(argv[i + 1]);
  EnsureTestApplication();
  HMODULE grid = LoadLibrary("vgrd32.dll");
  if (grid == nullptr) {
    std::fprintf(stderr, "vgrd32 could not be loaded\n");
    return 1;
  }
  RunAt(entries);
  FreeLibrary(grid);
  return 0;
}
