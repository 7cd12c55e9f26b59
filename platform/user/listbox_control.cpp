/*
** The system "listbox" class. The items, their data and the selection are kept here; a
** QListView filling the client area only shows them, reading the rows it draws straight from
** the items (no Qt object per item, so filling a list with thousands of rows stays cheap;
** rows added at the end are announced to the view in one go). Its Qt input is caught and queued as
** window messages, so the window procedure (and any subclass) sees each key and click first,
** and this class's default handling turns them into selection changes and notifications.
** The window's own vertical scroll bar (WS_VSCROLL) scrolls by whole items.
*/
#include "platform/user/listbox_control.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_surface.h"
#include "platform/kernel/string_calls.h"
#include "platform/kernel/text.h"
#include "platform/user/combobox_control.h"
#include "platform/user/control_colors.h"
#include "platform/user/control_input.h"
#include "platform/user/input.h"
#include "platform/user/message_queue.h"
#include "platform/user/painting.h"
#include "platform/user/scroll_bars.h"
#include "platform/user/system_classes.h"
#include "platform/user/system_info.h"
#include "platform/user/text_1252.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_class.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_object.h"
#include "platform/user/window_widgets.h"

#include <QFontMetrics>
#include <QAbstractListModel>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr int kDefaultItemHeight = 16;

struct ListItem {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;  // multiple and extended selection only
};

class ItemModel;

struct ListState {
  HWND hwnd = nullptr;
  QPointer<QListView> view;
  ItemModel* model = nullptr;  // owned by the view
  // One block, which LB_INITSTORAGE takes ahead for a fill of many; an insert or delete
  // moves the items after it along (a few bytes each).
  std::vector<ListItem> items;
  int current = -1;  // the selected item of a single-selection list
  int caret = 0;     // the item with the focus rectangle
  int anchor = 0;    // where an extended selection's range starts
  int top = 0;
  int itemHeight = kDefaultItemHeight;
  int horizontalExtent = 0;
  HFONT font = nullptr;
  HWND combo = nullptr;    // the combo box this list belongs to, if any
  bool scrollBar = false;  // created with WS_VSCROLL: the window's bar follows the items
  bool redraw = true;      // WM_SETREDRAW: while off, the bar waits for it to come back on
  bool updatingBar = false;
  bool tracking = false;  // the left button went down in the list
};

std::map<HWND, std::unique_ptr<ListState>>& Lists() {
  static std::map<HWND, std::unique_ptr<ListState>> lists;
  return lists;
}

ListState* StateOf(HWND hwnd) {
  auto it = Lists().find(hwnd);
  return it == Lists().end() ? nullptr : it->second.get();
}

DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }

