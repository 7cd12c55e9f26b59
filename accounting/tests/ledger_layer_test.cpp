// The ledger layer: row records through real grids, exact cents, the refusal table, the
// grid refusal boxes, locked re-reads, inserts that never overwrite, bank names by key.
#include "ledger_fixture.h"

#include "accounting/account_transfers.h"
#include "accounting/bank_lists.h"
#include "accounting/bank_slots.h"
#include "accounting/ledger_cents.h"
#include "accounting/ledger_grid.h"
#include "accounting/ledger_refusals.h"
#include "accounting/ledger_rows.h"
#include "accounting/ledger_store.h"
#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstring>

namespace {

class LedgerLayer : public LedgerTest {
 protected:
  void SetUp() override {
    LedgerTest::SetUp();
    parent_ = CreateWindow("static", "Parent", WS_OVERLAPPED | WS_VISIBLE, 20, 20, 700, 400,
                           nullptr, nullptr, nullptr, nullptr);
  }
  HWND MakeGrid(DWORD style) {
    return CreateWindow("Tessel", "", WS_CHILD | WS_VISIBLE | style, 0, 0, 600, 300, parent_,
                        reinterpret_cast<HMENU>(static_cast<intptr_t>(200)), nullptr, nullptr);
  }
  HWND parent_ = nullptr;
};

TLedgerEntry DistinctEntry() {
  TLedgerEntry entry;
  std::strcpy(entry.FileNum, "F-2024-0117");
  std::strcpy(entry.Type, "C");
  entry.Seq = 738000.123456;
  entry.Number = 10417;
  entry.Bank = 13;
  entry.Status = kStatusEscrow;
  entry.Date = DateOf(3, 9, 2024);
  std::strcpy(entry.PayeeDepositor, "First Title Escrow Co.");
  std::strcpy(entry.Description, "Owner's policy premium");
  entry.Amount = 1234.56;
  return entry;
}

template <class T>
T CellAt(HWND grid, int column) {
  T value{};
  SendMessage(grid, TSM_SETCURSOR, column, 0);
  EXPECT_EQ(SendMessage(grid, TSM_GETCELL, TSREF_CURSOR, reinterpret_cast<LPARAM>(&value)), 0)
      << "column " << column;
  return value;
}
std::string TextAt(HWND grid, int column) {
  char text[128] = "";
  SendMessage(grid, TSM_SETCURSOR, column, 0);
  SendMessage(grid, TSM_GETCELL, TSREF_CURSOR, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(LedgerLayer, EachGridTakesItsRowAndGivesEveryColumnBack) {
  const TLedgerEntry entry = DistinctEntry();
  {
    SCOPED_TRACE("check grid");
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT);
    DefineLedgerGrid(grid, kDisburseCheckColumns, kDisburseCheckColumnCount);
    TDisburseCheckRow row;
    RowFromEntry(entry, row);
    ASSERT_TRUE(AppendLedgerRow(parent_, grid, &row));
    EXPECT_EQ(TextAt(grid, 0), "Escrow");
    EXPECT_EQ(TextAt(grid, 1), entry.PayeeDepositor);
    EXPECT_EQ(CellAt<double>(grid, 2), 1234.56);
    EXPECT_EQ(TextAt(grid, 3), entry.FileNum);
    EXPECT_EQ(TextAt(grid, 4), "C");
    EXPECT_EQ(CellAt<int32_t>(grid, 5), 10417);
    EXPECT_EQ(CellAt<int32_t>(grid, 6), 13);
    EXPECT_EQ(CellAt<double>(grid, 7), 738000.123456);
    EXPECT_EQ(CellAt<int32_t>(grid, 8), 1);
    EXPECT_EQ(CellAt<int32_t>(grid, 9), entry.Date);
    EXPECT_EQ(TextAt(grid, 10), entry.Description);
    TDisburseCheckRow back;
    SendMessage(grid, TSM_SETCURSOR, 0, 0);
    ASSERT_EQ(SendMessage(grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&back)), 0);
    TLedgerEntry again;
    EntryFromRow(back, again);
    EXPECT_EQ(again.Seq, entry.Seq);
    EXPECT_EQ(again.Amount, entry.Amount);
    EXPECT_STREQ(again.Description, entry.Description);
  }
  {
    SCOPED_TRACE("deposit grid");
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_ROWSELECT);
    DefineLedgerGrid(grid, kDisburseDepositColumns, kDisburseDepositColumnCount);
    TLedgerEntry deposit = entry;
    std::strcpy(deposit.Type, "D");
    deposit.Status = kStatusUnposted;
    TDisburseDepositRow row;
    RowFromEntry(deposit, row);
    ASSERT_TRUE(AppendLedgerRow(parent_, grid, &row));
    EXPECT_EQ(TextAt(grid, 0), deposit.PayeeDepositor);
    EXPECT_EQ(CellAt<double>(grid, 1), 1234.56);
    EXPECT_EQ(TextAt(grid, 2), deposit.FileNum);
    EXPECT_EQ(TextAt(grid, 3), "D");
    EXPECT_EQ(CellAt<int32_t>(grid, 4), 10417);
    EXPECT_EQ(CellAt<int32_t>(grid, 5), 13);
    EXPECT_EQ(CellAt<double>(grid, 6), 738000.123456);
    EXPECT_EQ(CellAt<int32_t>(grid, 7), 3);
    EXPECT_EQ(CellAt<int32_t>(grid, 8), deposit.Date);
    EXPECT_EQ(TextAt(grid, 9), deposit.Description);
  }
  {
    SCOPED_TRACE("posting grid");
    HWND grid = MakeGrid(TSS_OWNERDEF | TSS_HGRID | TSS_VGRID | TSS_MULTIROW | TSS_ROWBUTTONS);
    DefineLedgerGrid(grid, kPostDepositsColumns, kPostDepositsColumnCount);
    TLedgerEntry deposit = entry;
    std::strcpy(deposit.Type, "D");
    deposit.Status = kStatusPosted;
    TPostDepositsRow row;
    RowFromEntry(deposit, row);
    ASSERT_TRUE(AppendLedgerRow(parent_, grid, &row));
    EXPECT_EQ(TextAt(grid, 0), deposit.PayeeDepositor);
    EXPECT_EQ(CellAt<double>(grid, 1), 1234.56);
    EXPECT_EQ(TextAt(grid, 2), "03/09/2024");
    EXPECT_EQ(TextAt(grid, 3), deposit.FileNum);
    EXPECT_EQ(TextAt(grid, 4), "D");
    EXPECT_EQ(CellAt<int32_t>(grid, 5), 10417);
    EXPECT_EQ(CellAt<int32_t>(grid, 6), 13);
    EXPECT_EQ(CellAt<double>(grid, 7), 738000.123456);
    EXPECT_EQ(CellAt<int32_t>(grid, 8), 5);
    EXPECT_EQ(CellAt<int32_t>(grid, 9), deposit.Date);
    EXPECT_EQ(TextAt(grid, 10), deposit.Description);
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LedgerLayer, AStatusOutsideTheCodesListsWithAnEmptyText) {
  TLedgerEntry entry = DistinctEntry();
  for (LONG status : {-1L, 8L, 300L, 65536L + 2}) {
    entry.Status = status;
    TDisburseCheckRow row;
    RowFromEntry(entry, row);
    EXPECT_STREQ(row.StatusText, "") << status;
  }
}

TEST_F(LedgerLayer, AGridRefusalStopsTheFillWithItsBox) {
  // A grid with no columns refuses a row with an error of its own: the stop box.
  HWND bare = MakeGrid(TSS_ROWSELECT);
  TDisburseCheckRow row{};
  EXPECT_FALSE(AppendLedgerRow(parent_, bare, &row));
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].caption, "Tessel Error");
  EXPECT_EQ(Shown()[0].text.rfind("Tessel error -", 0), 0u) << Shown()[0].text;
  EXPECT_EQ(Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
  // The memory and limit results all give the information box.
  for (LRESULT result : {TSERR_NOMEMORY, TSERR_LOCKFAILED, TSERR_LIMIT}) {
    Boxes().Clear();
    ShowGridRefusal(parent_, result);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].caption, "Tessel Message");
    EXPECT_EQ(
        Shown()[0].text,
        "There is not enough memory to view the full range of records.  Set a more restrictive "
        "range to view the remaining records.");
    EXPECT_EQ(Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
  }
  Boxes().Clear();
  ShowGridRefusal(parent_, -5);
  EXPECT_EQ(Shown().at(0).text, "Tessel error -5");
}

