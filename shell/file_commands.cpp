/*
** File New, Open and Delete: the file-number dialog, then the file's window brought up or
** opened, or the file's records removed from every table.
*/
#include "shell/zarne_mdi_client.h"

#include "filenumber/file_dlg.h"
#include "filenumber/file_windows.h"
#include "platform/kernel/format.h"
#include "platform/kernel/string_calls.h"
#include "shell/shell_ids.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <cstring>
#include <memory>

namespace {

constexpr int kFileNumberField = 1;
constexpr int kAccountStatusField = 6;
constexpr short kStatusReady = 0;
constexpr short kStatusEscrow = 1;
constexpr short kStatusUnposted = 3;

/* Runs the dialog in the mode; answers whether a number was accepted. The dialog (and the
   lock it may hold) lives as long as the answer. An empty number counts as Cancel. */
std::unique_ptr<TFileDlg> PickFileNumber(TWindow* parent, int mode) {
  auto dialog = std::make_unique<TFileDlg>(parent, IDD_FILEDLG);
  dialog->mode = mode;
  if (dialog->Execute() != IDOK || gFileNumber[0] == '\0') return nullptr;
  return dialog;
}

bool Ask(TWindow* owner, const char* text) {
  return MessageBox(owner->HWindow, text, "", MB_YESNO) == IDYES;
}

/* The ledger entries of the file whose status the answers name. */
void DeleteLedgerEntries(const char* fileNumber, bool ready, bool escrow, bool unposted) {
  TPXRecord record(gTables[kAccountTable], true);
  record.SetString(kFileNumberField, fileNumber);
  bool positioned = record.Seek(1, 0);
  char number[sizeof gFileNumber + 1];
  while (positioned) {
    if (!record.Read(0)) break;
    number[0] = '\0';
    record.GetString(kFileNumberField, number, sizeof number);
    if (std::strcmp(number, fileNumber) != 0) break;
    SHORT status = -1;
    record.GetShort(kAccountStatusField, status);
    bool remove = (status == kStatusReady && ready) || (status == kStatusEscrow && escrow) ||
                  (status == kStatusUnposted && unposted);
    // The next step reaches the entry after it; a refused delete has had its box and the
    // walk goes on all the same.
    if (remove) (void)record.Delete();
    positioned = record.Next();
  }
}

/* The file's one record in each of BUYER to EXTRA, and all its title items. Seeks are
   exact, so a missing record never takes a neighbour with it. */
void DeleteFileRecords(const char* fileNumber) {
  for (int table = kBuyerTable; table <= kExtraTable; ++table) {  // one record per file
    TPXRecord record(gTables[table], true);
    record.SetString(kFileNumberField, fileNumber);
    // A refused delete has had its box; the file's other tables are cleared all the same.
    if (record.Seek(1, 0)) (void)record.Delete();
  }
  TPXRecord item(gTables[kTitleBTable], true);
  for (;;) {
    item.SetString(kFileNumberField, fileNumber);
    if (!item.Seek(1, 0) || !item.Delete()) break;
  }
}

}  // namespace

void ZarneMDIClient::PickAndOpen(int mode) {
  {
    // The dialog's lock goes with the dialog, before the window takes its own.
    if (!PickFileNumber(this, mode)) return;
  }
  if (TMDIChild* child = FindFileWindow(this, gFileNumber)) {
    SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->HWindow), 0);
    return;
  }
  OpenFileWindow(this, gFileNumber);
}

void ZarneMDIClient::CmFileNew() { PickAndOpen(kFileDlgNew); }
void ZarneMDIClient::CmFileOpen() { PickAndOpen(kFileDlgOpen); }

void ZarneMDIClient::CmFileDelete() {
  // The dialog's lock keeps other stations off the file until its records are gone.
  std::unique_ptr<TFileDlg> dialog = PickFileNumber(this, kFileDlgDelete);
  if (!dialog) return;
  char fileNumber[sizeof gFileNumber];
  lstrcpyn(fileNumber, gFileNumber, sizeof fileNumber);
  char question[80];
  wsprintf(question, "Are you sure you want to delete file number [%s]", fileNumber);
  if (!Ask(this, question)) return;
  bool ready = Ask(this, "Do you want to delete unprinted/ready checks?");
  bool escrow = Ask(this, "Do you want to delete unprinted/escrow checks?");
  bool unposted = Ask(this, "Do you want to delete unposted deposits?");
  DeleteLedgerEntries(fileNumber, ready, escrow, unposted);
  if (TMDIChild* child = FindFileWindow(this, fileNumber)) {
    // Closed the ordinary way: the view saves, unlocks and frees its records first.
    child->CloseWindow();
  }
  DeleteFileRecords(fileNumber);
}
