/*
** Colours, fonts, attribute words, labels and heights of rows, columns and cells, the
** grid colours and the substitute text, and resolving them for painting.
*/
#include "grid/attributes.h"

#include "grid/columns.h"
#include "grid/layout.h"
#include "grid/record_blocks.h"
#include "grid/references.h"
#include "grid/rows.h"

#include <cstring>

namespace {

const TesselColors kUnset{TSCLR_DEFAULT, TSCLR_DEFAULT, TSCLR_DEFAULT, TSCLR_DEFAULT};

TesselColors* ColorRecord(TesselPoolKind kind, uint32_t index) {
  return static_cast<TesselColors*>(PoolRecord(kind, index));
}

const LOGFONT* FontRecord(TesselPoolKind kind, uint32_t index) {
  return static_cast<const LOGFONT*>(PoolRecord(kind, index));
}

TesselCellAttr* CellNode(uint32_t index) {
  return static_cast<TesselCellAttr*>(PoolRecord(kCellPool, index));
}

/* The row's head, made when asked and missing (0 when it cannot be). */
uint32_t HeadOfRow(int row, bool make) {
  uint32_t index = RowHeadIndex(row);
  if (index || !make) return index;
  index = TakePoolRecord(kHeadPool);
  if (index) SetRowHeadIndex(row, index);
  return index;
}

uint32_t CellNodeOf(int row, int column, bool make) {
  uint32_t head = HeadOfRow(row, make);
  if (!head) return 0;
  for (uint32_t cell = AttrHead(head)->firstCell; cell; cell = CellNode(cell)->next)
    if (CellNode(cell)->column == static_cast<uint16_t>(column)) return cell;
  if (!make) return 0;
  uint32_t fresh = TakePoolRecord(kCellPool);
  if (!fresh) return 0;
  CellNode(fresh)->column = static_cast<uint16_t>(column);
  CellNode(fresh)->next = AttrHead(head)->firstCell;
  AttrHead(head)->firstCell = fresh;
  return fresh;
}

/* Copies a caller's record into the slot's pool record (made on first use), or drops it. */
template <typename Record>
int StoreRecord(TesselPoolKind kind, uint32_t& slot, const Record* source) {
  if (!source) {
    if (slot) ReturnPoolRecord(kind, slot);
    slot = 0;
    return 0;
  }
  if (!slot) slot = TakePoolRecord(kind);
  if (!slot) return TSERR_NOMEMORY;
  std::memcpy(PoolRecord(kind, slot), source, sizeof(Record));
  return 0;
}

/* Returns the colour and font records a cell node holds. */
void ReturnIfSetCell(TesselCellAttr& node) {
  StoreRecord<TesselColors>(kRowColorPool, node.colorIndex, nullptr);
  StoreRecord<LOGFONT>(kRowFontPool, node.fontIndex, nullptr);
}

/* Returns a cell node that holds nothing any more, and then a head that holds nothing. */
void ReleaseEmpty(int row, int column) {
  uint32_t head = HeadOfRow(row, false);
  if (!head) return;
  uint32_t* link = &AttrHead(head)->firstCell;
  while (*link) {
    TesselCellAttr* node = CellNode(*link);
    if (node->column == static_cast<uint16_t>(column) && !node->attribute && !node->colorIndex &&
        !node->fontIndex) {
      uint32_t gone = *link;
      *link = node->next;
      ReturnPoolRecord(kCellPool, gone);
      break;
    }
    link = &node->next;
  }
  TesselAttrHead* h = AttrHead(head);
  if (!h->style && !h->height && !h->rowKey && !h->colorIndex && !h->fontIndex && !h->labelOffset &&
      !h->firstCell) {
    ReturnPoolRecord(kHeadPool, head);
    SetRowHeadIndex(row, 0);
  }
}

void TakeSlot(COLORREF& into, COLORREF from) {
  if (into == TSCLR_DEFAULT && from != TSCLR_DEFAULT) into = from;
}

void MergeRecord(TesselColors& into, const TesselColors* from) {
  if (!from) return;
  TakeSlot(into.background, from->background);
  TakeSlot(into.text, from->text);
  TakeSlot(into.selectedBackground, from->selectedBackground);
  TakeSlot(into.selectedText, from->selectedText);
}

bool IsCurrentCell(int row, int column) {
  return row == gLockedRecord->currentRow && column == gLockedRecord->currentColumn;
}

int CopyColorsOut(LPARAM buffer, const TesselColors* colors) {
  if (!buffer) return TSERR_NULLPTR;
  *reinterpret_cast<TesselColors*>(buffer) = colors ? *colors : kUnset;
  return 0;
}

/* Where the colours (or font) of a row, column or cell live: a slot of the record,
   a column entry or a row head. */
struct AttributeTarget {
  TesselPoolKind colorPool;
  TesselPoolKind fontPool;
  uint32_t* colorSlot;
  uint32_t* fontSlot;
  int row;  // for releasing an emptied head or node, -1 none
  int column;
};

long RowTarget(WPARAM reference, bool make, AttributeTarget& target) {
  long row = ResolveRowReference(reference, kAllowHeading);
  if (row < 0 && row != TSROW_HEADING) return row;
  TesselRecord* record = gLockedRecord;
  if (row == TSROW_HEADING) {
    target = {kGridColorPool,
              kGridFontPool,
              &record->headingRowColorIndex,
              &record->headingRowFontIndex,
              -1,
              0};
    return 0;
  }
  uint32_t head = HeadOfRow(static_cast<int>(row), make);
  if (!head) return make ? TSERR_NOMEMORY : 1;
  target = {kRowColorPool,
            kRowFontPool,
            &AttrHead(head)->colorIndex,
            &AttrHead(head)->fontIndex,
            static_cast<int>(row),
            -1};
  return 0;
}

long ColumnTarget(WPARAM reference, AttributeTarget& target) {
  TesselRecord* record = gLockedRecord;
  if ((reference & 3) == TSREF_CURSOR && record->cursorColumn == TSCOL_ROWLABEL) {
    target = {kGridColorPool,
              kGridFontPool,
              &record->labelColumnColorIndex,
              &record->labelColumnFontIndex,
              -1,
              0};
    return 0;
  }
  long column = ResolveColumnReference(reference, kPlainReference);
  if (column < 0) return column;
  TesselColumn& entry = gLockedColumns[column];
  target = {kGridColorPool,          kGridFontPool, &entry.colorIndex, &entry.fontIndex, -1,
            static_cast<int>(column)};
  return 0;
}

long CellTarget(WPARAM reference, bool make, AttributeTarget& target) {
  int row = 0, column = 0;
  long result = ResolveCellReference(reference, kAllowHeading, &row, &column);
  if (result < 0) return result;
  TesselRecord* record = gLockedRecord;
  if (row == TSROW_HEADING && column == TSCOL_ROWLABEL) {
    target = {
        kGridColorPool, kGridFontPool, &record->cornerColorIndex, &record->cornerFontIndex, -1, 0};
    return 0;
  }
  if (row == TSROW_HEADING) {
    TesselColumn& entry = gLockedColumns[column];
    target = {kGridColorPool, kGridFontPool, &entry.headingColorIndex, &entry.headingFontIndex, -1,
              column};
    return 0;
  }
  uint32_t node = CellNodeOf(row, column, make);
  if (!node) return make ? TSERR_NOMEMORY : 1;
  target = {kRowColorPool, kRowFontPool, &CellNode(node)->colorIndex, &CellNode(node)->fontIndex,
            row,           column};
  return 0;
}

enum class Scope { kRow, kColumn, kCell };

long FindTarget(Scope scope, WPARAM reference, bool make, AttributeTarget& target) {
  switch (scope) {
    case Scope::kRow: return RowTarget(reference, make, target);
    case Scope::kColumn: return ColumnTarget(reference, target);
    default: return CellTarget(reference, make, target);
  }
}

void RepaintTarget(Scope scope, const AttributeTarget& target, WPARAM) {
  if (scope == Scope::kColumn) InvalidateGridColumn(target.column);
  else if (scope == Scope::kRow && target.row >= 0) InvalidateGridRow(target.row);
  else if (target.row >= 0) InvalidateGridCell(target.row, target.column);
  else InvalidateWholeGrid(false);
}

LRESULT SetColorsOf(Scope scope, WPARAM reference, const TesselColors* colors) {
  AttributeTarget target{};
  long found = FindTarget(scope, reference, colors != nullptr, target);
  if (found < 0) return found;
  if (found == 0) {
    int result = StoreRecord(target.colorPool, *target.colorSlot, colors);
    if (result < 0) return result;
    if (!colors && target.row >= 0)
      ReleaseEmpty(target.row, scope == Scope::kRow ? -1 : target.column);
    RepaintTarget(scope, target, reference);
  }
  return 0;
}

LRESULT GetColorsOf(Scope scope, WPARAM reference, LPARAM buffer) {
  if (!buffer) return TSERR_NULLPTR;
  AttributeTarget target{};
  long found = FindTarget(scope, reference, false, target);
  if (found < 0) return found;
  const TesselColors* stored =
      found == 0 ? ColorRecord(target.colorPool, *target.colorSlot) : nullptr;
  return CopyColorsOut(buffer, stored);
}

LRESULT SetFontOf(Scope scope, WPARAM reference, const LOGFONT* font) {
  AttributeTarget target{};
  long found = FindTarget(scope, reference, font != nullptr, target);
  if (found < 0) return found;
  if (found == 0) {
    int result = StoreRecord(target.fontPool, *target.fontSlot, font);
    if (result < 0) return result;
    if (!font && target.row >= 0)
      ReleaseEmpty(target.row, scope == Scope::kRow ? -1 : target.column);
    RepaintTarget(scope, target, reference);
  }
  return 0;
}

LRESULT SetCellAttribute(WPARAM reference, LPARAM word) {
  int row = 0, column = 0;
  long result = ResolveCellReference(reference, kPlainReference, &row, &column);
  if (result < 0) return result;
  uint32_t node = CellNodeOf(row, column, word != 0);
  if (!node) return word ? TSERR_NOMEMORY : 0;
  CellNode(node)->attribute = static_cast<uint16_t>(word);
  if (!word) ReleaseEmpty(row, column);
  InvalidateGridCell(row, column);
  return 0;
}

LRESULT GetCellAttribute(WPARAM reference) {
  int row = 0, column = 0;
  long result = ResolveCellReference(reference, kPlainReference, &row, &column);
  if (result < 0) return result;
  return CellAttributeWord(row, column);
}

LRESULT RowAttributes(WPARAM reference, LPARAM array, bool set) {
  if (!array) return TSERR_NULLPTR;
  long row = ResolveRowReference(reference, kPlainReference);
  if (row < 0) return row;
  auto* words = reinterpret_cast<uint16_t*>(array);
  for (int c = 0; c < gLockedRecord->columnCount; ++c) {
    if (!set) {
      words[c] = CellAttributeWord(static_cast<int>(row), c);
      continue;
    }
    uint32_t node = CellNodeOf(static_cast<int>(row), c, words[c] != 0);
    if (!node) continue;
    CellNode(node)->attribute = words[c];
    if (!words[c]) ReleaseEmpty(static_cast<int>(row), c);
  }
  return 0;
}

/* Drops the dead texts of the label store by rewriting the live ones. */
void CompactLabels() {
  TesselRecord* record = gLockedRecord;
  std::vector<std::pair<int, std::string>> live;
  for (int r = 0; r < record->rowCount; ++r) {
    uint32_t head = RowHeadIndex(r);
    if (head && AttrHead(head)->labelOffset)
      live.emplace_back(r, RowLabelAt(AttrHead(head)->labelOffset));
  }
  if (record->labelStore) GlobalFree(record->labelStore);
  record->labelStore = nullptr;
  record->labelStoreUsed = record->labelStoreDead = 0;
  for (auto& [row, text] : live)
    AttrHead(RowHeadIndex(row))->labelOffset = AppendLabelText(text.c_str());
}

LRESULT SetRowLabel(WPARAM reference, const char* text) {
  long row = ResolveRowReference(reference, kPlainReference);
  if (row < 0) return row;
  char cut[TS_LABELSIZE];
  CopyOut(cut, text ? text : "", TS_LABELSIZE);
  uint32_t head = HeadOfRow(static_cast<int>(row), text != nullptr);
  if (!head) return text ? TSERR_NOMEMORY : 0;
  TesselRecord* record = gLockedRecord;
  uint32_t offset = AttrHead(head)->labelOffset;
  size_t oldLength = offset ? std::strlen(RowLabelAt(offset)) : 0;
  if (text && offset && std::strlen(cut) <= oldLength) {
    // It fits where the old one stood: reuse the slot, the rest of it counts as dead.
    char* store = static_cast<char*>(BlockAddress(record->labelStore));
    std::memset(store + offset - 1, 0, oldLength + 1);
    std::memcpy(store + offset - 1, cut, std::strlen(cut));
    record->labelStoreDead += static_cast<uint32_t>(oldLength - std::strlen(cut));
  } else {
    if (offset) record->labelStoreDead += static_cast<uint32_t>(oldLength + 1);
    AttrHead(head)->labelOffset = 0;
    if (text) {
      size_t grows = std::strlen(cut) + 1;
      if (record->labelStoreDead > (record->labelStoreUsed + grows) / 2) CompactLabels();
      head = HeadOfRow(static_cast<int>(row), true);
      uint32_t fresh = AppendLabelText(cut);
      if (!fresh) return TSERR_NOMEMORY;
      AttrHead(head)->labelOffset = fresh;
    } else {
      ReleaseEmpty(static_cast<int>(row), -1);
    }
  }
  RECT label;
  if (CellRect(static_cast<int>(row), TSCOL_ROWLABEL, false, &label) == 0)
    InvalidateRect(gCurrentGrid, &label, FALSE);
  return 0;
}

LRESULT GetRowLabel(WPARAM reference, LPARAM buffer) {
  if (!buffer) return TSERR_NULLPTR;
  long row = ResolveRowReference(reference, kPlainReference);
  if (row < 0) return row;
  CopyOut(reinterpret_cast<char*>(buffer), RowLabel(static_cast<int>(row)), TS_LABELSIZE);
  return 0;
}

LRESULT SetRowHeight(WPARAM reference, LPARAM height) {
  long pixels = static_cast<long>(static_cast<int32_t>(height));
  if (pixels < 0) return TSERR_BADWIDTH;
  if (pixels > 32767) pixels = 32767;
  long row = ResolveRowReference(reference, kAllowHeading);
  if (row < 0 && row != TSROW_HEADING) return row;
  TesselRecord* record = gLockedRecord;
  if (row == TSROW_HEADING) {
    record->fixedHeadingHeight = record->headingHeight = static_cast<int32_t>(pixels);
    RecalcLayout();
    InvalidateWholeGrid(true);
    return 0;
  }
  int r = static_cast<int>(row);
  int top = 0, bottom = 0;
  bool visible = RowExtent(r, &top, &bottom);
  int before = RowPixelHeight(r);
  uint32_t head = HeadOfRow(r, pixels != 0);
  if (head) {
    AttrHead(head)->height = static_cast<int32_t>(pixels);
    if (!pixels) ReleaseEmpty(r, -1);
  }
  if (visible) {
    int change = RowPixelHeight(r) - before;
    if (change) ScrollRows(change, bottom + 1);
    InvalidateGridRow(r);
    RecalcLayout();
  }
  return 0;
}

LRESULT RowStyleMessage(WPARAM reference, LPARAM style, bool set) {
  long row = ResolveRowReference(reference, kAllowHeading);
  if (row < 0 && row != TSROW_HEADING) return row;
  TesselRecord* record = gLockedRecord;
  if (row == TSROW_HEADING) {
    if (set) record->headingRowStyle = static_cast<uint16_t>(style);
    return set ? 0 : record->headingRowStyle;
  }
  if (!set) return RowStyleWord(static_cast<int>(row));
  uint32_t head = HeadOfRow(static_cast<int>(row), style != 0);
  if (head) {
    AttrHead(head)->style = static_cast<uint16_t>(style);
    if (!style) ReleaseEmpty(static_cast<int>(row), -1);
  }
  InvalidateGridRow(static_cast<int>(row));
  return 0;
}

LRESULT SetSubstituteText(const char* text) {
  CopyOut(gLockedRecord->substituteText, text ? text : "", TS_SUBSTTEXTSIZE);
  if (gLockedRecord->substituteText[0]) InvalidateWholeGrid(false);
  return 0;
}

LRESULT SetGridFont(const LOGFONT* font) {
  TesselRecord* record = gLockedRecord;
  if (record->font && record->ownFont) DeleteObject(record->font);
  record->font = font ? CreateFontIndirect(font) : nullptr;
  record->ownFont = font != nullptr;
  RecalcLayout();
  InvalidateWholeGrid(true);
  UpdateWindow(gCurrentGrid);
  return 0;
}

LRESULT ResetAllColors() {
  TesselRecord* record = gLockedRecord;
  SetGridColors(nullptr);
  for (uint32_t* slot : {&record->currentCellColorIndex, &record->labelColumnColorIndex,
                         &record->headingRowColorIndex, &record->cornerColorIndex})
    StoreRecord<TesselColors>(kGridColorPool, *slot, nullptr);
  for (int c = 0; c < record->columnCount; ++c) {
    StoreRecord<TesselColors>(kGridColorPool, gLockedColumns[c].colorIndex, nullptr);
    StoreRecord<TesselColors>(kGridColorPool, gLockedColumns[c].headingColorIndex, nullptr);
  }
  for (int r = 0; r < record->rowCount; ++r) {
    uint32_t head = RowHeadIndex(r);
    if (!head) continue;
    StoreRecord<TesselColors>(kRowColorPool, AttrHead(head)->colorIndex, nullptr);
    for (uint32_t cell = AttrHead(head)->firstCell; cell; cell = CellNode(cell)->next)
      StoreRecord<TesselColors>(kRowColorPool, CellNode(cell)->colorIndex, nullptr);
  }
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT ResetAllFonts() {
  TesselRecord* record = gLockedRecord;
  for (uint32_t* slot : {&record->currentCellFontIndex, &record->labelColumnFontIndex,
                         &record->headingRowFontIndex, &record->cornerFontIndex})
    StoreRecord<LOGFONT>(kGridFontPool, *slot, nullptr);
  for (int c = 0; c < record->columnCount; ++c) {
    StoreRecord<LOGFONT>(kGridFontPool, gLockedColumns[c].fontIndex, nullptr);
    StoreRecord<LOGFONT>(kGridFontPool, gLockedColumns[c].headingFontIndex, nullptr);
  }
  for (int r = 0; r < record->rowCount; ++r) {
    uint32_t head = RowHeadIndex(r);
    if (!head) continue;
    StoreRecord<LOGFONT>(kRowFontPool, AttrHead(head)->fontIndex, nullptr);
    for (uint32_t cell = AttrHead(head)->firstCell; cell; cell = CellNode(cell)->next)
      StoreRecord<LOGFONT>(kRowFontPool, CellNode(cell)->fontIndex, nullptr);
  }
  return SetGridFont(nullptr);
}

}  // namespace

void ShiftCellColumns(int from, int delta) {
  TesselRecord* record = gLockedRecord;
  for (int r = 0; r < record->rowCount; ++r) {
    uint32_t head = RowHeadIndex(r);
    if (!head) continue;
    if (delta < 0) {
      if (uint32_t node = CellNodeOf(r, from, false)) {
        ReturnIfSetCell(*CellNode(node));
        CellNode(node)->attribute = 0;
        ReleaseEmpty(r, from);
      }
    }
    if (!RowHeadIndex(r)) continue;
    for (uint32_t cell = AttrHead(RowHeadIndex(r))->firstCell; cell; cell = CellNode(cell)->next) {
      TesselCellAttr* node = CellNode(cell);
      if (node->column == TSCOL_ROWLABEL) continue;
      if (delta > 0 && node->column >= from) node->column += 1;
      if (delta < 0 && node->column > from) node->column -= 1;
    }
  }
}

void FreeColumnAttributes(int column) {
  TesselColumn& entry = gLockedColumns[column];
  StoreRecord<TesselColors>(kGridColorPool, entry.colorIndex, nullptr);
  StoreRecord<TesselColors>(kGridColorPool, entry.headingColorIndex, nullptr);
  StoreRecord<LOGFONT>(kGridFontPool, entry.fontIndex, nullptr);
  StoreRecord<LOGFONT>(kGridFontPool, entry.headingFontIndex, nullptr);
}

const char* RowLabelAt(uint32_t offset) {
  TesselRecord* record = gLockedRecord;
  const char* store = static_cast<const char*>(BlockAddress(record->labelStore));
  if (!store || offset == 0 || offset > record->labelStoreUsed) return "";
  return store + offset - 1;
}

uint32_t AppendLabelText(const char* text) {
  TesselRecord* record = gLockedRecord;
  size_t length = std::strlen(text) + 1;
  HGLOBAL grown = GrowBlock(record->labelStore, record->labelStoreUsed + length);
  if (!grown) return 0;
  record->labelStore = grown;
  char* store = static_cast<char*>(BlockAddress(grown));
  std::memcpy(store + record->labelStoreUsed, text, length);
  uint32_t offset = record->labelStoreUsed + 1;
  record->labelStoreUsed += static_cast<uint32_t>(length);
  return offset;
}

const char* RowLabel(int row) {
  uint32_t head = RowHeadIndex(row);
  return head ? RowLabelAt(AttrHead(head)->labelOffset) : "";
}

int RowOwnHeight(int row) {
  uint32_t head = RowHeadIndex(row);
  return head ? AttrHead(head)->height : 0;
}

int RowStyleWord(int row) {
  uint32_t head = RowHeadIndex(row);
  return head ? AttrHead(head)->style : 0;
}

uint16_t CellAttributeWord(int row, int column) {
  uint32_t node = CellNodeOf(row, column, false);
  return node ? CellNode(node)->attribute : 0;
}

HBRUSH ParentListColors(HDC dc, COLORREF* text, COLORREF* background) {
  HWND parent = GetParent(gCurrentGrid);
  HBRUSH brush = nullptr;
  if (parent)
    brush = reinterpret_cast<HBRUSH>(SendMessage(parent, WM_CTLCOLORLISTBOX,
                                                 reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(gCurrentGrid)));
  if (parent && brush) {
    *text = GetTextColor(dc);
    *background = GetBkColor(dc);
  } else {
    *text = GetSysColor(COLOR_WINDOWTEXT);
    *background = GetSysColor(COLOR_WINDOW);
  }
  return brush;
}

void SetGridColors(const TesselColors* colors) {
  TesselRecord* record = gLockedRecord;
  TesselColors chosen = colors ? *colors : kUnset;
  HDC dc = GetDC(gCurrentGrid);
  COLORREF text = 0, background = 0;
  ParentListColors(dc, &text, &background);
  ReleaseDC(gCurrentGrid, dc);
  TesselColors defaults{background, text, GetSysColor(COLOR_HIGHLIGHT),
                        GetSysColor(COLOR_HIGHLIGHTTEXT)};
  MergeRecord(chosen, &defaults);
  record->gridColors = chosen;
  record->gridColorsSet = colors != nullptr;
  if (colors) record->storedColors = record->gridColors;
}

bool AnyColorRecords() {
  TesselRecord* record = gLockedRecord;
  return record->pools[kRowColorPool].count > 0 || record->pools[kGridColorPool].count > 0;
}

void ResolveCellColors(int row, int column, bool selected, COLORREF* text, COLORREF* background) {
  TesselRecord* record = gLockedRecord;
  TesselColors found = kUnset;
  if (IsCurrentCell(row, column))
    MergeRecord(found, ColorRecord(kGridColorPool, record->currentCellColorIndex));
  if (uint32_t node = CellNodeOf(row, column, false))
    MergeRecord(found, ColorRecord(kRowColorPool, CellNode(node)->colorIndex));
  if (uint32_t head = RowHeadIndex(row))
    MergeRecord(found, ColorRecord(kRowColorPool, AttrHead(head)->colorIndex));
  MergeRecord(found, ColorRecord(kGridColorPool, gLockedColumns[column].colorIndex));
  MergeRecord(found, &record->gridColors);
  *text = selected ? found.selectedText : found.text;
  *background = selected ? found.selectedBackground : found.background;
}

bool ResolveButtonColors(int row, int column, bool pressed, COLORREF* text, COLORREF* background) {
  TesselRecord* record = gLockedRecord;
  TesselColors found = kUnset;
  if (row == TSROW_HEADING && column == TSCOL_ROWLABEL) {
    MergeRecord(found, ColorRecord(kGridColorPool, record->cornerColorIndex));
    MergeRecord(found, ColorRecord(kGridColorPool, record->headingRowColorIndex));
  } else if (row == TSROW_HEADING) {
    if (column >= 0 && column < record->columnCount)
      MergeRecord(found, ColorRecord(kGridColorPool, gLockedColumns[column].headingColorIndex));
    MergeRecord(found, ColorRecord(kGridColorPool, record->headingRowColorIndex));
  } else {
    if (uint32_t node = CellNodeOf(row, TSCOL_ROWLABEL, false))
      MergeRecord(found, ColorRecord(kRowColorPool, CellNode(node)->colorIndex));
    MergeRecord(found, ColorRecord(kGridColorPool, record->labelColumnColorIndex));
  }
  *text = pressed ? found.selectedText : found.text;
  *background = pressed ? found.selectedBackground : found.background;
  return *text != TSCLR_DEFAULT || *background != TSCLR_DEFAULT;
}

const LOGFONT* ResolveCellFont(int row, int column) {
  TesselRecord* record = gLockedRecord;
  if (row == TSROW_HEADING) {
    const LOGFONT* own = column == TSCOL_ROWLABEL
                             ? FontRecord(kGridFontPool, record->cornerFontIndex)
                         : column < record->columnCount
                             ? FontRecord(kGridFontPool, gLockedColumns[column].headingFontIndex)
                             : nullptr;
    return own ? own : FontRecord(kGridFontPool, record->headingRowFontIndex);
  }
  if (column == TSCOL_ROWLABEL) {
    uint32_t node = CellNodeOf(row, TSCOL_ROWLABEL, false);
    const LOGFONT* own = node ? FontRecord(kRowFontPool, CellNode(node)->fontIndex) : nullptr;
    return own ? own : FontRecord(kGridFontPool, record->labelColumnFontIndex);
  }
  if (IsCurrentCell(row, column) && record->currentCellFontIndex)
    return FontRecord(kGridFontPool, record->currentCellFontIndex);
  if (uint32_t node = CellNodeOf(row, column, false))
    if (const LOGFONT* own = FontRecord(kRowFontPool, CellNode(node)->fontIndex)) return own;
  if (uint32_t head = RowHeadIndex(row))
    if (const LOGFONT* own = FontRecord(kRowFontPool, AttrHead(head)->fontIndex)) return own;
  return FontRecord(kGridFontPool, gLockedColumns[column].fontIndex);
}

LRESULT OnSetColors(const TesselColors* colors) {
  SetGridColors(colors);
  InvalidateWholeGrid(true);
  return 0;
}

LRESULT OnGetColors(TesselColors* colors) {
  if (!colors) return TSERR_NULLPTR;
  *colors = gLockedRecord->gridColorsSet || gLockedRecord->storedColors.background
                ? gLockedRecord->storedColors
                : kUnset;
  return 0;
}

LRESULT OnAttributeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TesselRecord* record = gLockedRecord;
  auto colors = reinterpret_cast<const TesselColors*>(lParam);
  auto font = reinterpret_cast<const LOGFONT*>(lParam);
  switch (message) {
    case TSM_SETCOLORS: return OnSetColors(colors);
    case TSM_RESETCOLORS: return OnSetColors(nullptr);
    case TSM_GETCOLORS: return OnGetColors(reinterpret_cast<TesselColors*>(lParam));
    case TSM_SETROWCOLORS: return SetColorsOf(Scope::kRow, wParam, colors);
    case TSM_SETCOLCOLORS: return SetColorsOf(Scope::kColumn, wParam, colors);
    case TSM_SETCELLCOLORS: return SetColorsOf(Scope::kCell, wParam, colors);
    case TSM_RESETROWCOLORS: return SetColorsOf(Scope::kRow, wParam, nullptr);
    case TSM_RESETCOLCOLORS: return SetColorsOf(Scope::kColumn, wParam, nullptr);
    case TSM_RESETCELLCOLORS: return SetColorsOf(Scope::kCell, wParam, nullptr);
    case TSM_GETROWCOLORS: return GetColorsOf(Scope::kRow, wParam, lParam);
    case TSM_GETCOLCOLORS: return GetColorsOf(Scope::kColumn, wParam, lParam);
    case TSM_GETCELLCOLORS: return GetColorsOf(Scope::kCell, wParam, lParam);
    case TSM_RESETALLCOLORS: return ResetAllColors();
    case TSM_SETCURCELLCOLORS:
      return StoreRecord(kGridColorPool, record->currentCellColorIndex, colors);
    case TSM_GETCURCELLCOLORS:
      return CopyColorsOut(lParam, ColorRecord(kGridColorPool, record->currentCellColorIndex));
    case TSM_SETFONT: return SetGridFont(font);
    case TSM_RESETFONT: return SetGridFont(nullptr);
    case TSM_SETROWFONT: return SetFontOf(Scope::kRow, wParam, font);
    case TSM_SETCOLFONT: return SetFontOf(Scope::kColumn, wParam, font);
    case TSM_SETCELLFONT: return SetFontOf(Scope::kCell, wParam, font);
    case TSM_RESETROWFONT: return SetFontOf(Scope::kRow, wParam, nullptr);
    case TSM_RESETCOLFONT: return SetFontOf(Scope::kColumn, wParam, nullptr);
    case TSM_RESETCELLFONT: return SetFontOf(Scope::kCell, wParam, nullptr);
    case TSM_RESETALLFONTS: return ResetAllFonts();
    case TSM_SETCURCELLFONT: return StoreRecord(kGridFontPool, record->currentCellFontIndex, font);
    case TSM_GETCELLATTR: return GetCellAttribute(wParam);
    case TSM_SETCELLATTR: return SetCellAttribute(wParam, lParam);
    case TSM_GETROWATTRS: return RowAttributes(wParam, lParam, false);
    case TSM_SETROWATTRS: return RowAttributes(wParam, lParam, true);
    case TSM_GETROWLABEL: return GetRowLabel(wParam, lParam);
    case TSM_SETROWLABEL: return SetRowLabel(wParam, reinterpret_cast<const char*>(lParam));
    case TSM_GETROWHEIGHT: {
      long row = ResolveRowReference(wParam, kPlainReference);
      return row < 0 ? row : RowPixelHeight(static_cast<int>(row));
    }
    case TSM_SETROWHEIGHT: return SetRowHeight(wParam, lParam);
    case TSM_GETROWSTYLE: return RowStyleMessage(wParam, 0, false);
    case TSM_SETROWSTYLE: return RowStyleMessage(wParam, lParam, true);
    case TSM_GETSUBSTTEXT:
      if (!lParam) return TSERR_NULLPTR;
      CopyOut(reinterpret_cast<char*>(lParam), record->substituteText, TS_SUBSTTEXTSIZE);
      return 0;
    case TSM_SETSUBSTTEXT: return SetSubstituteText(reinterpret_cast<const char*>(lParam));
    case TSM_GETGRIDCOLOR: return static_cast<LRESULT>(record->gridLineColor);
    default: return TSERR_BADMESSAGE;
  }
}

int SetCellWordInHead(uint32_t* head, int column, uint16_t word) {
  if (!*head) {
    if (!word) return 0;
    *head = TakePoolRecord(kHeadPool);
    if (!*head) return TSERR_NOMEMORY;
  }
  for (uint32_t cell = AttrHead(*head)->firstCell; cell; cell = CellNode(cell)->next) {
    if (CellNode(cell)->column == static_cast<uint16_t>(column)) {
      CellNode(cell)->attribute = word;
      return 0;
    }
  }
  if (!word) return 0;
  uint32_t fresh = TakePoolRecord(kCellPool);
  if (!fresh) return TSERR_NOMEMORY;
  CellNode(fresh)->column = static_cast<uint16_t>(column);
  CellNode(fresh)->attribute = word;
  CellNode(fresh)->next = AttrHead(*head)->firstCell;
  AttrHead(*head)->firstCell = fresh;
  return 0;
}
