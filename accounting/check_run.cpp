/*
** Printing the file's Ready checks (the disbursing dialog's Print Checks button). Check
** numbers are money, and no number is ever printed on two checks: the next number in CHECKCTL
** stays locked for the whole run, so two stations never start from one number; each check's
** number is claimed first (CHECKCTL moved past it, durably) and only then is the check re-read
** under its lock, recorded Printed and sent to the printer. A station that dies at any step
** leaves at most an unused number, a gap on the register; a failed page puts the check and
** its number back. A run never starts on a number the ledger already holds. Only checks that
** can be printed are: a payee and an amount the words can say.
*/
#include "accounting/check_printer.h"
#include "accounting/check_printout.h"
#include "accounting/disburse.h"
#include "accounting/ledger_cents.h"
#include "accounting/print_checks_dialog.h"
#include "accounting/report_drawing.h"
#include "grid/tessel_codes.h"
#include "platform/user/winuser.h"
#include "tableaccess/check_form_settings.h"
#include "tableaccess/engine_session.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
enum { kCheckGrid = 300 };
constexpr int kNextCheckNumberField = 1;
constexpr int kDisbursementDateField = 20;  // EXTRA DDATE
constexpr int kClosingDateField = 2;        // SUMMARY1 CDATE
// The largest amount AmountInWords can say.
constexpr int64_t kLargestCheckCents = 4294967294;

constexpr char kCheckCtlBusy[] = "Checks are being printed at another workstation.";
constexpr char kCheckCtlUnreadable[] =
    "The next check number cannot be read from CHECKCTL; no checks were printed.";
constexpr char kUnfitChecksHeading[] =
    "These Ready checks were not printed. A check needs a payee and an amount above 0.00 and "
    "at most 42,949,672.94:";
constexpr char kNumbersUsedFormat[] =
    "Check numbers %ld to %ld include numbers already used; no check was printed. Type a "
    "number after the last one used.";
constexpr char kNumberUsedFormat[] =
    "Check number %ld is already used; no check was printed. Type a number after the last "
    "one used.";
constexpr char kCheckCtlNotWrittenFormat[] =
    "The next check number (%ld) could not be written to CHECKCTL, so the run stops. Every "
    "check still Ready was not printed.";
constexpr char kNotPrintedFormat[] = "Check %ld to %s was not printed; it is still Ready.";

bool HasPayee(const char* payee) {
  for (const char* p = payee; *p != '\0'; ++p)
    if (*p != ' ') return true;
  return false;
}

/* Whether a check can be printed: a payee, and an amount above 0 that the words can say. */
bool FitToPrint(const TLedgerEntry& check) {
  const int64_t cents = AmountCents(check.Amount);
  return cents > 0 && cents <= kLargestCheckCents && HasPayee(check.PayeeDepositor);
}

/* The first date that is set: the file's disbursement date, its closing date, today. */
LONG ProposedCheckDate(const char* fileNumber) {
  const struct {
    int table;
    int field;
  } sources[] = {{kExtraTable, kDisbursementDateField}, {kSummary1Table, kClosingDateField}};
  for (const auto& source : sources) {
    if (gTables[source.table] == nullptr) continue;
    TPXRecord record(gTables[source.table], true);
    LONG date = kBlankDate;
    if (record.SetString(1, fileNumber) && record.Seek(0, ENGINE_KEY_EQ) && record.Read(0) &&
        record.GetLong(source.field, date) && date != kBlankDate)
      return date;
  }
  return TodayDate();
}

// The most the dialog's number edit (seven characters and the terminator) can hold.
constexpr double kLargestCheckNumber = 9999999.0;

/* The whole number a float field holds; 0 (which the dialog refuses, so the user types one)
   outside the numbers the dialog can show, where counting on would also overflow. */
LONG WholeCheckNumber(double value) {
  if (!(value >= 1.0) || value > kLargestCheckNumber) return 0;
  return static_cast<LONG>(value);
}

/* CHECKCTL's one record, locked from Open to the end of the run whatever path it takes. */
class TCheckCtl {
 public:
  ~TCheckCtl() {
    if (Record != nullptr) Record->Unlock();
    Record.reset();
    Table.reset();
  }

