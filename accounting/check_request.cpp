/*
** The check request: gathering a file's checks and printing a block per Ready check.
*/
#include "accounting/check_request.h"

#include "accounting/account_item.h"
#include "platform/gdi/gdi.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>

namespace {
constexpr int kHeadingFontHeight = -16;
constexpr int kBlockLines = 11;
constexpr const char kBlank[] = "__________________________________";  // 34 underscores
}  // namespace

TCheckRequest::TCheckRequest(const char* title, const char* fileNumber) : TPrintout(title) {
  std::snprintf(FileNumber, sizeof FileNumber, "%s", fileNumber ? fileNumber : "");
  FormatPrintStamp(PrintStamp, sizeof PrintStamp);
  if (gTables[kAccountTable] != nullptr) {
    TPXRecord record(gTables[kAccountTable], true);
    WalkFileEntries(record, FileNumber, "C",
                    [this](TPXRecord& r) { Checks.push_back(ReadCheckItem(r, true)); });
  }
  CheckCount = static_cast<unsigned>(Checks.size());
}

void TCheckRequest::BeginPrinting() {
  TPrintout::BeginPrinting();
  PageWidth = static_cast<SHORT>(PrintableWidth(*DC));
  PageBottom = static_cast<SHORT>(-PrintableHeight(*DC) + 50);
}

void TCheckRequest::BeginDocument(int startPage, int endPage, unsigned flags) {
  TPrintout::BeginDocument(startPage, endPage, flags);
  CheckStart = CheckNext = 0;
  CurrentPage = 1;
  LastPage = 9999;
}

bool TCheckRequest::HasPage(int page) {
  TPrintout::HasPage(page);
  return page <= LastPage;
}

int TCheckRequest::PrintHeader(TDC& dc, int page, int h) {
  {
    TReportFont stamp(dc, "Helv", -11, FW_NORMAL);
    DrawTextAt(dc, 0, 0, TA_LEFT, PrintStamp);
  }
  int y = -50;
  {
    TReportFont title(dc, "Helv", -19, FW_BOLD);
    DrawTextAt(dc, PageWidth / 2, y, TA_CENTER, GetTitle());
    y -= title.LineHeight();
  }
  char text[128];
  std::snprintf(text, sizeof text, "File Number:  %s", FileNumber);
  DrawTextAt(dc, PageWidth / 2, y, TA_CENTER, text);
  std::snprintf(text, sizeof text, "Page  %d", page);
  DrawTextAt(dc, PageWidth, y, TA_RIGHT, text);
  y -= 2 * h;
  DrawPageRule(dc, y, PageWidth);
  return y - 2 * h;
}

int TCheckRequest::PrintParties(TDC& dc, int y, int h) {
  const int parties[] = {kBuyerTable, kSellerTable};
  const char* const labels[] = {"Buyer:", "Seller:"};
  for (int i = 0; i < 2; ++i) {
    y -= (i == 0 ? h : 3 * h);
    DrawTextAt(dc, 0, y, TA_LEFT, labels[i]);
    TPXTable* table = gTables[parties[i]];
    if (table != nullptr && table->Name() != nullptr) {
      char* names = GetPartyNames(FileNumber, table->Name());
      if (names != nullptr) DrawWrappedText(dc, 100, PageWidth, y, 2 * h, names);
      delete[] names;
    }
  }
  y -= 4 * h;
  DrawPageRule(dc, y, PageWidth);
  return y - 2 * h;
}

int TCheckRequest::PrintCheckBlock(TDC& dc, int y, int h, double amount, const char* payee,
                                   const char* description) {
  y -= h;
  DrawTextAt(dc, 0, y, TA_LEFT, "Check Number: _______");
  DrawTextAt(dc, PageWidth / 2, y, TA_CENTER, "Check Date: _______");
  char figure[kReportAmountSize], text[kReportAmountSize + 32];
  FormatReportAmount(figure, sizeof figure, amount);
  std::snprintf(text, sizeof text, "Check Amount:  $%s", figure);
  DrawTextAt(dc, PageWidth, y, TA_RIGHT, text);
  const char* const labels[] = {"Payee:", "Description:"};
  const char* const values[] = {payee, description};
  for (int i = 0; i < 2; ++i) {
    y -= (i == 0 ? 2 * h : 3 * h);
    DrawTextAt(dc, 0, y, TA_LEFT, labels[i]);
    if (values[i][0] == '\0') DrawTextAt(dc, 100, y, TA_LEFT, kBlank);
    else DrawWrappedText(dc, 100, PageWidth, y, 2 * h, values[i]);
  }
  y -= 3 * h;
  DrawPageRule(dc, y, PageWidth);
  return y - 2 * h;
}

void TCheckRequest::PrintPage(int page, TRect&, unsigned) {
  TDC& dc = *DC;
  int saved = dc.SaveDC();
  dc.SetMapMode(MM_LOENGLISH);
  TReportFont font(dc, "Helv", kHeadingFontHeight, FW_NORMAL);
  const int h = font.LineHeight();
  const int blockHeight = kBlockLines * h;
  int y = PrintHeader(dc, page, h);
  if (page == 1) y = PrintParties(dc, y, h);
  if (CurrentPage < page) {
    CurrentPage = page;
    CheckStart = CheckNext;
  }
  bool pageFull = false;
  for (unsigned i = CheckStart; i < CheckCount && !pageFull; ++i) {
    const TDisbCheckItem& item = Checks[i];
    if (item.Status == kStatusReady)
      y = PrintCheckBlock(dc, y, h, item.Amount, item.Payee, item.Description);
    if (y - blockHeight < PageBottom) {
      CheckNext = i + 1;
      pageFull = true;
    }
  }
  if (!pageFull) LastPage = CurrentPage;
  dc.RestoreDC(saved);
}
