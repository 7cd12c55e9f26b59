/*
** The disbursement report: gathering a file's ledger and printing it section by section.
*/
#include "accounting/disbursement_report.h"

#include "accounting/account_item.h"
#include "platform/gdi/gdi.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kBuyerNameField = 2;
constexpr int kLineFontHeight = -13;
constexpr int kHeadingFontHeight = -16;

std::string TablePath(const char* name) { return std::string(gDatabaseDir) + "\\" + name; }

}  // namespace

TDisburseReport::TDisburseReport(const char* title, const char* fileNumber) : TPrintout(title) {
  std::snprintf(FileNumber, sizeof FileNumber, "%s", fileNumber ? fileNumber : "");
  FormatPrintStamp(PrintStamp, sizeof PrintStamp);
  {
    TPXTable ledger(TablePath("account").c_str(), 0);
    TPXRecord record(&ledger, false);
    WalkFileEntries(record, FileNumber, "D", [this](TPXRecord& r) {
      TDisbDepositItem item = ReadDepositItem(r);
      Deposits.push_back(item);
      ApplyBankRule(item.Bank);
      DepositTotal = ToWholeCents(DepositTotal + item.Amount);
    });
    WalkFileEntries(record, FileNumber, "C", [this](TPXRecord& r) {
      TDisbCheckItem item = ReadCheckItem(r, false);
      if (item.Status != kStatusVoid) ApplyBankRule(item.Bank);
      Checks.push_back(item);
      CheckTotal = ToWholeCents(CheckTotal + item.Amount);
    });
  }
  DepositCount = static_cast<unsigned>(Deposits.size());
  CheckCount = static_cast<unsigned>(Checks.size());

  TPXTable buyers(TablePath("buyer").c_str(), 0);
  TPXRecord buyer(&buyers, false);
  buyer.Clear();
  buyer.SetString(1, FileNumber);
  if (buyer.Seek(0, ENGINE_KEY_EQ) && buyer.Read(0) &&
      !buyer.GetString(kBuyerNameField, BuyerName, sizeof BuyerName))
    BuyerName[0] = '\0';
  if (BuyerName[0] == '\0') std::snprintf(BuyerName, sizeof BuyerName, "____________________");
}

void TDisburseReport::ApplyBankRule(SHORT bank) {
  if (FirstBank < 0) FirstBank = bank;
  else if (bank != FirstBank) MixedBanks = true;
}

void TDisburseReport::BeginPrinting() {
  TPrintout::BeginPrinting();
  PageWidth = static_cast<SHORT>(PrintableWidth(*DC));
  PageBottom = static_cast<SHORT>(-PrintableHeight(*DC) + 50);
}

void TDisburseReport::BeginDocument(int startPage, int endPage, unsigned flags) {
  TPrintout::BeginDocument(startPage, endPage, flags);
  DepositStart = DepositNext = CheckStart = CheckNext = 0;
  ChecksHeadingShown = false;
  CurrentPage = 1;
  LastPage = 9999;
}

int TDisburseReport::PrintHeader(TDC& dc, int page) {
  const int width = PageWidth;
  {
    TReportFont stamp(dc, "Helv", -11, FW_NORMAL);
    DrawTextAt(dc, 0, 0, TA_LEFT, PrintStamp);
  }
  int y = -50;
  {
    TReportFont title(dc, "Helv", -19, FW_BOLD);
    DrawTextAt(dc, width / 2, y, TA_CENTER, GetTitle());
    y -= title.LineHeight();
  }
  TReportFont line(dc, "Helv", kHeadingFontHeight, FW_NORMAL);
  const int h = line.LineHeight();
  char text[128];
  std::snprintf(text, sizeof text, "Buyer:  %s", BuyerName);
  DrawTextAt(dc, width / 2, y, TA_CENTER, text);
  y -= h;
  std::snprintf(text, sizeof text, "File Number:  %s", FileNumber);
  DrawTextAt(dc, width / 2, y, TA_CENTER, text);
  std::snprintf(text, sizeof text, "Page  %d", page);
  DrawTextAt(dc, width, y, TA_RIGHT, text);
  y -= 2 * h;
  DrawPageRule(dc, y, width);
  return y - 2 * h;
}

