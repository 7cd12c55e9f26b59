/*
** File dialog tests: GetOpenFileName and GetSaveFileName answered by the harness without a
** window; filters in both notations, the multiple selection's NUL-separated answer, the
** existence and overwrite checks that ask again, default extensions, a too small buffer,
** and Windows paths mapped both ways.
*/
#include "platform/testing/common_dialog_answers.h"
#include "platform/testing/gui_test.h"
#include "platform/kernel/paths.h"
#include "platform/user/winuser.h"

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

class FileDialogTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    CreateDirectory("C:\\ZARNE", nullptr);
    SetCurrentDirectory("C:\\");
    std::memset(file_, 0, sizeof file_);
    ofn_ = OPENFILENAME{};
    ofn_.lStructSize = sizeof(OPENFILENAME);
    ofn_.lpstrFile = file_;
    ofn_.nMaxFile = sizeof file_;
    ofn_.lpstrInitialDir = "C:\\ZARNE";
  }
  void Touch(const char* windowsPath) {
    std::ofstream(HostPathFromWindowsPath(windowsPath)) << "x";
  }
  /* The NUL-separated answer as a list. */
  std::vector<std::string> Parts() const {
    std::vector<std::string> parts;
    for (const char* p = file_; *p; p += std::strlen(p) + 1) parts.push_back(p);
    return parts;
  }

  CommonDialogAnswers answers_;
  char file_[260];
  OPENFILENAME ofn_{};
};

TEST_F(FileDialogTest, MultipleSelectionAnswersTheFolderAndTheNames) {
  Touch("C:\\ZARNE\\CLOSING.BND");
  Touch("C:\\ZARNE\\deposit.bnd");
  ofn_.lpstrFilter = "Bundle Files (*.BND)|*.BND|AllFiles (*.*)|*.*|";
  ofn_.lpstrTitle = "Run Bundle";
  ofn_.Flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  answers_.ChooseFiles({"CLOSING.BND", "C:\\ZARNE\\deposit.bnd"}, 1);
  ASSERT_TRUE(GetOpenFileName(&ofn_));
  EXPECT_EQ(Parts(), (std::vector<std::string>{"C:\\ZARNE", "CLOSING.BND", "deposit.bnd"}));
  EXPECT_EQ(ofn_.nFileOffset, 9);
  EXPECT_EQ(std::string(file_ + ofn_.nFileOffset), "CLOSING.BND");

  ASSERT_EQ(answers_.FileRequests().size(), 1u);
  const FileDialogRequest& asked = answers_.FileRequests()[0];
  EXPECT_EQ(asked.title, "Run Bundle");
  EXPECT_FALSE(asked.save);
  EXPECT_EQ(asked.initialDirectory, "C:\\ZARNE");
  ASSERT_EQ(asked.filters.size(), 2u);
  EXPECT_EQ(asked.filters[0],
            std::make_pair(std::string("Bundle Files (*.BND)"), std::string("*.BND")));
  EXPECT_EQ(asked.filters[1].second, "*.*");
  EXPECT_EQ(asked.filterIndex, 1);

  // One file of a multiple selection is answered as a plain path.
  answers_.ChooseFiles({"deposit.bnd"});
  ASSERT_TRUE(GetOpenFileName(&ofn_));
  EXPECT_EQ(std::string(file_), "C:\\ZARNE\\deposit.bnd");
  EXPECT_EQ(file_[std::strlen(file_) + 1], 0);
}

