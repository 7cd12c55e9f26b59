/*
** Window classes of a library go with its last FreeLibrary when no window uses them, so the
** library can be loaded again in the same process and register them afresh.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/kernel/modules.h"

using ModuleClasses = WindowTest;

namespace {

HWND MakeModuleWindow(HMODULE module) {
  return CreateWindow("ModuleClass", "", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, module, nullptr);
}

}  // namespace

TEST_F(ModuleClasses, LoadFreeLoadOfALibraryThatRegistersAClass) {
  HMODULE module = LoadLibrary("user_test_class_module.dll");
  ASSERT_NE(module, nullptr);
  HWND window = MakeModuleWindow(module);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessage(window, WM_USER + 7, 0, 0), 4242);
  DestroyWindow(window);
  EXPECT_TRUE(FreeLibrary(module));
  WNDCLASS info{};
  EXPECT_FALSE(GetClassInfo(module, "ModuleClass", &info));  // gone with the library

  module = LoadLibrary("user_test_class_module.dll");
  ASSERT_NE(module, nullptr) << "the second attach could not register its class";
  window = MakeModuleWindow(module);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessage(window, WM_USER + 7, 0, 0), 4242);
  DestroyWindow(window);
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModuleClasses, AClassStillInUseStaysAndAnotherModulesClassesAreLeftAlone) {
  WNDCLASS own{};
  own.lpfnWndProc = DefWindowProc;
  own.hInstance = GetModuleHandle(nullptr);
  own.lpszClassName = "ProgramsOwnClass";
  ASSERT_NE(RegisterClass(&own), 0);
  HMODULE module = LoadLibrary("user_test_class_module.dll");
  ASSERT_NE(module, nullptr);
  HWND window = MakeModuleWindow(module);
  ASSERT_NE(window, nullptr);
  // A second reference: the first FreeLibrary is not the last.
  ASSERT_EQ(LoadLibrary("user_test_class_module.dll"), module);
  EXPECT_TRUE(FreeLibrary(module));
  WNDCLASS info{};
  EXPECT_TRUE(GetClassInfo(module, "ModuleClass", &info));
  DestroyWindow(window);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_FALSE(GetClassInfo(module, "ModuleClass", &info));
  EXPECT_TRUE(GetClassInfo(GetModuleHandle(nullptr), "ProgramsOwnClass", &info));
  EXPECT_TRUE(UnregisterClass("ProgramsOwnClass", GetModuleHandle(nullptr)));
}
