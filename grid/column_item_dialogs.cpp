/*
** The sub-dialogs of Column Setup that edit one column's details: List Box Items, Editing
** Style and Sorting Information.
*/
#include "grid/column_setup.h"

#include "grid/design_exports.h"
#include "grid/design_help.h"
#include "grid/tessel_codes.h"

#include <set>
#include <string>
#include <vector>

namespace {

enum { kHelp = 998 };

ColumnSetupState* StateOf(HWND dialog) {
  return reinterpret_cast<ColumnSetupState*>(GetWindowLongPtr(dialog, DWLP_USER));
}
int Column(HWND dialog) { return StateOf(dialog)->current - 1; }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void Check(HWND dialog, int id, bool on) {
  CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// ---- List Box Items ----

enum { kItems = 101, kAdd = 102, kRemove = 103, kNewItem = 104 };

void LoadItems(HWND dialog) {
  HWND grid = StateOf(dialog)->grid;
  LRESULT size = SendMessage(grid, TSM_GETLISTITEMSSIZE, static_cast<WPARAM>(Column(dialog)), 0);
  if (size < 1) return;
  std::vector<char> items(static_cast<size_t>(size) + 1, '\0');
  SendMessage(grid, TSM_GETLISTITEMS, static_cast<WPARAM>(Column(dialog)),
              reinterpret_cast<LPARAM>(items.data()));
  std::string all = items.data();
  if (all.empty()) return;
  size_t start = 0;
  for (;;) {
    size_t tab = all.find('\t', start);
    std::string item =
        all.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    SendDlgItemMessage(dialog, kItems, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
}

void AddItem(HWND dialog) {
  char text[100] = "";
  GetDlgItemText(dialog, kNewItem, text, sizeof text);
  if (*text) SendDlgItemMessage(dialog, kItems, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  SetDlgItemText(dialog, kNewItem, "");
  SetFocus(GetDlgItem(dialog, kNewItem));
}

void StoreItems(HWND dialog) {
  std::string joined;
  LRESULT count = SendDlgItemMessage(dialog, kItems, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendDlgItemMessage(dialog, kItems, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::vector<char> item(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendDlgItemMessage(dialog, kItems, LB_GETTEXT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(item.data()));
    if (i) joined += '\t';
    joined += item.data();
  }
  SendMessage(StateOf(dialog)->grid, TSM_SETLISTITEMS, static_cast<WPARAM>(Column(dialog)),
              reinterpret_cast<LPARAM>(joined.c_str()));
}

// ---- Editing Style ----

struct EditBox {
  int id;
  DWORD bit;
};
const EditBox kEditBoxes[] = {{101, ES_MULTILINE},   {102, ES_WANTRETURN}, {103, ES_AUTOHSCROLL},
                              {104, ES_AUTOVSCROLL}, {105, ES_PASSWORD},   {109, ES_LOWERCASE},
                              {110, ES_UPPERCASE}};

// ---- Sorting Information ----

/* The controls of key k (0 to 2): column field, Ascending, Descending, Case Insensitive. */
int KeyField(int key) { return 100 + 4 * key; }

struct SortState {
  int shown[3] = {0, 0, 0};     // 1-based columns shown per key, 0 none
  std::set<int> keysAtOpening;  // 0-based columns that were keys when the dialog opened
};
// Owner: grid.
SortState gSort;

void EnableKey(HWND dialog, int key, bool on) {
  for (int i = 0; i < 4; ++i) EnableWindow(GetDlgItem(dialog, KeyField(key) + i), on);
}

/* Shows key k on that column and enables or disables the keys after it. */
void ShowKey(HWND dialog, int key, int column) {
  HWND grid = StateOf(dialog)->grid;
  gSort.shown[key] = column;
  SetDlgItemInt(dialog, KeyField(key), static_cast<UINT>(column), FALSE);
  CheckRadioButton(dialog, KeyField(key) + 1, KeyField(key) + 2, KeyField(key) + 1);
  Check(dialog, KeyField(key) + 3, false);
  if (column > 0) {
    unsigned flags = static_cast<unsigned>(
        SendMessage(grid, TSM_GETCOLSTYLE, static_cast<WPARAM>(column - 1), 0));
    if (flags & TSCS_SORTDES)
      CheckRadioButton(dialog, KeyField(key) + 1, KeyField(key) + 2, KeyField(key) + 2);
    Check(dialog, KeyField(key) + 3, (flags & TSCS_SORTCASEI) != 0);
    if (key < 2) EnableKey(dialog, key + 1, true);
    return;
  }
  for (int next = key + 1; next < 3; ++next) {
    EnableKey(dialog, next, false);
    gSort.shown[next] = 0;
    SetDlgItemInt(dialog, KeyField(next), 0, FALSE);
  }
}

void OpenSort(HWND dialog) {
  HWND grid = StateOf(dialog)->grid;
  gSort = SortState{};
  for (int key = 0; key < 3; ++key) {
    CheckRadioButton(dialog, KeyField(key) + 1, KeyField(key) + 2, KeyField(key) + 1);
    SetDlgItemInt(dialog, KeyField(key), 0, FALSE);
  }
  EnableKey(dialog, 1, false);
  EnableKey(dialog, 2, false);
  for (int key = 0; key < 3; ++key) {
    if (key > 0 && gSort.shown[key - 1] == 0) break;
    LRESULT column = SendMessage(grid, TSM_GETSORTKEY, 0, key + 1);
    if (column >= 0) gSort.keysAtOpening.insert(static_cast<int>(column));
    ShowKey(dialog, key, column >= 0 ? static_cast<int>(column) + 1 : 0);
  }
}

bool ReadKeyField(HWND dialog, int key, int* column) {
  return ReadRangedField(dialog, KeyField(key), "Sort Key", 0, StateOf(dialog)->count, column);
}

void OnKeyFieldLeft(HWND dialog, int key) {
  int column = 0;
  if (!ReadKeyField(dialog, key, &column)) return;
  if (column != gSort.shown[key]) ShowKey(dialog, key, column);
}

void SortOk(HWND dialog) {
  HWND grid = StateOf(dialog)->grid;
  int columns[3] = {0, 0, 0};
  for (int key = 0; key < 3; ++key)
    if (IsWindowEnabled(GetDlgItem(dialog, KeyField(key))) &&
        !ReadKeyField(dialog, key, &columns[key]))
      return;
  // A column that was a key and is no longer named loses its key bits, so a key can go.
  std::set<int> named;
  for (int key = 0; key < 3 && columns[key]; ++key) named.insert(columns[key] - 1);
  for (int old : gSort.keysAtOpening) {
    if (named.count(old)) continue;
    unsigned flags =
        static_cast<unsigned>(SendMessage(grid, TSM_GETCOLSTYLE, static_cast<WPARAM>(old), 0));
    SendMessage(grid, TSM_SETCOLSTYLE, static_cast<WPARAM>(old),
                flags & ~static_cast<unsigned>(0x5000 | TSCS_SORTDES | TSCS_SORTCASEI));
  }
  const unsigned keyBits[3] = {TSCS_SORTKEY1, TSCS_SORTKEY2, TSCS_SORTKEY3};
  for (int key = 0; key < 3 && columns[key]; ++key) {
    WPARAM column = static_cast<WPARAM>(columns[key] - 1);
    unsigned flags = static_cast<unsigned>(SendMessage(grid, TSM_GETCOLSTYLE, column, 0)) & 0x2BFF;
    if (Checked(dialog, KeyField(key) + 2)) flags |= TSCS_SORTDES;
    if (Checked(dialog, KeyField(key) + 3)) flags |= TSCS_SORTCASEI;
    SendMessage(grid, TSM_SETCOLSTYLE, column, static_cast<LPARAM>(flags | keyBits[key]));
  }
  EndDialog(dialog, 1);
}

}  // namespace

extern "C" INT_PTR ColListDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    SendDlgItemMessage(dialog, kNewItem, EM_LIMITTEXT, 99, 0);
    LoadItems(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case kAdd: AddItem(dialog); return TRUE;
    case kRemove: {
      LRESULT selected = SendDlgItemMessage(dialog, kItems, LB_GETCURSEL, 0, 0);
      if (selected >= 0)
        SendDlgItemMessage(dialog, kItems, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
      return TRUE;
    }
    case IDOK:
      StoreItems(dialog);
      EndDialog(dialog, 1);
      return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case kHelp: OpenTesselHelp(dialog, "Setting List Box Items at Design Time"); return TRUE;
    default: return FALSE;
  }
}

extern "C" INT_PTR EditStyleDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    DWORD style = static_cast<DWORD>(SendMessage(StateOf(dialog)->grid, TSM_GETEDITSTYLE,
                                                 static_cast<WPARAM>(Column(dialog)), 0));
    for (const EditBox& box : kEditBoxes) Check(dialog, box.id, (style & box.bit) != 0);
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: {
      DWORD style = 0;
      for (const EditBox& box : kEditBoxes)
        if (Checked(dialog, box.id)) style |= box.bit;
      SendMessage(StateOf(dialog)->grid, TSM_SETEDITSTYLE, static_cast<WPARAM>(Column(dialog)),
                  static_cast<LPARAM>(style));
      EndDialog(dialog, 1);
      return TRUE;
    }
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case kHelp: OpenTesselHelp(dialog, "Setting Editing Style at Design Time"); return TRUE;
    default: return FALSE;
  }
}

extern "C" INT_PTR SortDlgFn(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtr(dialog, DWLP_USER, lParam);
    OpenSort(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  int id = LOWORD(wParam);
  if (HIWORD(wParam) == EN_KILLFOCUS) {
    for (int key = 0; key < 3; ++key)
      if (id == KeyField(key)) OnKeyFieldLeft(dialog, key);
    return TRUE;
  }
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (id) {
    case IDOK: SortOk(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case kHelp: OpenTesselHelp(dialog, "Defining Sorting at Design Time"); return TRUE;
    default:
      // Ascending and Descending of a key exclude each other.
      for (int key = 0; key < 3; ++key)
        if (id == KeyField(key) + 1 || id == KeyField(key) + 2)
          CheckRadioButton(dialog, KeyField(key) + 1, KeyField(key) + 2, id);
      return TRUE;
  }
}
