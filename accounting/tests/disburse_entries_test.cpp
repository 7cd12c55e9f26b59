// The disbursing dialog's changes to entries through its buttons and entry dialogs: adding
// (with the account asked for), voiding instead of deleting numbered checks, entries removed
// behind the dialog's back, the check dialog's Printed date and number, failed writes.
#include "disburse_fixture.h"

#include "platform/testing/screenshot.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/value_forms.h"

#include <cstdlib>
#include <filesystem>

namespace {

void ChooseStatus(HWND entry, const char* status) {
  HWND combo = FindControl(entry, 101);
  SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(status));
  SendMessage(entry, WM_COMMAND, MAKEWPARAM(101, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool Visible(HWND dialog, int id) { return IsWindowVisible(FindControl(dialog, id)) != FALSE; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(FindControl(dialog, id)) != FALSE; }

void RemoveEntry(const std::string& file, char type, double seq) {
  TPXRecord record(gTables[kAccountTable], true);
  TLedgerEntry key;
  CopyLedgerText(key.FileNum, sizeof key.FileNum, file.c_str());
  key.Type[0] = type;
  key.Seq = seq;
  SetLedgerKey(record, key);
  ASSERT_TRUE(record.Seek(0, ENGINE_KEY_EQ));
  ASSERT_TRUE(record.Delete());
}

using DisburseEntries = DisburseTest;

TEST_F(DisburseEntries, NumberedChecksAreVoidedWithNumberAndDateKept) {
  const LONG printedOn = DateOf(5, 14, 2024);
  Put("VOID", 'C', 732000.1, 2, 410.0, 1001, printedOn);  // Printed
  Put("VOID", 'C', 732000.2, 0, 220.0, 1002, printedOn);  // Ready, set back with its number
  Put("VOID", 'C', 732000.3, 0, 330.0);                   // Ready, no number: modified to Void
  Put("VOID", 'D', 732000.4, 3, 1000.0);
  for (int i = 0; i < 3; ++i)
    Driver().OnDialog(20901, [&, i](HWND entry) {
      if (i == 2) ChooseStatus(entry, "Void");
      PressButton(entry, IDOK);
    });
  RunDisburse("VOID", [&](HWND dialog, TDisburse&) {
    ASSERT_EQ(RowCount(dialog, 300), 3);
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 403);
    ASSERT_EQ(RowCount(dialog, 300), 2);
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 403);
    ASSERT_EQ(RowCount(dialog, 300), 1);
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 402);
    EXPECT_EQ(RowCount(dialog, 300), 0);
    EXPECT_EQ(Text(dialog, 103), "1,000.00");
    EXPECT_EQ(Text(dialog, 432), "Account 2");  // the deposit still names the account
  });
  EXPECT_TRUE(Shown().empty()) << Shown()[0].text;
  for (double seq : {732000.1, 732000.2, 732000.3}) {
    auto stored = StoredEntry("VOID", 'C', seq);
    ASSERT_TRUE(stored.has_value()) << seq;
    EXPECT_EQ(stored->Status, 4) << seq;
    EXPECT_EQ(stored->Amount, 0.0) << seq;
  }
  EXPECT_EQ(StoredEntry("VOID", 'C', 732000.1)->Number, 1001);
  EXPECT_EQ(StoredEntry("VOID", 'C', 732000.1)->Date, printedOn);
  EXPECT_EQ(StoredEntry("VOID", 'C', 732000.2)->Number, 1002);
  EXPECT_EQ(StoredEntry("VOID", 'C', 732000.2)->Date, printedOn);
  // Voided checks are not listed again.
  RunDisburse("VOID", [&](HWND dialog, TDisburse&) { EXPECT_EQ(RowCount(dialog, 300), 0); });
}

