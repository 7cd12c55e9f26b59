/*
** chkform.dat and TWWFile: a file of the wrong size is reset to "unset" and ends up exactly
** 128 bytes, a right-sized one is read as written, and files that cannot be opened are
** refused with the file box.
*/
#include "tableaccess/check_form_settings.h"
#include "tableaccess/ww_file.h"

#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/testing/gui_test.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kPath = "C:\\CHKTEST\\CHKFORM.DAT";

/* Each test has its own root (so its own drive C:): the tests of this program run side by
   side under ctest -j, and one file shared among them was written by one while read by another. */
class CheckFormTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    CreateDirectory("C:\\CHKTEST", nullptr);
  }

  void WriteBytes(const std::vector<BYTE>& bytes) {
    TWWFile file;
    ASSERT_TRUE(file.Open(kPath, 0x42));
    ASSERT_EQ(file.Write(bytes.data(), static_cast<UINT>(bytes.size())),
              static_cast<long>(bytes.size()));
  }

  std::vector<BYTE> ReadBytes() {
    TWWFile file;
    EXPECT_TRUE(file.Open(kPath, 0x42));
    std::vector<BYTE> bytes(static_cast<size_t>(file.Size()));
    EXPECT_EQ(file.Read(bytes.data(), static_cast<UINT>(bytes.size())),
              static_cast<long>(bytes.size()));
    return bytes;
  }
};

void ExpectAllUnset(const short values[kCheckFormValueCount]) {
  for (int i = 0; i < kCheckFormValueCount; ++i) EXPECT_EQ(values[i], kCheckFormUnset) << i;
}

TEST_F(CheckFormTest, WrongSizedFilesAreResetToExactly128UnsetBytes) {
  for (size_t size : {size_t{0}, size_t{127}, size_t{129}, size_t{400}}) {
    SCOPED_TRACE(size);
    WriteBytes(std::vector<BYTE>(size, 0x11));
    short values[kCheckFormValueCount] = {};
    ReadCheckFormSettings(values, kPath);
    ExpectAllUnset(values);
    std::vector<BYTE> bytes = ReadBytes();
    ASSERT_EQ(bytes.size(), 128u);
    EXPECT_EQ(bytes[0], 0x18);  // -1000 little-endian
    EXPECT_EQ(bytes[1], 0xFC);
    DeleteFile(kPath);
  }
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(CheckFormTest, MissingFileIsCreatedAndValuesRoundTrip) {
  short values[kCheckFormValueCount];
  ReadCheckFormSettings(values, kPath);
  ExpectAllUnset(values);

  for (int i = 0; i < kCheckFormValueCount; ++i) values[i] = static_cast<short>(i * 37 - 900);
  WriteCheckFormSettings(values, kPath);
  short back[kCheckFormValueCount] = {};
  ReadCheckFormSettings(back, kPath);
  for (int i = 0; i < kCheckFormValueCount; ++i) EXPECT_EQ(back[i], values[i]) << i;
}

TEST_F(CheckFormTest, WriteShortensALongerFile) {
  WriteBytes(std::vector<BYTE>(300, 0x22));
  short values[kCheckFormValueCount];
  for (short& v : values) v = 5;
  WriteCheckFormSettings(values, kPath);
  EXPECT_EQ(ReadBytes().size(), 128u);
  short back[kCheckFormValueCount];
  ReadCheckFormSettings(back, kPath);
  EXPECT_EQ(back[63], 5);
}

TEST_F(CheckFormTest, UnopenablePathShowsOnlyTheFileBox) {
  short values[kCheckFormValueCount];
  for (short& v : values) v = 7;
  ReadCheckFormSettings(values, "C:\\NO\\SUCH\\DIR\\CHKFORM.DAT");
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].caption, "TWWFile Error");
  EXPECT_EQ(Boxes().Shown()[0].text, "Could not open file.");
  EXPECT_EQ(values[0], 7);  // untouched
}

TEST_F(CheckFormTest, FileWrapperKeepsPositionForSizeAndNeverTruncatesOnOpen) {
  WriteBytes({1, 2, 3, 4, 5});
  TWWFile file;
  ASSERT_TRUE(file.Open(kPath, 0x42));
  BYTE two[2];
  EXPECT_EQ(file.Read(two, 2), 2);
  EXPECT_EQ(file.Size(), 5);
  BYTE next;
  EXPECT_EQ(file.Read(&next, 1), 1);
  EXPECT_EQ(next, 3);
  EXPECT_TRUE(file.Close());
  EXPECT_TRUE(file.Close());  // nothing open is fine
  EXPECT_EQ(file.Read(&next, 1), -1);
  EXPECT_EQ(file.Size(), -1);
  EXPECT_TRUE(file.Exists(kPath));
  EXPECT_FALSE(file.Exists("C:\\CHKTEST\\MISSING.DAT"));
}

}  // namespace
