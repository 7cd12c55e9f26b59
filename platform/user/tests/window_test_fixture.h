/*
** The fixture of the window-manager tests: the GUI harness plus the recording classes.
*/
#ifndef ZARNE_PLATFORM_USER_TESTS_WINDOW_TEST_FIXTURE_H
#define ZARNE_PLATFORM_USER_TESTS_WINDOW_TEST_FIXTURE_H

#include "platform/testing/gui_test.h"
#include "platform/user/tests/recording_window.h"

class WindowTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    RegisterTestClasses();
    ResetLog();
  }
  void TearDown() override {
    Hook() = nullptr;
    GuiTest::TearDown();
    ResetLog();
  }
  HWND TopWindow(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, int w = 300, int h = 200) {
    return CreateWindow("TestWindow", "Top", style, 10, 10, w, h, nullptr, nullptr, nullptr,
                        nullptr);
  }
  HWND ChildWindow(HWND parent, int id, int x = 0, int y = 0, int w = 100, int h = 50,
                   DWORD style = WS_CHILD | WS_VISIBLE, LPCSTR cls = "TestWindow") {
    return CreateWindow(cls, "", style, x, y, w, h, parent,
                        reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }
};

#endif
