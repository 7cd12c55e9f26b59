/*
** Printer DCs and print jobs. Printers of the machine are QPrinters: a document is a QPainter
** on the printer from the first StartPage to EndDoc. The PDF device writes its documents
** itself (gdi_pdf_engine): the painter draws on the document's own paint device, and copies
** repeat the pages' content at EndDoc. Device units are printer dots with (0,0) at the
** top-left corner of the printable area, as on the platform.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_pdf_engine.h"
#include "platform/gdi/gdi_print.h"
#include "platform/gdi/gdi_printers.h"
#include "platform/kernel/paths.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zarne::gdi {

struct PrintJob {
  std::unique_ptr<QPrinter> printer;
  std::unique_ptr<QPainter> painter;
  bool pdf = false;
  bool documentOpen = false;
  bool pageOpen = false;
  int pagesDone = 0;
  std::string outputPath;
  ABORTPROC abortProc = nullptr;
  // The PDF device's document; its copies are written at EndDoc from one pass of the pages.
  std::unique_ptr<PdfPaintDevice> pdfDocument;
  int copies = 1;
  bool collate = true;
  // The test hook's failure for this document.
  int failAt = -1;
  int failPage = 0;
};

namespace {

// Owner: platform/gdi.
int gNextJobId = 1;

struct PendingFailure {
  int countdown = 0;  // documents still to start before the one that fails; 0 = none
  GdiPrintFailurePoint at = kPrintFailsAtStartDoc;
  int page = 1;
};
// Owner: platform/gdi.
PendingFailure gPendingFailure;

/* The PDF device's page: the paper and where the printable area lies on it. */
PdfPageGeometry PdfGeometry(QPrinter& printer) {
  const QPageLayout layout = printer.pageLayout();
  const QRectF paper = layout.fullRect(QPageLayout::Point);
  const QRect paint = layout.paintRectPixels(printer.resolution());
  PdfPageGeometry geometry;
  geometry.widthPoints = paper.width();
  geometry.heightPoints = paper.height();
  geometry.dpi = printer.resolution();
  geometry.offsetXDots = paint.left();
  geometry.offsetYDots = paint.top();
  geometry.widthDots = paint.width();
  geometry.heightDots = paint.height();
  return geometry;
}

PrintJob* JobOf(HDC handle) {
  DeviceContext* dc = LookupDC(handle);
  return dc && dc->kind == DcKind::Printer ? dc->printJob.get() : nullptr;
}

QRect PaintRectDots(QPrinter& printer) {
  return printer.pageLayout().paintRectPixels(printer.resolution());
}

QRect FullRectDots(QPrinter& printer) {
  return printer.pageLayout().fullRectPixels(printer.resolution());
}

/* Ends the document's painter; the file is complete afterwards. */
void FinishDocument(PrintJob& job) {
  if (job.painter && job.painter->isActive()) job.painter->end();
  job.painter.reset();
  job.documentOpen = false;
  job.pageOpen = false;
}

HDC CreatePrinterContext(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODE* mode,
                         DcKind kind) {
  if (driver && !device &&
      QString::fromLatin1(driver).compare("DISPLAY", Qt::CaseInsensitive) == 0) {
    auto dc = std::make_unique<DeviceContext>();
    dc->kind = DcKind::Information;
    dc->state = DefaultState();
    return RegisterDC(std::move(dc));
  }
  if (!device) return nullptr;
  auto job = std::make_shared<PrintJob>();
  job->printer = MakePrinter(device, mode, &job->pdf);
  if (!job->printer) return nullptr;
  auto dc = std::make_unique<DeviceContext>();
  dc->kind = kind;
  dc->dpiX = dc->dpiY = job->printer->resolution();
  dc->state = DefaultState();
  dc->printJob = std::move(job);
  return RegisterDC(std::move(dc));
}

}  // namespace

QPainter* PrintJobPainter(DeviceContext& dc) {
  if (!dc.printJob || !dc.printJob->pageOpen) return nullptr;
  return dc.printJob->painter.get();
}

