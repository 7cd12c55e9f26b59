/*
** The lender and settlement agent dialogs: controls over gLenderXfer and gSagentXfer, moved
** by the framework's transfer; they touch no record themselves.
*/
#ifndef ZARNE_CLOSINGFILE_AGENT_DIALOGS_H
#define ZARNE_CLOSINGFILE_AGENT_DIALOGS_H

#include "platform/framework/dialog.h"

constexpr int kLenderTemplate = 20300;
constexpr int kSagentTemplate = 20400;
constexpr int kAssignsComboId = 198;

class TLender : public TDialog {
 public:
  TLender(TWindow* parent, TResId resId = kLenderTemplate, TModule* module = nullptr);
};

class TSagent : public TDialog {
 public:
  TSagent(TWindow* parent, TResId resId = kSagentTemplate, TModule* module = nullptr);
};

#endif
