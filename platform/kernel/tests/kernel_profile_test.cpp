// Profile files: lookups, listing, edits that keep the rest of the file, damaged files,
// refused writes, another program's changes and the atomic replacement surviving a killed
// writer.
#include "platform/kernel/profile.h"
#include "platform/kernel/last_error.h"

#include "fresh_root.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

class ProfileTest : public FreshRootTest {
 protected:
  std::string ZarneIni() const { return root_ + "/windows/zarne.ini"; }
  std::string Get(const char* section, const char* key, const char* fallback = "",
                  const char* file = "zarne.ini") {
    char buffer[256];
    GetPrivateProfileString(section, key, fallback, buffer, sizeof buffer, file);
    return buffer;
  }
  // The NUL-separated names of a listing.
  static std::vector<std::string> Names(const char* list) {
    std::vector<std::string> names;
    for (const char* p = list; *p; p += std::strlen(p) + 1) names.push_back(p);
    return names;
  }
};

TEST_F(ProfileTest, LookupIgnoresCaseTrimsAndStripsQuotes) {
  WriteHostFile(
      ZarneIni(),
      "[System]\r\n  DirDatabase =  C:\\ZARNE  \r\nQuoted=\"  padded \"\r\nSingle='x'\r\n"
      "Odd=\"half\r\nEmpty=\r\nBare\r\n; DirCheckCtl=commented\r\n[Other]\r\nDirCheckCtl=D:\\\r\n");
  EXPECT_EQ(Get("system", "DIRDATABASE"), "C:\\ZARNE");
  EXPECT_EQ(Get("SYSTEM", "quoted"), "  padded ");
  EXPECT_EQ(Get("System", "Single"), "x");
  EXPECT_EQ(Get("System", "Odd"), "\"half");
  EXPECT_EQ(Get("System", "Empty", "dflt"), "");
  EXPECT_EQ(Get("System", "Bare", "dflt"), "");
  EXPECT_EQ(Get("System", "DirCheckCtl", "none  "), "none");
  EXPECT_EQ(Get("Missing", "DirDatabase", nullptr), "");
}

TEST_F(ProfileTest, ResultIsCutToTheBufferAndCounted) {
  WriteHostFile(ZarneIni(), "[S]\nKey=abcdefghij\n");
  char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetPrivateProfileString("S", "Key", "", buffer, sizeof buffer, "zarne.ini"), 4u);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(GetPrivateProfileString("S", "Nope", "0123456789", buffer, sizeof buffer, "zarne.ini"),
            4u);
  EXPECT_STREQ(buffer, "0123");
  EXPECT_EQ(GetPrivateProfileString("S", "Key", "", buffer, 0, "zarne.ini"), 0u);
  EXPECT_EQ(GetPrivateProfileString("S", "Key", "", buffer, 1, "zarne.ini"), 0u);
  EXPECT_STREQ(buffer, "");
}

TEST_F(ProfileTest, NullSectionAndNullKeyListNames) {
  WriteHostFile(ZarneIni(), "[One]\na=1\nB=2\n[Two]\nc=3\n[one]\nd=4\n");
  char buffer[64];
  DWORD length = GetPrivateProfileString(nullptr, nullptr, "", buffer, sizeof buffer, "zarne.ini");
  EXPECT_EQ(length, 8u);  // "One\0Two\0" then the closing NUL
  EXPECT_EQ(buffer[8], '\0');
  EXPECT_EQ(Names(buffer), (std::vector<std::string>{"One", "Two"}));
  length = GetPrivateProfileString("ONE", nullptr, "", buffer, sizeof buffer, "zarne.ini");
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(Names(buffer), (std::vector<std::string>{"a", "B", "d"}));
  EXPECT_EQ(Get("one", "d"), "4");  // duplicated sections are searched in turn

  char small[6];
  EXPECT_EQ(GetPrivateProfileString("One", nullptr, "", small, sizeof small, "zarne.ini"), 4u);
  EXPECT_EQ(small[4], '\0');
  EXPECT_EQ(small[5], '\0');
  EXPECT_EQ(GetPrivateProfileString("Absent", nullptr, "", buffer, sizeof buffer, "zarne.ini"), 0u);
  EXPECT_EQ(buffer[0], '\0');
}

