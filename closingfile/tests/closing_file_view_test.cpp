/*
** The statement window as the dialogs' view: its number, its records, its party texts and
** the template merge over its fields.
*/
#include "closingfile/closing_file_view.h"
#include "statement/tests/window/statement_window_support.h"
#include "tableaccess/px_record.h"

#include <cstring>
#include <string>

namespace {

class ClosingFileViewTest : public StatementWindowTest {};

TEST_F(ClosingFileViewTest, ForwardsToTheOpenFile) {
  PutRecord(kBuyerTable, "CF-100", {{2, "Ann"}, {3, "Jr."}, {12, "Bo"}});
  PutRecord(kSellerTable, "CF-100", {{2, "Sol Seller"}});
  RespaWindow* window = OpenFile("CF-100");
  TClosingFileView* view = window;
  EXPECT_EQ(view->FileWindow(), window);
  EXPECT_STREQ(view->FileNumber(), "CF-100");
  for (int table = 0; table < kRespaRecordCount; ++table)
    EXPECT_EQ(view->FileRecord(table), window->records[table]) << table;
  EXPECT_EQ(view->FileRecord(-1), nullptr);
  EXPECT_EQ(view->FileRecord(kRespaRecordCount), nullptr);
  char names[kClosingFilePartyTextSize];
  view->JoinBuyerNames(names);
  EXPECT_STREQ(names, "Ann, Jr. and Bo");
  view->JoinSellerNames(names);
  EXPECT_STREQ(names, "Sol Seller");
  char out[64];
  view->MergeTemplate(window, "Legal", "To |^B1NAME| || |S1NAME|", out, sizeof out);
  EXPECT_STREQ(out, "To ANN | Sol Seller");
}

TEST_F(ClosingFileViewTest, JoinsStopAtTheirBuffer) {
  std::string longName(60, 'n');
  PutRecord(kBuyerTable, "CF-101", {{2, longName}, {12, longName}, {42, "x"}});
  RespaWindow* window = OpenFile("CF-101");
  // Four names of 60 with long suffixes still fit; the join never writes past 600.
  for (int field : {3, 13}) window->records[kBuyerTable]->SetString(field, "Sr.");
  char names[kClosingFilePartyTextSize + 8];
  std::memset(names, '#', sizeof names);
  static_cast<TClosingFileView*>(window)->JoinBuyerNames(names);
  EXPECT_EQ(std::string(names), longName + ", Sr. and " + longName + ", Sr.");
  for (size_t i = kClosingFilePartyTextSize; i < sizeof names; ++i) EXPECT_EQ(names[i], '#');
}

}  // namespace
