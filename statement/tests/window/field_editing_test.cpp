/*
** Editing statement fields through real keys and clicks: what a commit stores and what it
** calls, refused input, unchanged values, choice lists, the walks between fields, clicks,
** the ready dates, and the reach of the edit line into every corner of the form.
*/
#include "statement/tests/window/statement_window_support.h"

#include "platform/framework/scroller.h"
#include "platform/testing/recording_dc.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/winuser.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_record.h"

#include <ctime>

namespace {

constexpr const char* kInvalidInput = "Invalid input data - original value has been restored.";

class FieldEditingTest : public StatementWindowTest {
 protected:
  void SetUp() override {
    StatementWindowTest::SetUp();
    view = OpenFile("E-1");
    RecordSeams();
    calls = SeamCalls();
  }
  double BufferDouble(int table, int field) {
    double value = -1;
    view->records[table]->GetDouble(field, value);
    return value;
  }
  LONG BufferLong(int table, int field) {
    LONG value = -1;
    view->records[table]->GetLong(field, value);
    return value;
  }
  std::string BufferText(int table, int field) {
    char text[256] = "";
    view->records[table]->GetString(field, text, sizeof text);
    return text;
  }
  /* The edit line's place in the window's client area. */
  TRect EditPlace() {
    TRect r = view->editLine->GetWindowRect();
    POINT corner{r.left, r.top};
    ScreenToClient(view->HWindow, &corner);
    return TRect(corner.x, corner.y, corner.x + r.Width(), corner.y + r.Height());
  }
  RespaWindow* view = nullptr;
};

TEST_F(FieldEditingTest, EachKindIsStoredInTheBufferAndRecalculatedAndAdvisedOnce) {
  // Money (line 102, SUMMARY1 field 4), a date (line 106's period begin, field 15), a whole
  // number (a day count) and text (the buyer's name).
  EditField(view, 214);
  TypeAndTab(view, "1234.5");
  EXPECT_DOUBLE_EQ(BufferDouble(kSummary1Table, 4), 1234.5);
  EXPECT_DOUBLE_EQ(TableDouble(kSummary1Table, "E-1", 4), 0.0);  // the table at save only
  EditField(view, 220);
  TypeAndTab(view, "2/29/04");
  // 29 February 2004: Python date(2004, 2, 29).toordinal() = 731640.
  EXPECT_EQ(BufferLong(kSummary1Table, 15), 731640);
  EditField(view, 102);
  TypeAndTab(view, "Mary Major");
  EXPECT_EQ(BufferText(kBuyerTable, 2), "Mary Major");
  EXPECT_EQ(calls.recalculated, (std::vector<int>{214, 220, 102}));
  EXPECT_EQ(calls.advised, (std::vector<std::string>{"A102", "DB106", "B1NAME"}));
  EXPECT_TRUE(BoxTexts().empty());
  // Tab moved on from each field: the next edit began there.
  ASSERT_NE(view->currentField, nullptr);
  EXPECT_NE(view->currentField->fieldId, 102);
}

/* The window's own paint after a commit, recorded whole: the committed value is drawn once,
** formatted, inside its field, and the text it replaced is drawn no more. */
TEST_F(FieldEditingTest, ACommittedValueIsPaintedInItsFieldByTheWindowsOwnPaint) {
  view->records[kBuyerTable]->SetString(2, "Old Name");
  EditField(view, 214);
  TypeAndTab(view, "1234.5");
  EditField(view, 102);
  TypeAndTab(view, "Pat Payer");

  // How often the text is drawn by a whole paint with the field in view, each time inside it.
  auto drawnInside = [&](const std::string& text, TFieldNode* field) {
    ScrollFieldIntoView(view, field);
    UpdateWindow(view->HWindow);
    RecordWindowPaints(view->HWindow, true);
    InvalidateRect(view->HWindow, nullptr, TRUE);
    UpdateWindow(view->HWindow);
    std::vector<GdiDrawRecord> calls = RecordedWindowPaints(view->HWindow);
    RecordWindowPaints(view->HWindow, false);
    EXPECT_GT(calls.size(), 20u) << "the form's own texts are drawn too";
    int count = 0;
    for (const GdiDrawRecord& call : calls) {
      if (call.text != text) continue;
      // Logical coordinates are the form's: the scroll offset is the viewport's.
      EXPECT_GE(call.rect.left, field->left) << text;
      EXPECT_LE(call.rect.right, field->right + 1) << text;
      EXPECT_GE(call.rect.top, field->top) << text;
      EXPECT_LE(call.rect.bottom, field->bottom + 1) << text;
      ++count;
    }
    return count;
  };
  EXPECT_EQ(drawnInside("1,234.50", Field(214)), 1);
  EXPECT_EQ(drawnInside("Pat Payer", Field(102)), 1);
  EXPECT_EQ(drawnInside("Old Name", Field(102)), 0);
}

TEST_F(FieldEditingTest, WholeNumbersAndStateFieldsAreStoredAsTheirKindSays) {
  TFieldNode* whole = nullptr;
  for (TFieldNode* f = gRespaFieldList.head; f; f = f->next)
    if (f->displayKind == kFieldKindWhole && !IsDisplayOnlyField(view, f)) {
      whole = f;
      break;
    }
  ASSERT_NE(whole, nullptr);
  EditField(view, whole->fieldId);
  TypeAndTab(view, "42");
  EXPECT_EQ(BufferLong(whole->tableIndex, whole->fieldNumber), 42);
  EditField(view, 110);  // B1STATE, upper-cased as it is typed and stored
  TypeAndTab(view, "ny");
  EXPECT_EQ(BufferText(kBuyerTable, 10), "NY");
}

TEST_F(FieldEditingTest, AnUnchangedCommitCallsNothing) {
  EditField(view, 214);
  PressKey(VK_TAB);
  Pump();
  EditField(view, 102);
  PressKey(VK_TAB);
  Pump();
  EXPECT_TRUE(calls.recalculated.empty());
  EXPECT_TRUE(calls.advised.empty());
}

TEST_F(FieldEditingTest, ABadDateIsRefusedWithTheBoxAndStoresNothing) {
  EditField(view, 220);
  view->editLine->SetWindowText("2/30/04");  // no 30 February
  PressKey(VK_TAB);
  Pump();
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, kInvalidInput);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Zarne Message");
  EXPECT_EQ(Boxes().Shown()[0].type & 0xF0u, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(BufferLong(kSummary1Table, 15), static_cast<LONG>(0x80000000));
  EXPECT_TRUE(calls.recalculated.empty());
  EXPECT_TRUE(calls.advised.empty());
}

TEST_F(FieldEditingTest, EnterStoresNoLineBreak) {
  EditField(view, 102);
  TypeText("Al");
  PressKey(VK_RETURN);
  TypeText("an");
  PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(BufferText(kBuyerTable, 2).find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(BufferText(kBuyerTable, 2).substr(0, 2), "Al");
}

TEST_F(FieldEditingTest, AStoredValueTheValidatorWouldRefusePassesThroughUntouched) {
  TFieldNode* whole = nullptr;
  for (TFieldNode* f = gRespaFieldList.head; f; f = f->next)
    if (f->displayKind == kFieldKindWhole && !IsDisplayOnlyField(view, f)) {
      whole = f;
      break;
    }
  ASSERT_NE(whole, nullptr);
  view->records[whole->tableIndex]->SetLong(whole->fieldNumber, -7);  // no digits-only text
  EditField(view, whole->fieldId);
  EXPECT_EQ(EditText(view), "-7");
  PressKey(VK_TAB);
  Pump();
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_EQ(BufferLong(whole->tableIndex, whole->fieldNumber), -7);
  EXPECT_TRUE(calls.recalculated.empty());
}

TEST_F(FieldEditingTest, EighttyCharacterTextsEditWithoutABox) {
  TFieldNode* longest = nullptr;
  for (TFieldNode* f = gRespaFieldList.head; f; f = f->next)
    if (f->displayKind == kFieldKindText && (!longest || f->extraWord > longest->extraWord))
      longest = f;
  ASSERT_NE(longest, nullptr);
  ASSERT_GE(longest->extraWord, 60);
  std::string text(longest->extraWord, 'x');
  view->records[longest->tableIndex]->SetString(longest->fieldNumber, text.c_str());
  EditField(view, longest->fieldId);
  EXPECT_EQ(EditText(view), text);
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(FieldEditingTest, ChoiceListsSelectTheStoredValueOrNothing) {
  view->records[kExpense4Table]->SetString(3, "S");  // P1201D, field id 509
  EditField(view, 509);
  ASSERT_TRUE(ListShown(view));
  EXPECT_FALSE(EditShown(view));
  // The list, made at its first use, writes in the edit line's font.
  EXPECT_NE(view->editLine->SendMessage(WM_GETFONT), 0);
  EXPECT_EQ(view->choiceList->SendMessage(WM_GETFONT), view->editLine->SendMessage(WM_GETFONT));
  EXPECT_EQ(view->choiceList->GetCount(), 3);
  EXPECT_EQ(view->choiceList->GetSelIndex(), 1);
  // A value in no list selects nothing, and passing through keeps it.
  view->records[kExpense4Table]->SetString(3, "X");
  EditField(view, 509);
  EXPECT_EQ(view->choiceList->GetSelIndex(), -1);
  PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(BufferText(kExpense4Table, 3), "X");
  EXPECT_TRUE(calls.recalculated.empty());
  // The loan type's six items; choosing one stores it.
  EditField(view, 184);
  EXPECT_EQ(view->choiceList->GetCount(), 6);
  EXPECT_EQ(view->choiceList->GetSelIndex(), -1);  // empty start text
  view->choiceList->SetSelIndex(3);
  PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(BufferText(kLenderTable, 2), "FHA");
  EXPECT_EQ(calls.recalculated, (std::vector<int>{184}));
}

TEST_F(FieldEditingTest, SettlementAndDisbursementDatesMoveDatesInsteadOfRecalculating) {
  EditField(view, 212);
  TypeAndTab(view, "1/15/03");
  EditField(view, 576);
  TypeAndTab(view, "1/16/03");
  // 15 and 16 January 2003: Python date(2003, 1, 15).toordinal() = 731230.
  ASSERT_EQ(calls.movedDates.size(), 1u);
  EXPECT_EQ(calls.movedDates[0], (std::pair<LONG, LONG>(static_cast<LONG>(0x80000000), 731230)));
  ASSERT_EQ(calls.filledDates.size(), 1u);
  EXPECT_EQ(calls.filledDates[0], (std::pair<LONG, LONG>(static_cast<LONG>(0x80000000), 731231)));
  EXPECT_TRUE(calls.recalculated.empty());
  EXPECT_EQ(calls.advised, (std::vector<std::string>{"CDATE", "DDATE"}));
}

TEST_F(FieldEditingTest, TabWrapsBothWaysAndSkipsDisplayOnlyFields) {
  TFieldNode* first = gRespaFieldList.head;
  while (IsDisplayOnlyField(view, first)) first = first->next;
  TFieldNode* last = gRespaFieldList.tail;
  while (IsDisplayOnlyField(view, last)) last = last->prev;
  EditField(view, last->fieldId);
  PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(view->currentField, first);
  PressKey(VK_TAB, Qt::ShiftModifier);
  Pump();
  EXPECT_EQ(view->currentField, last);
  // The file number (id 101) is display-only: Tab from the field before it passes it by.
  TFieldNode* fileNumber = Field(101);
  EditField(view, fileNumber->prev->fieldId);
  PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(view->currentField, fileNumber->next);
}

TEST_F(FieldEditingTest, PageWalksGoAPageAndStopAtTheEnds) {
  EditField(view, 102);
  int page = view->Scroller->YPage * view->Scroller->YUnit;
  int top = view->currentField->top;
  PressKey(VK_NEXT);
  Pump();
  TFieldNode* reached = view->currentField;
  EXPECT_LE(reached->top, top + page);
  EXPECT_GT(reached->top, top);
  EXPECT_FALSE(IsDisplayOnlyField(view, reached));
  PressKey(VK_PRIOR);
  Pump();
  EXPECT_LE(view->currentField->top, top);
  // At the last editable field Page Down stays; at the first Page Up stays.
  TFieldNode* last = gRespaFieldList.tail;
  while (IsDisplayOnlyField(view, last)) last = last->prev;
  EditField(view, last->fieldId);
  PressKey(VK_NEXT);
  Pump();
  EXPECT_EQ(view->currentField, last);
  EditField(view, gRespaFieldList.head->fieldId);
  PressKey(VK_PRIOR);
  Pump();
  EXPECT_EQ(view->currentField, gRespaFieldList.head);
}

TEST_F(FieldEditingTest, AClickEditsTheFieldWhereItStandsAndEdgesDoNothing) {
  view->Scroller->ScrollTo(2, 10);
  Pump();
  ClickField(view, 220);
  ASSERT_EQ(view->currentField, Field(220));
  TFieldNode* field = Field(220);
  int dx = static_cast<int>(view->Scroller->XPos * 8),
      dy = static_cast<int>(view->Scroller->YPos * 24);
  TRect place = EditPlace();
  EXPECT_EQ(place.left, field->left - dx);
  EXPECT_EQ(place.top, field->top - dy);
  EXPECT_EQ(place.Width(), field->right - field->left + 1);
  EXPECT_EQ(place.Height(), field->bottom - field->top + 2);
  // The very edge of another field, and a display-only field, change nothing.
  TFieldNode* other = Field(221);
  Click(view->HWindow, other->left - dx, other->top - dy);
  Pump();
  EXPECT_EQ(view->currentField, field);
  ScrollFieldIntoView(view, Field(101));
  ClickField(view, 101);
  EXPECT_EQ(view->currentField, field);
}

TEST_F(FieldEditingTest, ADoubleClickFillsInTheReadyDate) {
  view->records[kSummary1Table]->SetLong(2, 731290);  // 16 March 2003
  EditField(view, 221);
  TRect place = EditPlace();
  DoubleClick(view->editLine->HWindow, 5, place.Height() / 2);
  Pump();
  EXPECT_EQ(EditText(view), "1/1/4");
  EditField(view, 220);
  DoubleClick(view->editLine->HWindow, 5, place.Height() / 2);
  Pump();
  EXPECT_EQ(EditText(view), "3/16/3");
  // Without a settlement date a period begin of line 210 takes this year.
  view->records[kSummary1Table]->SetLong(2, static_cast<LONG>(0x80000000));
  EditField(view, 291);
  DoubleClick(view->editLine->HWindow, 5, place.Height() / 2);
  Pump();
  std::time_t now = std::time(nullptr);
  EXPECT_EQ(EditText(view), "1/1/" + std::to_string((std::localtime(&now)->tm_year + 1900) % 100));
}

class FieldReachTest : public StatementWindowTest {
 protected:
  void CheckReach(RespaWindow* view) {
    TFieldNode* lastEditable = gRespaFieldList.tail;
    while (IsDisplayOnlyField(view, lastEditable)) lastEditable = lastEditable->prev;
    ASSERT_GT(lastEditable->left, 1000);
    EditField(view, lastEditable->fieldId);
    TRect client = view->GetClientRect();
    TRect r = view->editLine->GetWindowRect();
    POINT corner{r.left, r.top};
    ScreenToClient(view->HWindow, &corner);
    EXPECT_GE(corner.x, 0);
    EXPECT_GE(corner.y, 0);
    EXPECT_LE(corner.x + r.Width(), client.right);
    EXPECT_LE(corner.y + r.Height(), client.bottom);
    for (int id : {555, 556}) {
      ScrollFieldIntoView(view, Field(id));
      EXPECT_TRUE(IsFieldVisible(view, Field(id))) << id;
      TFieldNode* f = Field(id);
      long dx = view->Scroller->XPos * 8, dy = view->Scroller->YPos * 24;
      EXPECT_LE(f->right - dx, client.right) << id;
      EXPECT_LE(f->bottom - dy, client.bottom) << id;
      EXPECT_GE(f->left - dx, 0) << id;
    }
  }
};

TEST_F(FieldReachTest, A640WideChildReachesTheBottomRightCorner) {
  MakeFrame(900, 700);
  RespaWindow* view = OpenFile("R-1");
  view->Parent->MoveWindow(0, 0, 640, 500, true);
  Pump();
  CheckReach(view);
}

TEST_F(FieldReachTest, AMaximizedChildReachesTheBottomRightCorner) {
  MakeFrame(1024, 768);
  RespaWindow* view = OpenFile("R-2", true);
  CheckReach(view);
}

}  // namespace
