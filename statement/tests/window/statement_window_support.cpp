/*
** The statement window tests' tables, field lists, frame and files.
*/
#include "statement/tests/window/statement_window_support.h"

#include "tableaccess/tests/support/shared_tables.h"
#include "platform/framework/application.h"
#include "platform/framework/mdi.h"
#include "platform/framework/scroller.h"
#include "platform/kernel/modules.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/message_queue.h"
#include "platform/user/winuser.h"
#include "statement/field_advise.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "statement/recalculation_seam.h"
#include "statement/statement_drawing.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstdio>
#include <cstring>

SeamCalls StatementWindowTest::calls;

namespace {

class TStatementTestApp : public TApplication {
 public:
  TStatementTestApp(int width, int height)
      : TApplication("Zarne"), width_(width), height_(height) {}
  void InitMainWindow() override {
    nCmdShow = SW_HIDE;
    client = new TMDIClient;
    frame = new TDecoratedMDIFrame("Zarne", TResId(), *client);
    frame->Attr.X = 0;
    frame->Attr.Y = 0;
    frame->Attr.W = width_;
    frame->Attr.H = height_;
    SetMainWindow(frame);
  }
  TMDIClient* client = nullptr;
  TDecoratedMDIFrame* frame = nullptr;

 private:
  int width_, height_;
};

TStatementTestApp* gApp = nullptr;

template <class Proc>
Proc Export(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(GetProcAddress(module, name));
}

void LoadFieldLists() {
  HMODULE respa = LoadLibrary("stmlay32.dll");
  ASSERT_NE(respa, nullptr);
  AppendRespaRecords(&gRespaFieldList, Export<GetFieldCountProc>(respa, "GetRespaFieldCount"),
                     Export<GetRespaFieldProc>(respa, "GetRespaField"));
  FreeLibrary(respa);
  HMODULE other = LoadLibrary("auxlay32.dll");
  ASSERT_NE(other, nullptr);
  AppendOtherRecords(&gOtherFieldList, Export<GetFieldCountProc>(other, "GetOtherFieldCount"),
                     Export<GetOtherFieldProc>(other, "GetOtherField"));
  FreeLibrary(other);
}

}  // namespace

void Pump() {
  for (int i = 0; i < 5; ++i) ProcessPendingMessages();
}

void StatementWindowTest::SetUp() {
  GuiTest::SetUp();
  ASSERT_EQ("", OpenFreshSharedTables(Root().c_str()));
  LoadFieldLists();
  MakeStatementDrawingObjects(GetModuleHandle(nullptr));
  calls = SeamCalls();
  gRecalcSeam = TRecalcSeam();
  SetFieldAdviseSink(nullptr);
  ASSERT_TRUE(Boxes().Shown().empty());
}

void StatementWindowTest::TearDown() {
  delete gApp;
  gApp = nullptr;
  frame = nullptr;
  client = nullptr;
  Pump();
  gRecalcSeam = TRecalcSeam();
  SetFieldAdviseSink(nullptr);
  DeleteStatementDrawingObjects();
  ClearFieldList(&gRespaFieldList);
  ClearFieldList(&gOtherFieldList);
  CloseSharedTables();
  GuiTest::TearDown();
}

void StatementWindowTest::MakeFrame(int width, int height) {
  gApp = new TStatementTestApp(width, height);
  gApp->InitInstance();
  gApp->frame->Show(SW_SHOW);
  frame = gApp->frame;
  client = gApp->client;
  Pump();
}

RespaWindow* StatementWindowTest::OpenFile(const std::string& number, bool maximized) {
  if (!client) MakeFrame();
  auto* view = new RespaWindow(client);
  std::snprintf(view->fileNumber, sizeof view->fileNumber, "%s", number.c_str());
  auto* child = new TMDIChild(*client, number.c_str(), view);
  EXPECT_TRUE(child->Create());
  if (maximized) child->Show(SW_SHOWMAXIMIZED);
  Pump();
  return view;
}

void StatementWindowTest::CloseFile(RespaWindow* view) {
  view->SendMessage(WM_COMMAND, 24339);
  Pump();
}

