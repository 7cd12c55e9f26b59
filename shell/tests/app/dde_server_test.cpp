/*
** The DDE server in the running application: real zdde processes (and a client that keeps
** one conversation over several steps) ask for field texts, watch fields, walk the title
** items and poke values into the front statement window of files opened by keys. Expected
** texts are worked out here by hand from the values put in, never by the program's own
** formatters.
*/
#include "zarne_app_fixture.h"

#include "../../../platform/dde/tests/dde_test_support.h"
#include "platform/dde/dde_socket.h"
#include "platform/dde/dde_wire.h"
#include "platform/framework/mdi.h"
#include "platform/framework/scroller.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/message_queue.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/screenshot.h"
#include "platform/user/painting.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "script/field_text.h"
#include "shell/dde_server.h"
#include "shell/dde_server_text.h"
#include "filenumber/file_windows.h"
#include "shell/shell_ids.h"
#include "shell/zarne_frame.h"
#include "shell/zarne_mdi_client.h"
#include "statement/field_advise.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct TitleRow {
  const char* file;
  const char* type;
  double seq;
  const char* policy;
  const char* text;
};

/* Items of the front file D1 of every type and policy, between items of its neighbours
   D0 and D2 in key order. */
const TitleRow kTitleRows[] = {
    {"D0", "2", 1, "B", "D0 exception"},
    {"D1", "1A", 1, "B",
     "Record both one\x0B"
     "second line"},
    {"D1", "1A", 2, "O", "Record owner two"},
    {"D1", "1A", 3, "L", "Record loan three"},
    {"D1", "1A", 4, "B", "Record both four"},
    {"D1", "1B", 1, "O", "Other owner one"},
    {"D1", "1B", 2, "L", "Other loan two"},
    {"D1", "2", 1, "B", "Except both one"},
    {"D1", "2", 2, "L", "Except loan two"},
    {"D2", "1A", 1, "B", "D2 record both"},
    {"D2", "2", 1, "O", "D2 except owner"},
};

class DdeServerAppTest : public ZarneAppTest {
 protected:
  void SetUp() override {
    ZarneAppTest::SetUp();
    char runtime[] = "/tmp/zarne-dde-app-XXXXXX";
    ASSERT_NE(mkdtemp(runtime), nullptr);
    runtime_ = runtime;
    setenv("XDG_RUNTIME_DIR", runtime, 1);
  }
  void TearDown() override {
    ZarneAppTest::TearDown();
    std::string command = "rm -rf '" + runtime_ + "'";
    [[maybe_unused]] int ignored = std::system(command.c_str());
  }

  void Start(const char* ini = nullptr) {
    if (ini) WriteIni(ini);
    StartApp();
    ASSERT_TRUE(app_->StartedUp());
    Boxes().Clear();
  }
  TZarneDecoratedMDIFrame* DdeFrame() { return dynamic_cast<TZarneDecoratedMDIFrame*>(Frame()); }

  RespaWindow* OpenNew(const std::string& number) {
    FileCommandByKeys('N', number);
    TMDIChild* child = FindFileWindow(Client(), number.c_str());
    return child ? dynamic_cast<RespaWindow*>(child->GetClientWindow()) : nullptr;
  }

  static TFieldNode* Field(const char* name) {
    TFieldNode* node = FindFieldByName(&gRespaFieldList, name);
    return node ? node : FindFieldByName(&gOtherFieldList, name);
  }
  static TPXRecord* RecordOf(RespaWindow* view, const char* name) {
    return view->records[Field(name)->tableIndex];
  }
  static void PutText(RespaWindow* view, const char* name, const char* text) {
    RecordOf(view, name)->SetString(Field(name)->fieldNumber, text);
  }
  static void PutDouble(RespaWindow* view, const char* name, double value) {
    RecordOf(view, name)->SetDouble(Field(name)->fieldNumber, value);
  }
  static void PutLong(RespaWindow* view, const char* name, LONG value) {
    RecordOf(view, name)->SetLong(Field(name)->fieldNumber, value);
  }
  static std::string GetText(RespaWindow* view, const char* name) {
    char text[256] = "";
    RecordOf(view, name)->GetString(Field(name)->fieldNumber, text, sizeof text);
    return text;
  }
  static double GetDouble(RespaWindow* view, const char* name) {
    double value = -1;
    RecordOf(view, name)->GetDouble(Field(name)->fieldNumber, value);
    return value;
  }
  static LONG GetLong(RespaWindow* view, const char* name) {
    LONG value = -1;
    RecordOf(view, name)->GetLong(Field(name)->fieldNumber, value);
    return value;
  }
  static LONG Date(int month, int day, int year) {
    LONG date = kBlankDate;
    EncodeDate(date, month, day, year);
    return date;
  }

