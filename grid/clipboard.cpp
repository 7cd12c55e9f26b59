/*
** The grid's clipboard operations. Every cell is formatted into a scratch buffer first and
** the block grown to fit it, so no cell can pass the block's end whatever its length.
*/
#include "grid/clipboard.h"

#include "grid/column_selection.h"
#include "grid/layout.h"
#include "grid/rows.h"
#include "grid/sorting.h"
#include "grid/tessel.h"
#include "platform/kernel/kernel.h"
#include "platform/user/clipboard.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kFirstBlockSize = 4096;

/* The clipboard text being built in a moveable block handed over at the end. */
class CopyBuffer {
 public:
  CopyBuffer() {
    block_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kFirstBlockSize);
    size_ = block_ ? kFirstBlockSize : 0;
  }
  ~CopyBuffer() {
    if (block_) GlobalFree(block_);
  }
  CopyBuffer(const CopyBuffer&) = delete;
  CopyBuffer& operator=(const CopyBuffer&) = delete;

  /* Appends text; room is kept for a TAB, an LF and the final NUL behind it. */
  bool Append(const char* text, size_t length) {
    if (!Reserve(length + 3)) return false;
    char* base = static_cast<char*>(GlobalLock(block_));
    if (!base) return false;
    std::memcpy(base + used_, text, length);
    used_ += length;
    base[used_] = '\0';
    GlobalUnlock(block_);
    return true;
  }
  bool Valid() const { return block_ != nullptr; }
  /* Gives the block away (the clipboard owns it from then on). */
  HGLOBAL Release() {
    HGLOBAL block = block_;
    block_ = nullptr;
    return block;
  }

 private:
  bool Reserve(size_t more) {
    if (!block_) return false;
    if (used_ + more <= size_) return true;
    size_t grown = used_ + more + kFirstBlockSize;
    HGLOBAL moved = GlobalReAlloc(block_, grown, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (!moved) return false;
    block_ = moved;
    size_ = grown;
    return true;
  }

  HGLOBAL block_ = nullptr;
  size_t size_ = 0;
  size_t used_ = 0;
};

bool HasEditableColumns() {
  for (int c = 0; c < gLockedRecord->columnCount; ++c)
    if (IsCellEditable(c)) return true;
  return false;
}

/* Appends one cell's text and its TAB; with cut an editable cell is cleared after. */
bool CopyCell(CopyBuffer& buffer, int row, int column, bool cut) {
  uint8_t* address = RowAddress(row);
  if (!address) return false;
  const TesselColumn& definition = gLockedColumns[column];
  std::vector<char> scratch(TS_MAXTEXT, '\0');
  int length = FormatData(nullptr, scratch.data(), nullptr, address + definition.valueOffset,
                          definition.type, definition.length, 0, 0);
  if (length < 0) length = 0;
  scratch[static_cast<size_t>(length)] = '\t';
  if (!buffer.Append(scratch.data(), static_cast<size_t>(length) + 1)) return false;
  if (cut && IsCellEditable(column)) {
    std::memset(RowAddress(row) + definition.valueOffset, 0, definition.length);
    InvalidateGridCell(row, column);
  }
  return true;
}

bool CopyRowColumns(CopyBuffer& buffer, int row, const std::vector<int>& columns, bool cut) {
  for (int column : columns)
    if (!CopyCell(buffer, row, column, cut)) return false;
  return buffer.Append("\n", 1);
}

/* The rows and columns the selection style names; false when it names nothing. */
bool SelectedCells(std::vector<int>& rows, std::vector<int>& columns) {
  TesselRecord* record = gLockedRecord;
  std::vector<int> every;
  for (int c = 0; c < record->columnCount; ++c) every.push_back(c);
  if (gCurrentStyle & TSS_ROWSELECT) {
    if (record->selectedRow < 0 || record->selectedRow >= record->rowCount) return false;
    rows.push_back(record->selectedRow);
    columns = every;
  } else if (gCurrentStyle & TSS_MULTIROW) {
    for (int r = 0; r < record->rowCount; ++r)
      if (RowSelectedFlag(r)) rows.push_back(r);
    columns = every;
  } else if (gCurrentStyle & TSS_COLSELECT) {
    if (!ColumnSelected(record->currentColumn)) return false;
    columns.push_back(record->currentColumn);
    for (int r = 0; r < record->rowCount; ++r) rows.push_back(r);
  } else {
    for (int c = 0; c < record->columnCount; ++c)
      if (ColumnSelected(c)) columns.push_back(c);
    for (int r = 0; r < record->rowCount; ++r) rows.push_back(r);
  }
  return !rows.empty() && !columns.empty();
}

void PublishText(HGLOBAL block) {
  if (!OpenClipboard(gCurrentGrid)) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, block)) GlobalFree(block);
  CloseClipboard();
}

/* Stores one piece into a cell; true when a sort-key value changed. */
bool PastePiece(const std::string& piece, int row, int column) {
  const TesselColumn& definition = gLockedColumns[column];
  uint8_t* address = RowAddress(row);
  if (!address) return false;
  std::vector<uint8_t> before(address + definition.valueOffset,
                              address + definition.valueOffset + definition.length);
  GetCellData(address + definition.valueOffset, piece.c_str(), nullptr, definition.length,
              definition.type);
  InvalidateGridCell(row, column);
  return IsSortKeyColumn(column) &&
         std::memcmp(before.data(), address + definition.valueOffset, before.size()) != 0;
}

}  // namespace

void CopyCells(bool cut) {
  TesselRecord* record = gLockedRecord;
  if (!(gCurrentStyle & (TSS_ROWSELECT | TSS_MULTIROW | TSS_COLSELECT | TSS_MULTICOL))) {
    CopyBuffer empty;
    if (empty.Valid()) PublishText(empty.Release());
    return;
  }
  std::vector<int> rows, columns;
  if (!SelectedCells(rows, columns)) return;
  // Cut clears only what a user could have typed over; a grid that offers nothing to edit
  // copies instead.
  bool clearing = cut && HasEditableColumns();
  CopyBuffer buffer;
  if (!buffer.Valid()) return;
  for (int row : rows) {
    if (row >= record->rowCount) break;
    if (!RowAddress(row)) continue;  // a virtual grid copies only the rows it holds
    if (!CopyRowColumns(buffer, row, columns, clearing)) return;
  }
  PublishText(buffer.Release());
}

int PasteCells() {
  TesselRecord* record = gLockedRecord;
  if (!IsClipboardFormatAvailable(CF_TEXT)) return 0;
  if (!HasEditableColumns()) return 0;
  if (!OpenClipboard(gCurrentGrid)) return 0;
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* shared = static_cast<const char*>(GlobalLock(data))) {
      text.assign(shared, strnlen(shared, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  int startColumn = record->currentColumn;
  int row = record->currentRow, column = startColumn;
  bool keyChanged = false;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    char c = i < text.size() ? text[i] : '\0';
    if (c != '\t' && c != '\n' && c != '\0') continue;
    std::string piece = text.substr(start, i - start);
    start = i + 1;
    // Only rows the grid holds (a virtual grid's buffered ones) and editable cells take a
    // piece; a skipped cell still uses up its place so the pieces after it stay aligned.
    if (!piece.empty() && row >= 0 && row < record->rowCount && column < record->columnCount &&
        IsCellEditable(column))
      keyChanged |= PastePiece(piece, row, column);
    if (c == '\t') {
      ++column;
    } else if (c == '\n') {
      ++row;
      column = startColumn;
    }
  }
  int result = CloseClipboard();
  if (keyChanged && SortKeyOneSet()) SortRows();
  return result;
}
