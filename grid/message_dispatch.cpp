/*
** The grid's message dispatcher: each message goes to the part of the grid that handles it
** (columns, definitions, attributes, navigation, sorting, selection, editing, drop-downs,
** virtual rows, rows); numbers inside the grid's ranges that none handles answer -2.
*/
#include "grid/message_dispatch.h"

#include "grid/column_selection.h"
#include "grid/dropdown.h"
#include "grid/editing.h"
#include "grid/input.h"
#include "grid/navigation.h"
#include "grid/selection.h"
#include "grid/sorting.h"

#include "grid/attributes.h"
#include "grid/column_restructure.h"
#include "grid/columns.h"
#include "grid/definitions.h"
#include "grid/layout.h"
#include "grid/library_state.h"
#include "grid/references.h"
#include "grid/rows.h"
#include "grid/tessel.h"
#include "grid/tessel_lock.h"
#include "grid/virtual_rows.h"

#include <initializer_list>

namespace {

LRESULT OnCustCntlNotify(HWND grid, WPARAM wParam, LPARAM lParam) {
  HGLOBAL current = reinterpret_cast<HGLOBAL>(GetWindowLongPtr(grid, 0));
  if (wParam == 1) {
    if (!current) return 0;
    SetWindowLongPtr(grid, 0, 0);
    return reinterpret_cast<LRESULT>(current);
  }
  if (wParam == 2 && lParam) {
    if (current && !RecordHeldByAnyLevel(current)) FreeTesselData(current);
    SetWindowLongPtr(grid, 0, lParam);
  }
  return 0;
}

LRESULT RowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  void* pointer = reinterpret_cast<void*>(lParam);
  switch (message) {
    case TSM_DELETEALLROWS: return DeleteAllRows();
    case TSM_GETROWCOUNT: return OnGetRowCount();
    case TSM_GETCURSORROW: return gLockedRecord->cursorRow;
    case TSM_GETCURSORCOL: return gLockedRecord->cursorColumn;
    case TSM_SETCURSOR: return OnSetCursor(wParam, lParam);
    case TSM_GETROW: return OnGetRow(wParam, pointer);
    case TSM_SETROW: return OnSetRow(wParam, pointer);
    case TSM_INSERTROW: return OnInsertRow(wParam, pointer);
    case TSM_DELETEROW: return OnDeleteRow(wParam);
    case TSM_MOVEROW: return OnMoveRow(wParam, lParam);
    case TSM_COPYROW: return OnCopyRow(wParam, lParam);
    case TSM_GETCELL: return OnGetCell(wParam, pointer);
    case TSM_SETCELL: return OnSetCell(wParam, pointer);
    case TSM_GETCELLRECT: return OnGetCellRect(wParam, static_cast<RECT*>(pointer));
    case TSM_GETCOLOFFSET: return OnGetColOffset(wParam & 0xFFFF);
    default: return TSERR_BADMESSAGE;
  }
}

LRESULT InterfaceMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  switch (message) {
    case TSM_NOOP: return 0;
    case TSM_GETNOTIFYROW: return record->notifyRow;
    case TSM_GETNOTIFYCOL: return record->notifyColumn;
    case TSM_GETNOTIFYAREA: return record->notifyArea;
    case TSM_SETREPLY: record->notifyReply = static_cast<int32_t>(lParam); return 0;
    case TSM_NOTIFY: return NotifyParent(static_cast<int>(wParam));
    case TSM_GETREFCOL: return OnGetRefCol(wParam);
    case TSM_GETUSERDATA: return record->userData;
    case TSM_SETUSERDATA: record->userData = static_cast<int32_t>(wParam); return 0;
    case TSM_GETEXSTYLE: return static_cast<LRESULT>(record->exStyle);
    case TSM_SETEXSTYLE: record->exStyle = static_cast<uint32_t>(lParam); return 0;
    case TSM_SETRUNMODE: record->designMode = 0; return 0;
    case TSM_SETDESIGNMODE: record->designMode = 1; return 0;
    case TSM_GETVISIBLEROWS: return OnGetVisibleRows();
    case TSM_GETVISIBLECOLS: return OnGetVisibleCols();
    case TSM_GETDEFROWHEIGHT: return record->fixedRowHeight;
    case TSM_SETDEFROWHEIGHT: return OnSetDefRowHeight(wParam);
    case TSM_GETVALIGN: return record->verticalAlign;
    case TSM_SETVALIGN: return OnSetVAlign(wParam);
    case TSM_SETGRIDCOLOR: return OnSetGridColor(static_cast<COLORREF>(lParam));
    case TSM_INVALIDATEROW: return OnInvalidateRow(lParam);
    case TSM_INVALIDATECOL: return OnInvalidateCol(wParam & 0xFFFF);
    case TSM_INVALIDATECELL: return OnInvalidateCell(wParam, lParam);
    case TSM_REDRAW: return OnRedraw();
    default: return TSERR_BADMESSAGE;
  }
}