  int Zdde(const QStringList& arguments, std::string* output = nullptr) {
    int status = RunWhileServing(ZDDE_PROGRAM, arguments, output);
    PumpUntilIdle();
    return status;
  }
  /* zdde's answer to a request: the text, or "<refused>". */
  std::string Request(const char* item) {
    std::string output;
    if (Zdde({"request", "Zarne", "Current", item}, &output) != 0) return "<refused>";
    return output.substr(0, output.size() - 1);  // its newline
  }
  int Poke(const char* item, const std::string& value) {
    return Zdde({"poke", "Zarne", "Current", item, QString::fromStdString(value)});
  }
  std::vector<std::string> Session(const QStringList& steps) {
    std::string output;
    QStringList arguments = {"Zarne", "Current"};
    arguments += steps;
    EXPECT_EQ(RunWhileServing(DDE_SESSION, arguments, &output), 0);
    PumpUntilIdle();
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  void PutTitleRows() {
    for (const TitleRow& row : kTitleRows) {
      TPXRecord record(gTables[kTitleBTable], true);
      record.Clear();
      record.SetString(1, row.file);
      record.SetString(2, row.type);
      record.SetDouble(3, row.seq);
      record.SetString(4, row.text);
      record.SetString(5, row.policy);
      ASSERT_TRUE(record.Post());
    }
  }

  /* Clicks a field of the front window, types the text and leaves it with Tab. */
  void TypeIntoField(RespaWindow* view, const char* name, const std::string& text) {
    TFieldNode* field = FindFieldByName(&gRespaFieldList, name);
    ScrollFieldIntoView(view, field);
    PumpUntilIdle();
    int x = (field->left + field->right) / 2 -
            static_cast<int>(view->Scroller->XPos * view->Scroller->XUnit);
    int y = (field->top + field->bottom) / 2 -
            static_cast<int>(view->Scroller->YPos * view->Scroller->YUnit);
    Click(view->HWindow, x, y);
    PumpUntilIdle();
    ASSERT_EQ(view->currentField, field);
    view->editLine->SetSelection(0, static_cast<UINT>(-1));
    TypeText(text);
    PressKey(VK_TAB);
    PumpUntilIdle();
  }

  std::string runtime_;
};

TEST_F(DdeServerAppTest, RequestsAnswerEveryKindAndFollowTheActiveFile) {
  Start("[HUD1Options]\r\nMaxWindows=2\r\n");
  RespaWindow* first = OpenNew("D1");
  ASSERT_NE(first, nullptr);
  PutText(first, "B1NAME", "Jane Q. Buyer");
  PutText(first, "B1SUFFIX", "a single woman");
  PutText(first, "S1NAME", "Sam Seller");
  PutText(first, "LoanType", "FHA");
  PutDouble(first, "A101", 1234567.5);
  PutDouble(first, "A102", 1000);
  PutLong(first, "PA106DAYS", 17);
  PutDouble(first, "PC700", 0.0625);
  PutLong(first, "CDATE", Date(1, 2, 2005));
  PutText(first, "S1TAXID", "12-3456789");

  EXPECT_EQ(Request("B1NAME"), "Jane Q. Buyer");
  EXPECT_EQ(Request("^B1NAME"), "JANE Q. BUYER");
  EXPECT_EQ(Request("LoanType"), "FHA");
  EXPECT_EQ(Request("A101"), "1,234,567.50");
  EXPECT_EQ(Request("!A102"), "One Thousand  and 00/100 Dollars");
  EXPECT_EQ(Request("PA106DAYS"), "17");
  EXPECT_EQ(Request("PC700"), "0.06250");
  EXPECT_EQ(Request("CDATE"), "01/02/2005");
  EXPECT_EQ(Request("*CDATE"), "January 2, 2005");
  EXPECT_EQ(Request("!CDATE"), "2nd day of January, 2005");
  EXPECT_EQ(Request("^*CDATE"), "JANUARY 2, 2005");
  EXPECT_EQ(Request("S1TAXID"), "12-3456789");  // the other list
  EXPECT_EQ(Request("Buyer"), "Jane Q. Buyer");
  EXPECT_EQ(Request("Grantee"), "Jane Q. Buyer, a single woman");
  EXPECT_EQ(Request("Seller"), "Sam Seller");
  EXPECT_EQ(Request("TitleText"), "");
  EXPECT_EQ(Request("NoSuchField"), "<refused>");

  RespaWindow* second = OpenNew("D2");
  ASSERT_NE(second, nullptr);
  PutText(second, "B1NAME", "Second File Buyer");
  EXPECT_EQ(Request("B1NAME"), "Second File Buyer");
  SendMessage(Client()->HWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Parent->HWindow),
              0);
  PumpUntilIdle();
  EXPECT_EQ(Request("B1NAME"), "Jane Q. Buyer");
}