// Figures from ledger_cents_figures.py (decimal arithmetic on the stored doubles).
TEST(LedgerCents, TheBalanceIsTheSumOfTheShownAmounts) {
  struct Case {
    std::vector<double> deposits, checks;
    int64_t cents;
    const char* text;
  };
  const Case cases[] = {
      {{0.005, 0.005, 0.005}, {}, 3, "0.03"},           // a running double shows 0.01
      {{0.005}, {0.01}, 0, "0.00"},                     // a running double shows -0.01
      {{1234.565, 0.135}, {0.3}, 123441, "1234.41"},    // a running double shows 1234.40
      {{100.0}, {50.005, 50.005, 0.004}, -2, "-0.02"},  // a running double shows -0.01
  };
  for (const Case& c : cases) {
    int64_t sum = 0;
    for (double x : c.deposits) sum += AmountCents(x);
    for (double x : c.checks) sum -= AmountCents(x);
    EXPECT_EQ(sum, c.cents) << c.text;
    char text[32];
    FormatCents(sum, text, sizeof text);
    EXPECT_STREQ(text, c.text);
  }
  EXPECT_EQ(AmountCents(-0.001), 0);
  EXPECT_EQ(AmountCents(1e300), 0);
  char text[32];
  FormatCents(-5, text, sizeof text);
  EXPECT_STREQ(text, "-0.05");
  EXPECT_EQ(CentsAmount(-123441), -1234.41);
}