  /* Opens, locks and reads it; false after the box that says why no check is printed. */
  bool Open(HWND owner) {
    char path[MAX_PATH];
    BuildPath(path, gCheckCtlDir, "CHECKCTL", nullptr, sizeof path);
    Table = std::make_unique<TPXTable>(path, 0);
    if (!Table->IsOpen()) return Refuse(owner, kCheckCtlUnreadable, MB_ICONSTOP);
    Record = std::make_unique<TPXRecord>(Table.get(), true);
    if (!Record->First()) return Refuse(owner, kCheckCtlUnreadable, MB_ICONSTOP);
    if (!Record->Lock()) {
      const bool busy =
          gLastDbResult == ENGINE_ERR_RECLOCKED || gLastDbResult == ENGINE_ERR_TABLELOCKED;
      Record.reset();
      return Refuse(owner, busy ? kCheckCtlBusy : kCheckCtlUnreadable,
                    busy ? MB_ICONINFORMATION : MB_ICONSTOP);
    }
    double next = 0.0;
    if (!Record->Read(0) || !Record->GetDouble(kNextCheckNumberField, next))
      return Refuse(owner, kCheckCtlUnreadable, MB_ICONSTOP);
    NextNumber = WholeCheckNumber(next);
    return true;
  }

  /* Writes the next check number; false after the table layer's box. */
  bool Write(LONG number) {
    return Record->SetDouble(kNextCheckNumberField, static_cast<double>(number)) &&
           Record->Modify();
  }

  LONG NextNumber = 0;

 private:
  bool Refuse(HWND owner, const char* text, UINT icon) {
    ShowLedgerMessage(owner, text, MB_OK | icon);
    return false;
  }

  std::unique_ptr<TPXTable> Table;
  std::unique_ptr<TPXRecord> Record;
};

/* The party names of the file's buyers and sellers, freed with the run. */
class TPartyTexts {
 public:
  explicit TPartyTexts(const char* fileNumber) {
    char path[MAX_PATH];
    BuildPath(path, gDatabaseDir, "buyer", nullptr, sizeof path);
    Buyers = GetPartyNames(fileNumber, path);
    BuildPath(path, gDatabaseDir, "seller", nullptr, sizeof path);
    Sellers = GetPartyNames(fileNumber, path);
  }
  ~TPartyTexts() {
    delete[] Buyers;
    delete[] Sellers;
  }
  TPartyTexts(const TPartyTexts&) = delete;
  TPartyTexts& operator=(const TPartyTexts&) = delete;

  char* Buyers;
  char* Sellers;
};

}  // namespace

/* One run of Print Checks over the dialog's check grid. */
class TCheckRun {
 public:
  explicit TCheckRun(TDisburse& dialog) : Dialog(dialog), Grid(dialog.Grid(kCheckGrid)) {}

  void Run();

 private:
  enum class TOutcome { kPrinted, kSkipped, kStop };

  int RowCount() const { return static_cast<int>(::SendMessage(Grid, TSM_GETROWCOUNT, 0, 0)); }
  bool ReadRow(int index, TLedgerEntry& entry) const;
  void ReplaceRow(int index, const TLedgerEntry& entry) const;
  void RemoveRow(int index) const;
  /* The grid's Ready checks: how many can be printed; the others are listed. */
  int CountFitChecks();
  /* Whether numbers first .. first + count - 1 are free; a used one is refused with a box. */
  bool NumbersFree(LONG first, int count);
  /* Re-reads, records, numbers and prints the check of grid row `index`. */
  TOutcome PrintCheck(int& index, int& rows, TCheckPrinter& printer, const TPartyTexts& parties);
  /* Writes CHECKCTL's next number; a failure is told and marks the run stopped. */
  bool WriteCheckCtl(LONG next);
  /* The first number from `from` on that no check carries (the numbers right after a run
     that died before CHECKCTL was moved on). */
  LONG FirstUnusedNumber(LONG from);
  /* Puts a check recorded Printed back to Ready (its record is still locked). */
  void RevertCheck();
  void NoteUnfit(const TLedgerEntry& check);
  void ShowUnfitChecks() const;

  TDisburse& Dialog;
  HWND Grid;
  TCheckCtl CheckCtl;
  LONG Number = 0;
  LONG CheckDate = kBlankDate;
  int Printed = 0;
  bool CheckCtlFailed = false;
  std::vector<std::string> Unfit;
};

bool TCheckRun::ReadRow(int index, TLedgerEntry& entry) const {
  TDisburseCheckRow row{};
  ::SendMessage(Grid, TSM_SETCURSOR, 0, index);
  if (::SendMessage(Grid, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row)) != 0)
    return false;
  EntryFromRow(row, entry);
  return true;
}

