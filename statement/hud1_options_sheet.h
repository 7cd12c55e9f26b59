/*
** THUDOptSheet: the "HUD-1 Options" property sheet over the eight statement options, with
** its View page (how statement windows open) and Print page (how the statement prints). OK
** writes the keys of each page that was shown and puts them in force at once.
*/
#ifndef ZARNE_STATEMENT_HUD1_OPTIONS_SHEET_H
#define ZARNE_STATEMENT_HUD1_OPTIONS_SHEET_H

#include "platform/framework/property_sheet.h"

constexpr int IDD_HUD1_VIEW_PAGE = 20033;
constexpr int IDD_HUD1_PRINT_PAGE = 20034;

class THUDViewPage : public TPropertyPage {
 public:
  explicit THUDViewPage(TPropertySheet* sheet);
  void SetupWindow() override;
  int Apply(TNotify& notify) override;
};

class THUDPrintPage : public TPropertyPage {
 public:
  explicit THUDPrintPage(TPropertySheet* sheet);
  void SetupWindow() override;
  int Apply(TNotify& notify) override;
};

class THUDOptSheet : public TPropertySheet {
 public:
  explicit THUDOptSheet(TWindow* parent);
};

#endif
