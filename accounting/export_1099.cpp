/*
** The 1099 export dialog: the selection controls, browsing for the file, and the export.
** Everything that can refuse is checked before the file is opened, so a refusal leaves an
** earlier export of the same name as it was.
*/
#include "accounting/export_1099.h"

#include "accounting/export_1099_line.h"
#include "accounting/range_report.h"
#include "platform/framework/controls.h"
#include "platform/framework/edit.h"
#include "platform/framework/file_dialogs.h"
#include "platform/kernel/files.h"
#include "platform/kernel/path_split.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/resources.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"
#include "tableaccess/ww_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

bool gFailExportQueryForTest = false;

namespace {

enum {
  kByYear = 294,
  kYear = 397,
  kByDate = 400,
  kFirstDate = 401,
  kLastDate = 402,
  kDateThrough = 1001,
  kByFile = 300,
  kFirstFile = 301,
  kLastFile = 302,
  kFileThrough = 1002,
  kFileName = 496,
  kBrowse = 625
};
constexpr UINT kExportFilterString = 32554;

constexpr const char kByDatesQuery[] =
    "SUMMARY1.DB | FileNum | CDATE |\r\n            | Check   | >= %s, <= %s |\r\n";
constexpr const char kByFilesQuery[] =
    "SUMMARY1.DB | FileNum |\r\n            | Check >= \"%s\", <= \"%s\" |\r\n";

std::string Format(const char* pattern, const std::string& first, const std::string& last) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, first.c_str(), last.c_str());
  return text;
}

}  // namespace

DEFINE_RESPONSE_TABLE1(TExport1099, TDialog)
EV_COMMAND(IDOK, CmOk), EV_BN_CLICKED(kByDate, CmSelectByDate),
    EV_BN_CLICKED(kByFile, CmSelectByFile), EV_BN_CLICKED(kByYear, CmSelectByYear),
    EV_BN_CLICKED(kBrowse, CmBrowse), END_RESPONSE_TABLE;

TExport1099::TExport1099(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  ByYear = new TRadioButton(this, kByYear);
  Year = new TWWInteger(this, kYear, 5);
  ByDate = new TRadioButton(this, kByDate);
  FirstDate = new TWWDate(this, kFirstDate, 12);
  LastDate = new TWWDate(this, kLastDate, 12);
  DateThrough = new TStatic(this, kDateThrough);
  ByFile = new TRadioButton(this, kByFile);
  FirstFile = new TEdit(this, kFirstFile, 16);
  LastFile = new TEdit(this, kLastFile, 16);
  FileThrough = new TStatic(this, kFileThrough);
  FileName = new TEdit(this, kFileName, 260);
}

void TExport1099::SetupWindow() {
  TDialog::SetupWindow();
  ByYear->Check();
  EnableSelection(true, false, false);
  char path[MAX_PATH];
  BuildPath(path, gDatabaseDir, "Tax1099", "txt", sizeof path);
  FileName->SetText(path);
}

void TExport1099::EnableSelection(bool year, bool dates, bool files) {
  Year->EnableWindow(year);
  FirstDate->EnableWindow(dates);
  LastDate->EnableWindow(dates);
  DateThrough->EnableWindow(dates);
  FirstFile->EnableWindow(files);
  LastFile->EnableWindow(files);
  FileThrough->EnableWindow(files);
}

void TExport1099::CmSelectByYear() { EnableSelection(true, false, false); }
void TExport1099::CmSelectByDate() { EnableSelection(false, true, false); }
void TExport1099::CmSelectByFile() { EnableSelection(false, false, true); }

void TExport1099::CmBrowse() {
  std::string filter = GetModule() ? GetModule()->LoadString(kExportFilterString) : std::string();
  TOpenSaveDialog::TData data(OFN_PATHMUSTEXIST | OFN_HIDEREADONLY, nullptr, nullptr, gDatabaseDir,
                              nullptr, MAX_PATH);
  data.SetFilter(filter.c_str());
  TFileOpenDialog dialog(this, data, nullptr, "1099 Export File");
  if (dialog.Execute() == IDOK) FileName->SetText(data.FileName);
}

std::string TExport1099::ExportPath() {
  char path[512] = "";
  FileName->GetText(path, sizeof path);
  char drive[MAXDRIVE] = "", dir[MAXDIR] = "", name[MAXFILE] = "", ext[MAXEXT] = "";
  _splitpath(path, drive, dir, name, ext);
  if (name[0] == '\0') {
    MessageBox("Not a valid file name.", nullptr, MB_OK);
    return std::string();
  }
  if (dir[0] != '\0') {
    std::string directory = std::string(drive) + dir;
    DWORD attributes = GetFileAttributes(directory.c_str());
    bool exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!exists && !EnsureDirectory(directory.c_str())) return std::string();
  }
  return path;
}

