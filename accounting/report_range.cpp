/*
** The report range dialog: its controls in transfer order, the range choices switching the
** pairs of bound edits, and the optional account list.
*/
#include "accounting/report_range.h"

#include "accounting/account_transfers.h"
#include "accounting/range_pair.h"
#include "platform/framework/controls.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"
#include "platform/user/winuser.h"
#include "tableaccess/typed_edits.h"

namespace {
enum {
  kAccountList = 136,
  kFileFrom = 301,
  kFileTo = 302,
  kRadioAll = 200,
  kRadioDate = 400,
  kRadioFile = 300,
  kRadioNumber = 500,
  kUseAccount = 234,
  kDateFrom = 401,
  kDateTo = 402,
  kNumberFrom = 501,
  kNumberTo = 502,
  kAccountLabel = 628
};
}  // namespace

DEFINE_RESPONSE_TABLE1(TReportRange, TDialog)
EV_BN_CLICKED(kRadioAll, CmRangeAll), EV_BN_CLICKED(kRadioDate, CmRangeDate),
    EV_BN_CLICKED(kRadioFile, CmRangeFile), EV_BN_CLICKED(kRadioNumber, CmRangeNumber),
    EV_BN_CLICKED(kUseAccount, CmUseAccount), END_RESPONSE_TABLE;

TReportRange::TReportRange(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  Accounts = new TComboBox(this, kAccountList);
  FileFrom = new TEdit(this, kFileFrom, sizeof gReportRangeXfer.FileFrom);
  FileTo = new TEdit(this, kFileTo, sizeof gReportRangeXfer.FileTo);
  RangeAll = new TRadioButton(this, kRadioAll, tw32Bit);
  RangeDate = new TRadioButton(this, kRadioDate, tw32Bit);
  RangeFile = new TRadioButton(this, kRadioFile, tw32Bit);
  RangeNumber = new TRadioButton(this, kRadioNumber, tw32Bit);
  UseAccount = new TCheckBox(this, kUseAccount, tw32Bit);
  DateFrom = new TWWDate(this, kDateFrom, 12);
  DateTo = new TWWDate(this, kDateTo, 12);
  NumberFrom = new TWWInteger(this, kNumberFrom, 8);
  NumberTo = new TWWInteger(this, kNumberTo, 0);
  AccountLabel = new TStatic(this, kAccountLabel);
  SetTransferBuffer(&gReportRangeXfer);
}

TReportRange::~TReportRange() = default;

void TReportRange::SetupWindow() { TDialog::SetupWindow(); }

// The controls hold the record's values only once the base has set the dialog up and
// transferred; the range and mode handling works on them.
bool TReportRange::EvInitDialog(HWND focus) {
  bool result = TDialog::EvInitDialog(focus);
  if (gReportRangeXfer.RangeAll == 1) CmRangeAll();
  if (gReportRangeXfer.RangeFile == 1) CmRangeFile();
  if (gReportRangeXfer.RangeDate == 1) CmRangeDate();
  if (gReportRangeXfer.RangeNumber == 1) CmRangeNumber();
  if (ThroughDateOnly) DateFrom->Show(SW_HIDE);
  if (NoFileRange) RangeFile->EnableWindow(false);
  if (NoNumberRange) RangeNumber->EnableWindow(false);
  if (AccountOptional) {
    AccountLabel->Show(SW_HIDE);
    UseAccount->Show(SW_SHOW);
    CmUseAccount();
  }
  return result;
}

void TReportRange::CmRangeAll() {
  EnableFileRange(false);
  EnableNumberRange(false);
  EnableDateRange(false);
}

void TReportRange::CmRangeFile() {
  EnableFileRange(true);
  EnableNumberRange(false);
  EnableDateRange(false);
  FileFrom->SetFocus();
}

void TReportRange::CmRangeDate() {
  EnableFileRange(false);
  EnableNumberRange(false);
  EnableDateRange(true);
  (ThroughDateOnly ? DateTo : DateFrom)->SetFocus();
}

void TReportRange::CmRangeNumber() {
  EnableFileRange(false);
  EnableNumberRange(true);
  EnableDateRange(false);
  NumberFrom->SetFocus();
}

void TReportRange::CmUseAccount() {
  UINT state = UseAccount->GetCheck();
  if (state == BST_CHECKED) Accounts->Show(SW_SHOW);
  else if (state == BST_UNCHECKED) Accounts->Show(SW_HIDE);
}

// The pairs of bound edits, switched with their range modes (see range_pair.h).
void TReportRange::EnableFileRange(bool on) {
  SwitchRangePair(FileFrom, FileTo, gReportRangeXfer.FileFrom, gReportRangeXfer.FileTo, on);
}

void TReportRange::EnableDateRange(bool on) {
  SwitchRangePair(DateFrom, DateTo, &gReportRangeXfer.DateFrom, &gReportRangeXfer.DateTo, on);
}

void TReportRange::EnableNumberRange(bool on) {
  SwitchRangePair(NumberFrom, NumberTo, &gReportRangeXfer.NumberFrom, &gReportRangeXfer.NumberTo,
                  on);
}
