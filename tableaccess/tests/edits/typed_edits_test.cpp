/*
** The typed edit boxes in a real dialog, driven by real key input: the characters each box
** takes and refuses (and with which beep), pasted text judged like typed text, the focus
** tidy-up, the transfer of blank and non-blank values, and the refusal at OK of a text that
** stands for no value.
*/
#include "tableaccess/typed_edits.h"

#include "platform/framework/dialog.h"
#include "platform/kernel/global_memory.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/gui_test.h"
#include "platform/user/clipboard.h"
#include "platform/user/edit_control.h"
#include "platform/user/system_info.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "tableaccess/value_forms.h"

#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr int kBoxesTemplate = 30500;
constexpr UINT kSimpleBeep = 0xFFFFFFFF;

#pragma pack(push, 1)
struct TTypedBoxesXfer {
  LONG date;
  int32_t count;
  double rate;
  double amount;
};
#pragma pack(pop)

class TTypedBoxes : public TDialog {
 public:
  TTypedBoxes() : TDialog(nullptr, kBoxesTemplate) {
    date = new TWWDate(this, 101, 11);
    count = new TWWInteger(this, 102, 12);
    rate = new TWWFloat(this, 103, 20);
    amount = new TWWMoney(this, 104, 20);
  }
  TWWDate* date;
  TWWInteger* count;
  TWWFloat* rate;
  TWWMoney* amount;
};

LONG Date(int month, int day, int year) {
  LONG date = kBlankDate;
  EncodeDate(date, month, day, year);
  return date;
}

void PutOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