TEST_F(DdeServerAppTest, AdvisesReachTheWatcherOnceAndFollowActivation) {
  Start("[HUD1Options]\r\nMaxWindows=2\r\n");
  RespaWindow* first = OpenNew("D1");
  ASSERT_NE(first, nullptr);
  PutText(first, "B1NAME", "First Buyer");
  RespaWindow* second = OpenNew("D2");
  ASSERT_NE(second, nullptr);
  TZarneDecoratedMDIFrame* frame = DdeFrame();

  Child watcher(ZDDE_PROGRAM, {"advise", "Zarne", "Current", "B1NAME"});
  ASSERT_TRUE(SpinUntil([&] { return frame->adviseCount == 1; }));
  TypeIntoField(second, "B1NAME", "Typed Buyer");
  ASSERT_TRUE(watcher.WaitForLine("Typed Buyer"));
  SpinUntil([] { return false; }, 300);
  EXPECT_EQ(watcher.Output(), "Typed Buyer\n");  // once

  // A stop for a name never advised leaves the live link as it was.
  HSZ never = DdeCreateStringHandle(frame->ddeInstance, "NeverAdvised", CP_WINANSI);
  EXPECT_NE(TZarneDecoratedMDIFrame::CallBack(XTYP_ADVSTOP, CF_TEXT, frame->ddeConversation,
                                              frame->ddeTopic, never, nullptr, 0, 0),
            nullptr);
  DdeFreeStringHandle(frame->ddeInstance, never);
  EXPECT_EQ(frame->adviseCount, 1);

  SendMessage(Client()->HWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Parent->HWindow),
              0);
  PumpUntilIdle();
  ASSERT_TRUE(watcher.WaitForLine("First Buyer"));
  TypeIntoField(first, "B1NAME", "Retyped Buyer");
  ASSERT_TRUE(watcher.WaitForLine("Retyped Buyer"));
  EXPECT_EQ(watcher.Interrupt(), 0);
  ASSERT_TRUE(SpinUntil([&] { return frame->ddeConversation == nullptr; }));
  EXPECT_EQ(frame->adviseCount, 0);
  EXPECT_TRUE(frame->adviseItems.empty());
}

