// In-cell editing by real keys and clicks: the editor's keys under each extended-style
// bit, the notifications around storing in order, parents that swallow or replace keys,
// list columns and pick lists, substitute text, check boxes, protected cells, one editor
// per library, and the edited row under sorting.
#include "grid/tessel_record.h"
#include "grid/tests/grid_fixture.h"

#include "platform/testing/synthetic_input.h"

#include <QPainter>

#include <cstring>
#include <string>
#include <vector>

namespace {

/* The test grid's row: text, number, check box, list text, pick list, protected text. */
struct EditRow {
  char text[20];
  int32_t number;
  int32_t check;
  char fruit[20];
  char colour[20];
  char fixed[20];
};
static_assert(sizeof(EditRow) == 88);

class GridEditing : public GridTest {
 protected:
  HWND EditGrid(int id = 200, int x = 10) {
    HWND grid = CreateWindow(
        "Tessel", "", WS_CHILD | WS_VISIBLE | TSS_OWNERDEF | TSS_HGRID | TSS_VGRID, x, 10, 420, 200,
        parent_, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    static const ColumnSpec columns[6] = {
        {"Text", "Text", TST_ZSTRING, 20, 60, TSCS_EDIT, ""},
        {"Number", "Number", TST_INT4, 0, 40, TSCS_EDIT | TSCS_RIGHT, ""},
        {"Ok", "Check", TST_CHECKBOX, 0, 20, TSCS_EDIT, ""},
        {"Fruit", "Fruit", TST_ZSTRING, 20, 60, TSCS_EDIT, ""},
        {"Colour", "Colour", TST_ZSTRING, 20, 60, TSCS_PROTECT, ""},
        {"Fixed", "Fixed", TST_ZSTRING, 20, 60, TSCS_PROTECT, ""},
    };
    Define(grid, columns, 6);
    Send(grid, TSM_SETLISTITEMS, 3, Text("Apple\tBanana\tCherry"));
    Send(grid, TSM_SETLISTITEMS, 4, Text("Red\tGreen\tBlue"));
    for (int i = 0; i < 4; ++i) {
      EditRow row{};
      std::snprintf(row.text, sizeof row.text, "row%d", i);
      row.number = 10 * i;
      std::strcpy(row.fruit, "Banana");
      std::strcpy(row.colour, "Green");
      std::strcpy(row.fixed, "stone");
      Append(grid, &row);
    }
    UpdateWindow(grid);
    return grid;
  }
  static EditRow Row(HWND grid, int row) {
    EditRow values{};
    Send(grid, TSM_SETCURSOR, 0, row);
    Send(grid, TSM_GETROW, 0, reinterpret_cast<LPARAM>(&values));
    return values;
  }
  static std::string EditorText(HWND grid) {
    HWND editor = reinterpret_cast<HWND>(Send(grid, TSM_GETEDITWND));
    char text[256] = "";
    if (editor) GetWindowText(editor, text, sizeof text);
    return text;
  }
  static std::vector<int> EditCodes(const NotificationRecorder& recorder, HWND grid) {
    std::vector<int> codes;
    for (int code : recorder.Codes(grid))
      if (code == TSN_BEGINEDIT || code == TSN_EDITSTORING || code == TSN_EDITSTORED ||
          code == TSN_EDITCANCELLED)
        codes.push_back(code);
    return codes;
  }
};

const std::vector<int> kStored = {TSN_BEGINEDIT, TSN_EDITSTORING, TSN_EDITSTORED};

}  // namespace

TEST_F(GridEditing, F2TypingEnterAndEscape) {
  HWND grid = EditGrid();
  NotificationRecorder recorder(parent_);
  SetFocus(grid);
  PressKey(VK_F2);
  ASSERT_EQ(Send(grid, TSM_EDIT, 0), 1);
  EXPECT_EQ(EditorText(grid), "row0");
  TypeText("abc");  // the start text was selected whole
  PressKey(VK_RETURN);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 0);
  EXPECT_STREQ(Row(grid, 0).text, "abc");
  EXPECT_EQ(EditCodes(recorder, grid), kStored);
  EXPECT_EQ(GetFocus(), grid);
  // A typed character opens the editor holding just that character; Escape discards.
  recorder.Clear();
  TypeText("q");
  ASSERT_EQ(Send(grid, TSM_EDIT, 0), 1);
  EXPECT_EQ(EditorText(grid), "q");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 0);
  EXPECT_STREQ(Row(grid, 0).text, "abc");
  EXPECT_EQ(EditCodes(recorder, grid), (std::vector<int>{TSN_BEGINEDIT, TSN_EDITCANCELLED}));
  // Numbers are read back by their type.
  Send(grid, TSM_SETCURCELL, 1, 2);
  TypeText("77");
  PressKey(VK_RETURN);
  EXPECT_EQ(Row(grid, 2).number, 77);
}

