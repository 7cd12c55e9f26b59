// Loading and unloading the grid library: its four classes come with the load and go with
// the last free, so the library can be loaded again in one process.
#include "grid/library_state.h"
#include "grid/tessel.h"
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"

namespace {

using Library = GuiTest;

bool ClassKnown(const char* name, WNDCLASS* record = nullptr) {
  WNDCLASS scratch{};
  return GetClassInfo(nullptr, name, record ? record : &scratch) != FALSE;
}

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(window, message, wParam, lParam);
}

}  // namespace

TEST_F(Library, LoadingRegistersTheFourClassesAndFreeingRemovesThem) {
  ASSERT_FALSE(ClassKnown("Tessel"));
  HMODULE library = LoadLibrary("vgrd32.dll");
  ASSERT_NE(library, nullptr);

  WNDCLASS grid{};
  ASSERT_TRUE(ClassKnown("Tessel", &grid));
  EXPECT_EQ(grid.style, 0x402Bu);  // global, own DC, double clicks, both redraws
  EXPECT_EQ(grid.cbWndExtra, 4);
  EXPECT_EQ(grid.hbrBackground, nullptr);
  EXPECT_EQ(grid.hInstance, library);
  EXPECT_EQ(reinterpret_cast<void*>(grid.lpfnWndProc),
            reinterpret_cast<void*>(GetProcAddress(library, "TesselWndFn")));

  WNDCLASS edit{};
  ASSERT_TRUE(ClassKnown("edit", &edit));
  for (const char* name : {"tsedit", "tsComboBox"}) {
    WNDCLASS editor{};
    ASSERT_TRUE(ClassKnown(name, &editor)) << name;
    EXPECT_NE(editor.style & CS_GLOBALCLASS, 0u) << name;
    EXPECT_EQ(editor.style & CS_PARENTDC, 0u) << name;
    EXPECT_EQ(editor.cbWndExtra, edit.cbWndExtra) << name;
  }
  WNDCLASS stash{};
  ASSERT_TRUE(ClassKnown("TSStash", &stash));
  EXPECT_EQ(stash.cbWndExtra, 24);

  // The library's own pictures load from its module.
  EXPECT_NE(LoadIcon(library, "TesselIcon"), nullptr);
  for (const char* cursor :
       {"ColResizeCursor", "RowResizeCursor", "ColSetupCursor", "ToolBarCursor"})
    EXPECT_NE(LoadCursor(library, cursor), nullptr) << cursor;
  HBITMAP toolBar = LoadBitmap(library, "ToolBarBitmap");
  ASSERT_NE(toolBar, nullptr);
  BITMAP picture{};
  ASSERT_NE(GetObject(toolBar, sizeof picture, &picture), 0);
  EXPECT_EQ(picture.bmWidth, 64);
  EXPECT_EQ(picture.bmHeight, 16);
  DeleteObject(toolBar);

  ASSERT_TRUE(FreeLibrary(library));
  for (const char* name : {"Tessel", "tsedit", "tsComboBox", "TSStash"})
    EXPECT_FALSE(ClassKnown(name)) << name;

  // A second load in the same process registers everything again.
  library = LoadLibrary("vgrd32.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_TRUE(ClassKnown("Tessel"));
  EXPECT_TRUE(ClassKnown("TSStash"));
  auto loadLib = reinterpret_cast<int (*)()>(GetProcAddress(library, "TesselLoadLib"));
  ASSERT_NE(loadLib, nullptr);
  EXPECT_EQ(loadLib(), 37);
  ASSERT_TRUE(FreeLibrary(library));
}

TEST_F(Library, AGridCreatedFromTheClassNameGetsTheGridProcedure) {
  HMODULE library = LoadLibrary("vgrd32.dll");
  ASSERT_NE(library, nullptr);
  HWND parent =
      CreateWindow("static", "", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  HWND grid = CreateWindow("Tessel", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 50, parent,
                           reinterpret_cast<HMENU>(7), nullptr, nullptr);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(GetWindowLongPtr(grid, GWL_WNDPROC),
            reinterpret_cast<LONG_PTR>(GetProcAddress(library, "TesselWndFn")));
  DestroyWindow(parent);
  ASSERT_TRUE(FreeLibrary(library));
}

TEST_F(Library, AGlobalTesselClassAlreadyRegisteredFailsTheLoadAndSurvivesIt) {
  WNDCLASS foreign{};
  foreign.style = CS_GLOBALCLASS;
  foreign.lpfnWndProc = PlainProc;
  foreign.lpszClassName = "Tessel";
  ASSERT_NE(RegisterClass(&foreign), 0);

  EXPECT_EQ(LoadLibrary("vgrd32.dll"), nullptr);
  WNDCLASS still{};
  ASSERT_TRUE(ClassKnown("Tessel", &still));
  EXPECT_EQ(reinterpret_cast<void*>(still.lpfnWndProc), reinterpret_cast<void*>(&PlainProc));
  EXPECT_FALSE(ClassKnown("tsedit"));  // nothing half-registered is left behind

  ASSERT_TRUE(UnregisterClass("Tessel", nullptr));
  HMODULE library = LoadLibrary("vgrd32.dll");
  ASSERT_NE(library, nullptr);
  ASSERT_TRUE(FreeLibrary(library));
}

TEST_F(Library, WepReleasesOnceAndTheLaterUnloadIsHarmless) {
  HMODULE library = LoadLibrary("vgrd32.dll");
  ASSERT_NE(library, nullptr);
  auto wep = reinterpret_cast<int (*)(int)>(GetProcAddress(library, "WEP"));
  ASSERT_NE(wep, nullptr);
  EXPECT_EQ(wep(0), 0);
  EXPECT_FALSE(ClassKnown("Tessel"));
  EXPECT_EQ(wep(0), 0);  // a second release finds nothing to free
  ASSERT_TRUE(FreeLibrary(library));
  library = LoadLibrary("vgrd32.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_TRUE(ClassKnown("Tessel"));
  ASSERT_TRUE(FreeLibrary(library));
}

TEST_F(Library, TheStyleNameSwitchDefaultsToNoOnThisVersionAndFollowsWinIni) {
  // The platform reports 4.0; the default is "Y" only from 3.10 on in both parts.
  HMODULE library = LoadLibrary("vgrd32.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_FALSE(gWriteStyleNames);
  EXPECT_TRUE(gWritePrivStyle);
  ASSERT_TRUE(FreeLibrary(library));
  WriteProfileString("Tessel", "RCVersion31", "yes");
  WriteProfileString("Tessel", "WritePrivStyle", "n");
  library = LoadLibrary("vgrd32.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_TRUE(gWriteStyleNames);
  EXPECT_FALSE(gWritePrivStyle);
  ASSERT_TRUE(FreeLibrary(library));
}