// Each section is listed once, in file order and first spelling, whatever the case (in the
// system's code page: \xE9 is e-acute, \xC9 its capital) or the blanks around its name.
TEST_F(ProfileTest, ListingKeepsTheFirstSpellingOfEachSection) {
  WriteHostFile(ZarneIni(),
                "[ Alpha ]\nx=1\n[beta]\n[ALPHA]\n[\xE9t\xE9]\n[Beta ]\n[\xC9T\xC9]\n[gamma]\n");
  char buffer[64];
  GetPrivateProfileString(nullptr, nullptr, "", buffer, sizeof buffer, "zarne.ini");
  EXPECT_EQ(Names(buffer), (std::vector<std::string>{"Alpha", "beta", "\xE9t\xE9", "gamma"}));
}

TEST_F(ProfileTest, IntegersReadAsDecimalPrefix) {
  WriteHostFile(ZarneIni(), "[N]\nA=42\nB= -7 \nC=12abc\nD=abc\nE=\n");
  EXPECT_EQ(GetPrivateProfileInt("N", "A", 5, "zarne.ini"), 42u);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("N", "B", 5, "zarne.ini")), -7);
  EXPECT_EQ(GetPrivateProfileInt("N", "C", 5, "zarne.ini"), 12u);
  EXPECT_EQ(GetPrivateProfileInt("N", "D", 5, "zarne.ini"), 0u);
  EXPECT_EQ(GetPrivateProfileInt("N", "E", 5, "zarne.ini"), 0u);
  EXPECT_EQ(GetPrivateProfileInt("N", "Missing", 5, "zarne.ini"), 5u);
  EXPECT_EQ(GetPrivateProfileInt("N", "A", 5, "absent.ini"), 5u);
}

