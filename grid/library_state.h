/*
** The grid library's process-wide state, set when the library attaches and released when
** it detaches: its module, the shared drawing objects and cursors, the registered
** notification message, the dialog base units and the win.ini switches.
*/
#ifndef ZARNE_GRID_LIBRARY_STATE_H
#define ZARNE_GRID_LIBRARY_STATE_H

#include "platform/gdi/gdi.h"
#include "platform/kernel/kernel.h"
#include "platform/user/winuser.h"

// Owner: grid.
extern HINSTANCE gTesselModule;
extern HPEN gLightPen;  // 0xC0C0C0, the light 3-D edge of headings and row buttons
extern HPEN gDarkPen;   // 0x808080, their dark edge
extern HPEN gWhitePen;
extern HPEN gBlackPen;
extern HPEN gFramePen;  // the black pen again, kept for frames
extern HBRUSH gLightGreyBrush;
extern HCURSOR gArrowCursor;
extern HICON gTesselIcon;
extern HCURSOR gColResizeCursor;
extern HCURSOR gRowResizeCursor;
extern HCURSOR gColSetupCursor;
extern HCURSOR gToolBarCursor;
extern HBITMAP gToolBarBitmap;
extern UINT gCustCntlNotify;
extern int gBaseUnitX;
extern int gBaseUnitY;
extern int gCaptionButtonWidth;
extern int gCaptionButtonHeight;
extern BOOL gWriteStyleNames;
extern BOOL gWritePrivStyle;
extern WNDPROC gEditClassProc;

/* Attach steps 1 to 4; FALSE when a class cannot be registered (what was registered is
   undone, so a later load can try again). */
BOOL AttachTesselLibrary(HINSTANCE module);
/* Releases the shared objects once (handles nulled) and unregisters the four classes. */
void ReleaseLibraryObjects();

#endif
