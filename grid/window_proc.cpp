/*
** TesselWndFn, the window procedure of class "Tessel": per-message locking of the grid's
** record, routing to the message dispatcher, and the standard window messages.
*/
#include "grid/attributes.h"
#include "grid/definitions.h"
#include "grid/design_mouse.h"
#include "grid/dropdown.h"
#include "grid/editing.h"
#include "grid/design_services.h"
#include "grid/input.h"
#include "grid/layout.h"
#include "grid/library_state.h"
#include "grid/message_dispatch.h"
#include "grid/painting.h"
#include "grid/record_blocks.h"
#include "grid/rows.h"
#include "grid/tessel.h"
#include "grid/tessel_lock.h"
#include "grid/virtual_rows.h"

#include <cstdio>

// Owner: grid.
HWND gDesignParent = nullptr;
HWND gDesignActivatedGrid = nullptr;

namespace {

bool IsCustomMessage(UINT message) {
  // The whole block up to +264 reaches the dispatcher, which answers -2 where it has no handler.
  return (message >= TSM_RESET && message <= TSM_RESET + 264) ||
         (gCustCntlNotify && message == gCustCntlNotify);
}

bool NeedsRecordLock(UINT message) {
  if (gCustCntlNotify && message == gCustCntlNotify) return false;
  if (IsCustomMessage(message)) return true;
  switch (message) {
    case WM_SIZE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETREDRAW:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
    case WM_MOUSEACTIVATE:
    case WM_WINDOWPOSCHANGING:
    case WM_SETFONT:
    case WM_GETFONT:
    case WM_NCCALCSIZE:
    case WM_GETDLGCODE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return true;
    default: return message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK;
  }
}

void ApplySavedConfiguration(HWND grid, const CREATESTRUCT* create) {
  char text[81] = "";
  GetWindowText(grid, text, sizeof text);
  HINSTANCE module = create ? create->hInstance : nullptr;
  if (SetupTessel(module, text, grid) == 0) return;
  char name[120];
  std::snprintf(name, sizeof name, "%sTessel%d", text,
                static_cast<int>(GetWindowLongPtr(grid, GWL_ID)));
  SetupTessel(module, name, grid);
}

LRESULT OnGridCreate(HWND grid, const CREATESTRUCT* create) {
  if (RestoreFromStash(grid)) return 0;
  HGLOBAL handle = AllocateTesselRecord();
  if (!handle) return -1;
  SetWindowLongPtr(grid, 0, reinterpret_cast<LONG_PTR>(handle));
  if (!LockTessel(grid)) {
    SetWindowLongPtr(grid, 0, 0);
    GlobalFree(handle);
    return -1;
  }
  TesselRecord* record = gLockedRecord;
  record->designMode = GetDesignHost(grid) != 0;
  record->fullHeight = create ? create->cy : 0;
  record->gridLineColor = RGB(0xC0, 0xC0, 0xC0);
  record->redrawOn = 1;
  record->notificationsOn = 1;
  record->selectedRow = -1;
  record->storedColors = TesselColors{TSCLR_DEFAULT, TSCLR_DEFAULT, TSCLR_DEFAULT, TSCLR_DEFAULT};
  SetGridColors(nullptr);
  UnlockTessel();
  gGridInCreation = grid;
  SendMessage(grid, TSM_SETSTYLE, 0, static_cast<LPARAM>(GetWindowLongPtr(grid, GWL_STYLE)));
  gGridInCreation = nullptr;
  SendMessage(grid, TSM_RESET, 0, 0);
  if (LockTessel(grid)) {
    // An automatic drop-down shows folded until it first gets the focus.
    if (gLockedRecord->autoDropDown && !gLockedRecord->designMode) {
      gLockedRecord->notificationsOn = 0;  // the owner hears of the grid first by TSN_CREATED
      DropDown(false);
      gLockedRecord->notificationsOn = 1;
    }
    NotifyParent(TSN_CREATED);
    bool design = gLockedRecord && gLockedRecord->designMode;
    UnlockTessel();
    if (design) gDesignParent = GetParent(grid);
    else ApplySavedConfiguration(grid, create);
  }
  return 0;
}

void NotifyDestroyedDirectly(HWND grid) {
  HWND target = NotificationTarget(grid);
  if (!target) return;
  WORD id = static_cast<WORD>(GetWindowLongPtr(grid, GWL_ID));
  SendMessage(target, WM_COMMAND, MAKEWPARAM(id, TSN_DESTROYED), reinterpret_cast<LPARAM>(grid));
}

LRESULT OnGridNcDestroy(HWND grid) {
  HWND focus = GetFocus();
  SendMessage(grid, TSM_EDIT, 3, 0);
  if (focus && focus != grid && IsWindow(focus)) SetFocus(focus);
  if (StashOnDestroy(grid)) return 0;
  HGLOBAL handle = reinterpret_cast<HGLOBAL>(GetWindowLongPtr(grid, 0));
  if (!handle) return 0;
  if (LockTessel(grid)) {
    NotifyParent(TSN_DESTROYED);
    UnlockTessel();
  } else {
    NotifyDestroyedDirectly(grid);
  }
  handle = reinterpret_cast<HGLOBAL>(GetWindowLongPtr(grid, 0));
  SetWindowLongPtr(grid, 0, 0);
  if (!handle) return 0;
  if (RecordHeldByAnyLevel(handle)) {
    // An outer message of this grid still works on the record: it frees it when it leaves.
    if (auto* record = static_cast<TesselRecord*>(BlockAddress(handle))) record->destroyPending = 1;
    return 0;
  }
  FreeTesselData(handle);
  return 0;
}

/* A virtual grid shows whole rows only: a height with a part row left over shrinks by it
   (the move this makes comes back as WM_SIZE and is let through). True when it shrank. */
bool ShrinkToWholeRows(int height) {
  TesselRecord* record = gLockedRecord;
  if (!(gCurrentStyle & TSS_VIRTUALMEM) || record->rowHeight <= 0 || record->resizeGuard)
    return false;
  int below = height - record->headingHeight;
  int remainder = below > 0 ? below % record->rowHeight : 0;
  if (remainder == 0) return false;
  HGLOBAL handle = gLockedHandle;
  RECT window{};
  GetWindowRect(gCurrentGrid, &window);
  POINT topLeft{window.left, window.top};
  HWND parent = GetParent(gCurrentGrid);
  if (parent && (gCurrentStyle & WS_CHILD)) ScreenToClient(parent, &topLeft);
  record->resizeGuard = 1;
  MoveWindow(gCurrentGrid, topLeft.x, topLeft.y, window.right - window.left,
             window.bottom - window.top - remainder, TRUE);
  if (GridStillLocked(handle)) gLockedRecord->resizeGuard = 0;
  return true;
}

void OnGridSize(int width, int height) {
  TesselRecord* record = gLockedRecord;
  if (ShrinkToWholeRows(height)) return;
  if (width == record->clientWidth && height == record->clientHeight) return;
  int oldWidth = record->clientWidth, oldHeight = record->clientHeight;
  RecalcLayout();
  HGLOBAL handle = gLockedHandle;
  FitVirtualBuffer();
  if (!GridStillLocked(handle)) return;
  record = gLockedRecord;
  if (!record->redrawOn) {
    record->paintDeferred = 1;
    return;
  }
  if (width > oldWidth) {
    RECT strip{oldWidth, 0, width, height};
    InvalidateRect(gCurrentGrid, &strip, FALSE);
  }
  if (height > oldHeight) {
    RECT strip{0, oldHeight, width, height};
    InvalidateRect(gCurrentGrid, &strip, FALSE);
  }
}

LRESULT OnSetRedraw(HWND grid, WPARAM on) {
  TesselRecord* record = gLockedRecord;
  if (!on) {
    // The platform's default processing turns drawing off: bring the window up to date first.
    if (record->redrawOn) UpdateWindow(grid);
    LRESULT result = DefWindowProc(grid, WM_SETREDRAW, on, 0);
    record->redrawOn = 0;
    record->paintDeferred = 0;
    return result;
  }
  LRESULT result = DefWindowProc(grid, WM_SETREDRAW, on, 0);
  record->redrawOn = 1;
  if (record->paintDeferred) {
    record->paintDeferred = 0;
    InvalidateRect(grid, nullptr, TRUE);
    if (!record->horizontalBar) SetScrollRange(grid, SB_HORZ, 0, 0, FALSE);
    if (!record->verticalBar) SetScrollRange(grid, SB_VERT, 0, 0, FALSE);
  }
  RecalcLayout();
  return result;
}

LRESULT OnSetFocus(HWND grid) {
  HGLOBAL handle = gLockedHandle;
  if (gLockedRecord->editing && IsWindow(gLockedRecord->editorWindow)) {
    SetFocus(gLockedRecord->editorWindow);
    return 0;
  }
  NotifyParent(TSN_SETFOCUS);
  if (!GridStillLocked(handle)) return 0;
  if (gLockedRecord->autoDropDown && !gLockedRecord->designMode && gLockedRecord->dropDownClosed) {
    DropDown(true);
    if (!GridStillLocked(handle)) return 0;
  }
  TesselRecord* record = gLockedRecord;
  if (record->dropDown) BringWindowToTop(grid);
  if (!record->focusDrawn) {
    UpdateWindow(grid);
    ToggleFocusMark();
    record->focusDrawn = 1;
  }
  return 0;
}

LRESULT OnKillFocus(HWND grid) {
  TesselRecord* record = gLockedRecord;
  EndMouseTracking();
  if (!record->designMode) ReleaseDesignMouse();
  if (record->focusDrawn) {
    ToggleFocusMark();
    record->focusDrawn = 0;
  }
  if (record->autoDropDown && !record->designMode && !record->dropDownClosed) {
    HGLOBAL handle = gLockedHandle;
    DropDown(false);
    if (!GridStillLocked(handle)) return 0;
    record = gLockedRecord;
  }
  if (!record->editing) NotifyParent(TSN_KILLFOCUS);
  return 0;
}

LRESULT OnSetFont(HWND grid, HFONT font, LPARAM redraw) {
  TesselRecord* record = gLockedRecord;
  // A font the grid made itself is its own to delete before it is replaced.
  if (record->font && record->ownFont && record->font != font) DeleteObject(record->font);
  record->font = font;
  record->ownFont = 0;
  RecalcLayout();
  {
    HGLOBAL handle = gLockedHandle;
    FitVirtualBuffer();
    if (!GridStillLocked(handle)) return 0;
    record = gLockedRecord;
  }
  if (record->dropDown && record->dropDownClosed) {
    HGLOBAL handle = gLockedHandle;
    DropDown(false);  // folded to the new row and heading heights
    if (!GridStillLocked(handle)) return 0;
    record = gLockedRecord;
  }
  if (redraw) {
    InvalidateRect(grid, nullptr, TRUE);
    UpdateWindow(grid);
  }
  return 0;
}

LRESULT OnEraseBackground(HWND grid, HDC dc, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  if (!record->redrawOn) return 0;
  if (record->gridColors.background == 0) return DefWindowProc(grid, WM_ERASEBKGND, wParam, lParam);
  RECT client;
  GetClientRect(grid, &client);
  HBRUSH brush = CreateSolidBrush(record->gridColors.background);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  return 1;
}

LRESULT OnEditorCommand(HWND grid, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  if (!record->notificationsOn) return 0;
  if (!record->editorWindow || reinterpret_cast<HWND>(lParam) != record->editorWindow)
    return DefWindowProc(grid, WM_COMMAND, wParam, lParam);
  switch (HIWORD(wParam)) {
    case EN_SETFOCUS: NotifyParent(TSN_SETFOCUS); break;
    case EN_KILLFOCUS: NotifyParent(TSN_KILLFOCUS); break;
    case EN_ERRSPACE:
      NotifyParentAt(TSN_ERRSPACE, record->currentRow, record->currentColumn);
      break;
    case EN_MAXTEXT: NotifyParentAt(TSN_MAXTEXT, record->currentRow, record->currentColumn); break;
    default: break;
  }
  return 0;
}

LRESULT TesselStdProc(HWND grid, UINT message, WPARAM wParam, LPARAM lParam, bool locked) {
  switch (message) {
    case WM_NCCREATE: {
      LRESULT result = DefWindowProc(grid, message, wParam, lParam);
      DWORD style = static_cast<DWORD>(GetWindowLongPtr(grid, GWL_STYLE));
      SetWindowLongPtr(grid, GWL_STYLE, static_cast<LONG_PTR>(NormalizeStyle(style)));
      return result;
    }
    case WM_CREATE: return OnGridCreate(grid, reinterpret_cast<const CREATESTRUCT*>(lParam));
    case WM_NCDESTROY: return OnGridNcDestroy(grid);
    default: break;
  }
  if (!locked) return DefWindowProc(grid, message, wParam, lParam);
  switch (message) {
    case WM_SIZE: OnGridSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_PAINT:
      if (gLockedRecord->designMode) gDesignParent = GetParent(grid);
      if (!gLockedRecord->redrawOn) {
        PAINTSTRUCT paint;
        BeginPaint(grid, &paint);
        EndPaint(grid, &paint);
        gLockedRecord->paintDeferred = 1;
        return 0;
      }
      PaintTessel();
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBackground(grid, reinterpret_cast<HDC>(wParam), wParam, lParam);
    case WM_SETREDRAW: return OnSetRedraw(grid, wParam);
    case WM_SETFOCUS: return OnSetFocus(grid);
    case WM_KILLFOCUS: return OnKillFocus(grid);
    case WM_MOUSEACTIVATE:
      if (GetDesignHost(grid) == 1) gDesignActivatedGrid = grid;
      return DefWindowProc(grid, message, wParam, lParam);
    case WM_SETFONT: return OnSetFont(grid, reinterpret_cast<HFONT>(wParam), lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(gLockedRecord->font);
    case WM_GETDLGCODE: {
      bool tabs = (gLockedRecord->exStyle & TSXS_TABCELLS) || (GetKeyState(VK_CONTROL) & 0x8000);
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (tabs ? DLGC_WANTTAB : 0);
    }
    case WM_COMMAND: return OnEditorCommand(grid, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (gLockedRecord->editing && gLockedRecord->editorBrush)
        return EditorColors(reinterpret_cast<HDC>(wParam));
      return DefWindowProc(grid, message, wParam, lParam);
    case WM_VSCROLL: OnVerticalScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam))); return 0;
    case WM_HSCROLL:
      OnHorizontalScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
      if (OnTesselKey(message, wParam, lParam)) return 0;
      return DefWindowProc(grid, message, wParam, lParam);
    case WM_CAPTURECHANGED:
      // Another window took the mouse: a resize or drag under way ends here.
      if (reinterpret_cast<HWND>(lParam) != grid) EndMouseTracking();
      return 0;
    case WM_CANCELMODE:
      EndMouseTracking();
      if (!gLockedRecord->designMode) ReleaseDesignMouse();
      return DefWindowProc(grid, message, wParam, lParam);
    default:
      if (message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK &&
          OnTesselMouse(message, wParam, static_cast<short>(LOWORD(lParam)),
                        static_cast<short>(HIWORD(lParam))))
        return 0;
      return DefWindowProc(grid, message, wParam, lParam);
  }
}

}  // namespace

extern "C" LRESULT TesselWndFn(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND callerGrid = gCurrentGrid;
  gCurrentGrid = grid;
  gCurrentStyle = grid ? static_cast<DWORD>(GetWindowLongPtr(grid, GWL_STYLE)) : 0;
  bool locked = NeedsRecordLock(message) && LockTessel(grid);
  LRESULT result;
  if (IsCustomMessage(message)) {
    result = (locked || message == gCustCntlNotify) ? TesselMsgProc(grid, message, wParam, lParam)
                                                    : TSERR_LOCKFAILED;
  } else {
    result = TesselStdProc(grid, message, wParam, lParam, locked);
  }
  if (locked) UnlockTessel();
  gCurrentGrid = callerGrid;
  gCurrentStyle = callerGrid ? static_cast<DWORD>(GetWindowLongPtr(callerGrid, GWL_STYLE)) : 0;
  return static_cast<LRESULT>(static_cast<int32_t>(result));
}
