/*
** One ACCOUNT entry of the escrow ledger as the accounting dialogs hold it: the ten fields of
** the ACCOUNT record with their field numbers, the entry kinds and the ledger status codes,
** and the moves between an entry and a TPXRecord's buffer.
*/
#ifndef ZARNE_ACCOUNTING_LEDGER_ENTRY_H
#define ZARNE_ACCOUNTING_LEDGER_ENTRY_H

#include "platform/kernel/wintypes.h"
#include "tableaccess/value_forms.h"

class TPXRecord;

/* ACCOUNT's fields by number; the first three are the primary key. */
enum TLedgerField : int {
  kAcctFileNum = 1,
  kAcctType = 2,
  kAcctSeq = 3,
  kAcctNumber = 4,
  kAcctBank = 5,
  kAcctStatus = 6,
  kAcctDate = 7,
  kAcctPayeeDepositor = 8,
  kAcctDescription = 9,
  kAcctAmount = 10,
};
constexpr SHORT kLedgerKeyFieldCount = 3;

/* Entry kinds, as stored in `Type`. */
constexpr char kCheckType[] = "C";
constexpr char kDepositType[] = "D";
constexpr char kAdjustmentType[] = "B";

/* Ledger status codes. */
enum TLedgerStatus : int {
  kStatusReady = 0,
  kStatusEscrow = 1,
  kStatusPrinted = 2,
  kStatusUnposted = 3,
  kStatusVoid = 4,
  kStatusPosted = 5,
  kStatusReconciled = 6,
  kStatusBalanced = 7,
};

/* The bank accounts are BANK key numbers 0..19; -1 names none. */
constexpr int kBankAccountCount = 20;
constexpr int kNoBankAccount = -1;
inline bool IsBankKey(long key) { return key >= 0 && key < kBankAccountCount; }

struct TLedgerEntry {
  char FileNum[16] = "";
  char Type[2] = "";
  double Seq = 0.0;
  LONG Number = 0;
  LONG Bank = 0;
  LONG Status = 0;
  LONG Date = kBlankDate;
  char PayeeDepositor[61] = "";
  char Description[61] = "";
  double Amount = 0.0;

  /* The ACCOUNT key: file number, type letter, sequence key. */
  bool operator==(const TLedgerEntry& other) const;
  bool operator<(const TLedgerEntry& other) const;
};

/* Sets the three key fields of the record's buffer from the entry. */
bool SetLedgerKey(TPXRecord& record, const TLedgerEntry& entry);
/* Sets the first two key fields (a file's entries of one kind). */
bool SetLedgerFileAndType(TPXRecord& record, const char* fileNumber, const char* type);
/* The ten fields of the record's buffer (after a Read) into the entry. */
bool ReadLedgerEntry(TPXRecord& record, TLedgerEntry& entry);
/* All ten fields of the entry into the record's buffer, in field order. */
bool WriteLedgerEntry(TPXRecord& record, const TLedgerEntry& entry);

/* Bounded copy into a fixed text field of a record or row. */
void CopyLedgerText(char* destination, size_t size, const char* source);

#endif