bool IsMultiple(HWND hwnd) { return (Style(hwnd) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
bool IsExtended(HWND hwnd) { return (Style(hwnd) & LBS_EXTENDEDSEL) != 0; }
bool IsOwnerDrawn(HWND hwnd) {
  return (Style(hwnd) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}
/* An owner-drawn list without LBS_HASSTRINGS keeps the caller's value, never reading it as text. */
bool StyleKeepsValues(DWORD style) {
  return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) && !(style & LBS_HASSTRINGS);
}
bool KeepsValues(HWND hwnd) { return StyleKeepsValues(Style(hwnd)); }
int Count(const ListState& s) { return static_cast<int>(s.items.size()); }
bool Valid(const ListState& s, int index) { return index >= 0 && index < Count(s); }

void Notify(const ListState& s, int code) {
  bool always = code == LBN_SETFOCUS || code == LBN_KILLFOCUS;
  if (!always && !s.combo && !(Style(s.hwnd) & LBS_NOTIFY)) return;
  HWND target = s.combo ? s.combo : GetParent(s.hwnd);
  if (target)
    SendMessage(target, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(s.hwnd), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(s.hwnd));
}

bool IsSelected(const ListState& s, int index) {
  if (!Valid(s, index)) return false;
  return IsMultiple(s.hwnd) ? s.items[index].selected : index == s.current;
}

int VisibleRows(const ListState& s) {
  RECT client{};
  GetClientRect(s.hwnd, &client);
  return std::max(1, RectHeight(client) / std::max(s.itemHeight, 1));
}

int HighestTop(const ListState& s) { return std::max(0, Count(s) - VisibleRows(s)); }

/* ---- showing the model in the view ---- */

/* The items as Qt's view reads them. Rows appended to the items reach the view when
   AnnounceRows runs (before any other change, and soon after the appending stops), so a fill
   costs the view one insertion, not one per row. */
class ItemModel : public QAbstractListModel {
 public:
  ItemModel(ListState* state, QObject* parent) : QAbstractListModel(parent), s_(state) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shown_; }

  QVariant data(const QModelIndex& index, int role) const override {
    int row = index.row();
    if (row < 0 || row >= shown_ || row >= static_cast<int>(s_->items.size())) return {};
    if (role == Qt::DisplayRole) return DecodeWindows1252(s_->items[row].text);
    if (role == Qt::SizeHintRole) return QSize(0, s_->itemHeight);
    return {};
  }

  /* Tells the view of the rows appended since it last heard. */
  void AnnounceRows() {
    int count = static_cast<int>(s_->items.size());
    if (count <= shown_) return;
    beginInsertRows(QModelIndex(), shown_, count - 1);
    shown_ = count;
    endInsertRows();
  }
  /* An append the view hears of later; one announcement is queued for a run of them. */
  void RowAppended() {
    if (queued_) return;
    queued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          queued_ = false;
          AnnounceRows();
        },
        Qt::QueuedConnection);
  }
  void BeginInsert(int index) {
    AnnounceRows();
    beginInsertRows(QModelIndex(), index, index);
  }
  void EndInsert() {
    ++shown_;
    endInsertRows();
  }
  void BeginRemove(int index) {
    AnnounceRows();
    beginRemoveRows(QModelIndex(), index, index);
  }
  void EndRemove() {
    --shown_;
    endRemoveRows();
  }
  void BeginReset() { beginResetModel(); }
  void EndReset() {
    shown_ = static_cast<int>(s_->items.size());
    endResetModel();
  }
  /* The item height changed: every row is laid out again. */
  void HeightChanged() {
    AnnounceRows();
    emit layoutAboutToBeChanged();
    emit layoutChanged();
  }

 private:
  ListState* s_;
  int shown_ = 0;
  bool queued_ = false;
};

QModelIndex RowIndex(const ListState& s, int row) { return s.model->index(row, 0); }

/* Rows shift with inserts and deletes in the view as in the model; only the caret is shown again. */
void ShowCaret(ListState& s) {
  if (!s.view || !Valid(s, s.caret)) return;
  s.model->AnnounceRows();
  s.view->selectionModel()->setCurrentIndex(RowIndex(s, s.caret), QItemSelectionModel::NoUpdate);
}

void ShowRow(ListState& s, int index) {
  if (!s.view || !Valid(s, index)) return;
  s.model->AnnounceRows();
  s.view->selectionModel()->select(RowIndex(s, index), IsSelected(s, index)
                                                           ? QItemSelectionModel::Select
                                                           : QItemSelectionModel::Deselect);
}

void ShowSelection(ListState& s) {
  if (!s.view) return;
  s.model->AnnounceRows();
  QItemSelectionModel* selection = s.view->selectionModel();
  QItemSelection selected;
  for (int i = 0; i < Count(s); ++i)
    if (IsSelected(s, i)) selected.select(RowIndex(s, i), RowIndex(s, i));
  selection->select(selected, QItemSelectionModel::ClearAndSelect);
  if (Valid(s, s.caret))
    selection->setCurrentIndex(RowIndex(s, s.caret), QItemSelectionModel::NoUpdate);
}

/* The window's bar follows the items; without redraw its Qt widget shows it when the loop
   next turns (a fill of thousands of rows redraws it once). */
void UpdateScrollBar(ListState& s, bool redraw = true) {
  if (!s.scrollBar || s.updatingBar || !s.redraw) return;
  s.updatingBar = true;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (Style(s.hwnd) & LBS_DISABLENOSCROLL) info.fMask |= SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = std::max(Count(s) - 1, 0);
  info.nPage = static_cast<UINT>(VisibleRows(s));
  info.nPos = s.top;
  SetScrollInfo(s.hwnd, SB_VERT, &info, redraw ? TRUE : FALSE);
  if (StateOf(s.hwnd)) s.updatingBar = false;
}

void ShowTop(ListState& s) {
  s.top = std::clamp(s.top, 0, HighestTop(s));
  if (s.view) {
    s.model->AnnounceRows();
    s.view->verticalScrollBar()->setValue(s.top);
  }
  UpdateScrollBar(s);
}

void EnsureVisible(ListState& s, int index) {
  if (!Valid(s, index)) return;
  int rows = VisibleRows(s);
  if (index < s.top) s.top = index;
  else if (index >= s.top + rows) s.top = index - rows + 1;
  ShowTop(s);
}

