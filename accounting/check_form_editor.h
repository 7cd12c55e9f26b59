/*
** The check-form layout editor: TCheckForm, a mock-up of a check whose eleven buttons open
** the position dialog of their item (TPosXY for a point, TPosXYWH for a box, positions in
** thousandths of an inch); Test prints a sample check with the layout being edited, OK makes
** it the program-wide layout and writes chkform.dat, Cancel drops the changes.
*/
#ifndef ZARNE_ACCOUNTING_CHECK_FORM_EDITOR_H
#define ZARNE_ACCOUNTING_CHECK_FORM_EDITOR_H

#include "platform/framework/dialog.h"
#include "tableaccess/check_form_settings.h"

#include <cstdint>

class TWWInteger;

constexpr int kCheckFormTemplate = 20002;
constexpr int kPosXYTemplate = 20003;
constexpr int kPosXYWHTemplate = 20004;
constexpr char kPositionOutOfRange[] = "A position must lie between -32768 and 32767.";

/* The position dialogs' values in the order they make their edits. */
struct TPosXYXfer {
  int32_t MainX, MainY, CopyX, CopyY;
};
struct TPosXYWHXfer {
  int32_t MainX, MainY, MainWidth, MainHeight, CopyX, CopyY, CopyWidth, CopyHeight;
};
// Owner: accounting.
extern TPosXYXfer gPosXYXfer;
extern TPosXYWHXfer gPosXYWHXfer;

/* What both position dialogs share: integer edits, and an OK that refuses a value a layout
   cannot hold instead of keeping its low 16 bits. */
class TPositionDialog : public TDialog {
 public:
  TPositionDialog(TWindow* parent, TResId resId, TModule* module);
  void CmOk() override;

 protected:
  void AddField(int id);

 private:
  static constexpr int kMaxFields = 8;
  TWWInteger* Fields[kMaxFields] = {};
  int FieldCount = 0;
};

class TPosXY : public TPositionDialog {
 public:
  TPosXY(TWindow* parent, TResId resId = kPosXYTemplate, TModule* module = nullptr);
  ~TPosXY() override;
};

class TPosXYWH : public TPositionDialog {
 public:
  TPosXYWH(TWindow* parent, TResId resId = kPosXYWHTemplate, TModule* module = nullptr);
  ~TPosXYWH() override;
};

class TCheckForm : public TDialog {
 public:
  TCheckForm(TWindow* parent, TResId resId = kCheckFormTemplate, TModule* module = nullptr);
  ~TCheckForm() override;

  /* One handler for the eleven item buttons: the button's id names the item. */
  void CmItem(UINT id);
  void CmTest();
  void CmOk() override;

  /* The layout being edited; gCheckFormLayout changes only on OK. */
  short Layout[kCheckFormValueCount];

 private:
  DECLARE_RESPONSE_TABLE(TCheckForm);
};

/* The Options menu's Check Form command: the editor over the parent, run modally. */
void RunCheckForm(TWindow* parent);

#endif
