/*
** The check-form layout editor: positions typed into the position dialogs, values a layout
** cannot hold refused, Test printing the sample check with the layout being edited, OK
** writing exactly the 128 bytes of the layout, Cancel leaving file and layout as they were;
** and screenshots of the editor, a position dialog and the Print Checks dialog.
*/
#include "accounting/check_form_editor.h"
#include "accounting/print_checks_dialog.h"
#include "check_fixture.h"
#include "platform/kernel/paths.h"
#include "platform/testing/screenshot.h"
#include "platform/user/winuser.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/value_forms.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class CheckFormEditorTest : public CheckTest {
 protected:
  void SetUp() override {
    CheckTest::SetUp();
    char path[MAX_PATH];
    BuildPath(path, gCheckCtlDir, "chkform.dat", nullptr, sizeof path);
    path_ = path;
    // Start-up reads the file: a new one is every value unplaced.
    ReadCheckFormSettings(gCheckFormLayout, path);
    pictures_ = std::filesystem::current_path() / "pictures";
    std::filesystem::create_directories(pictures_);
  }
  std::vector<unsigned char> FileBytes() const {
    std::ifstream in(HostPathFromWindowsPath(path_.c_str()), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
  }
  /* The little-endian bytes of 64 signed 16-bit values, packed one by one. */
  static std::vector<unsigned char> Packed(const int (&values)[64]) {
    std::vector<unsigned char> bytes;
    for (int value : values) {
      const unsigned bits = static_cast<unsigned>(value) & 0xFFFFu;
      bytes.push_back(static_cast<unsigned char>(bits & 0xFF));
      bytes.push_back(static_cast<unsigned char>(bits >> 8));
    }
    return bytes;
  }
  /* Runs the editor; the script acts while it is open and ends it. */
  void RunEditor(const std::function<void(HWND)>& script) {
    Driver().OnDialog(kCheckFormTemplate, script);
    RunCheckForm(nullptr);
  }
  /* The next position dialog gets these texts in its fields (by id), then `button`. */
  void AnswerPositions(int templateId, std::vector<std::pair<int, std::string>> fields,
                       int button = IDOK, std::vector<std::string>* shown = nullptr,
                       std::vector<int> shownIds = {}) {
    Driver().OnDialog(templateId, [=](HWND dialog) {
      if (shown)
        for (int id : shownIds) shown->push_back(ControlTextOf(dialog, id));
      for (const auto& [id, text] : fields) SetControlText(dialog, id, text);
      PressButton(dialog, button);
    });
  }
  std::string path_;
  std::filesystem::path pictures_;
};

TEST_F(CheckFormEditorTest, OkWritesTheTypedPositionsAsExactly128Bytes) {
  std::vector<std::string> shown;
  RunEditor([&](HWND form) {
    AnswerPositions(kPosXYTemplate, {{101, "250"}, {102, ""}, {201, "-5"}, {202, "7500"}}, IDOK,
                    &shown, {101, 102, 201, 202});
    PressButton(form, 101);
    AnswerPositions(kPosXYWHTemplate, {{101, "500"},
                                       {102, "1800"},
                                       {103, "7000"},
                                       {104, "300"},
                                       {201, "500"},
                                       {202, "6800"},
                                       {105, "7000"},
                                       {106, "300"}});
    PressButton(form, 127);
    // A cancelled position dialog changes nothing.
    AnswerPositions(kPosXYTemplate, {{101, "1"}, {102, "2"}, {201, "3"}, {202, "4"}}, IDCANCEL);
    PressButton(form, 888);
    PressButton(form, IDOK);
  });
  EXPECT_EQ((std::vector<std::string>{"-1000", "-1000", "-1000", "-1000"}), shown);
  int expected[64];
  for (int& value : expected) value = -1000;
  const int fileNumber[] = {250, 0, -5, 7500};
  const int words[] = {500, 1800, 7000, 300, 500, 6800, 7000, 300};
  std::copy(std::begin(fileNumber), std::end(fileNumber), expected + 0);
  std::copy(std::begin(words), std::end(words), expected + 44);
  EXPECT_EQ(Packed(expected), FileBytes());
  for (int i = 0; i < 64; ++i) EXPECT_EQ(expected[i], gCheckFormLayout[i]) << i;
}

TEST_F(CheckFormEditorTest, OkWritesTheFileEvenWhenNothingChanged) {
  std::filesystem::remove(HostPathFromWindowsPath(path_.c_str()));
  RunEditor([](HWND form) { PressButton(form, IDOK); });
  int expected[64];
  for (int& value : expected) value = -1000;
  EXPECT_EQ(Packed(expected), FileBytes());
}

TEST_F(CheckFormEditorTest, AValueALayoutCannotHoldIsRefusedWithTheDialogOpen) {
  bool openAfterRefusal = false;
  RunEditor([&](HWND form) {
    Driver().OnDialog(kPosXYWHTemplate, [&](HWND dialog) {
      SetControlText(dialog, 101, "40000");
      PressButton(dialog, IDOK);
      openAfterRefusal = IsWindow(dialog) && IsWindowVisible(dialog);
      SetControlText(dialog, 101, "-32769");
      PressButton(dialog, IDOK);
      // The limits themselves are positions.
      SetControlText(dialog, 101, "32767");
      SetControlText(dialog, 202, "-32768");
      PressButton(dialog, IDOK);
    });
    PressButton(form, 103);
    PressButton(form, IDOK);
  });
  EXPECT_TRUE(openAfterRefusal);
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ(kPositionOutOfRange, Shown()[0].text);
  EXPECT_EQ(kPositionOutOfRange, Shown()[1].text);
  EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), Shown()[0].type & MB_ICONMASK);
  EXPECT_EQ(32767, gCheckFormLayout[56]);
  EXPECT_EQ(-32768, gCheckFormLayout[61]);
  EXPECT_EQ(-1000, gCheckFormLayout[57]);
}

