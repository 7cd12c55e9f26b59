/*
** The posting dialog: the list of one file's deposits, selection by clicks on cells, and
** posting with a locked re-read of each selected deposit.
*/
#include "accounting/post_deposits.h"

#include "accounting/ledger_entry.h"
#include "accounting/ledger_grid.h"
#include "accounting/ledger_refusals.h"
#include "accounting/ledger_rows.h"
#include "accounting/ledger_store.h"
#include "filenumber/file_dlg.h"
#include "filenumber/file_number_ids.h"
#include "grid/tessel_codes.h"
#include "platform/framework/controls.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
enum { kFileNumberText = 101, kDateEdit = 102, kGrid = 200, kPostButton = 319, kFileButton = 105 };
constexpr int kClosingDateField = 2;
}  // namespace

DEFINE_RESPONSE_TABLE1(TPostDeposits, TDialog)
EV_BN_CLICKED(kPostButton, CmPost), EV_BN_CLICKED(kFileButton, CmFileSelect),
    EV_CHILD_NOTIFY(kGrid, TSN_LBUTTONDOWN, EvGridClick), END_RESPONSE_TABLE;

TPostDeposits::TPostDeposits(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module), PostingDate(kBlankDate) {
  FileNumberText = new TStatic(this, kFileNumberText, 24);
  DateEdit = new TWWDate(this, kDateEdit, 11);
  FileNumberText->DisableTransfer();
  DateEdit->DisableTransfer();
}

TPostDeposits::~TPostDeposits() = default;

void TPostDeposits::ShowPostingDate() { DateEdit->Transfer(&PostingDate, tdSetData); }

void TPostDeposits::SetupWindow() {
  TDialog::SetupWindow();
  PostingDate = TodayDate();
  ShowPostingDate();
  DefineLedgerGrid(Grid(), kPostDepositsColumns, kPostDepositsColumnCount);
  SetLedgerGridColors(Grid(), kDepositColors);
  FileNumberText->SetText(FileNumber);
  if (FileNumber[0] != '\0') FillList();
}

void TPostDeposits::FillList() {
  HWND grid = Grid();
  ::SendMessage(grid, TSM_DELETEALLROWS, 0, 0);
  ::SendMessage(grid, TSM_SETCURSOR, 0, -2);
  char file[16] = "";
  FileNumberText->GetText(file, sizeof file);
  if (file[0] == '\0' || gAccountRecord == nullptr) return;

  SetLedgerFileAndType(*gAccountRecord, file, kDepositType);
  for (bool found = gAccountRecord->Seek(2, ENGINE_KEY_EQ); found; found = gAccountRecord->Next()) {
    TLedgerEntry entry;
    if (!gAccountRecord->Read(0) || !ReadLedgerEntry(*gAccountRecord, entry)) break;
    if (std::strcmp(entry.FileNum, file) != 0 || std::strcmp(entry.Type, kDepositType) != 0) break;
    TPostDepositsRow row;
    RowFromEntry(entry, row);
    if (!AppendLedgerRow(HWindow, grid, &row)) break;
  }

  // The proposed date: the statement's closing date (blank when it has none), else today.
  PostingDate = TodayDate();
  if (gTables[kSummary1Table] != nullptr) {
    TPXRecord summary(gTables[kSummary1Table], false);
    summary.SetString(1, file);
    if (summary.Seek(0, ENGINE_KEY_EQ)) {
      LONG closing = kBlankDate;
      PostingDate =
          summary.Read(0) && summary.GetLong(kClosingDateField, closing) ? closing : kBlankDate;
    }
  }
  ShowPostingDate();
}

void TPostDeposits::CmFileSelect() {
  TFileDlg dialog(this, IDD_FILEDLG);
  dialog.mode = kFileDlgPostDeposits;
  FileNumberText->GetText(gFileNumber, 16);
  dialog.SetCaption("File Select");
  if (dialog.Execute() != IDOK) return;
  CopyLedgerText(FileNumber, sizeof FileNumber, gFileNumber);
  FileNumberText->SetText(FileNumber);
  FillList();
}