bool IsColumnMessage(UINT message) {
  switch (message) {
    case TSM_GETCOLCOUNT:
    case TSM_SETCOLCOUNT:
    case TSM_GETCOLSTYLE:
    case TSM_SETCOLSTYLE:
    case TSM_GETCOLTYPE:
    case TSM_SETCOLTYPE:
    case TSM_GETCOLLEN:
    case TSM_SETCOLLEN:
    case TSM_GETCOLWIDTH:
    case TSM_SETCOLWIDTH:
    case TSM_GETCOLFORMAT:
    case TSM_SETCOLFORMAT:
    case TSM_GETCOLHEADING:
    case TSM_SETCOLHEADING:
    case TSM_GETCOLNAME:
    case TSM_SETCOLNAME:
    case TSM_GETCOLVALUE1:
    case TSM_SETCOLVALUE1:
    case TSM_GETCOLVALUE2:
    case TSM_SETCOLVALUE2:
    case TSM_FINDCOLNAME:
    case TSM_GETEDITSTYLE:
    case TSM_SETEDITSTYLE:
    case TSM_GETLISTITEMS:
    case TSM_SETLISTITEMS:
    case TSM_GETLISTITEMSSIZE:
    case TSM_GETMETRIC: return true;
    default: return false;
  }
}

bool IsDefinitionMessage(UINT message) {
  switch (message) {
    case TSM_RESET:
    case TSM_GETSTYLE:
    case TSM_SETSTYLE:
    case TSM_GETDEFSIZE:
    case TSM_GETDEF:
    case TSM_SETDEF:
    case TSM_GETCOLDEFSIZE:
    case TSM_GETCOLDEF:
    case TSM_SETCOLDEF:
    case TSM_CLONEDATA:
    case TSM_ATTACHDATA:
    case TSM_FREEDATA:
    case TSM_GETDEFEX:
    case TSM_SETDEFEX:
    case TSM_GETCOLDEFEX:
    case TSM_SETCOLDEFEX: return true;
    default: return false;
  }
}

bool IsAttributeMessage(UINT message) {
  return (message >= TSM_SETCOLORS && message <= TSM_RESETCELLCOLORS) ||
         (message >= TSM_SETROWFONT && message <= TSM_RESETFONT) ||
         (message >= TSM_GETSUBSTTEXT && message <= TSM_SETROWHEIGHT) ||
         (message >= TSM_GETCOLORS && message <= TSM_SETROWSTYLE) || message == TSM_GETGRIDCOLOR ||
         message == TSM_GETROWATTRS || message == TSM_SETROWATTRS;
}

using MessageHandler = LRESULT (*)(UINT message, WPARAM wParam, LPARAM lParam);

/* Offers the message to each handler in turn: the first that knows it (answers other than
   TSERR_BADMESSAGE) gives the answer. */
LRESULT FirstAnswer(std::initializer_list<MessageHandler> handlers, UINT message, WPARAM wParam,
                    LPARAM lParam) {
  for (MessageHandler handler : handlers) {
    LRESULT answer = handler(message, wParam, lParam);
    if (answer != TSERR_BADMESSAGE) return answer;
  }
  return TSERR_BADMESSAGE;
}

}  // namespace

LRESULT TesselMsgProc(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gCustCntlNotify && message == gCustCntlNotify) return OnCustCntlNotify(grid, wParam, lParam);
  if (!gLockedRecord) return TSERR_LOCKFAILED;
  if (IsColumnMessage(message)) return OnColumnMessage(message, wParam, lParam);
  if (IsDefinitionMessage(message)) return OnDefinitionMessage(message, wParam, lParam);
  if (IsAttributeMessage(message)) return OnAttributeMessage(message, wParam, lParam);
  LRESULT answer = FirstAnswer({OnNavigationMessage, OnSortMessage, OnSelectionMessage,
                                OnVirtualMessage, OnColumnSelectionMessage, OnDropDownMessage},
                               message, wParam, lParam);
  if (answer != TSERR_BADMESSAGE) return answer;
  if (message == TSM_NEXTCELL) return NextCell();
  if (message == TSM_PREVCELL) return PreviousCell();
  answer = FirstAnswer({OnEditMessage, OnRestructureMessage, RowMessage}, message, wParam, lParam);
  if (answer != TSERR_BADMESSAGE) return answer;
  return InterfaceMessage(message, wParam, lParam);
}
