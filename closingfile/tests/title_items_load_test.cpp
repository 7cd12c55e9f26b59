// Loading title items from item-set files chosen in the open dialog: the split into items,
// the merge of fields and prompts, the order of several files, and files that cannot be
// opened or read. Every expected item list below was worked out by hand from the split rules
// (skip white space and control bytes; collect to the end, to CR LF CR LF CR LF or to 16382
// bytes; CR LF packs to 0x0B; other control bytes but TAB and 0x0B go; trailing white space
// goes).
#include "closingfile/tests/title_items_support.h"

#include "grid/tessel_codes.h"
#include "platform/kernel/paths.h"
#include "platform/user/common_dialogs.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using Strings = std::vector<std::string>;

class TitleItemLoadTest : public TitleItemsTest {
 protected:
  /* Chooses the files (host paths) in the next open dialog and presses the load button of
     the Requirements dialog's recording list (or another button and dialog). */
  void Load(const Strings& paths, int command = kRequirementsCommand, int templateId = 20700,
            int button = 100) {
    files.ChooseFiles(paths);
    RunCommand(command, templateId, [&](HWND dialog) {
      PressButton(dialog, button);
      rows = RowTexts(FindControl(dialog, 101));
      PressButton(dialog, IDOK);
    });
  }
  Strings rows;
};

TEST_F(TitleItemLoadTest, TheRequestCarriesTheListsFilterTheDatabaseFolderAndMultipleSelection) {
  files.CancelFileDialog();
  files.CancelFileDialog();
  files.CancelFileDialog();
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    PressDialogKey(dialog, 'R', Qt::AltModifier);
    PressDialogKey(dialog, 'H', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  RunCommand(kExceptionsCommand, 20800, [&](HWND dialog) {
    PressDialogKey(dialog, 'X', Qt::AltModifier);
    PressButton(dialog, IDOK);
  });
  ASSERT_EQ(files.FileRequests().size(), 3u);
  using Filters = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(files.FileRequests()[0].filters,
            (Filters{{"Rec. Req. (*.B1A)", "*.B1A"}, {"AllFiles (*.*)", "*.*"}}));
  EXPECT_EQ(files.FileRequests()[1].filters,
            (Filters{{"Other Req. (*.B1B)", "*.B1B"}, {"AllFiles (*.*)", "*.*"}}));
  EXPECT_EQ(files.FileRequests()[2].filters,
            (Filters{{"Exception files (*.B2)", "*.B2"}, {"AllFiles (*.*)", "*.*"}}));
  for (const FileDialogRequest& request : files.FileRequests()) {
    EXPECT_EQ(request.initialDirectory, WindowsPathFromHostPath(gDatabaseDir));
    EXPECT_TRUE(request.flags & OFN_ALLOWMULTISELECT);
    EXPECT_TRUE(request.flags & OFN_FILEMUSTEXIST);
    EXPECT_FALSE(request.save);
  }
  EXPECT_TRUE(AllStored().empty());
}

TEST_F(TitleItemLoadTest, TheSplitRulesGiveTheItemsWorkedOutByHand) {
  std::string nulAndDelete(
      "ab\0cd\x7F"
      "ef",
      9);
  Strings paths = {
      WriteFile("parts.B1A", "A\r\nB\r\n\r\n\r\nC"),
      WriteFile("blank.B1A", "\r\n\r\n \r\n\t\r\n\r\n\r\n"),
      WriteFile("empty.B1A", ""),
      WriteFile("spaces.B1A", "  \r\n\r\n  First item  \t\r\n\r\n\r\n\r\n  Second\r\n\r\n"),
      WriteFile("controls.B1A", nulAndDelete + "\x01g\th\x0Bi\x1F"),
      WriteFile("high.B1A", "caf\xE9 \xA7 5\xFF"),
      WriteFile("lf.B1A", "one\ntwo\n\n\nthree\n"),
  };
  Load(paths);
  Strings expected = {
      "A\x0B"
      "B",
      "C",
      "First item",
      "Second",
      "abcdefg\th\x0Bi",
      "caf\xE9 \xA7 5\xFF",
      "onetwothree"};
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  EXPECT_EQ(Texts(stored), expected);
  EXPECT_EQ(rows, expected);
  EXPECT_TRUE(KeysRise(stored));
  for (const StoredItem& item : stored) EXPECT_EQ(item.policy, "B");
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(TitleItemLoadTest, LongRunsAreCutAt16382CollectedBytes) {
  std::string run = std::string(16382, 'a') + std::string(3618, 'b');
  // 16381 letters, then a line break packed as the 16382nd byte: the cut falls on it.
  std::string onBreak = std::string(16381, 'c') + "\r\nD";
  Load({WriteFile("run.B1A", run), WriteFile("break.B1A", onBreak)});
  Strings expected = {std::string(16382, 'a'), std::string(3618, 'b'), std::string(16381, 'c'),
                      "D"};
  EXPECT_EQ(Texts(Stored(kFile, "1A")), expected);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], std::string(80, 'a'));
}