TEST_F(DdeServerAppTest, TitleWalksFollowTypePolicyAndKeyOrder) {
  Start();
  PutTitleRows();
  ASSERT_NE(OpenNew("D1"), nullptr);
  const char* kinds[][2] = {{"Record", "1A"}, {"Other", "1B"}, {"Except", "2"}};
  const char* policies[][2] = {{"Both", "B"}, {"Owner", "O"}, {"Loan", "L"}, {"All", ""}};
  for (auto& kind : kinds) {
    for (auto& policy : policies) {
      // What the walk must give: the front file's items of the type (and policy) by Seq.
      std::vector<const TitleRow*> rows;
      for (const TitleRow& row : kTitleRows)
        if (std::string(row.file) == "D1" && std::string(row.type) == kind[1] &&
            (policy[1][0] == '\0' || std::string(row.policy) == policy[1]))
          rows.push_back(&row);
      std::sort(rows.begin(), rows.end(), [](auto* a, auto* b) { return a->seq < b->seq; });
      std::vector<std::string> expected;
      QStringList steps = {QString("x:GetFirstTIB%1%2").arg(kind[0], policy[0]), "r:TitleText"};
      expected = {"execute ok", "TitleText=" + std::string(rows.empty() ? "" : rows[0]->text)};
      for (size_t i = 1; i <= rows.size(); ++i) {
        steps += {"x:GetNextTI", "r:TitleText"};
        expected.push_back("execute ok");
        expected.push_back("TitleText=" + std::string(i < rows.size() ? rows[i]->text : ""));
      }
      steps += {"x:GetNextTI", "r:TitleText"};  // past the end it stays ended
      expected.push_back("execute ok");
      expected.push_back("TitleText=");
      EXPECT_EQ(Session(steps), expected) << kind[0] << policy[0];
      EXPECT_EQ(gTitleText[0], '\0');  // emptied with the disconnection
    }
  }
  EXPECT_EQ(Session({"x:GetFirstTIBRecordAll", "x:getnextti", "x:GetFirstTIBRecord"}),
            (std::vector<std::string>{"execute ok", "execute refused", "execute refused"}));
}

