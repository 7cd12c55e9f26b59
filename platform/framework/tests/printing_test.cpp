/*
** Printing: the page loop of TPrinter over a TPrintout, to the "PDF" device without a dialog,
** read back with pdftotext; printer failures reported; a cancelled job stops after its page.
*/
#include "platform/framework/printer.h"
#include "platform/framework/window.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/printed_pdfs.h"
#include "platform/user/winuser.h"

#include <QImage>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TTwoPages : public TPrintout {
 public:
  explicit TTwoPages(const char* title) : TPrintout(title) {}
  bool HasPage(int page) override { return page <= lastPage; }
  void BeginPrinting() override { calls.push_back("begin printing"); }
  void BeginDocument(int from, int to, unsigned) override {
    calls.push_back("begin document " + std::to_string(from) +
                    (to > 1000 ? " all" : " " + std::to_string(to)));
    if (failAtDocument) failAtDocument();
  }
  void PrintPage(int page, TRect& rect, unsigned) override {
    calls.push_back("page " + std::to_string(page));
    pageRect = rect;
    sizeSeen = GetPageSize();
    TPrintDC& dc = *GetPrintDC();
    dc.SetMapMode(MM_LOENGLISH);
    TFont font("Arial", 40);
    dc.SelectObject(font);
    std::string text = "Printout page " + std::to_string(page) + " of " + Title;
    dc.TextOut(100, -100, text.c_str());
    dc.RestoreFont();
    if (page == abortAtPage) TPrinter::SetUserAbort();
  }
  void EndDocument() override { calls.push_back("end document"); }
  void EndPrinting() override { calls.push_back("end printing"); }

  int lastPage = 2;
  int abortAtPage = 0;
  std::function<void()> failAtDocument;
  std::vector<std::string> calls;
  TRect pageRect;
  TSize sizeSeen;
};

class PrintingTest : public GuiTest {
 protected:
  void UsePdfPrinter(TPrinter& printer) {
    printer.GetSetup().SetDevNames("winspool", "PDF", "PDF:");
    DEVMODE mode{};
    ASSERT_TRUE(GdiDefaultDevMode("PDF", &mode));
    printer.GetSetup().SetDevMode(&mode);
  }
  std::vector<fs::path> PdfFiles() {
    std::vector<std::string> files = PrintedPdfs();
    return std::vector<fs::path>(files.begin(), files.end());
  }
  static std::string PdfText(const fs::path& pdf) { return PdfLayoutText(pdf.string()); }
};

TEST_F(PrintingTest, TwoPagePrintoutGoesToPdfWithoutADialog) {
  TPrinter printer;
  UsePdfPrinter(printer);
  TTwoPages printout("Two Pages");
  EXPECT_TRUE(printer.Print(nullptr, printout, false));
  EXPECT_EQ(printer.GetError(), 0);
  EXPECT_EQ(printout.calls,
            (std::vector<std::string>{"begin printing", "begin document 1 all", "page 1", "page 2",
                                      "end document", "end printing"}));
  EXPECT_GT(printout.sizeSeen.cx, 0);
  EXPECT_EQ(printout.pageRect, TRect(TPoint(0, 0), printout.sizeSeen));
  EXPECT_EQ(printout.GetPrintDC(), nullptr);  // the DC is gone with the job
  std::vector<fs::path> files = PdfFiles();
  ASSERT_EQ(files.size(), 1u);
  std::string text = PdfText(files[0]);
  size_t first = text.find("Printout page 1 of Two Pages");
  size_t second = text.find("Printout page 2 of Two Pages");
  ASSERT_NE(first, std::string::npos) << text;
  ASSERT_NE(second, std::string::npos) << text;
  EXPECT_NE(text.find('\f', first), std::string::npos);  // a page break between them
  EXPECT_LT(text.find('\f', first), second);
  // The user is told where the document went, by the path the desktop opens it at.
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Printed to a File");
  EXPECT_EQ(Boxes().Shown()[0].text,
            "\"Two Pages\" was printed to the PDF file\n" + files[0].string());
}

