/*
** The window procedures of the in-cell editors: "tsedit", an edit field whose keys end or
** leave editing, and "tsComboBox", an edit field with a list of the column's items shown
** below it, whose own procedure is TSListBoxProc. Keys and characters reach the grid's
** parent first (TSN_EDITKEYDOWN, TSN_EDITCHAR through the grid's user value).
*/
#include "grid/editing.h"
#include "grid/layout.h"
#include "grid/library_state.h"
#include "grid/tessel.h"

#include <algorithm>
#include <cstring>
#include <string>

extern "C" int FillListFromItems(HWND list, const char* items);
extern "C" LRESULT TSListBoxProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

constexpr UINT kToggleListMessage = WM_USER + 100;
constexpr UINT kListWindowMessage = WM_USER + 101;

bool Pressed(int key) { return (GetKeyState(key) & 0x8000) != 0; }

HWND EditorGrid(HWND editor) { return GetParent(editor); }

bool EditorAlive(HWND editor) { return gEditor.editor == editor && IsWindow(editor); }

/* Sends the notification with value in the grid's user value; false when the reply
   swallows it (or the grid went away), else value holds what the parent left there. */
bool PassThroughParent(HWND editor, int code, WPARAM& value) {
  HWND grid = EditorGrid(editor);
  GridScope scope(grid);
  if (!scope.Locked()) return false;
  HGLOBAL handle = gLockedHandle;
  gLockedRecord->userData = static_cast<int32_t>(value);
  LRESULT reply = NotifyParentAt(code, gLockedRecord->currentRow, gLockedRecord->currentColumn);
  if (reply != 0 || !GridStillLocked(handle)) return false;
  value = static_cast<WPARAM>(static_cast<uint32_t>(gLockedRecord->userData));
  return EditorAlive(editor);
}

uint32_t EditKey(HWND editor, int which) {
  GridScope scope(EditorGrid(editor));
  return scope.Locked() ? gLockedRecord->editKeys[which] : 0;
}

uint32_t GridExStyle(HWND editor) {
  GridScope scope(EditorGrid(editor));
  return scope.Locked() ? gLockedRecord->exStyle : 0;
}

void EndEditing(HWND editor, bool store) {
  HWND grid = EditorGrid(editor);
  SendMessage(grid, TSM_EDIT, store ? 2 : 3, 0);
}

/* Tab in an editor: perhaps ends editing, then moves to the next or previous cell or
   leaves for the next dialog control. */
void EditorTab(HWND editor) {
  HWND grid = EditorGrid(editor);
  uint32_t exStyle = GridExStyle(editor);
  bool ctrl = Pressed(VK_CONTROL), shift = Pressed(VK_SHIFT);
  if ((ctrl && (exStyle & TSXS_CTLTABENDSEDIT)) || (!ctrl && (exStyle & TSXS_TABENDSEDIT)))
    EndEditing(editor, true);
  if (!IsWindow(grid)) return;
  bool cells = (exStyle & TSXS_TABCELLS) ? !ctrl : ctrl;
  if (cells) {
    SendMessage(grid, shift ? TSM_PREVCELL : TSM_NEXTCELL, 0, 0);
    return;
  }
  HWND dialog = GetParent(grid);
  if (HWND next = dialog ? GetNextDlgTabItem(dialog, grid, shift) : nullptr) SetFocus(next);
}

/* An arrow that ends editing when the extended style says so: stored, then the grid moves. */
bool ArrowEndsEditing(HWND editor, WPARAM key, uint32_t endBit) {
  if (!(GridExStyle(editor) & endBit) || Pressed(VK_CONTROL)) return false;
  HWND grid = EditorGrid(editor);
  EndEditing(editor, true);
  if (IsWindow(grid)) SendMessage(grid, WM_KEYDOWN, key, 0);
  return true;
}

/* The edit field takes a key as if Ctrl were up: with the arrow end bits, Ctrl is how the
   user moves inside the text by one character instead of leaving the cell. */
LRESULT KeyWithoutCtrl(HWND editor, WPARAM key, LPARAM lParam) {
  BYTE state[256];
  GetKeyboardState(state);
  BYTE cleared[256];
  std::memcpy(cleared, state, sizeof cleared);
  cleared[VK_CONTROL] = cleared[VK_LCONTROL] = cleared[VK_RCONTROL] = 0;
  SetKeyboardState(cleared);
  LRESULT result = CallWindowProc(gEditClassProc, editor, WM_KEYDOWN, key, lParam);
  SetKeyboardState(state);
  return result;
}

/* Ctrl with an arrow whose end bit is set: the field's own, plain movement. */
bool CtrlArrowUnderEndBit(HWND editor, WPARAM key, uint32_t endBit) {
  return (GridExStyle(editor) & endBit) && Pressed(VK_CONTROL) &&
         (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN);
}