TEST_F(DisburseEntries, AnEntryRemovedElsewhereTakesNoOtherRecordWithIt) {
  Put("GONE1", 'C', 733000.5, 0, 50.0);
  Put("GONE1", 'D', 733000.6, 3, 80.0);
  Put("GONE2", 'C', 733000.1, 0, 60.0);  // the next key after GONE1's entries
  Driver().OnDialog(20901, [&](HWND entry) {
    RemoveEntry("GONE1", 'C', 733000.5);
    PressButton(entry, IDOK);
  });
  Driver().OnDialog(20902, [&](HWND entry) {
    RemoveEntry("GONE1", 'D', 733000.6);
    PressButton(entry, IDOK);
  });
  RunDisburse("GONE1", [&](HWND dialog, TDisburse& disburse) {
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 403);
    EXPECT_EQ(RowCount(dialog, 300), 0);
    SelectRow(dialog, 200, 0);
    PressButton(dialog, 203);
    EXPECT_EQ(RowCount(dialog, 200), 0);
    EXPECT_EQ(disburse.BankKey, -1);
    EXPECT_EQ(Text(dialog, 432), "");
    EXPECT_EQ(Text(dialog, 103), "0.00");
  });
  ASSERT_EQ(Shown().size(), 2u);
  for (const auto& box : Shown()) {
    EXPECT_EQ(box.text, "This entry was deleted at another workstation.");
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
  }
  EXPECT_EQ(EntryCount(), 1);
  EXPECT_TRUE(StoredEntry("GONE2", 'C', 733000.1).has_value());
}

TEST_F(DisburseEntries, TheFirstAddAsksForTheAccountAfterTheEntryDialog) {
  auto typeCheck = [](HWND entry) {
    SetControlText(entry, 103, "County Recorder");
    SetControlText(entry, 104, "Recording fees");
    SetControlText(entry, 102, "125.50");
    PressButton(entry, IDOK);
  };
  Driver().OnDialog(20901, typeCheck);
  Driver().OnDialog(20903, [](HWND select) { PressButton(select, IDCANCEL); });
  Driver().OnDialog(20901, typeCheck);
  Driver().OnDialog(20903, [](HWND select) {
    EXPECT_EQ(SendMessage(FindControl(select, 136), LB_GETCURSEL, 0, 0), 0);  // the default
    SendMessage(FindControl(select, 136), LB_SETCURSEL, 4, 0);
    PressButton(select, IDOK);
  });
  Driver().OnDialog(20901, [](HWND entry) { PressButton(entry, IDOK); });  // the delete
  Driver().OnDialog(20902, [](HWND entry) {
    SetControlText(entry, 102, "Buyer");
    SetControlText(entry, 104, "10.00");
    PressButton(entry, IDOK);
  });
  Driver().OnDialog(20903, [](HWND select) { PressButton(select, IDCANCEL); });
  RunDisburse("ADD", [&](HWND dialog, TDisburse& disburse) {
    PressButton(dialog, 401);
    EXPECT_EQ(RowCount(dialog, 300), 0);
    EXPECT_EQ(EntryCount(), 0);
    PressButton(dialog, 401);
    ASSERT_EQ(RowCount(dialog, 300), 1);
    EXPECT_EQ(disburse.BankKey, 4);
    EXPECT_EQ(Text(dialog, 432), "Account 4");
    EXPECT_EQ(Text(dialog, 103), "-125.50");
    TDisburseCheckRow row = CheckRow(dialog, 0);
    EXPECT_STREQ(row.StatusText, "Ready");
    auto stored = StoredEntry("ADD", 'C', RowSeq(row));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Bank, 4);
    EXPECT_EQ(stored->Status, 0);
    EXPECT_EQ(stored->Number, 0);
    EXPECT_EQ(stored->Date, kBlankDate);
    EXPECT_STREQ(stored->PayeeDepositor, "County Recorder");
    EXPECT_STREQ(stored->Description, "Recording fees");
    EXPECT_EQ(stored->Amount, 125.5);
    // Deleting the last entry clears the account: the next Add asks again.
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 403);
    EXPECT_EQ(disburse.BankKey, -1);
    PressButton(dialog, 201);
    EXPECT_EQ(RowCount(dialog, 200), 0);
  });
  ASSERT_EQ(Shown().size(), 4u);
  EXPECT_EQ(Shown()[0].text, "You must select an account.");
  EXPECT_EQ(Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(Shown()[1].text, "This operation requires that you first select an account.");
  EXPECT_EQ(Shown()[2].text, "You must select an account.");
  EXPECT_EQ(EntryCount(), 0);
  EXPECT_EQ(Driver().Pending(), 0u);
}

