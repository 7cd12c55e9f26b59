/*
** The shell's benchmark, among 20,000 closing files (every file table filled), on the same
** files in the same run:
**  (a) filling the file-number dialog's list with every number, against raw SQLite reading
**      the numbers in key order into a vector; and a number typed into its edit looked up
**      in the list, against a search of those numbers in a vector (and how much of that is
**      the two record reads that show the number's parties);
**  (b) opening a file's statement window, from OpenFileWindow to the end of its set-up and
**      its first paint, then closing it, against raw SQLite doing the thirteen keyed selects
**      and the lock, then thirteen durable updates.
** The figures of (a) are printed once for each of three rounds.
**   shell_bench [--files N] [--dir D] [--list]    (D defaults to a fresh directory in
**   /dev/shm, removed at the end; a D that holds the tables of an earlier run is used as it
**   is; --list fills only BUYER and SELLER and times only (a))
*/
#include "catalogue/tabgen32.h"
#include "filenumber/file_dlg.h"
#include "filenumber/file_windows.h"
#include "platform/engine/engine.h"
#include "platform/framework/mdi.h"
#include "platform/testing/gui_test.h"
#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"
#include "shell/shell_ids.h"
#include "shell/zarne_app.h"
#include "shell/zarne_mdi_client.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kFileTables[] = {"BUYER",    "SELLER",   "LENDER",   "SAGENT",   "PROPERTY",
                                   "SUMMARY1", "SUMMARY2", "EXPENSE1", "EXPENSE2", "EXPENSE3",
                                   "EXPENSE4", "TITLEA",   "EXTRA"};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string FileNumber(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%06d", 2000 + n % 7, n);
  return text;
}

void Check(EngineResult result, const char* what) {
  if (result == ENGINE_OK) return;
  std::fprintf(stderr, "%s failed: 0x%04X\n", what, result);
  std::exit(1);
}

/* Every table of the catalogue in the directory, the thirteen file tables with a record for
   each of the files (only BUYER and SELLER with partiesOnly). */
void Fill(const std::string& dir, int files, bool partiesOnly) {
  EngineDatabase db = nullptr;
  Check(EngineInit(300, nullptr), "init");
  Check(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr, &db), "database");
  Check(EngineSetDirectory(db, dir.c_str()), "directory");
  for (const char* table : {"BUYER", "SELLER", "LENDER", "SAGENT", "PROPERTY", "SUMMARY1",
                            "SUMMARY2", "EXPENSE1", "EXPENSE2", "EXPENSE3", "EXPENSE4", "TITLEA",
                            "EXTRA", "TITLEB", "ACCOUNT", "BANK", "CHECKCTL"})
    _CreateZarneTable(db, table, dir.c_str());
  for (const char* table : kFileTables) {
    if (partiesOnly && std::strcmp(table, "BUYER") != 0 && std::strcmp(table, "SELLER") != 0)
      continue;
    EngineCursor cursor = nullptr;
    Check(EngineOpenTable(db, table, "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &cursor),
          table);
    EngineCursorProps props{};
    EngineGetCursorProps(cursor, &props);
    std::vector<char> record(props.recordSize);
    for (int n = 0; n < files; ++n) {
      EngineInitRecord(cursor, record.data());
      std::string number = FileNumber(n);
      EnginePutField(cursor, 1, record.data(), number.c_str());
      if (std::strcmp(table, "BUYER") == 0)
        EnginePutField(cursor, 2, record.data(), "A Buyer of the house");
      Check(EngineInsertRecord(cursor, 0, record.data()), "insert");
    }
    EngineCloseCursor(&cursor);
  }
  EngineExit();
}

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  TApplication::DeleteCondemned();
}

void Report(const char* name, double engine, double raw, int operations) {
  std::printf("%-44s %10.1f us %10.1f us  ratio %5.2f\n", name, engine / operations * 1e6,
              raw / operations * 1e6, engine / raw);
}