LRESULT PassCreation(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  // The edit class sees its own class name in the creation data.
  CREATESTRUCT copy = *reinterpret_cast<const CREATESTRUCT*>(lParam);
  copy.lpszClass = "edit";
  return CallWindowProc(gEditClassProc, editor, message, wParam, reinterpret_cast<LPARAM>(&copy));
}

/* The keys both editors end or leave editing with; true when the key was used. */
bool CommonEditorKey(HWND editor, WPARAM key) {
  if (key != 0 && key == EditKey(editor, 2)) {
    EndEditing(editor, false);
    return true;
  }
  if (key != 0 && key == EditKey(editor, 1) && !Pressed(VK_CONTROL)) {
    bool wantsReturn =
        !gEditor.combo && key == VK_RETURN && (GetWindowLongPtr(editor, GWL_STYLE) & ES_WANTRETURN);
    if (!wantsReturn) {
      EndEditing(editor, true);
      return true;
    }
  }
  if (key == VK_TAB) {
    EditorTab(editor);
    return true;
  }
  return false;
}

LRESULT EditKeyDown(HWND editor, WPARAM key, LPARAM lParam) {
  if (!PassThroughParent(editor, TSN_EDITKEYDOWN, key)) return 0;
  if (CommonEditorKey(editor, key)) return 0;
  if ((key == VK_LEFT || key == VK_RIGHT) && ArrowEndsEditing(editor, key, TSXS_ARROWLRENDSEDIT))
    return 0;
  if ((key == VK_UP || key == VK_DOWN) && ArrowEndsEditing(editor, key, TSXS_ARROWUDENDSEDIT))
    return 0;
  uint32_t endBit =
      (key == VK_LEFT || key == VK_RIGHT) ? TSXS_ARROWLRENDSEDIT : TSXS_ARROWUDENDSEDIT;
  if (CtrlArrowUnderEndBit(editor, key, endBit)) return KeyWithoutCtrl(editor, key, lParam);
  return CallWindowProc(gEditClassProc, editor, WM_KEYDOWN, key, lParam);
}

LRESULT EditChar(HWND editor, WPARAM character, LPARAM lParam) {
  if (!PassThroughParent(editor, TSN_EDITCHAR, character)) return 0;
  return CallWindowProc(gEditClassProc, editor, WM_CHAR, character, lParam);
}

std::string WindowText(HWND window) {
  char text[1024] = "";
  GetWindowText(window, text, sizeof text);
  return text;
}

void ToggleListOf(HWND editor) {
  GridScope scope(EditorGrid(editor));
  if (scope.Locked()) ToggleEditList();
}

/* Copies the list's selected item into the editor, all of it selected. */
void TakeListSelection(HWND editor) {
  if (!gEditor.list) return;
  LRESULT index = SendMessage(gEditor.list, LB_GETCURSEL, 0, 0);
  if (index < 0) return;
  char item[1024] = "";
  if (SendMessage(gEditor.list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0) >=
      static_cast<LRESULT>(sizeof item))
    return;
  SendMessage(gEditor.list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item));
  SetWindowText(editor, item);
}

/* The drop-down list: a hidden topmost child of the desktop below the editor, four lines
   high, asking the grid for its colours. */
