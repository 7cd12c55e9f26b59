/*
** A second program for the closing-file tests, in the same root and database directory:
**   closing_file_probe <table dir> read <TABLE> <file> <field>...
**       prints one line per field, each given as s<n> (a text), l<n> (a whole number or
**       date) or d<n> (a number, "%.2f"); texts are printed in hex so any byte survives
**   closing_file_probe <database dir> labels
**       opens the tracking dialog and prints its six description labels, one a line
**   closing_file_probe <database dir> save <tag> <count>
**       count times: opens the tracking dialog, enters setup, gives every description the
**       text "<tag> <round> <row>", saves and closes; prints "saved <count>"
*/
#include "closingfile/closing_file_xfer.h"
#include "closingfile/tracking_dialog.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kLabels[] = {202, 203, 204, 206, 207, 210};
constexpr int kDescriptionEdits[] = {402, 403, 404, 406, 407, 410};

int Read(const char* directory, int argc, char* argv[]) {
  PXInit();
  PXOpenDatabase();
  PXSetDirectory(directory);
  {
    TPXTable table(argv[3], 0);
    TPXRecord record(&table, true);
    record.SetString(1, argv[4]);
    if (!record.Seek(1, ENGINE_KEY_EQ) || !record.Read(ENGINE_NO_LOCK)) {
      std::printf("missing\n");
      return 1;
    }
    std::vector<char> text(40000);
    for (int i = 5; i < argc; ++i) {
      int field = std::atoi(argv[i] + 1);
      if (argv[i][0] == 's') {
        text[0] = '\0';
        record.GetString(field, text.data(), static_cast<DWORD>(text.size()));
        for (const char* c = text.data(); *c; ++c)
          std::printf("%02X", static_cast<unsigned char>(*c));
        std::printf("\n");
      } else if (argv[i][0] == 'l') {
        LONG value = 0;
        record.GetLong(field, value);
        std::printf("%ld\n", static_cast<long>(value));
      } else {
        double value = 0;
        record.GetDouble(field, value);
        std::printf("%.2f\n", value);
      }
    }
  }
  PXExit();
  return 0;
}

/* The dialog made modeless over a block of its own, as the command would give it. */
struct OpenTracking {
  OpenTracking() : dialog(nullptr) {
    dialog.SetTransferBuffer(&block);
    dialog.Create();
  }
  ~OpenTracking() { dialog.Destroy(IDCANCEL); }
  TTrackingXfer block{};
  TTracking dialog;
};

int Labels() {
  OpenTracking open;
  for (int id : kLabels) {
    char text[64] = "";
    GetDlgItemText(open.dialog.GetHandle(), id, text, sizeof text);
    std::printf("%s\n", text);
  }
  return 0;
}

int Save(const char* tag, int count) {
  for (int round = 0; round < count; ++round) {
    OpenTracking open;
    open.dialog.CmSetupSave();
    for (int row = 0; row < 6; ++row) {
      std::string text = std::string(tag) + " " + std::to_string(round) + " " + std::to_string(row);
      SetDlgItemText(open.dialog.GetHandle(), kDescriptionEdits[row], text.c_str());
    }
    open.dialog.CmSetupSave();
  }
  std::printf("saved %d\n", count);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) return 2;
  std::string command = argv[2];
  if (command == "read" && argc > 5) return Read(argv[1], argc, argv);
  EnsureTestApplication();
  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", argv[1]);
  int result = 2;
  if (command == "labels") result = Labels();
  if (command == "save" && argc > 4) result = Save(argv[3], std::atoi(argv[4]));
  std::fflush(stdout);
  return result;
}
