/*
** The amortizer dialog: the payment follows the principal, rate and term as they are
** typed; "&Print" asks for the parties and prints the schedule on the report printer.
*/
#include "statement/amortizer.h"

#include "platform/user/message_box.h"
#include "platform/user/winuser.h"
#include "statement/amortization_report.h"
#include "statement/recalc_rules.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/system_boxes.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

/* A box's text without its thousands commas. */
std::string PlainText(const TEdit& box) {
  std::string text = box.GetText();
  std::string plain(text.size() + 1, '\0');
  StripCommas(text.c_str(), plain.data(), plain.size());
  plain.resize(std::strlen(plain.c_str()));
  return plain;
}

double NumberOf(const TEdit& box) { return std::strtod(PlainText(box).c_str(), nullptr); }
long WholeOf(const TEdit& box) { return std::strtol(PlainText(box).c_str(), nullptr, 10); }

}  // namespace

/* ---- The questions before printing ---- */

TAmortReportInfo::TAmortReportInfo(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  new TEdit(this, IDC_AMORT_BORROWER, 255);
  new TEdit(this, IDC_AMORT_LENDER, 255);
  origination_ = new TWWDate(this, IDC_AMORT_ORIGINATION, 11);
}

void TAmortReportInfo::CmOk() {
  LONG date = kBlankDate;
  origination_->Transfer(&date, tdGetData);
  if (date == kBlankDate) {
    MessageBox(GetHandle(), ResourceString(kOriginationDateMissingText).text,
               ResourceString(kZarneMessageCaption).text, MB_ICONEXCLAMATION | MB_OK);
    origination_->SetFocus();
    return;
  }
  TDialog::CmOk();
}

/* ---- The amortizer ---- */

TAmortizer::TAmortizer(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  principal_ = new TWWMoney(this, IDC_AMORT_PRINCIPAL, 14);
  rate_ = new TWWFloat(this, IDC_AMORT_RATE, 8);
  term_ = new TWWInteger(this, IDC_AMORT_TERM, 4);
  maturity_ = new TWWInteger(this, IDC_AMORT_MATURITY, 4);
  payment_ = new TWWMoney(this, IDC_AMORT_PAYMENT, 14);
}

void TAmortizer::SetupWindow() {
  TDialog::SetupWindow();
  ::EnableWindow(GetDlgItem(IDC_AMORT_PRINT), FALSE);
}

void TAmortizer::EvLoanChange() {
  double principal = NumberOf(*principal_);
  double rate = NumberOf(*rate_);
  long term = WholeOf(*term_);
  // A box tidying its text (commas added or taken off as the focus moves) changes no value
  // and must not overwrite a payment the user typed.
  if (hasLoan_ && principal == loanPrincipal_ && rate == loanRate_ && term == loanTerm_) return;
  hasLoan_ = true;
  loanPrincipal_ = principal;
  loanRate_ = rate;
  loanTerm_ = term;
  if (principal <= 0 || rate <= 0 || term < 1) {
    payment_->SetText("");
    return;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.2lf",
                LoanPayment(principal, rate, 12, static_cast<int>(term)));
  payment_->SetText(text);
}

void TAmortizer::EvPaymentChange() {
  ::EnableWindow(GetDlgItem(IDC_AMORT_PRINT), !payment_->GetText().empty());
}

void TAmortizer::CmPrint() {
  TAmortReportInfoXfer info{};
  info.originationDate = kBlankDate;
  TAmortReportInfo ask(this);
  ask.SetTransferBuffer(&info);
  if (ask.Execute() != IDOK) return;

  AmortizationLoan loan;
  loan.borrower.assign(info.borrower, strnlen(info.borrower, sizeof info.borrower));
  loan.lender.assign(info.lender, strnlen(info.lender, sizeof info.lender));
  if (loan.borrower.size() > 80) loan.borrower.resize(80);
  if (loan.lender.size() > 80) loan.lender.resize(80);
  loan.principal = NumberOf(*principal_);
  loan.yearlyRatePercent = NumberOf(*rate_);
  long maturity = WholeOf(*maturity_);
  loan.maturity = static_cast<int32_t>(maturity != 0 ? maturity : WholeOf(*term_));
  DecimalStatus status;
  if (!ScriptDecimal::ParseText(PlainText(*payment_).c_str(), 2, &loan.payment, &status))
    loan.payment = ScriptDecimal{};
  DecodeDate(info.originationDate, loan.originMonth, loan.originDay, loan.originYear);

  TPrinter printer;
  printer.GetSetup() = gReportPrintData;
  TAmortReport report("Amortization Schedule", loan);
  printer.Print(this, report, false);
  CloseWindow(IDOK);
}

DEFINE_RESPONSE_TABLE1(TAmortizer, TDialog)
EV_EN_CHANGE(IDC_AMORT_PRINCIPAL, EvLoanChange), EV_EN_CHANGE(IDC_AMORT_RATE, EvLoanChange),
    EV_EN_CHANGE(IDC_AMORT_TERM, EvLoanChange), EV_EN_CHANGE(IDC_AMORT_PAYMENT, EvPaymentChange),
    EV_COMMAND(IDC_AMORT_PRINT, CmPrint), END_RESPONSE_TABLE;

void RunAmortizer(TWindow* parent) {
  TAmortizer amortizer(parent);
  amortizer.Execute();
}
