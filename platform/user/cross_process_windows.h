/*
** Inside the window manager: how the window calls reach the top-level windows of other
** programs built on the platform (published through platform/dde), and how this
** program's own top-level windows are published and answer those programs' requests.
** Only platform/user includes this header.
*/
#ifndef ZARNE_PLATFORM_USER_CROSS_PROCESS_WINDOWS_H
#define ZARNE_PLATFORM_USER_CROSS_PROCESS_WINDOWS_H

#include "platform/user/window_types.h"

/* Publishes a new top-level window and keeps its published title current. */
void PublishTopLevel(HWND hwnd);
/* Publishes a top-level window's visible, maximized and minimized state again after a change. */
void RepublishTopLevel(HWND hwnd);
void UnpublishTopLevel(HWND hwnd);

/* Held while a message is dispatched: the changes it makes to the published windows (a
** dialog hidden and destroyed, the window it opens retitling the frame) are written once,
** when the outermost hold ends, or earlier when any event loop is about to wait meanwhile
** (a modal loop waiting for input shows the list as it is). */
class PublicationHold {
 public:
  PublicationHold();
  ~PublicationHold();
  PublicationHold(const PublicationHold&) = delete;
  PublicationHold& operator=(const PublicationHold&) = delete;
};

bool IsOtherProgramsWindow(HWND hwnd);
/* After this program's own windows: the other programs' ones; FALSE when proc stopped. */
BOOL EnumOtherProgramsWindows(WNDENUMPROC proc, LPARAM lParam);
HWND FindOtherProgramsWindow(LPCSTR className, LPCSTR windowName);
int OtherProgramsWindowText(HWND hwnd, LPSTR buffer, int size);
int OtherProgramsWindowTextLength(HWND hwnd);
int OtherProgramsClassName(HWND hwnd, LPSTR buffer, int size);
BOOL OtherProgramsWindowExists(HWND hwnd);
/* The state its program last published; all false when the window is gone. */
BOOL OtherProgramsWindowVisible(HWND hwnd);
BOOL OtherProgramsWindowZoomed(HWND hwnd);
BOOL OtherProgramsWindowIconic(HWND hwnd);
/* Asks the owning program to show the window (SW_* command) or bring it to the foreground.
** The owner receives a show request as a posted WM_SYSCOMMAND its window procedure may
** ignore (a program still starting does). */
BOOL AskOtherProgramsWindow(HWND hwnd, int command);
BOOL ActivateOtherProgramsWindow(HWND hwnd);

#endif
