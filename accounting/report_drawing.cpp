/*
** Drawing shared by the accounting printouts.
*/
#include "accounting/report_drawing.h"

#include "platform/gdi/gdi.h"
#include "platform/kernel/local_time.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>

void FormatPrintStamp(char* buffer, size_t size) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  std::snprintf(buffer, size, "%d/%d/%d  %.2d:%.2d:%.2d", now.wMonth, now.wDay, now.wYear,
                now.wHour, now.wMinute, now.wSecond);
}

void FormatReportAmount(char* buffer, size_t size, double amount) {
  char plain[kReportAmountSize];
  std::snprintf(plain, sizeof plain, "%.2lf", amount);
  InsertThousandsCommas(plain, buffer, size);
}

TReportFont::TReportFont(TDC& dc, const char* face, int height, int weight) : dc_(dc) {
  font_ = CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
  previous_ = SelectObject(dc_.GetHDC(), font_);
  TEXTMETRIC metrics{};
  if (dc_.GetTextMetrics(metrics)) lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading;
}

TReportFont::~TReportFont() {
  SelectObject(dc_.GetHDC(), previous_);
  DeleteObject(font_);
}

void DrawTextAt(TDC& dc, int x, int y, UINT alignment, const char* text) {
  dc.SetTextAlign(alignment | TA_TOP);
  dc.TextOut(x, y, text);
}

void DrawCellText(TDC& dc, int left, int right, int y, int h, const char* text) {
  dc.SetTextAlign(TA_LEFT | TA_TOP);
  dc.DrawText(text, -1, TRect(left, y, right, y - h), DT_SINGLELINE | DT_NOPREFIX);
}

void DrawWrappedText(TDC& dc, int left, int right, int y, int h, const char* text) {
  dc.SetTextAlign(TA_LEFT | TA_TOP);
  dc.DrawText(text, -1, TRect(left, y, right, y - h), DT_WORDBREAK | DT_NOPREFIX);
}

void DrawPageRule(TDC& dc, int y, int width) {
  HPEN pen = CreatePen(PS_SOLID, 1, PALETTEINDEX(3));
  HGDIOBJ previous = SelectObject(dc.GetHDC(), pen);
  dc.MoveTo(0, y);
  dc.LineTo(width, y);
  SelectObject(dc.GetHDC(), previous);
  DeleteObject(pen);
}

int PrintableWidth(const TDC& dc) {
  return static_cast<int>(dc.GetDeviceCaps(HORZRES) * 100.0 / dc.GetDeviceCaps(LOGPIXELSX) - 2);
}

double PrintableHeight(const TDC& dc) {
  return dc.GetDeviceCaps(VERTRES) * 100.0 / dc.GetDeviceCaps(LOGPIXELSY);
}

bool PrintOnReportPrinter(TWindow* parent, TPrintout& printout) {
  TPrinter printer;
  printer.GetSetup() = gReportPrintData;
  return printer.Print(parent, printout, false);
}
