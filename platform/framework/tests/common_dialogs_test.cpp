/*
** The common-dialog wrappers: the print and print-setup dialogs on the print data, printing
** after the print dialog (its page range, its Cancel), the default printer without a dialog,
** and the open and save file dialogs on their data records.
*/
#include "platform/framework/file_dialogs.h"
#include "platform/framework/printer.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class TPagesPrintout : public TPrintout {
 public:
  TPagesPrintout() : TPrintout("Pages") {}
  bool HasPage(int page) override { return page <= 3; }
  void GetDialogInfo(int& minPage, int& maxPage, int& selFrom, int& selTo) override {
    minPage = 1;
    maxPage = 3;
    selFrom = selTo = 0;
  }
  void PrintPage(int page, TRect&, unsigned) override { pages.push_back(page); }
  std::vector<int> pages;
};

class CommonDialogsTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    previousPrint = SetPrintDialogPresenter([this](const PrintDialogRequest& request) {
      requests.push_back(request);
      return answer;
    });
    previousFile = SetFileDialogPresenter([this](const FileDialogRequest& request) {
      fileRequests.push_back(request);
      return fileAnswer;
    });
  }
  void TearDown() override {
    SetPrintDialogPresenter(previousPrint);
    SetFileDialogPresenter(previousFile);
    GuiTest::TearDown();
  }
  void UsePdf(TPrinter& printer) {
    printer.GetSetup().SetDevNames("winspool", "PDF", "PDF:");
    DEVMODE mode{};
    GdiDefaultDevMode("PDF", &mode);
    printer.GetSetup().SetDevMode(&mode);
  }
  PrintDialogPresenter previousPrint;
  FileDialogPresenter previousFile;
  std::vector<PrintDialogRequest> requests;
  std::vector<FileDialogRequest> fileRequests;
  PrintDialogAnswer answer;
  FileDialogAnswer fileAnswer;
};

TEST_F(CommonDialogsTest, PrintDialogPageRangeDecidesThePagesPrinted) {
  TPrinter printer;
  UsePdf(printer);
  answer.accepted = true;
  answer.device = "PDF";
  GdiDefaultDevMode("PDF", &answer.mode);
  answer.flags = PD_PAGENUMS;
  answer.fromPage = 2;
  answer.toPage = 2;
  answer.copies = 1;
  TPagesPrintout printout;
  EXPECT_TRUE(printer.Print(nullptr, printout, true));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_FALSE(requests[0].setup);
  EXPECT_EQ(requests[0].maxPage, 3);
  EXPECT_EQ(printout.pages, std::vector<int>{2});
}

TEST_F(CommonDialogsTest, PrintDialogProposesThePrintoutsPagesUnlessARangeWasChosen) {
  TPrinter printer;
  UsePdf(printer);
  answer.accepted = false;
  TPagesPrintout printout;
  // Fresh print data has no range: all three pages are proposed, not "To: 1".
  printer.Print(nullptr, printout, true);
  // A range chosen before is kept where it lies within the pages, else cut to them.
  printer.GetSetup().Flags |= PD_PAGENUMS;
  printer.GetSetup().FromPage = 2;
  printer.GetSetup().ToPage = 2;
  printer.Print(nullptr, printout, true);
  printer.GetSetup().ToPage = 9;
  printer.Print(nullptr, printout, true);
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(std::vector<int>({requests[0].minPage, requests[0].fromPage, requests[0].toPage,
                              requests[0].maxPage}),
            std::vector<int>({1, 1, 3, 3}));
  EXPECT_EQ(std::vector<int>({requests[1].fromPage, requests[1].toPage}), std::vector<int>({2, 2}));
  EXPECT_EQ(std::vector<int>({requests[2].fromPage, requests[2].toPage}), std::vector<int>({2, 3}));
}

/* The pages of the one PDF the test printed, by pdfinfo. */
int PdfPageCount() {
  std::filesystem::path dir = GdiPdfOutputDirectory();
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".pdf") continue;
    std::string command = "pdfinfo '" + entry.path().string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char line[256];
    int pages = -1;
    while (std::fgets(line, sizeof line, pipe))
      if (std::sscanf(line, "Pages: %d", &pages) == 1) break;
    pclose(pipe);
    return pages;
  }
  return 0;
}

