/*
** The grid library's attach and detach: the shared pens, cursors, icon and bitmap, the
** notification message, the base units, the win.ini switches and the four window classes.
** Everything is released once and the handles nulled, so a library unloaded and loaded
** again in one process registers its classes afresh.
*/
#include "grid/library_state.h"

#include "grid/design_services.h"
#include "grid/tessel.h"

#include <cctype>

HINSTANCE gTesselModule = nullptr;
HPEN gLightPen = nullptr;
HPEN gDarkPen = nullptr;
HPEN gWhitePen = nullptr;
HPEN gBlackPen = nullptr;
HPEN gFramePen = nullptr;
HBRUSH gLightGreyBrush = nullptr;
HCURSOR gArrowCursor = nullptr;
HICON gTesselIcon = nullptr;
HCURSOR gColResizeCursor = nullptr;
HCURSOR gRowResizeCursor = nullptr;
HCURSOR gColSetupCursor = nullptr;
HCURSOR gToolBarCursor = nullptr;
HBITMAP gToolBarBitmap = nullptr;
UINT gCustCntlNotify = 0;
int gBaseUnitX = 8;
int gBaseUnitY = 16;
int gCaptionButtonWidth = 0;
int gCaptionButtonHeight = 0;
BOOL gWriteStyleNames = FALSE;
BOOL gWritePrivStyle = TRUE;
WNDPROC gEditClassProc = nullptr;

namespace {

const char* const kEditorClass = "tsedit";
const char* const kComboEditorClass = "tsComboBox";

// Which of the four classes this library registered, so a failed attach undoes only its own.
// Owner: grid.
bool gRegisteredTessel = false;
bool gRegisteredEditor = false;
bool gRegisteredComboEditor = false;
bool gRegisteredStash = false;

/* A "Y"/"N" switch of win.ini [Tessel]: its first character, upper-cased, is "Y". */
BOOL ReadTesselSwitch(const char* key, const char* defaultValue) {
  char value[8] = "";
  GetProfileString("Tessel", key, defaultValue, value, sizeof value);
  return std::toupper(static_cast<unsigned char>(value[0])) == 'Y';
}

/* "Y" only for a system version of at least 3.10 in both parts, as the rule was written;
   4.0 has a minor version below 10 and so defaults to "N". */
const char* StyleNamesDefault() {
  DWORD version = GetVersion();
  int major = LOBYTE(LOWORD(version));
  int minor = HIBYTE(LOWORD(version));
  return major >= 3 && minor >= 10 ? "Y" : "N";
}

void CreateSharedObjects(HINSTANCE module) {
  gLightPen = CreatePen(PS_SOLID, 0, RGB(0xC0, 0xC0, 0xC0));
  gDarkPen = CreatePen(PS_SOLID, 0, RGB(0x80, 0x80, 0x80));
  gWhitePen = static_cast<HPEN>(GetStockObject(WHITE_PEN));
  gBlackPen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  gFramePen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  gLightGreyBrush = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  gArrowCursor = LoadCursor(nullptr, IDC_ARROW);
  // A missing picture leaves its handle null; the grid draws and points without it.
  gTesselIcon = LoadIcon(module, "TesselIcon");
  gColResizeCursor = LoadCursor(module, "ColResizeCursor");
  gRowResizeCursor = LoadCursor(module, "RowResizeCursor");
  gColSetupCursor = LoadCursor(module, "ColSetupCursor");
  gToolBarCursor = LoadCursor(module, "ToolBarCursor");
  gToolBarBitmap = LoadBitmap(module, "ToolBarBitmap");
  gCustCntlNotify = RegisterWindowMessage("CUSTCNTL_NOTIFY");
  LONG units = GetDialogBaseUnits();
  gBaseUnitX = LOWORD(units);
  gBaseUnitY = HIWORD(units);
  gCaptionButtonWidth = GetSystemMetrics(SM_CXSIZE);
  gCaptionButtonHeight = GetSystemMetrics(SM_CYSIZE);
}

template <typename Handle, typename Release>
void ReleaseOnce(Handle& handle, Release release) {
  if (handle) release(handle);
  handle = nullptr;
}

void UnregisterOwnClasses() {
  if (gRegisteredStash) UnregisterClass(TESSEL_STASH_CLASS, gTesselModule);
  if (gRegisteredComboEditor) UnregisterClass(kComboEditorClass, gTesselModule);
  if (gRegisteredEditor) UnregisterClass(kEditorClass, gTesselModule);
  if (gRegisteredTessel) UnregisterClass(TESSEL_CLASS, gTesselModule);
  gRegisteredTessel = gRegisteredEditor = gRegisteredComboEditor = gRegisteredStash = false;
}

bool RegisterGridClass(HINSTANCE module) {
  WNDCLASS grid{};
  grid.style = CS_GLOBALCLASS | CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  grid.lpfnWndProc = TesselWndFn;
  grid.cbWndExtra = 4;
  grid.hInstance = module;
  grid.hCursor = gArrowCursor;
  grid.lpszClassName = TESSEL_CLASS;
  gRegisteredTessel = RegisterClass(&grid) != 0;
  return gRegisteredTessel;
}

/* An editor class built on the system edit class: its record, global, without CS_PARENTDC. */
bool RegisterEditorClass(HINSTANCE module, const char* name, WNDPROC proc, bool& registered) {
  WNDCLASS editor{};
  if (!GetClassInfo(nullptr, "edit", &editor)) return false;
  gEditClassProc = editor.lpfnWndProc;
  editor.style = (editor.style | CS_GLOBALCLASS) & ~static_cast<UINT>(CS_PARENTDC);
  editor.lpfnWndProc = proc;
  editor.hInstance = module;
  editor.lpszClassName = name;
  registered = RegisterClass(&editor) != 0;
  return registered;
}

}  // namespace

