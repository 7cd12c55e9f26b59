/*
** For standard controls built on Qt widgets (edit now; buttons, lists and combo boxes
** later): the widget's own input is caught and queued as window messages, so the control's
** window procedure, and any subclass, sees it first; the class's default handling then hands
** the input back to the widget with ReplayToWidget.
*/
#ifndef ZARNE_PLATFORM_USER_CONTROL_INPUT_H
#define ZARNE_PLATFORM_USER_CONTROL_INPUT_H

#include "platform/user/window_types.h"

#include <Qt>

class QEvent;
class QWidget;

/* Routes the widget's keys and mouse input through the window's message queue. */
void InstallControlInput(HWND hwnd, QWidget* widget);
/* Delivers an event to the widget itself, past the routing above. */
void ReplayToWidget(QWidget* widget, QEvent* event);
/* Replays a mouse message (client coordinates in lParam, MK_ flags in wParam) to the widget. */
void ReplayMouseMessage(HWND hwnd, QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam);
/* True while a replay is being delivered: an event of it that the widget did not take and
   that Qt hands on to a parent is not new input. */
bool ReplayingInput();
/* Replays a key press with the modifiers GetKeyState reports now. */
void ReplayKeyPress(QWidget* widget, int qtKey);

#endif