/* ---- the model ---- */

int InsertItem(ListState& s, int index, ListItem item) {
  if (index == Count(s) && Count(s) > 0 && s.view) {
    // Appending moves no index the list keeps, and the view hears of it later: a fill of
    // thousands of rows does no view work per row. The window's bar follows at once, its
    // widget when the loop turns.
    s.items.push_back(std::move(item));
    s.model->RowAppended();
    UpdateScrollBar(s, false);
    return index;
  }
  if (s.view) s.model->BeginInsert(index);
  s.items.insert(s.items.begin() + index, std::move(item));
  if (s.view) s.model->EndInsert();
  if (s.current >= index) ++s.current;
  if (s.caret >= index && Count(s) > 1) ++s.caret;
  if (s.anchor >= index && Count(s) > 1) ++s.anchor;
  ShowCaret(s);
  ShowTop(s);
  return index;
}

/* What LB_ADDSTRING and LB_INSERTSTRING were given: a text, or the owner's value. */
ListItem ItemFromParam(DWORD style, LPARAM lParam) {
  if (StyleKeepsValues(style)) return ListItem{std::string(), static_cast<ULONG_PTR>(lParam)};
  return ListItem{lParam ? reinterpret_cast<LPCSTR>(lParam) : ""};
}

/* Sorted lists keep lstrcmpi order; an equal text goes after those already there. The list's
   style is read once for the item. */
int AddItem(ListState& s, LPARAM lParam) {
  DWORD style = Style(s.hwnd);
  ListItem item = ItemFromParam(style, lParam);
  int index = Count(s);
  if ((style & LBS_SORT) && !StyleKeepsValues(style)) {
    // Items added in order go last: the common fill asks one comparison, not a search.
    const char* text = item.text.c_str();
    if (index > 0 && lstrcmpi(text, s.items.back().text.c_str()) < 0) {
      auto place = std::upper_bound(
          s.items.begin(), s.items.end(), text,
          [](const char* t, const ListItem& item) { return lstrcmpi(t, item.text.c_str()) < 0; });
      index = static_cast<int>(place - s.items.begin());
    }
  }
  return InsertItem(s, index, std::move(item));
}

int DeleteItem(ListState& s, int index) {
  if (!Valid(s, index)) return LB_ERR;
  if (s.view) s.model->BeginRemove(index);
  s.items.erase(s.items.begin() + index);
  if (s.view) s.model->EndRemove();
  if (s.current == index) s.current = -1;
  else if (s.current > index) --s.current;
  if (s.caret > index || s.caret >= Count(s)) s.caret = std::max(s.caret - 1, 0);
  if (s.anchor > index || s.anchor >= Count(s)) s.anchor = std::max(s.anchor - 1, 0);
  ShowCaret(s);
  ShowTop(s);
  return Count(s);
}

void ResetContent(ListState& s) {
  if (s.view) s.model->BeginReset();
  s.items.clear();
  if (s.view) s.model->EndReset();
  s.current = -1;
  s.caret = s.anchor = s.top = 0;
  ShowTop(s);
}

void SelectSingle(ListState& s, int index) {
  int previous = s.current;
  s.current = Valid(s, index) ? index : -1;
  if (s.current >= 0) s.caret = s.anchor = s.current;
  if (s.view && s.current >= 0) {
    // One change of Qt's selection: it costs far more than ours.
    s.model->AnnounceRows();
    s.view->selectionModel()->setCurrentIndex(RowIndex(s, s.current),
                                              QItemSelectionModel::ClearAndSelect);
  } else {
    ShowRow(s, previous);
    ShowRow(s, s.current);
    ShowCaret(s);
  }
  EnsureVisible(s, s.current);
}

void SelectRange(ListState& s, int first, int last, bool select) {
  if (first > last) std::swap(first, last);
  first = std::max(first, 0);
  last = std::min(last, Count(s) - 1);
  for (int i = first; i <= last; ++i) s.items[i].selected = select;
}

void ClearSelection(ListState& s) {
  for (ListItem& item : s.items) item.selected = false;
}

/* The kernel's upper case of each byte, looked up once: searches compare many items. */
const unsigned char* UpperTable() {
  static unsigned char table[256];
  static bool ready = false;
  if (!ready) {
    for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
    CharUpperBuff(reinterpret_cast<LPSTR>(table + 1), 255);  // byte 0 stays the terminator
    ready = true;
  }
  return table;
}

