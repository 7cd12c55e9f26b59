/*
** TPXTransaction: a commit the engine refuses is no save. It answers false, shows the
** engine's box, leaves every record written in it unsaved and stores none of them.
*/
#include "tableaccess/tests/px_test_tables.h"

#include "platform/engine/engine_test_hooks.h"
#include "tableaccess/px_transaction.h"

using namespace pxtest;

namespace {

class TransactionTest : public TablesTest {};

TEST_F(TransactionTest, ARefusedCommitAnswersFalseShowsItsBoxAndStoresNothing) {
  TPXTable items("ITEMS", 0);
  TPXTable ledger("LEDGER", 0);
  TPXRecord item(&items, true);
  item.SetString(kFileNum, "F1");
  item.SetString(kName, "Before");
  ASSERT_TRUE(item.Post());
  TPXRecord entry(&ledger, true);
  {
    TPXTransaction save;
    item.SetString(kName, "After");
    ASSERT_TRUE(item.Post());
    AddLedger(entry, "F1", 1, 25.0);
    EngineTestFailCall("EngineEndTran", 1, ENGINE_ERR_FILEIO,
                       {"Table ITEMS", "Commit", "disk full"});
    EXPECT_FALSE(save.Commit());
  }
  // The engine's error, then its context.
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[0].caption, "Database Error");
  EXPECT_EQ(Shown()[1].caption, "Error Context");
  EXPECT_NE(Shown()[1].text.find("Commit"), std::string::npos);
  EXPECT_TRUE(item.IsModified());
  EXPECT_TRUE(entry.IsModified());

  TPXRecord stored(&items, true);
  stored.SetString(kFileNum, "F1");
  ASSERT_TRUE(stored.Seek(1, ENGINE_KEY_EQ) && stored.Read(0));
  EXPECT_EQ(Text(stored, kName), "Before");
  TPXRecord entries(&ledger, true);
  EXPECT_FALSE(entries.First());
}

}  // namespace