BOOL AttachTesselLibrary(HINSTANCE module) {
  gTesselModule = module;
  CreateSharedObjects(module);
  gWriteStyleNames = ReadTesselSwitch("RCVersion31", StyleNamesDefault());
  gWritePrivStyle = ReadTesselSwitch("WritePrivStyle", "Y");
  bool registered =
      RegisterGridClass(module) &&
      RegisterEditorClass(module, kEditorClass, NewEditProc, gRegisteredEditor) &&
      RegisterEditorClass(module, kComboEditorClass, ComboBoxEditProc, gRegisteredComboEditor) &&
      (gRegisteredStash = RegisterStashClass(module) != 0);
  if (!registered) {
    ReleaseLibraryObjects();
    return FALSE;
  }
  return TRUE;
}

void ReleaseLibraryObjects() {
  ReleaseOnce(gLightPen, [](HPEN pen) { DeleteObject(pen); });
  ReleaseOnce(gDarkPen, [](HPEN pen) { DeleteObject(pen); });
  ReleaseOnce(gTesselIcon, [](HICON icon) { DestroyIcon(icon); });
  ReleaseOnce(gColResizeCursor, [](HCURSOR cursor) { DestroyCursor(cursor); });
  ReleaseOnce(gRowResizeCursor, [](HCURSOR cursor) { DestroyCursor(cursor); });
  ReleaseOnce(gColSetupCursor, [](HCURSOR cursor) { DestroyCursor(cursor); });
  ReleaseOnce(gToolBarCursor, [](HCURSOR cursor) { DestroyCursor(cursor); });
  ReleaseOnce(gToolBarBitmap, [](HBITMAP bitmap) { DeleteObject(bitmap); });
  // Stock objects and the system arrow are not ours to release.
  gWhitePen = gBlackPen = gFramePen = nullptr;
  gLightGreyBrush = nullptr;
  gArrowCursor = nullptr;
  UnregisterOwnClasses();
}
