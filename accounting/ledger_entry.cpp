/*
** Moving ledger entries between TPXRecord buffers and TLedgerEntry.
*/
#include "accounting/ledger_entry.h"

#include "platform/kernel/string_calls.h"
#include "tableaccess/px_record.h"

#include <cstdio>

bool TLedgerEntry::operator==(const TLedgerEntry& other) const {
  return lstrcmpA(FileNum, other.FileNum) == 0 && Type[0] == other.Type[0] && Seq == other.Seq;
}

bool TLedgerEntry::operator<(const TLedgerEntry& other) const {
  int files = lstrcmpA(FileNum, other.FileNum);
  if (files != 0) return files < 0;
  if (Type[0] != other.Type[0]) return Type[0] < other.Type[0];
  return Seq < other.Seq;
}

void CopyLedgerText(char* destination, size_t size, const char* source) {
  if (size == 0) return;
  std::snprintf(destination, size, "%s", source != nullptr ? source : "");
}

bool SetLedgerFileAndType(TPXRecord& record, const char* fileNumber, const char* type) {
  return record.SetString(kAcctFileNum, fileNumber) && record.SetString(kAcctType, type);
}

bool SetLedgerKey(TPXRecord& record, const TLedgerEntry& entry) {
  return SetLedgerFileAndType(record, entry.FileNum, entry.Type) &&
         record.SetDouble(kAcctSeq, entry.Seq);
}

bool ReadLedgerEntry(TPXRecord& record, TLedgerEntry& entry) {
  SHORT bank = 0;
  SHORT status = 0;
  bool read =
      record.GetString(kAcctFileNum, entry.FileNum, sizeof entry.FileNum) &&
      record.GetString(kAcctType, entry.Type, sizeof entry.Type) &&
      record.GetDouble(kAcctSeq, entry.Seq) && record.GetLong(kAcctNumber, entry.Number) &&
      record.GetShort(kAcctBank, bank) && record.GetShort(kAcctStatus, status) &&
      record.GetLong(kAcctDate, entry.Date) &&
      record.GetString(kAcctPayeeDepositor, entry.PayeeDepositor, sizeof entry.PayeeDepositor) &&
      record.GetString(kAcctDescription, entry.Description, sizeof entry.Description) &&
      record.GetDouble(kAcctAmount, entry.Amount);
  entry.Bank = bank;
  entry.Status = status;
  return read;
}

bool WriteLedgerEntry(TPXRecord& record, const TLedgerEntry& entry) {
  return SetLedgerKey(record, entry) &&
         record.SetDouble(kAcctNumber, static_cast<double>(entry.Number)) &&
         record.SetLong(kAcctBank, entry.Bank) && record.SetLong(kAcctStatus, entry.Status) &&
         record.SetLong(kAcctDate, entry.Date) &&
         record.SetString(kAcctPayeeDepositor, entry.PayeeDepositor) &&
         record.SetString(kAcctDescription, entry.Description) &&
         record.SetDouble(kAcctAmount, entry.Amount);
}
