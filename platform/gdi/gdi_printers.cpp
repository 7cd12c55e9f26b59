/*
** The machine's printers and the "PDF" device: listing, defaults, device-mode records and
** the folder documents printed to PDF land in.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_printers.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstring>

namespace zarne::gdi {

namespace {

constexpr const char* kPdfDevice = "PDF";
constexpr const char* kDriver = "winspool";
constexpr const char* kPdfPort = "PDF:";
constexpr const char* kSystemPort = "CUPS:";
/* PDF pages are printed at a laser printer's resolution with its unprintable margin. */
constexpr int kPdfResolution = 600;
constexpr double kPdfMarginInches = 0.25;

struct PaperMapping {
  SHORT paper;
  QPageSize::PageSizeId size;
};

constexpr PaperMapping kPapers[] = {
    {DMPAPER_LETTER, QPageSize::Letter}, {DMPAPER_LEGAL, QPageSize::Legal},
    {DMPAPER_A4, QPageSize::A4},         {DMPAPER_EXECUTIVE, QPageSize::Executive},
    {DMPAPER_A5, QPageSize::A5},         {DMPAPER_TABLOID, QPageSize::Tabloid},
    {DMPAPER_ENV_10, QPageSize::Comm10E}};

bool IsPdfDevice(const char* device) { return device && QString::fromLatin1(device).compare(kPdfDevice, Qt::CaseInsensitive) == 0; }

QPrinterInfo SystemPrinter(const char* device) {
  if (!device || !*device) return QPrinterInfo();
  QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromLatin1(device));
  return info.isNull() ? QPrinterInfo() : info;
}

SHORT PaperOf(const QPageSize& size) {
  for (const PaperMapping& mapping : kPapers)
    if (mapping.size == size.id()) return mapping.paper;
  return DMPAPER_LETTER;
}

QPageSize PageSizeOf(const DEVMODE& mode) {
  if ((mode.dmFields & DM_PAPERLENGTH) && (mode.dmFields & DM_PAPERWIDTH) && mode.dmPaperLength > 0 &&
      mode.dmPaperWidth > 0)
    return QPageSize(QSizeF(mode.dmPaperWidth / 10.0, mode.dmPaperLength / 10.0), QPageSize::Millimeter);
  if (mode.dmFields & DM_PAPERSIZE)
    for (const PaperMapping& mapping : kPapers)
      if (mapping.paper == mode.dmPaperSize) return QPageSize(mapping.size);
  return QPageSize(QPageSize::Letter);
}

void ApplyDevMode(QPrinter& printer, const DEVMODE& mode) {
  printer.setPageSize(PageSizeOf(mode));
  if (mode.dmFields & DM_ORIENTATION)
    printer.setPageOrientation(mode.dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait);
  if ((mode.dmFields & DM_COPIES) && mode.dmCopies > 0) printer.setCopyCount(mode.dmCopies);
  if (mode.dmFields & DM_COLLATE) printer.setCollateCopies(mode.dmCollate == DMCOLLATE_TRUE);
  if (mode.dmFields & DM_COLOR)
    printer.setColorMode(mode.dmColor == DMCOLOR_COLOR ? QPrinter::Color : QPrinter::GrayScale);
  if (mode.dmFields & DM_DUPLEX)
    printer.setDuplex(mode.dmDuplex == DMDUP_VERTICAL     ? QPrinter::DuplexLongSide
                      : mode.dmDuplex == DMDUP_HORIZONTAL ? QPrinter::DuplexShortSide
                                                          : QPrinter::DuplexNone);
}

std::string SafeFileName(const std::string& name) {
  std::string safe;
  for (char c : name) safe.push_back(std::strchr("/\\:*?\"<>|", c) || static_cast<unsigned char>(c) < 0x20 ? '_' : c);
  return QString::fromStdString(safe).trimmed().isEmpty() ? std::string("Document") : safe;
}

}  // namespace