bool StartsWith(const std::string& text, const char* prefix) {
  const unsigned char* upper = UpperTable();
  size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= text.size()) return false;
    if (upper[static_cast<unsigned char>(text[i])] != upper[static_cast<unsigned char>(prefix[i])])
      return false;
  }
  return true;
}

/* Searches after `start` to the end, then from the top up to `start`, without regard to case;
** a list that keeps values looks for the value itself. */
int FindItem(const ListState& s, int start, LPARAM key, bool exact) {
  bool values = KeepsValues(s.hwnd);
  auto text = reinterpret_cast<const char*>(key);
  if (!values && !text) return LB_ERR;
  int count = Count(s);
  if (start < -1 || start >= count) start = -1;
  for (int step = 1; step <= count; ++step) {
    int i = (start + step) % count;
    const std::string& item = s.items[i].text;
    bool match = values  ? s.items[i].data == static_cast<ULONG_PTR>(key)
                 : exact ? lstrcmpi(item.c_str(), text) == 0
                         : StartsWith(item, text);
    if (match) return i;
  }
  return LB_ERR;
}

/* ---- input ---- */

int ItemAt(const ListState& s, int y) {
  if (y < 0) return -1;
  int index = s.top + y / std::max(s.itemHeight, 1);
  return Valid(s, index) ? index : -1;
}

/* A click on an item, as the selection kind takes it. */
void ClickItem(ListState& s, int index, WPARAM keys) {
  if (!Valid(s, index)) return;
  if (!IsMultiple(s.hwnd)) {
    SelectSingle(s, index);
  } else if (!IsExtended(s.hwnd)) {
    s.items[index].selected = !s.items[index].selected;
    s.caret = s.anchor = index;
  } else if (keys & MK_SHIFT) {
    if (!(keys & MK_CONTROL)) ClearSelection(s);
    SelectRange(s, s.anchor, index, true);
    s.caret = index;
  } else if (keys & MK_CONTROL) {
    s.items[index].selected = !s.items[index].selected;
    s.caret = s.anchor = index;
  } else {
    ClearSelection(s);
    s.items[index].selected = true;
    s.caret = s.anchor = index;
  }
  ShowSelection(s);
  EnsureVisible(s, index);
  Notify(s, LBN_SELCHANGE);
}

int KeyTarget(const ListState& s, int vk) {
  int rows = VisibleRows(s), from = IsMultiple(s.hwnd) ? s.caret : std::max(s.current, 0);
  switch (vk) {
    case VK_UP: return from - 1;
    case VK_DOWN: return s.current < 0 && !IsMultiple(s.hwnd) ? 0 : from + 1;
    case VK_PRIOR: return from - (rows - 1);
    case VK_NEXT: return from + (rows - 1);
    case VK_HOME: return 0;
    case VK_END: return Count(s) - 1;
    default: return -2;
  }
}

void OnKeyDown(ListState& s, int vk) {
  if (Count(s) == 0) return;
  if (vk == VK_SPACE && IsMultiple(s.hwnd)) {
    if (IsExtended(s.hwnd)) ClearSelection(s), s.anchor = s.caret;
    s.items[s.caret].selected = IsExtended(s.hwnd) ? true : !s.items[s.caret].selected;
    ShowSelection(s);
    Notify(s, LBN_SELCHANGE);
    return;
  }
  int target = KeyTarget(s, vk);
  if (target == -2) return;
  target = std::clamp(target, 0, Count(s) - 1);
  if (!IsMultiple(s.hwnd)) {
    if (target == s.current) return;
    SelectSingle(s, target);
    Notify(s, LBN_SELCHANGE);
    return;
  }
  s.caret = target;
  if (IsExtended(s.hwnd)) {
    // Arrows select the caret item alone; with Shift the range from the anchor.
    ClearSelection(s);
    if (GetKeyState(VK_SHIFT) < 0) SelectRange(s, s.anchor, target, true);
    else s.items[target].selected = true, s.anchor = target;
  }
  ShowSelection(s);
  EnsureVisible(s, target);
  if (IsExtended(s.hwnd)) Notify(s, LBN_SELCHANGE);
}

