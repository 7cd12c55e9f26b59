/*
** The disbursing dialog: set-up, the fills of both grids, the bank account, the balance and
** its colours, the file number and the two printouts. The changes to entries are in
** disburse_entries.cpp, the bundles in disburse_bundles.cpp.
*/
#include "accounting/disburse.h"

#include "accounting/account_transfers.h"
#include "accounting/bank_select.h"
#include "accounting/ledger_cents.h"
#include "accounting/ledger_grid.h"
#include "accounting/ledger_transfers.h"
#include "accounting/report_commands.h"
#include "filenumber/file_dlg.h"
#include "filenumber/file_number_ids.h"
#include "grid/tessel_codes.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/resources.h"
#include "platform/user/winuser.h"
#include "statement/respa_window.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
enum {
  kDepositGrid = 200,
  kCheckGrid = 300,
  kFileNumberText = 104,
  kBalanceText = 103,
  kBankName = 432,
  kAutoCreate = 501,
  kPrintChecks = 502
};
constexpr COLORREF kDarkRed = RGB(128, 0, 0);
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr UINT kCtlColorStatic = 6;
constexpr int kDepositAmountColumn = 1;
constexpr int kCheckAmountColumn = 2;

/* The grid paints once after a fill, not after every row. */
class TDeferredGridPaint {
 public:
  explicit TDeferredGridPaint(HWND grid) : grid_(grid) {
    ::SendMessage(grid_, WM_SETREDRAW, FALSE, 0);
  }
  ~TDeferredGridPaint() {
    ::SendMessage(grid_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(grid_, nullptr, TRUE);
  }
  TDeferredGridPaint(const TDeferredGridPaint&) = delete;
  TDeferredGridPaint& operator=(const TDeferredGridPaint&) = delete;

 private:
  HWND grid_;
};

/* The sum in cents of a grid's amount column, as its rows show the amounts. */
int64_t ColumnCents(HWND grid, int column) {
  const LRESULT rows = ::SendMessage(grid, TSM_GETROWCOUNT, 0, 0);
  if (rows <= 0) return 0;
  std::vector<double> amounts(static_cast<size_t>(rows));
  ::SendMessage(grid, TSM_SETCURSOR, column, 0);
  if (::SendMessage(grid, TSM_GETCOLDATA, TSREF_CURSOR, reinterpret_cast<LPARAM>(amounts.data())) !=
      0)
    return 0;
  int64_t cents = 0;
  for (double amount : amounts) cents += AmountCents(amount);
  return cents;
}
}  // namespace

DEFINE_RESPONSE_TABLE1(TDisburse, TDialog)
EV_BN_CLICKED(201, CmAddDeposit), EV_BN_CLICKED(202, CmModifyDeposit),
    EV_BN_CLICKED(203, CmDeleteDeposit), EV_BN_CLICKED(401, CmAddCheck),
    EV_BN_CLICKED(402, CmModifyCheck), EV_BN_CLICKED(403, CmDeleteCheck),
    EV_BN_CLICKED(105, CmFileNumber), EV_BN_CLICKED(kAutoCreate, CmAutoCreate),
    EV_BN_CLICKED(kPrintChecks, CmPrintChecks), EV_BN_CLICKED(503, CmPrintReport),
    EV_BN_CLICKED(504, CmCheckRequest), EV_WM_CTLCOLOR, END_RESPONSE_TABLE;

TDisburse::TDisburse(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  const char* accountName = gAccountRecord != nullptr ? gAccountRecord->Table()->Name() : nullptr;
  Table = new TPXTable(accountName != nullptr ? accountName : "ACCOUNT", 0);
  Record = new TPXRecord(Table, false);
  RedBrush = CreateSolidBrush(kDarkRed);
  GreenBrush = CreateSolidBrush(kDarkGreen);
  LoadString(nullptr, kRefusalFormat, RefusalFormat, sizeof RefusalFormat);
  LoadString(nullptr, kSelectFirstFormat, SelectFirstFormat, sizeof SelectFirstFormat);
  LoadString(nullptr, kZarneMessageCaption, MessageCaption, sizeof MessageCaption);
}

