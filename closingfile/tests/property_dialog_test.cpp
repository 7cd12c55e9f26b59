/*
** The property dialog through its command: pairing, the tax year, the legal description
** stored with its line ends, loading and merging a .LEG file, files that cannot be read,
** and a stored description too long for the dialog that OK must not erase.
*/
#include "closingfile/property_dialog.h"
#include "closingfile/tests/closing_file_test_support.h"
#include "platform/testing/common_dialog_answers.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>

namespace {

/* A host path as the open dialog answers it: on drive Z, with backslashes. */
std::string WindowsForm(const std::string& path) {
  std::string windows = "Z:" + path;
  for (char& c : windows)
    if (c == '/') c = '\\';
  return windows;
}

/* What a multi-line edit makes of lone CR and LF bytes: a CR LF line end each. */
std::string WithLineEnds(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\r\n";
      ++i;
    } else if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

const std::string kLegal = "Lot 5, Block 2\r\nof Sunny Acres\r\n";

class PropertyTest : public ClosingFileTest {
 protected:
  RespaWindow* OpenProperty(const std::string& number, bool taxYear = true) {
    std::vector<std::pair<int, double>> year;
    if (taxYear) year.emplace_back(8, 2003.0);
    PutValues(kPropertyTable, number,
              {{2, "12 Oak St"},
               {3, "Tampa"},
               {4, "FL"},
               {5, "33601"},
               {6, kLegal},
               {7, "Hillsborough"},
               {9, "PID-77"}},
              {}, year);
    PutRecord(kBuyerTable, number, {{2, "Ann Buyer"}});
    PutRecord(kSellerTable, number, {{2, "Sol Seller"}});
    return OpenFile(number);
  }
  /* The memo read back through a record of its own. */
  std::string StoredLegal(const std::string& number) {
    TPXRecord record(gTables[kPropertyTable], true);
    record.SetString(1, number.c_str());
    std::unique_ptr<char[]> text(new char[40000]());
    if (record.Seek(1, ENGINE_KEY_EQ) && record.Read(ENGINE_NO_LOCK))
      record.GetString(6, text.get(), 40000);
    return text.get();
  }
  std::string Leg(const std::string& name, const std::string& bytes) {
    std::string path = PathInRoot(name);
    WriteFile(path, bytes);
    return path;
  }
  /* Runs the property command: the script loads the files one after another, then OKs. */
  std::vector<std::string> LoadThenOk(RespaWindow* view, const std::vector<std::string>& files,
                                      bool ok = true) {
    std::vector<std::string> texts;
    driver.OnDialog(kPropertyTemplate, [&](HWND dialog) {
      for (size_t i = 0; i < files.size(); ++i) {
        PressButton(dialog, kLegalDescriptionButtonId);
        texts.push_back(LongControlText(dialog, kLegalDescriptionEditId));
      }
      FocusControl(dialog, 107);
      PressDialogKey(dialog, ok ? VK_RETURN : VK_ESCAPE);
    });
    for (const std::string& file : files) answers.ChooseFiles({file});
    Command(view, kPropertyCommand);
    return texts;
  }
  CommonDialogAnswers answers;
};

TEST_F(PropertyTest, ControlsCarryTheirFieldsAndOkKeepsThem) {
  RespaWindow* view = OpenProperty("PR-1");
  std::map<int, std::string> shown;
  driver.OnDialog(kPropertyTemplate, [&](HWND dialog) {
    for (int id : {107, 108, 109, 110, 201, 111, 301, 180}) shown[id] = ControlTextOf(dialog, id);
    FocusControl(dialog, 107);
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kPropertyCommand);
  EXPECT_EQ(shown, (std::map<int, std::string>{{107, "12 Oak St"},
                                               {108, "Tampa"},
                                               {109, "FL"},
                                               {110, "33601"},
                                               {201, "Hillsborough"},
                                               {111, "PID-77"},
                                               {301, "2003"},
                                               {180, kLegal}}));
  EXPECT_EQ(TableText(kPropertyTable, "PR-1", 2), "12 Oak St");
  EXPECT_EQ(TableText(kPropertyTable, "PR-1", 3), "Tampa");
  EXPECT_EQ(TableText(kPropertyTable, "PR-1", 4), "FL");
  EXPECT_EQ(TableText(kPropertyTable, "PR-1", 5), "33601");
  EXPECT_EQ(TableText(kPropertyTable, "PR-1", 7), "Hillsborough");
  EXPECT_EQ(TableText(kPropertyTable, "PR-1", 9), "PID-77");
  EXPECT_DOUBLE_EQ(TableDouble(kPropertyTable, "PR-1", 8), 2003.0);
  EXPECT_EQ(StoredLegal("PR-1"), kLegal);

  // Typed lines keep their CR LF; the county alone changes beside it.
  driver.OnDialog(kPropertyTemplate, [&](HWND dialog) {
    TypeInto(dialog, 201, "Pasco");
    FocusControl(dialog, 180);
    PressDialogKey(dialog, VK_END, Qt::ControlModifier);
    TypeIntoDialog(dialog, "Parcel A");
    PressDialogKey(dialog, VK_RETURN);  // a new line in the want-return box
    TypeIntoDialog(dialog, "Parcel B");
    FocusControl(dialog, 107);
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kPropertyCommand);
  EXPECT_EQ(StoredLegal("PR-1"), kLegal + "Parcel A\r\nParcel B");
  EXPECT_EQ(TableText(kPropertyTable, "PR-1", 7), "Pasco");
  EXPECT_EQ(TableText(kPropertyTable, "PR-1", 3), "Tampa");
}

TEST_F(PropertyTest, BlankTaxYearShowsZeroAndStoresZero) {
  RespaWindow* view = OpenProperty("PR-2", false);
  std::string shown;
  driver.OnDialog(kPropertyTemplate, [&](HWND dialog) {
    shown = ControlTextOf(dialog, 301);
    FocusControl(dialog, 107);
    PressDialogKey(dialog, VK_RETURN);
  });
  Command(view, kPropertyCommand);
  EXPECT_EQ(shown, "0");
  EXPECT_DOUBLE_EQ(TableDouble(kPropertyTable, "PR-2", 8), 0.0);
}

TEST_F(PropertyTest, LoadMergesFieldsBarsAndPrompts) {
  RespaWindow* view = OpenProperty("PR-3");
  std::string first =
      Leg("lot5.LEG", "Lot 5 of |B1NAME|, from |S1NAME| || |?Which part?| and |?Again?|.\r\nEnd");
  std::string second = Leg("other.LEG", "Replaced");
  std::string promptCaption, prompt;
  driver.OnDialog(20904, [&](HWND input) {
    promptCaption = CaptionOf(input);
    prompt = ControlTextOf(input, 901);
    TypeInto(input, 180, "north half");
    PressDialogKey(input, VK_RETURN);
  });
  driver.OnDialog(20904, [&](HWND input) { PressDialogKey(input, VK_ESCAPE); });
  std::vector<std::string> texts;
  driver.OnDialog(kPropertyTemplate, [&](HWND dialog) {
    PressButton(dialog, kLegalDescriptionButtonId);
    texts.push_back(LongControlText(dialog, kLegalDescriptionEditId));
    Shot(dialog, "property_after_load");
    PressButton(dialog, kLegalDescriptionButtonId);
    texts.push_back(LongControlText(dialog, kLegalDescriptionEditId));
    FocusControl(dialog, 107);
    PressDialogKey(dialog, VK_ESCAPE);
  });
  answers.ChooseFiles({first});
  answers.ChooseFiles({second});
  Command(view, kPropertyCommand);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Lot 5 of Ann Buyer, from Sol Seller | north half and ____.\r\nEnd");
  EXPECT_EQ(texts[1], "Replaced");
  EXPECT_EQ(promptCaption, WindowsForm(first));
  EXPECT_EQ(prompt, "Which part?");
  // The open dialog asked for the legal descriptions in the database directory.
  ASSERT_EQ(answers.FileRequests().size(), 2u);
  EXPECT_EQ(answers.FileRequests()[0].initialDirectory, WindowsForm(gDatabaseDir));
  EXPECT_EQ(answers.FileRequests()[0].filters,
            (std::vector<std::pair<std::string, std::string>>{{"Legal Desc files (*.LEG)", "*.LEG"},
                                                              {"AllFiles (*.*)", "*.*"}}));
  // Cancel: the stored description stays.
  EXPECT_EQ(StoredLegal("PR-3"), kLegal);
}

TEST_F(PropertyTest, LongFilesAreCutAndANulEndsTheText) {
  RespaWindow* view = OpenProperty("PR-4");
  std::string big;
  for (int i = 0; i < 20000; ++i) big += static_cast<char>('a' + i % 26);
  std::string nul = std::string("before") + '\0' + "after";
  auto texts = LoadThenOk(view, {Leg("big.LEG", big), Leg("nul.LEG", nul)}, false);
  ASSERT_EQ(texts.size(), 2u);
  // 16383 bytes read, of which the merge keeps 16382 and a terminator.
  EXPECT_EQ(texts[0].size(), 16382u);
  EXPECT_TRUE(texts[0] == big.substr(0, 16382));
  EXPECT_EQ(texts[1], "before");
}

TEST_F(PropertyTest, EveryByteButTheBarLoadsWithoutHarm) {
  RespaWindow* view = OpenProperty("PR-5");
  std::string bytes;
  for (int c = 1; c <= 255; ++c)
    if (c != '|') bytes += static_cast<char>(c);
  auto texts = LoadThenOk(view, {Leg("bytes.LEG", bytes)});
  ASSERT_EQ(texts.size(), 1u);
  std::string expected = WithLineEnds(bytes);
  EXPECT_EQ(texts[0].size(), expected.size());
  for (size_t i = 0; i < std::min(texts[0].size(), expected.size()); ++i)
    if (texts[0][i] != expected[i]) {
      ADD_FAILURE() << "at " << i << ": " << int(static_cast<unsigned char>(texts[0][i])) << " for "
                    << int(static_cast<unsigned char>(expected[i]));
      break;
    }
  EXPECT_EQ(StoredLegal("PR-5"), texts[0]);
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(PropertyTest, FilesThatCannotBeReadLeaveTheBoxAsItWas) {
  RespaWindow* view = OpenProperty("PR-6");
  // Mode 000 refuses an ordinary user; one who reads every file is refused by a table of
  // open files that is full when the load opens it.
  std::string locked = Leg("locked.LEG", "secret");
  chmod(locked.c_str(), 0);
  bool superuser = geteuid() == 0;
  // A sparse file of 3 GiB, whose length does not fit the size answer.
  std::string huge = PathInRoot("huge.LEG");
  int fd = open(huge.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 3LL * 1024 * 1024 * 1024), 0);
  close(fd);
  std::vector<std::string> texts;
  driver.OnDialog(kPropertyTemplate, [&](HWND dialog) {
    struct rlimit saved;
    getrlimit(RLIMIT_NOFILE, &saved);
    if (superuser) {
      int next = dup(0);
      close(next);
      struct rlimit full = saved;
      full.rlim_cur = next;
      setrlimit(RLIMIT_NOFILE, &full);
    }
    PressButton(dialog, kLegalDescriptionButtonId);
    setrlimit(RLIMIT_NOFILE, &saved);
    texts.push_back(LongControlText(dialog, kLegalDescriptionEditId));
    PressButton(dialog, kLegalDescriptionButtonId);
    texts.push_back(LongControlText(dialog, kLegalDescriptionEditId));
    FocusControl(dialog, 107);
    PressDialogKey(dialog, VK_RETURN);
  });
  answers.ChooseFiles({locked});
  answers.ChooseFiles({huge});
  Command(view, kPropertyCommand);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], kLegal);
  EXPECT_EQ(texts[1], kLegal);
  ASSERT_EQ(Boxes().Shown().size(), 2u);
  EXPECT_EQ(Boxes().Shown()[0].text, "Could not open file.");
  EXPECT_EQ(Boxes().Shown()[0].caption, "TWWFile Error");
  EXPECT_EQ(Boxes().Shown()[1].text, "Could not read file.");
  EXPECT_EQ(Boxes().Shown()[1].caption, "TWWFile Error");
  EXPECT_EQ(Boxes().Shown()[1].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
  EXPECT_EQ(StoredLegal("PR-6"), kLegal);
}

TEST_F(PropertyTest, TooLongStoredDescriptionSurvivesAZipChange) {
  std::string legal;
  for (int i = 0; i < 17000; ++i) legal += static_cast<char>('A' + i % 26);
  PutValues(kPropertyTable, "PR-7", {{5, "33601"}, {6, legal}});
  RespaWindow* view = OpenFile("PR-7");
  AnswerCommand(view, kPropertyCommand, kPropertyTemplate, {{110, "33602"}}, VK_RETURN);
  EXPECT_EQ(TableText(kPropertyTable, "PR-7", 5), "33602");
  EXPECT_EQ(StoredLegal("PR-7"), legal);
  // Exactly one character too many for the dialog's box: kept too.
  std::string fits(16383, 'q');
  PutValues(kPropertyTable, "PR-8", {{6, fits}});
  view = OpenFile("PR-8");
  AnswerCommand(view, kPropertyCommand, kPropertyTemplate, {{110, "1"}}, VK_RETURN);
  EXPECT_EQ(StoredLegal("PR-8"), fits);
}

}  // namespace