struct Raw {
  sqlite3* db = nullptr;
  sqlite3_stmt* seek = nullptr;
  sqlite3_stmt* update = nullptr;
  explicit Raw(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;", nullptr, nullptr,
                 nullptr);
    sqlite3_prepare_v2(db, "SELECT rowid, * FROM records WHERE f1 = ?", -1, &seek, nullptr);
    sqlite3_prepare_v2(db, "UPDATE records SET f1 = f1 WHERE rowid = ?", -1, &update, nullptr);
  }
  ~Raw() {
    sqlite3_finalize(seek);
    sqlite3_finalize(update);
    sqlite3_close(db);
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  // Both sides of a figure take and free blocks of up to a megabyte. glibc moves its mmap
  // and trim thresholds after such a free, so one side's time would depend on the blocks the
  // other left behind (fresh pages faulted in, or warm ones reused). Fixed thresholds make
  // both sides measure the steady state.
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  int files = 20000;
  std::string dir;
  bool listOnly = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--list") == 0 || std::strcmp(argv[i], "--typing") == 0)
      listOnly = true;
    else if (i + 1 < argc && std::strcmp(argv[i], "--files") == 0) files = std::atoi(argv[++i]);
    else if (i + 1 < argc && std::strcmp(argv[i], "--dir") == 0) dir = argv[++i];
  }
  // A directory of our own making goes when the bench ends, however it ends (it is about
  // 50 kB a file in memory); one given with --dir is kept.
  struct OwnDirectory {
    std::string path;
    ~OwnDirectory() {
      std::error_code ignored;
      if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
  } own;
  if (dir.empty()) own.path = dir = "/dev/shm/zarne-shell-bench-" + std::to_string(getpid());
  std::filesystem::create_directories(dir + "/windows");
  setenv("ZARNE_ROOT", dir.c_str(), 1);
  // The program names its directories the Windows way: C:\BENCH is drive_c/BENCH below the root.
  std::string tables = dir + "/drive_c/BENCH";
  std::filesystem::create_directories(tables);
  auto start = std::chrono::steady_clock::now();
  // A directory kept from an earlier run (--dir) is used as it is: filling takes long.
  if (std::filesystem::exists(tables + "/BUYER.DB")) {
    std::printf("using the files in %s\n", dir.c_str());
  } else {
    Fill(tables, files, listOnly);
    std::printf("filled %d files x %d tables in %.1f s (%s)\n", files, listOnly ? 2 : 13,
                Seconds(start), dir.c_str());
  }
  {
    std::ofstream ini(dir + "/windows/zarne.ini");
    ini << "[System]\nDirDatabase=C:\\BENCH\nDirCheckCtl=C:\\BENCH\nDirPrinters=C:\\BENCH\n"
           "DirPrivate=C:\\BENCH\\Private\n";
  }

  EnsureTestApplication();
  ZarneApp app;
  app.InitInstance();
  Pump();
  if (!app.StartedUp()) {
    std::fprintf(stderr, "start-up failed\n");
    return 1;
  }
  auto* client = static_cast<ZarneMDIClient*>(
      static_cast<TFrameWindow*>(app.GetMainWindow())->GetClientWindow());

  // (a) The file list, three rounds: the dialog's fill against raw SQLite reading the same
  // column into a vector, and typed numbers against a search of a vector.
  Raw buyer(tables + "/BUYER.DB");
  sqlite3_stmt* walk = nullptr;
  sqlite3_prepare_v2(buyer.db, "SELECT f1 FROM records ORDER BY f1", -1, &walk, nullptr);
  std::vector<std::string> numbers;
  for (int n = 0; n < files; ++n) numbers.push_back(FileNumber(n));
  std::sort(numbers.begin(), numbers.end());
  const int fills = std::max(3, 400000 / std::max(files, 1));
  const int typings = 2000;
  std::printf("%-44s %10s %13s\n", "", "shell", "raw SQLite");
  TFileDlg dialog(client, IDD_FILEDLG);
  dialog.mode = kFileDlgOpen;
  dialog.Create();
  size_t found = 0, listed = 0;
  for (int round = 0; round < 3; ++round) {
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < fills; ++i) dialog.FillFileList();
    double dialogFill = Seconds(start);
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < fills; ++i) {
      std::vector<std::string> column;
      while (sqlite3_step(walk) == SQLITE_ROW)
        column.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(walk, 0)));
      sqlite3_reset(walk);
      listed = column.size();
    }
    double rawFill = Seconds(start);
    // Each keystroke in the number's edit looks the text up in the list.
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < typings; ++i)
      SetDlgItemText(dialog.GetHandle(), 101, FileNumber((i * 7919 + round) % files).c_str());
    double dialogTyping = Seconds(start);
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < typings; ++i)
      found += std::find(numbers.begin(), numbers.end(), FileNumber((i * 7919 + round) % files)) -
               numbers.begin();
    double rawTyping = Seconds(start);
    Report("(a) fill the file list (per fill)", dialogFill, rawFill, fills);
    Report("(a') type a number: find it in the list", dialogTyping, rawTyping, typings);
  }
  // Where a typed number's time goes: a number found shows its parties, which reads its
  // BUYER and its SELLER record by key (a lock, the file's checks and a select each).
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < typings; ++i) dialog.ShowParties(FileNumber((i * 7919) % files).c_str());
  std::printf("    of which showing its parties %10.1f us per number\n",
              Seconds(start) / typings * 1e6);
  dialog.Destroy();
  sqlite3_finalize(walk);
  std::printf("    %zu numbers listed by raw SQLite\n", listed);
  if (found == 0) std::printf("nothing found\n");
  // The same walk through the table layer alone, without the list box, to show where the
  // time of (a) goes.
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < fills; ++i) {
    std::vector<std::string> column;
    TPXRecord record(gTables[kBuyerTable], false);
    char number[16];
    if (record.First()) {
      do {
        number[0] = '\0';
        if (record.Read(0)) record.GetString(1, number, sizeof number);
        column.emplace_back(number);
      } while (record.Next());
    }
  }
  std::printf("    of which the table walk alone %10.1f us per fill\n",
              Seconds(start) / fills * 1e6);
  if (listOnly) {
    app.GetMainWindow()->CloseWindow();
    Pump();
    return 0;
  }

  // (b) Open and close a statement window.
  const int opens = 200;
  double openTime = 0, closeTime = 0;
  for (int i = 0; i < opens; ++i) {
    std::string number = FileNumber((i * 7919) % files);
    auto t0 = std::chrono::steady_clock::now();
    OpenFileWindow(client, number.c_str());
    TMDIChild* child = FindFileWindow(client, number.c_str());
    if (!child) {
      std::fprintf(stderr, "no window for %s\n", number.c_str());
      return 1;
    }
    child->GetClientWindow()->UpdateWindow();
    openTime += Seconds(t0);
    auto t1 = std::chrono::steady_clock::now();
    child->CloseWindow();
    Pump();
    closeTime += Seconds(t1);
  }
  std::vector<std::unique_ptr<Raw>> raws;
  for (const char* table : kFileTables)
    raws.push_back(std::make_unique<Raw>(tables + "/" + table + ".DB"));
  int lockFd = ::open((tables + "/raw.LCK").c_str(), O_RDWR | O_CREAT, 0666);
  long sink = 0;
  double rawOpen = 0, rawClose = 0;
  for (int i = 0; i < opens; ++i) {
    std::string number = FileNumber((i * 7919) % files);
    auto t0 = std::chrono::steady_clock::now();
    std::vector<sqlite3_int64> rowids;
    for (auto& raw : raws) {
      sqlite3_bind_text(raw->seek, 1, number.c_str(), -1, SQLITE_STATIC);
      if (sqlite3_step(raw->seek) == SQLITE_ROW) {
        rowids.push_back(sqlite3_column_int64(raw->seek, 0));
        for (int c = 1; c < sqlite3_column_count(raw->seek); ++c)
          sink += sqlite3_column_bytes(raw->seek, c);
      }
      sqlite3_reset(raw->seek);
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_start = 1 + i;
    lock.l_len = 1;
    ::fcntl(lockFd, F_OFD_SETLK, &lock);
    rawOpen += Seconds(t0);
    auto t1 = std::chrono::steady_clock::now();
    for (size_t t = 0; t < raws.size() && t < rowids.size(); ++t) {
      sqlite3_bind_int64(raws[t]->update, 1, rowids[t]);
      sqlite3_step(raws[t]->update);
      sqlite3_reset(raws[t]->update);
    }
    lock.l_type = F_UNLCK;
    ::fcntl(lockFd, F_OFD_SETLK, &lock);
    rawClose += Seconds(t1);
  }
  ::close(lockFd);
  Report("(b) open a file to its first paint", openTime, rawOpen, opens);
  Report("    close it", closeTime, rawClose, opens);
  Report("    open and close", openTime + closeTime, rawOpen + rawClose, opens);
  if (sink < 0) std::printf("%ld\n", sink);
  app.GetMainWindow()->CloseWindow();
  Pump();
  return 0;
}
