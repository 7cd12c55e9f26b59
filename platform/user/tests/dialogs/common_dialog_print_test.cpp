/*
** Print dialog tests: the default printer without a dialog, print set-up and printing
** answered by the harness, the device names and device mode in moveable blocks laid out as
** the printer-settings files keep them, and bad blocks and answers.
*/
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/gui_test.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/global_memory.h"
#include "platform/user/winuser.h"

#include <cstring>
#include <string>

namespace {

struct Names {
  DEVNAMES header{};
  std::string driver, device, port;
};

Names ReadNames(HGLOBAL block) {
  Names names;
  auto* data = static_cast<const char*>(GlobalLock(block));
  if (!data) return names;
  std::memcpy(&names.header, data, sizeof names.header);
  names.driver = data + names.header.wDriverOffset;
  names.device = data + names.header.wDeviceOffset;
  names.port = data + names.header.wOutputOffset;
  GlobalUnlock(block);
  return names;
}

DEVMODE ReadMode(HGLOBAL block) {
  DEVMODE mode{};
  if (void* data = GlobalLock(block)) {
    std::memcpy(&mode, data, sizeof mode);
    GlobalUnlock(block);
  }
  return mode;
}

class PrintDialogTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    pd_ = PRINTDLG{};
    pd_.lStructSize = sizeof(PRINTDLG);
  }
  void TearDown() override {
    if (pd_.hDevNames) GlobalFree(pd_.hDevNames);
    if (pd_.hDevMode) GlobalFree(pd_.hDevMode);
    GuiTest::TearDown();
  }
  CommonDialogAnswers answers_;
  PRINTDLG pd_{};
};

TEST_F(PrintDialogTest, ReturnDefaultGivesThePdfPrinterWithoutADialog) {
  pd_.Flags = PD_RETURNDEFAULT;
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_TRUE(answers_.PrintRequests().empty());
  GdiPrinter expected = GdiDefaultPrinter();
  Names names = ReadNames(pd_.hDevNames);
  EXPECT_EQ(names.device, expected.device);
  EXPECT_EQ(names.driver, expected.driver);
  EXPECT_EQ(names.port, expected.port);
  EXPECT_EQ(names.header.wDefault, DN_DEFAULTPRN);
  if (GdiListPrinters().size() == 1) {  // a machine without printers of its own
    EXPECT_EQ(names.device, "PDF");
    EXPECT_EQ(names.driver, "winspool");
    EXPECT_EQ(names.port, "PDF:");
  }
  // The header as the printer-settings files lay it out: texts followed by two zero bytes.
  EXPECT_EQ(names.header.wDriverOffset, 8);
  EXPECT_EQ(names.header.wDeviceOffset, 8 + names.driver.size() + 2);
  EXPECT_EQ(names.header.wOutputOffset, names.header.wDeviceOffset + names.device.size() + 2);
  EXPECT_EQ(GlobalSize(pd_.hDevNames), names.header.wOutputOffset + names.port.size() + 2);
  EXPECT_NE(GlobalLock(pd_.hDevNames), pd_.hDevNames) << "a moveable block";
  GlobalUnlock(pd_.hDevNames);

  DEVMODE mode = ReadMode(pd_.hDevMode);
  EXPECT_STREQ(reinterpret_cast<const char*>(mode.dmDeviceName), expected.device.c_str());
  EXPECT_EQ(mode.dmSize, sizeof(DEVMODE));
  EXPECT_EQ(GlobalSize(pd_.hDevMode), sizeof(DEVMODE));

  // Blocks already given are a caller's mistake with this flag.
  EXPECT_FALSE(PrintDlg(&pd_));
  EXPECT_EQ(CommDlgExtendedError(), DWORD(PDERR_RETDEFFAILURE));
}

