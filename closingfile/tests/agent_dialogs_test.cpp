/*
** The lender and settlement agent dialogs through their commands: each control shows the
** field the dialog's table names for it, OK stores what the controls hold, Cancel nothing;
** and the Assigns list built from the stored text.
*/
#include "closingfile/agent_dialogs.h"
#include "closingfile/tests/closing_file_test_support.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_record.h"

#include <map>
#include <string>
#include <vector>

namespace {

/* Control id -> record field, as the dialogs' tables pair them. */
const std::map<int, int> kLenderPairs = {{101, 5},  {102, 6},  {193, 11}, {103, 7},
                                         {104, 8},  {105, 9},  {106, 10}, {107, 12},
                                         {108, 13}, {109, 14}, {110, 15}};
const std::map<int, int> kSagentPairs = {{101, 2}, {200, 3}, {107, 4}, {108, 5},
                                         {109, 6}, {110, 7}, {118, 16}};

/* A distinct text per field, short enough for the smallest (2 characters). */
std::string ValueOf(int field) {
  return field < 10 ? "F" + std::to_string(field) : std::to_string(field);
}

std::vector<std::pair<int, std::string>> Values(const std::map<int, int>& pairs) {
  std::vector<std::pair<int, std::string>> values;
  for (auto [id, field] : pairs) values.emplace_back(field, ValueOf(field));
  return values;
}

std::vector<std::string> ListItems(HWND combo) {
  std::vector<std::string> items;
  int count = static_cast<int>(SendMessage(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    SendMessage(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

class AgentDialogsTest : public ClosingFileTest {};

TEST_F(AgentDialogsTest, LenderControlsCarryTheirFieldsByName) {
  auto values = Values(kLenderPairs);
  values.emplace_back(16, "heirs and assigns");
  values.emplace_back(2, "Conventional");
  PutRecord(kLenderTable, "L-1", values);
  RespaWindow* view = OpenFile("L-1");
  std::map<int, std::string> shown;
  driver.OnDialog(kLenderTemplate, [&](HWND dialog) {
    for (auto [id, field] : kLenderPairs) shown[id] = ControlTextOf(dialog, id);
    Shot(dialog, "lender");
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kLenderCommand);
  for (auto [id, field] : kLenderPairs) EXPECT_EQ(shown[id], ValueOf(field)) << id;
  for (auto& [field, text] : values)
    EXPECT_EQ(TableText(kLenderTable, "L-1", field), text) << field;

  // Typing into one control changes its field only.
  for (auto [id, field] : kLenderPairs) {
    driver.OnDialog(kLenderTemplate, [&, id = id](HWND dialog) {
      TypeInto(dialog, id, "T" + std::to_string(id));
      PressDialogKey(dialog, VK_RETURN);
    });
    Command(view, kLenderCommand);
    for (auto [otherId, otherField] : kLenderPairs) {
      std::string expected = otherId == id ? "T" + std::to_string(id) : ValueOf(otherField);
      if (otherId == 109) expected = otherId == id ? "T1" : expected;  // the state takes 2
      EXPECT_EQ(TableText(kLenderTable, "L-1", otherField), expected) << id << " -> " << otherId;
    }
    EXPECT_EQ(TableText(kLenderTable, "L-1", 16), "heirs and assigns");
    // Back to the distinct values for the next control.
    PutRecord(kLenderTable, "L-1", values);
    CloseFile(view);
    view = OpenFile("L-1");
  }
}

TEST_F(AgentDialogsTest, AssignsListFromTheStoredText) {
  struct Case {
    std::string stored;
    std::vector<std::string> items;
    int selected;
  };
  const std::string a = "and/or assigns", s = "its successors and/or assigns";
  const Case cases[] = {{a, {s, a}, 1},
                        {"", {a, s, ""}, 2},
                        {s, {a, s}, 1},
                        {"heirs and assigns", {a, s, "heirs and assigns"}, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    PutRecord(kLenderTable, "A-1", {{5, "Bank"}, {16, c.stored}});
    RespaWindow* view = OpenFile("A-1");
    std::vector<std::string> items;
    LRESULT selected = -5;
    std::string text;
    driver.OnDialog(kLenderTemplate, [&](HWND dialog) {
      HWND combo = FindControl(dialog, kAssignsComboId);
      items = ListItems(combo);
      selected = SendMessage(combo, CB_GETCURSEL, 0, 0);
      text = ControlTextOf(dialog, kAssignsComboId);
      PressDialogKey(dialog, VK_RETURN);
    });
    Command(view, kLenderCommand);
    EXPECT_EQ(items, c.items);
    EXPECT_EQ(selected, c.selected);
    EXPECT_EQ(text, c.stored);
    EXPECT_EQ(TableText(kLenderTable, "A-1", 16), c.stored);
    CloseFile(view);
  }
}

TEST_F(AgentDialogsTest, TypedAssignsIsStoredAsItsFirstSixty) {
  PutRecord(kLenderTable, "A-2", {{5, "Bank"}});
  RespaWindow* view = OpenFile("A-2");
  std::string typed;
  for (int i = 0; i < 75; ++i) typed += static_cast<char>('a' + i % 26);
  AnswerCommand(view, kLenderCommand, kLenderTemplate, {{kAssignsComboId, typed}}, VK_RETURN);
  EXPECT_EQ(TableText(kLenderTable, "A-2", 16), typed.substr(0, 60));
}

TEST_F(AgentDialogsTest, SettlementAgentControlsCarryTheirFieldsByName) {
  auto values = Values(kSagentPairs);
  values.emplace_back(8, "S-TAX-1");
  values.emplace_back(23, "REF");
  PutRecord(kSagentTable, "G-1", values);
  RespaWindow* view = OpenFile("G-1");
  std::map<int, std::string> shown;
  driver.OnDialog(kSagentTemplate, [&](HWND dialog) {
    for (auto [id, field] : kSagentPairs) shown[id] = ControlTextOf(dialog, id);
    Shot(dialog, "settlement_agent");
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kSettlementAgentCommand);
  for (auto [id, field] : kSagentPairs) EXPECT_EQ(shown[id], ValueOf(field)) << id;
  for (auto& [field, text] : values)
    EXPECT_EQ(TableText(kSagentTable, "G-1", field), text) << field;

  AnswerCommand(view, kSettlementAgentCommand, kSagentTemplate,
                {{200, "Title Firm"}, {118, "ab-1"}}, VK_RETURN);
  for (auto [id, field] : kSagentPairs) {
    std::string expected = id == 200 ? "Title Firm" : id == 118 ? "AB-1" : ValueOf(field);
    EXPECT_EQ(TableText(kSagentTable, "G-1", field), expected) << id;
  }
  EXPECT_EQ(TableText(kSagentTable, "G-1", 8), "S-TAX-1");
}

TEST_F(AgentDialogsTest, CancelChangesNeitherTableNorBuffer) {
  auto lender = Values(kLenderPairs);
  auto agent = Values(kSagentPairs);
  PutRecord(kLenderTable, "C-1", lender);
  PutRecord(kSagentTable, "C-1", agent);
  RespaWindow* view = OpenFile("C-1");
  AnswerCommand(view, kLenderCommand, kLenderTemplate,
                {{101, "Other Bank"}, {kAssignsComboId, "changed"}}, VK_ESCAPE);
  AnswerCommand(view, kSettlementAgentCommand, kSagentTemplate, {{101, "Other Agent"}}, VK_ESCAPE);
  char text[128];
  for (auto& [field, value] : lender) {
    view->records[kLenderTable]->GetString(field, text, sizeof text);
    EXPECT_EQ(text, value) << field;
  }
  view->records[kSagentTable]->GetString(2, text, sizeof text);
  EXPECT_STREQ(text, "F2");
  Save(view);
  for (auto& [field, value] : lender) EXPECT_EQ(TableText(kLenderTable, "C-1", field), value);
  for (auto& [field, value] : agent) EXPECT_EQ(TableText(kSagentTable, "C-1", field), value);
}

}  // namespace
