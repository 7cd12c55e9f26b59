/*
** The account range dialog: its controls in transfer order, the kind choices that reset the
** range to All and limit the modes, and the mode choices that switch the pairs of bound
** edits (reloaded from the record when switched on, emptied when switched off, so that OK
** stores empty bounds for the modes not chosen).
*/
#include "accounting/account_range.h"

#include "accounting/account_transfers.h"
#include "accounting/range_pair.h"
#include "platform/framework/controls.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"
#include "tableaccess/typed_edits.h"

namespace {
enum {
  kAccountList = 136,
  kFileFrom = 301,
  kFileTo = 302,
  kRadioAdjustments = 103,
  kRadioAll = 200,
  kRadioCheck = 101,
  kRadioDate = 400,
  kRadioDeposits = 102,
  kRadioFile = 300,
  kRadioNumber = 500,
  kDateFrom = 401,
  kDateTo = 402,
  kNumberFrom = 501,
  kNumberTo = 502
};
constexpr UINT kDateLimit = 12;
constexpr UINT kNumberLimit = 8;
}  // namespace

DEFINE_RESPONSE_TABLE1(TAccountRange, TDialog)
EV_BN_CLICKED(kRadioCheck, CmCheck), EV_BN_CLICKED(kRadioDeposits, CmDeposits),
    EV_BN_CLICKED(kRadioAdjustments, CmAdjustments), EV_BN_CLICKED(kRadioAll, CmAll),
    EV_BN_CLICKED(kRadioFile, CmFile), EV_BN_CLICKED(kRadioDate, CmDate),
    EV_BN_CLICKED(kRadioNumber, CmNumber), END_RESPONSE_TABLE;

TAccountRange::TAccountRange(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  // In the order of the record's fields: the transfer walks the controls in this order.
  Accounts = new TComboBox(this, kAccountList);
  FileFrom = new TEdit(this, kFileFrom, sizeof gAccountRangeXfer.FileFrom);
  FileTo = new TEdit(this, kFileTo, sizeof gAccountRangeXfer.FileTo);
  Adjustments = new TRadioButton(this, kRadioAdjustments, tw32Bit);
  All = new TRadioButton(this, kRadioAll, tw32Bit);
  Check = new TRadioButton(this, kRadioCheck, tw32Bit);
  Date = new TRadioButton(this, kRadioDate, tw32Bit);
  Deposits = new TRadioButton(this, kRadioDeposits, tw32Bit);
  File = new TRadioButton(this, kRadioFile, tw32Bit);
  Number = new TRadioButton(this, kRadioNumber, tw32Bit);
  DateFrom = new TWWDate(this, kDateFrom, kDateLimit);
  DateTo = new TWWDate(this, kDateTo, kDateLimit);
  NumberFrom = new TWWInteger(this, kNumberFrom, kNumberLimit);
  NumberTo = new TWWInteger(this, kNumberTo, kNumberLimit);
  SetTransferBuffer(&gAccountRangeXfer);
}

TAccountRange::~TAccountRange() = default;

void TAccountRange::SetupWindow() { TDialog::SetupWindow(); }

// The controls hold the record's values only once the base has set the dialog up and
// transferred; the kind and mode rules work on them.
bool TAccountRange::EvInitDialog(HWND focus) {
  bool result = TDialog::EvInitDialog(focus);
  const TAccountRangeXfer& range = gAccountRangeXfer;
  if (range.Deposits == 1) Number->EnableWindow(false);
  if (range.Adjustments == 1) {
    File->EnableWindow(false);
    Number->EnableWindow(false);
  }
  if (range.All == 1) CmAll();
  if (range.File == 1) CmFile();
  if (range.Date == 1) CmDate();
  if (range.Number == 1) CmNumber();
  const bool focused = range.File == 1 || range.Date == 1 || range.Number == 1;
  if (FixedAccount) Accounts->EnableWindow(false);
  if (FixedKind) {
    Check->EnableWindow(false);
    Deposits->EnableWindow(false);
  }
  // A bound edit that took the focus keeps it; otherwise the dialog manager places it.
  return focused ? false : result;
}

void TAccountRange::CmCheck() { ChooseKind(true, true); }
void TAccountRange::CmDeposits() { ChooseKind(true, false); }
void TAccountRange::CmAdjustments() { ChooseKind(false, false); }

void TAccountRange::ChooseKind(bool fileOffered, bool numberOffered) {
  All->Check();
  File->Uncheck();
  Date->Uncheck();
  Number->Uncheck();
  File->EnableWindow(fileOffered);
  Number->EnableWindow(numberOffered);
  CmAll();
}

void TAccountRange::CmAll() {
  ShowFileRange(false);
  ShowDateRange(false);
  ShowNumberRange(false);
}

void TAccountRange::CmFile() {
  ShowFileRange(true);
  ShowDateRange(false);
  ShowNumberRange(false);
  FileFrom->SetFocus();
}

void TAccountRange::CmDate() {
  ShowFileRange(false);
  ShowDateRange(true);
  ShowNumberRange(false);
  DateFrom->SetFocus();
}

void TAccountRange::CmNumber() {
  ShowFileRange(false);
  ShowDateRange(false);
  ShowNumberRange(true);
  NumberFrom->SetFocus();
}

// The pairs of bound edits, switched with their range modes (see range_pair.h).
void TAccountRange::ShowFileRange(bool on) {
  SwitchRangePair(FileFrom, FileTo, gAccountRangeXfer.FileFrom, gAccountRangeXfer.FileTo, on);
}

void TAccountRange::ShowDateRange(bool on) {
  SwitchRangePair(DateFrom, DateTo, &gAccountRangeXfer.DateFrom, &gAccountRangeXfer.DateTo, on);
}

void TAccountRange::ShowNumberRange(bool on) {
  SwitchRangePair(NumberFrom, NumberTo, &gAccountRangeXfer.NumberFrom, &gAccountRangeXfer.NumberTo,
                  on);
}
