/*
** Printing to the "PDF" device: documents land in the private directory, their text reads
** back with pdftotext, page metrics follow the device-mode record, and failures give the
** platform's error values.
*/
#include "platform/gdi/gdi_print.h"
#include "platform/gdi/tests/gdi_test_support.h"
#include "platform/kernel/profile.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

/* Each test prints into its own fresh data root. */
class GdiPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    const char* previous = std::getenv("ZARNE_ROOT");
    previousRoot_ = previous ? previous : "";
    setenv("ZARNE_ROOT", root_.path().toUtf8().constData(), 1);
  }
  void TearDown() override { setenv("ZARNE_ROOT", previousRoot_.c_str(), 1); }
  QString RootPath(const char* relative) const { return root_.path() + "/" + relative; }

  QTemporaryDir root_;
  std::string previousRoot_;
};

HDC PdfDc(const DEVMODE* mode = nullptr) { return CreateDC("winspool", "PDF", "PDF:", mode); }

QString PdfText(const std::string& path, const QStringList& options = {}) {
  QProcess process;
  process.start("pdftotext", options + QStringList{QString::fromStdString(path), "-"});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

/* Prints one line of text per page at one inch from the printable area's top-left corner. */
int PrintPages(HDC dc, const char* name, std::initializer_list<const char*> pages) {
  DOCINFO info{sizeof(DOCINFO), name, nullptr, nullptr, 0};
  int job = StartDoc(dc, &info);
  if (job <= 0) return job;
  HFONT font = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  for (const char* text : pages) {
    if (StartPage(dc) <= 0) return SP_ERROR;
    SaveDC(dc);
    SetMapMode(dc, MM_LOENGLISH);
    HGDIOBJ old = SelectObject(dc, font);
    TextOut(dc, 100, -100, text, static_cast<int>(std::strlen(text)));
    MoveToEx(dc, 100, -200, nullptr);
    LineTo(dc, 700, -200);
    SelectObject(dc, old);
    RestoreDC(dc, -1);
    if (EndPage(dc) <= 0) return SP_ERROR;
  }
  DeleteObject(font);
  return EndDoc(dc);
}

}  // namespace

TEST_F(GdiPrint, TwoPageDocumentReadsBackFromThePrivateDirectory) {
  HDC dc = PdfDc();
  ASSERT_NE(dc, nullptr);
  ASSERT_GT(PrintPages(dc, "Closing Statement", {"Borrower page one", "Seller page two"}), 0);
  std::string path = GdiPrintOutputPath(dc);
  EXPECT_EQ(QString::fromStdString(path),
            RootPath("drive_c/Zarne/Private/Closing Statement-1.pdf"));
  QString text = PdfText(path);
  EXPECT_TRUE(text.contains("Borrower page one")) << text.toStdString();
  EXPECT_TRUE(text.contains("Seller page two"));
  EXPECT_EQ(text.count('\f'), 2);  // one form feed after each page
  EXPECT_LT(text.indexOf("Borrower"), text.indexOf("Seller"));
  // The next document of the same name takes the next number.
  ASSERT_GT(PrintPages(dc, "Closing Statement", {"Again"}), 0);
  EXPECT_EQ(QString::fromStdString(GdiPrintOutputPath(dc)),
            RootPath("drive_c/Zarne/Private/Closing Statement-2.pdf"));
  DeleteDC(dc);
}

TEST_F(GdiPrint, TextLandsAtItsLogicalPositionOnThePage) {
  HDC dc = PdfDc();
  ASSERT_GT(PrintPages(dc, "Placement", {"Marker"}), 0);
  // One inch right and down from a printable area that starts a quarter inch in: 90 points.
  QString box = PdfText(GdiPrintOutputPath(dc), {"-bbox"});
  QRegularExpression word(
      R"re(xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">Marker<)re");
  QRegularExpressionMatch match = word.match(box);
  ASSERT_TRUE(match.hasMatch()) << box.toStdString();
  EXPECT_NEAR(match.captured(1).toDouble(), 90.0, 1.5);
  EXPECT_NEAR(match.captured(2).toDouble(), 90.0, 3.0);
  // A character height of 0.16 inch is 11.5 points; the word box is the font's cell.
  EXPECT_NEAR(match.captured(4).toDouble() - match.captured(2).toDouble(), 0.16 * 72 * 1.15, 3.0);
  DeleteDC(dc);
}

