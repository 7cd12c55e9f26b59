/*
** The office day's fixture.
*/
#include "acceptance/office_day.h"

#include "acceptance/statement_typing.h"

#include "filenumber/file_windows.h"
#include "grid/tessel_codes.h"
#include "platform/dde/tests/dde_test_support.h"
#include "platform/framework/mdi.h"
#include "platform/framework/scroller.h"
#include "platform/gdi/gdi_print.h"
#include "platform/testing/dialog_driver.h"
#include "platform/testing/other_programs.h"
#include "platform/user/message_queue.h"
#include "platform/user/virtual_keys.h"
#include "platform/user/window_manager.h"
#include "platform/user/winuser.h"
#include "shell/shell_ids.h"
#include "shell/zarne_mdi_client.h"
#include "statement/field_engine.h"
#include "statement/one_controls.h"
#include "statement/respa_window.h"
#include "tableaccess/field_list.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
ProgramPlaces gPlaces;
}  // namespace

bool Holds(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

void OfficeDay::SetUpTestSuite() {
  gPlaces = FreshPlaces();
  setenv("XDG_RUNTIME_DIR", gPlaces.runtime.c_str(), 1);
  fs::create_directories(OutputDir());
}

void OfficeDay::TearDownTestSuite() {
  std::error_code ignored;
  if (std::getenv("OFFICE_KEEP_DAY")) return;
  for (const std::string* place : {&gPlaces.root, &gPlaces.runtime, &gPlaces.home})
    if (!place->empty()) fs::remove_all(*place, ignored);
}

void OfficeDay::SetUp() {
  ZarneAppTest::SetUp();
  // Every step works on the day's root, not on a fresh one of its own.
  setenv("ZARNE_ROOT", gPlaces.root.c_str(), 1);
}

const ProgramPlaces& OfficeDay::Places() { return gPlaces; }

std::string OfficeDay::DayIni() {
  std::ifstream in(gPlaces.root + "/windows/zarne.ini", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string OfficeDay::OutputDir() { return OFFICE_OUTPUT_DIR; }

void OfficeDay::StartOffice() {
  StartApp();
  ASSERT_TRUE(app_->StartedUp()) << ::testing::PrintToString(BoxTexts());
  ASSERT_TRUE(FrameShown());
  Boxes().Clear();
}

RespaWindow* OfficeDay::FrontStatement() {
  TMDIChild* child = Client()->GetActiveMDIChild();
  return child ? dynamic_cast<RespaWindow*>(child->GetClientWindow()) : nullptr;
}

RespaWindow* OfficeDay::StatementOf(const std::string& number) {
  TMDIChild* child = FindFileWindow(Client(), number.c_str());
  return child ? dynamic_cast<RespaWindow*>(child->GetClientWindow()) : nullptr;
}

void OfficeDay::FileMenu(char letter) {
  SetFocus(Frame()->HWindow);
  PressKey('F', Qt::AltModifier);
  PressKey(letter);
  PumpUntilIdle();
}

void OfficeDay::TypeIntoField(RespaWindow* view, int id, const std::string& text) {
  ASSERT_TRUE(TypeIntoStatementField(view, id, text)) << "the click did not reach field " << id;
  PumpUntilIdle();
}

void OfficeDay::ChooseInField(RespaWindow* view, int id, const std::string& entry) {
  std::string why;
  ASSERT_TRUE(ChooseInStatementField(view, id, entry, &why)) << why;
  PumpUntilIdle();
}

std::string OfficeDay::FieldText(RespaWindow* view, int id) {
  char text[256] = "";
  FormatFieldTextById(view, id, text, sizeof text, 0);
  std::string shown = text;
  shown.erase(0, shown.find_first_not_of(' '));
  shown.erase(shown.find_last_not_of(' ') + 1);
  return shown;
}

std::string OfficeDay::ZddeRequest(const std::string& item) {
  std::string output;
  int status = RunWhileServing(
      ZDDE_PROGRAM, {"request", "Zarne", "Current", QString::fromStdString(item)}, &output);
  PumpUntilIdle();
  if (status != 0) return "<refused>";
  if (!output.empty() && output.back() == '\n') output.pop_back();
  return output;
}

int OfficeDay::ZddeExecute(const std::string& command) {
  int status = RunWhileServing(ZDDE_PROGRAM,
                               {"execute", "Zarne", "Current", QString::fromStdString(command)});
  PumpUntilIdle();
  return status;
}

std::vector<std::string> OfficeDay::DdeSession(const std::vector<std::string>& steps) {
  QStringList arguments = {"Zarne", "Current"};
  for (const std::string& step : steps) arguments << QString::fromStdString(step);
  std::string output;
  EXPECT_EQ(RunWhileServing(DDE_SESSION, arguments, &output), 0);
  PumpUntilIdle();
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void OfficeDay::ClickGridRow(HWND grid, int row) {
  SendMessage(grid, TSM_ENSUREVISIBLE, 0, row);
  SendMessage(grid, TSM_SETCURSOR, 0, row);
  RECT cell{};
  SendMessage(grid, TSM_GETCELLRECT, 0, reinterpret_cast<LPARAM>(&cell));
  SendMessage(grid, TSM_SETCURSOR, 0, -2);
  Click(grid, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  ProcessPendingMessages();
}

std::string OfficeDay::TableMoney(int table, const std::string& number, int field) {
  TPXRecord record(gTables[table], true);
  record.SetString(1, number.c_str());
  if (!record.Seek(1, ENGINE_KEY_EQ) || !record.Read(ENGINE_NO_LOCK)) return "<no record>";
  double value = 0;
  if (!record.GetDouble(field, value)) return "<blank>";
  // Formatted here by hand: cents half away from zero, commas between thousands.
  long long cents = static_cast<long long>(value * 100 + (value < 0 ? -0.5 : 0.5));
  bool negative = cents < 0;
  if (negative) cents = -cents;
  std::string whole = std::to_string(cents / 100);
  for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(at, ",");
  char tail[8];
  std::snprintf(tail, sizeof tail, ".%02lld", cents % 100);
  return (negative ? "-" : "") + whole + tail;
}

bool OfficeDay::TableHasFile(int table, const std::string& number) {
  TPXRecord record(gTables[table], true);
  record.SetString(1, number.c_str());
  return record.Seek(1, ENGINE_KEY_EQ);
}

std::vector<std::string> OfficeDay::PdfPages(const std::string& pdf) {
  std::string text = ProgramOutput("pdftotext -layout '" + pdf + "' -");
  std::vector<std::string> pages;
  size_t start = 0;
  for (size_t at; (at = text.find('\f', start)) != std::string::npos; start = at + 1)
    pages.push_back(text.substr(start, at - start));
  if (start < text.size() && text.find_first_not_of("\n ", start) != std::string::npos)
    pages.push_back(text.substr(start));
  return pages;
}

std::string OfficeDay::RenderPage(const std::string& pdf, int page, const std::string& name) {
  std::string base = OutputDir() + "/" + name;
  ProgramOutput("pdftoppm -png -r 80 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                " -singlefile '" + pdf + "' '" + base + "'");
  return base + ".png";
}

std::vector<std::string> OfficeDay::PdfFiles() {
  std::vector<std::string> files;
  fs::path dir = GdiPdfOutputDirectory();
  if (!dir.empty() && fs::exists(dir))
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.path().extension() == ".pdf") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

void OfficeDay::ClearPdfs() {
  for (const std::string& file : PdfFiles()) fs::remove(file);
}
