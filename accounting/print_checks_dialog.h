/*
** TPrintChecks: confirms the first check number and the check date of a check run, over the
** program-wide gPrintChecksXfer. OK needs a number of 1 or more and a date.
*/
#ifndef ZARNE_ACCOUNTING_PRINT_CHECKS_DIALOG_H
#define ZARNE_ACCOUNTING_PRINT_CHECKS_DIALOG_H

#include "platform/framework/dialog.h"

#include <cstdint>

class TWWDate;
class TWWInteger;

constexpr int kPrintChecksTemplate = 20905;
constexpr char kCheckNumberTooLow[] = "The check number must be 1 or more.";
constexpr char kCheckDateMissing[] = "Enter the check date.";

/* In the order the dialog makes its controls. */
struct TPrintChecksXfer {
  int32_t Number;  // edit 106
  int32_t Date;    // edit 105, a date number (blank kBlankDate)
};
// Owner: accounting.
extern TPrintChecksXfer gPrintChecksXfer;

class TPrintChecks : public TDialog {
 public:
  TPrintChecks(TWindow* parent, TResId resId = kPrintChecksTemplate, TModule* module = nullptr);
  ~TPrintChecks() override;
  void CmOk() override;

 private:
  TWWInteger* Number;
  TWWDate* Date;
};

#endif
