/*
** The repair utility's application: start-up, shutdown and the About command. The Rebuild
** command has a file of its own.
*/
#include "rebuild/zarne_fix_app.h"

#include "platform/framework/frame.h"
#include "platform/user/winuser.h"
#include "rebuild/about_dialog.h"
#include "rebuild/rebuild_ids.h"
#include "rebuild/report_bde_error.h"
#include "rebuild/sdi_dec_frame.h"

DEFINE_RESPONSE_TABLE1(ZarneFixApp, TApplication)
EV_COMMAND(kCmRebuild, CmRebuild), EV_COMMAND(kCmHelpAbout, CmHelpAbout),
    EV_COMMAND(CM_EXIT, CmExit), END_RESPONSE_TABLE;

ZarneFixApp::ZarneFixApp() : TApplication("ZarneFix") {}

ZarneFixApp::~ZarneFixApp() {
  // A start that failed ends the program without a close, so CanClose never ran.
  if (engineStarted_) {
    if (database_) EngineCloseDatabase(&database_);
    EngineExit();
  }
}

void ZarneFixApp::InitMainWindow() {
  if (nCmdShow != SW_HIDE && nCmdShow != SW_SHOWMINNOACTIVE) nCmdShow = SW_SHOWNORMAL;
  SDIDecFrame* frame = new SDIDecFrame(nullptr, GetName(), nullptr, false);
  frame->SetIcon(this, kFixIcon);
  frame->AssignMenu(kFixMenu);
  frame->SetAcceleratorTable(kFixMenu);
  SetMainWindow(frame);
  frame->SetMenuDescr(TMenuDescr(kFixMenu));
}

void ZarneFixApp::InitInstance() {
  TApplication::InitInstance();
  EngineResult result = EngineInit(ENGINE_VERSION, nullptr);
  if (result != ENGINE_OK) {
    ReportBdeErrorDetail(result);
    PostQuitMessage(0);
    return;
  }
  engineStarted_ = true;
  result = EngineOpenDatabase(nullptr, nullptr, 0, ENGINE_SHARE_EXCLUSIVE, nullptr, 0, nullptr,
                              nullptr, &database_);
  if (result != ENGINE_OK) {
    database_ = nullptr;
    ReportBdeErrorDetail(result);
    PostQuitMessage(0);
  }
}

bool ZarneFixApp::CanClose() {
  bool answer = TApplication::CanClose();
  // The engine ends only when the program really closes, and only once.
  if (answer && engineStarted_) {
    if (database_) ReportBdeErrorDetail(EngineCloseDatabase(&database_));
    database_ = nullptr;
    ReportBdeErrorDetail(EngineExit());
    engineStarted_ = false;
  }
  return answer;
}

void ZarneFixApp::CmHelpAbout() {
  ZarneFixAboutDlg(GetMainWindow(), TResId(kAboutDialog)).Execute();
}
