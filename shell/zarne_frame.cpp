/*
** The main frame: its set-up, its control bar and its idle work.
*/
#include "shell/zarne_frame.h"

#include "platform/engine/engine.h"
#include "platform/framework/control_bar.h"
#include "platform/user/window_messages.h"
#include "shell/dde_server.h"
#include "shell/shell_ids.h"
#include "shell/zarne_app.h"

namespace {

constexpr int kSeparatorUnits = 6;
constexpr int kGadgetFontPoints = 10;

/* The buttons in bar order; 0 stands for a separator. */
constexpr int kBarLayout[] = {
    CM_FILENEW,
    CM_FILEOPEN,
    CM_FILESAVE,
    CM_FILEMERGE,
    CM_FILEPRINT,
    0,
    CM_EDITCUT,
    CM_EDITCOPY,
    CM_EDITPASTE,
    0,
    CM_BUYERS,
    CM_SELLERS,
    CM_LENDER,
    0,
    CM_PROPERTY,
    CM_SCHEDULEA,
    CM_REQUIREMENTS,
    CM_EXCEPTIONS,
    0,
    CM_DISBURSE,
};

}  // namespace

TZarneDecoratedMDIFrame::TZarneDecoratedMDIFrame(const char* title, TResId menuResId,
                                                 TMDIClient& client)
    : TDecoratedMDIFrame(title, menuResId, client) {}

TZarneDecoratedMDIFrame::~TZarneDecoratedMDIFrame() { StopDdeServer(this); }

void TZarneDecoratedMDIFrame::SetupWindow() {
  TDecoratedMDIFrame::SetupWindow();
  StartDdeServer(this);
}

void TZarneDecoratedMDIFrame::BuildControlBar() {
  controlBar_ =
      new TControlBar(this, TControlBar::Horizontal, new TGadgetWindowFont(kGadgetFontPoints));
  for (int id : kBarLayout) {
    if (id == 0) controlBar_->Insert(*new TSeparatorGadget(kSeparatorUnits));
    else controlBar_->Insert(*new TButtonGadget(id, id));
  }
  Insert(*controlBar_, TDecoratedFrame::Top);
}

void TZarneDecoratedMDIFrame::EvEnterIdle(UINT source, HWND hWndDlg) {
  TDecoratedMDIFrame::EvEnterIdle(source, hWndDlg);
  EngineDoIdleWork();
}

void TZarneDecoratedMDIFrame::EvSysCommand(UINT cmdType, TPoint& point) {
  UINT command = cmdType & 0xFFF0;
  bool showRequest = command == SC_RESTORE || command == SC_MAXIMIZE || command == SC_MINIMIZE;
  auto* app = dynamic_cast<ZarneApp*>(GetApplication());
  if (showRequest && app && !app->StartedUp()) return;
  TDecoratedMDIFrame::EvSysCommand(cmdType, point);
}

DEFINE_RESPONSE_TABLE1(TZarneDecoratedMDIFrame, TDecoratedMDIFrame)
EV_WM_ENTERIDLE, EV_WM_SYSCOMMAND, END_RESPONSE_TABLE;
