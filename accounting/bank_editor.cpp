/*
** The bank editor: reading the twenty BANK records by key, stepping through them, and
** writing back only the fields the user changed, each record re-read under its lock.
*/
#include "accounting/bank_editor.h"

#include "platform/framework/controls.h"
#include "platform/framework/edit.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>

namespace {

enum {
  kKeyNumberStatic = 101,
  kAccountNameEdit = 264,
  kBankNameEdit = 432,
  kAccountNumberEdit = 103,
  kLastCloseDateEdit = 106,
  kLastBalanceDateEdit = 104,
  kLastBeginBalanceEdit = 102,
  kLastEndBalanceEdit = 105,
  kPreviousButton = 148,
  kNextButton = 149
};
enum { kNoNextRecordString = 1033, kNoPreviousRecordString = 1034 };
// BANK field numbers.
enum {
  kKeyNumberField = 1,
  kAccountNameField,
  kBankNameField,
  kAccountNumberField,
  kLastCloseDateField,
  kLastBalanceDateField,
  kLastBeginBalanceField,
  kLastEndBalanceField
};

TBankEntry EmptyEntry() {
  TBankEntry entry{};
  entry.LastCloseDate = entry.LastBalanceDate = kBlankDate;
  return entry;
}

// The editor shows balances to the cent, so a change below a cent is no change.
bool SameMoney(double a, double b) { return RoundToCents(a) == RoundToCents(b); }

void ReadEntry(TPXRecord& record, TBankEntry& entry) {
  entry = EmptyEntry();
  if (!record.GetString(kAccountNameField, entry.AccountName, sizeof entry.AccountName))
    entry.AccountName[0] = '\0';
  if (!record.GetString(kBankNameField, entry.BankName, sizeof entry.BankName))
    entry.BankName[0] = '\0';
  if (!record.GetString(kAccountNumberField, entry.AccountNumber, sizeof entry.AccountNumber))
    entry.AccountNumber[0] = '\0';
  if (!record.GetLong(kLastCloseDateField, entry.LastCloseDate)) entry.LastCloseDate = kBlankDate;
  if (!record.GetLong(kLastBalanceDateField, entry.LastBalanceDate))
    entry.LastBalanceDate = kBlankDate;
  if (!record.GetDouble(kLastBeginBalanceField, entry.LastBeginBalance)) entry.LastBeginBalance = 0;
  if (!record.GetDouble(kLastEndBalanceField, entry.LastEndBalance)) entry.LastEndBalance = 0;
}

/* Sets in the record each field in which `entry` differs from `before` (all of them when
   `before` is null); answers false when a field could not be set. */
bool SetChangedFields(TPXRecord& record, const TBankEntry& entry, const TBankEntry* before) {
  bool ok = true;
  auto text = [&](int field, const char* now, const char* was) {
    if (!was || std::strcmp(now, was) != 0) ok = record.SetString(field, now) && ok;
  };
  auto date = [&](int field, LONG now, const LONG* was) {
    if (!was || now != *was) ok = record.SetLong(field, now) && ok;
  };
  auto money = [&](int field, double now, const double* was) {
    if (!was || !SameMoney(now, *was)) ok = record.SetDouble(field, now) && ok;
  };
  text(kAccountNameField, entry.AccountName, before ? before->AccountName : nullptr);
  text(kBankNameField, entry.BankName, before ? before->BankName : nullptr);
  text(kAccountNumberField, entry.AccountNumber, before ? before->AccountNumber : nullptr);
  date(kLastCloseDateField, entry.LastCloseDate, before ? &before->LastCloseDate : nullptr);
  date(kLastBalanceDateField, entry.LastBalanceDate, before ? &before->LastBalanceDate : nullptr);
  money(kLastBeginBalanceField, entry.LastBeginBalance,
        before ? &before->LastBeginBalance : nullptr);
  money(kLastEndBalanceField, entry.LastEndBalance, before ? &before->LastEndBalance : nullptr);
  return ok;
}

bool SameEntry(const TBankEntry& a, const TBankEntry& b) {
  return std::strcmp(a.AccountName, b.AccountName) == 0 &&
         std::strcmp(a.BankName, b.BankName) == 0 &&
         std::strcmp(a.AccountNumber, b.AccountNumber) == 0 && a.LastCloseDate == b.LastCloseDate &&
         a.LastBalanceDate == b.LastBalanceDate &&
         SameMoney(a.LastBeginBalance, b.LastBeginBalance) &&
         SameMoney(a.LastEndBalance, b.LastEndBalance);
}

}  // namespace

DEFINE_RESPONSE_TABLE1(TBankEditor, TDialog)
EV_COMMAND(IDOK, CmOk), EV_COMMAND(kNextButton, CmNext),
    EV_COMMAND(kPreviousButton, CmPrevious), END_RESPONSE_TABLE;

