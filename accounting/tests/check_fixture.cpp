/*
** The check tests' fixture.
*/
#include "check_fixture.h"

#include "accounting/check_printout.h"
#include "catalogue/tabgen32.h"
#include "platform/gdi/gdi_print.h"
#include "platform/kernel/paths.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

namespace fs = std::filesystem;

namespace {
std::string RunShell(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

int NumberInName(const fs::path& file) {
  const std::string stem = file.stem().string();
  const size_t dash = stem.rfind('-');
  return dash == std::string::npos ? 0 : std::atoi(stem.c_str() + dash + 1);
}
}  // namespace

void CheckTest::SetUp() {
  DisburseTest::SetUp();
  std::snprintf(gCheckCtlDir, sizeof gCheckCtlDir, "%s", kTestCheckCtlDir);
  ASSERT_TRUE(MakeDirectoryPath(gCheckCtlDir));
  for (short& value : gCheckFormLayout) value = kCheckFormUnset;
  // A form with nothing placed refuses to print: the check number goes at the top.
  gCheckFormLayout[kCheckNumberItem] = 3000;
  gCheckFormLayout[kCheckNumberItem + 1] = 500;
  UsePdfCheckPrinter();
  printers_ = std::make_unique<CommonDialogAnswers>();
}

void CheckTest::TearDown() {
  printers_.reset();
  DisburseTest::TearDown();
}

void CheckTest::MakeCheckCtl(double next) {
  ASSERT_EQ(1, _CreateZarneTable(gDatabase, "CHECKCTL", gCheckCtlDir));
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
  TPXTable table(path, 0);
  ASSERT_TRUE(table.IsOpen());
  TPXRecord record(&table, true);
  record.Clear();
  record.SetDouble(1, next);
  record.SetShort(2, 0);
  ASSERT_TRUE(record.Insert());
}

std::optional<double> CheckTest::StoredNextNumber() {
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
  TPXTable table(path, 0);
  if (!table.IsOpen()) return std::nullopt;
  TPXRecord record(&table, true);
  double value = 0;
  if (!record.First() || !record.Read(0) || !record.GetDouble(1, value)) return std::nullopt;
  return value;
}

std::string CheckTest::CheckCtlHostPath() {
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "CHECKCTL", "DB", sizeof path);
  return HostPathFromWindowsPath(path);
}

std::vector<char> CheckTest::CheckCtlBytes() {
  std::ifstream in(CheckCtlHostPath(), std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::vector<BYTE>> CheckTest::AllRawRecords() {
  std::vector<std::vector<BYTE>> all;
  TPXRecord record(gTables[kAccountTable], true);
  for (bool more = record.First(); more; more = record.Next()) {
    std::vector<BYTE> raw(gTables[kAccountTable]->RecordSize());
    EngineGetRecord(record.Cursor(), ENGINE_NO_LOCK, raw.data(), nullptr);
    all.push_back(raw);
  }
  return all;
}

void CheckTest::UsePdfCheckPrinter(int copies) {
  gCheckPrintData.SetDevNames("winspool", "PDF", "PDF:");
  DEVMODE mode{};
  ASSERT_TRUE(GdiDefaultDevMode("PDF", &mode));
  mode.dmCopies = static_cast<SHORT>(copies);
  mode.dmFields |= DM_COPIES;
  gCheckPrintData.SetDevMode(&mode);
  gCheckPrintData.Copies = 1;
  gCheckPrintData.Flags = 0;
  ClearPrintedPdfs();
}

std::vector<std::string> CheckTest::PrintedChecks() {
  std::vector<fs::path> files;
  fs::path dir = GdiPdfOutputDirectory();
  if (fs::exists(dir))
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.path().extension() == ".pdf") files.push_back(entry.path());
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return NumberInName(a) < NumberInName(b); });
  std::vector<std::string> names;
  for (const fs::path& file : files) names.push_back(file.string());
  return names;
}

int CheckTest::PageCount(const std::string& pdf) {
  std::smatch match;
  std::string info = RunShell("pdfinfo '" + pdf + "' 2>/dev/null");
  if (!std::regex_search(info, match, std::regex(R"(Pages:\s+(\d+))"))) return -1;
  return std::stoi(match[1]);
}

std::vector<PdfWord> CheckTest::Words(const std::string& pdf) { return PdfWords(pdf); }

bool CheckTest::TextAt(const std::vector<PdfWord>& words, const std::string& text, double x,
                       double y) {
  return PdfTextAt(words, text, x, y);
}

int CheckTest::CountWord(const std::vector<PdfWord>& words, const std::string& text) {
  return static_cast<int>(
      std::count_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == text; }));
}

void CheckTest::RunPrintChecks(const char* file, long number, LONG date) {
  Driver().OnDialog(20905, [number, date](HWND dialog) {
    SetControlText(dialog, 106, std::to_string(number));
    char text[16] = "";
    FormatShortDate(text, date, sizeof text);
    SetControlText(dialog, 105, text);
    PressButton(dialog, IDOK);
  });
  RunDisburse(file, [](HWND dialog, TDisburse&) { PressButton(dialog, 502); });
}