/* A modal dialog that has been ended stays a window until its loop returns, hidden. */
bool IsOpen(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

/* Focus on the box, its text replaced, the caret at the end. */
void Start(TEdit& box, const std::string& text) {
  box.SetFocus();
  box.SetText(text.c_str());
  UINT end = static_cast<UINT>(box.GetText().size());
  box.SetSelection(end, end);
}

class TypedEditsTest : public GuiTest {
 protected:
  /* Runs the dialog over the record; `steps` runs inside it, then OK is pressed. */
  int Run(TTypedBoxesXfer& record, const std::function<void(TTypedBoxes&, HWND)>& steps) {
    TTypedBoxes dialog;
    dialog.SetTransferBuffer(&record);
    driver.OnDialog(kBoxesTemplate, [&](HWND hwnd) {
      steps(dialog, hwnd);
      if (IsOpen(hwnd)) PressButton(hwnd, IDOK);
      if (IsOpen(hwnd)) PressButton(hwnd, IDCANCEL);  // OK refused: leave anyway
    });
    return dialog.Execute();
  }
  /* Beeps since the last call. */
  int NewBeeps() {
    int now = MessageBeepCount(), count = now - beeps;
    beeps = now;
    return count;
  }
  DialogDriver driver;
  int beeps = MessageBeepCount();
  TTypedBoxesXfer blank{kBlankDate, 0, 0, 0};
};

TEST_F(TypedEditsTest, DateBoxTakesDigitsAndSlashesOnly) {
  std::string typed, afterEnter;
  int refused = 0;
  UINT beepType = 1;
  Run(blank, [&](TTypedBoxes& d, HWND) {
    Start(*d.date, "");
    NewBeeps();
    TypeText("12/2x5/9.5");
    refused = NewBeeps();
    beepType = LastMessageBeepType();
    typed = d.date->GetText();
    d.date->SendMessage(WM_CHAR, VK_RETURN, 1);  // Enter: dropped without a sound
    afterEnter = d.date->GetText();
    refused += NewBeeps() * 100;
  });
  EXPECT_EQ(typed, "12/25/95");
  EXPECT_EQ(refused, 2);
  EXPECT_EQ(beepType, static_cast<UINT>(MB_OK));
  EXPECT_EQ(afterEnter, "12/25/95");
}

TEST_F(TypedEditsTest, IntegerBoxTakesMinusOnlyAtTheStart) {
  std::string typed, afterMinus, atStart;
  int refusedLetter = 0, refusedMinus = 0, atStartBeeps = 0;
  Run(blank, [&](TTypedBoxes& d, HWND) {
    Start(*d.count, "");
    NewBeeps();
    TypeText("-1a2");
    refusedLetter = NewBeeps();
    typed = d.count->GetText();
    TypeText("-");  // caret after a digit
    refusedMinus = NewBeeps();
    afterMinus = d.count->GetText();
    Start(*d.count, "45");
    d.count->SetSelection(0, 0);
    TypeText("-");
    atStartBeeps = NewBeeps();
    atStart = d.count->GetText();
  });
  EXPECT_EQ(typed, "-12");
  EXPECT_EQ(refusedLetter, 1);
  EXPECT_EQ(refusedMinus, 1);
  EXPECT_EQ(afterMinus, "-12");
  EXPECT_EQ(atStartBeeps, 0);
  EXPECT_EQ(atStart, "-45");
}

TEST_F(TypedEditsTest, FloatBoxTakesOnePointAndALeadingMinus) {
  std::string typed;
  int refused = 0;
  Run(blank, [&](TTypedBoxes& d, HWND) {
    Start(*d.rate, "");
    NewBeeps();
    TypeText("-3.1.4-x1");
    refused = NewBeeps();
    typed = d.rate->GetText();
  });
  EXPECT_EQ(typed, "-3.141");
  EXPECT_EQ(refused, 3);  // the second '.', the '-' after digits, the letter
}

TEST_F(TypedEditsTest, MoneyBoxRefusesWhatWouldMakeTheAmountInvalid) {
  std::string typed, replaced;
  int thirdDecimal = 0, letter = 0;
  UINT thirdDecimalBeep = 0, letterBeep = 1;
  Run(blank, [&](TTypedBoxes& d, HWND) {
    Start(*d.amount, "");
    TypeText("1234.56");
    NewBeeps();
    TypeText("7");
    thirdDecimal = NewBeeps();
    thirdDecimalBeep = LastMessageBeepType();
    typed = d.amount->GetText();
    TypeText("a");
    letter = NewBeeps();
    letterBeep = LastMessageBeepType();
    d.amount->SetSelection(5, 7);  // the two decimals, typed over by one digit
    TypeText("9");
    replaced = d.amount->GetText();
  });
  EXPECT_EQ(typed, "1234.56");
  EXPECT_EQ(thirdDecimal, 1);
  EXPECT_EQ(thirdDecimalBeep, kSimpleBeep);
  EXPECT_EQ(letter, 1);
  EXPECT_EQ(letterBeep, static_cast<UINT>(MB_OK));
  EXPECT_EQ(replaced, "1234.9");
}

/* Backspace edits every box; Enter reaching a box is dropped without a sound. */
TEST_F(TypedEditsTest, EveryBoxTakesBackspaceAndDropsEnterSilently) {
  std::string afterBackspace[4], afterEnter[4];
  int beepsSeen = -1;
  Run(blank, [&](TTypedBoxes& d, HWND) {
    TEdit* boxes[4] = {d.date, d.count, d.rate, d.amount};
    const char* starts[4] = {"1/2/95", "-12", "3.25", "10.5"};
    NewBeeps();
    for (int i = 0; i < 4; ++i) {
      Start(*boxes[i], starts[i]);
      PressKey(VK_BACK);
      afterBackspace[i] = boxes[i]->GetText();
      boxes[i]->SendMessage(WM_CHAR, VK_RETURN, 1);
      afterEnter[i] = boxes[i]->GetText();
    }
    beepsSeen = NewBeeps();
  });
  const char* cut[4] = {"1/2/9", "-1", "3.2", "10."};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(afterBackspace[i], cut[i]) << i;
    EXPECT_EQ(afterEnter[i], cut[i]) << i;
  }
  EXPECT_EQ(beepsSeen, 0);
}

TEST_F(TypedEditsTest, MoneyBoxTidiesItsTextAsTheFocusMoves) {
  std::string leftFull, leftEmpty, entered;
  UINT selStart = 9, selEnd = 0;
  Run(blank, [&](TTypedBoxes& d, HWND) {
    Start(*d.amount, "1234.5");
    d.count->SetFocus();
    leftFull = d.amount->GetText();
    d.amount->SetFocus();
    entered = d.amount->GetText();
    d.amount->GetSelection(selStart, selEnd);
    d.amount->SetText("");
    d.count->SetFocus();
    leftEmpty = d.amount->GetText();
  });
  EXPECT_EQ(leftFull, "1,234.50");
  EXPECT_EQ(entered, "1234.50");
  EXPECT_EQ(selStart, 0u);
  EXPECT_EQ(selEnd, 7u);
  EXPECT_EQ(leftEmpty, ".00");
}