int PrinterDeviceCaps(DeviceContext& dc, int index) {
  if (!dc.printJob) return 0;
  QPrinter& printer = *dc.printJob->printer;
  QRect paint = PaintRectDots(printer), full = FullRectDots(printer);
  int dpi = printer.resolution();
  switch (index) {
    case DRIVERVERSION: return 0x400;
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZSIZE: return static_cast<int>(std::lround(paint.width() * 25.4 / dpi));
    case VERTSIZE: return static_cast<int>(std::lround(paint.height() * 25.4 / dpi));
    case HORZRES: return paint.width();
    case VERTRES: return paint.height();
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_BANDING | RC_BITMAP64 | RC_DI_BITMAP | RC_STRETCHBLT | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return dpi;
    case ASPECTXY: return static_cast<int>(std::lround(dpi * std::sqrt(2.0)));
    case LOGPIXELSX:
    case LOGPIXELSY: return dpi;
    case PHYSICALWIDTH: return full.width();
    case PHYSICALHEIGHT: return full.height();
    case PHYSICALOFFSETX: return paint.left();
    case PHYSICALOFFSETY: return paint.top();
    case SCALINGFACTORX:
    case SCALINGFACTORY: return 0;
    default: return 0;
  }
}

void AbortPrintJob(DeviceContext& dc) {
  if (!dc.printJob || !dc.printJob->documentOpen) return;
  PrintJob& job = *dc.printJob;
  if (job.painter && job.painter->isActive() && job.painter->device() == job.printer.get())
    job.printer->abort();
  FinishDocument(job);
  // An abandoned PDF is removed rather than left half written.
  if (job.pdfDocument) job.pdfDocument->document().abandon();
  job.pdfDocument.reset();
  if (job.pdf && !job.outputPath.empty()) QFile::remove(QString::fromStdString(job.outputPath));
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODE* mode) {
  return CreatePrinterContext(driver, device, port, mode, DcKind::Printer);
}

HDC CreateICA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODE* mode) {
  // Information contexts answer like printer DCs; they simply never start a document.
  return CreatePrinterContext(driver, device, port, mode, DcKind::Printer);
}

int StartDocA(HDC handle, const DOCINFOA* info) {
  PrintJob* job = JobOf(handle);
  if (!job || !info || job->documentOpen) return SP_ERROR;
  std::string name = info->lpszDocName && *info->lpszDocName ? info->lpszDocName : "Document";
  std::string output;
  if (info->lpszOutput && *info->lpszOutput) output = HostPathFromWindowsPath(info->lpszOutput);
  else if (job->pdf) output = NextPdfOutputPath(name);
  if (job->pdf && output.empty()) return SP_ERROR;
  if (!output.empty() && !job->pdf) {
    job->printer->setOutputFormat(QPrinter::PdfFormat);
    job->printer->setOutputFileName(QString::fromStdString(output));
  }
  job->printer->setDocName(TextFrom1252(name.c_str(), -1));
  if (job->pdf && gPendingFailure.countdown > 0 && --gPendingFailure.countdown == 0) {
    if (gPendingFailure.at == kPrintFailsAtStartDoc) return SP_ERROR;
    job->failAt = gPendingFailure.at;
    job->failPage = gPendingFailure.page;
  }
  job->outputPath = output;
  job->documentOpen = true;
  job->pagesDone = 0;
  job->copies = job->pdf ? std::max(job->printer->copyCount(), 1) : 1;
  job->collate = job->printer->collateCopies();
  if (job->pdf) {
    QByteArray title = TextFrom1252(name.c_str(), -1).toLatin1();
    job->pdfDocument = std::make_unique<PdfPaintDevice>(std::make_unique<PdfDocument>(
        PdfGeometry(*job->printer), job->printer->colorMode() == QPrinter::GrayScale,
        title.toStdString(), output));
  }
  return gNextJobId++;
}

int StartPage(HDC handle) {
  PrintJob* job = JobOf(handle);
  if (!job || !job->documentOpen || job->pageOpen) return SP_ERROR;
  if (job->failAt == kPrintFailsAtPage && job->pagesDone + 1 == job->failPage) return SP_ERROR;
  if (job->pdfDocument) {
    if (!job->painter) {
      job->painter = std::make_unique<QPainter>();
      if (!job->painter->begin(job->pdfDocument.get())) {
        job->painter.reset();
        return SP_ERROR;
      }
    }
    job->pdfDocument->engine().startPage();
  } else if (!job->painter) {
    job->painter = std::make_unique<QPainter>();
    if (!job->painter->begin(job->printer.get())) {
      job->painter.reset();
      return SP_ERROR;
    }
  } else if (!job->printer->newPage()) {
    return SP_ERROR;
  }
  job->pageOpen = true;
  return 1;
}

