/*
** Printing: TPrintout is what a document prints, page by page, on the printer DC it is given;
** TPrinter holds the chosen printer (its print data), offers the print-setup dialog, and runs
** a printout through the page loop with an abort window, reporting printer errors itself and
** telling the user the name of each file a job went to (the "PDF" device).
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_PRINTER_H
#define ZARNE_PLATFORM_FRAMEWORK_PRINTER_H

#include "platform/framework/dc.h"
#include "platform/framework/print_data.h"

#include <string>
#include <vector>

class TWindow;
class TApplication;

/* Page-printing flags handed to BeginDocument and PrintPage. */
enum { pfGraphics = 0x01, pfText = 0x02, pfBoth = pfGraphics | pfText };

class TPrintout {
 public:
  explicit TPrintout(const char* title);
  virtual ~TPrintout();
  TPrintout(const TPrintout&) = delete;
  TPrintout& operator=(const TPrintout&) = delete;

  /* Whether the page exists; the base has one page. */
  virtual bool HasPage(int pageNumber) { return pageNumber == 1; }
  /* The page range offered by the print dialog: the base offers page 1 only and no selection. */
  virtual void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage);
  /* The printer DC and the page size (device units) for the job; null and 0 x 0 after it. */
  virtual void SetPrintParams(TPrintDC* dc, TSize pageSize);
  virtual void BeginPrinting() {}
  virtual void BeginDocument(int startPage, int endPage, unsigned flags);
  virtual void PrintPage(int page, TRect& rect, unsigned flags);
  virtual void EndDocument() {}
  virtual void EndPrinting() {}

  const char* GetTitle() const { return Title.c_str(); }
  TPrintDC* GetPrintDC() const { return DC; }
  TSize GetPageSize() const { return PageSize; }
  void SetBanding(bool banding) { Banding = banding; }
  bool WantBanding() const { return Banding; }

 protected:
  std::string Title;
  bool Banding = false;
  TPrintDC* DC = nullptr;
  TSize PageSize;
};

class TPrinter {
 public:
  /* Starts on the machine's default printer with its default device mode. */
  explicit TPrinter(TApplication* app = nullptr);
  virtual ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  /* The print data: printer names, device mode, flags and page range. */
  TPrintDialogData& GetSetup() { return *Data; }
  TPrintDialogData* Data;

  /* Back to the default printer. */
  virtual void ClearDevice();
  /* The print-setup dialog on the print data; answers whether it ended with OK. */
  virtual bool Setup(TWindow* parent);
  /* Prints the printout: with prompt the print dialog first (Cancel prints nothing). Answers
     whether every page went to the printer; a failure has been reported to the user. */
  virtual bool Print(TWindow* parent, TPrintout& printout, bool prompt);
  /* Shows the error of the last Print (nothing for a job the user cancelled). */
  virtual void ReportError(TWindow* parent, TPrintout& printout);
  /* The result of the last Print: 0, or an SP_ error code. */
  int GetError() const { return Error; }

  /* A job that went to a file (the "PDF" device) tells the user the file's name when it ends;
     a caller that prints several jobs as one task clears this and tells once, at the end. */
  bool TellEachFile = true;
  /* Tells in one message where the jobs printed since the last telling went, if any went to
     files, and forgets them. what names the jobs' printout. */
  void TellPrintedFiles(TWindow* parent, const char* what);

  /* The page-loop's cancel: set by the abort window's Cancel button (or by a printout) and
     seen by the printer DC's abort procedure at the end of the current page. */
  static void SetUserAbort(HDC dc = nullptr);

 protected:
  virtual bool ExecPrintDialog(TWindow* parent);
  int Error = 0;
  std::vector<std::string> PrintedFiles;  // host paths, not yet told

 private:
  void ProposePageRange();
  int RunPages(TPrintDC& dc, TPrintout& printout, int fromPage, int toPage, unsigned flags);
};

#endif
