/*
** Typing into one control of a transfer dialog changes that control's field only: for each
** control of the settlement agent, property, Schedule A and tracking dialogs, one run types
** into it alone and every field of the dialog is read back from the tables.
** Day numbers come from Python's date.toordinal (1 January of year 1 is day 1).
*/
#include "closingfile/agent_dialogs.h"
#include "closingfile/property_dialog.h"
#include "closingfile/schedule_a_dialog.h"
#include "closingfile/tests/closing_file_test_support.h"
#include "closingfile/tracking_dialog.h"
#include "platform/kernel/profile.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

enum class Kind { Text, Long, Double };

/* A control, its field, the value stored before and what typing gives. */
struct Pair {
  int control;
  int table;
  int field;
  Kind kind;
  std::string before;  // a text, or a number written as text
  std::string typed;
  std::string after;
};

struct DialogCase {
  const char* name;
  int command;
  int templateId;
  std::vector<Pair> pairs;
  bool saves;  // the command saves (tracking waits for the window's save)
};

const DialogCase kCases[] = {
    {"agent",
     kSettlementAgentCommand,
     kSagentTemplate,
     {{101, 3, 2, Kind::Text, "Name", "Ann Agent", "Ann Agent"},
      {200, 3, 3, Kind::Text, "Firm", "Title Co", "Title Co"},
      {107, 3, 4, Kind::Text, "Street", "9 Elm", "9 Elm"},
      {108, 3, 5, Kind::Text, "City", "Tampa", "Tampa"},
      {109, 3, 6, Kind::Text, "ST", "fla", "FL"},
      {110, 3, 7, Kind::Text, "Zip", "33601", "33601"},
      {118, 3, 16, Kind::Text, "TAX", "59-1", "59-1"}},
     true},
    {"property",
     kPropertyCommand,
     kPropertyTemplate,
     {{107, 4, 2, Kind::Text, "Street", "9 Elm", "9 Elm"},
      {108, 4, 3, Kind::Text, "City", "Tampa", "Tampa"},
      {109, 4, 4, Kind::Text, "ST", "fl", "FL"},
      {110, 4, 5, Kind::Text, "Zip", "33601", "33601"},
      {201, 4, 7, Kind::Text, "County", "Pasco", "Pasco"},
      {111, 4, 9, Kind::Text, "PID", "A-1", "A-1"},
      {301, 4, 8, Kind::Double, "2001", "1999", "1999"},
      {180, 4, 6, Kind::Text, "Legal", "Lot 9", "Lot 9"}},
     true},
    {"schedule A",
     kScheduleACommand,
     kScheduleATemplate,
     {{101, 11, 2, Kind::Text, "CN", "C-9", "C-9"},
      {102, 11, 3, Kind::Long, "731230", "7/4/05", "732131"},
      {103, 11, 4, Kind::Text, "CT", "noon", "noon"},
      {104, 11, 5, Kind::Text, "ON", "O-9", "O-9"},
      {105, 11, 6, Kind::Long, "731262", "7/4/05", "732131"},
      {106, 11, 7, Kind::Text, "OT", "1 pm", "1 pm"},
      {107, 9, 30, Kind::Double, "100", "250.5", "250.5"},
      {108, 11, 8, Kind::Long, "731291", "7/4/05", "732131"},
      {109, 11, 9, Kind::Long, "11", "99", "99"},
      {110, 11, 10, Kind::Long, "12", "98", "98"},
      {111, 11, 11, Kind::Text, "LN", "L-9", "L-9"},
      {112, 11, 12, Kind::Long, "731323", "7/4/05", "732131"},
      {113, 11, 13, Kind::Text, "LT", "2 pm", "2 pm"},
      {114, 9, 28, Kind::Double, "200", "375.25", "375.25"},
      {115, 11, 14, Kind::Long, "731354", "7/4/05", "732131"},
      {116, 11, 15, Kind::Long, "13", "97", "97"},
      {117, 11, 16, Kind::Long, "14", "96", "96"}},
     true},
    {"tracking",
     kFileTrackingCommand,
     kTrackingTemplate,
     {{301, 3, 17, Kind::Long, "731733", "7/4/05", "732131"},
      {302, 3, 18, Kind::Long, "731734", "7/4/05", "732131"},
      {303, 3, 19, Kind::Long, "731735", "7/4/05", "732131"},
      {304, 3, 20, Kind::Long, "731736", "7/4/05", "732131"},
      {306, 3, 21, Kind::Long, "731737", "7/4/05", "732131"},
      {307, 3, 22, Kind::Long, "731738", "7/4/05", "732131"},
      {310, 3, 23, Kind::Text, "R", "abc", "ABC"}},
     false},
};

