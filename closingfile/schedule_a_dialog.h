/*
** The Schedule A dialog: the commitment, the owner's policy and the loan policy over
** gScheduleAXfer; it touches no record itself.
*/
#ifndef ZARNE_CLOSINGFILE_SCHEDULE_A_DIALOG_H
#define ZARNE_CLOSINGFILE_SCHEDULE_A_DIALOG_H

#include "platform/framework/dialog.h"

constexpr int kScheduleATemplate = 20600;

class TScheduleA : public TDialog {
 public:
  TScheduleA(TWindow* parent, TResId resId = kScheduleATemplate, TModule* module = nullptr);
};

#endif