TEST_F(DisburseEntries, PrintedShowsTheChecksNumberAndDateAndNeedsThem) {
  const LONG date = DateOf(6, 1, 2024);
  Put("PRN", 'C', 734000.1, 0, 75.25, 1005, date);  // Ready, carrying a number
  Put("PRN", 'C', 734000.2, 2, 90.0, 1007, date);   // Printed: confirmed for deletion
  const std::filesystem::path pictures = std::filesystem::current_path() / "pictures";
  std::filesystem::create_directories(pictures);
  bool refusedAndStayed = false;
  Driver().OnDialog(20901, [&](HWND entry) {
    EXPECT_FALSE(Visible(entry, 105));
    EXPECT_FALSE(Visible(entry, 106));
    EXPECT_EQ(ControlTextOf(entry, 106), "");
    ChooseStatus(entry, "Printed");
    EXPECT_TRUE(Visible(entry, 105) && Visible(entry, 106) && Visible(entry, 107) &&
                Visible(entry, 108));
    EXPECT_EQ(ControlTextOf(entry, 106), "1005");
    EXPECT_EQ(ControlTextOf(entry, 105), "06/01/24");
    ChooseStatus(entry, "Escrow");
    EXPECT_FALSE(Visible(entry, 105) || Visible(entry, 106) || Visible(entry, 107) ||
                 Visible(entry, 108));
    EXPECT_EQ(ControlTextOf(entry, 105), "");
    ChooseStatus(entry, "Printed");
    EXPECT_EQ(ControlTextOf(entry, 106), "1005");
    SaveWindowScreenshot(entry, (pictures / "check_printed.png").string());
    SetControlText(entry, 106, "0");
    PressButton(entry, IDOK);
    refusedAndStayed = IsWindow(entry) && IsWindowVisible(entry);
    SetControlText(entry, 106, "1006");
    PressButton(entry, IDOK);
  });
  Driver().OnDialog(20901, [&](HWND entry) {
    for (int id : {104, 103, 101, 105, 106, 102}) EXPECT_FALSE(Enabled(entry, id)) << id;
    EXPECT_TRUE(Visible(entry, 105) && Visible(entry, 106));
    EXPECT_EQ(ControlTextOf(entry, 106), "1007");
    PressButton(entry, IDCANCEL);
  });
  RunDisburse("PRN", [&](HWND dialog, TDisburse&) {
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 402);
    EXPECT_STREQ(CheckRow(dialog, 0).StatusText, "Printed");
    EXPECT_EQ(CheckRow(dialog, 0).Number, 1006);
    SelectRow(dialog, 300, 1);
    PressButton(dialog, 403);
  });
  EXPECT_TRUE(refusedAndStayed);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "A printed check needs its check number and date.");
  EXPECT_EQ(Shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  auto stored = StoredEntry("PRN", 'C', 734000.1);
  EXPECT_EQ(stored->Status, 2);
  EXPECT_EQ(stored->Number, 1006);
  EXPECT_EQ(stored->Date, date);
  EXPECT_EQ(StoredEntry("PRN", 'C', 734000.2)->Status, 2);  // cancelled: unchanged
}

TEST_F(DisburseEntries, ARecordedNumberAlreadyUsedIsAskedAbout) {
  const LONG date = DateOf(6, 1, 2024);
  Put("DUP", 'C', 735000.1, 0, 10.0);
  Put("OTHER", 'C', 735000.2, 5, 20.0, 2001, date);  // any status counts
  for (int i = 0; i < 2; ++i)
    Driver().OnDialog(20901, [&](HWND entry) {
      ChooseStatus(entry, "Printed");
      SetControlText(entry, 106, "2001");
      SetControlText(entry, 105, "06/02/24");
      PressButton(entry, IDOK);
    });
  Boxes().QueueAnswer(IDNO);
  Boxes().QueueAnswer(IDYES);
  const std::vector<BYTE> before = RawRecord("DUP", 'C', 735000.1);
  RunDisburse("DUP", [&](HWND dialog, TDisburse&) {
    SelectRow(dialog, 300, 0);
    PressButton(dialog, 402);
    EXPECT_EQ(RawRecord("DUP", 'C', 735000.1), before);
    EXPECT_STREQ(CheckRow(dialog, 0).StatusText, "Ready");
    PressButton(dialog, 402);
  });
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[0].text, "Check number 2001 is already used. Record it anyway?");
  EXPECT_EQ(Shown()[0].type & 0xF, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(StoredEntry("DUP", 'C', 735000.1)->Number, 2001);
  EXPECT_EQ(StoredEntry("DUP", 'C', 735000.1)->Status, 2);
}

