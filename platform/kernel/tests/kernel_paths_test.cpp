// Path mapping, the current directory, the directory calls and path splitting.
#include "platform/kernel/last_error.h"
#include "platform/kernel/path_split.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile.h"

#include "fresh_root.h"

#include <algorithm>
#include <string>

#include <sys/stat.h>

namespace {

class PathsTest : public FreshRootTest {};

TEST_F(PathsTest, DrivePathsLiveUnderTheRoot) {
  EXPECT_EQ(HostPathFromWindowsPath("C:\\ZARNE\\BUYER.DB"), root_ + "/drive_c/ZARNE/BUYER.DB");
  EXPECT_EQ(HostPathFromWindowsPath("d:/data//x\\.\\y\\..\\z.txt"),
            root_ + "/drive_d/data/x/z.txt");
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/drive_d"));
  EXPECT_EQ(HostPathFromWindowsPath("C:\\..\\..\\etc"), root_ + "/drive_c/etc");
  EXPECT_EQ(HostPathFromWindowsPath("/etc/hosts"), "/etc/hosts");
  EXPECT_EQ(HostPathFromWindowsPath(""), "");
  EXPECT_EQ(HostPathFromWindowsPath(nullptr), "");
}

TEST_F(PathsTest, ExistingComponentsMatchWhateverTheCase) {
  WriteHostFile(root_ + "/drive_c/Zarne/Private/Buyer.DB", "x");
  EXPECT_EQ(HostPathFromWindowsPath("c:\\ZARNE\\private\\BUYER.db"),
            root_ + "/drive_c/Zarne/Private/Buyer.DB");
  EXPECT_EQ(HostPathFromWindowsPath("C:\\zarne\\NewDir\\Sub"), root_ + "/drive_c/Zarne/NewDir/Sub");
  ASSERT_TRUE(CreateDirectory("C:\\ZARNE\\NewDir", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/drive_c/Zarne/NewDir"));
  // Accented names match across case and are stored as UTF-8 on the host.
  ASSERT_TRUE(CreateDirectory("C:\\Caf\xC9", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/drive_c/Caf\xC3\x89"));
  EXPECT_EQ(HostPathFromWindowsPath("c:\\caf\xE9"), root_ + "/drive_c/Caf\xC3\x89");
}

// A directory whose names fill several reads of its listing: the match may be in any of them.
TEST_F(PathsTest, ANameIsMatchedInALongDirectory) {
  WriteHostFile(root_ + "/drive_c/Long/Wanted.Txt", "x");
  for (int i = 0; i < 300; ++i)
    WriteHostFile(
        root_ + "/drive_c/Long/a-name-long-enough-to-fill-the-listing-" + std::to_string(i), "");
  WriteHostFile(root_ + "/drive_c/Long/Last.txt", "x");
  EXPECT_EQ(HostPathFromWindowsPath("C:\\long\\WANTED.TXT"), root_ + "/drive_c/Long/Wanted.Txt");
  EXPECT_EQ(HostPathFromWindowsPath("C:\\long\\last.TXT"), root_ + "/drive_c/Long/Last.txt");
  EXPECT_EQ(HostPathFromWindowsPath("C:\\long\\none.txt"), root_ + "/drive_c/Long/none.txt");
}

TEST_F(PathsTest, RelativePathsFollowTheCurrentDirectory) {
  ASSERT_TRUE(CreateDirectory("C:\\Zarne", nullptr));
  ASSERT_TRUE(CreateDirectory("C:\\Zarne\\Data", nullptr));
  ASSERT_TRUE(SetCurrentDirectory("c:\\zarne\\data"));
  char current[MAX_PATH];
  EXPECT_EQ(GetCurrentDirectory(sizeof current, current), 13u);
  EXPECT_STREQ(current, "C:\\zarne\\data");
  EXPECT_EQ(HostPathFromWindowsPath("BUYER.DB"), root_ + "/drive_c/Zarne/Data/BUYER.DB");
  EXPECT_EQ(HostPathFromWindowsPath("..\\zarne.ini"), root_ + "/drive_c/Zarne/zarne.ini");
  EXPECT_EQ(HostPathFromWindowsPath("\\top.txt"), root_ + "/drive_c/top.txt");
  EXPECT_EQ(HostPathFromWindowsPath("C:more"), root_ + "/drive_c/Zarne/Data/more");
  EXPECT_EQ(HostPathFromWindowsPath("D:more"), root_ + "/drive_d/more");
  EXPECT_EQ(FullWindowsPath("sub\\..\\x.txt"), "C:\\zarne\\data\\x.txt");
}

TEST_F(PathsTest, SetCurrentDirectoryFailsOnAMissingDirectory) {
  ASSERT_TRUE(SetCurrentDirectory("C:\\"));
  EXPECT_FALSE(SetCurrentDirectory("C:\\NoSuchDir"));
  WriteHostFile(root_ + "/drive_c/file.txt", "x");
  EXPECT_FALSE(SetCurrentDirectory("C:\\file.txt"));
  char current[4];
  EXPECT_EQ(GetCurrentDirectory(sizeof current, current), 3u);
  EXPECT_STREQ(current, "C:\\");
  char tiny[2] = {'k', 0};
  EXPECT_EQ(GetCurrentDirectory(sizeof tiny, tiny), 4u);  // size needed, buffer untouched
  EXPECT_EQ(tiny[0], 'k');
}

TEST_F(PathsTest, HostDirectoriesShowUnderDriveZ) {
  EXPECT_EQ(WindowsPathFromHostPath("/usr/lib"), "Z:\\usr\\lib");
  EXPECT_EQ(WindowsPathFromHostPath("/"), "Z:\\");
  EXPECT_EQ(WindowsPathFromHostPath(root_ + "/drive_c/Zarne/x.ini"), "C:\\Zarne\\x.ini");
  std::string not_a_drive = "Z:" + root_ + "/drive_cx/y";
  std::replace(not_a_drive.begin(), not_a_drive.end(), '/', '\\');
  EXPECT_EQ(WindowsPathFromHostPath(root_ + "/drive_cx/y"), not_a_drive);
  EXPECT_EQ(HostPathFromWindowsPath("Z:\\USR\\LIB"), "/usr/lib");
  ASSERT_TRUE(SetCurrentDirectory(root_.c_str()));
  char current[MAX_PATH];
  GetCurrentDirectory(sizeof current, current);
  EXPECT_EQ(HostPathFromWindowsPath(current), root_);
  EXPECT_EQ(current[0], 'Z');
}

// The system joins names with '\\' whatever directory it was given: a host directory
// plus "\\name" must name the file in that directory, not one called "dir\\name".
TEST_F(PathsTest, AHostDirectoryJoinedTheWindowsWayNamesAFileInIt) {
  const std::string dir = root_ + "/hostdir";
  std::filesystem::create_directories(dir);
  EXPECT_EQ(HostPathFromWindowsPath((dir + "\\zarnesys.ini").c_str()), dir + "/zarnesys.ini");
  EXPECT_EQ(ProfileFileHostPath((dir + "\\zarnesys.ini").c_str()), dir + "/zarnesys.ini");
  EXPECT_EQ(HostPathFromWindowsPath((dir + "\\Sub\\f.txt").c_str()), dir + "/Sub/f.txt");
  ASSERT_TRUE(CreateDirectory((dir + "\\Sub").c_str(), nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(dir + "/Sub"));
  WritePrivateProfileString("System", "DirDatabase", "C:\\DB", (dir + "\\zarnesys.ini").c_str());
  EXPECT_TRUE(HostExists(dir + "/zarnesys.ini"));
  EXPECT_FALSE(HostExists(dir + "\\zarnesys.ini"));
}

TEST_F(PathsTest, RootFollowsTheEnvironment) {
  const std::string first = HostPathFromWindowsPath("C:\\a");
  char other[] = "/tmp/zarne-kernel-other-XXXXXX";
  ASSERT_NE(mkdtemp(other), nullptr);
  setenv("ZARNE_ROOT", other, 1);
  EXPECT_EQ(HostPathFromWindowsPath("C:\\a"), std::string(other) + "/drive_c/a");
  EXPECT_EQ(ProfileFileHostPath("zarne.ini"), std::string(other) + "/windows/zarne.ini");
  setenv("ZARNE_ROOT", root_.c_str(), 1);
  EXPECT_EQ(HostPathFromWindowsPath("C:\\a"), first);
  std::filesystem::remove_all(other);
}

/* The root below the home is the program's own: made private, so the tables, settings and
   printouts inside are the user's alone. A root that exists keeps its modes, and with no
   home at all there is no root (never a shared place such as /tmp). */
TEST_F(PathsTest, TheRootTheProgramMakesIsPrivateAndOneThatExistsKeepsItsModes) {
  const std::string home = root_ + "/home";
  std::filesystem::create_directories(home);
  unsetenv("ZARNE_ROOT");
  unsetenv("XDG_DATA_HOME");
  const char* savedHome = std::getenv("HOME");
  std::string restoreHome = savedHome ? savedHome : "";
  setenv("HOME", home.c_str(), 1);
  mode_t savedMask = umask(022);
  auto modeOf = [](const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
  };
  const std::string own = home + "/.local/share/zarne";
  EXPECT_TRUE(WritePrivateProfileString("System", "DirDatabase", "C:\ZARNE", "zarne.ini"));
  EXPECT_EQ(modeOf(own), 0700);
  EXPECT_EQ(HostPathFromWindowsPath("C:\ZARNE"), own + "/drive_c/ZARNE");

  const std::string office = root_ + "/office";
  std::filesystem::create_directories(office);
  chmod(office.c_str(), 0775);
  setenv("ZARNE_ROOT", office.c_str(), 1);
  EXPECT_TRUE(WritePrivateProfileString("System", "DirDatabase", "C:\ZARNE", "zarne.ini"));
  EXPECT_EQ(modeOf(office), 0775);

  unsetenv("ZARNE_ROOT");
  unsetenv("HOME");
  EXPECT_EQ(ZarneRootPath(), "");
  umask(savedMask);
  if (savedHome) setenv("HOME", restoreHome.c_str(), 1);
  setenv("ZARNE_ROOT", root_.c_str(), 1);
}

TEST_F(PathsTest, ProfileNamesWithoutDirectoryLiveInTheProfileDirectory) {
  EXPECT_EQ(ProfileFileHostPath("zarne.ini"), root_ + "/windows/zarne.ini");
  WriteHostFile(root_ + "/windows/WIN.INI", "");
  EXPECT_EQ(ProfileFileHostPath("win.ini"), root_ + "/windows/WIN.INI");
  EXPECT_EQ(ProfileFileHostPath("C:\\Zarne\\zarnesys.ini"), root_ + "/drive_c/Zarne/zarnesys.ini");
  EXPECT_EQ(ProfileFileHostPath("..\\..\\escape.ini"), root_ + "/windows/escape.ini");
}

TEST_F(PathsTest, DirectoryAndFileCalls) {
  EXPECT_FALSE(CreateDirectory("C:\\A\\B", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  ASSERT_TRUE(CreateDirectory("C:\\A", nullptr));
  EXPECT_FALSE(CreateDirectory("c:\\a", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  ASSERT_TRUE(CreateDirectory("C:\\A\\B", nullptr));
  WriteHostFile(root_ + "/drive_c/A/B/f.txt", "x");
  EXPECT_EQ(GetFileAttributes("c:\\a\\b"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributes("C:\\A\\B\\F.TXT"), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributes("C:\\A\\none"), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(RemoveDirectory("C:\\A\\B"));
  EXPECT_FALSE(DeleteFile("C:\\A\\B"));
  EXPECT_TRUE(DeleteFile("C:\\a\\b\\F.txt"));
  EXPECT_FALSE(DeleteFile("C:\\a\\b\\F.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(RemoveDirectory("C:\\a\\b"));
  EXPECT_FALSE(HostExists(root_ + "/drive_c/A/B"));
}

TEST(PathSplitTest, SplitsDriveDirectoryNameAndExtension) {
  char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath("Z:\\work\\bin\\zarne32.exe", drive, dir, name, ext);
  EXPECT_STREQ(drive, "Z:");
  EXPECT_STREQ(dir, "\\work\\bin\\");
  EXPECT_STREQ(name, "zarne32");
  EXPECT_STREQ(ext, ".exe");
  _splitpath("report.v1.txt", drive, dir, nullptr, ext);
  EXPECT_STREQ(drive, "");
  EXPECT_STREQ(dir, "");
  EXPECT_STREQ(ext, ".txt");
  _splitpath("C:dir.d/file", drive, dir, name, ext);
  EXPECT_STREQ(dir, "dir.d/");
  EXPECT_STREQ(name, "file");
  EXPECT_STREQ(ext, "");
  EXPECT_EQ(
      fnsplit("C:\\X\\*.BND", drive, dir, name, ext),
      FNSPLIT_DRIVE | FNSPLIT_DIRECTORY | FNSPLIT_FILENAME | FNSPLIT_EXTENSION | FNSPLIT_WILDCARDS);
  EXPECT_EQ(fnsplit("C:\\X\\", drive, dir, name, ext), FNSPLIT_DRIVE | FNSPLIT_DIRECTORY);
  EXPECT_STREQ(name, "");
}

TEST(PathSplitTest, PartsAreCutToTheirBuffers) {
  const std::string long_dir = "C:\\" + std::string(400, 'd') + "\\" + std::string(300, 'n') + ".e";
  char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath(long_dir.c_str(), drive, dir, name, ext);
  EXPECT_EQ(std::strlen(dir), static_cast<size_t>(_MAX_DIR - 1));
  EXPECT_EQ(std::strlen(name), static_cast<size_t>(_MAX_FNAME - 1));
  EXPECT_STREQ(ext, ".e");
}

}  // namespace