TEST_F(PrintDialogTest, SetupChangesTheModeInTheCallersBlocks) {
  pd_.Flags = PD_RETURNDEFAULT;
  ASSERT_TRUE(PrintDlg(&pd_));
  HGLOBAL names = pd_.hDevNames, mode = pd_.hDevMode;
  pd_.Flags = PD_PRINTSETUP;
  answers_.ChoosePrinter({}, [](PrintDialogAnswer& a) {
    a.mode.dmOrientation = DMORIENT_LANDSCAPE;
    a.mode.dmPaperSize = DMPAPER_LEGAL;
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  ASSERT_EQ(answers_.PrintRequests().size(), 1u);
  EXPECT_TRUE(answers_.PrintRequests()[0].setup);
  EXPECT_EQ(answers_.PrintRequests()[0].device, GdiDefaultPrinter().device);
  EXPECT_EQ(pd_.hDevNames, names) << "the caller's blocks are reused";
  EXPECT_EQ(pd_.hDevMode, mode);
  DEVMODE chosen = ReadMode(pd_.hDevMode);
  EXPECT_EQ(chosen.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(chosen.dmPaperSize, DMPAPER_LEGAL);

  // The next set-up starts from what was chosen; cancelling leaves it alone.
  answers_.CancelPrintDialog();
  EXPECT_FALSE(PrintDlg(&pd_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(answers_.PrintRequests()[1].mode.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(ReadMode(pd_.hDevMode).dmPaperSize, DMPAPER_LEGAL);
}

TEST_F(PrintDialogTest, PrintingAnswersPagesCopiesAndADc) {
  pd_.Flags = PD_RETURNDC | PD_NOSELECTION;
  pd_.nMinPage = 1;
  pd_.nMaxPage = 3;
  pd_.nFromPage = 1;
  pd_.nToPage = 3;
  pd_.nCopies = 1;
  answers_.ChoosePrinter("PDF", [](PrintDialogAnswer& a) {
    a.flags = PD_PAGENUMS;
    a.fromPage = 2;
    a.toPage = 3;
    a.copies = 2;
  });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_FALSE(answers_.PrintRequests()[0].setup);
  EXPECT_TRUE(pd_.Flags & PD_PAGENUMS);
  EXPECT_EQ(pd_.nFromPage, 2);
  EXPECT_EQ(pd_.nToPage, 3);
  // The program prints the copies itself, so the mode (and the DC made from it) asks for one.
  EXPECT_EQ(pd_.nCopies, 2);
  EXPECT_EQ(ReadMode(pd_.hDevMode).dmCopies, 1);
  EXPECT_EQ(ReadNames(pd_.hDevNames).device, "PDF");
  ASSERT_TRUE(pd_.hDC);
  EXPECT_GT(GetDeviceCaps(pd_.hDC, HORZRES), 0);
  DeleteDC(pd_.hDC);
  pd_.hDC = nullptr;

  // A program that leaves the copies to the driver gets them in the mode and one in nCopies.
  pd_.Flags = PD_USEDEVMODECOPIES | PD_NOSELECTION;
  answers_.ChoosePrinter("PDF", [](PrintDialogAnswer& a) { a.copies = 3; });
  ASSERT_TRUE(PrintDlg(&pd_));
  EXPECT_EQ(pd_.nCopies, 1);
  EXPECT_EQ(ReadMode(pd_.hDevMode).dmCopies, 3);
}

TEST_F(PrintDialogTest, BadBlocksAndUnknownPrintersAreRefusedSafely) {
  // Names whose offsets point past the block: the dialog starts from the default printer.
  pd_.hDevNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 10);
  auto* header = static_cast<DEVNAMES*>(GlobalLock(pd_.hDevNames));
  *header = DEVNAMES{500, 600, 700, 0};
  GlobalUnlock(pd_.hDevNames);
  pd_.hDevMode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4);  // too short to be a mode
  answers_.ChoosePrinter("No Such Printer");
  EXPECT_FALSE(PrintDlg(&pd_));
  EXPECT_EQ(CommDlgExtendedError(), DWORD(PDERR_PRINTERNOTFOUND));
  EXPECT_EQ(answers_.PrintRequests()[0].device, GdiDefaultPrinter().device);

  PRINTDLG tooSmall{};
  tooSmall.lStructSize = 8;
  EXPECT_FALSE(PrintDlg(&tooSmall));
  EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_STRUCTSIZE));
  EXPECT_FALSE(PrintDlg(nullptr));
}

}  // namespace