TEST_F(DdeServerAppTest, PokesConvertCheckRecalculateAndRepaint) {
  Start();
  RespaWindow* view = OpenNew("D1");
  ASSERT_NE(view, nullptr);

  // A text field takes at most its 60 characters (BUYER.B1NAME is 60 long).
  std::string longText(100 * 1024, 'x');
  for (size_t i = 0; i < longText.size(); ++i) longText[i] = static_cast<char>('a' + i % 26);
  EXPECT_EQ(Poke("B1NAME", longText), 0);
  EXPECT_EQ(GetText(view, "B1NAME"), longText.substr(0, 60));

  // Coded fields: their accepted texts, stored as poked, and nothing else.
  for (const char* code : {"B", "S", "/"}) {
    EXPECT_EQ(Poke("P1201D", code), 0) << code;
    EXPECT_EQ(GetText(view, "P1201D"), code);
  }
  for (const char* refused : {"X", "b", "BS", ""}) EXPECT_EQ(Poke("P1201D", refused), 1) << refused;
  EXPECT_EQ(GetText(view, "P1201D"), "/");
  for (int id : {511, 513, 517, 519, 523, 525}) {  // the other payer columns of 1200
    TFieldNode* node = FindFieldByNumber(&gRespaFieldList, id);
    ASSERT_NE(node, nullptr) << id;
    ASSERT_EQ(FindFieldByName(&gRespaFieldList, node->name), node) << id;
    EXPECT_EQ(Poke(node->name, "S"), 0) << id;
    EXPECT_EQ(Poke(node->name, "s"), 1) << id;
    EXPECT_EQ(GetText(view, node->name), "S") << id;
  }
  for (const char* loan :
       {"Conventional Uninsured", "Conventional Insured", "FHA", "FmHa", "FmHA", "VA", ""}) {
    EXPECT_EQ(Poke("LoanType", loan), 0) << loan;
    EXPECT_EQ(GetText(view, "LoanType"), loan);
  }
  for (const char* refused : {"fha", "Conventional", "VA "})
    EXPECT_EQ(Poke("LoanType", refused), 1);
  // S506 names a display-only text twin (id 329, found first by name) and the coded field
  // of line 506 (id 379): a poke goes to the field the window edits, with its codes.
  ASSERT_EQ(FindFieldByName(&gRespaFieldList, "S506")->fieldId, 329);
  EXPECT_EQ(Poke("S506", "[702]"), 0);
  EXPECT_EQ(Poke("S506", "[703]"), 1);
  EXPECT_EQ(GetText(view, "S506"), "[702]");
  EXPECT_EQ(Poke("S506", ""), 0);
  EXPECT_EQ(GetText(view, "S506"), "");

  // Money: commas removed, rounded once to cents half away from zero, then the totals, by
  // hand: 1,234.565 -> 1234.57; 1.005 -> 1.01 (the double 1.005 lies below the half, so
  // binary rounding gives 1.00); -0.125 -> -0.13. Line 120 of a new file is A101 + A102:
  // 1234.57 + 1.01 = 1235.58, then 1234.57 - 0.13 = 1234.44.
  EXPECT_EQ(Poke("A101", "1,234.565"), 0);
  EXPECT_EQ(Poke("A102", " 1.005 "), 0);
  EXPECT_DOUBLE_EQ(GetDouble(view, "A101"), 1234.57);
  EXPECT_DOUBLE_EQ(GetDouble(view, "A102"), 1.01);
  EXPECT_EQ(Request("A120"), "1,235.58");
  EXPECT_EQ(Poke("A102", "-0.125"), 0);
  EXPECT_DOUBLE_EQ(GetDouble(view, "A102"), -0.13);
  EXPECT_EQ(Request("A120"), "1,234.44");

  // Refused numbers leave what was stored. A double tells every cent apart only below 2^46
  // (70,368,744,177,664; money_poke_limit.py checks the cents on both sides), so the largest
  // amount a money field takes reads back whole and the next cent is refused, as are 24 nines.
  for (const char* refused : {"abc", "", "1..2", "12a", "999999999999999999999999",
                              "70,368,744,177,664", "-70368744177664.00"})
    EXPECT_EQ(Poke("A101", refused), 1) << refused;
  EXPECT_DOUBLE_EQ(GetDouble(view, "A101"), 1234.57);
  EXPECT_EQ(Poke("A104", "-70,368,744,177,663.99"), 0);
  EXPECT_EQ(Request("A104"), "-70,368,744,177,663.99");
  EXPECT_EQ(Poke("A104", ""), 1);
  EXPECT_EQ(Poke("A104", "0"), 0);
  EXPECT_EQ(Poke("PA106DAYS", "1,234"), 0);
  EXPECT_EQ(GetLong(view, "PA106DAYS"), 1234);
  EXPECT_EQ(Poke("PA106DAYS", "2147483647"), 0);
  EXPECT_EQ(Poke("PA106DAYS", "-2147483648"), 0);
  EXPECT_EQ(GetLong(view, "PA106DAYS"), INT32_MIN);
  EXPECT_EQ(Poke("PA106DAYS", "17"), 0);
  for (const char* refused : {"12.5", "2147483648", "-2147483649", "abc", "", "1..2", "1e3"})
    EXPECT_EQ(Poke("PA106DAYS", refused), 1) << refused;
  EXPECT_EQ(GetLong(view, "PA106DAYS"), 17);
  EXPECT_EQ(Poke("PC700", "0.0625"), 0);
  EXPECT_DOUBLE_EQ(GetDouble(view, "PC700"), 0.0625);
  EXPECT_EQ(Poke("PC700", "x"), 1);

  // Dates: a valid one is stored, an invalid one refused.
  EXPECT_EQ(Poke("DDATE", "03/15/2027"), 0);
  EXPECT_EQ(GetLong(view, "DDATE"), Date(3, 15, 2027));
  for (const char* refused : {"02/30/2027", "13/01/2027", "3-15-2027", ""})
    EXPECT_EQ(Poke("DDATE", refused), 1) << refused;
  EXPECT_EQ(GetLong(view, "DDATE"), Date(3, 15, 2027));

  // A TITLEB field of the other list lands in no saved record: refused.
  ASSERT_EQ(Field("Policy")->tableIndex, kTitleBTable);
  EXPECT_EQ(Poke("Policy", "B"), 1);
  EXPECT_EQ(Poke("NoSuchField", "1"), 1);
}

