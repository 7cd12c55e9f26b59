/*
** The start-up sequence of the main program, run once the hidden frame exists: the grid
** library, the directories, the check form, the engine, the sixteen shared tables and
** CHECKCTL (created where missing), the statement drawing objects, the two data-field
** lists, the script variables, the field scripts and the bank lists. The splash window's
** status line names each step. A fatal step ends the program before the frame is shown.
*/
#include "shell/zarne_app.h"

#include "accounting/bank_lists.h"
#include "catalogue/tabgen32.h"
#include "platform/framework/frame.h"
#include "platform/kernel/files.h"
#include "platform/kernel/format.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile.h"
#include "platform/kernel/string_calls.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "script/script_globals.h"
#include "shell/shell_globals.h"
#include "shell/shell_ids.h"
#include "shell/splash.h"
#include "shell/system_keys.h"
#include "shell/zarne_mdi_client.h"
#include "statement/recalc_field_scripts.h"
#include "statement/recalc_install.h"
#include "statement/statement_drawing.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/field_list.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"
#include "tableaccess/ww_file.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kDefaultDirectory[] = "C:\\ZARNE";
constexpr char kDefaultPrivateDirectory[] = "C:\\Zarne\\Private";
constexpr int kBankRecordCount = 20;
constexpr short kBankKeyField = 1;
constexpr short kCheckCtlNextNumberField = 1;
constexpr short kCheckCtlAccountField = 2;

/* Makes the directory current, offering to create it when it does not exist; false when it
   was refused or could not be made (the boxes have been shown). */
bool EnterDirectory(const char* directory) {
  if (SetCurrentDirectory(directory)) return true;
  if (!EnsureDirectory(directory)) return false;
  SetCurrentDirectory(directory);
  return true;
}

bool ReadSettledDirectory(const char* key, char* directory) {
  ReadSystemDirectoryKey(key, kDefaultDirectory, directory);
  return EnterDirectory(directory);
}

void StopBox(UINT textId) {
  TModule& program = GetProgramModule();
  std::string text = program.LoadString(textId);
  std::string caption = program.LoadString(IDS_SYSTEM_ERROR);
  MessageBox(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
}

bool LibraryFailed(HMODULE module) { return reinterpret_cast<ULONG_PTR>(module) <= 32; }

/* Copies a layout library's records into a field list; false (after box 1010) when one of
   its two exports is missing. */
template <class RecordProc, class AppendProc>
bool CopyLayoutLibrary(HMODULE library, const char* countName, const char* recordName,
                       TFieldList* list, AppendProc append) {
  auto count = reinterpret_cast<GetFieldCountProc>(GetProcAddress(library, countName));
  auto record = reinterpret_cast<RecordProc>(GetProcAddress(library, recordName));
  if (!count || !record) {
    StopBox(IDS_NO_EXPORT);
    FreeLibrary(library);
    return false;
  }
  append(list, count, record);
  FreeLibrary(library);
  return true;
}

}  // namespace

void ZarneApp::ShowStatus(const char* text) {
  if (splash) splash->SetStatus(text);
}

void ZarneApp::ShowStatus(UINT stringId, const char* argument) {
  char format[256];
  char text[512];
  LoadString(stringId, format, sizeof format);
  wsprintf(text, format, argument);
  ShowStatus(text);
}

void ZarneApp::ShowStatus(UINT stringId, int argument) {
  char format[256];
  char text[512];
  LoadString(stringId, format, sizeof format);
  wsprintf(text, format, argument);
  ShowStatus(text);
}

void ZarneApp::InitInstance() {
  TApplication::InitInstance();  // InitMainWindow, and the frame created hidden
  if (!MainWindow || !MainWindow->HWindow) return;
  if (!RunStartUp()) {
    FatalExit();
    return;
  }
  RemoveSplash();
  startedUp_ = true;
  MainWindow->Show(SW_SHOWMAXIMIZED);
}

