/*
** The repair utility's frame: SDIDecFrame, a decorated single-document frame, and its plain
** client ZarneFixWindow.
*/
#ifndef ZARNE_REBUILD_SDI_DEC_FRAME_H
#define ZARNE_REBUILD_SDI_DEC_FRAME_H

#include "platform/framework/frame.h"

/* The empty client area; no behaviour of its own. */
class ZarneFixWindow : public TWindow {
 public:
  explicit ZarneFixWindow(TWindow* parent = nullptr, const char* title = "",
                          TModule* module = nullptr);
};

class SDIDecFrame : public TDecoratedFrame {
 public:
  /* Without a client a ZarneFixWindow with an empty title is made. */
  SDIDecFrame(TWindow* parent, const char* title, TWindow* clientWnd,
              bool trackMenuSelection = false, TModule* module = nullptr);
};

#endif
