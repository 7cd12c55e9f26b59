/*
** The amortization schedule's pages, in hundredths of an inch with y growing upward.
*/
#include "statement/amortization_report.h"

#include "platform/framework/gdi_objects.h"
#include "platform/kernel/local_time.h"
#include "platform/kernel/wintypes.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <string>

namespace {

/* The column positions of the schedule, right edges. */
constexpr int kNumberX = 50, kDateX = 190, kPaymentX = 330, kInterestX = 470, kPrincipalX = 610,
              kBalanceX = 750;
constexpr int kValueX = 200;

/* "%.2Lf" with thousands commas, from the decimal's own digits (every amount is at cents). */
std::string AmountText(const ScriptDecimal& amount) {
  ScriptDecimal cents;
  amount.RoundToStep(-2, DecimalRounding::kHalfAwayFromZero, &cents);
  int64_t count = cents.mantissa;
  for (int e = cents.exponent; e > -2; --e) count *= 10;
  uint64_t magnitude = count < 0 ? 0 - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
  char plain[64], grouped[96];
  std::snprintf(plain, sizeof plain, "%s%llu.%02llu", count < 0 ? "-" : "",
                static_cast<unsigned long long>(magnitude / 100),
                static_cast<unsigned long long>(magnitude % 100));
  InsertThousandsCommas(plain, grouped, sizeof grouped);
  return grouped;
}

int LineHeight(TPrintDC& dc) {
  TEXTMETRIC metrics{};
  dc.GetTextMetrics(metrics);
  return metrics.tmHeight;
}

void TextAt(TPrintDC& dc, int x, int y, UINT align, const std::string& text) {
  dc.SetTextAlign(align);
  dc.TextOut(x, y, text.c_str());
}

}  // namespace

TAmortReport::TAmortReport(const char* title, const AmortizationLoan& loan)
    : TPrintout(title),
      loan_(loan),
      schedule_(loan.principal, loan.payment, loan.yearlyRatePercent, loan.maturity,
                loan.originMonth, loan.originDay, loan.originYear) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%d/%d/%d  %.2d:%.2d:%.2d", now.wMonth, now.wDay, now.wYear,
                now.wHour, now.wMinute, now.wSecond);
  stamp_ = stamp;
}

void TAmortReport::BeginPrinting() {
  TPrintDC& dc = *GetPrintDC();
  pageWidth_ = dc.GetDeviceCaps(HORZRES) * 100 / dc.GetDeviceCaps(LOGPIXELSX) - 2;
  pageBottom_ = dc.GetDeviceCaps(VERTRES) * 100 / dc.GetDeviceCaps(LOGPIXELSY) - 50;
}

int TAmortReport::PrintHeading(TPrintDC& dc, int page) {
  TFont stampFont("Arial", 11);
  dc.SelectObject(stampFont);
  TextAt(dc, 0, 0, TA_LEFT | TA_TOP, stamp_);

  TFont titleFont("Arial", 19, 0, 0, 0, FW_BOLD);
  dc.SelectObject(titleFont);
  TextAt(dc, pageWidth_ / 2, -50, TA_CENTER | TA_TOP, "Amortization Schedule");
  int y = -50 - LineHeight(dc);

  TFont headFont("Arial", 16);
  dc.SelectObject(headFont);
  int line = LineHeight(dc);
  char text[128];
  std::snprintf(text, sizeof text, "Page  %d", page);
  TextAt(dc, pageWidth_, y, TA_RIGHT | TA_TOP, text);
  auto item = [&](const char* label, const std::string& value) {
    y -= line;
    TextAt(dc, 0, y, TA_LEFT | TA_TOP, label);
    TextAt(dc, kValueX, y, TA_LEFT | TA_TOP, value);
  };
  item("LENDER:", loan_.lender);
  item("BORROWER:", loan_.borrower);
  std::snprintf(text, sizeof text, "%.2d/%.2d/%d", loan_.originMonth, loan_.originDay,
                loan_.originYear);
  item("ORIGINATION DATE:", text);
  char plain[64], grouped[96];
  std::snprintf(plain, sizeof plain, "%.2lf", loan_.principal);
  InsertThousandsCommas(plain, grouped, sizeof grouped);
  item("LOAN AMOUNT:", grouped);
  std::snprintf(text, sizeof text, "%.2lf%%", loan_.yearlyRatePercent);
  item("INTEREST RATE:", text);

  y -= 2 * line;
  TFont columnFont("Arial", 13);
  dc.SelectObject(columnFont);
  const std::pair<int, const char*> heads[] = {{kNumberX, "No."},          {kDateX, "Date"},
                                               {kPaymentX, "Payment"},     {kInterestX, "Interest"},
                                               {kPrincipalX, "Principal"}, {kBalanceX, "Balance"}};
  for (const auto& [x, head] : heads) TextAt(dc, x, y, TA_RIGHT | TA_TOP, head);
  y -= 2 * line;
  dc.MoveTo(0, y);
  dc.LineTo(pageWidth_, y);
  dc.RestoreFont();
  return y - line;
}

void TAmortReport::PrintLine(TPrintDC& dc, int y, const AmortizationLine& line) {
  char text[64];
  std::snprintf(text, sizeof text, "%4d", line.number);
  TextAt(dc, kNumberX, y, TA_RIGHT | TA_TOP, text);
  std::snprintf(text, sizeof text, "%.2d / %.2d / %d", line.month, line.day, line.year);
  TextAt(dc, kDateX, y, TA_RIGHT | TA_TOP, text);
  TextAt(dc, kPaymentX, y, TA_RIGHT | TA_TOP, AmountText(line.payment));
  TextAt(dc, kInterestX, y, TA_RIGHT | TA_TOP, AmountText(line.interest));
  TextAt(dc, kPrincipalX, y, TA_RIGHT | TA_TOP, AmountText(line.principal));
  TextAt(dc, kBalanceX, y, TA_RIGHT | TA_TOP, AmountText(line.balance));
}

void TAmortReport::PrintPage(int page, TRect& /*rect*/, unsigned /*flags*/) {
  TPrintDC& dc = *GetPrintDC();
  dc.SetMapMode(MM_LOENGLISH);
  if (page > pagesLaidOut_) {
    pagesLaidOut_ = page;
    pageStarts_[page] = schedule_.State();
  }
  schedule_.Restore(pageStarts_[page]);

  int y = PrintHeading(dc, page);
  TFont lineFont("Arial", 13);
  dc.SelectObject(lineFont);
  int height = LineHeight(dc);
  while (!schedule_.Complete() && y - height > -pageBottom_) {
    PrintLine(dc, y, schedule_.NextLine());
    y -= height;
  }
  dc.RestoreFont();
  if (schedule_.Complete()) pageLimit_ = pagesLaidOut_;
}