TEST_F(TypedEditsTest, DateBoxClearsAnInvalidDateWhenLeft) {
  std::string badLeft, goodLeft;
  Run(blank, [&](TTypedBoxes& d, HWND) {
    Start(*d.date, "");
    TypeText("13/01/95");
    d.count->SetFocus();
    badLeft = d.date->GetText();
    Start(*d.date, "");
    TypeText("2/29/00");
    d.count->SetFocus();
    goodLeft = d.date->GetText();
  });
  EXPECT_EQ(badLeft, "");
  EXPECT_EQ(goodLeft, "2/29/00");
}

TEST_F(TypedEditsTest, PasteIsJudgedLikeTypedText) {
  std::string datePasted, dateRefused, moneyRefused, moneyPasted, countRefused, countByKey,
      rateRefused, ratePasted;
  int dateBeeps = 0, moneyBeeps = 0;
  UINT moneyBeep = 0;
  Run(blank, [&](TTypedBoxes& d, HWND hwnd) {
    Start(*d.date, "");
    PutOnClipboard("12/25/95\r\nmore");
    d.date->Paste();
    datePasted = d.date->GetText();
    Start(*d.date, "");
    PutOnClipboard("12-25-95");
    NewBeeps();
    d.date->Paste();
    dateBeeps = NewBeeps();
    dateRefused = d.date->GetText();

    Start(*d.amount, "10");
    PutOnClipboard(".125");
    d.amount->Paste();
    moneyBeeps = NewBeeps();
    moneyBeep = LastMessageBeepType();
    moneyRefused = d.amount->GetText();
    PutOnClipboard(".12");
    d.amount->Paste();
    moneyPasted = d.amount->GetText();

    Start(*d.count, "7");
    PutOnClipboard("5-");
    d.count->Paste();
    countRefused = d.count->GetText();
    PutOnClipboard("-3");
    d.count->SetSelection(0, 1);
    PressDialogKey(hwnd, VK_INSERT, Qt::ShiftModifier);  // the keyboard's paste
    countByKey = d.count->GetText();

    Start(*d.rate, "2.5");
    PutOnClipboard("1.5");  // a second point
    d.rate->Paste();
    rateRefused = d.rate->GetText();
    d.rate->SetSelection(0, 3);
    d.rate->Paste();
    ratePasted = d.rate->GetText();
  });
  EXPECT_EQ(datePasted, "12/25/95");
  EXPECT_EQ(dateRefused, "");
  EXPECT_EQ(dateBeeps, 1);
  EXPECT_EQ(moneyRefused, "10");
  EXPECT_EQ(moneyBeeps, 1);
  EXPECT_EQ(moneyBeep, kSimpleBeep);
  EXPECT_EQ(moneyPasted, "10.12");
  EXPECT_EQ(countRefused, "7");
  EXPECT_EQ(countByKey, "-3");
  EXPECT_EQ(rateRefused, "2.5");
  EXPECT_EQ(ratePasted, "1.5");
}

TEST_F(TypedEditsTest, TransferWritesEachBoxsForm) {
  std::string date, count, rate, amount, blankDate, date1999, date2005;
  TTypedBoxesXfer record{Date(1, 1, 2091), -42, 1234567.125, 1234.5};
  Run(record, [&](TTypedBoxes& d, HWND) {
    date = d.date->GetText();
    count = d.count->GetText();
    rate = d.rate->GetText();
    amount = d.amount->GetText();
    LONG value = kBlankDate;
    d.date->Transfer(&value, tdSetData);
    blankDate = d.date->GetText();
    value = Date(1, 2, 1999);
    d.date->Transfer(&value, tdSetData);
    date1999 = d.date->GetText();
    value = Date(1, 2, 2005);
    d.date->Transfer(&value, tdSetData);
    date2005 = d.date->GetText();
    PressButton(d.HWindow, IDCANCEL);
  });
  EXPECT_EQ(date, "01/01/2091");
  EXPECT_EQ(count, "-42");
  EXPECT_EQ(rate, "1,234,567.12500");
  EXPECT_EQ(amount, "1,234.50");
  EXPECT_EQ(blankDate, "");
  EXPECT_EQ(date1999, "01/02/99");
  EXPECT_EQ(date2005, "01/02/05");
}

