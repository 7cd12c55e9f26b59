/*
** The scroll-bar state of the locked grid, kept in integers: m is the largest useful top
** row (or the top row when larger) and r the range maximum, at most 32,767; the thumb is
** top x r / m, so the end of the bar stands for m exactly. And moving the data area.
*/
#include "grid/layout.h"

#include <algorithm>
#include <cstdint>

namespace {

int LargestUsefulTopRow() {
  TesselRecord* record = gLockedRecord;
  if (record->rowCount == 0) return 0;
  return TopRowShowingAtBottom(record->rowCount - 1);
}

void SetBar(int bar, int maximum, int thumb) {
  int low = 0, high = 0;
  GetScrollRange(gCurrentGrid, bar, &low, &high);
  if (low != 0 || high != maximum) SetScrollRange(gCurrentGrid, bar, 0, maximum, TRUE);
  if (GetScrollPos(gCurrentGrid, bar) != thumb) SetScrollPos(gCurrentGrid, bar, thumb, TRUE);
}

bool Scrolling(int column) { return !ColumnHidden(column) && !ColumnLocked(column); }

}  // namespace

int LargestUsefulLeftColumn() {
  TesselRecord* record = gLockedRecord;
  int last = LastScrollingColumn();
  if (last < 0) return -1;
  int room = record->clientWidth - record->rowLabelWidth - LockedWidth();
  int best = last;
  for (int c = last; c >= 0; --c) {
    if (!Scrolling(c)) continue;
    room -= gLockedColumns[c].width;
    if (room < 0) break;
    best = c;
  }
  return best;
}

namespace {

int ScrollingColumnsBefore(int column) {
  int count = 0;
  for (int c = 0; c < column && c < gLockedRecord->columnCount; ++c)
    if (Scrolling(c)) ++count;
  return count;
}

}  // namespace

void VerticalBarState(int64_t* m, int64_t* r) {
  TesselRecord* record = gLockedRecord;
  *m = record->designMode && record->rowCount == 0
           ? 100
           : std::max(LargestUsefulTopRow(), record->topRow);
  if (record->rowCount == 0 && !record->designMode) *m = 0;
  int64_t scale = *m < 32767 ? 1 : *m / 32767 + 1;
  *r = *m / scale;
}

void UpdateVerticalBar() {
  TesselRecord* record = gLockedRecord;
  if (!record->verticalBar) return;
  if (!record->redrawOn) {
    record->paintDeferred = 1;
    return;
  }
  if ((gCurrentStyle & TSS_VIRTUALMEM) && (record->countUnknown || record->ownerFetch)) {
    SetBar(SB_VERT, 100, 50);
    return;
  }
  int64_t m = 0, r = 0;
  VerticalBarState(&m, &r);
  int thumb = m == 0 ? 0 : static_cast<int>(static_cast<int64_t>(record->topRow) * r / m);
  SetBar(SB_VERT, static_cast<int>(r), thumb);
}

void UpdateHorizontalBar() {
  TesselRecord* record = gLockedRecord;
  if (!record->horizontalBar) return;
  if (!record->redrawOn) {
    record->paintDeferred = 1;
    return;
  }
  if (record->dropDown && record->dropDownClosed) {
    SetBar(SB_HORZ, 0, 0);
    return;
  }
  int useful = std::max(LargestUsefulLeftColumn(), static_cast<int>(record->leftColumn));
  int maximum = useful < 0 ? 0 : ScrollingColumnsBefore(useful);
  SetBar(SB_HORZ, maximum, ScrollingColumnsBefore(record->leftColumn));
}

void UpdateScrollBars() {
  UpdateVerticalBar();
  UpdateHorizontalBar();
}

void ScrollRows(int distance, int fromY) {
  TesselRecord* record = gLockedRecord;
  if (!record->redrawOn) {
    record->paintDeferred = 1;
    return;
  }
  RECT band{0, fromY, record->clientWidth, record->clientHeight};
  if (std::abs(distance) > record->clientHeight || band.bottom - band.top <= std::abs(distance)) {
    InvalidateRect(gCurrentGrid, &band, FALSE);
    return;
  }
  ScrollWindow(gCurrentGrid, 0, distance, &band, &band);
}

void ScrollColumns(int distance, int fromX) {
  TesselRecord* record = gLockedRecord;
  if (!record->redrawOn) {
    record->paintDeferred = 1;
    return;
  }
  RECT band{fromX, 0, record->clientWidth, record->clientHeight};
  if (std::abs(distance) > record->clientWidth || band.right - band.left <= std::abs(distance)) {
    InvalidateRect(gCurrentGrid, &band, FALSE);
    return;
  }
  ScrollWindow(gCurrentGrid, distance, 0, &band, &band);
}
