/*
** TCheckRegister: the checks written on one bank account, Printed or later, within the
** chosen range of files, dates or check numbers, in the order of that range's index.
*/
#ifndef ZARNE_ACCOUNTING_CHECK_REGISTER_H
#define ZARNE_ACCOUNTING_CHECK_REGISTER_H

#include "accounting/account_walk_report.h"

class TCheckRegister : public TAccountWalkReport {
 public:
  explicit TCheckRegister(const char* title);

 protected:
  void Rewind() override {}
  bool Position() override;
  bool EndsAt(const TAccountItem& item) const override;
  bool Admit(const TAccountItem& item) override;
  void RangeLine(char* buffer, size_t size) override;
  void DrawColumnHeadings(TDC& dc, int y) override;
  void DrawRow(TDC& dc, unsigned index, int y, int lineHeight) override;
};

#endif
