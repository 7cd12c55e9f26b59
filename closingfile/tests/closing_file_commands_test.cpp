/*
** The statement window's seven closing-file commands on a real open file: typed text of a
** statement field is committed first and survives, the written fields repaint, OK posts
** where another program sees it, Cancel changes nothing, a part that could not be read brings
** no value of an earlier file; and the tracking descriptions shared between programs.
*/
#include "closingfile/agent_dialogs.h"
#include "closingfile/party_dialogs.h"
#include "closingfile/property_dialog.h"
#include "closingfile/schedule_a_dialog.h"
#include "closingfile/tests/closing_file_test_support.h"
#include "closingfile/tracking_dialog.h"
#include "platform/framework/scroller.h"
#include "platform/testing/other_programs.h"
#include "platform/user/winuser.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <QImage>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

/* The first edited statement field on a record field, or null. */
TFieldNode* FieldOn(int table, int number) {
  for (TFieldNode* field = gRespaFieldList.head; field; field = field->next)
    if (field->tableIndex == table && field->fieldNumber == number &&
        field->displayKind >= kFieldKindText && field->displayKind <= kFieldKindDate)
      return field;
  return nullptr;
}

std::string Quote(const std::string& text) { return "'" + text + "'"; }

std::string Hex(const std::string& text) {
  std::string hex;
  char pair[3];
  for (unsigned char c : text) {
    std::snprintf(pair, sizeof pair, "%02X", c);
    hex += pair;
  }
  return hex;
}

class ClosingFileCommandsTest : public ClosingFileTest {
 protected:
  /* What another program reads from the tables: s<n>, l<n> or d<n> per field. */
  std::vector<std::string> OtherProgramReads(const std::string& table, const std::string& number,
                                             const std::vector<std::string>& fields) {
    std::string command = std::string(CLOSING_FILE_PROBE) + " " + Quote(Root()) + " read " + table +
                          " " + Quote(number);
    for (const std::string& field : fields) command += " " + field;
    return ProgramLines(command);
  }
  /* Selects the field, types into the edit line and leaves it uncommitted. */
  void TypeUncommitted(RespaWindow* view, TFieldNode* field, const std::string& text) {
    ASSERT_NE(field, nullptr);
    EditField(view, field->fieldId);
    ASSERT_TRUE(EditShown(view));
    view->editLine->SetSelection(0, static_cast<UINT>(-1));
    TypeText(text);
    Pump();
  }
  /* The field's place in the window as painted now. */
  QImage FieldImage(RespaWindow* view, const TFieldNode* field) {
    QImage window = GrabWindow(view->HWindow);
    int x = field->left - static_cast<int>(view->Scroller->XPos * view->Scroller->XUnit);
    int y = field->top - static_cast<int>(view->Scroller->YPos * view->Scroller->YUnit);
    return window.copy(x, y, field->right - field->left, field->bottom - field->top);
  }
};

TEST_F(ClosingFileCommandsTest, TypedTextReachesEachDialogAndSurvives) {
  struct Case {
    int command, templateId, table, field, control;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {kBuyersCommand, kBuyersTemplate, kBuyerTable, 2, 0, "Typed Buyer", "Typed Buyer"},
      {kSellersCommand, kSellersTemplate, kSellerTable, 2, 0, "Typed Seller", "Typed Seller"},
      {kLenderCommand, kLenderTemplate, kLenderTable, 5, 101, "Typed Bank", "Typed Bank"},
      {kSettlementAgentCommand, kSagentTemplate, kSagentTable, 2, 101, "Typed Agent",
       "Typed Agent"},
      {kPropertyCommand, kPropertyTemplate, kPropertyTable, 2, 107, "9 Typed Rd", "9 Typed Rd"},
      {kScheduleACommand, kScheduleATemplate, kExpense3Table, 28, 114, "777", "777.00"},
  };
  RespaWindow* view = OpenFile("CMD-1");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    TFieldNode* field = c.table == kExpense3Table ? Field(495) : FieldOn(c.table, c.field);
    ASSERT_NE(field, nullptr);
    ASSERT_EQ(field->tableIndex, c.table);
    ASSERT_EQ(field->fieldNumber, c.field);
    TypeUncommitted(view, field, c.typed);
    std::string shown;
    driver.OnDialog(c.templateId, [&](HWND dialog) {
      if (c.control) {
        shown = ControlTextOf(dialog, c.control);
        FocusControl(dialog, c.table == kExpense3Table ? 101 : c.control);
      } else {
        shown = ControlTextOf(dialog, kPartyPreviewId);
        FocusControl(dialog, IDOK);
      }
      PressDialogKey(dialog, VK_RETURN);
    });
    Command(view, c.command);
    EXPECT_EQ(driver.Pending(), 0u);
    if (c.control) EXPECT_EQ(shown, c.shown);
    else EXPECT_EQ(shown.substr(0, std::string(c.shown).size()), c.shown);
    // Re-edited from the record: the edit line shows the stored value.
    EXPECT_TRUE(EditShown(view));
    EXPECT_EQ(view->currentField, field);
    if (c.table == kExpense3Table) EXPECT_DOUBLE_EQ(TableDouble(c.table, "CMD-1", c.field), 777.0);
    else EXPECT_EQ(TableText(c.table, "CMD-1", c.field), c.typed);
  }
}

