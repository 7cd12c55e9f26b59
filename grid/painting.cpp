/*
** WM_PAINT of the grid. Only what meets the update rectangle is drawn; a font is made for
** a cell only when the cell, its row, its column or the current cell has one of its own.
*/
#include "grid/painting.h"

#include "grid/virtual_rows.h"

#include "grid/editing.h"

#include "grid/attributes.h"
#include "grid/columns.h"
#include "grid/layout.h"
#include "grid/library_state.h"
#include "grid/record_blocks.h"
#include "grid/rows.h"
#include "grid/tessel.h"

#include <algorithm>
#include <cstdio>

namespace {

const UINT kNoPrefix = 0x800;
const int kListButtonWidth = 14;

bool HasHeadings() { return (gCurrentStyle & TSS_OWNERDEF) != 0; }
bool HasRowLabels() { return (gCurrentStyle & (TSS_ROWBUTTONS | TSS_ROWNUMBERS)) != 0; }

bool OwnerDrew(int row, int column) {
  TesselRecord* record = gLockedRecord;
  record->notifyRow = row;
  record->notifyColumn = static_cast<uint16_t>(column);
  if (!(record->exStyle & TSXS_OWNERDRAW)) return false;
  return NotifyParent(TSN_OWNERDRAW) != 0;
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

/* Places the text rectangle's top for bottom (8) or centre (4) alignment. */
void PlaceVertically(HDC dc, const char* text, RECT& rect, UINT align) {
  if (!(align & 12)) return;
  RECT measure = rect;
  DrawText(dc, text, -1, &measure, DT_CALCRECT | kNoPrefix);
  int height = measure.bottom - measure.top;
  if (align & 8) {
    if (rect.bottom - height > rect.top) rect.top = rect.bottom - height;
  } else if (rect.bottom - rect.top - height > 0) {
    rect.top += (rect.bottom - rect.top - height) / 2;
  }
}

void DrawButtonCell(HDC dc, RECT rect, const char* text, UINT format, bool pressed, int row,
                    int column) {
  if (OwnerDrew(row, column)) return;
  COLORREF textColor = 0, background = 0;
  ResolveButtonColors(row, column, pressed, &textColor, &background);
  if (background != TSCLR_DEFAULT) {
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  } else {
    FillRect(dc, &rect, gLightGreyBrush);
  }
  COLORREF oldText = textColor != TSCLR_DEFAULT ? SetTextColor(dc, textColor) : GetTextColor(dc);
  RECT frame{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
  Draw3DFrame(dc, frame, pressed);
  HGDIOBJ oldPen = SelectObject(dc, gBlackPen);
  Line(dc, rect.right - 1, rect.top, rect.right - 1, rect.bottom);
  Line(dc, rect.left, rect.bottom - 1, rect.right, rect.bottom - 1);
  SelectObject(dc, oldPen);
  RECT textRect{rect.left + 2, rect.top, rect.right - 3, rect.bottom};
  if (pressed) OffsetRect(&textRect, 1, 1);
  const LOGFONT* own = ResolveCellFont(row, column);
  HFONT font = own ? CreateFontIndirect(own) : nullptr;
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  PlaceVertically(dc, text, textRect, format & 12);
  DrawText(dc, text, -1, &textRect, (format & ~12u) | kNoPrefix);
  if (font) {
    SelectObject(dc, oldFont);
    DeleteObject(font);
  }
  SetTextColor(dc, oldText);
}

bool CellSelected(int row, int column) {
  TesselRecord* record = gLockedRecord;
  if (record->columnSelectionMode && record->selectedColumnCount > 0)
    return gLockedColumns[column].selected != 0;
  if (record->dropDown && record->dropDownClosed) return false;
  if (gCurrentStyle & TSS_MULTIROW) return RowSelectedFlag(row);
  if (gCurrentStyle & TSS_ROWSELECT) return record->selectedRow == row;
  return false;
}

void DrawCheckBox(HDC dc, const RECT& cell, bool ticked) {
  int width = cell.right - cell.left, height = cell.bottom - cell.top;
  int x = cell.left + (width >= 15 ? (width - 14) / 2 : 0);
  int y = cell.top + (height >= 15 ? (height - 14) / 2 : 0);
  RECT box{x, y, x + 14, y + 14};
  FillRect(dc, &box, gLightGreyBrush);
  Draw3DFrame(dc, box, ticked);
  if (!ticked) return;
  HPEN pen = CreatePen(PS_SOLID, 2, GetTextColor(dc));
  HGDIOBJ old = SelectObject(dc, pen);
  Line(dc, x + 4, y + 4, x + 10, y + 10);
  Line(dc, x + 10, y + 4, x + 4, y + 10);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawListButton(HDC dc, RECT& textRect, bool pressed) {
  RECT button{textRect.right - kListButtonWidth, textRect.top, textRect.right, textRect.bottom};
  FillRect(dc, &button, gLightGreyBrush);
  Draw3DFrame(dc, button, pressed);
  int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2;
  HGDIOBJ old = SelectObject(dc, gBlackPen);
  for (int i = 0; i < 4; ++i) Line(dc, cx - 3 + i, cy - 1 + i, cx + 4 - i, cy - 1 + i);
  SelectObject(dc, old);
  textRect.right = button.left;
}

/* The cell's background fill: light grey for plain check boxes, the resolved colour when
   selected or any colour record exists, else what the paint's erase left. */
void FillCellBackground(HDC dc, const RECT& cell, int row, int column, bool selected) {
  RECT area = cell;
  if (!(gCurrentStyle & TSS_HGRID)) area.bottom += 1;
  if (!(gCurrentStyle & TSS_VGRID)) area.right += 1;
  COLORREF text = 0, background = 0;
  const TesselColumn& entry = gLockedColumns[column];
  if (entry.type == TST_CHECKBOX && !entry.colorIndex && !AnyColorRecords()) {
    FillRect(dc, &area, gLightGreyBrush);
    ResolveCellColors(row, column, selected, &text, &background);
    SetTextColor(dc, text);
    return;
  }
  if (!selected && !AnyColorRecords()) return;
  ResolveCellColors(row, column, selected, &text, &background);
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  SetTextColor(dc, text);
  SetBkColor(dc, background);
}

UINT Justification(uint16_t flags, uint16_t right, uint16_t centre) {
  if (flags & right) return DT_RIGHT;
  if (flags & centre) return DT_CENTER;
  return DT_LEFT;
}

void DrawHeadings(HDC dc, const RECT& update) {
  TesselRecord* record = gLockedRecord;
  char text[TS_HEADINGLIMIT + 1];
  for (int c = FirstDisplayColumn(); c >= 0; c = NextDisplayColumn(c)) {
    RECT cell;
    if (CellRect(TSROW_HEADING, c, false, &cell) < 0) continue;
    cell.right += 1;
    cell.bottom += 1;
    if (cell.left >= update.right) break;
    if (cell.right <= update.left || ColumnHidden(c)) continue;
    ColumnHeadingText(c, text);
    UINT format =
        Justification(gLockedColumns[c].flags, TSCS_HEADRIGHT, TSCS_HEADCENTER) | DT_VCENTER | 4;
    DrawButtonCell(dc, cell, text, format, gLockedColumns[c].selected != 0, TSROW_HEADING, c);
  }
  int lastLeft = 0, lastRight = record->rowLabelWidth - 1;
  ColumnExtent(record->lastVisibleColumn, &lastLeft, &lastRight);
  if (lastRight + 1 < record->clientWidth) {
    RECT rest{lastRight + 1, 0, record->clientWidth + 4, record->headingHeight};
    RECT meet;
    if (IntersectRect(&meet, &rest, &update))
      DrawButtonCell(dc, rest, "", DT_CENTER | 4, false, TSROW_HEADING, record->columnCount + 1);
  }
}

/* One past the last screen row that has a row to paint. */
int PaintedRowEnd() {
  TesselRecord* record = gLockedRecord;
  if (record->virtualOn && record->ownerFetch) return record->topRow + record->bufferedRows;
  return record->rowCount;
}

void DrawRowLabels(HDC dc, int firstRow, int lastRow) {
  TesselRecord* record = gLockedRecord;
  for (int r = firstRow; r <= lastRow && r < PaintedRowEnd(); ++r) {
    RECT cell;
    if (CellRect(r, TSCOL_ROWLABEL, false, &cell) < 0) continue;
    cell.right += 1;
    cell.bottom += 1;
    int row = PaintedRow(r);
    char number[16] = "";
    const char* text = RowLabel(row);
    if (!*text && (gCurrentStyle & TSS_ROWNUMBERS)) {
      std::snprintf(number, sizeof number, "%ld", static_cast<long>(row) + 1);
      text = number;
    }
    UINT format = Justification(record->labelColumnFlags, TSCS_RIGHT, TSCS_CENTER) |
                  static_cast<UINT>(record->verticalAlign);
    DrawButtonCell(dc, cell, text, format, CellSelected(row, 0) && !record->columnSelectionMode,
                   row, TSCOL_ROWLABEL);
  }
}

void DrawGridLines(HDC dc, const RECT& update, int firstRow, int lastRow) {
  TesselRecord* record = gLockedRecord;
  HPEN pen = CreatePen(PS_SOLID, 0, record->gridLineColor);
  HGDIOBJ old = SelectObject(dc, pen);
  int left = record->rowLabelWidth;
  int right = left, lastLocked = -1;
  for (int c = FirstDisplayColumn(); c >= 0; c = NextDisplayColumn(c)) {
    right += gLockedColumns[c].width;
    if (ColumnLocked(c)) lastLocked = right - 1;
    if (right >= record->clientWidth) break;
  }
  int top = 0, bottom = 0, rowTop = 0, rowBottom = 0;
  RowExtent(firstRow, &top, &rowBottom);
  RowExtent(lastRow, &rowTop, &bottom);
  if (gCurrentStyle & TSS_HGRID) {
    for (int r = firstRow; r <= lastRow; ++r) {
      int rt = 0, rb = 0;
      if (!RowExtent(r, &rt, &rb)) break;
      Line(dc, left, rb, right, rb);
    }
    if (!(gCurrentStyle & TSS_VGRID) && right - 1 < update.right)
      Line(dc, right - 1, top, right - 1, bottom + 1);
  }
  if (gCurrentStyle & TSS_VGRID) {
    int x = left;
    for (int c = FirstDisplayColumn(); c >= 0 && x < record->clientWidth;
         c = NextDisplayColumn(c)) {
      if (ColumnHidden(c)) continue;
      x += gLockedColumns[c].width;
      SelectObject(
          dc, x - 1 == lastLocked ? static_cast<HGDIOBJ>(gBlackPen) : static_cast<HGDIOBJ>(pen));
      Line(dc, x - 1, top, x - 1, bottom + 1);
    }
    SelectObject(dc, pen);
    if (!(gCurrentStyle & TSS_HGRID) && bottom < update.bottom)
      Line(dc, left, bottom, right, bottom);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

/* The background: the parent's list colours while the grid has none of its own. */
void EraseBackground(HDC dc, const RECT& update) {
  TesselRecord* record = gLockedRecord;
  if (!record->gridColorsSet) {
    COLORREF text = 0, background = 0;
    HBRUSH brush = ParentListColors(dc, &text, &background);
    record->gridColors.text = text;
    record->gridColors.background = background;
    if (brush) {
      FillRect(dc, &update, brush);
      return;
    }
  }
  HBRUSH brush = CreateSolidBrush(record->gridColors.background);
  FillRect(dc, &update, brush);
  DeleteObject(brush);
}

/* The row whose extent holds y (the first or last visible one outside them). */
int TouchedRow(int y, int fallback) {
  TesselRecord* record = gLockedRecord;
  for (int r = record->topRow; r <= record->lastVisibleRow && r < record->rowCount; ++r) {
    int top = 0, bottom = 0;
    if (RowExtent(r, &top, &bottom) && y <= bottom) return y < top ? fallback : r;
  }
  return fallback;
}

}  // namespace

void Draw3DFrame(HDC dc, const RECT& rect, bool pressed) {
  HGDIOBJ old = SelectObject(dc, gDarkPen);
  int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
  if (pressed) {
    Line(dc, l, b, l, t);
    LineTo(dc, r + 1, t);
    Line(dc, l + 1, b, l + 1, t + 1);
    LineTo(dc, r + 1, t + 1);
  } else {
    SelectObject(dc, gWhitePen);
    Line(dc, l, b, l, t);
    LineTo(dc, r + 1, t);
    SelectObject(dc, gDarkPen);
    Line(dc, r, t, r, b);
    LineTo(dc, l - 1, b);
    Line(dc, r - 1, t + 1, r - 1, b - 1);
    LineTo(dc, l, b - 1);
  }
  SelectObject(dc, old);
}

int DrawCell(HDC dc, int screenRow, int column) {
  TesselRecord* record = gLockedRecord;
  // The row shown at this place: with owner-fetched rows the key the buffer holds there.
  int row = PaintedRow(screenRow);
  if (row < 0) return 0;
  if (OwnerDrew(row, column)) return 1;
  uint8_t* address = RowAddress(row);
  if (!address) return 0;
  RECT cell;
  if (CellRect(screenRow, column, false, &cell) < 0) return 1;
  bool selected = CellSelected(row, column);
  COLORREF oldText = GetTextColor(dc), oldBack = GetBkColor(dc);
  FillCellBackground(dc, cell, row, column, selected);
  RECT textRect{cell.left + 2, cell.top, cell.right - 3, cell.bottom};
  if (!(gCurrentStyle & TSS_VGRID)) textRect.right -= 4;
  const TesselColumn& entry = gLockedColumns[column];
  if (entry.type == TST_CHECKBOX) {
    DrawCheckBox(dc, cell, address[entry.valueOffset] != 0);
  } else {
    char text[TS_MAXTEXT];
    const LOGFONT* own = ResolveCellFont(row, column);
    HFONT font = own ? CreateFontIndirect(own) : nullptr;
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    if (record->substituteText[0] && (CellAttributeWord(row, column) & 1))
      CopyOut(text, record->substituteText, sizeof text);
    else
      FormatData(dc, text, ColumnString(column, kFormatString), address + entry.valueOffset,
                 entry.type, entry.length, textRect.right - textRect.left, 35);
    if (*ColumnString(column, kListItemsString))
      DrawListButton(dc, textRect, EditListShownAt(row, column));
    PlaceVertically(dc, text, textRect, static_cast<UINT>(record->verticalAlign));
    UINT format = Justification(entry.flags, TSCS_RIGHT, TSCS_CENTER) | kNoPrefix;
    DrawText(dc, text, -1, &textRect, format);
    if (font) {
      SelectObject(dc, oldFont);
      DeleteObject(font);
    }
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  return 1;
}

void DrawFocusCell(HDC dc) {
  TesselRecord* record = gLockedRecord;
  RECT cell;
  int screenRow = ScreenRowOf(record->currentRow);  // an owner's key outside the buffer: none
  if (record->rowCount == 0 || screenRow < 0 ||
      CellRect(screenRow, record->currentColumn, false, &cell) < 0)
    return;
  if (!(gCurrentStyle & TSS_VGRID)) cell.right += 1;
  COLORREF old = SetTextColor(dc, record->gridColors.text);
  DrawFocusRect(dc, &cell);
  SetTextColor(dc, old);
}

void PaintTessel() {
  TesselRecord* record = gLockedRecord;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(gCurrentGrid, &paint);
  RECT update = paint.rcPaint;
  EraseBackground(dc, update);
  bool hasCells = record->columnCount > 0 && FirstDisplayColumn() >= 0 &&
                  (record->stringPool || record->columnCount == 0);
  RecomputeLastVisibleColumn();
  RecomputeLastVisibleRow();
  if (hasCells) {
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = record->font ? SelectObject(dc, record->font) : nullptr;
    bool inHeading = update.top < record->headingHeight && HasHeadings();
    bool inLabels = update.left < record->rowLabelWidth && HasRowLabels();
    int firstRow = TouchedRow(update.top, record->topRow);
    int lastRow = TouchedRow(update.bottom - 1, record->lastVisibleRow);
    if (inHeading && inLabels) {
      RECT corner{0, 0, record->rowLabelWidth, record->headingHeight};
      DrawButtonCell(dc, corner, "", DT_CENTER | 4, false, TSROW_HEADING, TSCOL_ROWLABEL);
    }
    if (inHeading) DrawHeadings(dc, update);
    if (inLabels && record->rowCount > 0) DrawRowLabels(dc, firstRow, lastRow);
    bool dataTouched =
        update.bottom > record->headingHeight && update.right > record->rowLabelWidth;
    if (dataTouched && record->rowCount > 0) {
      if (gCurrentStyle & (TSS_HGRID | TSS_VGRID)) DrawGridLines(dc, update, firstRow, lastRow);
      SetTextColor(dc, record->gridColors.text);
      for (int r = firstRow; r <= lastRow && r < PaintedRowEnd(); ++r) {
        for (int c = FirstDisplayColumn(); c >= 0; c = NextDisplayColumn(c)) {
          if (ColumnHidden(c)) continue;
          RECT cell;
          if (CellRect(r, c, false, &cell) < 0) continue;
          if (cell.left >= update.right) break;
          if (cell.right < update.left) continue;
          if (!DrawCell(dc, r, c)) break;
          if (!gLockedRecord) break;
        }
      }
    }
    if (oldFont) SelectObject(dc, oldFont);
  }
  if (record->focusDrawn) DrawFocusCell(dc);
  EndPaint(gCurrentGrid, &paint);
}

void ToggleFocusMark() {
  HDC dc = GetDC(gCurrentGrid);
  HGDIOBJ old = gLockedRecord->font ? SelectObject(dc, gLockedRecord->font) : nullptr;
  DrawFocusCell(dc);
  if (old) SelectObject(dc, old);
  ReleaseDC(gCurrentGrid, dc);
}

void HideFocusMark() {
  if (gLockedRecord->focusDrawn && gLockedRecord->redrawOn) ToggleFocusMark();
}

void ShowFocusMark() {
  if (gLockedRecord->focusDrawn && gLockedRecord->redrawOn) ToggleFocusMark();
}
