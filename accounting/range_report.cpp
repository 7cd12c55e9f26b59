/*
** The range reports' page scheme.
*/
#include "accounting/range_report.h"

#include "platform/gdi/gdi.h"

#include <cstdio>

namespace {
constexpr const char kFace[] = "Arial";
constexpr int kStampHeight = -11;
constexpr int kTitleHeight = -19;
constexpr int kHeadingLineHeight = -16;
constexpr int kColumnHeight = -13;
constexpr int kTitleDepth = 50;
}  // namespace

TRangeReport::TRangeReport(const char* title) : TPrintout(title) {
  SetBanding(false);
  FormatPrintStamp(PrintStamp, sizeof PrintStamp);
}

void TRangeReport::BeginPrinting() {
  TPrintout::BeginPrinting();
  PageWidth = PrintableWidth(*DC);
  BottomDepth = static_cast<int>(PrintableHeight(*DC) - 50);
}

void TRangeReport::BeginDocument(int startPage, int endPage, unsigned flags) {
  TPrintout::BeginDocument(startPage, endPage, flags);
  Restart();
}

void TRangeReport::Restart() {
  ItemCount = 0;
  Consumed = 0;
  CurrentPage = 0;
  LastPage = 9999;
  Done = false;
  Rewind();
}

int TRangeReport::PrintHeader(TDC& dc, int page) {
  char text[128];
  {
    TReportFont stamp(dc, kFace, kStampHeight, FW_NORMAL);
    DrawTextAt(dc, 0, 0, TA_LEFT, PrintStamp);
  }
  int depth = kTitleDepth;
  {
    TReportFont title(dc, kFace, kTitleHeight, FW_BOLD);
    DrawTextAt(dc, PageWidth / 2, -depth, TA_CENTER, GetTitle());
    depth += title.LineHeight();
  }
  int accountHeight;
  {
    TReportFont line(dc, kFace, kHeadingLineHeight, FW_NORMAL);
    accountHeight = line.LineHeight();
    AccountLine(text, sizeof text);
    DrawTextAt(dc, PageWidth / 2, -depth, TA_CENTER, text);
    depth += accountHeight;
    RangeLine(text, sizeof text);
    DrawTextAt(dc, PageWidth / 2, -depth, TA_CENTER, text);
    std::snprintf(text, sizeof text, "Page  %d", page);
    DrawTextAt(dc, PageWidth, -depth, TA_RIGHT, text);
  }
  depth += 2 * accountHeight;
  DrawPageRule(dc, -depth, PageWidth);
  depth += accountHeight;
  TReportFont headings(dc, kFace, kColumnHeight, FW_BOLD);
  DrawColumnHeadings(dc, -depth);
  return depth + 2 * headings.LineHeight();
}

void TRangeReport::PrintPage(int page, TRect&, unsigned) {
  TDC& dc = *DC;
  int saved = dc.SaveDC();
  dc.SetMapMode(MM_LOENGLISH);
  int depth = PrintHeader(dc, page);
  {
    TReportFont rowFont(dc, kFace, kColumnHeight, FW_NORMAL);
    const int lineHeight = rowFont.LineHeight();
    if (page > CurrentPage) {
      CurrentPage = page;
      LoadItems();
    }
    if (page == 1) depth = DrawBeforeRows(dc, depth, lineHeight);
    bool pageFull = false;
    for (unsigned i = 0; i < ItemCount; ++i) {
      DrawRow(dc, i, -depth, lineHeight);
      depth += lineHeight;
      const bool moreToCome = i + 1 < ItemCount || !Done;
      if (moreToCome && depth + lineHeight > BottomDepth) {
        Consumed = i + 1;
        pageFull = true;
        break;
      }
    }
    if (!pageFull) {
      if (!Done) Consumed = ItemCount;  // the batch is used up but the walk goes on: next page
      else if (DrawClosing(dc, depth, lineHeight)) LastPage = CurrentPage;
      else Consumed = ItemCount;  // the closing line stands alone on the next page
    }
  }
  dc.RestoreDC(saved);
}