TEST_F(ClosingFileCommandsTest, TrackingLeavesTypedTextOfOtherFieldsToTheEditLine) {
  RespaWindow* view = OpenFile("CMD-2");
  TFieldNode* name = FieldOn(kBuyerTable, 2);
  TypeUncommitted(view, name, "Still Typed");
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) { PressDialogKey(dialog, VK_RETURN); });
  Command(view, kFileTrackingCommand);
  EXPECT_EQ(EditText(view), "Still Typed");
  Save(view);
  EXPECT_EQ(TableText(kBuyerTable, "CMD-2", 2), "Still Typed");
}

/* One command's run: the record fields its dialog changes and how the script changes them. */
struct RepaintCase {
  int command;
  int templateId;
  int table;
  std::vector<int> fields;
  std::function<void(HWND)> script;
};

TEST_F(ClosingFileCommandsTest, WrittenFieldsRepaintWithTheirNewValues) {
  const std::string wide = "WWWWWWW";
  auto typeAll = [&](std::vector<int> ids, int okFrom) {
    return [=, this](HWND dialog) {
      for (int id : ids) TypeInto(dialog, id, wide);
      FocusControl(dialog, okFrom);
      PressDialogKey(dialog, VK_RETURN);
    };
  };
  auto party = [&](HWND dialog) {
    driver.OnDialog(kBuyerSellerTemplate, [&](HWND one) {
      for (int id : {101, 102, 107, 108}) TypeInto(one, id, wide);
      PressDialogKey(one, VK_RETURN);
    });
    PressDialogKey(dialog, '1', Qt::AltModifier);
    TypeInto(dialog, kEstateComboId, wide);
    PressDialogKey(dialog, VK_RETURN);
  };
  const RepaintCase cases[] = {
      {kBuyersCommand, kBuyersTemplate, kBuyerTable, {2, 3, 8, 9, 42}, party},
      {kSellersCommand, kSellersTemplate, kSellerTable, {2, 3, 8, 9, 42}, party},
      {kLenderCommand,
       kLenderTemplate,
       kLenderTable,
       {5, 6, 7, 8, 9, 10, 12, 13},
       typeAll({101, 102, 103, 104, 105, 106, 107, 108}, 101)},
      {kSettlementAgentCommand,
       kSagentTemplate,
       kSagentTable,
       {2, 3, 4, 5},
       typeAll({101, 200, 107, 108}, 101)},
      {kPropertyCommand, kPropertyTemplate, kPropertyTable, {2, 3}, typeAll({107, 108}, 107)},
  };
  PutRecord(kBuyerTable, "CMD-3", {{2, "Old"}, {3, "Old"}, {8, "Old"}, {9, "Old"}, {42, "old"}});
  PutRecord(kSellerTable, "CMD-3", {{2, "Old"}, {3, "Old"}, {8, "Old"}, {9, "Old"}, {42, "old"}});
  PutRecord(kLenderTable, "CMD-3", {{5, "Old Bank"}, {12, "1 Old St"}, {13, "Oldtown"}});
  PutRecord(kSagentTable, "CMD-3", {{2, "Old"}, {3, "Old"}, {4, "Old"}, {5, "Old"}});
  PutRecord(kPropertyTable, "CMD-3", {{2, "Old"}, {3, "Old"}});
  RespaWindow* view = OpenFile("CMD-3");
  for (const RepaintCase& c : cases) {
    SCOPED_TRACE(c.command);
    auto written = [&](const TFieldNode* field) {
      if (field->tableIndex != c.table) return false;
      for (int number : c.fields)
        if (field->fieldNumber == number) return true;
      return false;
    };
    std::vector<TFieldNode*> fields;
    for (TFieldNode* field = gRespaFieldList.head; field; field = field->next)
      if (written(field)) fields.push_back(field);
    ASSERT_FALSE(fields.empty());
    ScrollFieldIntoView(view, fields.front());
    Pump();
    std::vector<TFieldNode*> shown;
    std::vector<QImage> before;
    for (TFieldNode* field : fields) {
      if (!IsFieldVisible(view, field)) continue;
      shown.push_back(field);
      before.push_back(FieldImage(view, field));
    }
    ASSERT_FALSE(shown.empty());
    driver.OnDialog(c.templateId, c.script);
    Command(view, c.command);
    EXPECT_EQ(driver.Pending(), 0u);
    for (size_t i = 0; i < shown.size(); ++i) {
      char text[256] = "";
      FormatFieldText(view, shown[i], text, sizeof text, 0);
      EXPECT_NE(std::string(text).find(wide), std::string::npos) << shown[i]->name << ": " << text;
      EXPECT_NE(FieldImage(view, shown[i]), before[i]) << shown[i]->name << " was not repainted";
    }
  }
  // Schedule A: the two policy amounts.
  std::vector<QImage> before;
  for (int id : {495, 497}) {
    ScrollFieldIntoView(view, Field(id));
    Pump();
  }
  ASSERT_TRUE(IsFieldVisible(view, Field(495)) && IsFieldVisible(view, Field(497)));
  for (int id : {495, 497}) before.push_back(FieldImage(view, Field(id)));
  AnswerCommand(view, kScheduleACommand, kScheduleATemplate, {{107, "8888888"}, {114, "7777777"}},
                VK_RETURN, 101);
  for (int i = 0; i < 2; ++i) {
    int id = i == 0 ? 495 : 497;
    EXPECT_NE(FieldImage(view, Field(id)), before[i]) << id << " was not repainted";
  }
}

