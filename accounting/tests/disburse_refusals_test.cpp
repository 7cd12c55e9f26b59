// Which entries the disbursing dialog refuses to change: every (kind, status, action) of the
// book, each refused case with exactly its box and the record unchanged, each passing case
// opening the entry dialog with its caption and Cancel changing nothing.
#include "disburse_fixture.h"

#include "platform/user/winuser.h"

namespace {

struct Case {
  char kind;
  int status;
  bool modify;
  const char* refusal;  // null: the entry dialog opens
};

const Case kCases[] = {
    {'C', 0, true, nullptr},
    {'C', 0, false, nullptr},
    {'C', 1, true, nullptr},
    {'C', 1, false, nullptr},
    {'C', 2, true, "This check has been printed and can't be modified."},
    {'C', 2, false, nullptr},
    {'C', 3, true, nullptr},
    {'C', 3, false, nullptr},
    {'C', 5, true, nullptr},
    {'C', 5, false, nullptr},
    {'C', 6, true, "This check has been reconciled and can't be modified."},
    {'C', 6, false, "This check has been reconciled and can't be deleted/voided."},
    {'C', 7, true, "This check has been balanced and can't be modified."},
    {'C', 7, false, "This check has been balanced and can't be deleted/voided."},
    {'D', 0, true, nullptr},
    {'D', 0, false, nullptr},
    {'D', 1, true, nullptr},
    {'D', 1, false, nullptr},
    {'D', 2, true, nullptr},
    {'D', 2, false, nullptr},
    {'D', 3, true, nullptr},
    {'D', 3, false, nullptr},
    {'D', 4, true, nullptr},
    {'D', 4, false, nullptr},
    {'D', 5, true, "This deposit has been posted and can't be modified."},
    {'D', 5, false, "This deposit has been posted and can't be deleted."},
    {'D', 6, true, "This deposit has been reconciled and can't be modified."},
    {'D', 6, false, "This deposit has been reconciled and can't be deleted."},
    {'D', 7, true, "This deposit has been balanced and can't be modified."},
    {'D', 7, false, "This deposit has been balanced and can't be deleted."},
};

using DisburseRefusals = DisburseTest;

TEST_F(DisburseRefusals, EveryKindStatusAndActionIsRefusedOrOpensItsDialog) {
  for (const Case& c : kCases) {
    const std::string file =
        std::string("R") + c.kind + std::to_string(c.status) + (c.modify ? "M" : "D");
    SCOPED_TRACE(file);
    const double seq = 730000.5 + c.status;
    Put(file, c.kind, seq, c.status, 125.40, c.status == 2 ? 1001 : 0,
        c.status == 2 ? DateOf(2, 3, 2024) : static_cast<LONG>(0x80000000u));
    const std::vector<BYTE> before = RawRecord(file, c.kind, seq);
    ASSERT_FALSE(before.empty());
    Boxes().Clear();
    std::string caption;
    const int entryTemplate = c.kind == 'C' ? 20901 : 20902;
    if (c.refusal == nullptr)
      Driver().OnDialog(entryTemplate, [&](HWND entry) {
        char text[64];
        GetWindowText(entry, text, sizeof text);
        caption = text;
        PressButton(entry, IDCANCEL);
      });
    const int gridId = c.kind == 'C' ? 300 : 200;
    const int button = (c.kind == 'C' ? 402 : 202) + (c.modify ? 0 : 1);
    RunDisburse(file.c_str(), [&](HWND dialog, TDisburse&) {
      ASSERT_EQ(RowCount(dialog, gridId), 1);
      SelectRow(dialog, gridId, 0);
      PressButton(dialog, button);
    });
    if (c.refusal != nullptr) {
      ASSERT_EQ(Shown().size(), 1u);
      EXPECT_EQ(Shown()[0].text, c.refusal);
      EXPECT_EQ(Shown()[0].caption, "Zarne Message");
      EXPECT_EQ(Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
      EXPECT_EQ(Driver().Pending(), 0u);
    } else {
      EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
      const std::string expected =
          std::string(c.modify ? "Modify " : "Delete ") + (c.kind == 'C' ? "Check" : "Deposit");
      EXPECT_EQ(caption, expected);
    }
    EXPECT_EQ(RawRecord(file, c.kind, seq), before);
  }
}

TEST_F(DisburseRefusals, NoSelectedRowAsksForOneAndNoFileAsksForANumber) {
  Put("NOSEL", 'C', 730001.0, 0, 10.0);
  RunDisburse("NOSEL", [&](HWND dialog, TDisburse&) {
    PressButton(dialog, 402);
    PressButton(dialog, 203);
  });
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[0].text, "This operation requires that you first select a check.");
  EXPECT_EQ(Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(Shown()[1].text, "This operation requires that you first select a deposit.");
  Boxes().Clear();
  RunDisburse("", [&](HWND dialog, TDisburse&) { PressButton(dialog, 401); });
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "This operation requires that you first select a file number.");
}

}  // namespace