/* A typed character selects the next item that begins with it. */
void OnChar(ListState& s, WPARAM ch) {
  if (ch < 0x20 || Count(s) == 0 || (ch == ' ' && IsMultiple(s.hwnd)) || KeepsValues(s.hwnd))
    return;
  char text[2] = {static_cast<char>(ch), 0};
  int from = IsMultiple(s.hwnd) ? s.caret : s.current;
  int found = FindItem(s, from, reinterpret_cast<LPARAM>(text), false);
  if (found == LB_ERR) return;
  if (IsMultiple(s.hwnd)) {
    s.caret = found;
    if (IsExtended(s.hwnd)) ClearSelection(s), s.items[found].selected = true, s.anchor = found;
    ShowSelection(s);
    EnsureVisible(s, found);
  } else {
    if (found == s.current) return;
    SelectSingle(s, found);
  }
  Notify(s, LBN_SELCHANGE);
}

void OnVScroll(ListState& s, int code, int pos) {
  switch (code) {
    case SB_LINEUP: --s.top; break;
    case SB_LINEDOWN: ++s.top; break;
    case SB_PAGEUP: s.top -= VisibleRows(s); break;
    case SB_PAGEDOWN: s.top += VisibleRows(s); break;
    case SB_TOP: s.top = 0; break;
    case SB_BOTTOM: s.top = HighestTop(s); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: s.top = pos; break;
    default: return;
  }
  ShowTop(s);
}

/* ---- owner-drawn items ---- */

/* Who draws and measures the items: the list's parent, or for a combo's list the combo's. */
HWND ItemOwner(const ListState& s) { return s.combo ? GetParent(s.combo) : GetParent(s.hwnd); }
HWND ItemControl(const ListState& s) { return s.combo ? s.combo : s.hwnd; }

/* The owner gives the height of every item once (LBS_OWNERDRAWVARIABLE is treated so too). */
void MeasureItems(ListState& s) {
  HWND owner = ItemOwner(s);
  if (!IsOwnerDrawn(s.hwnd) || !owner) return;
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = s.combo ? ODT_COMBOBOX : ODT_LISTBOX;
  measure.CtlID = static_cast<UINT>(GetDlgCtrlID(ItemControl(s)));
  RECT client{};
  GetClientRect(s.hwnd, &client);
  measure.itemWidth = static_cast<UINT>(client.right);
  measure.itemHeight = static_cast<UINT>(s.itemHeight);
  SendMessage(owner, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
  if (ListState* still = StateOf(s.hwnd);
      still && measure.itemHeight > 0 && measure.itemHeight <= 255)
    SendMessage(still->hwnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(measure.itemHeight, 0));
}

/* Each row is drawn by the owner through WM_DRAWITEM on a DC over the row's pixels. */
class OwnerDrawDelegate : public QStyledItemDelegate {
 public:
  OwnerDrawDelegate(HWND hwnd, QObject* parent) : QStyledItemDelegate(parent), hwnd_(hwnd) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    ListState* s = StateOf(hwnd_);
    int row = index.row();
    if (!s || !Valid(*s, row) || option.rect.isEmpty()) return;
    QRect r = option.rect;
    QImage pixels(r.size(), QImage::Format_RGB32);
    pixels.fill(option.palette.color(QPalette::Base));
    HDC dc = GdiCreateSurfaceDC(&pixels, QPoint(-r.left(), -r.top()), QRegion());
    DRAWITEMSTRUCT item{};
    item.CtlType = s->combo ? ODT_COMBOBOX : ODT_LISTBOX;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(ItemControl(*s)));
    item.itemID = static_cast<UINT>(row);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (IsSelected(*s, row) ? ODS_SELECTED : 0) |
                     (row == s->caret && GetFocus() == hwnd_ ? ODS_FOCUS : 0);
    item.hwndItem = ItemControl(*s);
    item.hDC = dc;
    item.rcItem = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    item.itemData = s->items[row].data;
    if (HWND owner = ItemOwner(*s))
      SendMessage(owner, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    GdiReleaseSurfaceDC(dc);
    painter->drawImage(r.topLeft(), pixels);
  }

 private:
  HWND hwnd_;
};

