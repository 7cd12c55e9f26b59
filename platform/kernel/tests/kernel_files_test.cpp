// OpenFile modes and errors, and the _l* calls on the handles it gives.
#include "platform/kernel/files.h"
#include "platform/kernel/last_error.h"

#include "fresh_root.h"

namespace {

class FilesTest : public FreshRootTest {
 protected:
  std::string Host(const char* name) const { return root_ + "/drive_c/" + name; }
};

TEST_F(FilesTest, CreateWriteSeekReadClose) {
  OFSTRUCT info{};
  const HFILE file = OpenFile("C:\\export.txt", &info, OF_READWRITE | OF_CREATE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_NE(file, 0);
  EXPECT_STREQ(info.szPathName, "C:\\export.txt");
  EXPECT_EQ(_lwrite(file, "hello world", 11), 11u);
  EXPECT_EQ(_llseek(file, 0, FILE_END), 11);
  EXPECT_EQ(_llseek(file, 6, FILE_BEGIN), 6);
  char buffer[16] = {};
  EXPECT_EQ(_lread(file, buffer, sizeof buffer), 5u);
  EXPECT_STREQ(buffer, "world");
  EXPECT_EQ(_lread(file, buffer, sizeof buffer), 0u);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(ReadHostFile(Host("export.txt")), "hello world");
}

TEST_F(FilesTest, ReadWriteShareDenyNoneKeepsTheContent) {
  WriteHostFile(Host("CHKFORM.DAT"), "0123456789");
  OFSTRUCT info{};
  const HFILE file = OpenFile("c:\\chkform.dat", &info, 0x42);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, "ab", 2), 2u);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(ReadHostFile(Host("CHKFORM.DAT")), "ab23456789");
}

TEST_F(FilesTest, CreateEmptiesAnExistingFile) {
  WriteHostFile(Host("old.txt"), "old content");
  OFSTRUCT info{};
  const HFILE file = OpenFile("C:\\old.txt", &info, OF_READWRITE | OF_CREATE);
  ASSERT_NE(file, HFILE_ERROR);
  _lclose(file);
  EXPECT_EQ(ReadHostFile(Host("old.txt")), "");
}

TEST_F(FilesTest, ExistTestsAndCloses) {
  WriteHostFile(Host("Buyer.DB"), "x");
  OFSTRUCT info{};
  EXPECT_GT(OpenFile("C:\\BUYER.DB", &info, OF_EXIST | OF_SHARE_DENY_NONE), 0);
  EXPECT_EQ(OpenFile("C:\\SELLER.DB", &info, OF_EXIST), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenFile("C:\\", &info, OF_EXIST), HFILE_ERROR);  // a directory is no file
}

TEST_F(FilesTest, FailuresGiveHfileError) {
  OFSTRUCT info{};
  EXPECT_EQ(OpenFile("C:\\missing.txt", &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenFile("C:\\NoDir\\new.txt", &info, OF_READWRITE | OF_CREATE), HFILE_ERROR);
  EXPECT_EQ(OpenFile(nullptr, &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(OpenFile("", nullptr, OF_READ), HFILE_ERROR);
  EXPECT_EQ(_lopen("C:\\missing.txt", OF_READ), HFILE_ERROR);
}

TEST_F(FilesTest, HandlesNotOpenHereAreRefused) {
  char buffer[4];
  EXPECT_EQ(_lread(1234, buffer, 4), static_cast<UINT>(HFILE_ERROR));
  EXPECT_EQ(_lwrite(1, "x", 1), static_cast<UINT>(HFILE_ERROR));  // not stdout
  EXPECT_EQ(_llseek(-1, 0, FILE_BEGIN), HFILE_ERROR);
  EXPECT_EQ(_lclose(2), HFILE_ERROR);
  const HFILE file = _lcreat("C:\\twice.txt", 0);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(_lclose(file), HFILE_ERROR);
  EXPECT_EQ(_lread(file, buffer, 4), static_cast<UINT>(HFILE_ERROR));
}

TEST_F(FilesTest, WriteOfZeroBytesCutsTheFile) {
  WriteHostFile(Host("cut.txt"), "0123456789");
  const HFILE file = _lopen("C:\\cut.txt", OF_READWRITE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 4, FILE_BEGIN), 4);
  EXPECT_EQ(_lwrite(file, "", 0), 0u);
  _lclose(file);
  EXPECT_EQ(ReadHostFile(Host("cut.txt")), "0123");
}

TEST_F(FilesTest, ReadOnlyHandleCannotWriteAndDeleteRemoves) {
  WriteHostFile(Host("ro.txt"), "data");
  const HFILE file = _lopen("C:\\RO.TXT", OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, "x", 1), static_cast<UINT>(HFILE_ERROR));
  _lclose(file);
  OFSTRUCT info{};
  EXPECT_NE(OpenFile("C:\\ro.txt", &info, OF_DELETE), HFILE_ERROR);
  EXPECT_FALSE(HostExists(Host("ro.txt")));
  EXPECT_EQ(OpenFile("C:\\ro.txt", &info, OF_DELETE), HFILE_ERROR);
}

TEST_F(FilesTest, ParseFillsTheFullPathOnly) {
  ASSERT_TRUE(SetCurrentDirectory("C:\\"));
  OFSTRUCT info{};
  EXPECT_EQ(OpenFile("sub\\..\\name.txt", &info, OF_PARSE), 0);
  EXPECT_STREQ(info.szPathName, "C:\\name.txt");
  EXPECT_FALSE(HostExists(Host("name.txt")));
  const std::string long_name = "C:\\" + std::string(300, 'n');
  OpenFile(long_name.c_str(), &info, OF_PARSE);
  EXPECT_EQ(std::strlen(info.szPathName), static_cast<size_t>(OFS_MAXPATHNAME - 1));
}

TEST(HandleCountTest, AtLeastEightyHandlesAreAvailable) { EXPECT_EQ(SetHandleCount(80), 80u); }

}  // namespace