TEST_F(GridEditing, ParentsSwallowAndReplaceEditorKeys) {
  HWND grid = EditGrid();
  NotificationRecorder recorder(parent_);
  recorder.OnCommand([&](const RecordedCommand& command) {
    if (command.sender != grid) return;
    int value = static_cast<int>(Send(grid, TSM_GETUSERDATA));
    if (command.code == TSN_EDITKEYDOWN && value == VK_ESCAPE) Send(grid, TSM_SETREPLY, 0, 1);
    if (command.code == TSN_EDITCHAR && value == 'q') Send(grid, TSM_SETUSERDATA, 'Z');
  });
  SetFocus(grid);
  PressKey(VK_F2);
  TypeText("xqy");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 1);  // the parent kept the editor
  EXPECT_EQ(EditorText(grid), "xZy");
  PressKey(VK_RETURN);
  EXPECT_STREQ(Row(grid, 0).text, "xZy");
  recorder.OnCommand(nullptr);
}

TEST_F(GridEditing, TabAndArrowsUnderTheExtendedStyleBits) {
  HWND grid = EditGrid();
  SetFocus(grid);
  // Without end bits the arrows stay in the editor.
  PressKey(VK_F2);
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 1);
  PressKey(VK_ESCAPE);
  Send(grid, TSM_SETEXSTYLE, 0,
       TSXS_ARROWUDENDSEDIT | TSXS_ARROWLRENDSEDIT | TSXS_TABENDSEDIT | TSXS_TABCELLS);
  PressKey(VK_F2);
  TypeText("down");
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 0);
  EXPECT_STREQ(Row(grid, 0).text, "down");
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 1);
  PressKey(VK_F2);
  TypeText("right");
  PressKey(VK_RIGHT);
  EXPECT_STREQ(Row(grid, 1).text, "right");
  EXPECT_EQ(Send(grid, TSM_GETCURCOL), 1);
  PressKey(VK_F2);
  TypeText("5");
  PressKey(VK_TAB);  // stores, then the next cell
  EXPECT_EQ(Row(grid, 1).number, 5);
  EXPECT_EQ(Send(grid, TSM_GETCURCOL), 2);
  PressKey(VK_TAB, Qt::ShiftModifier);
  EXPECT_EQ(Send(grid, TSM_GETCURCOL), 1);
  // With ES_WANTRETURN Enter and Ctrl+Enter stay in the editor.
  Send(grid, TSM_SETEXSTYLE, 0, 0);
  Send(grid, TSM_SETEDITSTYLE, 0, ES_MULTILINE | ES_WANTRETURN);
  Send(grid, TSM_SETCURCELL, 0, 3);
  PressKey(VK_F2);
  PressKey(VK_RETURN);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 1);
  PressKey(VK_RETURN, Qt::ControlModifier);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 1);
  Send(grid, TSM_EDIT, 3);
}

TEST_F(GridEditing, ListColumnsPickListsAndTheSubstituteText) {
  HWND grid = EditGrid();
  NotificationRecorder recorder(parent_);
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 3, 1);
  PressKey(VK_DOWN, Qt::AltModifier);
  ASSERT_EQ(Send(grid, TSM_EDIT, 0), 1);
  EXPECT_EQ(recorder.Count(TSN_LISTDROPPED), 1);
  HWND list = reinterpret_cast<HWND>(Send(grid, TSM_DROPEDITLIST));
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);  // the start text's item
  // The combo editor with its list dropped, the list composed where it shows on screen.
  QImage shot = GrabWindow(parent_);
  {
    RECT parentRect{}, listRect{};
    GetWindowRect(parent_, &parentRect);
    GetWindowRect(list, &listRect);
    QPainter painter(&shot);
    painter.drawImage(listRect.left - parentRect.left, listRect.top - parentRect.top,
                      GrabWindow(list));
  }
  shot.save(
      QString::fromStdString(std::string(ZARNE_BUILD_DIR) + "/grid_combo_editor_dropped.png"));
  // A pick with the mouse on the third of four lines stores that item.
  RECT client{};
  GetClientRect(list, &client);
  Click(list, client.right / 2, client.bottom * 2 / 4 + client.bottom / 8);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 0);
  EXPECT_STREQ(Row(grid, 1).fruit, "Cherry");
  EXPECT_FALSE(IsWindow(list)) << IsWindowVisible(list);
  // A protected list column is a pick list: a typed letter picks, other text is refused.
  Send(grid, TSM_SETCURCELL, 4, 1);
  PressKey(VK_F2);
  ASSERT_EQ(Send(grid, TSM_EDIT, 0), 1);
  TypeText("x");
  EXPECT_EQ(EditorText(grid), "Green");
  TypeText("b");
  EXPECT_EQ(EditorText(grid), "Blue");
  PressKey(VK_RETURN);
  EXPECT_STREQ(Row(grid, 1).colour, "Blue");
  // The substitute text typed in another case marks the cell and keeps its value.
  Send(grid, TSM_SETSUBSTTEXT, 0, Text("N/A"));
  Send(grid, TSM_SETCURCELL, 0, 2);
  PressKey(VK_F2);
  TypeText("n/a");
  PressKey(VK_RETURN);
  EXPECT_STREQ(Row(grid, 2).text, "row2");
  Send(grid, TSM_SETCURSOR, 0, 2);
  EXPECT_EQ(Send(grid, TSM_GETCELLATTR, 0), 1);
  PressKey(VK_F2);
  TypeText("real");
  PressKey(VK_RETURN);
  EXPECT_STREQ(Row(grid, 2).text, "real");
  Send(grid, TSM_SETCURSOR, 0, 2);
  EXPECT_EQ(Send(grid, TSM_GETCELLATTR, 0), 0);
}