TEST_F(DdeServerAppTest, PokedSettlementDateLeavesTiedDatesWhileTypingMovesThem) {
  Start();
  RespaWindow* view = OpenNew("D1");
  ASSERT_NE(view, nullptr);
  // DB106 (SUMMARY1.15) lies on the settlement date, so a typed move takes it along.
  PutLong(view, "CDATE", Date(4, 20, 2027));
  PutLong(view, "DB106", Date(4, 20, 2027));
  EXPECT_EQ(Poke("CDATE", "05/20/2027"), 0);
  EXPECT_EQ(GetLong(view, "CDATE"), Date(5, 20, 2027));
  EXPECT_EQ(GetLong(view, "DB106"), Date(4, 20, 2027));

  PutLong(view, "DB106", Date(5, 20, 2027));
  TypeIntoField(view, "CDATE", "06/22/2027");
  EXPECT_EQ(GetLong(view, "CDATE"), Date(6, 22, 2027));
  EXPECT_EQ(GetLong(view, "DB106"), Date(6, 22, 2027));
}

/* Records the update rectangle of every paint of the statement window. */
std::vector<RECT> gPaints;
WNDPROC gViewProc = nullptr;
LRESULT CALLBACK RecordPaints(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    RECT rect{};
    if (GetUpdateRect(hwnd, &rect, FALSE)) gPaints.push_back(rect);
  }
  return CallWindowProc(gViewProc, hwnd, message, wParam, lParam);
}

int gAdvises = 0;
void CountAdvise(TFrameWindow*, const char*) { ++gAdvises; }

/* The poked field's script fails with a box: the client has its answer while that box is
   still open, instead of waiting until someone closes it. */
TEST_F(DdeServerAppTest, APokeIsAnsweredWhileItsScriptsErrorBoxIsOpen) {
  std::filesystem::create_directories(ZarneDir());
  std::ofstream(ZarneDir() + "/A101.zbi") << "A102 = 7\nx = 1 / 0\n";
  Start();
  RespaWindow* view = OpenNew("P1");
  ASSERT_NE(view, nullptr);
  QProcess client;
  client.start(ZDDE_PROGRAM, {"poke", "Zarne", "Current", "A101", "5"});
  bool answeredWhileOpen = false;
  Boxes().OnShow([&](const MessageBoxRequest&) {
    answeredWhileOpen = SpinUntil([&] { return client.state() == QProcess::NotRunning; }, 5000);
  });
  ASSERT_TRUE(SpinUntil(
      [&] { return !Boxes().Shown().empty() && client.state() == QProcess::NotRunning; }));
  Boxes().OnShow(nullptr);
  EXPECT_TRUE(answeredWhileOpen);
  EXPECT_EQ(client.exitCode(), 0);  // acknowledged
  EXPECT_DOUBLE_EQ(GetDouble(view, "A101"), 5);
  EXPECT_DOUBLE_EQ(GetDouble(view, "A102"), 7);  // the script ran up to its error
}

