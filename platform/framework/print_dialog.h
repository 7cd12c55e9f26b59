/*
** The common dialogs as dialog objects: TCommonDialog is their base; TPrintDialog runs the
** print or print-setup dialog on a print data record (TPrintDialog::TData) and leaves the
** choice in it.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_PRINT_DIALOG_H
#define ZARNE_PLATFORM_FRAMEWORK_PRINT_DIALOG_H

#include "platform/framework/dialog.h"
#include "platform/framework/print_data.h"

class TCommonDialog : public TDialog {
 public:
  TCommonDialog(TWindow* parent, const char* title = nullptr, TModule* module = nullptr);
  /* Common dialogs are modal only: Create makes nothing. */
  bool Create() override { return false; }
};

class TPrintDialog : public TCommonDialog {
 public:
  typedef TPrintDialogData TData;
  TPrintDialog(TWindow* parent, TData& data, const char* printTemplateName = nullptr,
               const char* setupTemplateName = nullptr, const char* title = nullptr,
               TModule* module = nullptr);
  /* The print dialog, or the print-setup dialog when the data's flags hold PD_PRINTSETUP;
     with PD_RETURNDEFAULT the default printer without a dialog. IDOK with the choice in the
     data, IDCANCEL when cancelled or failed (the data's Error then holds the reason). */
  int Execute() override;
  TData& GetData() { return Data; }

 protected:
  TData& Data;
};

#endif
