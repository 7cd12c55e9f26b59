/*
** TZarneDecoratedMDIFrame: the main window, a decorated MDI frame with the menu, the
** accelerators and the control bar of picture buttons. While the menu or a modal dialog
** waits it gives the database engine its idle work. It holds the DDE service's state: its
** set-up starts the service and its destructor ends it (shell/dde_server.h).
*/
#ifndef ZARNE_SHELL_ZARNE_FRAME_H
#define ZARNE_SHELL_ZARNE_FRAME_H

#include "platform/dde/ddeml.h"
#include "platform/framework/mdi.h"

#include <string>
#include <vector>

class TControlBar;

class TZarneDecoratedMDIFrame : public TDecoratedMDIFrame {
 public:
  TZarneDecoratedMDIFrame(const char* title, TResId menuResId, TMDIClient& client);
  ~TZarneDecoratedMDIFrame() override;

  /* The base set-up, then the DDE service. */
  void SetupWindow() override;

  /* The horizontal bar of picture buttons along the top. */
  void BuildControlBar();
  TControlBar* GetControlBar() const { return controlBar_; }

  void EvEnterIdle(UINT source, HWND hWndDlg) override;
  /* Another copy's show request arrives as a system command; until start-up has shown the
     frame it is refused, so no one sees a frame whose tables are not open yet. */
  void EvSysCommand(UINT cmdType, TPoint& point) override;

  /* The DDE callback of the service (shell/dde_server.cpp). */
  static HDDEDATA CALLBACK CallBack(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                    HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
  /* The statement's advise sink: a changed field's name, or null for every advised item. */
  static void PostFieldAdvise(TFrameWindow* frame, const char* name);

  /* DDE state: the instance (0 when not running), the advise links' count, the one
     conversation served, the names of service and topic, the callback and the advised
     item names (one entry per advise start, so a name may stand more than once). */
  DWORD ddeInstance = 0;
  LONG adviseCount = 0;
  HCONV ddeConversation = nullptr;
  HSZ ddeService = nullptr;
  HSZ ddeTopic = nullptr;
  PFNCALLBACK ddeCallback = nullptr;
  std::vector<std::string> adviseItems;

 private:
  TControlBar* controlBar_ = nullptr;

  DECLARE_RESPONSE_TABLE(TZarneDecoratedMDIFrame);
};

#endif
