/*
** Save As and Merge of the statement window. Save As writes the file's thirteen records
** under another number and moves the window there (number, caption and lock); Merge fills
** the blank fields of this file from another one, adds its title items and recalculates.
*/
#include "statement/respa_window.h"
#include "tableaccess/px_transaction.h"

#include "filenumber/file_dlg.h"
#include "filenumber/file_number_ids.h"
#include "filenumber/file_windows.h"
#include "platform/framework/mdi.h"
#include "platform/kernel/format.h"
#include "platform/kernel/string_calls.h"
#include "platform/user/message_box.h"
#include "platform/user/winuser.h"
#include "statement/field_engine.h"
#include "statement/recalculation_seam.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstring>
#include <string>

namespace {

constexpr int kFileNumberField = 1;
constexpr int kNumberSize = 16;
constexpr UINT kOpenElsewhereString = 1193;
constexpr UINT kZarneMessageString = 1023;

/* Runs the file-number dialog in a mode; the chosen number, or empty for Cancel or none.
   The dialog is gone (and any lock of its own with it) when this answers. */
std::string ChooseNumber(RespaWindow* view, long mode, const char* start) {
  lstrcpyn(gFileNumber, start, sizeof gFileNumber);
  int result;
  {
    TFileDlg dialog(view, IDD_FILEDLG);
    dialog.mode = mode;
    result = dialog.Execute();
  }
  if (result != IDOK) return {};
  return gFileNumber;
}

void ShowOpenElsewhere(RespaWindow* view, const std::string& number) {
  TModule* module = view->GetModule();
  std::string format = module->LoadString(kOpenElsewhereString);
  std::string caption = module->LoadString(kZarneMessageString);
  char text[256];
  wsprintf(text, format.c_str(), number.c_str());
  MessageBox(view->HWindow, text, caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

/* Another statement window of this program shows the number. */
bool OpenInAnotherWindow(RespaWindow* view, const std::string& number) {
  TWindow* child = view->Parent;
  auto* client = child ? dynamic_cast<TMDIClient*>(child->Parent) : nullptr;
  if (!client) return false;
  TMDIChild* found = FindFileWindow(client, number.c_str());
  return found && found != child;
}

void FillFromOtherFile(TPXRecord* record, int tableIndex, const char* otherNumber) {
  TPXRecord other(gTables[tableIndex], true);
  other.SetString(kFileNumberField, otherNumber);
  if (!other.Seek(1, ENGINE_KEY_EQ) || !other.Read(ENGINE_NO_LOCK)) return;
  int fieldCount = gTables[tableIndex]->FieldCount();
  for (int field = 2; field <= fieldCount; ++field) record->MergeField(field, other);
}

constexpr int kTitleTypeField = 2;
constexpr int kTitleSeqField = 3;
constexpr int kTitleTypeSize = 3;

/* Whether this file holds a title item with the item's type and sequence. Asked before
   anything of the item is copied: copying its memo writes the record at once. */
bool TitleItemExists(TPXRecord& item, const char* fileNumber) {
  char type[kTitleTypeSize] = "";
  double seq = 0;
  item.GetString(kTitleTypeField, type, sizeof type);
  item.GetDouble(kTitleSeqField, seq);
  TPXRecord probe(gTables[kTitleBTable], true);
  probe.Clear();
  probe.SetString(kFileNumberField, fileNumber);
  probe.SetString(kTitleTypeField, type);
  probe.SetDouble(kTitleSeqField, seq);
  return probe.Seek(0, ENGINE_KEY_EQ);
}

/* Each title item of the other file becomes one of this file with its type and sequence;
   an item whose key this file holds already stays as it is. */
void AddTitleItems(RespaWindow* view, const char* otherNumber) {
  TPXRecord* work = view->records[kTitleBTable];
  if (!work) return;
  TPXTable titles(kSharedTableNames[kTitleBTable], 0);
  if (!titles.IsOpen()) return;
  TPXRecord item(&titles, true);
  item.SetString(kFileNumberField, otherNumber);
  if (!item.Seek(1, ENGINE_KEY_EQ)) return;
  char number[kNumberSize];
  do {
    number[0] = '\0';
    if (!item.Read(ENGINE_NO_LOCK) || !item.GetString(kFileNumberField, number, sizeof number) ||
        std::strcmp(number, otherNumber) != 0)
      break;
    if (TitleItemExists(item, view->fileNumber)) continue;
    work->Clear();
    item.SetString(kFileNumberField, view->fileNumber);
    // The memo's copy writes the new item; the post writes the fields merged after it.
    work->Merge(item);
    // A refused write has had its box: one box, not one for every item after it.
    if (!work->Post()) break;
  } while (item.Next());
  work->Flush();
}

}  // namespace

void RespaWindow::CmFileSaveAs() {
  if (!fileNumber[0] || !records[kBuyerTable]) return;
  CommitFieldEdit(this);
  std::string target = ChooseNumber(this, kFileDlgSaveAs, fileNumber);
  if (target.empty()) return;
  if (target == fileNumber) {
    CmFileSave();
    return;
  }
  if (OpenInAnotherWindow(this, target)) {
    ShowOpenElsewhere(this, target);
    return;
  }
  if (!PostUnderNumber(target.c_str())) return;
  MoveLockTo(target.c_str());
}

/* The thirteen records under the new number in one write: the new file exists whole or not
   at all. */
bool RespaWindow::PostUnderNumber(const char* number) {
  TPXTransaction saveAs;
  bool posted = true;
  for (int index = 0; index < kFileRecordCount && posted; ++index) {
    TPXRecord* record = records[index];
    if (!record) continue;
    record->SetString(kFileNumberField, number);
    posted = record->Post() && record->Flush();
  }
  if (posted && saveAs.Commit()) return true;
  saveAs.Abort();
  // The window stays on its own file; what the table layer refused has been shown.
  for (int index = 0; index < kFileRecordCount; ++index)
    if (records[index]) records[index]->SetString(kFileNumberField, fileNumber);
  return false;
}

/* The new BUYER record is locked before the old one is let go, so neither file is ever
   open to another station while this window still holds it. */
void RespaWindow::MoveLockTo(const char* number) {
  TPXRecord* buyer = records[kBuyerTable];
  bool lockedNew = buyer->Seek(1, ENGINE_KEY_EQ) && buyer->Lock();
  if (locked_) {
    buyer->SetString(kFileNumberField, fileNumber);
    if (buyer->Seek(1, ENGINE_KEY_EQ)) buyer->Unlock();
    buyer->SetString(kFileNumberField, number);
  }
  locked_ = lockedNew;
  lstrcpyn(fileNumber, number, sizeof fileNumber);
  if (Parent) Parent->SetCaption(number);
}

void RespaWindow::CmFileMerge() {
  if (fileNumber[0] && records[kBuyerTable]) {
    CommitFieldEdit(this);
    std::string other = ChooseNumber(this, kFileDlgMerge, "");
    if (!other.empty() && other != fileNumber) {
      // The merged records, title items and totals are stored in one write, or none of them.
      TPXTransaction merge;
      for (int index = 0; index < kFileRecordCount; ++index) {
        if (!records[index]) continue;
        FillFromOtherFile(records[index], index, other.c_str());
        // A refused write has had its box, and the whole merge is then taken back.
        if (records[index]->Post()) records[index]->Flush();
      }
      AddTitleItems(this, other.c_str());
      // The merged lines come with their own figures: every total is worked out again.
      CallRecalcAll(this);
      CmFileSave();
      if (!merge.Commit()) {
        // Refused: its box has been shown and the whole merge taken back. The window keeps
        // the merged records, unsaved, as after a refused write of one of them.
      }
    }
  }
  Invalidate(true);
  PostMessage(WM_BEGINFIELDEDIT);
}