TEST_F(FileDialogTest, OpenRefusesMissingFilesAndAsksAgain) {
  Touch("C:\\ZARNE\\EXPORT.TXT");
  static const char filter[] = "Text (*.TXT)\0*.TXT\0All (*.*)\0*.*\0";
  ofn_.lpstrFilter = filter;
  ofn_.nFilterIndex = 2;
  char title[32] = "";
  ofn_.lpstrFileTitle = title;
  ofn_.nMaxFileTitle = sizeof title;
  ofn_.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  answers_.ChooseFiles({"MISSING.TXT"});
  answers_.ChooseFiles({HostPathFromWindowsPath("C:\\ZARNE\\EXPORT.TXT")}, 1);  // a host path
  ASSERT_TRUE(GetOpenFileName(&ofn_));
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_NE(Boxes().Shown()[0].text.find("MISSING.TXT"), std::string::npos);
  EXPECT_EQ(answers_.FileRequests().size(), 2u);
  EXPECT_EQ(answers_.FileRequests()[0].filters.size(), 2u);
  EXPECT_EQ(answers_.FileRequests()[0].filterIndex, 2);
  EXPECT_EQ(answers_.FileRequests()[1].initialName, "MISSING.TXT");
  EXPECT_EQ(std::string(file_), "C:\\ZARNE\\EXPORT.TXT");
  EXPECT_EQ(std::string(title), "EXPORT.TXT");
  EXPECT_EQ(ofn_.nFileOffset, 9);
  EXPECT_EQ(std::string(file_ + ofn_.nFileExtension), "TXT");
  EXPECT_EQ(ofn_.nFilterIndex, 1u);
  char current[MAX_PATH];
  GetCurrentDirectory(sizeof current, current);
  EXPECT_STRCASEEQ(current, "C:\\ZARNE") << "the chosen folder becomes current";

  // A folder that does not exist is refused as well; no further answer cancels.
  Boxes().Clear();
  answers_.ChooseFiles({"C:\\NOWHERE\\A.TXT"});
  EXPECT_FALSE(GetOpenFileName(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), 0u) << "cancelled, not failed";
  EXPECT_EQ(Boxes().Shown().size(), 1u);
}

TEST_F(FileDialogTest, SaveAddsTheDefaultExtensionAndAsksBeforeOverwriting) {
  Touch("C:\\ZARNE\\REPORT.TXT");
  std::strcpy(file_, "C:\\ZARNE\\REPORT.TXT");  // the caller's proposal
  ofn_.lpstrInitialDir = nullptr;
  ofn_.lpstrDefExt = "TXT";
  ofn_.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
  answers_.ChooseFiles({"REPORT"});
  answers_.ChooseFiles({"REPORT"});
  Boxes().QueueAnswer(IDNO);
  Boxes().QueueAnswer(IDYES);
  ASSERT_TRUE(GetSaveFileName(&ofn_));
  EXPECT_EQ(Boxes().Shown().size(), 2u);
  EXPECT_EQ(std::string(file_), "C:\\ZARNE\\REPORT.TXT");
  const FileDialogRequest& asked = answers_.FileRequests()[0];
  EXPECT_TRUE(asked.save);
  EXPECT_EQ(asked.title, "Save As");
  EXPECT_EQ(asked.initialDirectory, "C:\\ZARNE");
  EXPECT_EQ(asked.initialName, "REPORT.TXT");
  char current[MAX_PATH];
  GetCurrentDirectory(sizeof current, current);
  EXPECT_STREQ(current, "C:\\") << "OFN_NOCHANGEDIR keeps the current directory";

  answers_.ChooseFiles({"NEW.DAT"});
  ASSERT_TRUE(GetSaveFileName(&ofn_));
  EXPECT_EQ(std::string(file_), "C:\\ZARNE\\NEW.DAT");
  EXPECT_TRUE(ofn_.Flags & OFN_EXTENSIONDIFFERENT);
}

TEST_F(FileDialogTest, FailuresAreReportedNotWritten) {
  char small[12] = "";
  ofn_.lpstrFile = small;
  ofn_.nMaxFile = sizeof small;
  answers_.ChooseFiles({"C:\\ZARNE\\LONGNAME.TXT"});
  EXPECT_FALSE(GetSaveFileName(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), DWORD(FNERR_BUFFERTOOSMALL));
  WORD needed;
  std::memcpy(&needed, small, sizeof needed);
  EXPECT_EQ(needed, 22);

  ofn_.lpstrFile = file_;
  ofn_.nMaxFile = sizeof file_;
  ofn_.Flags = OFN_ALLOWMULTISELECT;
  answers_.ChooseFiles({"C:\\ZARNE\\A.TXT", "C:\\OTHER\\B.TXT"});
  EXPECT_FALSE(GetOpenFileName(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), DWORD(FNERR_INVALIDFILENAME));

  answers_.CancelFileDialog();
  EXPECT_FALSE(GetOpenFileName(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);

  OPENFILENAME bad{};
  EXPECT_FALSE(GetOpenFileName(&bad));
  EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_STRUCTSIZE));
  EXPECT_FALSE(GetOpenFileName(nullptr));
  bad.lStructSize = sizeof bad;
  EXPECT_FALSE(GetOpenFileName(&bad));
  EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_INITIALIZATION));
  EXPECT_EQ(answers_.FileRequests().size(), 3u) << "bad records never reach a dialog";
}

}  // namespace
