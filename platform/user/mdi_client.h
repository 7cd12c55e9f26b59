/*
** The multiple-document interface: the "MDICLIENT" window class, the frame's and the
** children's default procedures, and the messages that create, activate, arrange and
** destroy MDI children.
**
** Order of the children. The client's child list (GetWindow(client, GW_CHILD), then
** GW_HWNDNEXT) keeps the order in which the children were created, the earliest first,
** whatever is activated, raised or cascaded later: the shell takes the first child of that
** walk as the earliest opened file. Which child is in front is tracked apart from that list:
** WM_MDIGETACTIVE answers the active child; the widgets are stacked so that the active child
** is drawn on top. WM_MDINEXT walks the same creation-order ring (wrapping at its ends).
**
** A maximized active child puts "<frame title> - [<child title>]" in the frame's title;
** the frame's own title comes back when no child is maximized any more. Activating another
** child while one is maximized maximizes the newly active one and restores the other.
**
** The window menu given in CLIENTCREATESTRUCT (or WM_MDISETMENU) lists the open children
** after a separator as "&1 <title>" ... "&9 <title>", in creation order, with ids from
** idFirstChild up; the active child is checked. A chosen entry activates its child
** (DefFrameProc). Child ids are renumbered so that they stay idFirstChild + position.
*/
#ifndef ZARNE_PLATFORM_USER_MDI_CLIENT_H
#define ZARNE_PLATFORM_USER_MDI_CLIENT_H

#include "platform/user/window_types.h"

typedef struct tagCLIENTCREATESTRUCT {
  HANDLE hWindowMenu;
  UINT idFirstChild;
} CLIENTCREATESTRUCT, *LPCLIENTCREATESTRUCT;

typedef struct tagMDICREATESTRUCT {
  LPCSTR szClass;
  LPCSTR szTitle;
  HANDLE hOwner;
  int x;
  int y;
  int cx;
  int cy;
  DWORD style;
  LPARAM lParam;
} MDICREATESTRUCT, MDICREATESTRUCTA, *LPMDICREATESTRUCT;

/* Client window style: children keep exactly the styles they were created with. */
#define MDIS_ALLCHILDSTYLES 0x0001

/* WM_MDITILE and WM_MDICASCADE */
#define MDITILE_VERTICAL     0x0000
#define MDITILE_HORIZONTAL   0x0001
#define MDITILE_SKIPDISABLED 0x0002
#define MDITILE_ZORDER       0x0004

/*
** Messages to the client (all answer 0 for a window that is not one of its children):
**   WM_MDICREATE (0, MDICREATESTRUCT*) -> the new child, NULL when it could not be made.
**     The child's WM_CREATE sees the MDICREATESTRUCT as lpCreateParams. The new child is
**     shown and activated; maximized when its style says so or the active child is.
**   WM_MDIDESTROY (child, 0) -> 0; the most recently active other child becomes active.
**   WM_MDIACTIVATE (child, 0) -> 0; the deactivated and the activated child each get
**     WM_MDIACTIVATE (deactivated, activated).
**   WM_MDIGETACTIVE (0, BOOL* maximized or NULL) -> the active child or NULL.
**   WM_MDINEXT (child or NULL for the active one, 0 next / nonzero previous) -> 0.
**   WM_MDICASCADE / WM_MDITILE (MDITILE_* flags) / WM_MDIICONARRANGE -> TRUE when a child
**     was arranged. Minimized children are left out of cascading and tiling.
**   WM_MDIMAXIMIZE / WM_MDIRESTORE (child, 0) -> 0.
**   WM_MDISETMENU (frame menu or NULL to keep, window menu or NULL to keep) -> the previous
**     frame menu. WM_MDIREFRESHMENU -> the frame menu.
*/

/* The frame's default procedure: sizes the client to the frame's client area, activates
** the child chosen from the window menu, keeps the maximized child's title in the frame's.
** Everything else is DefWindowProc's. */
LRESULT DefFrameProc(HWND frame, HWND client, UINT message, WPARAM wParam, LPARAM lParam);
/* The children's default procedure: closing asks the client to destroy the child, system
** commands go to the client, activation and maximizing keep the client's state. */
LRESULT DefMDIChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
/* Ctrl+F4 closes and Ctrl+F6 / Ctrl+Tab (with Shift: backwards) switch the active child;
** TRUE when the key message was one of these. */
BOOL TranslateMDISysAccel(HWND client, LPMSG msg);

/* Registers "MDICLIENT" among the system classes. */
void RegisterMdiClientClass();

#define DefFrameProcA    DefFrameProc
#define DefMDIChildProcA DefMDIChildProc

#endif