TEST_F(DdeServerAppTest, APokeRepaintsWithoutAdviseAndReachesTheTableAtSave) {
  Start();
  RespaWindow* view = OpenNew("D1");
  ASSERT_NE(view, nullptr);
  TFieldNode* field = FindFieldByName(&gRespaFieldList, "B1NAME");
  ScrollFieldIntoView(view, field);
  UpdateWindow(view->HWindow);
  PumpUntilIdle();
  gPaints.clear();
  gViewProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(view->HWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordPaints)));
  SetFieldAdviseSink(CountAdvise);
  gAdvises = 0;

  EXPECT_EQ(Poke("B1NAME", "Poked Buyer"), 0);
  EXPECT_EQ(Poke("A101", "1,234.565"), 0);
  UpdateWindow(view->HWindow);
  PumpUntilIdle();
  SaveWindowScreenshot(Frame()->HWindow, SHELL_OUTPUT_DIR "/dde_poked_statement.png");
  EXPECT_EQ(gAdvises, 0);
  // The edit line standing on the field shows the poked value, not the old one.
  EXPECT_EQ(view->currentField, field);
  EXPECT_EQ(view->editLine->GetWindowText(), "Poked Buyer");
  auto repainted = [&](const TFieldNode* node) {
    int x = (node->left + node->right) / 2 -
            static_cast<int>(view->Scroller->XPos * view->Scroller->XUnit);
    int y = (node->top + node->bottom) / 2 -
            static_cast<int>(view->Scroller->YPos * view->Scroller->YUnit);
    return std::any_of(gPaints.begin(), gPaints.end(), [&](const RECT& r) {
      return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    });
  };
  EXPECT_TRUE(repainted(field));
  // A101 (id 213) and line 401 (id 244) show the same record field on the two sides.
  TFieldNode* partner = FindFieldByNumber(&gRespaFieldList, 244);
  ScrollFieldIntoView(view, partner);
  UpdateWindow(view->HWindow);
  PumpUntilIdle();
  gPaints.clear();
  EXPECT_EQ(Poke("A101", "2,000"), 0);
  UpdateWindow(view->HWindow);
  PumpUntilIdle();
  SetFieldAdviseSink(&TZarneDecoratedMDIFrame::PostFieldAdvise);
  SetWindowLongPtr(view->HWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gViewProc));
  EXPECT_EQ(gAdvises, 0);
  EXPECT_TRUE(IsFieldVisible(view, partner));
  EXPECT_TRUE(repainted(partner));
  ScrollFieldIntoView(view, field);
  ScrollFieldIntoView(view, FindFieldByNumber(&gRespaFieldList, 243));  // line 120, the total
  UpdateWindow(view->HWindow);
  PumpUntilIdle();
  SaveWindowScreenshot(Frame()->HWindow, SHELL_OUTPUT_DIR "/dde_poked_totals.png");

  auto stored = [&](const char* table, const char* number) {
    std::string output;
    RunWhileServing(TABLE_READER, {QString::fromStdString(ZarneDir()), table, "D1", number, "s"},
                    &output);
    return output;
  };
  EXPECT_EQ(stored("BUYER", "2"), "\n");  // not yet: the window's buffer only
  SetFocus(Frame()->HWindow);
  PressKey('F', Qt::AltModifier);
  PressKey('S');
  PumpUntilIdle();
  EXPECT_EQ(stored("BUYER", "2"), "Poked Buyer\n");
}

TEST_F(DdeServerAppTest, APokeUnderTextTheUserTypedLeavesTheTypedTextToCommit) {
  Start();
  RespaWindow* view = OpenNew("D1");
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->currentField, FindFieldByName(&gRespaFieldList, "B1NAME"));
  SetFocus(view->editLine->HWindow);
  TypeText("Typed Buyer");
  PumpUntilIdle();
  EXPECT_EQ(Poke("B1NAME", "Poked Buyer"), 0);
  EXPECT_EQ(GetText(view, "B1NAME"), "Poked Buyer");
  EXPECT_EQ(view->editLine->GetWindowText(), "Typed Buyer");
  PressKey(VK_TAB);
  PumpUntilIdle();
  EXPECT_EQ(GetText(view, "B1NAME"), "Typed Buyer");
}

TEST_F(DdeServerAppTest, TenThousandRequestAndPokePairsKeepMemoryFlat) {
  Start();
  ASSERT_NE(OpenNew("D1"), nullptr);
  EXPECT_EQ(Session({"loop:1000:B1SUFFIX:Warm Up"}), std::vector<std::string>{"loop 0"});
  long before = ResidentKiB(getpid());
  EXPECT_EQ(Session({"loop:10000:B1SUFFIX:Memory Check"}), std::vector<std::string>{"loop 0"});
  long after = ResidentKiB(getpid());
  EXPECT_LT(after - before, 2048) << before << " KiB before, " << after << " after";
}

}  // namespace