class TypedPairingTest : public ClosingFileTest {
 protected:
  void PutBefore(const DialogCase& c, const std::string& number) {
    for (int table : {3, 4, 9, 11}) {
      std::vector<std::pair<int, std::string>> texts;
      std::vector<std::pair<int, LONG>> longs;
      std::vector<std::pair<int, double>> doubles;
      for (const Pair& p : c.pairs) {
        if (p.table != table) continue;
        if (p.kind == Kind::Text) texts.emplace_back(p.field, p.before);
        if (p.kind == Kind::Long) longs.emplace_back(p.field, std::stol(p.before));
        if (p.kind == Kind::Double) doubles.emplace_back(p.field, std::stod(p.before));
      }
      if (!texts.empty() || !longs.empty() || !doubles.empty())
        PutValues(table, number, texts, longs, doubles);
    }
  }
  std::string Stored(const Pair& p, const std::string& number) {
    if (p.kind == Kind::Text) return TableText(p.table, number, p.field);
    char text[32];
    if (p.kind == Kind::Long)
      std::snprintf(text, sizeof text, "%ld",
                    static_cast<long>(TableLong(p.table, number, p.field)));
    else std::snprintf(text, sizeof text, "%g", TableDouble(p.table, number, p.field));
    return text;
  }
  std::string Expected(const Pair& p, const std::string& value) {
    if (p.kind != Kind::Double) return value;
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::stod(value));
    return text;
  }
};

TEST_F(TypedPairingTest, OneControlChangesItsFieldOnly) {
  // Every tracking row shows, each with a description; with no database directory the
  // settings file is named bare and lives in the root's windows folder.
  std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "%s", "");
  for (const char* key :
       {"TrackDesc2", "TrackDesc3", "TrackDesc4", "TrackDesc6", "TrackDesc7", "TrackDescRef1"})
    ASSERT_TRUE(WritePrivateProfileString("Tracking", key, "Row", "zarnesys.ini"));
  int run = 0;
  for (const DialogCase& c : kCases) {
    for (const Pair& typed : c.pairs) {
      SCOPED_TRACE(std::string(c.name) + " control " + std::to_string(typed.control));
      std::string number = "TP-" + std::to_string(++run);
      PutBefore(c, number);
      RespaWindow* view = OpenFile(number);
      driver.OnDialog(c.templateId, [&](HWND dialog) {
        EXPECT_TRUE(ControlVisible(dialog, typed.control));
        TypeInto(dialog, typed.control, typed.typed);
        // Enter from another one-line edit: the focus leaves the typed box first, as a
        // user's would, and Enter is no new line there.
        FocusControl(dialog, typed.control == c.pairs.front().control ? c.pairs[1].control
                                                                      : c.pairs.front().control);
        PressDialogKey(dialog, VK_RETURN);
      });
      Command(view, c.command);
      EXPECT_EQ(driver.Pending(), 0u);
      if (!c.saves) Save(view);
      for (const Pair& p : c.pairs)
        EXPECT_EQ(Stored(p, number), Expected(p, p.control == typed.control ? p.after : p.before))
            << "control " << p.control;
      CloseFile(view);
    }
  }
}

}  // namespace
