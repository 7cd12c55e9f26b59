/*
** The page scheme shared by the range reports (check register, ledger, file balance): rows
** loaded in batches of at most 101 from a table walk that carries from page to page, the
** heading block at the top of every page, rows one line apart until the page's bottom, and
** the report's closing step once the walk is done. Depths count hundredths of an inch down
** from the top of the printable area; a depth d is drawn at y = -d in MM_LOENGLISH.
*/
#ifndef ZARNE_ACCOUNTING_RANGE_REPORT_H
#define ZARNE_ACCOUNTING_RANGE_REPORT_H

#include "accounting/report_drawing.h"
#include "platform/framework/printer.h"

#include <array>
#include <cstddef>
#include <cstring>

/* The range kinds of the report range dialog. */
enum TRangeKind { rkFile = 1, rkDate = 2, rkNumber = 3, rkAll = 4 };

/* The most rows a range report holds at once. */
constexpr unsigned kReportBatchSize = 101;

/* The rows a report holds: a fixed array that never grows. */
template <class TItem>
class TItemBatch {
 public:
  unsigned Count() const { return count_; }
  bool Full() const { return count_ >= kReportBatchSize; }
  const TItem& operator[](unsigned index) const { return items_[index]; }
  void Add(const TItem& item) { items_[count_++] = item; }
  void Clear() { count_ = 0; }
  /* Removes the first n rows, keeping the others in order. */
  void DropFront(unsigned n) {
    if (n >= count_) {
      count_ = 0;
      return;
    }
    for (unsigned i = n; i < count_; ++i) items_[i - n] = items_[i];
    count_ -= n;
  }

 private:
  std::array<TItem, kReportBatchSize> items_{};
  unsigned count_ = 0;
};

/* File numbers compare byte by byte, the order of ACCOUNT's key and of query answers. */
inline int CompareFileNumbers(const char* a, const char* b) { return std::strcmp(a, b); }

class TRangeReport : public TPrintout {
 public:
  explicit TRangeReport(const char* title);

  void BeginPrinting() override;
  /* Every copy prints from the start: paging, walk and totals are rewound. */
  void BeginDocument(int startPage, int endPage, unsigned flags) override;
  bool HasPage(int page) override { return page <= LastPage; }
  void PrintPage(int page, TRect& rect, unsigned flags) override;

  int GetPageWidth() const { return PageWidth; }
  int GetBottomDepth() const { return BottomDepth; }

 protected:
  /* Back to the state before page 1: the report's walk and totals. */
  virtual void Rewind() = 0;
  /* Fills the batch for the page (CurrentPage); sets Done when the walk ends and ItemCount. */
  virtual void LoadItems() = 0;
  /* The texts of the heading block. */
  virtual void AccountLine(char* buffer, size_t size) = 0;
  virtual void RangeLine(char* buffer, size_t size) = 0;
  virtual void DrawColumnHeadings(TDC& dc, int y) = 0;
  /* Draws held row `index` with its cell's top at y. */
  virtual void DrawRow(TDC& dc, unsigned index, int y, int lineHeight) = 0;
  /* What page 1 prints above the rows; answers the depth of the first row. */
  virtual int DrawBeforeRows(TDC& dc, int depth, int lineHeight) { return depth; }
  /* After the last row of the walk: draws the closing line when it fits at or below
     `depth` (the next row's depth) and answers true, or answers false to carry it over. */
  virtual bool DrawClosing(TDC& dc, int depth, int lineHeight) { return true; }

  int PageWidth = 0;
  int BottomDepth = 0;
  unsigned ItemCount = 0;
  unsigned Consumed = 0;
  int CurrentPage = 0;
  int LastPage = 9999;
  bool Done = false;
  char PrintStamp[kPrintStampSize] = "";

 private:
  /* Draws the heading block; answers the first row's depth. */
  int PrintHeader(TDC& dc, int page);
  void Restart();
};

#endif