void MakeEditList(HWND editor) {
  HWND grid = EditorGrid(editor);
  RECT rect{};
  GetWindowRect(editor, &rect);
  int lineHeight = 16;
  if (HDC dc = GetDC(editor)) {
    TEXTMETRIC metrics{};
    if (GetTextMetrics(dc, &metrics)) lineHeight = metrics.tmHeight;
    ReleaseDC(editor, dc);
  }
  HWND list = CreateWindow("listbox", "", WS_CHILD | WS_BORDER | WS_VSCROLL, rect.left,
                           rect.bottom + 1, rect.right - rect.left + 15, 4 * lineHeight + 2,
                           GetDesktopWindow(), nullptr, gTesselModule, nullptr);
  if (!list) return;
  SetControlColorParent(list, grid);
  gEditor.list = list;
  gEditor.listBaseProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TSListBoxProc)));
  std::string items;
  {
    GridScope scope(grid);
    if (scope.Locked()) {
      LRESULT size =
          SendMessage(grid, TSM_GETLISTITEMSSIZE, static_cast<WPARAM>(gEditor.column), 0);
      if (size > 0) {
        items.assign(static_cast<size_t>(size), '\0');
        SendMessage(grid, TSM_GETLISTITEMS, static_cast<WPARAM>(gEditor.column),
                    reinterpret_cast<LPARAM>(items.data()));
        items.resize(std::strlen(items.c_str()));
      }
    }
  }
  FillListFromItems(list, items.c_str());
  LRESULT found = SendMessage(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(gEditor.startText.c_str()));
  if (found >= 0) SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void SizeListToFont(HWND editor, HFONT font) {
  if (!gEditor.list) return;
  SendMessage(gEditor.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  int lineHeight = 16;
  if (HDC dc = GetDC(gEditor.list)) {
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRIC metrics{};
    if (GetTextMetrics(dc, &metrics)) lineHeight = metrics.tmHeight;
    if (old) SelectObject(dc, old);
    ReleaseDC(gEditor.list, dc);
  }
  RECT rect{};
  GetWindowRect(editor, &rect);
  SetWindowPos(gEditor.list, nullptr, rect.left, rect.bottom + 1, rect.right - rect.left + 15,
               4 * lineHeight + 2, SWP_NOZORDER | SWP_NOACTIVATE);
}

/* The pick list's typing: the item beginning with the character is chosen; where typing
   is allowed, the item beginning with the whole text is shown as selected. */
void ComboCharacter(HWND editor, WPARAM character, LPARAM lParam) {
  if (gEditor.typing) {
    CallWindowProc(gEditClassProc, editor, WM_CHAR, character, lParam);
    if (!EditorAlive(editor) || !gEditor.list) return;
    std::string text = WindowText(editor);
    LRESULT from = SendMessage(gEditor.list, LB_GETCURSEL, 0, 0);
    LRESULT found = SendMessage(gEditor.list, LB_FINDSTRING, static_cast<WPARAM>(from),
                                reinterpret_cast<LPARAM>(text.c_str()));
    if (found >= 0) SendMessage(gEditor.list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
    return;
  }
  if (!gEditor.list || character < 0x20) return;
  char alone[2] = {static_cast<char>(character), '\0'};
  LRESULT from = SendMessage(gEditor.list, LB_GETCURSEL, 0, 0);
  LRESULT found = SendMessage(gEditor.list, LB_FINDSTRING, static_cast<WPARAM>(from),
                              reinterpret_cast<LPARAM>(alone));
  if (found < 0) return;
  SendMessage(gEditor.list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
  TakeListSelection(editor);
}

/* Keys the list takes from the combo editor: the selection moves and its item is shown. */
void ListKey(HWND editor, WPARAM key) {
  if (!gEditor.list) return;
  CallWindowProc(gEditor.listBaseProc, gEditor.list, WM_KEYDOWN, key, 0);
  TakeListSelection(editor);
}

LRESULT ComboKeyDown(HWND editor, WPARAM key, LPARAM lParam) {
  if (!PassThroughParent(editor, TSN_EDITKEYDOWN, key)) return 0;
  if (CommonEditorKey(editor, key)) return 0;
  switch (key) {
    case VK_F4: ToggleListOf(editor); return 0;
    case VK_PRIOR:
    case VK_NEXT: ListKey(editor, key); return 0;
    case VK_HOME:
    case VK_END:
      if (!gEditor.typing) ListKey(editor, key);
      else CallWindowProc(gEditClassProc, editor, WM_KEYDOWN, key, lParam);
      return 0;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      uint32_t bit =
          (key == VK_LEFT || key == VK_RIGHT) ? TSXS_ARROWLRENDSEDIT : TSXS_ARROWUDENDSEDIT;
      if (!gEditor.listShown && ArrowEndsEditing(editor, key, bit)) return 0;
      ListKey(editor, key);
      return 0;
    }
    default:
      if (gEditor.typing) return CallWindowProc(gEditClassProc, editor, WM_KEYDOWN, key, lParam);
      return 0;
  }
}

int ListRowAt(HWND list, int y) {
  RECT client{};
  GetClientRect(list, &client);
  int quarter = std::max<LONG>(1, client.bottom / 4);
  return static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0)) + y / quarter;
}

void SelectListRow(HWND list, int row) {
  LRESULT count = SendMessage(list, LB_GETCOUNT, 0, 0);
  if (count <= 0) return;
  row = std::clamp<int>(row, 0, static_cast<int>(count) - 1);
  SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void ListMouseMove(HWND list, int y) {
  RECT client{};
  GetClientRect(list, &client);
  int top = static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0));
  if (y >= client.bottom) {
    SendMessage(list, LB_SETTOPINDEX, static_cast<WPARAM>(top + 1), 0);
    SelectListRow(list, static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0)) + 3);
  } else if (y < 0) {
    SendMessage(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, top - 1)), 0);
    SelectListRow(list, static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0)));
  } else {
    SelectListRow(list, ListRowAt(list, y));
  }
}

}  // namespace

extern "C" int FillListFromItems(HWND list, const char* items) {
  if (!list || !items) return 0;
  int added = 0;
  const char* start = items;
  while (*start) {
    const char* end = std::strchr(start, '\t');
    size_t length = end ? static_cast<size_t>(end - start) : std::strlen(start);
    std::string item(start, std::min<size_t>(length, 999));
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ++added;
    if (!end) break;
    start = end + 1;
  }
  return added;
}