int EndPage(HDC handle) {
  PrintJob* job = JobOf(handle);
  if (!job || !job->pageOpen) return SP_ERROR;
  job->pageOpen = false;
  ++job->pagesDone;
  if (job->pdfDocument &&
      !job->pdfDocument->document().addPage(job->pdfDocument->engine().endPage())) {
    AbortPrintJob(*LookupDC(handle));
    return SP_ERROR;
  }
  if (job->abortProc && !job->abortProc(handle, 0)) {
    AbortPrintJob(*LookupDC(handle));
    return SP_APPABORT;
  }
  return 1;
}

int EndDoc(HDC handle) {
  PrintJob* job = JobOf(handle);
  if (!job || !job->documentOpen) return SP_ERROR;
  if (job->pageOpen) EndPage(handle);
  if (!job->documentOpen) return SP_APPABORT;  // the abort procedure ended it
  if (job->failAt == kPrintFailsAtEndDoc) {
    AbortPrintJob(*LookupDC(handle));
    return SP_ERROR;
  }
  FinishDocument(*job);
  if (job->pdfDocument) {
    // A document without pages leaves no file.
    std::unique_ptr<PdfPaintDevice> document = std::move(job->pdfDocument);
    if (document->document().pageCount() > 0 &&
        !document->document().finish(job->copies, job->collate)) {
      document->document().abandon();
      return SP_ERROR;
    }
  }
  return 1;
}

int AbortDoc(HDC handle) {
  PrintJob* job = JobOf(handle);
  if (!job || !job->documentOpen) return SP_ERROR;
  AbortPrintJob(*LookupDC(handle));
  return 1;
}

int SetAbortProc(HDC handle, ABORTPROC proc) {
  PrintJob* job = JobOf(handle);
  if (!job) return SP_ERROR;
  job->abortProc = proc;
  return 1;
}

int Escape(HDC handle, int escape, int inputSize, LPCSTR input, LPVOID output) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || dc->kind != DcKind::Printer) return 0;
  switch (escape) {
    case QUERYESCSUPPORT: {
      if (!input || inputSize < static_cast<int>(sizeof(int))) return 0;
      int asked;
      std::memcpy(&asked, input, sizeof asked);
      switch (asked) {
        case NEWFRAME:
        case ABORTDOC:
        case QUERYESCSUPPORT:
        case SETABORTPROC:
        case STARTDOC:
        case ENDDOC:
        case GETPHYSPAGESIZE:
        case GETPRINTINGOFFSET: return 1;
        default: return 0;
      }
    }
    case GETPHYSPAGESIZE:
    case GETPRINTINGOFFSET: {
      if (!output) return SP_ERROR;
      bool size = escape == GETPHYSPAGESIZE;
      POINT point{PrinterDeviceCaps(*dc, size ? PHYSICALWIDTH : PHYSICALOFFSETX),
                  PrinterDeviceCaps(*dc, size ? PHYSICALHEIGHT : PHYSICALOFFSETY)};
      std::memcpy(output, &point, sizeof point);
      return 1;
    }
    case STARTDOC: {
      std::string name =
          input ? std::string(input, static_cast<size_t>(std::max(0, inputSize))) : "";
      DOCINFOA info{sizeof(DOCINFOA), name.c_str(), nullptr, nullptr, 0};
      int job = StartDocA(handle, &info);
      return job > 0 ? StartPage(handle) : job;
    }
    case NEWFRAME: {
      int ended = EndPage(handle);
      return ended > 0 ? StartPage(handle) : ended;
    }
    case ENDDOC: return EndDoc(handle);
    case ABORTDOC: return AbortDoc(handle);
    case SETABORTPROC:
      return SetAbortProc(handle, reinterpret_cast<ABORTPROC>(const_cast<char*>(input)));
    default: return 0;
  }
}

std::string GdiPrintOutputPath(HDC handle) {
  PrintJob* job = JobOf(handle);
  return job ? job->outputPath : std::string();
}

void GdiFailPdfPrintJob(int nth, GdiPrintFailurePoint at, int page) {
  gPendingFailure.countdown = std::max(nth, 0);
  gPendingFailure.at = at;
  gPendingFailure.page = std::max(page, 1);
}
