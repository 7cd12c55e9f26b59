/*
** The tracking dialog: the file's tracking dates and reference over a TTrackingXfer, the
** closing date for reference, and the office's descriptions of its own dates, kept in
** zarnesys.ini of the database directory and edited in the dialog's setup mode.
*/
#ifndef ZARNE_CLOSINGFILE_TRACKING_DIALOG_H
#define ZARNE_CLOSINGFILE_TRACKING_DIALOG_H

#include "platform/framework/dialog.h"

class TButton;
class TEdit;
class TStatic;

constexpr int kTrackingTemplate = 20007;
constexpr int kTrackingSetupButtonId = 113;
constexpr int kTrackingRowCount = 6;

/* The settings file of the descriptions. */
void TrackingSettingsPath(char* path, size_t size);

class TTracking : public TDialog {
 public:
  TTracking(TWindow* parent, TResId resId = kTrackingTemplate, TModule* module = nullptr);
  void SetupWindow() override;
  void CmSetupSave();
  void CmOk() override;
  bool InSetupMode() const { return setupMode_; }

 private:
  /* One described row: its label, description edit, value control and key. */
  struct Row {
    TStatic* label;
    TEdit* description;
    TWindow* value;
    const char* key;
  };
  void EnterSetup();
  void LeaveSetup();
  /* Writes every row's edit text under its key; one box when any write fails. */
  void WriteDescriptions();

  TWindow* fileOpen_;
  TStatic* closing_;
  TButton* setup_;
  Row rows_[kTrackingRowCount];
  bool setupMode_ = false;

  DECLARE_RESPONSE_TABLE(TTracking);
};

#endif
