/*
** Synthetic keyboard and mouse input for tests, delivered as real Qt events to the widgets
** behind the windows, so that it takes the whole road: Qt event, queued window message,
** window procedure, default processing. Each call dispatches the resulting messages before
** it returns.
*/
#ifndef ZARNE_PLATFORM_TESTING_SYNTHETIC_INPUT_H
#define ZARNE_PLATFORM_TESTING_SYNTHETIC_INPUT_H

#include "platform/kernel/wintypes.h"

#include <Qt>

#include <string>

/* Mouse at a point of a window's client area (client coordinates). */
void MouseDown(HWND hwnd, int x, int y, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void MouseUp(HWND hwnd, int x, int y, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void MouseMove(HWND hwnd, int x, int y, Qt::MouseButtons held = Qt::NoButton);
void Click(HWND hwnd, int x, int y, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/* Press, release, then the second press Qt reports as a double click, and its release. */
void DoubleClick(HWND hwnd, int x, int y, Qt::MouseButton button = Qt::LeftButton);
/* The wheel turned at a point of a window's client area, delivered to the widget there:
** positive notches away from the user (up), negative towards (down). */
void Wheel(HWND hwnd, int x, int y, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/* A click at a point of the whole window (window coordinates: its border, caption and scroll
** bars included), delivered to the widget that is there. */
void ClickWindowPart(HWND hwnd, int x, int y);
void PressWindowPart(HWND hwnd, int x, int y);
void DragWindowPart(HWND hwnd, int x, int y);
void ReleaseWindowPart(HWND hwnd, int x, int y);

/* A key pressed and released at the focus window; `virtualKey` as on the original platform. */
void PressKey(int virtualKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void KeyDown(int virtualKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void KeyUp(int virtualKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/* Types each character of Windows-1252 text as its key. */
void TypeText(const std::string& text);

#endif