TDisburse::~TDisburse() {
  delete Record;
  delete Table;
  DeleteObject(RedBrush);
  DeleteObject(GreenBrush);
}

void TDisburse::CloseWindow(int retVal) {
  TDialog::CloseWindow(retVal);
  if (HWindow == nullptr) return;
  ::SendMessage(Grid(kDepositGrid), TSM_DELETEALLROWS, 0, 0);
  ::SendMessage(Grid(kCheckGrid), TSM_DELETEALLROWS, 0, 0);
}

void TDisburse::SetupWindow() {
  TDialog::SetupWindow();
  if (StatementWindow != nullptr) {
    StatementWindow->CmFileSave();
    CopyLedgerText(FileNumber, sizeof FileNumber, StatementWindow->FileNumber());
  }
  EnableAutoCreate();
  SetDlgItemText(HWindow, kFileNumberText, FileNumber);
  DefineLedgerGrid(Grid(kDepositGrid), kDisburseDepositColumns, kDisburseDepositColumnCount);
  DefineLedgerGrid(Grid(kCheckGrid), kDisburseCheckColumns, kDisburseCheckColumnCount);
  RefillFile();
}

void TDisburse::RefillFile() {
  FillDeposits();
  FillChecks();
  FindBankAccount();
  UpdateBalance();
}

bool TDisburse::ForStatementFile() const {
  return StatementWindow != nullptr && FileNumber[0] != '\0' &&
         std::strcmp(FileNumber, StatementWindow->FileNumber()) == 0;
}

void TDisburse::EnableAutoCreate() {
  ::EnableWindow(GetDlgItem(kAutoCreate), ForStatementFile() ? TRUE : FALSE);
}

void TDisburse::FillDeposits() {
  HWND grid = Grid(kDepositGrid);
  // An empty number lists nothing: the rows of the file shown before must go too.
  ::SendMessage(grid, TSM_DELETEALLROWS, 0, 0);
  if (FileNumber[0] == '\0') return;
  TDeferredGridPaint deferred(grid);
  ::SendMessage(grid, TSM_SETCURSOR, 0, -2);
  SetLedgerFileAndType(*Record, FileNumber, kDepositType);
  // One engine call per entry: each record is read as the cursor steps onto it.
  for (bool found = Record->Seek(2, ENGINE_KEY_EQ) && Record->Read(0); found;
       found = Record->ReadNext(0)) {
    TLedgerEntry entry;
    if (!ReadLedgerEntry(*Record, entry)) break;
    if (std::strcmp(entry.FileNum, FileNumber) != 0 || std::strcmp(entry.Type, kDepositType) != 0)
      break;
    TDisburseDepositRow row;
    RowFromEntry(entry, row);
    if (!AppendLedgerRow(HWindow, grid, &row)) break;
  }
}

void TDisburse::FillChecks() {
  HWND grid = Grid(kCheckGrid);
  // An empty number lists nothing: the rows of the file shown before must go too.
  ::SendMessage(grid, TSM_DELETEALLROWS, 0, 0);
  if (FileNumber[0] == '\0') return;
  TDeferredGridPaint deferred(grid);
  ::SendMessage(grid, TSM_SETCURSOR, 0, -2);
  SetLedgerFileAndType(*Record, FileNumber, kCheckType);
  // One engine call per entry: each record is read as the cursor steps onto it.
  for (bool found = Record->Seek(2, ENGINE_KEY_EQ) && Record->Read(0); found;
       found = Record->ReadNext(0)) {
    TLedgerEntry entry;
    if (!ReadLedgerEntry(*Record, entry)) break;
    if (std::strcmp(entry.FileNum, FileNumber) != 0 || std::strcmp(entry.Type, kCheckType) != 0)
      break;
    if (entry.Status == kStatusVoid) continue;
    TDisburseCheckRow row;
    RowFromEntry(entry, row);
    if (!AppendLedgerRow(HWindow, grid, &row)) break;
  }
}