TEST_F(TypedEditsTest, TransferReadsBlankAndNonBlankValues) {
  TTypedBoxesXfer record{Date(6, 1, 2001), 5, 1, 1};
  int result = Run(record, [&](TTypedBoxes& d, HWND) {
    d.date->SetText("");
    d.count->SetText("-2147483648");
    d.rate->SetText("-1,000.5");
    d.amount->SetText("");
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(record.date, kBlankDate);
  EXPECT_EQ(static_cast<DWORD>(record.date), 0x80000000u);
  EXPECT_EQ(record.count, INT32_MIN);
  EXPECT_DOUBLE_EQ(record.rate, -1000.5);
  EXPECT_DOUBLE_EQ(record.amount, 0.0);

  TTypedBoxesXfer typed = blank;
  Run(typed, [&](TTypedBoxes& d, HWND) { d.date->SetText("01/01/91"); });
  int month, day, year;
  DecodeDate(typed.date, month, day, year);
  EXPECT_EQ(year, 1991);
  EXPECT_EQ(month, 1);
  EXPECT_EQ(day, 1);
  EXPECT_EQ(sizeof(LONG), static_cast<size_t>(TTypedBoxes().date->Transfer(nullptr, tdSizeData)));
}

TEST_F(TypedEditsTest, OkRefusesATextThatStandsForNoValue) {
  TTypedBoxesXfer record{Date(6, 1, 2001), 5, 2.5, 3};
  bool refusedCount = false, refusedRate = false, focusKept = false;
  int result = Run(record, [&](TTypedBoxes& d, HWND hwnd) {
    d.count->SetText("99999999999");
    PressButton(hwnd, IDOK);
    refusedCount = IsOpen(hwnd) && Boxes().Shown().size() == 1;
    focusKept = GetFocus() == d.count->HWindow;
    d.count->SetText("12");
    d.rate->SetText("--5");  // '-' typed again at the start
    PressButton(hwnd, IDOK);
    refusedRate = IsOpen(hwnd) && Boxes().Shown().size() == 2;
    d.rate->SetText("-5");
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(refusedCount);
  EXPECT_TRUE(focusKept);
  EXPECT_TRUE(refusedRate);
  ASSERT_FALSE(Boxes().Shown().empty());
  EXPECT_EQ(Boxes().Shown()[0].caption, "Invalid Entry");
  EXPECT_EQ(record.count, 12);
  EXPECT_DOUBLE_EQ(record.rate, -5.0);
}

/* A date the text window accepts but no day number holds is refused, not stored blank. */
TEST_F(TypedEditsTest, OkRefusesADateBeyondTheDayNumbers) {
  TTypedBoxesXfer record{Date(6, 1, 2001), 5, 2.5, 3};
  bool refused = false;
  std::string left;
  int result = Run(record, [&](TTypedBoxes& d, HWND hwnd) {
    Start(*d.date, "");
    TypeText("1/1/10000");
    d.count->SetFocus();
    left = d.date->GetText();
    PressButton(hwnd, IDOK);
    refused = IsOpen(hwnd) && Boxes().Shown().size() == 1;
    d.date->SetText("1/1/9999");
  });
  EXPECT_EQ(left, "1/1/10000");  // a date text: kept when the focus leaves
  EXPECT_TRUE(refused);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(record.date, Date(1, 1, 9999));
}

TEST_F(TypedEditsTest, FormattingRectangleReachesEightPixelsBelowTheClient) {
  RECT client{}, formatting{};
  Run(blank, [&](TTypedBoxes& d, HWND) {
    GetClientRect(d.amount->HWindow, &client);
    d.amount->SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&formatting));
  });
  EXPECT_EQ(formatting.bottom, client.bottom + 8);
  EXPECT_EQ(formatting.top, client.top);
  EXPECT_EQ(formatting.right, client.right);
}

}  // namespace