void TCheckRun::ReplaceRow(int index, const TLedgerEntry& entry) const {
  TDisburseCheckRow row;
  RowFromEntry(entry, row);
  ::SendMessage(Grid, TSM_SETCURSOR, 0, index);
  ::SendMessage(Grid, TSM_SETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
}

void TCheckRun::RemoveRow(int index) const {
  ::SendMessage(Grid, TSM_SETCURSOR, 0, index);
  ::SendMessage(Grid, TSM_DELETEROW, TSREF_CURSOR, 0);
}

int TCheckRun::CountFitChecks() {
  int fit = 0;
  const int rows = RowCount();
  for (int i = 0; i < rows; ++i) {
    TLedgerEntry check;
    if (!ReadRow(i, check) || check.Status != kStatusReady) continue;
    if (FitToPrint(check)) {
      ++fit;
      continue;
    }
    NoteUnfit(check);
  }
  return fit;
}

void TCheckRun::NoteUnfit(const TLedgerEntry& check) {
  char amount[kReportAmountSize];
  FormatReportAmount(amount, sizeof amount, check.Amount);
  Unfit.push_back(
      std::string(HasPayee(check.PayeeDepositor) ? check.PayeeDepositor : "(no payee)") + "  " +
      amount);
}

bool TCheckRun::NumbersFree(LONG first, int count) {
  const SHORT index = Dialog.Table->IndexForField(kAcctNumber);
  if (index == 0) return false;  // reported by the table layer
  const LONG last = first + (count - 1);
  TPXTable byNumber(Dialog.Table->Name(), index);
  TPXRecord record(&byNumber, false);
  record.Clear();
  record.SetDouble(kAcctNumber, static_cast<double>(first));
  bool used = false;
  for (bool found = record.Seek(1, ENGINE_KEY_GEQ); found && !used; found = record.Next()) {
    TLedgerEntry entry;
    if (!record.Read(0) || !ReadLedgerEntry(record, entry) || entry.Number > last) break;
    used = entry.Number >= first && std::strcmp(entry.Type, kCheckType) == 0;
  }
  if (!used) return true;
  char text[200];
  if (count == 1) std::snprintf(text, sizeof text, kNumberUsedFormat, static_cast<long>(first));
  else
    std::snprintf(text, sizeof text, kNumbersUsedFormat, static_cast<long>(first),
                  static_cast<long>(last));
  ShowLedgerMessage(Dialog.HWindow, text, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

LONG TCheckRun::FirstUnusedNumber(LONG from) {
  const SHORT index = Dialog.Table->IndexForField(kAcctNumber);
  if (index == 0 || from <= 0) return from;
  TPXTable byNumber(Dialog.Table->Name(), index);
  TPXRecord record(&byNumber, false);
  record.Clear();
  record.SetDouble(kAcctNumber, static_cast<double>(from));
  LONG next = from;
  for (bool found = record.Seek(1, ENGINE_KEY_GEQ); found; found = record.Next()) {
    TLedgerEntry entry;
    if (!record.Read(0) || !ReadLedgerEntry(record, entry) || entry.Number > next) break;
    if (std::strcmp(entry.Type, kCheckType) == 0 && entry.Number == next) ++next;
  }
  return WholeCheckNumber(next) == next ? next : from;
}

bool TCheckRun::WriteCheckCtl(LONG next) {
  if (CheckCtl.Write(next)) return true;
  CheckCtlFailed = true;
  char text[200];
  std::snprintf(text, sizeof text, kCheckCtlNotWrittenFormat, static_cast<long>(next));
  ShowLedgerMessage(Dialog.HWindow, text, MB_OK | MB_ICONSTOP);
  return false;
}

void TCheckRun::RevertCheck() {
  TPXRecord& record = *Dialog.Record;
  record.SetLong(kAcctStatus, kStatusReady);
  record.SetDouble(kAcctNumber, 0.0);
  record.SetLong(kAcctDate, kBlankDate);
  ModifyLockedEntry(record);
}

TCheckRun::TOutcome TCheckRun::PrintCheck(int& index, int& rows, TCheckPrinter& printer,
                                          const TPartyTexts& parties) {
  TLedgerEntry shown;
  if (!ReadRow(index, shown) || shown.Status != kStatusReady || !FitToPrint(shown))
    return TOutcome::kSkipped;

  // Another station may have printed, changed or deleted it since the list was filled.
  TPXRecord& record = *Dialog.Record;
  TLedgerEntry stored;
  if (!SeekLedgerEntry(record, shown)) {
    RemoveRow(index);
    --index;
    --rows;
    return TOutcome::kSkipped;
  }
  if (!record.Lock()) return TOutcome::kSkipped;  // someone is changing it: left as it is
  if (!record.Read(0) || !ReadLedgerEntry(record, stored)) {
    record.Unlock();
    return TOutcome::kSkipped;
  }
  if (stored.Status != kStatusReady || !FitToPrint(stored)) {
    record.Unlock();
    if (stored.Status == kStatusReady) NoteUnfit(stored);
    if (stored.Status == kStatusVoid) {
      RemoveRow(index);
      --index;
      --rows;
    } else {
      ReplaceRow(index, stored);
    }
    return TOutcome::kSkipped;
  }

  // The number is claimed before anything else is written: a station that dies after this
  // leaves an unused number, never one two checks carry.
  if (!WriteCheckCtl(Number + 1)) {
    record.Unlock();
    return TOutcome::kStop;
  }
  TLedgerEntry check = stored;
  check.Status = kStatusPrinted;
  check.Number = Number;
  check.Date = CheckDate;
  if (!record.SetLong(kAcctStatus, check.Status) || !record.SetDouble(kAcctNumber, check.Number) ||
      !record.SetLong(kAcctDate, check.Date) || !record.Modify()) {
    record.Unlock();
    // Shown by the table layer; the number is given back for the next check.
    return WriteCheckCtl(Number) ? TOutcome::kSkipped : TOutcome::kStop;
  }

  TDisburseCheckRow row;
  RowFromEntry(check, row);
  TCheckPrintout printout("Check", &row, parties.Buyers, parties.Sellers);
  if (!printer.Print(&Dialog, printout, false)) {
    RevertCheck();
    if (!WriteCheckCtl(Number)) return TOutcome::kStop;
    char text[200];
    std::snprintf(text, sizeof text, kNotPrintedFormat, static_cast<long>(Number),
                  check.PayeeDepositor);
    ShowLedgerMessage(Dialog.HWindow, text, MB_OK | MB_ICONEXCLAMATION);
    return TOutcome::kStop;
  }
  ReplaceRow(index, check);
  ++Number;
  record.Unlock();
  return TOutcome::kPrinted;
}

void TCheckRun::ShowUnfitChecks() const {
  if (Unfit.empty()) return;
  std::string text = kUnfitChecksHeading;
  for (const std::string& line : Unfit) text += "\n" + line;
  ShowLedgerMessage(Dialog.HWindow, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void TCheckRun::Run() {
  if (!CheckFormHasPlacedItem(gCheckFormLayout)) {
    ShowLedgerMessage(Dialog.HWindow, kCheckFormNotSetUp, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!CheckCtl.Open(Dialog.HWindow)) return;
  // A number a check already carries (CHECKCTL restored, or written by an older run) is
  // never proposed.
  gPrintChecksXfer.Number = FirstUnusedNumber(CheckCtl.NextNumber);
  gPrintChecksXfer.Date = ProposedCheckDate(Dialog.FileNumber);
  {
    TPrintChecks confirm(&Dialog);
    if (confirm.Execute() != IDOK) return;  // nothing written
  }
  Number = gPrintChecksXfer.Number;
  CheckDate = gPrintChecksXfer.Date;

  const int fit = CountFitChecks();
  if (fit > 0 && !NumbersFree(Number, fit)) return;

  if (fit > 0) {
    TCheckPrinter printer;
    printer.TellEachFile = false;  // one message for the run, not one per check
    TPartyTexts parties(Dialog.FileNumber);
    // One print dialog for the run, before anything is recorded.
    if (printer.Choose(&Dialog)) {
      // The dialog takes no input while its checks print: disabled once for the run rather
      // than by the printer around every check.
      const bool enabled = ::IsWindowEnabled(Dialog.HWindow);
      if (enabled) ::EnableWindow(Dialog.HWindow, FALSE);
      int rows = RowCount();
      for (int i = 0; i < rows; ++i) {
        const TOutcome outcome = PrintCheck(i, rows, printer, parties);
        if (outcome == TOutcome::kPrinted) ++Printed;
        if (outcome == TOutcome::kStop) break;
      }
      if (enabled) ::EnableWindow(Dialog.HWindow, TRUE);
      printer.TellPrintedFiles(&Dialog, "Check");
    }
  }
  // A run that printed nothing keeps the number the user typed.
  if (Printed == 0 && !CheckCtlFailed) WriteCheckCtl(gPrintChecksXfer.Number);
  ShowUnfitChecks();
}

void TDisburse::CmPrintChecks() {
  TCheckRun run(*this);
  run.Run();
}