void StatementWindowTest::RecordSeams() {
  gRecalcSeam.RecalcForField = [](RespaWindow*, TFieldNode* field) {
    calls.recalculated.push_back(field->fieldId);
  };
  gRecalcSeam.MoveDates = [](RespaWindow*, LONG from, LONG to) {
    calls.movedDates.emplace_back(from, to);
  };
  gRecalcSeam.FillSettlementDate = [](RespaWindow*, LONG from, LONG to) {
    calls.filledDates.emplace_back(from, to);
  };
  for (TColumnSumProc& sum : gRecalcSeam.ColumnSums) sum = [](RespaWindow*) { ++calls.columnSums; };
  SetFieldAdviseSink(
      [](TFrameWindow*, const char* name) { calls.advised.push_back(name ? name : ""); });
}

TFieldNode* StatementWindowTest::Field(int id) {
  TFieldNode* field = FindFieldByNumber(&gRespaFieldList, id);
  EXPECT_NE(field, nullptr) << id;
  return field;
}

namespace {
bool SeekFile(TPXRecord& record, const std::string& number) {
  record.SetString(1, number.c_str());
  return record.Seek(1, ENGINE_KEY_EQ) && record.Read(ENGINE_NO_LOCK);
}
}  // namespace

bool StatementWindowTest::TableHas(int table, const std::string& number) {
  TPXRecord record(gTables[table], true);
  return SeekFile(record, number);
}

std::string StatementWindowTest::TableText(int table, const std::string& number, int field) {
  TPXRecord record(gTables[table], true);
  char text[512] = "";
  if (SeekFile(record, number)) record.GetString(field, text, sizeof text);
  return text;
}

double StatementWindowTest::TableDouble(int table, const std::string& number, int field) {
  TPXRecord record(gTables[table], true);
  double value = -1;
  if (SeekFile(record, number)) record.GetDouble(field, value);
  return value;
}

LONG StatementWindowTest::TableLong(int table, const std::string& number, int field) {
  TPXRecord record(gTables[table], true);
  LONG value = -1;
  if (SeekFile(record, number)) record.GetLong(field, value);
  return value;
}

void StatementWindowTest::PutRecord(int table, const std::string& number,
                                    const std::vector<std::pair<int, std::string>>& texts) {
  TPXRecord record(gTables[table], true);
  record.Clear();
  record.SetString(1, number.c_str());
  for (const auto& [field, text] : texts) record.SetString(field, text.c_str());
  ASSERT_TRUE(record.Post());
}

std::string StatementWindowTest::EditText(RespaWindow* view) { return view->editLine->GetText(); }
bool StatementWindowTest::EditShown(RespaWindow* view) { return view->editLine->IsWindowVisible(); }
bool StatementWindowTest::ListShown(RespaWindow* view) {
  return view->choiceList->IsWindowVisible();
}

void StatementWindowTest::ClickField(RespaWindow* view, int id) {
  TFieldNode* field = Field(id);
  ScrollFieldIntoView(view, field);
  Pump();
  int x = (field->left + field->right) / 2 -
          static_cast<int>(view->Scroller->XPos * view->Scroller->XUnit);
  int y = (field->top + field->bottom) / 2 -
          static_cast<int>(view->Scroller->YPos * view->Scroller->YUnit);
  Click(view->HWindow, x, y);
  Pump();
}

void StatementWindowTest::EditField(RespaWindow* view, int id) {
  view->currentField = Field(id);
  ScrollFieldIntoView(view, view->currentField);
  view->PostMessage(WM_BEGINFIELDEDIT);
  Pump();
}

void StatementWindowTest::TypeAndTab(RespaWindow* view, const std::string& text) {
  view->editLine->SetSelection(0, static_cast<UINT>(-1));
  TypeText(text);
  PressKey(VK_TAB);
  Pump();
}

std::vector<std::string> StatementWindowTest::BoxTexts() {
  std::vector<std::string> texts;
  for (const MessageBoxRequest& box : Boxes().Shown()) texts.push_back(box.text);
  return texts;
}
