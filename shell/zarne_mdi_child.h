/*
** ZarneMDIChild: the MDI child that holds one open closing file's statement window, titled
** with the file number. It starts as wide as the frame's client area allows, at most 640
** pixels, and 74 pixels less high than that area.
*/
#ifndef ZARNE_SHELL_ZARNE_MDI_CHILD_H
#define ZARNE_SHELL_ZARNE_MDI_CHILD_H

#include "platform/framework/mdi.h"

class ZarneMDIChild : public TMDIChild {
 public:
  ZarneMDIChild(TMDIClient& client, const char* title, TWindow* view);
  ~ZarneMDIChild() override;
};

/* The starting size of a child in a client area of that size. */
TSize InitialChildSize(const TRect& clientArea);

#endif