TEST_F(GdiPrint, ThePrivateDirectoryComesFromZarneIni) {
  ASSERT_EQ(WritePrivateProfileString("System", "DirPrivate", "C:\\Office\\Priv", "zarne.ini"),
            TRUE);
  HDC dc = PdfDc();
  ASSERT_GT(PrintPages(dc, "Check", {"Pay to the order of"}), 0);
  EXPECT_EQ(QString::fromStdString(GdiPrintOutputPath(dc)),
            RootPath("drive_c/Office/Priv/Check-1.pdf"));
  EXPECT_TRUE(QFile::exists(RootPath("drive_c/Office/Priv/Check-1.pdf")));
  DeleteDC(dc);
  // An explicit output path wins; unsafe characters in a document name do not make folders.
  HDC named = PdfDc();
  std::string output = RootPath("explicit.pdf").toStdString();
  DOCINFO info{sizeof(DOCINFO), "a/b", output.c_str(), nullptr, 0};
  ASSERT_GT(StartDoc(named, &info), 0);
  StartPage(named);
  EndPage(named);
  EndDoc(named);
  EXPECT_TRUE(QFile::exists(RootPath("explicit.pdf")));
  HDC unsafe = PdfDc();
  ASSERT_GT(PrintPages(unsafe, "1099/Export", {"x"}), 0);
  EXPECT_TRUE(QFile::exists(RootPath("drive_c/Office/Priv/1099_Export-1.pdf")));
  DeleteDC(named);
  DeleteDC(unsafe);
}

TEST_F(GdiPrint, PageMetricsFollowTheDeviceMode) {
  DEVMODE mode{};
  ASSERT_EQ(GdiDefaultDevMode("PDF", &mode), TRUE);
  EXPECT_EQ(mode.dmSize, sizeof(DEVMODE));
  EXPECT_EQ(mode.dmSpecVersion, DM_SPECVERSION);
  EXPECT_STREQ(reinterpret_cast<const char*>(mode.dmDeviceName), "PDF");
  EXPECT_EQ(mode.dmPaperSize, DMPAPER_LETTER);
  HDC dc = PdfDc(&mode);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 5100);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 6600);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 150);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 4800);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 6300);
  // The report page width of the accounting reports: HORZRES x 100 / LOGPIXELSX - 2.
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES) * 100 / GetDeviceCaps(dc, LOGPIXELSX) - 2, 798);
  // A memory DC made for the printer maps fixed modes at the printer's resolution.
  HDC memory = CreateCompatibleDC(dc);
  SetMapMode(memory, MM_LOENGLISH);
  POINT inch{100, -100};
  LPtoDP(memory, &inch, 1);
  EXPECT_EQ(inch.x, 600);
  EXPECT_EQ(inch.y, 600);
  DeleteDC(memory);
  POINT size{};
  int query = GETPHYSPAGESIZE;
  EXPECT_EQ(Escape(dc, QUERYESCSUPPORT, sizeof query, reinterpret_cast<LPCSTR>(&query), nullptr),
            1);
  EXPECT_EQ(Escape(dc, GETPHYSPAGESIZE, 0, nullptr, &size), 1);
  EXPECT_EQ(size.x, 5100);
  DeleteDC(dc);
  mode.dmOrientation = DMORIENT_LANDSCAPE;
  mode.dmPaperSize = DMPAPER_LEGAL;
  HDC landscape = PdfDc(&mode);
  EXPECT_EQ(GetDeviceCaps(landscape, PHYSICALWIDTH), 8400);
  EXPECT_EQ(GetDeviceCaps(landscape, PHYSICALHEIGHT), 5100);
  DeleteDC(landscape);
}

