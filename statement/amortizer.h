/*
** TAmortizer: the "Amortizer - Regular Monthly Payments" dialog (template 21002), a loan's
** level monthly payment from its principal, rate and amortizing term, and the printing of
** its schedule after TAmortReportInfo (template 21006) asked for the parties and the
** origination date.
*/
#ifndef ZARNE_STATEMENT_AMORTIZER_H
#define ZARNE_STATEMENT_AMORTIZER_H

#include "platform/framework/dialog.h"

#define IDD_AMORTIZER         21002
#define IDD_AMORT_REPORT_INFO 21006
#define IDC_AMORT_PRINCIPAL   101
#define IDC_AMORT_RATE        102
#define IDC_AMORT_TERM        103
#define IDC_AMORT_MATURITY    104
#define IDC_AMORT_PAYMENT     105
#define IDC_AMORT_PRINT       236
#define IDC_AMORT_BORROWER    896
#define IDC_AMORT_LENDER      762
#define IDC_AMORT_ORIGINATION 601

constexpr UINT kOriginationDateMissingText = 1191;

class TEdit;
class TWWDate;
class TWWFloat;
class TWWInteger;
class TWWMoney;

#pragma pack(push, 1)
struct TAmortReportInfoXfer {
  char borrower[255];
  char lender[255];
  LONG originationDate;
};
#pragma pack(pop)

class TAmortReportInfo : public TDialog {
 public:
  TAmortReportInfo(TWindow* parent, TResId resId = IDD_AMORT_REPORT_INFO,
                   TModule* module = nullptr);
  /* A schedule needs its origination date: without one OK says so and the dialog stays. */
  void CmOk() override;

 private:
  TWWDate* origination_;
};

class TAmortizer : public TDialog {
 public:
  TAmortizer(TWindow* parent, TResId resId = IDD_AMORTIZER, TModule* module = nullptr);
  void SetupWindow() override;

 protected:
  void EvLoanChange();
  void EvPaymentChange();
  void CmPrint();

 private:
  TWWMoney* principal_;
  TWWFloat* rate_;
  TWWInteger* term_;
  TWWInteger* maturity_;
  TWWMoney* payment_;
  // The loan the payment was last worked out for.
  bool hasLoan_ = false;
  double loanPrincipal_ = 0;
  double loanRate_ = 0;
  long loanTerm_ = 0;

  DECLARE_RESPONSE_TABLE(TAmortizer);
};

/* The Tools|Amortization command: the amortizer, run modally over the given parent. */
void RunAmortizer(TWindow* parent);

#endif
