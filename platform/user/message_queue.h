/*
** Messages: sending (a direct, re-entrant call of the window procedure), posting through the
** program's queue, the message loop over Qt's event loop, nested modal loops, registered
** messages and timers.
*/
#ifndef ZARNE_PLATFORM_USER_MESSAGE_QUEUE_H
#define ZARNE_PLATFORM_USER_MESSAGE_QUEUE_H

#include "platform/user/window_messages.h"
#include "platform/user/window_types.h"

#include <functional>

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

#define PM_NOREMOVE 0x0000
#define PM_REMOVE   0x0001
#define PM_NOYIELD  0x0002

/* Waits for the next message; FALSE when it is WM_QUIT, -1 for a bad window filter. */
BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);

/* Messages named by a string share one number per name, from 0xC000 up. */
UINT RegisterWindowMessage(LPCSTR name);
#define RegisterWindowMessageA RegisterWindowMessage

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

/*
** A nested modal loop, for dialog boxes, message boxes and menus: it runs until *finished
** becomes true or WM_QUIT arrives (which is then posted again for the outer loop).
** Each time the queue runs empty, idleOwner (when set) gets WM_ENTERIDLE with idleCode and
** idleSource. preTranslate sees each message first and answers true when it handled it
** (as the dialog manager's keyboard handling does). Answers false when WM_QUIT ended it.
*/
struct ModalLoop {
  HWND idleOwner = nullptr;
  WPARAM idleCode = MSGF_DIALOGBOX;
  HWND idleSource = nullptr;
  std::function<bool(MSG&)> preTranslate;
};
bool RunModalLoop(const ModalLoop& loop, const bool* finished);

/* Dispatches every queued message and pending paint without waiting; for tests and for
** callers that must see the effects of posted work before going on. */
void ProcessPendingMessages();

#endif
