/*
** Inside the MDI: the state of each MDI client and the operations the client procedure,
** the frame and child default procedures and the arranging code share.
*/
#ifndef ZARNE_PLATFORM_USER_MDI_INTERNAL_H
#define ZARNE_PLATFORM_USER_MDI_INTERNAL_H

#include "platform/kernel/wintypes.h"

#include <string>
#include <vector>

struct MdiClientState {
  HWND client = nullptr;
  HWND frame = nullptr;
  HMENU windowMenu = nullptr;
  UINT idFirstChild = 0;
  std::vector<HWND> created;     // creation order, the earliest first
  std::vector<HWND> activation;  // the most recently active first
  HWND active = nullptr;
  std::string frameTitle;       // the frame's own title, without " - [child]"
  bool separatorAdded = false;  // the window menu holds our separator
  bool composingTitle = false;  // the frame title is being set by us
  bool titleComposed = false;   // the frame shows " - [child]" now
};

/* The state of an MDI client; NULL for any other window. */
MdiClientState* FindMdiClient(HWND client);
/* The state of the client a child belongs to; NULL when hwnd is no MDI child. */
MdiClientState* MdiClientOfChild(HWND child);

void MdiActivate(MdiClientState& state, HWND child);
/* The child leaves the client's lists; another becomes active when it was. */
void MdiForgetChild(MdiClientState& state, HWND child);
/* The frame's title with or without the maximized child's. */
void MdiUpdateFrameTitle(MdiClientState& state);
void MdiRefreshWindowMenu(MdiClientState& state);
/* Puts the client's child list back in creation order and stacks the active child on top. */
void MdiRestoreChildOrder(MdiClientState& state);

BOOL MdiCascade(MdiClientState& state, UINT flags);
BOOL MdiTile(MdiClientState& state, UINT flags);
BOOL MdiArrangeIcons(MdiClientState& state);

#endif
