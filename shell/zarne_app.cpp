/*
** ZarneApp: construction (program directory, grid colour sets), the main window, the help
** and About commands, shutdown and destruction.
*/
#include "shell/zarne_app.h"

#include "platform/framework/mdi.h"
#include "platform/kernel/format.h"
#include "platform/kernel/modules.h"
#include "platform/kernel/string_calls.h"
#include "platform/kernel/path_split.h"
#include "platform/user/win_help.h"
#include "shell/about.h"
#include "shell/shell_globals.h"
#include "shell/shell_ids.h"
#include "shell/splash.h"
#include "shell/zarne_frame.h"
#include "shell/zarne_mdi_client.h"
#include "statement/respa_window.h"
#include "statement/statement_drawing.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstring>

char gProgramDir[MAX_PATH];
HMODULE gGridModule = nullptr;
HWND gRunningInstance = nullptr;

namespace {

/* Background, text, selected background, selected text; 0x676981 is the grid's own colour. */
void FillGridColorSets() {
  static const COLORREF sets[3][4] = {
      {0xFFFFFF, 0x676981, 0x676981, 0x676981},
      {0xFFFFFF, 0x008000, 0x008000, 0xFFFFFF},
      {0xFFFFFF, 0x000080, 0x000080, 0xFFFFFF},
  };
  static_assert(sizeof sets == sizeof gGridColorSets);
  std::memcpy(gGridColorSets, sets, sizeof sets);
}

}  // namespace

ZarneApp::ZarneApp() : TApplication("Zarne") {
  helpUsed = false;
  char programFile[MAX_PATH];
  ::GetModuleFileName(nullptr, programFile, sizeof programFile);
  char drive[MAX_PATH], directory[MAX_PATH];
  _splitpath(programFile, drive, directory, nullptr, nullptr);
  lstrcpyn(gProgramDir, drive, sizeof gProgramDir);
  lstrcpyn(gProgramDir + lstrlen(gProgramDir), directory,
           sizeof gProgramDir - lstrlen(gProgramDir));
  FillGridColorSets();
}

ZarneApp::~ZarneApp() {
  ClearFieldList(&gRespaFieldList);
  ClearFieldList(&gOtherFieldList);
  DeleteStatementDrawingObjects();
  delete splash;
  splash = nullptr;
}

void ZarneApp::InitMainWindow() {
  auto* client = new ZarneMDIClient;
  auto* frame = new TZarneDecoratedMDIFrame(GetName(), IDM_ZARNE, *client);
  nCmdShow = SW_HIDE;
  frame->SetIcon(this, IDI_FRAME);
  frame->SetIconSm(this, IDI_FRAME_SMALL);
  frame->AssignMenu(IDM_ZARNE);
  frame->SetAcceleratorTable(IDM_ZARNE);
  frame->BuildControlBar();
  SetMainWindow(frame);
  EnableCtl3d(true);
  EnableBWCC(true);
}

bool ZarneApp::CanClose() {
  if (!TApplication::CanClose()) return false;  // a window refused: everything stays open
  ReleaseOpenFiles();
  TearDown();
  if (helpUsed) WinHelp(MainWindow ? MainWindow->HWindow : nullptr, "", HELP_QUIT, 0);
  return true;
}

/* Every window agreed and saved: each file's lock and records go now, while the tables they
   stand on are still open; the windows themselves go only after the tear-down. */
void ZarneApp::ReleaseOpenFiles() {
  TFrameWindow* frame = MainWindow;
  auto* client = frame ? dynamic_cast<TMDIClient*>(frame->GetClientWindow()) : nullptr;
  if (!client) return;
  for (TWindow* window : client->Children()) {
    auto* child = dynamic_cast<TMDIChild*>(window);
    if (auto* view = child ? dynamic_cast<RespaWindow*>(child->GetClientWindow()) : nullptr)
      view->ReleaseFile();
  }
}

/* Runs once: a logout after File|Exit asks CanClose again. */
void ZarneApp::TearDown() {
  if (tornDown_ || !startedUp_) return;
  tornDown_ = true;
  delete gAccountRecord;
  gAccountRecord = nullptr;
  delete gBankRecord;
  gBankRecord = nullptr;
  for (int i = 0; i < kSharedTableCount; ++i) {
    delete gTables[i];
    gTables[i] = nullptr;
  }
  PXExit();
  if (gGridModule) FreeLibrary(gGridModule);
  gGridModule = nullptr;
}

void ZarneApp::OpenHelp(const char* fileName) {
  char path[MAX_PATH];
  wsprintf(path, "%s%s", gProgramDir, fileName);
  helpUsed = WinHelp(MainWindow ? MainWindow->HWindow : nullptr, path, HELP_CONTENTS, 0) != FALSE;
}

void ZarneApp::CmHelpUsing() { OpenHelp("zarne.hlp"); }
void ZarneApp::CmHelpWpTemplates() { OpenHelp("wptemplt.hlp"); }
void ZarneApp::CmHelpZBasic() { OpenHelp("zbasic.hlp"); }
void ZarneApp::CmHelpDataFields() { OpenHelp("dataflds.hlp"); }
void ZarneApp::CmHelpTitleStandards() { OpenHelp("tstd.hlp"); }
void ZarneApp::CmHelpHudInstructions() { OpenHelp("hudreg.hlp"); }

void ZarneApp::CmHelpAbout() {
  ZarneAboutDlg about(MainWindow, IDD_ABOUT);
  about.Execute();
}

DEFINE_RESPONSE_TABLE1(ZarneApp, TApplication)
EV_COMMAND(CM_HELPUSING, CmHelpUsing), EV_COMMAND(CM_HELPWPTEMPLATES, CmHelpWpTemplates),
    EV_COMMAND(CM_HELPZBASIC, CmHelpZBasic), EV_COMMAND(CM_HELPDATAFIELDS, CmHelpDataFields),
    EV_COMMAND(CM_HELPTITLESTANDARDS, CmHelpTitleStandards),
    EV_COMMAND(CM_HELPHUDINSTRUCTIONS, CmHelpHudInstructions),
    EV_COMMAND(CM_HELPABOUT, CmHelpAbout), END_RESPONSE_TABLE;
