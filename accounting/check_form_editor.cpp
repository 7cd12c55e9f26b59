/*
** The check-form layout editor and its two position dialogs.
*/
#include "accounting/check_form_editor.h"

#include "accounting/check_printer.h"
#include "accounting/check_printout.h"
#include "accounting/ledger_refusals.h"
#include "accounting/ledger_rows.h"
#include "tableaccess/printer_settings.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

#include <cstring>
#include <iterator>

TPosXYXfer gPosXYXfer;
TPosXYWHXfer gPosXYWHXfer;

namespace {
// Five characters and the terminator: digits, a minus sign only in the first place.
constexpr UINT kPositionLimit = 6;
constexpr int kTestButton = 234;

struct TItemButton {
  UINT id;
  int firstValue;  // in the layout
  bool box;
};
constexpr TItemButton kItemButtons[] = {
    {101, 0, false}, {123, 4, false},  {106, 8, false}, {125, 12, false},
    {128, 16, true}, {122, 24, true},  {121, 32, true}, {126, 40, false},
    {127, 44, true}, {888, 52, false}, {103, 56, true},
};

const TItemButton* FindItemButton(UINT id) {
  for (const TItemButton& button : kItemButtons)
    if (button.id == id) return &button;
  return nullptr;
}

/* Runs the item's position dialog on `count` values of the layout; they change only on OK. */
template <class Dialog, class Xfer>
void EditPositions(TWindow* parent, Xfer& xfer, short* values) {
  constexpr int count = sizeof(Xfer) / sizeof(int32_t);
  int32_t widened[count];
  for (int i = 0; i < count; ++i) widened[i] = values[i];
  std::memcpy(&xfer, widened, sizeof xfer);
  Dialog dialog(parent);
  if (dialog.Execute() != IDOK) return;
  std::memcpy(widened, &xfer, sizeof xfer);
  // The dialog's OK let only values a layout holds through.
  for (int i = 0; i < count; ++i) values[i] = static_cast<short>(widened[i]);
}
}  // namespace

/* ---- Position dialogs ---- */

TPositionDialog::TPositionDialog(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {}

void TPositionDialog::AddField(int id) {
  if (FieldCount < kMaxFields) Fields[FieldCount++] = new TWWInteger(this, id, kPositionLimit);
}

void TPositionDialog::CmOk() {
  if (!CanClose()) return;
  for (int i = 0; i < FieldCount; ++i) {
    int32_t value = 0;
    Fields[i]->Transfer(&value, tdGetData);
    if (value < -32768 || value > 32767) {
      ShowLedgerMessage(HWindow, kPositionOutOfRange, MB_OK | MB_ICONEXCLAMATION);
      Fields[i]->SetFocus();
      return;
    }
  }
  TDialog::CmOk();
}

TPosXY::TPosXY(TWindow* parent, TResId resId, TModule* module)
    : TPositionDialog(parent, resId, module) {
  for (int id : {101, 102, 201, 202}) AddField(id);
  SetTransferBuffer(&gPosXYXfer);
}

TPosXY::~TPosXY() = default;

TPosXYWH::TPosXYWH(TWindow* parent, TResId resId, TModule* module)
    : TPositionDialog(parent, resId, module) {
  for (int id : {101, 102, 103, 104, 201, 202, 105, 106}) AddField(id);
  SetTransferBuffer(&gPosXYWHXfer);
}

TPosXYWH::~TPosXYWH() = default;

/* ---- Check form ---- */

DEFINE_RESPONSE_TABLE1(TCheckForm, TDialog)
EV_COMMAND_AND_ID(101, CmItem), EV_COMMAND_AND_ID(123, CmItem), EV_COMMAND_AND_ID(106, CmItem),
    EV_COMMAND_AND_ID(125, CmItem), EV_COMMAND_AND_ID(128, CmItem), EV_COMMAND_AND_ID(122, CmItem),
    EV_COMMAND_AND_ID(121, CmItem), EV_COMMAND_AND_ID(126, CmItem), EV_COMMAND_AND_ID(127, CmItem),
    EV_COMMAND_AND_ID(888, CmItem), EV_COMMAND_AND_ID(103, CmItem),
    EV_COMMAND(kTestButton, CmTest), END_RESPONSE_TABLE;

TCheckForm::TCheckForm(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  std::memcpy(Layout, gCheckFormLayout, sizeof Layout);
}

TCheckForm::~TCheckForm() = default;

void TCheckForm::CmItem(UINT id) {
  const TItemButton* button = FindItemButton(id);
  if (button == nullptr) return;
  if (button->box) EditPositions<TPosXYWH>(this, gPosXYWHXfer, Layout + button->firstValue);
  else EditPositions<TPosXY>(this, gPosXYXfer, Layout + button->firstValue);
}

void TCheckForm::CmTest() {
  if (!CheckFormHasPlacedItem(Layout)) {
    ShowLedgerMessage(HWindow, kCheckFormNotSetUp, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  gCheckPrintData.Flags = kCheckPrintDialogFlags;
  gCheckPrintData.FromPage = 1;
  gCheckPrintData.ToPage = 1;
  TCheckPrinter printer;

  TLedgerEntry sample;
  CopyLedgerText(sample.FileNum, sizeof sample.FileNum, "TestFileNum");
  CopyLedgerText(sample.Type, sizeof sample.Type, kCheckType);
  sample.Number = 9999;
  sample.Bank = 0;
  sample.Seq = 0.0;
  sample.Status = kStatusReady;
  EncodeDate(sample.Date, 12, 31, 1999);
  CopyLedgerText(sample.PayeeDepositor, sizeof sample.PayeeDepositor, "Paul Payee");
  CopyLedgerText(sample.Description, sizeof sample.Description, "Test Description");
  sample.Amount = 9999.99;
  TDisburseCheckRow row;
  RowFromEntry(sample, row);

  TCheckPrintout printout("Check", &row, "Bob Buyer", "Sally Seller", Layout);
  // The result is not looked at: the printer has reported a failure, the dialog stays open.
  printer.Print(this, printout, true);
}

void TCheckForm::CmOk() {
  char path[MAX_PATH];
  BuildPath(path, gCheckCtlDir, "chkform.dat", nullptr, sizeof path);
  std::memcpy(gCheckFormLayout, Layout, sizeof Layout);
  WriteCheckFormSettings(gCheckFormLayout, path);
  TDialog::CmOk();
}

void RunCheckForm(TWindow* parent) {
  TCheckForm dialog(parent);
  dialog.Execute();
}
