/*
** The lender and settlement agent dialogs: each control made in the order of its transfer
** record, with the record's array size as its text limit.
*/
#include "closingfile/agent_dialogs.h"

#include "closingfile/closing_file_xfer.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"

TLender::TLender(TWindow* parent, TResId resId, TModule* module) : TDialog(parent, resId, module) {
  TLenderXfer& x = gLenderXfer;
  // The Assigns box takes any length; the command cuts what it stores.
  new TComboBox(this, kAssignsComboId, 0);
  new TEdit(this, 108, sizeof x.city);
  new TEdit(this, 193, sizeof x.estate);
  new TEdit(this, 101, sizeof x.name);
  new TEdit(this, 103, sizeof x.sig1);
  new TEdit(this, 104, sizeof x.sig1Title);
  new TEdit(this, 105, sizeof x.sig2);
  new TEdit(this, 106, sizeof x.sig2Title);
  new TEdit(this, 109, sizeof x.state);
  new TEdit(this, 107, sizeof x.street);
  new TEdit(this, 102, sizeof x.suffix);
  new TEdit(this, 110, sizeof x.zip);
  SetTransferBuffer(&gLenderXfer);
}

TSagent::TSagent(TWindow* parent, TResId resId, TModule* module) : TDialog(parent, resId, module) {
  TSagentXfer& x = gSagentXfer;
  new TEdit(this, 101, sizeof x.name);
  new TEdit(this, 200, sizeof x.firm);
  new TEdit(this, 107, sizeof x.street);
  new TEdit(this, 108, sizeof x.city);
  new TEdit(this, 109, sizeof x.state);
  new TEdit(this, 110, sizeof x.zip);
  new TEdit(this, 118, sizeof x.taxId);
  SetTransferBuffer(&gSagentXfer);
}