extern "C" LRESULT NewEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
    case WM_CREATE: return PassCreation(editor, message, wParam, lParam);
    case WM_GETDLGCODE:
      return CallWindowProc(gEditClassProc, editor, message, wParam, lParam) | DLGC_WANTTAB |
             DLGC_WANTALLKEYS;
    case WM_KEYDOWN: return EditKeyDown(editor, wParam, lParam);
    case WM_CHAR: return EditChar(editor, wParam, lParam);
    default: return CallWindowProc(gEditClassProc, editor, message, wParam, lParam);
  }
}

extern "C" LRESULT ComboBoxEditProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: return PassCreation(editor, message, wParam, lParam);
    case WM_CREATE: {
      LRESULT result = PassCreation(editor, message, wParam, lParam);
      if (result != -1) MakeEditList(editor);
      return result;
    }
    case WM_DESTROY:
      if (gEditor.list && IsWindow(gEditor.list)) {
        SetControlColorParent(gEditor.list, nullptr);
        DestroyWindow(gEditor.list);
      }
      gEditor.list = nullptr;
      gEditor.listShown = false;
      return CallWindowProc(gEditClassProc, editor, message, wParam, lParam);
    case WM_SETFONT: {
      LRESULT result = CallWindowProc(gEditClassProc, editor, message, wParam, lParam);
      SizeListToFont(editor, reinterpret_cast<HFONT>(wParam));
      return result;
    }
    case WM_SETTEXT: {
      LRESULT result = CallWindowProc(gEditClassProc, editor, message, wParam, lParam);
      CallWindowProc(gEditClassProc, editor, EM_SETSEL, 0, 32767);
      return result;
    }
    case WM_CTLCOLOREDIT: return SendMessage(EditorGrid(editor), message, wParam, lParam);
    case WM_GETDLGCODE:
      return CallWindowProc(gEditClassProc, editor, message, wParam, lParam) | DLGC_WANTTAB |
             DLGC_WANTALLKEYS;
    case WM_SYSKEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) {
        ToggleListOf(editor);
        return 0;
      }
      return CallWindowProc(gEditClassProc, editor, message, wParam, lParam);
    case kToggleListMessage: ToggleListOf(editor); return 0;
    case kListWindowMessage: return reinterpret_cast<LRESULT>(gEditor.list);
    case WM_KEYDOWN: return ComboKeyDown(editor, wParam, lParam);
    case WM_CHAR:
      if (PassThroughParent(editor, TSN_EDITCHAR, wParam)) ComboCharacter(editor, wParam, lParam);
      return 0;
    default: return CallWindowProc(gEditClassProc, editor, message, wParam, lParam);
  }
}

extern "C" LRESULT TSListBoxProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC base = gEditor.listBaseProc ? gEditor.listBaseProc : DefWindowProc;
  HWND editor = gEditor.editor;
  if (list != gEditor.list || !editor) return CallWindowProc(base, list, message, wParam, lParam);
  int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SelectListRow(list, ListRowAt(list, y));
      gEditor.listDragging = true;
      SetCapture(list);
      return 0;
    case WM_MOUSEMOVE:
      if (gEditor.listDragging) ListMouseMove(list, y);
      return 0;
    case WM_LBUTTONUP:
      if (!gEditor.listDragging) return 0;
      gEditor.listDragging = false;
      if (GetCapture() == list) ReleaseCapture();
      TakeListSelection(editor);
      EndEditing(editor, true);
      return 0;
    case WM_KEYDOWN:
      if (wParam != 0 && wParam == EditKey(editor, 2)) {
        EndEditing(editor, false);
        return 0;
      }
      if (wParam != 0 && wParam == EditKey(editor, 1)) {
        EndEditing(editor, true);
        return 0;
      }
      if (wParam == VK_F4) {
        ToggleListOf(editor);
        return 0;
      }
      if (wParam == VK_PRIOR || wParam == VK_NEXT || wParam == VK_END || wParam == VK_HOME ||
          wParam == VK_UP || wParam == VK_DOWN || wParam == VK_LEFT || wParam == VK_RIGHT) {
        CallWindowProc(base, list, message, wParam, lParam);
        TakeListSelection(editor);
        return 0;
      }
      return CallWindowProc(base, list, message, wParam, lParam);
    case WM_SYSKEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) {
        ToggleListOf(editor);
        return 0;
      }
      return CallWindowProc(base, list, message, wParam, lParam);
    case WM_CTLCOLOREDIT: return SendMessage(EditorGrid(editor), message, wParam, lParam);
    default: return CallWindowProc(base, list, message, wParam, lParam);
  }
}