TEST_F(GdiPrint, AShortDeviceModeIsReadOnlyAsFarAsItsSize) {
  // An older record whose size ends after dmOrientation: the paper size behind it is not its own.
  DEVMODE mode{};
  GdiDefaultDevMode("PDF", &mode);
  mode.dmOrientation = DMORIENT_LANDSCAPE;
  mode.dmPaperSize = DMPAPER_LEGAL;
  mode.dmSize = offsetof(DEVMODE, dmPaperSize);
  HDC dc = PdfDc(&mode);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 6600);  // landscape letter, not legal
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 5100);
  DeleteDC(dc);
  mode.dmSize = 10;  // not even a fields mask: the printer's defaults
  HDC defaults = PdfDc(&mode);
  EXPECT_EQ(GetDeviceCaps(defaults, PHYSICALWIDTH), 5100);
  DeleteDC(defaults);
}

TEST_F(GdiPrint, PdfIsAlwaysOfferedAndDefaultsExist) {
  std::vector<GdiPrinter> printers = GdiListPrinters();
  ASSERT_FALSE(printers.empty());
  EXPECT_EQ(printers.back().device, "PDF");
  EXPECT_EQ(printers.back().port, "PDF:");
  GdiPrinter fallback = GdiDefaultPrinter();
  bool listed = false;
  for (const GdiPrinter& printer : printers) listed |= printer.device == fallback.device;
  EXPECT_TRUE(listed);
  DEVMODE mode{};
  EXPECT_EQ(GdiDefaultDevMode(fallback.device.c_str(), &mode), TRUE);
  EXPECT_EQ(GdiDefaultDevMode("No Such Printer", &mode), FALSE);
}

TEST_F(GdiPrint, AbortedDocumentsLeaveNoFile) {
  HDC dc = PdfDc();
  DOCINFO info{sizeof(DOCINFO), "Aborted", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(dc, &info), 0);
  StartPage(dc);
  TextOut(dc, 0, 0, "partial", 7);
  EXPECT_GT(AbortDoc(dc), 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(GdiPrintOutputPath(dc))));
  // An abort procedure that answers FALSE ends the job at the page's end.
  SetAbortProc(dc, [](HDC, int) -> BOOL { return FALSE; });
  ASSERT_GT(StartDoc(dc, &info), 0);
  StartPage(dc);
  EXPECT_EQ(EndPage(dc), SP_APPABORT);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(GdiPrintOutputPath(dc))));
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  DeleteDC(dc);
}

TEST_F(GdiPrint, FailuresGiveErrorValues) {
  EXPECT_EQ(CreateDC("winspool", "No Such Printer", "LPT1:", nullptr), nullptr);
  EXPECT_EQ(CreateDC(nullptr, nullptr, nullptr, nullptr), nullptr);
  HDC dc = PdfDc();
  EXPECT_EQ(StartPage(dc), SP_ERROR);  // no document yet
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  EXPECT_EQ(StartDoc(dc, nullptr), SP_ERROR);
  EXPECT_EQ(StartDoc(nullptr, nullptr), SP_ERROR);
  DOCINFO info{sizeof(DOCINFO), "Twice", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(dc, &info), 0);
  EXPECT_EQ(StartDoc(dc, &info), SP_ERROR);
  EXPECT_EQ(EndPage(dc), SP_ERROR);  // no page open
  // Deleting the DC mid-document abandons the job without a crash.
  EXPECT_EQ(DeleteDC(dc), TRUE);
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  QImage image = WhiteImage(4, 4);
  HDC surface = GdiCreateSurfaceDC(&image, QPoint(), QRegion());
  EXPECT_EQ(StartDoc(surface, &info), SP_ERROR);  // not a printer
  GdiReleaseSurfaceDC(surface);
  HDC display = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(GetDeviceCaps(display, LOGPIXELSX), 96);
  DeleteDC(display);
}