TEST_F(GridEditing, CheckBoxesToggleAndProtectedCellsKeepTheirValue) {
  HWND grid = EditGrid();
  NotificationRecorder recorder(parent_);
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 2, 0);
  EXPECT_EQ(Send(grid, TSM_EDIT, 1), -1);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 0);
  POINT box = CellCentre(grid, 1, 2);
  recorder.Clear();
  Click(grid, box.x, box.y);
  EXPECT_EQ(Row(grid, 1).check, 1);
  EXPECT_EQ(EditCodes(recorder, grid), kStored);
  recorder.Clear();
  PressKey(VK_SPACE);
  EXPECT_EQ(Row(grid, 1).check, 0);
  EXPECT_EQ(EditCodes(recorder, grid), kStored);
  // Opened by the parent, a protected cell's editor is read-only: typing changes nothing.
  Send(grid, TSM_SETCURCELL, 5, 0);
  TypeText("z");
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 0);  // typing does not open it
  ASSERT_EQ(Send(grid, TSM_EDIT, 1), 0);
  TypeText("overwrite");
  PressKey(VK_DELETE);
  PressKey(VK_RETURN);
  EXPECT_STREQ(Row(grid, 0).fixed, "stone");
  // An accept key moved to F3: typing "r" (0x72 = F3's code) still begins editing.
  Send(grid, TSM_SETCURCELL, 0, 0);
  EXPECT_EQ(Send(grid, TSM_SETEDITKEY, 2, VK_F2), -1);
  ASSERT_EQ(Send(grid, TSM_SETEDITKEY, 2, VK_F3), 0);
  TypeText("r");
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 1);
  PressKey(VK_F3);
  EXPECT_STREQ(Row(grid, 0).text, "r");
}

TEST_F(GridEditing, OneEditorPerLibraryAndTheEditedRowUnderSorting) {
  HWND a = EditGrid(200, 10);
  HWND b = EditGrid(201, 440);
  NotificationRecorder recorder(parent_);
  SetFocus(a);
  PressKey(VK_F2);
  TypeText("from a");
  Send(b, TSM_SETCURCELL, 0, 1);
  ASSERT_EQ(Send(b, TSM_EDIT, 1), 0);
  EXPECT_EQ(Send(a, TSM_EDIT, 0), 0);
  EXPECT_STREQ(Row(a, 0).text, "from a");
  EXPECT_EQ(Send(b, TSM_EDIT, 0), 1);
  Send(b, TSM_EDIT, 3);
  // Sorted by the text: an accepted edit moves the row, the current cell follows.
  Send(a, TSM_SETCOLSTYLE, 0, TSCS_EDIT | TSCS_SORTKEY1);
  Send(a, TSM_SORT);
  ASSERT_STREQ(Row(a, 0).text, "from a");
  SetFocus(a);
  Send(a, TSM_SETCURCELL, 0, 0);
  PressKey(VK_F2);
  TypeText("zulu");
  PressKey(VK_RETURN);
  EXPECT_STREQ(Row(a, 3).text, "zulu");
  EXPECT_EQ(Send(a, TSM_GETCURROW), 3);
  // TSM_SORT with the editor open stores into the edited record first.
  Send(a, TSM_SETCURCELL, 0, 3);
  PressKey(VK_F2);
  TypeText("aaa");
  Send(a, TSM_SORT);
  EXPECT_EQ(Send(a, TSM_EDIT, 0), 0);
  EXPECT_STREQ(Row(a, 0).text, "aaa");
  EXPECT_EQ(Send(a, TSM_GETCURROW), 0);
  // Deleting the edited row: storing moves it to the end, and it is that row that goes.
  Send(a, TSM_SETCURCELL, 0, 0);
  PressKey(VK_F2);
  TypeText("zzz");
  Send(a, TSM_SETCURSOR, 0, TSREF_CURRENT);
  Send(a, TSM_DELETEROW, TSREF_CURRENT);
  EXPECT_EQ(Send(a, TSM_GETROWCOUNT), 3);
  for (int r = 0; r < 3; ++r) EXPECT_STRNE(Row(a, r).text, "zzz");
  EXPECT_STREQ(Row(a, 0).text, "row1");
}

