/*
** The statement printed to the PDF device and read back: pages, plain fields, specials,
** privacy copies, the extended layout and the signature dates.
*/
#include "statement/tests/commands/statement_commands_support.h"

#include "statement/hud1_options.h"

namespace {

class PrintoutTest : public StatementCommandsTest {};

TEST_F(PrintoutTest, TwoPagesWithTheNamesTheAmountsAndTheLongSettlementDate) {
  RespaWindow* view = OpenFile("P-1");
  Type(view, 102, "A & B Holdings");
  Type(view, 143, "Carol Seller");
  Type(view, 212, "3/15/24");
  Type(view, 213, "250000");
  Type(view, 244, "250000");
  std::vector<std::string> pages = Print(view);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(Holds(pages[0], "A & B Holdings"));
  EXPECT_TRUE(Holds(pages[0], "250,000.00"));
  // The disbursement date is empty: the settlement date prints in its place too.
  size_t first = pages[0].find("March 15, 2024");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(pages[0].find("March 15, 2024", first + 1), std::string::npos);
  EXPECT_TRUE(Holds(pages[0], "TIN: _____________"));
  EXPECT_TRUE(Holds(pages[1], "HUD-1 (Rev 3/86)"));
  EXPECT_TRUE(Holds(pages[1], "Carol Seller"));
}

}  // namespace
