/*
** TZarneDecoratedMDIFrame: the main window, a decorated MDI frame with the menu, the
** accelerators and the control bar of picture buttons. While the menu or a modal dialog
** waits it gives the database engine its idle work.
*/
#ifndef ZARNE_SHELL_ZARNE_FRAME_H
#define ZARNE_SHELL_ZARNE_FRAME_H

#include "platform/framework/mdi.h"

class TControlBar;

class TZarneDecoratedMDIFrame : public TDecoratedMDIFrame {
 public:
  TZarneDecoratedMDIFrame(const char* title, TResId menuResId, TMDIClient& client);
  ~TZarneDecoratedMDIFrame() override;

  /* The horizontal bar of picture buttons along the top. */
  void BuildControlBar();
  TControlBar* GetControlBar() const { return controlBar_; }

  void EvEnterIdle(UINT source, HWND hWndDlg) override;
  /* Another copy's show request arrives as a system command; until start-up has shown the
     frame it is refused, so no one sees a frame whose tables are not open yet. */
  void EvSysCommand(UINT cmdType, TPoint& point) override;

 private:
  TControlBar* controlBar_ = nullptr;

  DECLARE_RESPONSE_TABLE(TZarneDecoratedMDIFrame);
};

#endif