TEST(LedgerRefusals, TheTableRefusesExactlyTheClosedEntries) {
  int refused = 0;
  for (char kind : {'C', 'D'})
    for (int status = -1; status <= 8; ++status)
      for (TLedgerAction action : {TLedgerAction::kModify, TLedgerAction::kDelete})
        if (FindLedgerRefusal(kind, status, action) != nullptr) ++refused;
  EXPECT_EQ(refused, 11);
  const TLedgerRefusal* printed = FindLedgerRefusal('C', kStatusPrinted, TLedgerAction::kModify);
  ASSERT_NE(printed, nullptr);
  EXPECT_STREQ(printed->ActionWord, "modified");
  EXPECT_EQ(FindLedgerRefusal('C', kStatusPrinted, TLedgerAction::kDelete), nullptr);
  EXPECT_STREQ(FindLedgerRefusal('C', kStatusBalanced, TLedgerAction::kDelete)->ActionWord,
               "deleted/voided");
  EXPECT_STREQ(FindLedgerRefusal('D', kStatusPosted, TLedgerAction::kDelete)->ActionWord,
               "deleted");
}

class LedgerStore : public LedgerTest {};

TLedgerEntry StoredCheck(double seq) {
  TLedgerEntry entry = DistinctEntry();
  entry.Seq = seq;
  return entry;
}

void Put(const TLedgerEntry& entry) {
  TPXRecord record(gTables[kAccountTable], true);
  record.Clear();
  ASSERT_TRUE(WriteLedgerEntry(record, entry));
  ASSERT_TRUE(record.Insert());
}

