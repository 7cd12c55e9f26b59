/*
** The file balance report's group walk over ACCOUNT, its names and its total.
*/
#include "accounting/file_balance_report.h"

#include "accounting/account_item.h"
#include "accounting/account_transfers.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/string_calls.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>

namespace {

TRangeKind FileBalanceRangeKind() {
  if (gReportRangeXfer.RangeFile == 1) return rkFile;
  if (gReportRangeXfer.RangeDate == 1) return rkDate;
  return rkAll;
}

}  // namespace

bool TFileBalanceItem::operator==(const TFileBalanceItem& other) const {
  return lstrcmpA(FileNumber, other.FileNumber) == 0;
}

bool TFileBalanceItem::operator<(const TFileBalanceItem& other) const {
  return lstrcmpA(FileNumber, other.FileNumber) < 0;
}

TFileBalanceReport::TFileBalanceReport(const char* title, bool suppressZero)
    : TRangeReport(title),
      Buyers(gTables[kBuyerTable]),
      Sellers(gTables[kSellerTable]),
      RangeKind(FileBalanceRangeKind()),
      SuppressZero(suppressZero),
      SavedSelection(gReportRangeXfer.Accounts.GetSelIndex()) {
  AccountFilter = gReportRangeXfer.UseAccount == 1 ? SavedSelection : -1;
}

TFileBalanceReport::~TFileBalanceReport() { gReportRangeXfer.Accounts.Select(SavedSelection); }

void TFileBalanceReport::Rewind() {
  ReportTotal = 0;
  GroupFile[0] = '\0';
  Items.Clear();
}

bool TFileBalanceReport::Counts(SHORT status, LONG date, SHORT bank) const {
  if (!CountsInBalance(status)) return false;
  if (RangeKind == rkDate && date > gReportRangeXfer.DateTo) return false;
  return AccountFilter < 0 || bank == AccountFilter;
}

void TFileBalanceReport::ReadGroup(TFileBalanceItem& item, bool& counted) {
  std::snprintf(item.FileNumber, sizeof item.FileNumber, "%s", GroupFile);
  double balance = 0;
  int bank = -1;
  bool multipleBanks = false;
  counted = false;
  char file[16] = "";
  do {
    double amount = 0;
    char type[2] = "";
    SHORT status = 0, entryBank = 0;
    LONG date = 0;
    TPXRecord& record = *gAccountRecord;
    if (record.GetDouble(kAcctAmount, amount) && record.GetString(kAcctType, type, sizeof type) &&
        record.GetShort(kAcctStatus, status) && record.GetLong(kAcctDate, date) &&
        record.GetShort(kAcctBank, entryBank) && Counts(status, date, entryBank)) {
      balance = ApplyToBalance(balance, type, amount);
      counted = true;
      if (bank < 0) bank = entryBank;
      else if (bank != entryBank) multipleBanks = true;
    }
    if (!record.ReadNext(0) || !record.GetString(kAcctFileNum, file, sizeof file)) {
      Done = true;
      break;
    }
  } while (lstrcmpA(file, GroupFile) == 0);
  std::snprintf(GroupFile, sizeof GroupFile, "%s", file);
  item.Balance = balance + 0.0;  // never a negative zero
  if (counted) FillNames(item, bank, multipleBanks);
}

void TFileBalanceReport::FillNames(TFileBalanceItem& item, int bank, bool multipleBanks) {
  // The files come in key order, so one walk of each party table answers them all.
  if (!Buyers.NameOf(item.FileNumber, item.Buyer, sizeof item.Buyer))
    std::snprintf(item.Buyer, sizeof item.Buyer, "--- no open file ---");
  Sellers.NameOf(item.FileNumber, item.Seller, sizeof item.Seller);
  if (multipleBanks) {
    std::snprintf(item.BankAccount, sizeof item.BankAccount, "***MULTI-ACCOUNT***");
  } else {
    TComboBoxData& accounts = gReportRangeXfer.Accounts;
    if (bank >= 0 && bank < static_cast<int>(accounts.GetStrings().size())) {
      accounts.Select(bank);
      std::snprintf(item.BankAccount, sizeof item.BankAccount, "%.40s", accounts.GetSelection());
    }
  }
  if (std::strcmp(item.FileNumber, "0") == 0)
    std::snprintf(item.Buyer, sizeof item.Buyer, "Bank Adjustments");
}