void CreateView(HWND hwnd, DWORD style) {
  WindowPtr window = FindWindowObject(hwnd);
  if (!window || !window->clientWidget) return;
  auto state = std::make_unique<ListState>();
  state->hwnd = hwnd;
  state->scrollBar = (style & WS_VSCROLL) != 0;
  auto* layout = new QVBoxLayout(window->clientWidget);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* view = new QListView(window->clientWidget);
  view->setFrameShape(QFrame::NoFrame);
  view->setSelectionMode(QAbstractItemView::MultiSelection);  // shows what the model says
  view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // the window's bar scrolls
  view->setUniformItemSizes(true);
  view->setAutoScroll(false);
  view->setFocusPolicy(Qt::NoFocus);
  view->setContextMenuPolicy(Qt::NoContextMenu);
  view->setSpacing(0);
  if (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))
    view->setItemDelegate(new OwnerDrawDelegate(hwnd, view));
  InstallControlInput(hwnd, view);
  InstallControlInput(hwnd, view->viewport());
  AskParentColorsWhenPainting(hwnd, WM_CTLCOLORLISTBOX, view->viewport(), view);
  layout->addWidget(view);
  // The wheel scrolls the view by itself; the top index and the window's bar follow it.
  QObject::connect(view->verticalScrollBar(), &QScrollBar::valueChanged, view, [hwnd](int value) {
    ListState* s = StateOf(hwnd);
    if (!s || value == s->top) return;
    s->top = value;
    UpdateScrollBar(*s);
  });
  state->model = new ItemModel(state.get(), view);
  view->setModel(state->model);
  window->focusTarget = view;
  state->view = view;
  Lists()[hwnd] = std::move(state);
}

void SetFont(ListState& s, HFONT font) {
  s.font = font;
  if (!s.view) return;
  QFont qfont = GdiFontToQFont(font);
  s.view->setFont(qfont);
  s.itemHeight = std::max(QFontMetrics(qfont).height(), 1);
  s.model->HeightChanged();
  ShowTop(s);
}

int SelectionCount(const ListState& s) {
  return static_cast<int>(
      std::count_if(s.items.begin(), s.items.end(), [](const ListItem& i) { return i.selected; }));
}

LRESULT GetSelItems(const ListState& s, int room, int* out) {
  if (!out) return LB_ERR;
  int written = 0;
  for (int i = 0; i < Count(s) && written < room; ++i)
    if (s.items[i].selected) out[written++] = i;
  return written;
}

LRESULT GetItemText(const ListState& s, int index, LPSTR buffer) {
  if (!Valid(s, index) || !buffer) return LB_ERR;
  if (KeepsValues(s.hwnd)) {
    std::memcpy(buffer, &s.items[index].data, sizeof(ULONG_PTR));
    return sizeof(ULONG_PTR);
  }
  const std::string& text = s.items[index].text;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<LRESULT>(text.size());
}

LRESULT ListDirectory(ListState& s, UINT fileType, LPCSTR pattern) {
  // Only plain files are listed: a request for directories or drives alone adds nothing.
  if (fileType & DDL_EXCLUSIVE) return LB_ERR;
  std::vector<std::string> names;
  if (!ListMatchingFiles(pattern, names)) return LB_ERR;
  LRESULT last = LB_ERR;
  for (const std::string& name : names) last = AddItem(s, reinterpret_cast<LPARAM>(name.c_str()));
  return last;
}

LRESULT SetCurSel(ListState& s, int index) {
  if (IsMultiple(s.hwnd)) return LB_ERR;
  if (index == -1) {
    SelectSingle(s, -1);
    return LB_ERR;  // as on the original platform, though nothing failed
  }
  if (!Valid(s, index)) return LB_ERR;
  SelectSingle(s, index);
  return index;
}

LRESULT SetSel(ListState& s, bool select, int index) {
  if (!IsMultiple(s.hwnd)) return LB_ERR;
  if (index == -1) {
    SelectRange(s, 0, Count(s) - 1, select);
  } else {
    if (!Valid(s, index)) return LB_ERR;
    s.items[index].selected = select;
    s.caret = index;
  }
  ShowSelection(s);
  return LB_OKAY;
}

LRESULT SelectString(ListState& s, int start, LPARAM key) {
  int found = FindItem(s, start, key, false);
  if (found == LB_ERR) return LB_ERR;
  if (IsMultiple(s.hwnd)) {
    s.items[found].selected = true;
    s.caret = found;
    ShowSelection(s);
    EnsureVisible(s, found);
  } else {
    SelectSingle(s, found);
  }
  return found;
}

LRESULT ItemRect(const ListState& s, int index, RECT* rect) {
  if (!Valid(s, index) || !rect) return LB_ERR;
  RECT client{};
  GetClientRect(s.hwnd, &client);
  int y = (index - s.top) * s.itemHeight;
  *rect = RECT{0, y, client.right, y + s.itemHeight};
  return LB_OKAY;
}

