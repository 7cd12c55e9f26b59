/*
** One grid's state and the records it exchanges with callers. TesselRecord lives in a
** moveable global block whose handle is window word 0; the column table, the string pools,
** the row store, the attribute pools and the label store are further moveable blocks it
** holds by handle. Every struct here is trivially copyable and holds no pointer into
** another block: blocks move when they grow, and a whole record can be copied bytewise.
*/
#ifndef ZARNE_GRID_TESSEL_RECORD_H
#define ZARNE_GRID_TESSEL_RECORD_H

#include "grid/tessel_codes.h"
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"
#include "platform/kernel/kernel.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

#define TS_MAXCOLUMNS    250
#define TS_MAXCOLLEN     1000
#define TS_MAXROWLEN     65535
#define TS_FORMATLIMIT   120
#define TS_HEADINGLIMIT  200
#define TS_NAMELIMIT     100
#define TS_SUBSTTEXTSIZE 1000
#define TS_LABELSIZE     1000

/* The colour set of the grid, a row, a column or a cell: background, text, selected
   background, selected text; TSCLR_DEFAULT in a slot means "not set here". */
struct TesselColors {
  COLORREF background;
  COLORREF text;
  COLORREF selectedBackground;
  COLORREF selectedText;
};
static_assert(sizeof(TesselColors) == 16);

/* Attributes of one row that has any. */
struct TesselAttrHead {
  uint16_t style;  // 1 adjustable height, 2 fixed height, 0 default
  uint16_t unused;
  int32_t height;        // own height in pixels, 0 = the grid's
  int32_t rowKey;        // the owner's key of a virtual row
  uint32_t colorIndex;   // row-and-cell colour pool, 0 none
  uint32_t fontIndex;    // row-and-cell font pool, 0 none
  uint32_t labelOffset;  // 1-based offset in the label store, 0 none
  uint32_t firstCell;    // first TesselCellAttr of the row, 0 none
};

/* Attributes of one cell that has any; the nodes of a row form a chain. */
struct TesselCellAttr {
  uint16_t column;
  uint16_t attribute;  // bit 0: show the substitute text
  uint32_t colorIndex;
  uint32_t fontIndex;
  uint32_t next;
};

/* A pool of fixed-size records addressed by 1-based index, with a stack of freed ones. */
struct TesselPool {
  HGLOBAL block;
  uint32_t count;  // records ever handed out
  HGLOBAL freeStack;
  uint32_t freeDepth;
};

enum TesselPoolKind {
  kHeadPool,       // TesselAttrHead
  kCellPool,       // TesselCellAttr
  kRowColorPool,   // TesselColors of rows and cells
  kRowFontPool,    // LOGFONT of rows and cells
  kGridColorPool,  // TesselColors of columns, headings, labels, corner, current cell
  kGridFontPool,   // LOGFONT of the same
  kPoolCount
};

/* One column's definition. */
struct TesselColumn {
  uint16_t flags;        // TSCS_*
  uint16_t type;         // TST_*
  uint16_t length;       // bytes of the value
  uint16_t valueOffset;  // from the start of the row record, header included
  int32_t width;         // pixels
  int32_t selected;
  uint32_t formatOffset;
  uint32_t headingOffset;
  uint32_t nameOffset;
  int32_t value1;
  int32_t value2;
  uint32_t editStyle;
  uint32_t listItemsOffset;
  uint32_t colorIndex;  // grid colour pool
  uint32_t fontIndex;   // grid font pool
  uint32_t headingColorIndex;
  uint32_t headingFontIndex;
};

