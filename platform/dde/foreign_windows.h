/*
** Top-level windows across programs: each program built on the platform publishes the
** class and title of its top-level windows in the runtime directory, so that another
** program's window enumeration sees them (a second copy finds the first one's main window
** this way), and it can be asked to activate or show one of them.
**
** A program's list is guarded by a lock it holds while it lives; a list whose lock nobody
** holds belongs to a program that died and is removed by the next reader, so it never
** fools anyone. Requests reach the owning program through its socket and are handed to
** its request handler on its GUI thread.
*/
#ifndef ZARNE_PLATFORM_DDE_FOREIGN_WINDOWS_H
#define ZARNE_PLATFORM_DDE_FOREIGN_WINDOWS_H

#include "platform/kernel/wintypes.h"

#include <functional>
#include <string>
#include <vector>

/* The command of a request to activate a window (bring it to the foreground); any other
   command is a show command (SW_RESTORE, ...) passed on as it came. */
constexpr int kForeignActivate = -1;

/* What a program shows of one of its top-level windows. */
struct ForeignWindowState {
  bool visible = false;
  bool maximized = false;
  bool minimized = false;
  bool operator==(const ForeignWindowState&) const = default;
};

struct ForeignWindow {
  HWND hwnd = nullptr;  // a handle of this process's own, standing for the other's window
  std::string className;
  std::string title;
  ForeignWindowState state;
};

/* This program's side. Publishing again updates the class, title and state. */
void PublishTopLevelWindow(HWND local, const std::string& className, const std::string& title,
                           ForeignWindowState state = {});
void UnpublishTopLevelWindow(HWND local);
/* While held (holds nest), changes to this program's list are kept and written once, when
   the last hold ends or FlushWindowList is called: a burst of changes (a dialog's end and
   the window it opens) costs one rewrite of the list file. Whoever holds it flushes before
   the program waits for input or speaks to another program, so the list on disk is never
   behind while anyone else can be looking. */
void HoldWindowListWrites();
void ReleaseWindowListWrites();
void FlushWindowList();
/* Receives the requests other programs make of this program's published windows. */
void SetForeignWindowRequestHandler(std::function<void(HWND local, int command)> handler);

/* Other programs' windows, in the order their programs published them. */
std::vector<ForeignWindow> ListForeignWindows();
bool IsForeignWindow(HWND hwnd);
/* The window's current class and title; false when its program or the window is gone. */
bool FindForeignWindow(HWND hwnd, ForeignWindow* found);
/* Asks the owning program to activate (kForeignActivate) or show the window; true when the
   request was delivered. */
bool AskForeignWindow(HWND hwnd, int command);

#endif