LRESULT OnMouse(ListState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  int y = static_cast<SHORT>(HIWORD(lParam));
  switch (message) {
    case WM_LBUTTONDOWN:
      if (s.combo) {
        // A combo's list leaves the focus with its combo box.
        HWND focus = GetFocus();
        if (focus != s.combo && !IsChild(s.combo, focus)) SetFocus(s.combo);
      } else if (GetFocus() != hwnd && (Style(hwnd) & WS_CHILD)) {
        SetFocus(hwnd);  // a list floating above its dialog leaves the focus where it is
      }
      if (!StateOf(hwnd)) return 0;
      SetCapture(hwnd);
      s.tracking = true;
      ClickItem(s, ItemAt(s, y), wParam);
      return 0;
    case WM_MOUSEMOVE: {
      // Dragging moves a single selection along; a click decides a multiple one.
      if (!s.tracking || !(wParam & MK_LBUTTON) || IsMultiple(hwnd)) return 0;
      int index = ItemAt(s, std::clamp(y, 0, VisibleRows(s) * s.itemHeight - 1));
      if (index >= 0 && index != s.current) {
        SelectSingle(s, index);
        Notify(s, LBN_SELCHANGE);
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (!s.tracking) return 0;
      s.tracking = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      if (s.combo && StateOf(hwnd)) ComboListPicked(s.combo, ItemAt(s, y) >= 0);
      return 0;
    case WM_LBUTTONDBLCLK: {
      int index = ItemAt(s, y);
      if (index < 0) return 0;
      if (!IsSelected(s, index)) ClickItem(s, index, wParam);
      if (StateOf(hwnd)) Notify(s, LBN_DBLCLK);
      return 0;
    }
    default: return 0;
  }
}

LRESULT ListMessage(ListState& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case LB_ADDSTRING:
    case LB_ADDFILE: return AddItem(s, lParam);
    case LB_INSERTSTRING:
      if (index == -1) index = Count(s);
      if (index < 0 || index > Count(s)) return LB_ERR;
      return InsertItem(s, index, ItemFromParam(Style(hwnd), lParam));
    case LB_DELETESTRING: return DeleteItem(s, index);
    case LB_RESETCONTENT: ResetContent(s); return LB_OKAY;
    case LB_GETCOUNT: return Count(s);
    case LB_INITSTORAGE: {
      // Room for that many more items. Each text is kept with its item (a short one inside
      // it), so the bytes of text the caller names (lParam) are not taken ahead.
      if (index < 0) return LB_ERRSPACE;
      try {
        s.items.reserve(s.items.size() + static_cast<size_t>(index));
      } catch (const std::bad_alloc&) { return LB_ERRSPACE; }
      return static_cast<LRESULT>(s.items.capacity());
    }
    case LB_GETTEXT: return GetItemText(s, index, reinterpret_cast<LPSTR>(lParam));
    case LB_GETTEXTLEN:
      if (!Valid(s, index)) return LB_ERR;
      return KeepsValues(hwnd) ? static_cast<LRESULT>(sizeof(ULONG_PTR))
                               : static_cast<LRESULT>(s.items[index].text.size());
    case LB_SETCURSEL: return SetCurSel(s, index);
    case LB_GETCURSEL:
      if (IsMultiple(hwnd)) return Count(s) ? s.caret : LB_ERR;
      return s.current;
    case LB_SETSEL: return SetSel(s, wParam != 0, static_cast<int>(lParam));
    case LB_GETSEL: return Valid(s, index) ? (IsSelected(s, index) ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT: return IsMultiple(hwnd) ? SelectionCount(s) : LB_ERR;
    case LB_GETSELITEMS:
      return IsMultiple(hwnd) ? GetSelItems(s, index, reinterpret_cast<int*>(lParam)) : LB_ERR;
    case LB_SELITEMRANGE:
      if (!IsMultiple(hwnd)) return LB_ERR;
      SelectRange(s, LOWORD(lParam), HIWORD(lParam), wParam != 0);
      ShowSelection(s);
      return LB_OKAY;
    case LB_SELITEMRANGEEX: {
      if (!IsMultiple(hwnd)) return LB_ERR;
      int last = static_cast<int>(lParam);
      SelectRange(s, index, last, last >= index);  // reversed bounds deselect
      ShowSelection(s);
      return LB_OKAY;
    }
    case LB_FINDSTRING: return FindItem(s, index, lParam, false);
    case LB_FINDSTRINGEXACT: return FindItem(s, index, lParam, true);
    case LB_SELECTSTRING: return SelectString(s, index, lParam);
    case LB_GETTOPINDEX: return s.top;
    case LB_SETTOPINDEX:
      if (!Valid(s, index) && !(index == 0 && Count(s) == 0)) return LB_ERR;
      s.top = index;
      ShowTop(s);
      return LB_OKAY;
    case LB_GETITEMHEIGHT: return s.itemHeight;
    case LB_SETITEMHEIGHT: {
      int height = LOWORD(lParam);
      if (height <= 0 || height > 255) return LB_ERR;
      s.itemHeight = height;
      if (s.view) s.model->HeightChanged();
      ShowTop(s);
      return LB_OKAY;
    }
    case LB_GETITEMDATA:
      return Valid(s, index) ? static_cast<LRESULT>(s.items[index].data) : LB_ERR;
    case LB_SETITEMDATA:
      if (!Valid(s, index)) return LB_ERR;
      s.items[index].data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    case LB_GETITEMRECT: return ItemRect(s, index, reinterpret_cast<RECT*>(lParam));
    case LB_GETCARETINDEX: return Count(s) ? s.caret : LB_ERR;
    case LB_SETCARETINDEX:
      if (!Valid(s, index)) return LB_ERR;
      s.caret = index;
      ShowSelection(s);
      EnsureVisible(s, index);
      return LB_OKAY;
    case LB_GETANCHORINDEX: return Count(s) ? s.anchor : LB_ERR;
    case LB_SETANCHORINDEX:
      if (!Valid(s, index)) return LB_ERR;
      s.anchor = index;
      return LB_OKAY;
    case LB_DIR:
      return ListDirectory(s, static_cast<UINT>(wParam), reinterpret_cast<LPCSTR>(lParam));
    case LB_GETHORIZONTALEXTENT: return s.horizontalExtent;
    case LB_SETHORIZONTALEXTENT: s.horizontalExtent = index; return 0;
    case LB_SETTABSTOPS: return TRUE;
    case LB_SETCOLUMNWIDTH: return 0;
    default: return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK ListBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
    CreateView(hwnd, cs ? static_cast<DWORD>(cs->style) : Style(hwnd));
    return DefWindowProc(hwnd, message, wParam, lParam);
  }
  ListState* s = StateOf(hwnd);
  if (!s || !s->view) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      Lists().erase(hwnd);
      SetControlColorParent(hwnd, nullptr);
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_CREATE:
      // A list floating for a combo box is measured once the combo is known.
      if (Style(hwnd) & WS_CHILD) MeasureItems(*s);
      return 0;
    case WM_SIZE:
      DefWindowProc(hwnd, message, wParam, lParam);
      if (ListState* still = StateOf(hwnd)) ShowTop(*still);
      return 0;
    case WM_SETREDRAW: {
      s->redraw = wParam != 0;
      s->view->setUpdatesEnabled(s->redraw);
      LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
      if (ListState* still = StateOf(hwnd); still && still->redraw) UpdateScrollBar(*still);
      return result;
    }
    case WM_SETFONT: SetFont(*s, reinterpret_cast<HFONT>(wParam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND: return 1;
    case WM_SETFOCUS:
      s->view->setFocus(Qt::OtherFocusReason);
      Notify(*s, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->view->clearFocus();
      Notify(*s, LBN_KILLFOCUS);
      return 0;
    case WM_MOUSEACTIVATE:
      // A list floating above its dialog (a drop-down list) never takes the activation.
      if (!(Style(hwnd) & WS_CHILD)) return MA_NOACTIVATE;
      return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: return OnMouse(*s, hwnd, message, wParam, lParam);
    case WM_KEYDOWN: OnKeyDown(*s, static_cast<int>(wParam)); return 0;
    case WM_CHAR: OnChar(*s, wParam); return 0;
    case WM_VSCROLL:
      if (lParam == 0) OnVScroll(*s, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
      return 0;
    default: return ListMessage(*s, hwnd, message, wParam, lParam);
  }
}

void SetListBoxOwnerCombo(HWND list, HWND combo) {
  SetControlColorParent(list, combo);
  if (ListState* s = StateOf(list)) {
    s->combo = combo;
    MeasureItems(*s);
  }
}

void RegisterListBoxClass() {
  WNDCLASS list{};
  list.style = CS_DBLCLKS | CS_PARENTDC;
  list.lpfnWndProc = ListBoxWindowProc;
  list.cbWndExtra = 8;
  list.hCursor = LoadCursor(nullptr, IDC_ARROW);
  list.lpszClassName = "ListBox";
  RegisterSystemClass(&list);
}
