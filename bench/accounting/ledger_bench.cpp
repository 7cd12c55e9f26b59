/*
** The disbursing dialog's refill. A ledger of 100,000 entries over 1,000 closing files plus
** one file of 1,000 deposits and 1,000 checks, in memory (/dev/shm). Timed: what the File
** Number button does once the number is chosen (both fills, the bank account, the balance)
** on the open dialog, against a raw engine walk over the same 2,000 entries in the same run
** (EngineSetToKey, EngineGetNextRecord and the ten field reads), nothing shown.
**   ledger_bench [--repeat N]   (default 20)
*/
#include "bench/accounting/bench_tables.h"
#include "accounting/bank_lists.h"
#include "accounting/disburse.h"
#include "accounting/ledger_entry.h"
#include "catalogue/tabgen32.h"
#include "platform/engine/engine.h"
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

namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 100000;
constexpr int kFiles = 1000;
constexpr int kBigFileHalf = 1000;
const char kBigFile[] = "DISB-FILE";

void Fill() {
  OpenBenchTables();
  TPXRecord account(gTables[kAccountTable], true);
  auto put = [&](const char* file, int i, bool check, SHORT status) {
    TLedgerEntry entry;
    CopyLedgerText(entry.FileNum, sizeof entry.FileNum, file);
    CopyLedgerText(entry.Type, sizeof entry.Type, check ? kCheckType : kDepositType);
    entry.Seq = 700000.0 + i / 1000.0;
    entry.Number = check && status == kStatusPrinted ? 1000 + i : 0;
    entry.Bank = 2;
    entry.Status = status;
    CopyLedgerText(entry.PayeeDepositor, sizeof entry.PayeeDepositor,
                   "Payee or depositor of the entry");
    CopyLedgerText(entry.Description, sizeof entry.Description, "Description of the entry");
    entry.Amount = (i % 100000) / 100.0 + 1;
    account.Clear();
    WriteLedgerEntry(account, entry);
    MustWrite(account.Insert());
  };
  for (int i = 0; i < kEntries; ++i) {
    char file[16];
    std::snprintf(file, sizeof file, "F%06d", i % kFiles);
    const bool check = i % 5 < 3;
    put(file, i, check, check ? static_cast<SHORT>(i % 3) : static_cast<SHORT>(3 + 2 * (i % 2)));
  }
  for (int i = 0; i < 2 * kBigFileHalf; ++i) {
    const bool check = i % 2 == 0;
    put(kBigFile, kEntries + i, check,
        check ? static_cast<SHORT>(i / 2 % 3) : static_cast<SHORT>(3 + 2 * (i / 2 % 2)));
  }
}

/* The baseline: the file's deposits, then its checks, straight from the engine. */
int RawWalk() {
  EngineCursor cursor = nullptr;
  EngineCloneCursor(gTables[kAccountTable]->Cursor(), FALSE, FALSE, &cursor);
  std::vector<BYTE> key(gTables[kAccountTable]->RecordSize() + 1), record(key.size());
  int rows = 0;
  double sum = 0;
  for (const char* type : {kDepositType, kCheckType}) {
    EngineInitRecord(cursor, key.data());
    EnginePutField(cursor, kAcctFileNum, key.data(), kBigFile);
    EnginePutField(cursor, kAcctType, key.data(), type);
    if (EngineSetToKey(cursor, ENGINE_KEY_EQ, FALSE, 2, 0, key.data()) != 0) continue;
    while (EngineGetNextRecord(cursor, ENGINE_NO_LOCK, record.data(), nullptr) == 0) {
      char file[16], kind[2], payee[61], description[61];
      double seq, number, amount;
      SHORT bank, status;
      DWORD date, blank;
      EngineGetField(cursor, kAcctFileNum, record.data(), file, &blank);
      EngineGetField(cursor, kAcctType, record.data(), kind, &blank);
      if (std::strcmp(file, kBigFile) != 0 || std::strcmp(kind, type) != 0) break;
      EngineGetField(cursor, kAcctSeq, record.data(), &seq, &blank);
      EngineGetField(cursor, kAcctNumber, record.data(), &number, &blank);
      EngineGetField(cursor, kAcctBank, record.data(), &bank, &blank);
      EngineGetField(cursor, kAcctStatus, record.data(), &status, &blank);
      EngineGetField(cursor, kAcctDate, record.data(), &date, &blank);
      EngineGetField(cursor, kAcctPayeeDepositor, record.data(), payee, &blank);
      EngineGetField(cursor, kAcctDescription, record.data(), description, &blank);
      EngineGetField(cursor, kAcctAmount, record.data(), &amount, &blank);
      sum += amount;
      ++rows;
    }
  }
  EngineCloseCursor(&cursor);
  return sum > 0 ? rows : -rows;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int repeat = 20;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));
  BenchRoot root("ledger-bench");
  EnsureTestApplication();
  const double fill = Seconds(Fill);
  HMODULE grid = LoadLibrary("vgrd32.dll");
  if (grid == nullptr) {
    std::fprintf(stderr, "vgrd32 not found\n");
    return 1;
  }
  std::printf(
      "%d entries over %d files, and %s with %d deposits and %d checks (filled in %.1f s)\n",
      kEntries, kFiles, kBigFile, kBigFileHalf, kBigFileHalf, fill);

  double refill = 1e9, walk = 1e9;
  int listed = 0, walked = 0;
  {
    TDisburse dialog(nullptr);
    DialogDriver driver;
    driver.OnDialog(kDisburseTemplate, [&](HWND hwnd) {
      CopyLedgerText(dialog.FileNumber, sizeof dialog.FileNumber, kBigFile);
      for (int r = 0; r < repeat; ++r) {
        // The refill of the File Number button once the number is chosen; best of the runs.
        refill = std::min(refill, Seconds([&] {
                            dialog.FillDeposits();
                            dialog.FillChecks();
                            dialog.FindBankAccount();
                            dialog.UpdateBalance();
                          }));
        walk = std::min(walk, Seconds([&] { walked = RawWalk(); }));
      }
      listed = static_cast<int>(SendDlgItemMessage(hwnd, 200, 0x0400 + 30, 0, 0) +
                                SendDlgItemMessage(hwnd, 300, 0x0400 + 30, 0, 0));
      PressButton(hwnd, IDOK);
    });
    dialog.Execute();
  }
  std::printf("  rows listed %d (voids skipped), entries walked %d\n", listed, walked);
  std::printf("  refill (FillDeposits, FillChecks, FindBankAccount, UpdateBalance) %8.3f ms\n",
              refill * 1e3);
  std::printf("  raw engine walk of the same entries                               %8.3f ms\n",
              walk * 1e3);
  std::printf("  refill / raw walk ratio %.2f (goal at most 3.0)\n", refill / walk);
  FreeLibrary(grid);
  CloseBenchTables();
  return 0;
}