TEST_F(ClosingFileCommandsTest, AnotherProgramReadsWhatEachDialogStored) {
  RespaWindow* view = OpenFile("CMD-4");
  driver.OnDialog(kBuyersTemplate, [&](HWND dialog) {
    driver.OnDialog(kBuyerSellerTemplate, [&](HWND party) {
      TypeInto(party, 101, "Pat Buyer");
      TypeInto(party, 118, "111-22-3333");
      PressDialogKey(party, VK_RETURN);
    });
    PressDialogKey(dialog, '1', Qt::AltModifier);
    TypeInto(dialog, kEstateComboId, "husband and wife");
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kBuyersCommand);
  AnswerCommand(view, kLenderCommand, kLenderTemplate, {{101, "First Bank"}}, VK_RETURN);
  AnswerCommand(view, kSettlementAgentCommand, kSagentTemplate, {{200, "Title Co"}}, VK_RETURN);
  driver.OnDialog(kPropertyTemplate, [&](HWND dialog) {
    TypeInto(dialog, 180, "Lot 1");
    PressDialogKey(dialog, VK_RETURN);
    TypeIntoDialog(dialog, "Block 2");
    TypeInto(dialog, 301, "2004");
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kPropertyCommand);
  AnswerCommand(view, kScheduleACommand, kScheduleATemplate, {{105, "2/16/03"}, {114, "2500"}},
                VK_RETURN, 101);
  AnswerCommand(view, kFileTrackingCommand, kTrackingTemplate, {{301, "6/1/04"}}, VK_RETURN);
  // Tracking's dates reach the table with the window's save.
  EXPECT_NE(OtherProgramReads("SAGENT", "CMD-4", {"l17"}), (std::vector<std::string>{"731733"}));
  Save(view);
  EXPECT_EQ(OtherProgramReads("BUYER", "CMD-4", {"s2", "s42"}),
            (std::vector<std::string>{Hex("Pat Buyer"), Hex("husband and wife")}));
  EXPECT_EQ(OtherProgramReads("LENDER", "CMD-4", {"s5"}),
            (std::vector<std::string>{Hex("First Bank")}));
  EXPECT_EQ(OtherProgramReads("SAGENT", "CMD-4", {"s3", "s12", "l17"}),
            (std::vector<std::string>{Hex("Title Co"), Hex("111-22-3333"), "731733"}));
  EXPECT_EQ(OtherProgramReads("PROPERTY", "CMD-4", {"s6", "d8"}),
            (std::vector<std::string>{Hex("Lot 1\r\nBlock 2"), "2004.00"}));
  EXPECT_EQ(OtherProgramReads("TITLEA", "CMD-4", {"l6"}), (std::vector<std::string>{"731262"}));
  EXPECT_EQ(OtherProgramReads("EXPENSE3", "CMD-4", {"d28"}), (std::vector<std::string>{"2500.00"}));
}

TEST_F(ClosingFileCommandsTest, CancelChangesNeitherTableNorBuffer) {
  PutRecord(kPropertyTable, "CMD-5", {{2, "12 Oak St"}});
  PutValues(9, "CMD-5", {}, {}, {{28, 100.0}});
  PutValues(kSagentTable, "CMD-5", {}, {{17, 731733}});
  RespaWindow* view = OpenFile("CMD-5");
  AnswerCommand(view, kPropertyCommand, kPropertyTemplate, {{107, "Other St"}}, VK_ESCAPE);
  AnswerCommand(view, kScheduleACommand, kScheduleATemplate, {{114, "999"}}, VK_ESCAPE);
  AnswerCommand(view, kFileTrackingCommand, kTrackingTemplate, {{301, "1/1/05"}}, VK_ESCAPE);
  EXPECT_EQ(BufferText(view, kPropertyTable, 2), "12 Oak St");
  EXPECT_EQ(BufferLong(view, kSagentTable, 17), 731733);
  double amount = 0;
  view->records[9]->GetDouble(28, amount);
  EXPECT_DOUBLE_EQ(amount, 100.0);
  Save(view);
  EXPECT_EQ(TableText(kPropertyTable, "CMD-5", 2), "12 Oak St");
  EXPECT_DOUBLE_EQ(TableDouble(9, "CMD-5", 28), 100.0);
  EXPECT_EQ(TableLong(kSagentTable, "CMD-5", 17), 731733);
}

TEST_F(ClosingFileCommandsTest, UnreadablePartsBringNothingOfAnEarlierFile) {
  PutRecord(kLenderTable, "CMD-6", {{5, "Earlier Bank"}, {11, "Earlier estate"}, {15, "11111"}});
  RespaWindow* earlier = OpenFile("CMD-6");
  driver.OnDialog(kLenderTemplate, [&](HWND dialog) { PressDialogKey(dialog, VK_RETURN); });
  Command(earlier, kLenderCommand);
  CloseFile(earlier);
  // This file's lender buffer is damaged: a record of the nine-field PROPERTY table stands
  // in for it, so LENDER fields 11-16 cannot be read.
  PutRecord(kLenderTable, "CMD-7", {{5, "This Bank"}});
  RespaWindow* view = OpenFile("CMD-7");
  TPXRecord* lender = view->records[kLenderTable];
  TPXRecord damaged(gTables[kPropertyTable], true);
  damaged.Clear();
  damaged.SetString(1, "CMD-7");
  view->records[kLenderTable] = &damaged;
  std::string estate = "unset", zip = "unset";
  driver.OnDialog(kLenderTemplate, [&](HWND dialog) {
    estate = ControlTextOf(dialog, 193);
    zip = ControlTextOf(dialog, 110);
    PressDialogKey(dialog, VK_RETURN);
  });
  Boxes().Clear();
  Command(view, kLenderCommand);
  view->records[kLenderTable] = lender;
  EXPECT_EQ(estate, "");
  EXPECT_EQ(zip, "");
  // The failed reads were reported by the table layer; nothing was written over them.
  EXPECT_FALSE(Boxes().Shown().empty());
  Save(view);
  EXPECT_EQ(TableText(kLenderTable, "CMD-7", 11), "");
  EXPECT_EQ(TableText(kLenderTable, "CMD-7", 15), "");
  EXPECT_EQ(TableText(kLenderTable, "CMD-7", 5), "This Bank");

  // Tracking dates that cannot be read show blank and are not stored blank on OK.
  PutValues(kSagentTable, "CMD-8", {{23, "KEEP"}}, {{17, 731733}, {18, 731734}});
  view = OpenFile("CMD-8");
  TPXRecord* agent = view->records[kSagentTable];
  view->records[kSagentTable] = &damaged;
  std::string fileOpen = "unset";
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    fileOpen = ControlTextOf(dialog, 301);
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kFileTrackingCommand);
  view->records[kSagentTable] = agent;
  EXPECT_EQ(fileOpen, "");
  Save(view);
  EXPECT_EQ(TableLong(kSagentTable, "CMD-8", 17), 731733);
  EXPECT_EQ(TableLong(kSagentTable, "CMD-8", 18), 731734);
  EXPECT_EQ(TableText(kSagentTable, "CMD-8", 23), "KEEP");
}

/* ---- The tracking descriptions between programs ---------------------------------------- */

class TrackingProgramsTest : public ClosingFileTest {
 protected:
  void SetUp() override {
    ClosingFileTest::SetUp();
    ASSERT_EQ(mkdir(PathInRoot("drive_c").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(PathInRoot("drive_c/zarnedb").c_str(), 0755), 0);
    std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "C:\\ZARNEDB");
  }
  std::string Ini() { return PathInRoot("drive_c/zarnedb/zarnesys.ini"); }
  std::string Probe(const std::string& arguments) {
    return std::string(CLOSING_FILE_PROBE) + " " + Quote(gDatabaseDir) + " " + arguments;
  }
};

TEST_F(TrackingProgramsTest, ASecondProgramShowsTheSavedDescriptions) {
  RespaWindow* view = OpenFile("TP-1");
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    PressDialogKey(dialog, 'S', Qt::AltModifier);
    TypeInto(dialog, 402, "Appraisal");
    TypeInto(dialog, 410, "Loan ref");
    PressDialogKey(dialog, 'S', Qt::AltModifier);
    PressDialogKey(dialog, VK_ESCAPE);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_EQ(ProgramLines(Probe("labels")),
            (std::vector<std::string>{"Appraisal", "", "", "", "", "Loan ref"}));
}

TEST_F(TrackingProgramsTest, TwoProgramsSavingAtOnceLoseNoLine) {
  std::string others = "; kept comment\r\n[Other]\r\nKey=value\r\n";
  WriteFile(Ini(), others + "[Tracking]\r\nTrackDesc2=start\r\n");
  std::vector<std::string> first, second;
  std::thread a([&] { first = ProgramLines(Probe("save A 40")); });
  std::thread b([&] { second = ProgramLines(Probe("save B 40")); });
  a.join();
  b.join();
  EXPECT_EQ(first, (std::vector<std::string>{"saved 40"}));
  EXPECT_EQ(second, (std::vector<std::string>{"saved 40"}));
  std::string text = ReadFile(Ini());
  ASSERT_EQ(text.substr(0, others.size()), others);
  std::string rest = text.substr(others.size());
  ASSERT_EQ(rest.substr(0, 12), "[Tracking]\r\n");
  rest = rest.substr(12);
  const char* keys[6] = {"TrackDesc2", "TrackDesc3", "TrackDesc4",
                         "TrackDesc6", "TrackDesc7", "TrackDescRef1"};
  // Six lines, each key once with a value one of the programs wrote for that row.
  std::vector<std::string> lines;
  for (size_t at = 0; at < rest.size();) {
    size_t end = rest.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    lines.push_back(rest.substr(at, end - at));
    at = end + 2;
  }
  ASSERT_EQ(lines.size(), 6u);
  for (int row = 0; row < 6; ++row) {
    std::string prefix = std::string(keys[row]) + "=";
    int found = 0;
    for (const std::string& line : lines) {
      if (line.rfind(prefix, 0) != 0) continue;
      ++found;
      std::string value = line.substr(prefix.size());
      char program = 0;
      int round = -1, at = -1;
      ASSERT_EQ(std::sscanf(value.c_str(), "%c %d %d", &program, &round, &at), 3) << value;
      EXPECT_TRUE(program == 'A' || program == 'B') << value;
      EXPECT_TRUE(round >= 0 && round < 40) << value;
      EXPECT_EQ(at, row) << value;
    }
    EXPECT_EQ(found, 1) << keys[row];
  }
}

}  // namespace
