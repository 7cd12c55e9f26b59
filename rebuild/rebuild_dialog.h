/*
** TRebuild: the Rebuild dialog, in which the user picks one of the seventeen tables.
*/
#ifndef ZARNE_REBUILD_REBUILD_DIALOG_H
#define ZARNE_REBUILD_REBUILD_DIALOG_H

#include "platform/framework/dialog.h"

class TRebuild : public TDialog {
 public:
  TRebuild(TWindow* parent, TResId resId, TModule* module = nullptr);
  void SetupWindow() override;
  void CmOk() override;
  /* The chosen table name after OK; "" when nothing was selected. */
  const char* ChosenName() const { return name_; }

 private:
  char name_[16] = {};

  DECLARE_RESPONSE_TABLE(TRebuild);
};

#endif
