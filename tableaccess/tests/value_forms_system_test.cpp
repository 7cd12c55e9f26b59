/*
** The value-form helpers that reach the system: today's date, time keys, and the directory
** helpers with their boxes (texts from the string table compiled into this test).
*/
#include "tableaccess/value_forms.h"

#include "platform/kernel/paths.h"
#include "tableaccess/tests/px_test_tables.h"
#include "platform/testing/gui_test.h"
#include "platform/user/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool IsDirectory(const char* path) {
  DWORD attributes = GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

/* Each test runs in a fresh private root, so the drive paths below start out missing. */
class SystemHelpersTest : public GuiTest {};

}  // namespace

TEST(ValueFormsTime, TodayAndTimeKeys) {
  LONG today = TodayDate();
  ASSERT_NE(kBlankDate, today);
  double first = MakeTimeKey();
  double second = MakeTimeKey();
  double third = MakeTimeKey();
  EXPECT_NE(first, second);
  EXPECT_NE(second, third);
  EXPECT_LT(first, second);  // the clock only moves on
  EXPECT_EQ(third, gLastTimeKey);
  /* The whole part is the day, the fraction the time of day. */
  EXPECT_GE(first, static_cast<double>(today));
  EXPECT_LT(third, static_cast<double>(today) + 2.0);
}

TEST_F(SystemHelpersTest, YesCreatesEveryMissingLevel) {
  const char* path = "C:\\ZTEST\\ENSURE\\ONE\\TWO";
  ASSERT_FALSE(IsDirectory(path));
  EXPECT_TRUE(EnsureDirectory(path));
  EXPECT_TRUE(IsDirectory(path));
  ASSERT_EQ(1u, Boxes().Shown().size());
  EXPECT_EQ("Directory C:\\ZTEST\\ENSURE\\ONE\\TWO does not exist.  Do you want to create it?",
            Boxes().Shown()[0].text);
  EXPECT_EQ("Zarne Message", Boxes().Shown()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_YESNO), Boxes().Shown()[0].type);
}

TEST_F(SystemHelpersTest, NoLeavesItMissingAndSaysItIsRequired) {
  Boxes().QueueAnswer(IDNO);
  const char* path = "C:\\ZTEST\\REFUSED";
  EXPECT_FALSE(EnsureDirectory(path));
  EXPECT_FALSE(IsDirectory(path));
  ASSERT_EQ(2u, Boxes().Shown().size());
  EXPECT_EQ("This directory is required.", Boxes().Shown()[1].text);
  EXPECT_EQ("System Error", Boxes().Shown()[1].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), Boxes().Shown()[1].type & MB_ICONMASK);
}

TEST_F(SystemHelpersTest, NullPathIsRequiredWithoutQuestion) {
  EXPECT_FALSE(EnsureDirectory(nullptr));
  ASSERT_EQ(1u, Boxes().Shown().size());
  EXPECT_EQ("This directory is required.", Boxes().Shown()[0].text);
}

TEST_F(SystemHelpersTest, MakeDirectoryPathKeepsExistingAndFailsOnAFile) {
  EXPECT_TRUE(MakeDirectoryPath("C:\\ZTEST\\MAKE\\A"));
  EXPECT_TRUE(MakeDirectoryPath("C:\\ZTEST\\MAKE\\A"));  // already there: fine
  EXPECT_TRUE(MakeDirectoryPath("C:\\ZTEST\\MAKE\\B\\"));
  EXPECT_TRUE(IsDirectory("C:\\ZTEST\\MAKE\\B"));
  EXPECT_FALSE(MakeDirectoryPath(nullptr));
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(SystemHelpersTest, NoMemoryBox) {
  ShowNoMemory();
  ASSERT_EQ(1u, Boxes().Shown().size());
  EXPECT_EQ("Could not allocate memory.", Boxes().Shown()[0].text);
  EXPECT_EQ("System Error", Boxes().Shown()[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP | MB_OK), Boxes().Shown()[0].type);
}

/* GetPartyNames over a table laid out as BUYER: names in fields 2, 12, 22 and 32. */
class PartyNamesTest : public pxtest::TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    std::vector<EngineFieldDesc> fields;
    for (WORD n = 1; n <= 32; ++n)
      fields.push_back(pxtest::Field(n, ("F" + std::to_string(n)).c_str(), ENGINE_FLD_STRING, 0,
                                     n == 1 ? 15 : 60));
    ASSERT_EQ(ENGINE_OK, pxtest::CreateTable("PARTIES", fields, pxtest::PrimaryIndex(1)));
  }
};

TEST_F(PartyNamesTest, JoinsTheFileRecordsNames) {
  {
    TPXTable table("PARTIES", 0);
    TPXRecord record(&table, true);
    record.SetString(1, "F1");
    record.SetString(2, "Ann Lee");
    record.SetString(12, "Bob Lee");
    record.SetString(22, "Cy Lee");
    ASSERT_TRUE(record.Post());
  }
  char* names = GetPartyNames("F1", "PARTIES");
  EXPECT_STREQ("Ann Lee, Bob Lee and Cy Lee", names);
  delete[] names;
  names = GetPartyNames("NOFILE", "PARTIES");
  EXPECT_STREQ("", names);
  delete[] names;
  EXPECT_TRUE(Boxes().Shown().empty());
}

TEST_F(SystemHelpersTest, DecodingANonDateIsReported) {
  int m = 9, d = 9, y = 9;
  DecodeDate(0, m, d, y);
  EXPECT_EQ(0, m + d + y);
  ASSERT_EQ(2u, Boxes().Shown().size());
  EXPECT_EQ("Database Error", Boxes().Shown()[0].caption);
  EXPECT_EQ("Error Context", Boxes().Shown()[1].caption);
  char text[kDateTextSize] = "x";
  Boxes().Clear();
  FormatShortDate(text, kBlankDate, sizeof text);  // blank: no engine call, no box
  EXPECT_STREQ("", text);
  EXPECT_TRUE(Boxes().Shown().empty());
}
