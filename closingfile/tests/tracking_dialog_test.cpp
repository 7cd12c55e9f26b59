/*
** The tracking dialog through its command: which rows show, the setup mode, the exact text
** of zarnesys.ini after each sequence of Setup, Save, OK and Cancel, damaged and unwritable
** settings files, and the dates and reference stored in SAGENT.
*/
#include "closingfile/tracking_dialog.h"
#include "closingfile/tests/closing_file_test_support.h"
#include "platform/user/winuser.h"

#include "tableaccess/px_globals.h"

#include <sys/stat.h>

#include <cstdio>

#include <string>
#include <vector>

namespace {

constexpr int kAllControls[] = {201, 301, 202, 402, 302,  203,      403, 303, 204,
                                404, 304, 205, 305, 206,  406,      306, 207, 407,
                                307, 210, 410, 310, IDOK, IDCANCEL, 113};
// 2004-06-01 .. 06-06 in SAGENT 17-22; the closing date 1998-12-31.
const std::vector<std::pair<int, LONG>> kDates = {{17, 731733}, {18, 731734}, {19, 731735},
                                                  {20, 731736}, {21, 731737}, {22, 731738}};

std::vector<int> Visible(HWND dialog) {
  std::vector<int> ids;
  for (int id : kAllControls)
    if (ControlVisible(dialog, id)) ids.push_back(id);
  return ids;
}

class TrackingTest : public ClosingFileTest {
 protected:
  /* The database directory as the program names it: a drive path below the root. */
  void SetUp() override {
    ClosingFileTest::SetUp();
    ASSERT_EQ(mkdir(PathInRoot("drive_c").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(PathInRoot("drive_c/zarnedb").c_str(), 0755), 0);
    std::snprintf(gDatabaseDir, sizeof gDatabaseDir, "C:\\ZARNEDB\\");
  }
  RespaWindow* OpenTracked(const std::string& number, LONG closing = 729754) {
    PutValues(kSagentTable, number, {{23, "REF1"}}, kDates);
    PutValues(kSummary1Table, number, {}, {{2, closing}});
    return OpenFile(number);
  }
  std::string Ini() { return PathInRoot("drive_c/zarnedb/zarnesys.ini"); }
  bool IniExists() {
    struct stat info;
    return stat(Ini().c_str(), &info) == 0;
  }
  void PressSetup(HWND dialog) {
    FocusControl(dialog, kTrackingSetupButtonId);
    PressDialogKey(dialog, VK_SPACE);
  }
};

TEST_F(TrackingTest, WithoutSettingsOnlyFileOpenAndClosingShow) {
  RespaWindow* view = OpenTracked("T-1");
  std::vector<int> visible;
  std::string closing, fileOpen;
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    visible = Visible(dialog);
    closing = ControlTextOf(dialog, 305);
    fileOpen = ControlTextOf(dialog, 301);
    Shot(dialog, "tracking_without_descriptions");
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_EQ(visible, (std::vector<int>{201, 301, 205, 305, IDOK, IDCANCEL, 113}));
  EXPECT_EQ(closing, "12/31/98");
  EXPECT_EQ(fileOpen, "06/01/04");
  EXPECT_FALSE(IniExists());
  Save(view);
  for (auto [field, date] : kDates) EXPECT_EQ(TableLong(kSagentTable, "T-1", field), date) << field;
  EXPECT_EQ(TableText(kSagentTable, "T-1", 23), "REF1");
  EXPECT_EQ(TableLong(kSummary1Table, "T-1", 2), 729754);
}

TEST_F(TrackingTest, SetupSaveCancelAndOkWriteExactlyTheSixKeys) {
  RespaWindow* view = OpenTracked("T-2", 731762);  // 2004-06-30: the year in full
  std::string closing, buttonInSetup, buttonAfter;
  std::vector<int> inSetup, afterSave;
  std::string typedLong;
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    closing = ControlTextOf(dialog, 305);
    PressDialogKey(dialog, 'S', Qt::AltModifier);
    buttonInSetup = ControlTextOf(dialog, kTrackingSetupButtonId);
    inSetup = Visible(dialog);
    TypeInto(dialog, 402, "Appraisal ordered from the bank");  // stops at 21
    typedLong = ControlTextOf(dialog, 402);
    TypeInto(dialog, 404, "Survey");
    TypeInto(dialog, 407, "Title search");
    TypeInto(dialog, 410, "Ref");
    Shot(dialog, "tracking_setup_mode");
    PressDialogKey(dialog, 'S', Qt::AltModifier);  // "&Save"
    buttonAfter = ControlTextOf(dialog, kTrackingSetupButtonId);
    afterSave = Visible(dialog);
    Shot(dialog, "tracking_after_save");
    PressDialogKey(dialog, VK_ESCAPE);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_EQ(closing, "06/30/2004");
  EXPECT_EQ(buttonInSetup, "&Save");
  EXPECT_EQ(inSetup,
            (std::vector<int>{201, 402, 403, 404, 205, 406, 407, 410, IDOK, IDCANCEL, 113}));
  EXPECT_EQ(typedLong, "Appraisal ordered fro");
  EXPECT_EQ(buttonAfter, "Setup");
  EXPECT_EQ(afterSave, (std::vector<int>{201, 301, 202, 302, 204, 304, 205, 305, 207, 307, 210, 310,
                                         IDOK, IDCANCEL, 113}));
  const std::string saved =
      "[Tracking]\r\nTrackDesc2=Appraisal ordered fro\r\nTrackDesc3=\r\nTrackDesc4=Survey\r\n"
      "TrackDesc6=\r\nTrackDesc7=Title search\r\nTrackDescRef1=Ref\r\n";
  EXPECT_EQ(ReadFile(Ini()), saved);

  // Setup, an edit, Cancel: nothing more is written.
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    PressSetup(dialog);
    TypeInto(dialog, 404, "Survey done");
    PressDialogKey(dialog, VK_ESCAPE);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_EQ(ReadFile(Ini()), saved);

  // Setup, edits, OK: all six keys, the reference row's included.
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    PressSetup(dialog);
    TypeInto(dialog, 403, "Docs");
    TypeInto(dialog, 410, "Ref2");
    FocusControl(dialog, IDOK);
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_EQ(
      ReadFile(Ini()),
      "[Tracking]\r\nTrackDesc2=Appraisal ordered fro\r\nTrackDesc3=Docs\r\n"
      "TrackDesc4=Survey\r\nTrackDesc6=\r\nTrackDesc7=Title search\r\nTrackDescRef1=Ref2\r\n");
}

TEST_F(TrackingTest, SetupThenCancelWritesNothing) {
  RespaWindow* view = OpenTracked("T-3");
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    PressDialogKey(dialog, 'S', Qt::AltModifier);
    TypeInto(dialog, 402, "Anything");
    PressDialogKey(dialog, VK_ESCAPE);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_FALSE(IniExists());
}

TEST_F(TrackingTest, EveryRowShowsItsOwnField) {
  WriteFile(Ini(),
            "[Tracking]\r\nTrackDesc2=Two\r\nTrackDesc3=Three\r\nTrackDesc4=Four\r\n"
            "TrackDesc6=Six\r\nTrackDesc7=Seven\r\nTrackDescRef1=Ref\r\n");
  RespaWindow* view = OpenTracked("T-7");
  std::vector<std::string> values, labels;
  std::vector<int> visible;
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    for (int id : {301, 302, 303, 304, 305, 306, 307, 310})
      values.push_back(ControlTextOf(dialog, id));
    for (int id : {202, 203, 204, 206, 207, 210}) labels.push_back(ControlTextOf(dialog, id));
    visible = Visible(dialog);
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_EQ(values, (std::vector<std::string>{"06/01/04", "06/02/04", "06/03/04", "06/04/04",
                                              "12/31/98", "06/05/04", "06/06/04", "REF1"}));
  EXPECT_EQ(labels, (std::vector<std::string>{"Two", "Three", "Four", "Six", "Seven", "Ref"}));
  EXPECT_EQ(visible, (std::vector<int>{201, 301, 202, 302, 203, 303, 204, 304, 205, 305, 206, 306,
                                       207, 307, 210, 310, IDOK, IDCANCEL, 113}));
}

TEST_F(TrackingTest, DatesAndUpperCaseReferenceAreStored) {
  WriteFile(Ini(), "[Tracking]\r\nTrackDesc2=Appraisal\r\nTrackDescRef1=Ref\r\n");
  RespaWindow* view = OpenTracked("T-4");
  AnswerCommand(view, kFileTrackingCommand, kTrackingTemplate, {{302, "7/4/05"}, {310, "abcdefg"}},
                VK_RETURN, 301);
  Save(view);
  EXPECT_EQ(TableLong(kSagentTable, "T-4", 18), 732131);
  EXPECT_EQ(TableText(kSagentTable, "T-4", 23), "ABCDE");
  // The hidden rows' dates go back unchanged.
  for (auto [field, date] : kDates)
    if (field != 18) EXPECT_EQ(TableLong(kSagentTable, "T-4", field), date) << field;
}

TEST_F(TrackingTest, DamagedSettingsFileKeepsEveryOtherLine) {
  std::string value23 = "abcdefghijklmnopqrstuvw";
  std::string head = "[Other]\r\nBin=\x01\x02\xff\xfe\x7f\r\n[Tracking]\r\n";
  std::string rest =
      "TrackDesc3=c3\r\nTrackDesc4=c4\r\n\x01\x02 stray bytes\r\nTrackDesc6=c6\r\n"
      "TrackDesc7=c7\r\nTrackDescRef1=" +
      value23 +
      "\r\n[Tracking]\r\nTrackDesc2=second\r\n"
      "[Last]\r\nKey=no end";
  WriteFile(Ini(), head + "TrackDesc2=" + value23 + std::string(10000, 'x') + "\r\n" + rest);
  RespaWindow* view = OpenTracked("T-5");
  std::vector<std::string> labels;
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    for (int id : {202, 203, 204, 206, 207, 210}) labels.push_back(ControlTextOf(dialog, id));
    PressSetup(dialog);
    PressSetup(dialog);
    PressDialogKey(dialog, VK_ESCAPE);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_EQ(labels, (std::vector<std::string>{value23, "c3", "c4", "c6", "c7", value23}));
  EXPECT_EQ(ReadFile(Ini()), head + "TrackDesc2=" + value23 + "\r\n" + rest);
}

TEST_F(TrackingTest, UnwritableSettingsFileSaysSoOnce) {
  // A directory in the settings file's place cannot be replaced, whoever runs the test.
  ASSERT_EQ(mkdir(Ini().c_str(), 0755), 0);
  RespaWindow* view = OpenTracked("T-6");
  bool stillOpen = false;
  driver.OnDialog(kTrackingTemplate, [&](HWND dialog) {
    PressSetup(dialog);
    TypeInto(dialog, 402, "Appraisal");
    PressSetup(dialog);
    stillOpen = IsWindow(dialog) && ControlTextOf(dialog, 202) == "Appraisal";
    PressDialogKey(dialog, VK_ESCAPE);
  });
  Command(view, kFileTrackingCommand);
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  const MessageBoxRequest& box = Boxes().Shown()[0];
  char path[MAX_PATH];
  TrackingSettingsPath(path, sizeof path);
  EXPECT_EQ(box.text,
            std::string("The tracking descriptions could not be written to ") + path + ".");
  EXPECT_EQ(box.caption, "Zarne Message");
  EXPECT_EQ(box.type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
}

}  // namespace
