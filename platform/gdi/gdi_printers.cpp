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

#include <algorithm>
#include <cstddef>
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

bool IsPdfDevice(const char* device) {
  return device && QString::fromLatin1(device).compare(kPdfDevice, Qt::CaseInsensitive) == 0;
}

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
  if ((mode.dmFields & DM_PAPERLENGTH) && (mode.dmFields & DM_PAPERWIDTH) &&
      mode.dmPaperLength > 0 && mode.dmPaperWidth > 0)
    return QPageSize(QSizeF(mode.dmPaperWidth / 10.0, mode.dmPaperLength / 10.0),
                     QPageSize::Millimeter);
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

/* A document name as a file name: Windows-1252 text made UTF-8, characters that would make
   folders or trouble replaced, and kept short enough for any file system. */
std::string SafeFileName(const std::string& name) {
  constexpr int kMaxNameLength = 100;
  QString safe = TextFrom1252(name.c_str(), static_cast<int>(name.size())).left(kMaxNameLength);
  for (QChar& c : safe)
    if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) c = '_';
  safe = safe.trimmed();
  return safe.isEmpty() ? std::string("Document") : safe.toStdString();
}

/* A device-mode record as far as its own size says it reaches: a shorter record from an
   older settings file leaves the later fields zero instead of reading past its end. */
DEVMODE UsableDevMode(const DEVMODE& given) {
  DEVMODE mode{};
  size_t size = std::min<size_t>(given.dmSize, sizeof(DEVMODE));
  constexpr size_t kFieldsEnd = offsetof(DEVMODE, dmFields) + sizeof(DWORD);
  if (size < kFieldsEnd) return mode;  // no fields mask: nothing can be trusted
  std::memcpy(&mode, &given, size);
  mode.dmSize = sizeof(DEVMODE);
  return mode;
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
  ApplyDevMode(*printer, mode ? UsableDevMode(*mode) : defaults);
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
  if (!info.isNull() && !info.printerName().isEmpty())
    return {info.printerName().toStdString(), kDriver, kSystemPort};
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
  defaults.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_DEFAULTSOURCE |
                      DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_YRESOLUTION | DM_COLLATE;
  defaults.dmOrientation = DMORIENT_PORTRAIT;
  defaults.dmPaperSize = pdf ? DMPAPER_LETTER : PaperOf(info.defaultPageSize());
  defaults.dmScale = 100;
  defaults.dmCopies = 1;
  defaults.dmDefaultSource = DMBIN_AUTO;
  defaults.dmPrintQuality = pdf ? kPdfResolution : 600;
  defaults.dmYResolution = defaults.dmPrintQuality;
  defaults.dmColor = pdf || info.supportedColorModes().contains(QPrinter::Color)
                         ? DMCOLOR_COLOR
                         : DMCOLOR_MONOCHROME;
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
