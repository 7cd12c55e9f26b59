/*
** Auto Create: bundle scripts run step by step over the statement window's own file, each
** step that leaves a positive amount in whole cents adding one Ready check or one Unposted
** deposit, written as if typed.
*/
#include "accounting/disburse.h"

#include "accounting/bundle_steps.h"
#include "accounting/ledger_grid.h"
#include "platform/framework/file_dialogs.h"
#include "platform/kernel/resources.h"
#include "platform/user/winuser.h"
#include "script/script_globals.h"
#include "script/zbasic.h"
#include "statement/respa_window.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"
#include "tableaccess/ww_file.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {
enum { kDepositGrid = 200, kCheckGrid = 300 };
// Room for many names of one multiple choice; the default path size holds only a few.
constexpr int kBundleNameBufferSize = 8192;
constexpr char kTooManyFiles[] = "Too many files were chosen at once.";

/* The chosen names: a directory and the names in it, or one full path. */
std::vector<std::string> ChosenPaths(const char* buffer, int size) {
  std::vector<std::string> names;
  for (int at = 0; at < size && buffer[at] != '\0';) {
    names.emplace_back(buffer + at);
    at += static_cast<int>(names.back().size()) + 1;
  }
  if (names.size() <= 1) return names;
  std::vector<std::string> paths;
  std::string directory = names.front();
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  for (size_t i = 1; i < names.size(); ++i) paths.push_back(directory + names[i]);
  return paths;
}

/* The file's text with two terminating zeros; empty when it cannot be read (the file
   wrapper has said so). A missing file is not created by reading it. */
bool ReadBundleText(const std::string& path, std::vector<char>& text) {
  text.clear();
  TWWFile file;
  if (!file.Exists(path.c_str())) {
    MessageBox(GetFocus(), "Could not open file.", "TWWFile Error", MB_ICONSTOP | MB_OK);
    return true;
  }
  if (!file.Open(path.c_str(), 0)) return true;
  const long size = file.Size();
  if (size < 0) return true;
  try {
    text.assign(static_cast<size_t>(size) + 2, '\0');
  } catch (const std::bad_alloc&) { return false; }
  const long read = file.Read(text.data(), static_cast<UINT>(size));
  if (read < 0) text.assign(2, '\0');
  file.Close();
  return true;
}

}  // namespace

void TDisburse::CmAutoCreate() {
  if (BankKey < 0) SelectBankAccount();
  if (BankKey >= 0) CmRunBundles();
}

void TDisburse::CmRunBundles() {
  struct EndOfRun {
    TDisburse* self;
    ~EndOfRun() {
      self->UpdateBalance();
      self->ResetBankWhenEmpty();
    }
  };
  // The interpreter would read one file's statement and write entries to another.
  if (!ForStatementFile()) return;
  EndOfRun endOfRun{this};

  char filter[128];
  LoadString(nullptr, kBundleFilterText, filter, sizeof filter);
  TOpenSaveDialog::TData data(OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST |
                                  OFN_FILEMUSTEXIST | OFN_SHAREAWARE,
                              filter, nullptr, gDatabaseDir, nullptr, kBundleNameBufferSize);
  TFileOpenDialog dialog(this, data);
  if (dialog.Execute() != IDOK) {
    if (data.Error == FNERR_BUFFERTOOSMALL)
      ShowLedgerMessage(HWindow, kTooManyFiles, MB_OK | MB_ICONEXCLAMATION);
    return;
  }

  TBundleOutputs out;
  if (!FindBundleOutputs(&out)) {
    ShowLedgerString(HWindow, kGlobalNotFoundText, MB_OK | MB_ICONSTOP);
    return;
  }

  TZBasic interpreter(StatementWindow);
  for (const std::string& path : ChosenPaths(data.FileName, data.MaxPath)) {
    std::vector<char> text;
    if (!ReadBundleText(path, text)) {
      ShowNoMemory();
      return;
    }
    if (text.empty()) continue;
    RunBundleSteps(interpreter, text.data(), out,
                   [&](const TBundleEntry& step) { AddBundleEntry(step); });
  }
}

/* One step's entry, written as if typed: a new key, the dialog's account, Ready or Unposted. */
void TDisburse::AddBundleEntry(const TBundleEntry& step) {
  TLedgerEntry entry;
  CopyLedgerText(entry.FileNum, sizeof entry.FileNum, FileNumber);
  CopyLedgerText(entry.Type, sizeof entry.Type, step.deposit ? kDepositType : kCheckType);
  entry.Seq = MakeTimeKey();
  entry.Bank = BankKey;
  entry.Status = step.deposit ? kStatusUnposted : kStatusReady;
  CopyLedgerText(entry.PayeeDepositor, sizeof entry.PayeeDepositor, step.payee.c_str());
  CopyLedgerText(entry.Description, sizeof entry.Description, step.description.c_str());
  entry.Amount = step.cents.ToDouble();
  if (step.deposit) {
    TDisburseDepositRow row;
    RowFromEntry(entry, row);
    if (WriteDepositRecord(row)) AppendLedgerRow(HWindow, Grid(kDepositGrid), &row);
  } else {
    TDisburseCheckRow row;
    RowFromEntry(entry, row);
    if (WriteCheckRecord(row)) AppendLedgerRow(HWindow, Grid(kCheckGrid), &row);
  }
}