void TDisburse::ShowBankName(const char* name) { SetDlgItemText(HWindow, kBankName, name); }

void TDisburse::FindBankAccount() {
  LONG bank = kNoBankAccount;
  for (int gridId : {kDepositGrid, kCheckGrid}) {
    if (::SendMessage(Grid(gridId), TSM_GETROWCOUNT, 0, 0) <= 0) continue;
    // Both row records keep Bank at the same place relative to their own layout.
    ::SendMessage(Grid(gridId), TSM_SETCURSOR, 0, 0);
    if (gridId == kDepositGrid) {
      TDisburseDepositRow row{};
      ::SendMessage(Grid(gridId), TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
      bank = row.Bank;
    } else {
      TDisburseCheckRow row{};
      ::SendMessage(Grid(gridId), TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
      bank = row.Bank;
    }
    break;
  }
  // An account outside the twenty counts as none: the next Add asks for one.
  BankKey = IsBankKey(bank) ? bank : kNoBankAccount;
  if (BankKey == kNoBankAccount) {
    ShowBankName("");
    return;
  }
  const TStringArray& names = gEditAccountRecordXfer.Accounts.GetStrings();
  ShowBankName(static_cast<size_t>(BankKey) < names.size() ? names[BankKey].c_str() : "");
}

void TDisburse::ResetBankWhenEmpty() {
  if (::SendMessage(Grid(kDepositGrid), TSM_GETROWCOUNT, 0, 0) > 0 ||
      ::SendMessage(Grid(kCheckGrid), TSM_GETROWCOUNT, 0, 0) > 0)
    return;
  BankKey = kNoBankAccount;
  ShowBankName("");
}

void TDisburse::UpdateBalance() {
  HWND deposits = Grid(kDepositGrid);
  HWND checks = Grid(kCheckGrid);
  SetLedgerGridColors(deposits, kDepositColors);
  SetLedgerGridColors(checks, kCheckColors);
  // Each grid's amounts in one message: the column's values packed in row order.
  const int64_t cents =
      ColumnCents(deposits, kDepositAmountColumn) - ColumnCents(checks, kCheckAmountColumn);
  BalanceCents = cents;
  BalanceSign = CentsSign(cents);
  char text[40];
  FormatCents(cents, text, sizeof text);
  InsertThousandsCommas(text, text, sizeof text);
  SetDlgItemText(HWindow, kBalanceText, text);
  ::InvalidateRect(GetDlgItem(kBalanceText), nullptr, TRUE);
}

HBRUSH TDisburse::EvCtlColor(HDC dc, HWND child, UINT ctlType) {
  if (ctlType != kCtlColorStatic || child != GetDlgItem(kBalanceText))
    return TDialog::EvCtlColor(dc, child, ctlType);
  if (BalanceSign < 0) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, kDarkRed);
    return RedBrush;
  }
  if (BalanceSign > 0) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, kDarkGreen);
    return GreenBrush;
  }
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, kLightGrey);
  return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}

void TDisburse::SelectBankAccount() {
  TBankSelect select(this);
  if (select.Execute() == IDOK && TBankSelect::ChosenAccount() >= 0) {
    BankKey = TBankSelect::ChosenAccount();
    char name[128] = "";
    gBankSelectXfer.Accounts.GetSelString(name, sizeof name);
    ShowBankName(name);
    return;
  }
  ShowLedgerString(HWindow, kSelectAccountText, MB_OK | MB_ICONEXCLAMATION);
}

void TDisburse::CmFileNumber() {
  gFileNumber[0] = '\0';
  TFileDlg dialog(this, IDD_FILEDLG);
  dialog.mode = kFileDlgDisburse;
  if (dialog.Execute() != IDOK) return;
  CopyLedgerText(FileNumber, sizeof FileNumber, gFileNumber);
  SetDlgItemText(HWindow, kFileNumberText, FileNumber);
  EnableAutoCreate();
  RefillFile();
}

void TDisburse::CmPrintReport() { PrintDisbursementReport(this, FileNumber); }

void TDisburse::CmCheckRequest() { PrintCheckRequest(this, FileNumber); }