void TFileBalanceReport::LoadItems() {
  TPXRecord* record = gAccountRecord;
  if (CurrentPage == 1) {
    Items.Clear();
    bool positioned = false;
    if (record != nullptr) {
      record->Clear();
      if (RangeKind == rkFile) {
        record->SetString(kAcctFileNum, gReportRangeXfer.FileFrom);
        positioned = record->Seek(1, ENGINE_KEY_GEQ);
      } else {
        positioned = record->First();
      }
    }
    if (!positioned) Done = true;
  } else {
    Items.DropFront(Consumed);
    Consumed = 0;
  }
  if (!Done && !(record->Read(0) && record->GetString(kAcctFileNum, GroupFile, sizeof GroupFile)))
    Done = true;
  while (!Done && !Items.Full()) {
    if (RangeKind == rkFile && CompareFileNumbers(GroupFile, gReportRangeXfer.FileTo) > 0) {
      Done = true;
      break;
    }
    TFileBalanceItem item;
    bool counted = false;
    ReadGroup(item, counted);
    if (!counted) continue;
    char balance[kReportAmountSize];
    std::snprintf(balance, sizeof balance, "%.2lf", item.Balance);
    const bool zero = std::strcmp(balance, "0.00") == 0;
    if (!zero) ReportTotal = RoundToCents(ReportTotal + item.Balance);
    if (!(zero && SuppressZero)) Items.Add(item);
  }
  ItemCount = Items.Count();
}

void TFileBalanceReport::AccountLine(char* buffer, size_t size) {
  if (AccountFilter < 0) std::snprintf(buffer, size, "All Accounts");
  else std::snprintf(buffer, size, "%.49s", gReportRangeXfer.Accounts.GetSelection());
}

void TFileBalanceReport::RangeLine(char* buffer, size_t size) {
  if (RangeKind == rkFile) {
    std::snprintf(buffer, size, "Files: %s - %s", gReportRangeXfer.FileFrom,
                  gReportRangeXfer.FileTo);
  } else if (RangeKind == rkDate) {
    int month = 0, day = 0, year = 0;
    DecodeDate(gReportRangeXfer.DateTo, month, day, year);
    std::snprintf(buffer, size, "Activity Through: %d/%d/%d", month, day, year);
  } else {
    std::snprintf(buffer, size, "All Items");
  }
}

void TFileBalanceReport::DrawColumnHeadings(TDC& dc, int y) {
  DrawTextAt(dc, 60, y, TA_LEFT, "File");
  DrawTextAt(dc, 180, y, TA_LEFT, "Buyer");
  DrawTextAt(dc, 340, y, TA_LEFT, "Seller");
  DrawTextAt(dc, 500, y, TA_LEFT, "Bank Account");
  DrawTextAt(dc, PageWidth, y, TA_RIGHT, "Balance");
}

void TFileBalanceReport::DrawRow(TDC& dc, unsigned index, int y, int lineHeight) {
  const TFileBalanceItem& item = Items[index];
  DrawTextAt(dc, 60, y, TA_LEFT, item.FileNumber);
  DrawCellText(dc, 180, 330, y, lineHeight, item.Buyer);
  DrawCellText(dc, 340, 490, y, lineHeight, item.Seller);
  DrawCellText(dc, 500, 675, y, lineHeight, item.BankAccount);
  char text[kReportAmountSize];
  FormatReportAmount(text, sizeof text, item.Balance);
  DrawTextAt(dc, PageWidth, y, TA_RIGHT, text);
}

bool TFileBalanceReport::DrawClosing(TDC& dc, int depth, int lineHeight) {
  const int totalDepth = depth + 2 * lineHeight;
  if (totalDepth + lineHeight > BottomDepth) return false;
  DrawTextAt(dc, PageWidth - 250, -totalDepth, TA_RIGHT, "REPORT TOTAL");
  char text[kReportAmountSize];
  FormatReportAmount(text, sizeof text, ReportTotal);
  DrawTextAt(dc, PageWidth, -totalDepth, TA_RIGHT, text);
  return true;
}
