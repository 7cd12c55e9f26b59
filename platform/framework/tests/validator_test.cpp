/*
** Validators on edits: keystrokes refused or rewritten by the partial check, OK refused by
** the full check with the error shown and the focus kept on the refused field.
*/
#include "platform/framework/dialog.h"
#include "platform/framework/edit.h"
#include "platform/testing/gui_test.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/winuser.h"

#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

/* Digits only, at most four of them (an empty text is valid). */
class TDigitsValidator : public TValidator {
 public:
  bool IsValid(const char* text) override {
    size_t n = std::strlen(text);
    if (n > 4) return false;
    for (size_t i = 0; i < n; ++i)
      if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
  }
  bool IsValidInput(char* text, bool) override { return IsValid(text); }
};

/* Accepts anything while typing, turning it to upper case in place. */
class TUpperValidator : public TValidator {
 public:
  bool IsValidInput(char* text, bool) override {
    for (char* c = text; *c; ++c)
      *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    return true;
  }
};

#pragma pack(push, 1)
struct TValidateXfer {
  char number[8];
  char state[4];
};
#pragma pack(pop)

class TValidateDialog : public TDialog {
 public:
  explicit TValidateDialog(TWindow* parent) : TDialog(parent, 110) {
    number = new TEdit(this, 101, sizeof(TValidateXfer::number));
    number->SetValidator(new TDigitsValidator);
    state = new TEdit(this, 102, sizeof(TValidateXfer::state));
    state->SetValidator(new TUpperValidator);
  }
  /* The steps of the test, run inside the dialog's loop one message at a time. */
  LRESULT EvStep(WPARAM step, LPARAM) {
    if (onStep) onStep(static_cast<int>(step));
    return 0;
  }
  std::function<void(int)> onStep;
  TEdit* number;
  TEdit* state;
  DECLARE_RESPONSE_TABLE(TValidateDialog);
};
DEFINE_RESPONSE_TABLE1(TValidateDialog, TDialog)
EV_MESSAGE(WM_APP, EvStep), END_RESPONSE_TABLE;

class ValidatorTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    previous = SetModalDialogObserver([](HWND dialog, int) { PostMessage(dialog, WM_APP, 0, 0); });
  }
  void TearDown() override {
    SetModalDialogObserver(previous);
    GuiTest::TearDown();
  }
  ModalDialogObserver previous;
};

TEST_F(ValidatorTest, InvalidFieldRefusesOkShowsTheErrorAndKeepsTheFocus) {
  TValidateXfer xfer{};
  std::strcpy(xfer.number, "12a");
  std::strcpy(xfer.state, "fl");
  TValidateDialog dialog(nullptr);
  dialog.SetTransferBuffer(&xfer);
  size_t boxesAfterRefusal = 0;
  bool stillOpen = false, focusOnNumber = false;
  dialog.onStep = [&](int step) {
    if (step == 0) {
      dialog.state->SetFocus();
      dialog.PostMessage(WM_COMMAND, IDOK);
      dialog.PostMessage(WM_APP, 1);
    } else {
      boxesAfterRefusal = Boxes().Shown().size();
      stillOpen = IsWindow(dialog.HWindow) && IsWindowVisible(dialog.HWindow);
      focusOnNumber = GetFocus() == dialog.number->HWindow;
      dialog.number->SetText("123");
      dialog.PostMessage(WM_COMMAND, IDOK);
    }
  };
  EXPECT_EQ(dialog.Execute(), IDOK);
  EXPECT_EQ(boxesAfterRefusal, 1u);
  ASSERT_FALSE(Boxes().Shown().empty());
  EXPECT_EQ(Boxes().Shown()[0].caption, "Invalid Entry");
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(focusOnNumber);
  EXPECT_STREQ(xfer.number, "123");
  EXPECT_STREQ(xfer.state, "fl");  // the full check of the other field accepts anything
}

TEST_F(ValidatorTest, KeystrokesAreCheckedByThePartialCheck) {
  TValidateXfer xfer{};
  TValidateDialog dialog(nullptr);
  dialog.SetTransferBuffer(&xfer);
  int beepsBefore = 0, beepsAfter = 0;
  std::string numberText, stateText;
  dialog.onStep = [&](int) {
    dialog.number->SetFocus();
    beepsBefore = MessageBeepCount();
    TypeText("1x2");
    TypeText("345");  // a fifth digit would make the text invalid
    beepsAfter = MessageBeepCount();
    numberText = dialog.number->GetText();
    dialog.state->SetFocus();
    TypeText("ny");
    stateText = dialog.state->GetText();
    dialog.PostMessage(WM_COMMAND, IDCANCEL);
  };
  dialog.Execute();
  EXPECT_EQ(numberText, "1234");
  EXPECT_EQ(beepsAfter - beepsBefore, 2);
  EXPECT_EQ(stateText, "NY");
}

TEST_F(ValidatorTest, DisabledInvalidFieldDoesNotHoldTheDialog) {
  TValidateXfer xfer{};
  std::strcpy(xfer.number, "bad");
  TValidateDialog dialog(nullptr);
  dialog.SetTransferBuffer(&xfer);
  dialog.onStep = [&](int) {
    dialog.number->EnableWindow(false);
    dialog.PostMessage(WM_COMMAND, IDOK);
  };
  EXPECT_EQ(dialog.Execute(), IDOK);
  EXPECT_TRUE(Boxes().Shown().empty());
}

}  // namespace