TEST_F(PrintingTest, JobsPrintedAsOneTaskAreToldInOneMessage) {
  TPrinter printer;
  UsePdfPrinter(printer);
  printer.TellEachFile = false;
  for (int job = 0; job < 3; ++job) {
    TTwoPages printout("Check");
    ASSERT_TRUE(printer.Print(nullptr, printout, false));
  }
  EXPECT_TRUE(Boxes().Shown().empty());
  printer.TellPrintedFiles(nullptr, "Check");
  std::vector<fs::path> files = PdfFiles();
  ASSERT_EQ(files.size(), 3u);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text,
            "\"Check\" was printed to 3 PDF files in\n" + files[0].parent_path().string() + "/\n" +
                files[0].filename().string() + "\n" + files[1].filename().string() + "\n" +
                files[2].filename().string());
  // Told once: a second telling without new jobs says nothing.
  printer.TellPrintedFiles(nullptr, "Check");
  EXPECT_EQ(Boxes().Shown().size(), 1u);
  // A run too long to list names its first and last file.
  for (int job = 0; job < 9; ++job) {
    TTwoPages printout("Run");
    ASSERT_TRUE(printer.Print(nullptr, printout, false));
  }
  printer.TellPrintedFiles(nullptr, "Run");
  files = PdfFiles();
  std::vector<fs::path> run;
  for (const fs::path& file : files)
    if (file.filename().string().rfind("Run-", 0) == 0) run.push_back(file);
  ASSERT_EQ(run.size(), 9u);
  std::sort(run.begin(), run.end(), [](const fs::path& a, const fs::path& b) {
    return std::stoi(a.stem().string().substr(4)) < std::stoi(b.stem().string().substr(4));
  });
  ASSERT_EQ(Boxes().Shown().size(), 2u);
  EXPECT_EQ(Boxes().Shown()[1].text,
            "\"Run\" was printed to 9 PDF files in\n" + run[0].parent_path().string() + "/\n" +
                run.front().filename().string() + " to " + run.back().filename().string());
}

/* The page texts of a PDF, in order. */
std::vector<std::string> PageTexts(const std::string& text) {
  std::vector<std::string> pages;
  std::istringstream in(text);
  for (std::string page; std::getline(in, page, '\f');) {
    size_t start = page.find_first_not_of(" \n");
    if (start == std::string::npos) continue;
    size_t end = page.find_last_not_of(" \n");
    pages.push_back(page.substr(start, end - start + 1));
  }
  return pages;
}

/* One page of a PDF as pixels (pdftoppm at a low resolution). */
QImage PdfPage(const fs::path& pdf, int page) {
  fs::path prefix = pdf.parent_path() / ("page-" + std::to_string(page));
  std::string command = "pdftoppm -r 40 -png -singlefile -f " + std::to_string(page) + " -l " +
                        std::to_string(page) + " '" + pdf.string() + "' '" + prefix.string() + "'";
  if (std::system(command.c_str()) != 0) return QImage();
  return QImage(QString::fromStdString(prefix.string() + ".png"));
}

TEST_F(PrintingTest, TwoCopiesAreMadeByTheDeviceFromOnePassOfThePages) {
  TPrinter printer;
  UsePdfPrinter(printer);
  printer.GetSetup().Copies = 2;
  TTwoPages printout("Copies");
  EXPECT_TRUE(printer.Print(nullptr, printout, false));
  // The page loop ran once: a printout of running totals cannot be rewound.
  EXPECT_EQ(printout.calls,
            (std::vector<std::string>{"begin printing", "begin document 1 all", "page 1", "page 2",
                                      "end document", "end printing"}));
  std::vector<fs::path> files = PdfFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(PageTexts(PdfText(files[0])),
            (std::vector<std::string>{"Printout page 1 of Copies", "Printout page 2 of Copies",
                                      "Printout page 1 of Copies", "Printout page 2 of Copies"}));
  // Each copy looks as a page printed once does.
  fs::path twoCopies = files[0].parent_path() / "two-copies.pdf";
  fs::rename(files[0], twoCopies);
  printer.GetSetup().Copies = 1;
  TTwoPages single("Copies");
  ASSERT_TRUE(printer.Print(nullptr, single, false));
  files = PdfFiles();
  ASSERT_EQ(files.size(), 2u);
  fs::path once = files[0] == twoCopies ? files[1] : files[0];
  QImage direct = PdfPage(once, 1), firstCopy = PdfPage(twoCopies, 1),
         secondCopy = PdfPage(twoCopies, 3);
  ASSERT_FALSE(direct.isNull());
  EXPECT_EQ(firstCopy, direct);
  EXPECT_EQ(secondCopy, direct);
  EXPECT_NE(PdfPage(twoCopies, 2), direct);
}

