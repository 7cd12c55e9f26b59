/*
** The title-item lists' benchmark, over a file with N items of each requirement type:
**  - opening Requirements (columns defined, both lists filled), against the same seek and
**    read loop over TITLEB alone, nothing shown;
**  - renumbering N items after the last was moved to the top, against N bare seek, read and
**    modify calls;
**  - the load rate of an item set, in items per second (each item takes its own time key,
**    and a time key waits for the clock's next hundredth of a second).
** The tables live in /dev/shm. The dialogs see the file through a view over the tables alone: no statement window.
**   closingfile_bench [--items N] [--load M]   (defaults 1000 and 200)
*/
#include "catalogue/tabgen32.h"
#include "closingfile/closing_file_view.h"
#include "closingfile/requirements_dialog.h"
#include "grid/tessel_codes.h"
#include "platform/framework/window.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/paths.h"
#include "platform/testing/common_dialog_answers.h"
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
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char kDataDir[] = "C:\\ZARNE\\DATA";
constexpr const char kFile[] = "BENCH-1";
constexpr const char kBaseFile[] = "BENCH-BASE";

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/* The open file as the dialogs see it, over the tables alone. */
class TBenchView : public TClosingFileView {
 public:
  TBenchView() : record_(gTables[kTitleBTable], true) {}
  TWindow* FileWindow() override { return nullptr; }
  const char* FileNumber() override { return kFile; }
  TPXRecord* FileRecord(int table) override { return table == kTitleBTable ? &record_ : nullptr; }
  void JoinBuyerNames(char* out) override { out[0] = '\0'; }
  void JoinSellerNames(char* out) override { out[0] = '\0'; }
  void MergeTemplate(TWindow*, const char*, const char* source, char* out, int size) override {
    if (out != source) std::snprintf(out, static_cast<size_t>(size), "%s", source);
  }

 private:
  TPXRecord record_;
};

void OpenTables() {
  PXInit();
  MakeDirectoryPath(kDataDir);
  PXOpenDatabase();
  PXSetDirectory(kDataDir);
  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", kDataDir);
  for (int i = 0; i < kSharedTableCount; ++i) {
    _CreateZarneTable(gDatabase, kSharedTableNames[i], kDataDir);
    gTables[i] = new TPXTable(kSharedTableNames[i], 0);
  }
}

void PutItems(const char* file, const char* type, int count, double first) {
  TPXRecord record(gTables[kTitleBTable], true);
  std::string text = "Record the instrument described in the commitment, item ";
  for (int n = 0; n < count; ++n) {
    record.Clear();
    record.SetString(1, file);
    record.SetString(2, type);
    record.SetDouble(3, first + n / 8640000.0);
    record.SetString(5, "B");
    MustWrite(record.Insert());
    record.SetString(4, (text + std::to_string(n)).c_str());
  }
}

/* The fill's table work alone: seek the file's items of a type and read each one. */
int ReadLoop(const char* type) {
  TPXRecord record(gTables[kTitleBTable], true);
  static char text[16384];
  int read = 0;
  record.Clear();
  record.SetString(1, kFile);
  record.SetString(2, type);
  for (bool at = record.Seek(2, ENGINE_KEY_EQ); at && record.Read(ENGINE_NO_LOCK);
       at = record.Next()) {
    char file[16], kind[3], policy[2];
    double seq = 0;
    record.GetString(1, file, sizeof file);
    record.GetString(2, kind, sizeof kind);
    if (std::strcmp(kind, type) != 0 || std::strcmp(file, kFile) != 0) break;
    record.GetDouble(3, seq);
    record.GetString(5, policy, sizeof policy);
    record.GetString(4, text, sizeof text);
    ++read;
  }
  return read;
}