bool TDisburseReport::PrintDeposits(TDC& dc, int& y, int headingHeight) {
  if (!(CurrentPage == 1 || DepositStart < DepositCount)) return true;
  {
    TReportFont heading(dc, "Arial", kHeadingFontHeight, FW_NORMAL);
    DrawTextAt(dc, 60, y, TA_LEFT, "Deposits:");
    y -= headingHeight;
  }
  TReportFont line(dc, "Arial", kLineFontHeight, FW_NORMAL);
  const int h = line.LineHeight();
  y -= h;
  char text[kReportAmountSize];
  for (unsigned i = DepositStart; i < DepositCount; ++i) {
    const TDisbDepositItem& item = Deposits[i];
    StatusText(text, item.Status, sizeof text);
    DrawTextAt(dc, 135, y, TA_LEFT, text);
    std::snprintf(text, sizeof text, "%d", item.Bank);
    DrawTextAt(dc, 215, y, TA_LEFT, text);
    DrawCellText(dc, 235, PageWidth - 240, y, h, item.Depositor);
    FormatReportAmount(text, sizeof text, item.Amount);
    DrawTextAt(dc, PageWidth - 120, y, TA_RIGHT, text);
    y -= h;
    if (y - h < PageBottom) {
      DepositNext = i + 1;
      return false;
    }
  }
  DepositNext = DepositCount;
  return true;
}

bool TDisburseReport::PrintChecks(TDC& dc, int& y, int headingHeight) {
  // A "Checks:" heading pushed off a full page is printed on the next, even with no checks.
  if (!(CurrentPage == 1 || CheckStart < CheckCount || !ChecksHeadingShown)) return true;
  {
    TReportFont heading(dc, "Arial", kHeadingFontHeight, FW_NORMAL);
    y -= headingHeight;
    if (y - 3 * headingHeight < PageBottom) return false;
    DrawTextAt(dc, 60, y, TA_LEFT, "Checks:");
    ChecksHeadingShown = true;
    y -= headingHeight;
  }
  TReportFont line(dc, "Arial", kLineFontHeight, FW_NORMAL);
  const int h = line.LineHeight();
  y -= h;
  char text[kReportAmountSize];
  for (unsigned i = CheckStart; i < CheckCount; ++i) {
    const TDisbCheckItem& item = Checks[i];
    if (item.Number != 0) {
      std::snprintf(text, sizeof text, "%ld", static_cast<long>(item.Number));
      DrawTextAt(dc, 115, y, TA_RIGHT, text);
    }
    StatusText(text, item.Status, sizeof text);
    DrawTextAt(dc, 135, y, TA_LEFT, text);
    std::snprintf(text, sizeof text, "%d", item.Bank);
    DrawTextAt(dc, 215, y, TA_LEFT, text);
    DrawCellText(dc, 235, PageWidth - 240, y, h, item.Payee);
    FormatReportAmount(text, sizeof text, item.Amount);
    DrawTextAt(dc, PageWidth, y, TA_RIGHT, text);
    y -= h;
    if (y - h < PageBottom) {
      CheckNext = i + 1;
      return false;
    }
  }
  CheckNext = CheckCount;
  return true;
}

namespace {
void FormatTotal(char* buffer, size_t size, long double total) {
  char plain[kReportAmountSize];
  std::snprintf(plain, sizeof plain, "%.2Lf", total);
  InsertThousandsCommas(plain, buffer, size);
}
}  // namespace

bool TDisburseReport::PrintTotals(TDC& dc, int& y, int headingHeight) {
  TReportFont heading(dc, "Arial", kHeadingFontHeight, FW_NORMAL);
  y -= headingHeight;
  if (y - headingHeight < PageBottom) return false;
  char deposits[kReportAmountSize], checks[kReportAmountSize];
  FormatTotal(deposits, sizeof deposits, DepositTotal);
  FormatTotal(checks, sizeof checks, CheckTotal);
  if (std::string(deposits) != checks) {
    char difference[kReportAmountSize], text[kReportAmountSize + 40];
    FormatTotal(difference, sizeof difference, DepositTotal - CheckTotal);
    std::snprintf(text, sizeof text, "*** FILE OUT OF BALANCE BY %s ***", difference);
    DrawTextAt(dc, 235, y, TA_LEFT, text);
  }
  DrawTextAt(dc, PageWidth - 120, y, TA_RIGHT, deposits);
  DrawTextAt(dc, PageWidth, y, TA_RIGHT, checks);
  if (MixedBanks) {
    if (y - 2 * headingHeight < PageBottom) return false;
    y -= headingHeight;
    DrawTextAt(dc, 235, y, TA_LEFT, "***WARNING: Items on different bank accounts ***");
  }
  return true;
}

void TDisburseReport::PrintPage(int page, TRect&, unsigned) {
  TDC& dc = *DC;
  int saved = dc.SaveDC();
  dc.SetMapMode(MM_LOENGLISH);
  int y = PrintHeader(dc, page);
  int headingHeight;
  {
    TReportFont heading(dc, "Arial", kHeadingFontHeight, FW_NORMAL);
    headingHeight = heading.LineHeight();
  }
  if (CurrentPage < page) {
    CurrentPage = page;
    DepositStart = DepositNext;
    CheckStart = CheckNext;
  }
  if (PrintDeposits(dc, y, headingHeight) && PrintChecks(dc, y, headingHeight) &&
      PrintTotals(dc, y, headingHeight))
    LastPage = CurrentPage;
  dc.RestoreDC(saved);
}