TEST_F(PrintingTest, UncollatedCopiesRepeatEachPageInTurn) {
  TPrinter printer;
  UsePdfPrinter(printer);
  DEVMODE mode = *printer.GetSetup().GetDevMode();
  mode.dmCopies = 2;
  mode.dmCollate = DMCOLLATE_FALSE;
  mode.dmFields |= DM_COPIES | DM_COLLATE;
  printer.GetSetup().SetDevMode(&mode);  // the driver's copies, as the print dialog leaves them
  TTwoPages printout("Sorted");
  EXPECT_TRUE(printer.Print(nullptr, printout, false));
  EXPECT_EQ(std::count(printout.calls.begin(), printout.calls.end(), "page 1"), 1);
  std::vector<fs::path> files = PdfFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(PageTexts(PdfText(files[0])),
            (std::vector<std::string>{"Printout page 1 of Sorted", "Printout page 1 of Sorted",
                                      "Printout page 2 of Sorted", "Printout page 2 of Sorted"}));
}

TEST_F(PrintingTest, ParentTakesNoInputWhilePagesGoOut) {
  TWindow parent(nullptr, "Parent");
  ASSERT_TRUE(parent.Create());
  TPrinter printer;
  UsePdfPrinter(printer);
  TTwoPages printout("Quiet");
  bool enabledWhilePrinting = true;
  printout.failAtDocument = [&] { enabledWhilePrinting = parent.IsWindowEnabled(); };
  EXPECT_TRUE(printer.Print(&parent, printout, false));
  EXPECT_FALSE(enabledWhilePrinting);
  EXPECT_TRUE(parent.IsWindowEnabled());
}

TEST_F(PrintingTest, HasPageAloneEndsAJobThatOffersOnePageInTheDialog) {
  // A report that keeps the base's dialog range (one page) still prints every page it has.
  TPrinter printer;
  UsePdfPrinter(printer);
  TTwoPages printout("Long Report");
  printout.lastPage = 5;
  EXPECT_TRUE(printer.Print(nullptr, printout, false));
  EXPECT_EQ(std::count(printout.calls.begin(), printout.calls.end(), "page 5"), 1);
  EXPECT_EQ(std::count(printout.calls.begin(), printout.calls.end(), "page 6"), 0);
}

TEST_F(PrintingTest, PrinterFailingInTheMiddleOfTheDocumentIsReported) {
  TPrinter printer;
  UsePdfPrinter(printer);
  TTwoPages printout("Lost Output");
  // Once the document has started, its output directory disappears under it.
  printout.failAtDocument = [] {
    fs::path dir = GdiPdfOutputDirectory();
    fs::remove_all(dir);
    std::ofstream(dir.string()) << "a file where the directory was";
  };
  EXPECT_FALSE(printer.Print(nullptr, printout, false));
  EXPECT_EQ(printer.GetError(), SP_ERROR);
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Printer Error");
  EXPECT_NE(Boxes().Shown()[0].text.find("Lost Output"), std::string::npos);
  EXPECT_EQ(printout.calls.back(), "end printing");
  // The program goes on: the next job prints once the directory is back.
  fs::remove(GdiPdfOutputDirectory());
  TTwoPages next("After Failure");
  EXPECT_TRUE(printer.Print(nullptr, next, false));
}

TEST_F(PrintingTest, CancelledJobStopsAfterThePageAndIsNotAnError) {
  TPrinter printer;
  UsePdfPrinter(printer);
  TTwoPages printout("Cancelled");
  printout.lastPage = 4;
  printout.abortAtPage = 1;
  EXPECT_FALSE(printer.Print(nullptr, printout, false));
  EXPECT_EQ(printer.GetError(), SP_APPABORT);
  EXPECT_EQ(std::count(printout.calls.begin(), printout.calls.end(), "page 2"), 0);
  EXPECT_TRUE(Boxes().Shown().empty());
  EXPECT_TRUE(PdfFiles().empty());  // an abandoned document leaves no file
}

TEST_F(PrintingTest, UnknownPrinterIsReportedAndNothingPrints) {
  TPrinter printer;
  printer.GetSetup().SetDevNames("winspool", "No Such Printer", "LPT9:");
  printer.GetSetup().ClearDevMode();
  TTwoPages printout("Nowhere");
  EXPECT_FALSE(printer.Print(nullptr, printout, false));
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Printer Error");
  EXPECT_TRUE(printout.calls.empty());
}

}  // namespace
