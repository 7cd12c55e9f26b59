/*
** Cursors under writes from another program: a walk stays in key order and sees each
** record at most once while records come and go, and a call that meets a busy file waits
** for it instead of failing.
*/
#include "platform/engine/tests/engine_test_support.h"

#include <sqlite3.h>

using namespace enginetest;

namespace {

constexpr int kRecords = 300;

class EngineConcurrencyTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(EngineCreateTable(db_, 0, shape_.Desc()), ENGINE_OK);
        EngineCursor c = Open("ACCOUNT");
        std::vector<char> r = NewRecord(c);
        for (int n = 0; n < kRecords; n += 2) Write(c, r, n, true);
        EngineCloseCursor(&c);
    }
    void Write(EngineCursor c, std::vector<char>& r, int seq, bool insert) {
        EngineInitRecord(c, r.data());
        EnginePutField(c, 1, r.data(), "F1");
        EnginePutField(c, 2, r.data(), "C");
        double value = seq;
        EnginePutField(c, 3, r.data(), &value);
        if (insert) {
            EngineInsertRecord(c, 0, r.data());
        } else if (EngineSetToKey(c, ENGINE_KEY_EQ, 0, 0, 0, r.data()) == ENGINE_OK &&
                   EngineGetNextRecord(c, 0, nullptr, nullptr) == ENGINE_OK) {
            EngineDeleteRecord(c, nullptr);
        }
    }
    TableShape shape_ = AccountShape();
};

TEST_F(EngineConcurrencyTest, WalksStayOrderedWhileAnotherProgramWrites) {
    Child writer([this](Child& self) {
        EngineCursor c = Open("ACCOUNT");
        std::vector<char> r = NewRecord(c);
        self.Send('W');
        for (int round = 0; round < 3; ++round) {
            for (int n = 1; n < kRecords; n += 2) {
                Write(c, r, n, round != 1);   // odd records come, go and come again
                Write(c, r, n - 1, false);    // even ones are taken away one by one
                if (round == 0) Write(c, r, n - 1, true);
            }
        }
        self.Send('D');
        self.Receive();
    });
    ASSERT_EQ(writer.Receive(), 'W');
    EngineCursor walker = Open("ACCOUNT");
    std::vector<char> r = NewRecord(walker);
    int walks = 0;
    for (; walks < 3 || !writer.HasSent(); ++walks) {
        EngineSetToBegin(walker);
        double last = -1;
        EngineResult result;
        while ((result = EngineGetNextRecord(walker, 0, r.data(), nullptr)) == ENGINE_OK) {
            double seq = GetDouble(walker, r, 3);
            ASSERT_GT(seq, last);
            last = seq;
        }
        ASSERT_EQ(result, ENGINE_ERR_EOF);
    }
    EXPECT_EQ(writer.Receive(), 'D');
    // At the end the writer's last round left every odd record and no even one.
    EngineSetToBegin(walker);
    int count = 0;
    while (EngineGetNextRecord(walker, 0, r.data(), nullptr) == ENGINE_OK) {
        EXPECT_EQ(int(GetDouble(walker, r, 3)) % 2, 1);
        ++count;
    }
    EXPECT_EQ(count, kRecords / 2);
}

TEST_F(EngineConcurrencyTest, CallsWaitForAFileAnotherProgramKeepsBusy) {
    Child holder([this](Child& self) {
        sqlite3* db = nullptr;
        sqlite3_open(Path("ACCOUNT.DB").c_str(), &db);
        bool began = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        self.Send(began ? 'B' : 'x');
        ::usleep(300 * 1000);  // the file stays locked for a while
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        self.Receive();
    });
    ASSERT_EQ(holder.Receive(), 'B');
    EngineCursor c = Open("ACCOUNT");
    std::vector<char> r = NewRecord(c);
    EngineInitRecord(c, r.data());
    EnginePutField(c, 1, r.data(), "F2");
    EnginePutField(c, 2, r.data(), "D");
    EXPECT_EQ(EngineInsertRecord(c, 0, r.data()), ENGINE_OK);
    EngineSetToBegin(c);
    EXPECT_EQ(EngineGetNextRecord(c, 0, r.data(), nullptr), ENGINE_OK);
}

}  // namespace
