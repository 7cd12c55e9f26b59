/*
** Inside the message queue: what a queued message carries besides its MSG (the characters
** and key states of the real key event it came from), and the calls the window manager uses
** to queue input, ask for painting and wake the pump.
*/
#ifndef ZARNE_PLATFORM_USER_MESSAGE_QUEUE_INTERNAL_H
#define ZARNE_PLATFORM_USER_MESSAGE_QUEUE_INTERNAL_H

#include "platform/user/window_types.h"

#include <Qt>

#include <string>

struct QueuedMessage {
  MSG msg{};
  std::string chars;  // Windows-1252 characters the key event produced, for TranslateMessage
  int keyVk = 0;      // the key whose state this message changes when it is taken
  bool keyDown = false;
  bool hasInputState = false;  // modifiers and buttons below are a snapshot of that moment
  // A real key goes to the window that has the focus when it is taken, not when it was typed:
  // keys typed ahead while a dialog closes or a window takes the focus reach the new focus.
  bool keyboardInput = false;
  Qt::KeyboardModifiers modifiers;
  Qt::MouseButtons buttons;
};

void PostQueuedMessage(QueuedMessage message);
/* Where keyboard input goes now: the focus window, else the active window, else `fallback`. */
HWND KeyboardInputTarget(HWND fallback);
/* The window has a non-empty update region; WM_PAINT will come once the queue is empty. */
void RequestPaint(HWND hwnd);
/* Drops the window's queued messages and timers (it is being destroyed); keyboard input stays,
** for the focus window of the moment it is taken. */
void ForgetQueuedMessagesOf(HWND hwnd);
/* Applies the key and button states a taken message carried (input_state.cpp). */
void ApplyMessageInputState(const QueuedMessage& message);
/* Records a real key or button change as it happens (GetAsyncKeyState). */
void NoteAsyncKeyState(int virtualKey, bool down);
/* Timers (timers.cpp): a taken WM_TIMER lets its timer queue the next; a destroyed window's
** timers end. */
void NoteTimerMessageTaken(HWND hwnd, UINT_PTR id);
void KillWindowTimers(HWND hwnd);
/* Lets Qt take the window system's events (exposure, mapping) until done() holds or the time
** is up, without dispatching any queued message, user input or socket callback. */
void ProcessWindowSystemEventsUntil(bool (*done)(void*), void* context, int timeoutMs);

#endif
