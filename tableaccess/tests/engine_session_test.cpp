/*
** The engine session and the error boxes: the context text of the second box, the boxes of
** a real engine failure, the one-box reports, and the session steps' stored results.
*/
#include "tableaccess/tests/px_test_tables.h"

using namespace pxtest;

namespace {

EngineErrorInfo InfoWithContexts(std::initializer_list<const char*> contexts) {
  EngineErrorInfo info{};
  int i = 0;
  for (const char* text : contexts) std::strncpy(info.context[i++], text, 127);
  return info;
}

std::string Context(const EngineErrorInfo& info) {
  char text[128];
  std::memset(text, '#', sizeof text);
  FormatErrorContext(info, text, sizeof text);
  return text;
}

}  // namespace

TEST(EngineSessionContext, AllEmptyContextsShowNone) {
  EXPECT_EQ("None", Context(InfoWithContexts({})));
}

TEST(EngineSessionContext, EveryShownContextIsFollowedBySeparator) {
  EXPECT_EQ("Table: BUYER; Field: FileNum; ",
            Context(InfoWithContexts({"Table: BUYER", "Field: FileNum"})));
  /* Empty entries between are skipped, not shown as bare separators. */
  EXPECT_EQ("one; three; ", Context(InfoWithContexts({"one", "", "three"})));
}

TEST(EngineSessionContext, LongContextsAreCutInsideTheBuffer) {
  std::string longText(127, 'x');
  EngineErrorInfo info = InfoWithContexts({longText.c_str(), longText.c_str(), "a", "b"});
  /* An unterminated context entry must not be read past its 128 bytes either. */
  std::memset(info.context[3], 'z', sizeof info.context[3]);
  char text[128 + 8];
  std::memset(text, '#', sizeof text);
  FormatErrorContext(info, text, 128);
  EXPECT_EQ(127u, std::strlen(text));
  EXPECT_EQ(longText, std::string(text));
  for (size_t i = 128; i < sizeof text; ++i) EXPECT_EQ('#', text[i]);
}

class EngineSessionTest : public TablesTest {};

TEST_F(EngineSessionTest, EngineFailureShowsMessageThenContext) {
  TPXTable missing("ABSENT", 0);
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("Database Error", Shown()[0].caption);
  EXPECT_FALSE(Shown()[0].text.empty());
  EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP | MB_OK), Shown()[0].type);
  EXPECT_EQ("Error Context", Shown()[1].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP | MB_OK), Shown()[1].type);
  const std::string& context = Shown()[1].text;
  EXPECT_TRUE(context == "None" ||
              (context.size() >= 2 && context.compare(context.size() - 2, 2, "; ") == 0))
      << context;
  EXPECT_NE(ENGINE_OK, gLastDbResult);
}

TEST_F(EngineSessionTest, SingleBoxReports) {
  ReportDbMessage("Some text of ours");
  char message[128] = {};
  EngineGetErrorText(ENGINE_ERR_RECNOTFOUND, message);
  ReportBdeErrorCode(ENGINE_ERR_RECNOTFOUND);
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("Some text of ours", Shown()[0].text);
  EXPECT_EQ("Database Error", Shown()[0].caption);
  EXPECT_EQ(std::string(message), Shown()[1].text);
  EXPECT_EQ("Database Error", Shown()[1].caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), Shown()[1].type & MB_ICONMASK);
}

TEST_F(EngineSessionTest, FailedStepIsReportedAndStored) {
  PXSetDirectory("/nonexistent/zarne/dir");
  EXPECT_NE(ENGINE_OK, gLastDbResult);
  ASSERT_EQ(2u, Shown().size());
  Boxes().Clear();
  PXSetDirectory(Root().c_str());
  EXPECT_EQ(ENGINE_OK, gLastDbResult);
  EXPECT_TRUE(Shown().empty());
}
