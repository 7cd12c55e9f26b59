/*
** The bank-account lists: filled from BANK in key order with unnamed accounts shown as
** "<undefined>", the default account selected in all four, refilled afresh on each load,
** and an unreadable table leaving them empty.
*/
#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting_tables.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<TComboBoxData*> FourLists() {
  return {&gAccountRangeXfer.Accounts, &gEditAccountRecordXfer.Accounts, &gReportRangeXfer.Accounts,
          &gReconcileXfer.Accounts};
}

class BankListsTest : public AccountingTablesTest {};

TEST_F(BankListsTest, ListsHoldTheAccountsInKeyOrderWithTheDefaultSelected) {
  // Inserted out of order, with keys 3 and 7 unnamed: positions must still be key numbers.
  for (SHORT key = 19; key >= 0; --key) {
    std::string name = (key == 3 || key == 7) ? "" : "Trust " + std::to_string(key);
    PutBank(key, name.c_str());
  }
  gDefaultAccount = 5;
  LoadBankLists();

  for (TComboBoxData* list : FourLists()) {
    ASSERT_EQ(20u, list->GetStrings().size());
    EXPECT_EQ("Trust 0", list->GetStrings()[0]);
    EXPECT_EQ("<undefined>", list->GetStrings()[3]);
    EXPECT_EQ("<undefined>", list->GetStrings()[7]);
    EXPECT_EQ("Trust 19", list->GetStrings()[19]);
    EXPECT_EQ(5, list->GetSelIndex());
    EXPECT_STREQ("Trust 5", list->GetSelection());
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(BankListsTest, ReloadShowsRenamedAccountsAndDropsTheOldEntries) {
  PutTwentyBanks();
  LoadBankLists();
  gReportRangeXfer.Accounts.Select(9);  // a dialog moved its own selection

  PutBank(2, "Operating");
  gDefaultAccount = 2;
  LoadBankLists();
  for (TComboBoxData* list : FourLists()) {
    ASSERT_EQ(20u, list->GetStrings().size());
    EXPECT_EQ("Operating", list->GetStrings()[2]);
    EXPECT_EQ(2, list->GetSelIndex());
  }
}

TEST_F(BankListsTest, LongestNameIsKeptWhole) {
  const std::string forty(40, 'N');
  PutBank(0, forty.c_str());
  LoadBankLists();
  EXPECT_EQ(forty, gAccountRangeXfer.Accounts.GetStrings()[0]);
}

TEST_F(BankListsTest, DefaultOutsideTheListSelectsNothing) {
  PutBank(0, "Only");
  gDefaultAccount = 25;
  LoadBankLists();
  for (TComboBoxData* list : FourLists()) {
    // One record still gives twenty slots, so every position stays its key.
    ASSERT_EQ(20u, list->GetStrings().size());
    EXPECT_EQ("Only", list->GetStrings()[0]);
    EXPECT_EQ("<undefined>", list->GetStrings()[5]);
    EXPECT_EQ(-1, list->GetSelIndex());
    EXPECT_STREQ("", list->GetSelection());
  }
}

TEST_F(BankListsTest, NoBankRecordGivesEmptyLists) {
  PutTwentyBanks();
  LoadBankLists();
  TPXRecord* kept = gBankRecord;
  gBankRecord = nullptr;  // the tables could not be opened
  LoadBankLists();
  gBankRecord = kept;
  for (TComboBoxData* list : FourLists()) {
    EXPECT_TRUE(list->GetStrings().empty());
    EXPECT_EQ(-1, list->GetSelIndex());
  }
}

}  // namespace