std::string TExport1099::YearQuery() {
  char text[16] = "";
  Year->GetText(text, sizeof text);
  size_t length = std::strlen(text);
  if (length != 2 && length != 4) {
    MessageBox("Two or four digit year required.", nullptr, MB_OK);
    return std::string();
  }
  long year = std::strtol(text, nullptr, 10);
  if (!((year >= 0 && year <= 99) || (year >= 1991 && year <= 2090))) {
    MessageBox("Year must be in range of 1991 - 2090 or 91 - 90.", nullptr, MB_OK);
    return std::string();
  }
  if (year >= 91 && year <= 99) year += 1900;
  else if (year <= 90) year += 2000;
  char first[16], last[16];
  std::snprintf(first, sizeof first, "1/1/%ld", year);
  std::snprintf(last, sizeof last, "12/31/%ld", year);
  return Format(kByDatesQuery, first, last);
}

std::string TExport1099::DateQuery() {
  LONG first = kBlankDate, last = kBlankDate;
  FirstDate->Transfer(&first, tdGetData);
  LastDate->Transfer(&last, tdGetData);
  if (first == kBlankDate || last == kBlankDate || last < first) {
    MessageBox("Invalid date(s)", nullptr, MB_OK);
    return std::string();
  }
  auto bound = [](LONG date) {
    int month = 0, day = 0, year = 0;
    DecodeDate(date, month, day, year);
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year);
    return std::string(text);
  };
  return Format(kByDatesQuery, bound(first), bound(last));
}

std::string TExport1099::FileQuery() {
  char first[16] = "", last[16] = "";
  FirstFile->GetText(first, sizeof first);
  LastFile->GetText(last, sizeof last);
  // A quote would end the query's literal early; an empty bound selects by nothing.
  if (!first[0] || !last[0] || std::strchr(first, '"') || std::strchr(last, '"')) {
    MessageBox("Invalid file number(s)", nullptr, MB_OK);
    return std::string();
  }
  std::string from = first, to = last;
  if (CompareFileNumbers(first, last) > 0) {
    if (MessageBox("File range is reversed.  Switch first and last?", "", MB_YESNO) == IDNO)
      return std::string();
    std::swap(from, to);
  }
  return Format(kByFilesQuery, from, to);
}

std::string TExport1099::SelectionQuery() {
  if (ByYear->GetCheck() == BST_CHECKED) return YearQuery();
  if (ByDate->GetCheck() == BST_CHECKED) return DateQuery();
  if (ByFile->GetCheck() == BST_CHECKED) return FileQuery();
  return std::string();
}

bool TExport1099::WriteLines(TPXTable& answer, TWWFile& file, const char* path) {
  TPXRecord row(&answer, false);
  TPXRecord summary(gTables[kSummary1Table], true), seller(gTables[kSellerTable], true),
      agent(gTables[kSagentTable], true), property(gTables[kPropertyTable], true);
  const TExportRecords records{&summary, &seller, &agent, &property};
  for (bool more = row.First(); more; more = row.Next()) {
    char fileNumber[16] = "";
    if (!row.Read(0) || !row.GetString(1, fileNumber, sizeof fileNumber)) break;
    if (!ReadExportRecords(records, fileNumber)) break;
    const std::string line = FormatExportLine(records, fileNumber);
    if (file.Write(line.data(), static_cast<UINT>(line.size())) != static_cast<long>(line.size())) {
      char text[600];
      std::snprintf(text, sizeof text, "Could not write file %s.", path);
      MessageBox(text, nullptr, MB_OK | MB_ICONSTOP);
      return false;
    }
  }
  return true;
}

void TExport1099::CmOk() {
  const std::string path = ExportPath();
  if (path.empty()) return;
  const std::string query = SelectionQuery();
  if (query.empty()) return;
  TPXTable* summaries = gTables[kSummary1Table];
  std::unique_ptr<TPXTable> answer(gFailExportQueryForTest || summaries == nullptr
                                       ? nullptr
                                       : summaries->QueryQBE(query.c_str()));
  if (!answer) return;  // the engine's box has been shown
  TWWFile file;
  if (!file.Open(path.c_str(), OF_READWRITE | OF_CREATE)) return;
  const bool written = WriteLines(*answer, file, path.c_str());
  file.Close();
  if (written) TDialog::CmOk();
}