TEST_F(CheckFormEditorTest, TestPrintsTheWorkingLayoutAndCancelKeepsFileAndLayout) {
  const std::vector<unsigned char> before = FileBytes();
  ASSERT_EQ(128u, before.size());
  short layout[64];
  std::memcpy(layout, gCheckFormLayout, sizeof layout);
  std::vector<std::vector<PdfWord>> prints;
  std::vector<int> pages;
  RunEditor([&](HWND form) {
    // A fresh layout would print a blank check: refused, nothing printed.
    PressButton(form, 234);
    ASSERT_EQ(1u, Shown().size());
    EXPECT_NE(std::string::npos, Shown()[0].text.find("Options, Check Form")) << Shown()[0].text;
    EXPECT_TRUE(PrintedChecks().empty());
    AnswerPositions(kPosXYTemplate, {{101, "1000"}, {102, "2000"}, {201, "-1"}, {202, "-1"}});
    PressButton(form, 101);
    AnswerPositions(kPosXYWHTemplate, {{101, "1000"},
                                       {102, "3000"},
                                       {103, "4000"},
                                       {104, "400"},
                                       {201, "1000"},
                                       {202, "6000"},
                                       {105, "4000"},
                                       {106, "400"}});
    PressButton(form, 103);
    Printers().ChoosePrinter({}, [](PrintDialogAnswer& answer) { answer.copies = 3; });
    PressButton(form, 234);
    EXPECT_TRUE(IsWindowVisible(form));  // Test leaves the dialog open
    // The refusal before, then one box saying where the test check went.
    ASSERT_EQ(2u, Shown().size());
    EXPECT_TRUE(TellsPrintedPdfs(Shown()[1])) << Shown()[1].caption << ": " << Shown()[1].text;
    for (const std::string& pdf : PrintedChecks()) {
      prints.push_back(Words(pdf));
      pages.push_back(PageCount(pdf));
    }
    PressButton(form, IDCANCEL);
  });
  ASSERT_EQ(1u, prints.size());
  EXPECT_EQ((std::vector<int>{1}), pages);
  EXPECT_TRUE(TextAt(prints[0], "TestFileNum", Points(1000), Points(2000)));
  EXPECT_TRUE(TextAt(prints[0], "Paul Payee", Points(1000), Points(3000)));
  EXPECT_TRUE(TextAt(prints[0], "Paul Payee", Points(1000), Points(6000)));
  EXPECT_EQ(5u, prints[0].size());  // "TestFileNum" and twice "Paul Payee"
  // Test set the check printer's dialog flags and pages for later runs too.
  EXPECT_EQ(static_cast<DWORD>(0x0010000C), gCheckPrintData.Flags);
  EXPECT_EQ(1, gCheckPrintData.FromPage);
  EXPECT_EQ(1, gCheckPrintData.ToPage);
  EXPECT_EQ(before, FileBytes());
  EXPECT_EQ(0, std::memcmp(layout, gCheckFormLayout, sizeof layout));
}

TEST_F(CheckFormEditorTest, AFileOfAnotherSizeReadsAsUnplacedAndIsRewrittenWhole) {
  int unplaced[64];
  for (int& value : unplaced) value = -1000;
  for (size_t size : {0u, 127u, 129u}) {
    {
      std::ofstream out(HostPathFromWindowsPath(path_.c_str()), std::ios::binary | std::ios::trunc);
      out << std::string(size, '\x07');
    }
    short values[64];
    std::memset(values, 0, sizeof values);
    ReadCheckFormSettings(values, path_.c_str());
    for (short value : values) EXPECT_EQ(-1000, value) << size;
    EXPECT_EQ(Packed(unplaced), FileBytes()) << size;
  }
}

TEST_F(CheckFormEditorTest, PicturesOfTheEditorAPositionDialogAndPrintChecks) {
  RunEditor([&](HWND form) {
    SaveWindowScreenshot(form, (pictures_ / "check_form.png").string());
    Driver().OnDialog(kPosXYWHTemplate, [&](HWND dialog) {
      SetControlText(dialog, 101, "500");
      SaveWindowScreenshot(dialog, (pictures_ / "check_position_xywh.png").string());
      PressButton(dialog, IDCANCEL);
    });
    PressButton(form, 127);
    PressButton(form, IDCANCEL);
  });
  gPrintChecksXfer = {1001, DateOf(3, 14, 2026)};
  Driver().OnDialog(kPrintChecksTemplate, [&](HWND dialog) {
    SaveWindowScreenshot(dialog, (pictures_ / "print_checks.png").string());
    PressButton(dialog, IDCANCEL);
  });
  TPrintChecks(nullptr).Execute();
  for (const char* name : {"check_form.png", "check_position_xywh.png", "print_checks.png"})
    EXPECT_GT(std::filesystem::file_size(pictures_ / name), 1000u) << name;
}

}  // namespace
