/*
** Drawing shared by the accounting printouts: the print stamp, fonts chosen for one use and
** their line heights, texts placed by the top of their cell (left, centred or right), texts
** cut at a cell's edges or word-wrapped in a box, the page rule, amounts with commas, and
** printing on the reports printer without the print dialog.
*/
#ifndef ZARNE_ACCOUNTING_REPORT_DRAWING_H
#define ZARNE_ACCOUNTING_REPORT_DRAWING_H

#include "platform/framework/dc.h"
#include "platform/framework/printer.h"

#include <cstddef>

class TWindow;

/* Room for the print stamp "m/d/yyyy  hh:mm:ss". */
constexpr size_t kPrintStampSize = 32;
/* Room for an amount "%.2lf" with commas: the largest double has 309 integer digits. */
constexpr size_t kReportAmountSize = 448;

/* The local date and time as "%d/%d/%d  %.2d:%.2d:%.2d". */
void FormatPrintStamp(char* buffer, size_t size);

/* "%.2lf" of the amount with thousands commas. */
void FormatReportAmount(char* buffer, size_t size, double amount);

/* A font made for one use and selected into the context for as long as it lives; the
   previous font comes back and the font is deleted when it ends. A negative height is the
   character height. */
class TReportFont {
 public:
  TReportFont(TDC& dc, const char* face, int height, int weight);
  ~TReportFont();
  TReportFont(const TReportFont&) = delete;
  TReportFont& operator=(const TReportFont&) = delete;

  /* Character height plus external leading, as the device reports them. */
  int LineHeight() const { return lineHeight_; }

 private:
  TDC& dc_;
  HFONT font_;
  HGDIOBJ previous_;
  int lineHeight_ = 0;
};

/* Text with its cell's top at y, aligned at x by TA_LEFT, TA_CENTER or TA_RIGHT. */
void DrawTextAt(TDC& dc, int x, int y, UINT alignment, const char* text);
/* One line of text in the cell from left to right, top y and height h (y grows upward, so
   the cell runs down to y - h), cut at its edges; '&' is drawn as it is. */
void DrawCellText(TDC& dc, int left, int right, int y, int h, const char* text);
/* Text word-wrapped in the box from left to right and y down to y - h, cut below it. */
void DrawWrappedText(TDC& dc, int left, int right, int y, int h, const char* text);
/* A solid rule one unit wide in the device palette's colour 3, from x 0 to width at y. */
void DrawPageRule(TDC& dc, int y, int width);

/* The printable area in hundredths of an inch, as the printouts compute it from the
   device: width HORZRES * 100 / LOGPIXELSX - 2, height VERTRES * 100 / LOGPIXELSY. */
int PrintableWidth(const TDC& dc);
double PrintableHeight(const TDC& dc);

/* Prints the printout on the reports printer, without the print dialog, owned by parent;
   a printer failure has been reported by the printer. */
bool PrintOnReportPrinter(TWindow* parent, TPrintout& printout);

#endif