TEST_F(CommonDialogsTest, CopiesChosenInTheDialogArePrintedOnceEach) {
  TPrinter printer;
  UsePdf(printer);
  answer.accepted = true;
  answer.device = "PDF";
  GdiDefaultDevMode("PDF", &answer.mode);
  answer.copies = 2;
  TPagesPrintout printout;
  EXPECT_TRUE(printer.Print(nullptr, printout, true));
  // The pages are one pass; the device makes the second copy of them.
  EXPECT_EQ(printout.pages, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(PdfPageCount(), 6);
  // The count is the job's: the printer's mode kept in the printer settings still says one.
  ASSERT_NE(printer.GetSetup().GetDevMode(), nullptr);
  EXPECT_EQ(printer.GetSetup().GetDevMode()->dmCopies, 1);
}

TEST_F(CommonDialogsTest, CancelledPrintDialogPrintsNothingAndShowsNoError) {
  TPrinter printer;
  UsePdf(printer);
  answer.accepted = false;
  TPagesPrintout printout;
  EXPECT_FALSE(printer.Print(nullptr, printout, true));
  EXPECT_TRUE(printout.pages.empty());
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(CommonDialogsTest, SetupChangesThePrinterDataAndKeepsItsFlags) {
  TPrinter printer;
  UsePdf(printer);
  printer.GetSetup().Flags = PD_NOSELECTION;
  answer.accepted = true;
  answer.device = "PDF";
  GdiDefaultDevMode("PDF", &answer.mode);
  answer.mode.dmOrientation = DMORIENT_LANDSCAPE;
  EXPECT_TRUE(printer.Setup(nullptr));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].setup);
  ASSERT_NE(printer.GetSetup().GetDevMode(), nullptr);
  EXPECT_EQ(printer.GetSetup().GetDevMode()->dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_STREQ(printer.GetSetup().GetDeviceName(), "PDF");
  EXPECT_EQ(printer.GetSetup().Flags, static_cast<DWORD>(PD_NOSELECTION));
}

TEST_F(CommonDialogsTest, ReturnDefaultFillsTheDataWithoutADialog) {
  TPrintDialog::TData data;
  data.Flags = PD_RETURNDEFAULT;
  TPrintDialog dialog(nullptr, data);
  EXPECT_EQ(dialog.Execute(), IDOK);
  EXPECT_TRUE(requests.empty());
  EXPECT_STRNE(data.GetDeviceName(), "");
  EXPECT_NE(data.GetDevMode(), nullptr);
  // The request is not kept: the next run on the data shows the dialog.
  EXPECT_FALSE(data.Flags & PD_RETURNDEFAULT);
  answer.accepted = false;
  EXPECT_EQ(TPrintDialog(nullptr, data).Execute(), IDCANCEL);
  EXPECT_EQ(requests.size(), 1u);
  EXPECT_STRNE(data.GetDeviceName(), "");  // a cancelled dialog leaves the data as it was
}

TEST_F(CommonDialogsTest, OpenDialogTakesItsDataRecordAndGivesTheChoiceBack) {
  TOpenSaveDialog::TData data(OFN_HIDEREADONLY | OFN_SHAREAWARE,
                              "Legal Desc files (*.LEG)|*.LEG|AllFiles (*.*)|*.*|", nullptr,
                              "C:\\ZARNE", nullptr);
  fileAnswer.accepted = true;
  fileAnswer.files = {"C:\\ZARNE\\LOT12.LEG"};
  TFileOpenDialog dialog(nullptr, data);
  EXPECT_EQ(dialog.Execute(), IDOK);
  ASSERT_EQ(fileRequests.size(), 1u);
  EXPECT_FALSE(fileRequests[0].save);
  ASSERT_EQ(fileRequests[0].filters.size(), 2u);
  EXPECT_EQ(fileRequests[0].filters[0].second, "*.LEG");
  EXPECT_EQ(fileRequests[0].filterIndex, 1);
  EXPECT_STREQ(data.FileName, "C:\\ZARNE\\LOT12.LEG");
  fileAnswer.accepted = false;
  TFileSaveDialog save(nullptr, data);
  EXPECT_EQ(save.Execute(), IDCANCEL);
  EXPECT_TRUE(fileRequests[1].save);
  EXPECT_STREQ(data.FileName, "C:\\ZARNE\\LOT12.LEG");
}

}  // namespace
