/*
** The bank statement information: the period rule's proposal and the checks at OK.
*/
#include "accounting/reconcile_info.h"

#include "accounting/account_transfers.h"
#include "accounting/reconcile_strings.h"
#include "platform/framework/controls.h"
#include "platform/framework/list_controls.h"
#include "platform/user/winuser.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

namespace {
enum {
  kAccountList = 136,
  kBeginEdit = 104,
  kBeginStatic = 204,
  kEndEdit = 105,
  kCloseDateEdit = 106
};
enum {
  kKeyNumberField = 1,
  kLastCloseDateField = 5,
  kLastBalanceDateField = 6,
  kLastBeginField = 7,
  kLastEndField = 8
};
constexpr UINT kMoneyLimit = 14;
constexpr UINT kDateLimit = 12;
constexpr int kFixedBeginChars = 20;

std::string ShortDate(LONG date) {
  char text[kDateTextSize] = "";
  FormatShortDate(text, date, sizeof text);
  return text;
}
}  // namespace

LONG NextPeriodCloseDate(LONG lastClose) {
  int month = 0, day = 0, year = 0;
  DecodeDate(lastClose, month, day, year);
  if (++month > 12) {
    month = 1;
    ++year;
  }
  LONG next = kBlankDate;
  EncodeDate(next, month, DaysInMonth(month, year), year);
  return next;
}

DEFINE_RESPONSE_TABLE1(TReconcileReportInfo, TDialog)
EV_CBN_SELCHANGE(kAccountList, EvAccountChanged), EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;

TReconcileReportInfo::TReconcileReportInfo(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module), LastCloseDate(kBlankDate), LastBalanceDate(kBlankDate) {
  Accounts = new TComboBox(this, kAccountList);
  BeginBalance = new TWWMoney(this, kBeginEdit, kMoneyLimit);
  FixedBeginBalance = new TStatic(this, kBeginStatic, kMoneyLimit);
  FixedBeginBalance->DisableTransfer();
  EndBalance = new TWWMoney(this, kEndEdit, kMoneyLimit);
  CloseDate = new TWWDate(this, kCloseDateEdit, kDateLimit);
  SetTransferBuffer(&gReconcileXfer);
  // Every run starts on the first account, whatever was chosen before.
  gReconcileXfer.Accounts.Select(0);
  gReconcileXfer.BeginBalance = 0;
  gReconcileXfer.EndBalance = 0;
  gReconcileXfer.CloseDate = kBlankDate;
}

TReconcileReportInfo::~TReconcileReportInfo() = default;

void TReconcileReportInfo::SetupWindow() { TDialog::SetupWindow(); }

// The base transfers gReconcileXfer into the controls here, so the account is chosen only now.
bool TReconcileReportInfo::EvInitDialog(HWND focus) {
  const bool result = TDialog::EvInitDialog(focus);
  LoadBankRecord();
  return result;
}

void TReconcileReportInfo::EvAccountChanged() { LoadBankRecord(); }

void TReconcileReportInfo::LoadBankRecord() {
  BankKey = static_cast<SHORT>(Accounts->GetSelIndex());
  if (gBankRecord == nullptr) return;
  TPXRecord& bank = *gBankRecord;
  bank.Clear();
  bank.SetShort(kKeyNumberField, BankKey);
  if (!bank.Seek(0, ENGINE_KEY_EQ) || !bank.Read(0)) return;  // the edits keep what they show
  bank.GetLong(kLastCloseDateField, LastCloseDate);
  bank.GetLong(kLastBalanceDateField, LastBalanceDate);
  bank.GetDouble(kLastBeginField, LastBeginBalance);
  bank.GetDouble(kLastEndField, LastEndBalance);

  double begin = LastBeginBalance, end = LastEndBalance;
  LONG close = LastCloseDate;
  if (LastCloseDate != kBlankDate && LastCloseDate == LastBalanceDate) {
    begin = LastEndBalance;  // the last period was closed: a new one starts where it ended
    end = 0;
    close = NextPeriodCloseDate(LastCloseDate);
  }
  BeginBalance->Transfer(&begin, tdSetData);
  EndBalance->Transfer(&end, tdSetData);
  CloseDate->Transfer(&close, tdSetData);

  if (LastCloseDate == kBlankDate) {
    FixedBeginBalance->Show(SW_HIDE);
    BeginBalance->Show(SW_SHOW);
    return;
  }
  char text[kFixedBeginChars + 1] = "";
  BeginBalance->GetWindowText(text, sizeof text);
  FixedBeginBalance->SetText(text);
  BeginBalance->Show(SW_HIDE);
  FixedBeginBalance->Show(SW_SHOW);
}

void TReconcileReportInfo::RefuseCloseDate(const std::string& text) {
  ShowReconcileBox(HWindow, text, MB_OK | MB_ICONEXCLAMATION);
  CloseDate->SetFocus();
}

bool TReconcileReportInfo::ConfirmOpenPeriod() {
  const std::string open = ShortDate(LastCloseDate);
  ShowReconcileBox(HWindow, ReconcileText(kOpenPeriodText, open.c_str()),
                   MB_OK | MB_ICONEXCLAMATION);
  if (ShowReconcileBox(HWindow, ReconcileText(kCompletePeriodQuestion, open.c_str()), MB_YESNO) ==
      IDYES) {
    ShowReconcileBox(HWindow, ReconcileText(kPeriodResetText, open.c_str()),
                     MB_OK | MB_ICONINFORMATION);
    LONG reset = LastCloseDate;
    CloseDate->Transfer(&reset, tdSetData);
    return true;
  }
  return ShowReconcileBox(HWindow, ReconcileText(kProceedAnywayQuestion, open.c_str()),
                          MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) == IDYES;
}

void TReconcileReportInfo::CmOk() {
  if (!CloseDate->CanClose()) return;  // a date that does not parse has been refused
  LONG entered = kBlankDate;
  CloseDate->Transfer(&entered, tdGetData);
  // A blank date would make every report query fail; an earlier one would take Balanced
  // entries out of the book side for good.
  if (entered == kBlankDate) {
    RefuseCloseDate(ReconcileText(kEnterCloseDateText));
    return;
  }
  if (LastBalanceDate != kBlankDate && entered <= LastBalanceDate) {
    RefuseCloseDate(ReconcileText(kCloseDateTooEarlyText, ShortDate(LastBalanceDate).c_str()));
    return;
  }
  if (LastCloseDate != LastBalanceDate && entered != LastCloseDate && !ConfirmOpenPeriod()) return;
  TDialog::CmOk();
}