TEST_F(LedgerStore, ARereadTellsCurrentChangedAndGone) {
  const TLedgerEntry shown = StoredCheck(700000.5);
  Put(shown);
  TPXRecord record(gTables[kAccountTable], false);
  TLedgerEntry stored;
  ASSERT_EQ(RereadLocked(record, shown, stored), TRereadResult::kCurrent);
  EXPECT_STREQ(stored.PayeeDepositor, shown.PayeeDepositor);
  // Only the changed field is written, then the lock goes.
  record.SetString(kAcctDescription, "Changed");
  EXPECT_TRUE(ModifyLockedEntry(record));
  EXPECT_STREQ(StoredEntry(shown.FileNum, 'C', shown.Seq)->Description, "Changed");

  {
    TPXRecord other(gTables[kAccountTable], true);
    ASSERT_TRUE(SeekLedgerEntry(other, shown));
    ASSERT_TRUE(other.Read(0));
    other.SetLong(kAcctStatus, kStatusPrinted);
    ASSERT_TRUE(other.Modify());
  }
  const std::vector<BYTE> before = RawRecord(shown.FileNum, 'C', shown.Seq);
  EXPECT_EQ(RereadLocked(record, shown, stored), TRereadResult::kChanged);
  EXPECT_EQ(stored.Status, kStatusPrinted);
  EXPECT_EQ(RawRecord(shown.FileNum, 'C', shown.Seq), before);
  // A cents difference counts, a difference below a cent does not.
  TLedgerEntry sameCents = stored;
  sameCents.Amount = stored.Amount + 0.001;
  EXPECT_EQ(RereadLocked(record, sameCents, stored), TRereadResult::kCurrent);
  record.Unlock();
  sameCents.Amount = stored.Amount + 0.01;
  EXPECT_EQ(RereadLocked(record, sameCents, stored), TRereadResult::kChanged);

  TLedgerEntry gone = shown;
  gone.Seq = 700000.25;
  EXPECT_EQ(RereadLocked(record, gone, stored), TRereadResult::kGone);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LedgerStore, AnInsertOverATakenKeyKeepsBothEntries) {
  TLedgerEntry first = StoredCheck(MakeTimeKey());
  Put(first);
  TLedgerEntry second = first;
  std::strcpy(second.PayeeDepositor, "Second payee");
  TPXRecord record(gTables[kAccountTable], false);
  ASSERT_TRUE(InsertLedgerEntry(record, second));
  EXPECT_NE(second.Seq, first.Seq);
  EXPECT_EQ(EntryCount(), 2);
  EXPECT_STREQ(StoredEntry(first.FileNum, 'C', first.Seq)->PayeeDepositor, first.PayeeDepositor);
  EXPECT_STREQ(StoredEntry(second.FileNum, 'C', second.Seq)->PayeeDepositor, "Second payee");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LedgerStore, BankNamesStayAtTheirKeys) {
  for (SHORT key = 0; key < 20; ++key) {
    if (key == 7) continue;  // deleted
    char name[32];
    std::snprintf(name, sizeof name, "Account %d", key);
    PutBank(key, key == 3 ? "" : name);
  }
  PutBank(25, "Out of range");
  TBankSlots names = ReadBankSlots(*gBankRecord, 59);
  EXPECT_EQ(names[3], "<undefined>");
  EXPECT_EQ(names[7], "<undefined>");
  EXPECT_EQ(names[8], "Account 8");
  EXPECT_EQ(names[19], "Account 19");
  gDefaultAccount = 5;
  LoadBankLists();
  for (TComboBoxData* list : {&gAccountRangeXfer.Accounts, &gEditAccountRecordXfer.Accounts,
                              &gReportRangeXfer.Accounts, &gReconcileXfer.Accounts}) {
    ASSERT_EQ(list->GetStrings().size(), 20u);
    EXPECT_EQ(list->GetStrings()[7], "<undefined>");
    EXPECT_EQ(list->GetStrings()[12], "Account 12");
    EXPECT_EQ(list->GetSelIndex(), 5);
  }
  // Fewer than twenty records: the missing ones are undefined names.
  TBankSlots few;
  {
    TPXRecord bank(gTables[kBankTable], true);
    for (bool more = bank.First(); more;) {
      bank.Read(0);
      SHORT key;
      bank.GetShort(1, key);
      if (key >= 10) {
        EXPECT_TRUE(bank.Delete());
        more = bank.Seek(0, ENGINE_KEY_GEQ);
        continue;
      }
      more = bank.Next();
    }
    few = ReadBankSlots(bank, 59);
  }
  EXPECT_EQ(few[9], "Account 9");
  EXPECT_EQ(few[10], "<undefined>");
  EXPECT_EQ(few[19], "<undefined>");
}

}  // namespace