TBankEditor::TBankEditor(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  KeyNumber = new TStatic(this, kKeyNumberStatic, 3);
  AccountName = new TEdit(this, kAccountNameEdit, sizeof Banks[0].AccountName);
  BankName = new TEdit(this, kBankNameEdit, sizeof Banks[0].BankName);
  AccountNumber = new TEdit(this, kAccountNumberEdit, sizeof Banks[0].AccountNumber);
  LastCloseDate = new TWWDate(this, kLastCloseDateEdit, 14);
  LastBalanceDate = new TWWDate(this, kLastBalanceDateEdit, 14);
  LastBeginBalance = new TWWMoney(this, kLastBeginBalanceEdit, 16);
  LastEndBalance = new TWWMoney(this, kLastEndBalanceEdit, 16);
  ReadBanks();
}

TBankEditor::~TBankEditor() = default;

void TBankEditor::ReadBanks() {
  for (int key = 0; key < kBankKeyCount; ++key) {
    Stored[key] = EmptyEntry();
    Present[key] = false;
    if (gBankRecord == nullptr) continue;
    gBankRecord->Clear();
    gBankRecord->SetShort(kKeyNumberField, static_cast<SHORT>(key));
    if (gBankRecord->Seek(0, ENGINE_KEY_EQ) && gBankRecord->Read(0)) {
      ReadEntry(*gBankRecord, Stored[key]);
      Present[key] = true;
    }
    Banks[key] = Stored[key];
  }
}

void TBankEditor::SetupWindow() {
  TDialog::SetupWindow();
  ShowEntry();
}

void TBankEditor::ShowEntry() {
  char key[8];
  std::snprintf(key, sizeof key, "%d", CurrentKey);
  KeyNumber->SetText(key);
  TransferEntry(tdSetData);
}

void TBankEditor::StoreEntry() { TransferEntry(tdGetData); }

void TBankEditor::TransferEntry(TTransferDirection direction) {
  TBankEntry& entry = Banks[CurrentKey];
  AccountName->Transfer(entry.AccountName, direction);
  BankName->Transfer(entry.BankName, direction);
  AccountNumber->Transfer(entry.AccountNumber, direction);
  LastCloseDate->Transfer(&entry.LastCloseDate, direction);
  LastBalanceDate->Transfer(&entry.LastBalanceDate, direction);
  LastBeginBalance->Transfer(&entry.LastBeginBalance, direction);
  LastEndBalance->Transfer(&entry.LastEndBalance, direction);
}

void TBankEditor::CmNext() {
  if (CurrentKey < kBankKeyCount - 1) {
    StoreEntry();
    ++CurrentKey;
    ShowEntry();
    return;
  }
  MessageBox(GetModule()->LoadString(kNoNextRecordString).c_str(), "", MB_OK | MB_ICONINFORMATION);
}

void TBankEditor::CmPrevious() {
  if (CurrentKey < 1) {
    MessageBox(GetModule()->LoadString(kNoPreviousRecordString).c_str(), "",
               MB_OK | MB_ICONINFORMATION);
    return;
  }
  StoreEntry();
  --CurrentKey;
  ShowEntry();
}

void TBankEditor::CmOk() {
  if (!CanClose()) return;  // a date or amount that does not parse keeps the dialog open
  StoreEntry();
  bool failed[kBankKeyCount] = {};
  bool anyFailed = false;
  for (int key = 0; key < kBankKeyCount; ++key) {
    if (Present[key] && SameEntry(Banks[key], Stored[key])) continue;
    failed[key] = !SaveKey(key);
    anyFailed = anyFailed || failed[key];
  }
  if (anyFailed) {
    // The keys written stay written; the rest can be tried again or given up by Cancel.
    std::string text = "These bank accounts were not saved: " + KeyList(failed);
    MessageBox(text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CloseWindow(IDOK);
}

bool TBankEditor::SaveKey(int key) {
  if (gBankRecord == nullptr) return false;
  TPXRecord& record = *gBankRecord;
  const TBankEntry& entry = Banks[key];
  record.Clear();
  record.SetShort(kKeyNumberField, static_cast<SHORT>(key));
  bool saved;
  if (record.Seek(0, ENGINE_KEY_EQ)) {
    if (!record.Lock()) return false;
    saved = record.Read(0) &&
            SetChangedFields(record, entry, Present[key] ? &Stored[key] : nullptr) &&
            record.Modify();
    record.Unlock();
  } else {
    // Missing (never made, or removed since it was read): insert it with its entry.
    record.Clear();
    saved = record.SetShort(kKeyNumberField, static_cast<SHORT>(key)) &&
            SetChangedFields(record, entry, nullptr) && record.Insert();
  }
  if (saved) {
    Stored[key] = entry;
    Present[key] = true;
  }
  return saved;
}

std::string TBankEditor::KeyList(const bool* failed) {
  std::string list;
  for (int key = 0; key < kBankKeyCount; ++key) {
    if (!failed[key]) continue;
    if (!list.empty()) list += ", ";
    list += std::to_string(key);
  }
  return list;
}
