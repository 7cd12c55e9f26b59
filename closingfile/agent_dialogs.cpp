/*
** The lender and settlement agent dialogs: each control made in the order of its transfer
** record, with the record's array size as its text limit.
*/
#include "closingfile/agent_dialogs.h"

#include "closingfile/closing_file_xfer.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"

namespace {
/* The lender dialog's edits (its Assigns box is kAssignsComboId). */
enum {
  kLenderName = 101,
  kLenderSuffix = 102,
  kLenderSignature1 = 103,
  kLenderSignature1Title = 104,
  kLenderSignature2 = 105,
  kLenderSignature2Title = 106,
  kLenderStreet = 107,
  kLenderCity = 108,
  kLenderState = 109,
  kLenderZip = 110,
  kLenderEstate = 193
};
/* The settlement agent dialog's edits. */
enum {
  kAgentName = 101,
  kAgentStreet = 107,
  kAgentCity = 108,
  kAgentState = 109,
  kAgentZip = 110,
  kAgentTaxId = 118,
  kAgentFirm = 200
};
}  // namespace

TLender::TLender(TWindow* parent, TResId resId, TModule* module) : TDialog(parent, resId, module) {
  TLenderXfer& x = gLenderXfer;
  // The Assigns box takes any length; the command cuts what it stores.
  new TComboBox(this, kAssignsComboId, 0);
  new TEdit(this, kLenderCity, sizeof x.city);
  new TEdit(this, kLenderEstate, sizeof x.estate);
  new TEdit(this, kLenderName, sizeof x.name);
  new TEdit(this, kLenderSignature1, sizeof x.sig1);
  new TEdit(this, kLenderSignature1Title, sizeof x.sig1Title);
  new TEdit(this, kLenderSignature2, sizeof x.sig2);
  new TEdit(this, kLenderSignature2Title, sizeof x.sig2Title);
  new TEdit(this, kLenderState, sizeof x.state);
  new TEdit(this, kLenderStreet, sizeof x.street);
  new TEdit(this, kLenderSuffix, sizeof x.suffix);
  new TEdit(this, kLenderZip, sizeof x.zip);
  SetTransferBuffer(&gLenderXfer);
}

TSagent::TSagent(TWindow* parent, TResId resId, TModule* module) : TDialog(parent, resId, module) {
  TSagentXfer& x = gSagentXfer;
  new TEdit(this, kAgentName, sizeof x.name);
  new TEdit(this, kAgentFirm, sizeof x.firm);
  new TEdit(this, kAgentStreet, sizeof x.street);
  new TEdit(this, kAgentCity, sizeof x.city);
  new TEdit(this, kAgentState, sizeof x.state);
  new TEdit(this, kAgentZip, sizeof x.zip);
  new TEdit(this, kAgentTaxId, sizeof x.taxId);
  SetTransferBuffer(&gSagentXfer);
}