/* What renumbering does per record, bare: seek by key, read, modify the key. */
void RekeyLoop(int count, double first) {
  TPXRecord record(gTables[kTitleBTable], true);
  for (int n = count - 1; n >= 0; --n) {
    record.Clear();
    record.SetString(1, kBaseFile);
    record.SetString(2, "1A");
    record.SetDouble(3, first + n / 8640000.0);
    if (!record.Seek(3, ENGINE_KEY_EQ) || !record.Read(ENGINE_NO_LOCK)) continue;
    record.SetDouble(3, first + 1 + n * 0.0000001);
    MustWrite(record.Modify());
  }
}

void Report(const char* what, double seconds, double baseline) {
  std::printf("%-46s %9.4f s   baseline %9.4f s   ratio %6.2f\n", what, seconds, baseline,
              baseline > 0 ? seconds / baseline : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int items = 1000, loadItems = 200;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--items") == 0) items = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--load") == 0) loadItems = std::atoi(argv[i + 1]);
  }
  // The tables live in memory, so the figures are the program's work, not the disk's.
  const std::string root = "/dev/shm/zarne-closingfile-bench-" + std::to_string(getpid());
  std::filesystem::remove_all(root);
  setenv("ZARNE_ROOT", root.c_str(), 1);
  EnsureTestApplication();
  HMODULE grids = LoadLibrary("vgrd32.dll");
  if (!grids) {
    std::puts("vgrd32 could not be loaded");
    return 1;
  }
  OpenTables();
  const double first = TimeKeyOf(739000, 100);
  PutItems(kFile, "1A", items, first);
  PutItems(kFile, "1B", items, first);
  PutItems(kBaseFile, "1A", items, first);

  {
    TBenchView view;
    DialogDriver driver;
    CommonDialogAnswers answers;
    // Opening: the dialog is made, defined and filled, then closed at once.
    // Each opening and its baseline run three times; the best of each counts.
    double open = 1e9, readLoop = 1e9, renumber = 0, load = 0;
    for (int round = 0; round < 3; ++round) {
      TRequirements dialog(&view);
      driver.OnDialog(kRequirementsTemplate, [&](HWND window) { PressButton(window, IDOK); });
      open = std::min(open, Seconds([&] { dialog.Execute(); }));
      readLoop = std::min(readLoop, Seconds([&] {
                            ReadLoop("1A");
                            ReadLoop("1B");
                          }));
    }
    Report("open Requirements, 2 lists", open, readLoop);

    // Renumbering: the last recording requirement moved to the top, then OK.
    {
      TRequirements dialog(&view);
      driver.OnDialog(kRequirementsTemplate, [&](HWND window) {
        HWND grid = GetDlgItem(window, 101);
        SendMessage(grid, TSM_SETCURSOR, 0, items - 1);
        SendMessage(grid, TSM_MOVEROW, TSREF_CURSOR, 0);
        renumber = Seconds([&] { dialog.RenumberTitleItems(0); });
        PressButton(window, IDOK);
      });
      dialog.Execute();
    }
    double rekey = Seconds([&] { RekeyLoop(items, first); });
    Report("renumber after the last moved to the top", renumber, rekey);

    // The load rate: one item set of loadItems items.
    std::string set;
    for (int n = 0; n < loadItems; ++n) set += "Loaded item " + std::to_string(n) + "\r\n\r\n\r\n";
    std::string host = HostPathFromWindowsPath("C:\\ZARNE\\DATA\\BENCH.B1A");
    std::ofstream(host, std::ios::binary) << set;
    {
      TRequirements dialog(&view);
      answers.ChooseFiles({"C:\\ZARNE\\DATA\\BENCH.B1A"});
      driver.OnDialog(kRequirementsTemplate, [&](HWND window) {
        load = Seconds([&] { PressButton(window, 100); });
        PressButton(window, IDOK);
      });
      dialog.Execute();
    }
    std::printf(
        "load of %d items: %.3f s, %.1f items per second (one time key per item, each "
        "waiting for the clock's next hundredth)\n",
        loadItems, load, load > 0 ? loadItems / load : 0.0);
  }
  for (TPXTable*& table : gTables) {
    delete table;
    table = nullptr;
  }
  PXExit();
  FreeLibrary(grids);
  std::filesystem::remove_all(root);
  return 0;
}
