// An ordinary program is no dialog editor: kind 0 for every grid, also for the window text
// that the last listed editor is told by, and no grid is ever stashed.
#include "grid/design_services.h"
#include "grid/tests/grid_fixture.h"

using RunTimeKind = GridTest;

TEST_F(RunTimeKind, GridsOfAnOrdinaryProgramAreRunTimeAndFreeTheirRecords) {
  HWND top = CreateWindow("static", "Top", WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr,
                          GetModuleHandle(nullptr), nullptr);
  HWND parent = CreateWindow("static", "", WS_CHILD, 0, 0, 200, 100, top, nullptr,
                             GetModuleHandle(nullptr), nullptr);
  HWND grid = CreateWindow("Tessel", "STDesignTessel", WS_CHILD, 0, 0, 100, 50, parent, nullptr,
                           GetModuleHandle(nullptr), nullptr);
  EXPECT_EQ(GetDesignHost(grid), 0);
  auto record = reinterpret_cast<HGLOBAL>(GetWindowLongPtr(grid, 0));
  ASSERT_NE(record, nullptr);
  DestroyWindow(grid);
  EXPECT_EQ(GlobalFlags(record), static_cast<UINT>(GMEM_INVALID_HANDLE));
  EXPECT_EQ(GetWindow(top, GW_CHILD), parent) << "no TSStash beside it";
  EXPECT_EQ(GetWindow(parent, GW_HWNDNEXT), nullptr);
  DestroyWindow(top);
}