TEST_F(DisburseEntries, AStatusOutsideTheListIsKeptNotWrittenAsMinusOne) {
  Put("ODD", 'C', 736000.1, 9, 40.0);
  Put("ODD", 'C', 736000.2, -3, 41.0);
  for (int i = 0; i < 2; ++i)
    Driver().OnDialog(20901, [](HWND entry) {
      EXPECT_EQ(SendMessage(FindControl(entry, 101), CB_GETCURSEL, 0, 0), -1);
      SetControlText(entry, 104, "Changed");
      PressButton(entry, IDOK);
    });
  RunDisburse("ODD", [&](HWND dialog, TDisburse&) {
    ASSERT_EQ(RowCount(dialog, 300), 2);
    EXPECT_STREQ(CheckRow(dialog, 0).StatusText, "");
    for (int row = 0; row < 2; ++row) {
      SelectRow(dialog, 300, row);
      PressButton(dialog, 402);
    }
  });
  EXPECT_EQ(StoredEntry("ODD", 'C', 736000.1)->Status, 9);
  EXPECT_EQ(StoredEntry("ODD", 'C', 736000.2)->Status, -3);
  EXPECT_STREQ(StoredEntry("ODD", 'C', 736000.1)->Description, "Changed");
}

// The store refuses writes: the Add shows the table layer's box and nothing is listed.
TEST_F(DisburseEntries, AFailedAddListsNothingAndKeepsTheBalance) {
  Put("RO", 'D', 737000.1, 3, 500.0);
  const std::string db = Root() + "/drive_c/ZARNE/DATA/ACCOUNT.DB";
  ASSERT_TRUE(std::filesystem::exists(db));
  Driver().OnDialog(20901, [&](HWND entry) {
    SetControlText(entry, 103, "Payee");
    SetControlText(entry, 102, "99.00");
    PressButton(entry, IDOK);
  });
  Driver().OnDialog(20902, [](HWND entry) { PressButton(entry, IDOK); });  // the delete
  Driver().OnDialog(20902, [](HWND entry) {
    SetControlText(entry, 104, "450.00");
    PressButton(entry, IDOK);
  });
  bool readOnly = false;
  RunDisburse("RO", [&](HWND dialog, TDisburse&) {
    readOnly = std::system(("chattr +i '" + db + "' 2>/dev/null").c_str()) == 0;
    if (!readOnly) return;
    PressButton(dialog, 401);
    EXPECT_EQ(RowCount(dialog, 300), 0);
    EXPECT_EQ(Text(dialog, 103), "500.00");
    // A failed delete keeps the deposit's row; a failed modify keeps its amount.
    SelectRow(dialog, 200, 0);
    PressButton(dialog, 203);
    EXPECT_EQ(RowCount(dialog, 200), 1);
    SelectRow(dialog, 200, 0);
    PressButton(dialog, 202);
    EXPECT_EQ(RowAmount(DepositRow(dialog, 0)), 500.0);
    EXPECT_EQ(Text(dialog, 103), "500.00");
    std::system(("chattr -i '" + db + "'").c_str());
  });
  if (!readOnly) GTEST_SKIP() << "the file system cannot make ACCOUNT.DB read-only";
  ASSERT_FALSE(Shown().empty());
  EXPECT_EQ(Shown()[0].caption, "Database Error");
  EXPECT_EQ(EntryCount(), 1);
  EXPECT_EQ(StoredEntry("RO", 'D', 737000.1)->Amount, 500.0);
  // A store that cannot be read is no entry deleted elsewhere.
  for (const auto& box : Shown())
    EXPECT_NE(box.text, "This entry was deleted at another workstation.");
}

}  // namespace