TEST_F(ProfileTest, FirstWriteCreatesTheFileInTheProfileDirectory) {
  EXPECT_FALSE(HostExists(root_ + "/windows"));
  ASSERT_TRUE(WritePrivateProfileString("System", "DirDatabase", "C:\\ZARNE", "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()), "[System]\r\nDirDatabase=C:\\ZARNE\r\n");
  ASSERT_TRUE(WritePrivateProfileString("System", "DirPrivate", "C:\\Zarne\\Private", "ZARNE.INI"));
  ASSERT_TRUE(WritePrivateProfileString("Tessel", "RCVersion31", "1", "zarne.ini"));
  EXPECT_EQ(
      ReadHostFile(ZarneIni()),
      "[System]\r\nDirDatabase=C:\\ZARNE\r\nDirPrivate=C:\\Zarne\\Private\r\n\r\n[Tessel]\r\nRCVersion31=1\r\n");
}

TEST_F(ProfileTest, EditsKeepEveryOtherLineByteForByte) {
  const std::string before =
      "; settings\n[System]\nDirDatabase = C:\\OLD ; trailing\n\n; note inside\n"
      "DirPrinters=C:\\P\n\n[HUD1Options]\n  ShowGrid=1\n";
  WriteHostFile(ZarneIni(), before);
  ASSERT_TRUE(WritePrivateProfileString("SYSTEM", "dirdatabase", "D:\\NEW", "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()),
            "; settings\n[System]\nDirDatabase=D:\\NEW\n\n; note inside\nDirPrinters=C:\\P\n\n"
            "[HUD1Options]\n  ShowGrid=1\n");
  ASSERT_TRUE(WritePrivateProfileString("System", "DirCheckCtl", "C:\\CC", "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()),
            "; settings\n[System]\nDirDatabase=D:\\NEW\n\n; note inside\nDirPrinters=C:\\P\n"
            "DirCheckCtl=C:\\CC\n\n[HUD1Options]\n  ShowGrid=1\n");
}

TEST_F(ProfileTest, NullValueDeletesKeyAndNullKeyDeletesSection) {
  WriteHostFile(ZarneIni(), "[A]\nx=1\ny=2\n[B]\n; b's comment\nz=3\n[C]\nw=4\n");
  ASSERT_TRUE(WritePrivateProfileString("a", "X", nullptr, "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()), "[A]\ny=2\n[B]\n; b's comment\nz=3\n[C]\nw=4\n");
  ASSERT_TRUE(WritePrivateProfileString("b", nullptr, nullptr, "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()), "[A]\ny=2\n[C]\nw=4\n");
  EXPECT_EQ(Get("B", "z", "gone"), "gone");
  ASSERT_TRUE(WritePrivateProfileString("Absent", "k", nullptr, "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()), "[A]\ny=2\n[C]\nw=4\n");
}

TEST_F(ProfileTest, DamagedFileStillReadsAndAWriteLosesNothing) {
  using namespace std::string_literals;
  const std::string damaged =
      "[System\r\nDirDatabase=C:\\DB\r\ngarbage \x01\0 line\r\n[Tracking]\r\nDesc1=Title ordered\r\nDesc2=Surv"s;
  WriteHostFile(ZarneIni(), damaged);
  EXPECT_EQ(Get("System", "DirDatabase"), "C:\\DB");
  EXPECT_EQ(Get("Tracking", "Desc2"), "Surv");
  ASSERT_TRUE(WritePrivateProfileString("Tracking", "Desc3", "Closing", "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()), damaged + "\r\nDesc3=Closing\r\n");
  ASSERT_TRUE(WritePrivateProfileString("New", "k", "v", "zarne.ini"));
  EXPECT_EQ(Get("System", "DirDatabase"), "C:\\DB");
  EXPECT_EQ(Get("Tracking", "Desc1"), "Title ordered");
  EXPECT_EQ(Get("New", "k"), "v");
}

TEST_F(ProfileTest, ByteOrderMarkIsKeptAndSkipped) {
  WriteHostFile(ZarneIni(), "\xEF\xBB\xBF[System]\r\nDirDatabase=C:\\DB\r\n");
  EXPECT_EQ(Get("System", "DirDatabase"), "C:\\DB");
  ASSERT_TRUE(WritePrivateProfileString("System", "DirPrinters", "C:\\P", "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()),
            "\xEF\xBB\xBF[System]\r\nDirDatabase=C:\\DB\r\nDirPrinters=C:\\P\r\n");
}

TEST_F(ProfileTest, WritesThatWouldCorruptTheFileAreRefused) {
  WriteHostFile(ZarneIni(), "[S]\nk=1\n");
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "two\r\n[Evil]", "zarne.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(WritePrivateProfileString("S", "a=b", "1", "zarne.ini"));
  EXPECT_FALSE(WritePrivateProfileString("S]x", "a", "1", "zarne.ini"));
  EXPECT_FALSE(WritePrivateProfileString(nullptr, "a", "1", "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()), "[S]\nk=1\n");
}

// Several keys written at once land as the same writes one by one would leave them (a key
// found keeps its spelling, new keys follow the section's last line before its blank lines),
// and one key that cannot be stored keeps every other from being written.
TEST_F(ProfileTest, SeveralValuesAreWrittenInOrderOrNotAtAll) {
  WriteHostFile(ZarneIni(), "[HUD1Options]\nAutoClose=7\n; kept\n\n[Other]\nx=1");
  const ProfileValue values[] = {{"autoclose", "1"}, {"Maximize", "0"}, {"MaxWindows", "3"}};
  ASSERT_TRUE(WritePrivateProfileValues("hud1options", values, 3, "zarne.ini"));
  const std::string written =
      "[HUD1Options]\nAutoClose=1\n; kept\nMaximize=0\nMaxWindows=3\n\n[Other]\nx=1";
  EXPECT_EQ(ReadHostFile(ZarneIni()), written);
  EXPECT_EQ(Get("HUD1Options", "MaxWindows"), "3");

  const ProfileValue refused[] = {{"Privacy", "2"}, {"SigPage3", "1\r\n[Evil]"}};
  EXPECT_FALSE(WritePrivateProfileValues("HUD1Options", refused, 2, "zarne.ini"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  const ProfileValue unnamed[] = {{"Privacy", "2"}, {nullptr, "1"}};
  EXPECT_FALSE(WritePrivateProfileValues("HUD1Options", unnamed, 2, "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()), written);
}

// Another program's change shows at the very next call, even one that keeps the file's size
// and time stamps (an edit in place within one tick of the clock).
TEST_F(ProfileTest, AChangeByAnotherProgramShowsAtTheNextCall) {
  WriteHostFile(ZarneIni(), "[S]\nk=1\n");
  EXPECT_EQ(Get("S", "k"), "1");
  struct stat before {};
  ASSERT_EQ(stat(ZarneIni().c_str(), &before), 0);
  {
    std::fstream file(ZarneIni(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(6);  // the value's byte
    file.put('2');
  }
  const timespec stamps[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, ZarneIni().c_str(), stamps, 0), 0);
  EXPECT_EQ(Get("S", "k"), "2");
  EXPECT_EQ(GetPrivateProfileInt("S", "k", 0, "zarne.ini"), 2u);

  WriteHostFile(ZarneIni(), "[T]\nk=3\n");
  char list[64];
  GetPrivateProfileString(nullptr, nullptr, "", list, sizeof list, "zarne.ini");
  EXPECT_EQ(Names(list), std::vector<std::string>{"T"});
  EXPECT_EQ(Get("S", "k", "gone"), "gone");
  std::filesystem::remove(ZarneIni());
  EXPECT_EQ(Get("T", "k", "gone"), "gone");
}

// The file is kept open between calls, and every call looks again: a file renamed over it
// (another program's own atomic write), one grown or cut in place, and one renamed over the
// file this program's write left open, are each seen at the next call.
TEST_F(ProfileTest, EveryCallSeesTheFileThePathNamesNow) {
  const std::string other = root_ + "/windows/other.ini";
  WriteHostFile(ZarneIni(), "[S]\nk=1\n");
  EXPECT_EQ(Get("S", "k"), "1");
  WriteHostFile(other, "[S]\nk=2\n");
  ASSERT_EQ(std::rename(other.c_str(), ZarneIni().c_str()), 0);
  EXPECT_EQ(Get("S", "k"), "2");
  {
    std::ofstream grow(ZarneIni(), std::ios::binary | std::ios::app);
    grow << "m=3\n";
  }
  EXPECT_EQ(Get("S", "m"), "3");
  ASSERT_EQ(truncate(ZarneIni().c_str(), 8), 0);  // back to "[S]\nk=2\n"
  EXPECT_EQ(Get("S", "m", "gone"), "gone");
  EXPECT_EQ(Get("S", "k"), "2");

  ASSERT_TRUE(WritePrivateProfileString("S", "k", "4", "zarne.ini"));
  EXPECT_EQ(GetPrivateProfileInt("S", "k", 0, "zarne.ini"), 4u);
  WriteHostFile(other, "[S]\nk=5\n");
  ASSERT_EQ(std::rename(other.c_str(), ZarneIni().c_str()), 0);
  EXPECT_EQ(GetPrivateProfileInt("S", "k", 0, "zarne.ini"), 5u);
  ASSERT_TRUE(WritePrivateProfileString("S", "n", "6", "zarne.ini"));
  EXPECT_EQ(ReadHostFile(ZarneIni()), "[S]\nk=5\nn=6\n");
}

TEST_F(ProfileTest, UnreadableFileIsNeverReplaced) {
  std::filesystem::create_directories(ZarneIni());  // something that cannot be read as text
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", "zarne.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(ZarneIni()));
}

// A write whose replacement cannot be made (its temporary file's name would be too long)
// fails, and the reads after it still answer what the file holds, not the refused edit.
TEST_F(ProfileTest, FailedReplacementLeavesReadsOnTheFile) {
  const std::string name(250, 'p');
  WriteHostFile(root_ + "/windows/" + name, "[S]\nk=old\n");
  EXPECT_EQ(Get("S", "k", "", name.c_str()), "old");
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "new", name.c_str()));
  EXPECT_EQ(Get("S", "k", "", name.c_str()), "old");
  EXPECT_EQ(ReadHostFile(root_ + "/windows/" + name), "[S]\nk=old\n");
}

// The replacement keeps the permissions the file has when it is written, also when they
// were changed after the file was last read.
TEST_F(ProfileTest, ReplacementKeepsTheFilesPermissions) {
  WriteHostFile(ZarneIni(), "[S]\nk=1\n");
  EXPECT_EQ(Get("S", "k"), "1");
  ASSERT_EQ(chmod(ZarneIni().c_str(), 0640), 0);
  ASSERT_TRUE(WritePrivateProfileString("S", "k", "2", "zarne.ini"));
  struct stat info {};
  ASSERT_EQ(stat(ZarneIni().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  ASSERT_EQ(chmod(ZarneIni().c_str(), 0604), 0);
  ASSERT_TRUE(WritePrivateProfileString("S", "k", "3", "zarne.ini"));
  ASSERT_EQ(stat(ZarneIni().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  EXPECT_EQ(ReadHostFile(ZarneIni()), "[S]\nk=3\n");
}

TEST_F(ProfileTest, FilesWithADirectoryAreMappedAndNeedTheirDirectory) {
  EXPECT_FALSE(WritePrivateProfileString("Tracking", "Desc1", "x", "C:\\ZARNE\\zarnesys.ini"));
  std::filesystem::create_directories(root_ + "/drive_c/Zarne");
  ASSERT_TRUE(WritePrivateProfileString("Tracking", "Desc1", "x", "C:\\ZARNE\\zarnesys.ini"));
  EXPECT_TRUE(HostExists(root_ + "/drive_c/Zarne/zarnesys.ini"));
  EXPECT_EQ(Get("tracking", "desc1", "", "c:\\zarne\\ZARNESYS.INI"), "x");
}

TEST_F(ProfileTest, WinIniCallsUseWinIni) {
  ASSERT_TRUE(WriteProfileString("Tessel", "WritePrivStyle", "1"));
  EXPECT_TRUE(HostExists(root_ + "/windows/win.ini"));
  EXPECT_EQ(GetProfileInt("tessel", "writeprivstyle", 0), 1u);
  char buffer[16];
  EXPECT_EQ(GetProfileString("Tessel", "RCVersion31", "0", buffer, sizeof buffer), 1u);
  EXPECT_STREQ(buffer, "0");
  EXPECT_EQ(Get("Tessel", "WritePrivStyle", "", "WIN.INI"), "1");
}

// A writer killed at any moment leaves the old or the new file, whole.
TEST_F(ProfileTest, KilledWriterLeavesAWholeFile) {
  ASSERT_TRUE(WritePrivateProfileString("Keep", "Other", "kept", "zarne.ini"));
  ASSERT_TRUE(WritePrivateProfileString("Loop", "Value", "start", "zarne.ini"));
  const std::string long_tail(2000, 'x');
  for (int round = 0; round < 5; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (long i = 0;; ++i) {
        const std::string value = std::to_string(i) + long_tail;
        WritePrivateProfileString("Loop", "Value", value.c_str(), "zarne.ini");
        WritePrivateProfileString("Loop", "Extra", i % 2 ? "e" : nullptr, "zarne.ini");
      }
    }
    usleep(20000 + round * 7000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(Get("Keep", "Other"), "kept");
    char value[4096];
    GetPrivateProfileString("Loop", "Value", "", value, sizeof value, "zarne.ini");
    const std::string text = value;
    const bool is_start = text == "start";
    const bool is_whole =
        text.size() > long_tail.size() &&
        text.compare(text.size() - long_tail.size(), long_tail.size(), long_tail) == 0;
    EXPECT_TRUE(is_start || is_whole) << text.substr(0, 40);
  }
  // The next write clears what killed writers left behind.
  ASSERT_TRUE(WritePrivateProfileString("Keep", "Other", "again", "zarne.ini"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_ + "/windows"),
                          std::filesystem::directory_iterator()),
            1);
}

// Writers in several processes each read, edit and replace the file: none may lose
// another's keys.
TEST_F(ProfileTest, ConcurrentWritersLoseNoUpdate) {
  constexpr int kWriters = 3;
  constexpr int kKeysEach = 40;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      bool all_written = true;
      for (int k = 0; k < kKeysEach; ++k) {
        const std::string key = "W" + std::to_string(w) + "K" + std::to_string(k);
        all_written =
            WritePrivateProfileString("Shared", key.c_str(), "1", "zarne.ini") && all_written;
      }
      _exit(all_written ? 0 : 1);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  char keys[8192];
  GetPrivateProfileString("Shared", nullptr, "", keys, sizeof keys, "zarne.ini");
  EXPECT_EQ(Names(keys).size(), static_cast<size_t>(kWriters * kKeysEach));
}

}  // namespace