struct TesselRecord {
  int32_t fetchPosition;
  uint16_t sortKey[3];          // 1-based column of each sort key, 0 none
  uint16_t labelWidthFromRows;  // the row buttons' width was taken from the row height
  int32_t notifyReply;
  uint32_t exStyle;
  uint16_t headingRowStyle;
  uint16_t labelColumnFlags;
  COLORREF gridLineColor;
  HFONT font;
  int32_t ownFont;
  int32_t redrawOn;
  int32_t paintDeferred;
  int32_t focusDrawn;
  int32_t clientWidth;
  int32_t clientHeight;
  int32_t fullHeight;
  int32_t headingHeight;
  int32_t fixedHeadingHeight;
  int32_t headingLines;
  int32_t rowHeight;
  int32_t fixedRowHeight;
  int32_t verticalAlign;
  int32_t visibleRows;  // whole rows of the default height below the heading
  int32_t rowLabelWidth;
  int32_t totalWidth;
  int32_t topRow;
  int32_t lastVisibleRow;
  uint16_t leftColumn;
  uint16_t lastVisibleColumn;
  int32_t horizontalBar;
  int32_t verticalBar;
  int32_t dropDown;
  int32_t autoDropDown;
  int32_t dropDownClosed;
  int32_t countUnknown;
  int32_t ownerFetch;
  int32_t designMode;
  int32_t designMouseMode;
  WNDPROC keptWindowProc;
  int32_t notificationsOn;
  int32_t notifyRow;
  uint16_t notifyColumn;
  uint16_t unused1;
  int32_t notifyArea;
  char substituteText[TS_SUBSTTEXTSIZE];
  TesselPool pools[kPoolCount];
  HGLOBAL labelStore;
  uint32_t labelStoreUsed;
  uint32_t labelStoreDead;  // bytes of replaced labels still in the store
  uint32_t headingRowColorIndex;
  uint32_t headingRowFontIndex;
  uint32_t labelColumnColorIndex;
  uint32_t labelColumnFontIndex;
  uint32_t currentCellColorIndex;
  uint32_t currentCellFontIndex;
  uint32_t cornerColorIndex;
  uint32_t cornerFontIndex;
  int32_t gridColorsSet;
  TesselColors gridColors;
  TesselColors storedColors;  // what TSM_GETCOLORS reports: TSCLR_DEFAULT until a record is passed
  uint16_t columnCount;
  uint16_t currentColumn;
  HGLOBAL columnTable;
  HGLOBAL stringPool;
  uint32_t stringPoolLength;
  HGLOBAL listItemsPool;
  uint32_t listItemsPoolLength;
  int32_t rowCount;
  uint32_t rowLength;
  int32_t currentRow;
  int32_t columnSelectionMode;
  int32_t selectedRowCount;
  int32_t selectedRow;  // single-row selection: the selected row, -1 none
  int32_t anchorRow;
  int32_t selectedColumnCount;
  int32_t anchorColumn;
  int32_t editing;
  HWND editorWindow;
  HBRUSH editorBrush;
  COLORREF editorText;
  COLORREF editorBackground;
  WNDPROC editClassProc;
  uint32_t editKeys[3];  // begin, accept, cancel
  int32_t userData;
  int32_t cursorRow;
  uint16_t cursorColumn;
  uint16_t unused2;
  int32_t rowIterationRunning;
  int32_t rowIterationLast;
  int32_t columnIterationRunning;
  int32_t columnIterationLast;
  uint32_t rowStoreUsed;
  uint32_t rowStoreSize;  // bytes the block holds (it may grow ahead of use)
  int32_t rowBlockCount;
  HGLOBAL rowStore;
  int32_t destroyPending;  // WM_NCDESTROY arrived while an outer level held the record
  int32_t resizeGuard;
  uint32_t savedTopRow;  // a drop-down's top row while it is closed
  int32_t dragMode;      // 0 none, 1 column resize, 2 row resize (see resize tracking)
  int32_t dragIndex;     // the column or row being resized
  int32_t dragOrigin;    // its left or top edge
  int32_t dragStart;
  int32_t dragCurrent;   // where the tracking line is drawn
  int32_t bufferValid;   // virtual rows: the buffer holds the first page as loaded
  int32_t virtualOn;     // virtual rows: TSM_SETVIRTUAL switched the buffer on
  int32_t bufferedRows;  // virtual rows: buffer positions holding a delivered row
};

static_assert(std::is_trivially_copyable_v<TesselRecord>);
static_assert(std::is_trivially_copyable_v<TesselColumn>);
static_assert(sizeof(LOGFONT) == 60);

/* The record of TSM_GETCOLDEF and TSM_SETCOLDEF: a 20-byte fixed part, then format,
   heading and name as NUL-terminated strings. */
#pragma pack(push, 1)
struct TesselColDef {
  uint16_t size;
  uint16_t flags;
  uint16_t type;
  uint16_t length;
  uint16_t width;
  uint16_t unused;
  uint32_t value1;
  uint32_t value2;
};
#pragma pack(pop)
static_assert(sizeof(TesselColDef) == 20);
static_assert(offsetof(TesselColDef, value1) == 12 && offsetof(TesselColDef, value2) == 16);
#define TS_COLDEF_MAXSIZE (20 + TS_FORMATLIMIT + TS_HEADINGLIMIT + TS_NAMELIMIT)

/* The header of the TSM_GETDEF buffer. */
struct TesselDefHeader {
  uint16_t recordsOffset;  // 8 from version 12 on, 6 in version 11
  uint16_t version;
  uint16_t columnCount;
  uint16_t style;
};
static_assert(sizeof(TesselDefHeader) == 8);

/* The column record of version 25 (TSM_GETCOLDEFEX and friends), with native pointers. */
struct TesselColDefEx {
  uint16_t version;
  uint16_t flags;
  uint16_t type;
  uint16_t length;
  uint16_t width;
  uint16_t unused;
  uint32_t value1;
  uint32_t value2;
  uint32_t editStyle;
  char* format;
  char* heading;
  char* name;
  char* listItems;
};
static_assert(offsetof(TesselColDefEx, editStyle) == 20);
static_assert(sizeof(TesselColDefEx) == 24 + 4 * sizeof(char*));

/* The definition header of version 25 (TSM_GETDEFEX, TSM_SETDEFEX). */
struct TesselDefExHeader {
  uint16_t unused0;
  uint16_t version;
  uint16_t columnCount;
  uint16_t style;
  uint16_t rowLabelWidth;
  uint16_t unused1;
  uint32_t exStyle;
  uint16_t labelColumnFlags;
  uint16_t headingRowStyle;
  TesselColDefEx* columns;
};
static_assert(offsetof(TesselDefExHeader, labelColumnFlags) == 16);
static_assert(offsetof(TesselDefExHeader, columns) == 24 ||
              offsetof(TesselDefExHeader, columns) == 20);

#endif