// A plain click on a data cell flips its row. Shift-clicks are the grid's own: it toggles
// the row itself, and flipping here too would undo it.
void TPostDeposits::EvGridClick() {
  HWND grid = Grid();
  if (::SendMessage(grid, TSM_GETNOTIFYAREA, 0, 0) != TSHT_CELL) return;
  if (GetKeyState(VK_SHIFT) < 0) return;
  const LRESULT row = ::SendMessage(grid, TSM_GETNOTIFYROW, 0, 0);
  const LRESULT selected = ::SendMessage(grid, TSM_ISROWSELECTED, 0, row);
  if (selected < 0) return;
  ::SendMessage(grid, TSM_SELECTROW, selected ? 0 : 1, row);
}

bool TPostDeposits::PostRow(int rowIndex, const TLedgerEntry*& closed, TLedgerEntry& closedEntry) {
  HWND grid = Grid();
  TPostDepositsRow row{};
  ::SendMessage(grid, TSM_SETCURSOR, 0, rowIndex);
  if (::SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row)) != 0)
    return false;
  TLedgerEntry shown;
  EntryFromRow(row, shown);
  if (!SeekLedgerEntry(*gAccountRecord, shown)) return false;
  if (!gAccountRecord->Lock()) return false;
  TLedgerEntry stored;
  if (!gAccountRecord->Read(0) || !ReadLedgerEntry(*gAccountRecord, stored)) {
    gAccountRecord->Unlock();
    return false;
  }
  if (stored.Status == kStatusReconciled || stored.Status == kStatusBalanced) {
    // A closed period must not move.
    gAccountRecord->Unlock();
    if (closed == nullptr) {
      closedEntry = stored;
      closed = &closedEntry;
    }
    return false;
  }
  stored.Date = PostingDate;
  stored.Status = PostingDate == kBlankDate ? kStatusUnposted : kStatusPosted;
  gAccountRecord->SetLong(kAcctStatus, stored.Status);
  gAccountRecord->SetLong(kAcctDate, stored.Date);
  if (!ModifyLockedEntry(*gAccountRecord)) return false;
  RowFromEntry(stored, row);
  ::SendMessage(grid, TSM_SETCURSOR, 0, rowIndex);
  ::SendMessage(grid, TSM_SETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
  ::SendMessage(grid, TSM_SELECTROW, 0, rowIndex);
  return true;
}

void TPostDeposits::CmPost() {
  DateEdit->Transfer(&PostingDate, tdGetData);
  HWND grid = Grid();
  const LRESULT count = ::SendMessage(grid, TSM_GETSELROWCOUNT, 0, 0);
  if (count <= 0 || gAccountRecord == nullptr) return;
  if (PostingDate == kBlankDate) {
    char question[128];
    std::snprintf(question, sizeof question, kUnpostQuestion, static_cast<int>(count));
    if (ShowLedgerMessage(HWindow, question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  }
  // The selection changes as rows are posted: take the rows first.
  std::vector<int> rows;
  for (LRESULT row = ::SendMessage(grid, TSM_GETFIRSTSELROW, 0, 0);
       row >= 0 && static_cast<LRESULT>(rows.size()) < count;
       row = ::SendMessage(grid, TSM_GETNEXTSELROW, 0, row))
    rows.push_back(static_cast<int>(row));
  const TLedgerEntry* closed = nullptr;
  TLedgerEntry closedEntry;
  for (int row : rows) PostRow(row, closed, closedEntry);
  if (closed != nullptr) {
    TLedgerRefusal refusal{'D',
                           closed->Status,
                           TLedgerAction::kModify,
                           "deposit",
                           closed->Status == kStatusReconciled ? "reconciled" : "balanced",
                           "posted"};
    ShowLedgerRefusal(HWindow, refusal);
  }
}