bool ZarneApp::RunStartUp() {
  SetHandleCount(80);
  splash = new TZarneSplash(MainWindow, IDD_SPLASH);
  splash->Create();
  splash->Show(SW_SHOW);
  splash->UpdateWindow();

  gGridModule = LoadLibrary("vgrd32.dll");
  if (LibraryFailed(gGridModule)) {
    gGridModule = nullptr;
    StopBox(IDS_NO_GRID);
    return false;
  }

  if (!ReadSettledDirectory("DirDatabase", gDatabaseDir)) return false;
  if (!ReadSettledDirectory("DirCheckCtl", gCheckCtlDir)) return false;
  char printerDir[MAX_PATH];
  if (!ReadSettledDirectory("DirPrinters", printerDir)) return false;
  // The printer files live in DirPrinters, which only now is settled.
  TWindow* client = static_cast<TFrameWindow*>(MainWindow)->GetClientWindow();
  LoadPrinterSettings(client, kStatementPrinterSettings, gStatementPrintData);
  LoadPrinterSettings(client, kCheckPrinterSettings, gCheckPrintData);
  LoadPrinterSettings(client, kReportPrinterSettings, gReportPrintData);

  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "CHKFORM", "DAT", sizeof path);
  ReadCheckFormSettings(gCheckFormLayout, path);

  ShowStatus("Initializing database.");
  PXInit();
  char privateDir[MAX_PATH];
  ReadSystemDirectoryKey("DirPrivate", kDefaultPrivateDirectory, privateDir);
  MakeDirectoryPath(privateDir);
  PXSetPrivateDir(privateDir);
  PXOpenDatabase();
  PXSetDirectory(gDatabaseDir);

  if (!OpenSharedTables()) return false;
  ReadDefaultAccount();
  MakeStatementDrawingObjects(GetInstance());

  ShowStatus(IDS_RESPA_LIST, "");
  HMODULE layout = LoadLibrary("stmlay32.dll");
  if (LibraryFailed(layout)) {
    StopBox(IDS_NO_STMLAY);
    return false;
  }
  if (!CopyLayoutLibrary<GetRespaFieldProc>(layout, "GetRespaFieldCount", "GetRespaField",
                                            &gRespaFieldList, AppendRespaRecords))
    return false;

  ShowStatus(IDS_OTHER_LIST, "");
  HMODULE other = LoadLibrary("auxlay32.dll");
  if (LibraryFailed(other)) {
    StopBox(IDS_NO_AUXLAY);  // start-up goes on with an empty second list
  } else if (!CopyLayoutLibrary<GetOtherFieldProc>(other, "GetOtherFieldCount", "GetOtherField",
                                                   &gOtherFieldList, AppendOtherRecords)) {
    return false;
  }

  RegisterScriptGlobals();
  InstallRecalculation();
  LoadFieldScripts();
  LoadBankLists();
  return true;
}

bool ZarneApp::OpenSharedTables() {
  bool bankIsNew = false;
  char path[MAX_PATH];
  TWWFile probe;
  for (int i = 0; i < kSharedTableCount; ++i) {
    const char* name = kSharedTableNames[i];
    BuildPath(path, gDatabaseDir, name, "DB", sizeof path);
    if (!probe.Exists(path)) {
      ShowStatus(IDS_CREATING, name);
      _CreateZarneTable(gDatabase, name, gDatabaseDir);
      if (i == kBankTable) bankIsNew = true;
    }
    ShowStatus(IDS_OPENING, name);
    BuildPath(path, gDatabaseDir, name, nullptr, sizeof path);
    gTables[i] = new TPXTable(path, 0);
    if (!gTables[i]->IsOpen()) return false;
  }
  gAccountRecord = new TPXRecord(gTables[kAccountTable], false);
  gBankRecord = new TPXRecord(gTables[kBankTable], false);
  EnsureBankRecords(bankIsNew);
  return true;
}

/* The bank lists show BANK in key order and take a line's position as its key, so every
   key 0 to 19 must exist: a new table gets all twenty, an older one the keys it lacks. */
void ZarneApp::EnsureBankRecords(bool bankIsNew) {
  TPXRecord record(gTables[kBankTable], true);
  for (int key = 0; key < kBankRecordCount; ++key) {
    if (!bankIsNew) {
      record.SetShort(kBankKeyField, static_cast<SHORT>(key));
      if (record.Seek(1, 0)) continue;
    }
    ShowStatus(IDS_INSERTING_BANK, key);
    record.Clear();
    record.SetShort(kBankKeyField, static_cast<SHORT>(key));
    // One box for a table that refuses inserts, not twenty.
    if (!record.Insert()) return;
  }
}

void ZarneApp::ReadDefaultAccount() {
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "CHECKCTL", "DB", sizeof path);
  TWWFile probe;
  if (!probe.Exists(path)) {
    ShowStatus(IDS_CREATING, "CHECKCTL");
    _CreateZarneTable(gDatabase, "CHECKCTL", gCheckCtlDir);
  }
  BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
  TPXTable table(path, 0);
  if (!table.IsOpen()) return;
  TPXRecord record(&table, false);
  if (!record.First()) {
    // A control table without its one record starts numbering at check 1, account 0.
    record.Clear();
    record.SetLong(kCheckCtlNextNumberField, 1);
    record.SetShort(kCheckCtlAccountField, 0);
    if (!record.Insert() || !record.First()) return;
  }
  SHORT account = 0;
  if (record.Read(0) && record.GetShort(kCheckCtlAccountField, account)) gDefaultAccount = account;
}

void ZarneApp::RemoveSplash() {
  if (!splash) return;
  splash->Show(SW_HIDE);
  splash->Destroy();
  delete splash;
  splash = nullptr;
}

void ZarneApp::FatalExit() {
  RemoveSplash();
  PostQuitMessage(0);
}
