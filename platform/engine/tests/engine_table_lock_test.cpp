/*
** The table lock of the repair utility between real programs: while one program holds it,
** no other can open, copy onto, create, restructure or lock the table, even when the file
** is damaged; the holder's own opens keep the others out; it cannot be taken while another
** program has the table open; and a brief claim of another program is waited out.
*/
#include "platform/engine/tests/engine_salvage_support.h"
#include "platform/engine/tests/engine_test_support.h"

#include "platform/engine/engine_locks.h"

using namespace enginetest;

namespace {

class EngineTableLockTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(EngineCreateTable(db_, 0, buyer_.Desc()), ENGINE_OK);
    ASSERT_EQ(EngineCreateTable(db_, 0, seller_.Desc()), ENGINE_OK);
  }
  EngineResult OpenResult(const char* table) {
    EngineCursor cursor = nullptr;
    EngineResult result =
        EngineOpenTable(db_, table, "PARADOX", nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &cursor);
    if (cursor) EngineCloseCursor(&cursor);
    return result;
  }
  EngineResult RestructureBuyer() { return RestructureToShape(db_, buyer_, "BUYPROB"); }
  /* Every call another program makes on BUYER answers "locked" and names the table. */
  bool EverythingRefused() {
    EngineErrorInfo info{};
    bool named = true;
    auto refused = [&](EngineResult result) {
      EngineGetErrorInfo(1, &info);
      named = named && std::string(info.context[0]).find("BUYER") != std::string::npos;
      return result == ENGINE_ERR_TABLELOCKED;
    };
    return refused(OpenResult("BUYER")) &&
           refused(EngineCopyTable(db_, 1, "SELLER", "PARADOX", "BUYER")) &&
           refused(EngineCreateTable(db_, 1, buyer_.Desc())) && refused(RestructureBuyer()) &&
           refused(EngineAcquireTableLock(db_, "BUYER", "PARADOX")) && named;
  }

  TableShape buyer_ = FileShape("BUYER");
  TableShape seller_ = FileShape("SELLER");
};

TEST_F(EngineTableLockTest, TheLockKeepsEveryOtherProgramOut) {
  Child other([this](Child& self) {
    for (;;) {
      char step = self.Receive();
      if (step == 'r') self.Send(EverythingRefused() ? 'R' : 'x');
      if (step == 'o') self.Send(OpenResult("BUYER") == ENGINE_OK ? 'O' : 'x');
      if (step == '\0' || step == 'q') return;
    }
  });
  ASSERT_EQ(EngineAcquireTableLock(db_, "BUYER", "PARADOX"), ENGINE_OK);
  other.Send('r');
  EXPECT_EQ(other.Receive(), 'R');

  // The holder's own opens, copies and rebuilds leave the others out.
  EngineCursor own = Open("BUYER");
  other.Send('r');
  EXPECT_EQ(other.Receive(), 'R');
  EngineCloseCursor(&own);
  ASSERT_EQ(EngineAcquireTableLock(db_, "BUYBU", "PARADOX"), ENGINE_OK);
  ASSERT_EQ(EngineCopyTable(db_, 1, "BUYER", "PARADOX", "BUYBU"), ENGINE_OK);
  ASSERT_EQ(RestructureBuyer(), ENGINE_OK);
  other.Send('r');
  EXPECT_EQ(other.Receive(), 'R');

  // A table being rebuilt reads as locked, not as damaged.
  const std::string healthy = FileBytes(Path("BUYER.DB"));
  WriteBytes(Path("BUYER.DB"), "half written");
  other.Send('r');
  EXPECT_EQ(other.Receive(), 'R');
  WriteBytes(Path("BUYER.DB"), healthy);

  ASSERT_EQ(EngineReleaseTableLock(db_, "BUYER", "PARADOX"), ENGINE_OK);
  other.Send('o');
  EXPECT_EQ(other.Receive(), 'O');
  other.Send('q');
}

TEST_F(EngineTableLockTest, TheLockIsRefusedWhileAnotherProgramHasTheTableOpen) {
  Child user([this](Child& self) {
    EngineCursor cursor = Open("BUYER");
    self.Send(cursor ? 'O' : 'x');
    self.Receive();
    EngineCloseCursor(&cursor);
    self.Send('C');
    self.Receive();
  });
  ASSERT_EQ(user.Receive(), 'O');
  EXPECT_EQ(EngineAcquireTableLock(db_, "BUYER", "PARADOX"), ENGINE_ERR_TABLELOCKED);
  EngineErrorInfo info{};
  EngineGetErrorInfo(1, &info);
  EXPECT_NE(std::string(info.context[0]).find("BUYER"), std::string::npos);
  // Refused whole: not even the part that binds record locks stays held.
  EXPECT_EQ(EngineReleaseTableLock(db_, "BUYER", "PARADOX"), ENGINE_ERR_NOTLOCKED);
  user.Send('c');
  ASSERT_EQ(user.Receive(), 'C');
  EXPECT_EQ(EngineAcquireTableLock(db_, "BUYER", "PARADOX"), ENGINE_OK);
  EXPECT_EQ(EngineReleaseTableLock(db_, "BUYER", "PARADOX"), ENGINE_OK);
}

TEST_F(EngineTableLockTest, ABriefClaimOfAnotherProgramIsWaitedOut) {
  const std::string table = Path("BUYER.DB");
  Child replacer([&](Child& self) {
    std::shared_ptr<zarne::engine::LockFile> locks;
    if (zarne::engine::ClaimForReplacing(table, &locks) != ENGINE_OK) std::abort();
    self.Send('c');
    ::usleep(400 * 1000);
    locks->ReleaseUnused();
    self.Receive();
  });
  ASSERT_EQ(replacer.Receive(), 'c');
  // The claim stands for a while yet after 'c': the open succeeds only by waiting.
  EXPECT_EQ(OpenResult("BUYER"), ENGINE_OK);
}

}  // namespace
