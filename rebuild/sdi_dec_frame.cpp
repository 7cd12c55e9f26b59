/*
** The repair utility's frame and client.
*/
#include "rebuild/sdi_dec_frame.h"

ZarneFixWindow::ZarneFixWindow(TWindow* parent, const char* title, TModule* module)
    : TWindow(parent, title, module) {}

SDIDecFrame::SDIDecFrame(TWindow* parent, const char* title, TWindow* clientWnd,
                         bool trackMenuSelection, TModule* module)
    : TDecoratedFrame(parent, title, clientWnd ? clientWnd : new ZarneFixWindow(nullptr, ""),
                      trackMenuSelection, module) {}