TEST_F(TitleItemLoadTest, ItemsMergeTheFilesFieldsAndAskForPrompts) {
  view->records[kBuyerTable]->SetString(2, "Pat Payer");
  std::string shownCaption;
  driver.OnDialog(20904, [&](HWND prompt) {
    shownCaption.resize(300);
    shownCaption.resize(GetWindowText(prompt, shownCaption.data(), 300));
    SetControlText(prompt, 180, "7");
    PressButton(prompt, IDOK);
  });
  driver.OnDialog(20904, [&](HWND prompt) { PressButton(prompt, IDCANCEL); });
  std::string path = WriteFile(
      "merge.B2",
      "Deed to |B1NAME| || heirs\r\n\r\n\r\nLot |?Which lot?| of |?Which block?|\r\n\r\n\r\nOpen |marker");
  Load({path}, kExceptionsCommand, 20800, 100);
  EXPECT_EQ(Texts(Stored(kFile, "2")),
            (Strings{"Deed to Pat Payer | heirs", "Lot 7 of ____", "Open"}));
  EXPECT_EQ(shownCaption, WindowsPathFromHostPath(path));
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST_F(TitleItemLoadTest, SeveralFilesLoadInTheAnswersOrderAfterTheItemsAlreadyListed) {
  PutItem(kFile, "1B", 700000.5, "listed before");
  Strings two = {WriteFile("one.B1B", "one-1\r\n\r\n\r\none-2"), WriteFile("two.B1B", "two-1")};
  Load(two, kRequirementsCommand, 20700, 300);
  Strings three = {WriteFile("c.B1B", "c"), WriteFile("a.B1B", "a"), WriteFile("b.B1B", "b")};
  files.ChooseFiles(three);
  RunCommand(kRequirementsCommand, 20700, [&](HWND dialog) {
    PressDialogKey(dialog, 'H', Qt::AltModifier);
    rows = RowTexts(FindControl(dialog, 301));
    PressButton(dialog, IDOK);
  });
  Strings expected = {"listed before", "one-1", "one-2", "two-1", "c", "a", "b"};
  std::vector<StoredItem> stored = Stored(kFile, "1B");
  EXPECT_EQ(Texts(stored), expected);
  EXPECT_EQ(rows, expected);
  EXPECT_TRUE(KeysRise(stored));
  EXPECT_TRUE(Stored(kFile, "1A").empty());
}

/* A file that no program can open, even one with every permission: a socket. */
std::string MakeUnopenable(const std::string& path) {
  if (geteuid() != 0) {
    std::ofstream(path) << "never read";
    std::filesystem::permissions(path, std::filesystem::perms::none);
    return path;
  }
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
  close(fd);
  return path;
}

TEST_F(TitleItemLoadTest, AFileThatCannotBeOpenedEndsTheLoadAndKeepsWhatCameBefore) {
  std::string first = WriteFile("first.B1A", "kept 1\r\n\r\n\r\nkept 2");
  std::string second = MakeUnopenable(PathInRoot("locked.B1A"));
  std::string third = WriteFile("third.B1A", "never loaded");
  Load({first, second, third});
  EXPECT_EQ(Texts(Stored(kFile, "1A")), (Strings{"kept 1", "kept 2"}));
  EXPECT_EQ(rows, (Strings{"kept 1", "kept 2"}));
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, "Could not open file.");
  EXPECT_EQ(Boxes().Shown()[0].caption, "TWWFile Error");
}

TEST_F(TitleItemLoadTest, AFileWithoutALengthIsNotReadAndNothingIsStored) {
  std::string huge = PathInRoot("huge.B1A");
  std::ofstream(huge) << "x";
  std::filesystem::resize_file(huge, 3ull << 30);  // sparse: 3 GiB of holes
  Load({huge});
  EXPECT_TRUE(AllStored().empty());
  EXPECT_TRUE(rows.empty());
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, "Could not read file.");
  EXPECT_EQ(Boxes().Shown()[0].caption, "TWWFile Error");
  EXPECT_EQ(Boxes().Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  std::filesystem::remove(huge);
}

TEST_F(TitleItemLoadTest, APathLongerThanTheBufferCountsAsAFileThatCannotBeOpened) {
  // The folder's Windows path with the name passes 259 characters; the host path is fine.
  std::string folder = PathInRoot("deep");
  while (WindowsPathFromHostPath(folder).size() < 250) folder += "/" + std::string(20, 'd');
  std::filesystem::create_directories(folder);
  std::string a = folder + "/first-of-the-two.B1A", b = folder + "/second-of-the-two.B1A";
  std::ofstream(a) << "deep item";
  std::ofstream(b) << "deep item 2";
  ASSERT_GT(WindowsPathFromHostPath(a).size(), 259u);
  Load({a, b});
  EXPECT_TRUE(AllStored().empty());
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, "Could not open file.");
}

TEST_F(TitleItemLoadTest, BinaryBytesLoadWithoutHarm) {
  std::string bytes;
  for (int round = 0; round < 64; ++round)
    for (int c = 0; c < 256; ++c) bytes += static_cast<char>((c * 7 + round) & 0xFF);
  Load({WriteFile("binary.B1A", bytes)});
  std::vector<StoredItem> stored = Stored(kFile, "1A");
  EXPECT_FALSE(stored.empty());
  for (const StoredItem& item : stored) {
    EXPECT_LE(item.text.size(), 16382u);
    for (unsigned char c : item.text) EXPECT_TRUE(c >= 0x20 || c == '\t' || c == 0x0B) << int(c);
  }
  EXPECT_EQ(rows.size(), stored.size());
}

TEST_F(TitleItemLoadTest, AChoiceOfManyFilesFitsTheAnswer) {
  // Twenty names of 40 characters: an answer of more than 800 bytes, past a 260-byte buffer.
  Strings paths, expected;
  for (int n = 0; n < 20; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "%02d-a-rather-long-requirement-set-name.B1A", n);
    paths.push_back(WriteFile(name, "item from " + std::string(name)));
    expected.push_back("item from " + std::string(name));
  }
  Load(paths);
  EXPECT_EQ(Texts(Stored(kFile, "1A")), expected);
  EXPECT_TRUE(Boxes().Shown().empty());
}

}  // namespace
