/*
** Support for the menu, accelerator and MDI tests: real Qt key events queued for the
** focus window without being dispatched, and the application's own message loop that
** offers each message to the accelerator translators first, as a program's main loop does.
*/
#ifndef ZARNE_PLATFORM_USER_TESTS_DIALOGS_MENU_TEST_SUPPORT_H
#define ZARNE_PLATFORM_USER_TESTS_DIALOGS_MENU_TEST_SUPPORT_H

#include "platform/user/key_mapping.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"
#include "platform/user/winuser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <functional>

/* Presses and releases a key at the focus window through Qt; the key messages wait in the
** queue for the test's own loop. */
inline void QueueKeyPress(int virtualKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  HWND focus = GetFocus() ? GetFocus() : GetActiveWindow();
  WindowPtr window = FindWindowObject(focus);
  ASSERT_TRUE(window) << "no focus window to type into";
  QWidget* target = window->focusTarget ? window->focusTarget.data()
                                        : static_cast<QWidget*>(window->clientWidget.data());
  int qtKey = QtKeyFromVirtualKey(virtualKey);
  // The text a desktop reports with the key (none with Alt: that becomes WM_SYSCHAR).
  int ch = CharFromVirtualKey(virtualKey, modifiers & Qt::ShiftModifier,
                              modifiers & Qt::ControlModifier, false);
  QString text = ch && !(modifiers & Qt::AltModifier) ? QString(QChar(ch)) : QString();
  QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
  QApplication::sendEvent(target, &release);
}

/* Runs the program's loop until the queue is empty: `translate` answers true for a message
** it consumed; the rest are translated and dispatched. */
inline void RunApplicationLoop(const std::function<bool(MSG&)>& translate) {
  MSG msg;
  for (int guard = 0; guard < 1000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
    if (translate && translate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

#endif