TEST_F(DdeServerAppTest, ARegistrationThatFailsIsToldOnceAndTheProgramGoesOn) {
  // A runtime directory below a plain file cannot be made, so no service socket either.
  std::string blocker = runtime_ + "/file";
  WriteHostFile(blocker, "x");
  setenv("XDG_RUNTIME_DIR", blocker.c_str(), 1);
  StartApp();
  EXPECT_TRUE(app_->StartedUp());
  std::vector<MessageBoxRequest> boxes;  // besides the first start's question
  for (const MessageBoxRequest& box : Boxes().Shown())
    if (box.text.find("does not exist") == std::string::npos) boxes.push_back(box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Registration failed.");
  EXPECT_EQ(boxes[0].caption, "ZARNE DDE ERROR");
  EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(boxes[0].owner, Frame()->HWindow);
  EXPECT_TRUE(FrameShown());
  // Without its service the program serves nobody, and its advises go nowhere.
  setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
  EXPECT_EQ(Request("TitleText"), "<refused>");
}

TEST_F(DdeServerAppTest, ClientsServedInsideTheFirstStartQuestionTouchNoTable) {
  // The service starts with the frame, before the tables are open; the first start's
  // question runs a modal loop in which clients are already served.
  std::vector<int> statuses;
  Boxes().OnShow([&](const MessageBoxRequest& box) {
    if (box.text.find("does not exist") == std::string::npos) return;
    EXPECT_EQ(gTables[kBuyerTable], nullptr);
    statuses.push_back(RunWhileServing(ZDDE_PROGRAM, {"request", "Zarne", "Current", "B1NAME"}));
    statuses.push_back(RunWhileServing(ZDDE_PROGRAM, {"poke", "Zarne", "Current", "B1NAME", "x"}));
    statuses.push_back(
        RunWhileServing(ZDDE_PROGRAM, {"execute", "Zarne", "Current", "GetFirstTIBRecordAll"}));
    statuses.push_back(RunWhileServing(ZDDE_PROGRAM, {"execute", "Zarne", "Current", "GetNextTI"}));
  });
  StartApp();
  Boxes().OnShow(nullptr);
  EXPECT_TRUE(app_->StartedUp());
  EXPECT_EQ(statuses, (std::vector<int>{1, 1, 0, 0}));
  EXPECT_EQ(gTitleText[0], '\0');
}

/* A client's malformed traffic (a frame over the size limit, an execute carrying an item
   name) ends that client's conversation, shows no box, and the next client is served. */
TEST_F(DdeServerAppTest, MalformedTrafficEndsThatConversationAloneWithoutABox) {
  Start();
  std::string path;
  for (const dde::ServiceSocket& socket : dde::ListServiceSockets())
    if (socket.service == "Zarne" && socket.pid == getpid()) path = socket.path;
  dde::wire::Message executeWithItem;
  executeWithItem.kind = dde::wire::Kind::Transaction;
  executeWithItem.transaction = 1;
  executeWithItem.type = XTYP_EXECUTE;
  executeWithItem.format = CF_TEXT;
  executeWithItem.hasItem = true;
  executeWithItem.item = "TitleText";
  executeWithItem.data = std::string("GetNextTI", 10);
  for (const std::string& bad :
       {std::string("\xFF\xFF\xFF\xFFgarbage", 11), dde::wire::Encode(executeWithItem)}) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    dde::wire::Message hello;
    hello.kind = dde::wire::Kind::Connect;
    hello.hasService = hello.hasTopic = true;
    hello.service = "Zarne";
    hello.topic = "Current";
    std::string bytes = dde::wire::Encode(hello);
    ASSERT_EQ(send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
    ASSERT_TRUE(SpinUntil([&] { return DdeFrame()->ddeConversation != nullptr; }));
    ASSERT_EQ(send(fd, bad.data(), bad.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bad.size()));
    EXPECT_TRUE(SpinUntil([&] { return DdeFrame()->ddeConversation == nullptr; }));  // ended
    close(fd);
  }
  EXPECT_TRUE(Boxes().Shown().empty());
  EXPECT_EQ(Request("TitleText"), "<refused>");  // no file open, but the next client is served
}

namespace {

/* The coded field 379 shares its name with a text field found first, so its codes are
   held to here on a node of its own. */
TEST(DdePokeText, TheRecordingCodeTakesItsTwoCodesOrNothing) {
  TFieldNode node{};
  node.displayKind = kFieldKindChoice;
  node.fieldId = 379;
  TPokeValue value;
  for (const char* code : {"[701]", "[702]", ""}) {
    EXPECT_TRUE(ConvertPokeText(node, code, &value)) << code;
    EXPECT_EQ(value.text, code);
  }
  for (const char* refused : {"[703]", "701", "[701] "})
    EXPECT_FALSE(ConvertPokeText(node, refused, &value));
  node.fieldId = 380;  // a coded field the server knows no codes of
  EXPECT_FALSE(ConvertPokeText(node, "", &value));
}

}  // namespace