std::unique_ptr<QPrinter> MakePrinter(const char* device, const DEVMODE* mode, bool* pdf) {
  *pdf = IsPdfDevice(device);
  std::unique_ptr<QPrinter> printer;
  if (*pdf) {
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(kPdfResolution);
  } else {
    QPrinterInfo info = SystemPrinter(device);
    if (info.isNull()) return nullptr;
    printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  }
  printer->setFullPage(false);
  DEVMODE defaults{};
  GdiDefaultDevMode(device, &defaults);
  ApplyDevMode(*printer, mode ? *mode : defaults);
  if (*pdf) {
    QMarginsF margins(kPdfMarginInches, kPdfMarginInches, kPdfMarginInches, kPdfMarginInches);
    printer->setPageMargins(margins * 25.4, QPageLayout::Millimeter);
  }
  return printer;
}

std::string NextPdfOutputPath(const std::string& documentName) {
  std::string directory = GdiPdfOutputDirectory();
  if (directory.empty()) return std::string();
  std::string stem = directory + "/" + SafeFileName(documentName) + "-";
  for (int n = 1; n < 100000; ++n) {
    std::string candidate = stem + std::to_string(n) + ".pdf";
    if (!QFileInfo::exists(QString::fromStdString(candidate))) return candidate;
  }
  return std::string();
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

std::vector<GdiPrinter> GdiListPrinters() {
  std::vector<GdiPrinter> printers;
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
    printers.push_back({info.printerName().toStdString(), kDriver, kSystemPort});
  printers.push_back({kPdfDevice, kDriver, kPdfPort});
  return printers;
}

GdiPrinter GdiDefaultPrinter() {
  QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (!info.isNull() && !info.printerName().isEmpty()) return {info.printerName().toStdString(), kDriver, kSystemPort};
  return {kPdfDevice, kDriver, kPdfPort};
}

BOOL GdiDefaultDevMode(LPCSTR device, DEVMODE* mode) {
  if (!device || !mode) return FALSE;
  bool pdf = IsPdfDevice(device);
  QPrinterInfo info = pdf ? QPrinterInfo() : SystemPrinter(device);
  if (!pdf && info.isNull()) return FALSE;
  DEVMODE defaults{};
  std::strncpy(reinterpret_cast<char*>(defaults.dmDeviceName), device, CCHDEVICENAME - 1);
  defaults.dmSpecVersion = DM_SPECVERSION;
  defaults.dmDriverVersion = 0x0100;
  defaults.dmSize = sizeof(DEVMODE);
  defaults.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY |
                      DM_COLOR | DM_DUPLEX | DM_YRESOLUTION | DM_COLLATE;
  defaults.dmOrientation = DMORIENT_PORTRAIT;
  defaults.dmPaperSize = pdf ? DMPAPER_LETTER : PaperOf(info.defaultPageSize());
  defaults.dmScale = 100;
  defaults.dmCopies = 1;
  defaults.dmDefaultSource = DMBIN_AUTO;
  defaults.dmPrintQuality = pdf ? kPdfResolution : 600;
  defaults.dmYResolution = defaults.dmPrintQuality;
  defaults.dmColor = pdf || info.supportedColorModes().contains(QPrinter::Color) ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
  defaults.dmDuplex = DMDUP_SIMPLEX;
  defaults.dmCollate = DMCOLLATE_TRUE;
  *mode = defaults;
  return TRUE;
}

std::string GdiPdfOutputDirectory() {
  char configured[256] = "";
  GetPrivateProfileString("System", "DirPrivate", "", configured, sizeof configured, "zarne.ini");
  std::string windowsPath = configured[0] ? configured : "C:\\Zarne\\Private";
  std::string host = HostPathFromWindowsPath(windowsPath.c_str());
  if (host.empty() || !MakeHostDirectories(host)) return std::string();
  return host;
}
