/*
** The statement command tests' printing, settings-file and typing helpers.
*/
#include "statement/tests/commands/statement_commands_support.h"

#include "platform/gdi/gdi_print.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/other_programs.h"
#include "platform/testing/printed_pdfs.h"
#include "platform/testing/synthetic_input.h"
#include "platform/user/winuser.h"
#include "statement/hud1_options.h"
#include "statement/one_controls.h"
#include "statement/recalc_install.h"
#include "tableaccess/printer_settings.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

bool Holds(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

void StatementCommandsTest::SetUp() {
  StatementWindowTest::SetUp();
  InstallRecalculation();
  gHud1Options = {1, 1, 1, 0, 0, 0, 1, 1};
  gStatementPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  ASSERT_TRUE(GdiDefaultDevMode("PDF", &mode));
  gStatementPrintData.SetDevMode(&mode);
  gStatementPrintData.Copies = 1;
  fs::create_directories(OutputDir());
  ClearPdfs();
}

std::string StatementCommandsTest::OutputDir() { return STATEMENT_OUTPUT_DIR; }

void StatementCommandsTest::Type(RespaWindow* view, int id, const std::string& text) {
  EditField(view, id);
  TypeAndTab(view, text);
}

void StatementCommandsTest::TypeOnly(RespaWindow* view, int id, const std::string& text) {
  EditField(view, id);
  view->editLine->SetSelection(0, static_cast<UINT>(-1));
  TypeText(text);
  Pump();
}

std::vector<std::string> StatementCommandsTest::PdfFiles() { return PrintedPdfs(); }

void StatementCommandsTest::ClearPdfs() { RemovePrintedPdfs(); }

std::vector<std::string> StatementCommandsTest::PdfPages(const std::string& pdf) {
  return PdfLayoutPages(pdf);
}

std::vector<std::string> StatementCommandsTest::Print(RespaWindow* view, int copies) {
  ClearPdfs();
  CommonDialogAnswers answers;
  answers.ChoosePrinter("PDF", [copies](PrintDialogAnswer& answer) { answer.copies = copies; });
  view->SendMessage(WM_COMMAND, 24337);
  Pump();
  std::vector<std::string> pages;
  for (const std::string& file : PdfFiles())
    for (std::string& page : PdfPages(file)) pages.push_back(page);
  return pages;
}

std::string StatementCommandsTest::RenderPage(const std::string& pdf, int page,
                                              const std::string& name) {
  std::string base = OutputDir() + "/" + name;
  ProgramOutput("pdftoppm -png -r 100 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                " -singlefile '" + pdf + "' '" + base + "'");
  return base + ".png";
}

std::string StatementCommandsTest::IniPath() const { return Root() + "/windows/zarne.ini"; }

std::string StatementCommandsTest::IniText() const {
  std::ifstream in(IniPath(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void StatementCommandsTest::WriteIni(const std::string& text) const {
  fs::create_directories(fs::path(IniPath()).parent_path());
  std::ofstream out(IniPath(), std::ios::binary);
  out << text;
}

std::vector<std::string> StatementCommandsTest::IniSection(const std::string& section) const {
  std::vector<std::string> keys;
  std::istringstream in(IniText());
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inside = line == "[" + section + "]";
      continue;
    }
    if (inside && !line.empty()) keys.push_back(line);
  }
  return keys;
}
