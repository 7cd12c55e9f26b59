/*
** Fuzz target: saved grid configurations applied to a grid, as a dialog's script text (the
** first byte even) or as compiled resource data bounded by its size (odd). Every answer is
** one of the readers' result codes. A text the reader accepted is saved again, loaded into
** a fresh grid and saved once more: the grid keeps its column count and the two saved texts
** are the same, so what the writer writes the reader reads back unchanged.
*/
#include "fuzz/fuzz_support.h"
#include "fuzz/small_block_checking.h"  // an input releases some 15 KB
#include "grid/configurations.h"
#include "grid/tessel.h"
#include "platform/kernel/kernel.h"
#include "platform/user/winuser.h"

#include <cstring>
#include <string>

namespace {

HWND Parent() {
  static HWND parent = [] {
    // The window system first: the library's attach loads its cursors.
    HWND made = CreateWindow("static", "Parent", WS_OVERLAPPED, 0, 0, 600, 400, nullptr, nullptr,
                             nullptr, nullptr);
    FuzzRequire(LoadLibrary("vgrd32.dll") != nullptr, "the grid library loads");
    return made;
  }();
  return parent;
}

HWND MakeGrid() {
  return CreateWindow("Tessel", "", WS_CHILD | TSS_HGRID | TSS_VGRID, 0, 0, 400, 200, Parent(),
                      reinterpret_cast<HMENU>(static_cast<intptr_t>(200)), nullptr, nullptr);
}

/* The grid's configuration under the name "Fuzz", as the Save dialog writes it. */
std::string SavedText(HWND grid) {
  HGLOBAL buffer = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1);
  FuzzRequire(buffer != nullptr, "a save buffer");
  int result = DlgBuffSaveTessel(buffer, "Fuzz", grid);
  std::string text;
  if (result == TSCFG_DONE) {
    const char* bytes = static_cast<const char*>(GlobalLock(buffer));
    text.assign(bytes, strnlen(bytes, GlobalSize(buffer)));
    GlobalUnlock(buffer);
  }
  GlobalFree(buffer);
  FuzzRequire(result == TSCFG_DONE || result == TSCFG_NOMEMORY, "a grid saves");
  return text;
}

void CheckRoundTrip(HWND grid) {
  std::string first = SavedText(grid);
  if (first.empty()) return;
  // A saved style of 0 means "keep the grid's own", so the copy starts with the grid's style.
  HWND copy = MakeGrid();
  SendMessage(copy, TSM_SETSTYLE, 0, SendMessage(grid, TSM_GETSTYLE, 0, 0));
  HGLOBAL buffer = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, first.size() + 1);
  std::memcpy(GlobalLock(buffer), first.c_str(), first.size() + 1);
  GlobalUnlock(buffer);
  int loaded = DlgBuffLoadTessel(buffer, "Fuzz", copy);
  GlobalFree(buffer);
  LRESULT columns = SendMessage(grid, TSM_GETCOLCOUNT, 0, 0);
  // A grid without columns saves a count of 0, which loads as unparsable by design.
  if (columns > 0) {
    FuzzRequire(loaded == TSCFG_DONE, "what the writer wrote loads");
    FuzzRequire(SendMessage(copy, TSM_GETCOLCOUNT, 0, 0) == columns, "the column count survives");
    FuzzRequire(SavedText(copy) == first, "a loaded configuration saves as it was saved");
  }
  DestroyWindow(copy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  HWND grid = MakeGrid();
  FuzzRequire(grid != nullptr, "a grid is made");
  const bool compiled = (data[0] & 1) != 0;
  if (compiled) {
    int result = ReadConfigResource(data + 1, size - 1, grid);
    FuzzRequire(result >= TSCFG_DONE && result <= TSCFG_BADNAME, "a result code of the reader");
  } else {
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    int result = ReadConfigText(text.c_str(), text.c_str() + std::strlen(text.c_str()), grid);
    FuzzRequire(result >= TSCFG_DONE && result <= TSCFG_BADNAME, "a result code of the reader");
    if (result == TSCFG_DONE) CheckRoundTrip(grid);
  }
  DestroyWindow(grid);
  // What the program's loop does between inputs: deferred deletions run there.
  MSG pending;
  while (PeekMessage(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&pending);
  return 0;
}