TEST_F(GridEditing, DownOnTheLastRowAddsOneEmptyRow) {
  HWND grid = EditGrid();
  Send(grid, TSM_SETEXSTYLE, 0, TSXS_AUTOINSERT);
  SetFocus(grid);
  Send(grid, TSM_SETCURCELL, 0, 3);
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 5);
  EXPECT_EQ(Send(grid, TSM_GETCURROW), 4);
  PressKey(VK_DOWN);  // the new last row is empty: no further row
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 5);
  TypeText("new");
  PressKey(VK_RETURN);
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(grid, TSM_GETROWCOUNT), 6);
  EXPECT_STREQ(Row(grid, 4).text, "new");
}

TEST_F(GridEditing, CtrlArrowsMoveInTheTextAndCtrlTabEndsUnderItsBit) {
  HWND grid = EditGrid();
  SetFocus(grid);
  auto caret = [&] {
    DWORD start = 0, end = 0;
    Send(reinterpret_cast<HWND>(Send(grid, TSM_GETEDITWND)), EM_GETSEL,
         reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end);
  };
  // Without the arrow end bits Ctrl+Left is the field's own word step: "ab cd|" -> "ab |cd".
  PressKey(VK_F2);
  TypeText("ab cd");
  ASSERT_EQ(caret(), 5);
  PressKey(VK_LEFT, Qt::ControlModifier);
  EXPECT_EQ(caret(), 3);
  PressKey(VK_ESCAPE);
  // With them Ctrl takes the arrows as plain ones: one character each, the editor stays.
  Send(grid, TSM_SETEXSTYLE, 0, TSXS_ARROWLRENDSEDIT | TSXS_ARROWUDENDSEDIT | TSXS_CTLTABENDSEDIT);
  PressKey(VK_F2);
  TypeText("ab cd");
  PressKey(VK_LEFT, Qt::ControlModifier);
  EXPECT_EQ(caret(), 4);
  PressKey(VK_LEFT, Qt::ControlModifier);
  EXPECT_EQ(caret(), 3);
  PressKey(VK_RIGHT, Qt::ControlModifier);
  EXPECT_EQ(caret(), 4);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 1);
  EXPECT_EQ(Send(grid, TSM_GETCURCOL), 0);
  // Ctrl+Tab under its bit stores, and with the tab-cells bit clear goes to the next cell.
  NotificationRecorder recorder(parent_);
  TypeText("!");
  PressKey(VK_TAB, Qt::ControlModifier);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 0);
  EXPECT_STREQ(Row(grid, 0).text, "ab c!d");
  EXPECT_EQ(Send(grid, TSM_GETCURCOL), 1);
  EXPECT_EQ(EditCodes(recorder, grid), (std::vector<int>{TSN_EDITSTORING, TSN_EDITSTORED}));
  // In a multi-line editor Ctrl+Up under its bit is a plain Up: the caret goes to line one.
  Send(grid, TSM_SETEDITSTYLE, 0, ES_MULTILINE | ES_WANTRETURN);
  Send(grid, TSM_SETCURCELL, 0, 2);
  PressKey(VK_F2);
  HWND editor = reinterpret_cast<HWND>(Send(grid, TSM_GETEDITWND));
  ASSERT_TRUE(GetWindowLongPtr(editor, GWL_STYLE) & ES_MULTILINE);
  SetWindowText(editor, "ab\r\ncd");
  Send(editor, EM_SETSEL, 6, 6);
  int end = caret();
  ASSERT_GT(end, 3);
  PressKey(VK_UP, Qt::ControlModifier);
  EXPECT_LE(caret(), 2);
  EXPECT_EQ(Send(grid, TSM_EDIT, 0), 1);
  Send(grid, TSM_EDIT, 3);
}
