/*
** The tracking dialog: dates and reference by transfer, descriptions by the settings file.
*/
#include "closingfile/tracking_dialog.h"

#include "closingfile/closing_file_xfer.h"
#include "platform/framework/edit.h"
#include "platform/user/window_styles.h"
#include "platform/kernel/profile.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/system_boxes.h"
#include "tableaccess/typed_edits.h"
#include "tableaccess/value_forms.h"

#include <cstdio>

namespace {
constexpr const char* kSection = "Tracking";
constexpr UINT kDateLimit = 12;
constexpr UINT kDescriptionLimit = 22;
/* Descriptions travel through 24 bytes, so 23 characters survive setup and save whole. */
constexpr int kDescriptionSize = 24;
constexpr UINT kZarneMessageCaption = 1023;

/* A row's controls are numbered by its place on the form: its label 200 + place, its
   description (shown in setup) 400 + place, its value 300 + place. */
constexpr int kLabelIds = 200, kDescriptionIds = 400, kValueIds = 300;
/* The fixed rows: File Open's date and Closing's text (the statement's closing date). */
constexpr int kFileOpenPlace = 1, kClosingPlace = 5;

struct RowIds {
  int label, description, value;
  const char* key;
};
constexpr RowIds RowAt(int place, const char* key) {
  return {kLabelIds + place, kDescriptionIds + place, kValueIds + place, key};
}
constexpr RowIds kRows[kTrackingRowCount] = {
    RowAt(2, "TrackDesc2"), RowAt(3, "TrackDesc3"), RowAt(4, "TrackDesc4"),
    RowAt(6, "TrackDesc6"), RowAt(7, "TrackDesc7"), RowAt(10, "TrackDescRef1"),
};
/* Rows 0 to 2 stand above Closing; rows 0 to 4 hold dates, the last the reference text. */
constexpr int kRowsBeforeClosing = 3;
constexpr int kDateRows = 5;
constexpr int kReferenceRow = 5;
}  // namespace

void TrackingSettingsPath(char* path, size_t size) {
  BuildPath(path, gDatabaseDir, "zarnesys.ini", nullptr, size);
}

DEFINE_RESPONSE_TABLE1(TTracking, TDialog)
EV_COMMAND(kTrackingSetupButtonId, CmSetupSave), EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;

TTracking::TTracking(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  // The transfer's controls first, in the block's order.
  fileOpen_ = new TWWDate(this, kValueIds + kFileOpenPlace, kDateLimit);
  TWindow* values[kTrackingRowCount];
  for (int i = 0; i < kRowsBeforeClosing; ++i)
    values[i] = new TWWDate(this, kRows[i].value, kDateLimit);
  closing_ = new TStatic(this, kValueIds + kClosingPlace, sizeof TTrackingXfer::closing);
  closing_->EnableTransfer();
  for (int i = kRowsBeforeClosing; i < kDateRows; ++i)
    values[i] = new TWWDate(this, kRows[i].value, kDateLimit);
  values[kReferenceRow] =
      new TEdit(this, kRows[kReferenceRow].value, sizeof TTrackingXfer::reference);
  for (int i = 0; i < kTrackingRowCount; ++i) {
    rows_[i].label = new TStatic(this, kRows[i].label, kDescriptionLimit);
    rows_[i].description = new TEdit(this, kRows[i].description, kDescriptionLimit);
    rows_[i].description->DisableTransfer();
    rows_[i].value = values[i];
    rows_[i].key = kRows[i].key;
  }
  setup_ = new TButton(this, kTrackingSetupButtonId);
}

void TTracking::SetupWindow() {
  TDialog::SetupWindow();
  char path[MAX_PATH];
  TrackingSettingsPath(path, sizeof path);
  for (Row& row : rows_) {
    char text[kDescriptionSize] = "";
    GetPrivateProfileString(kSection, row.key, "", text, sizeof text, path);
    row.label->SetText(text);
    // A row without a description shows nothing at all.
    if (!text[0]) {
      row.label->Show(SW_HIDE);
      row.value->Show(SW_HIDE);
    }
  }
}

void TTracking::CmSetupSave() {
  if (setupMode_) LeaveSetup();
  else EnterSetup();
}

void TTracking::EnterSetup() {
  fileOpen_->Show(SW_HIDE);
  for (int i = 0; i < kTrackingRowCount; ++i) {
    Row& row = rows_[i];
    char text[kDescriptionSize] = "";
    row.label->GetText(text, sizeof text);
    row.description->SetText(text);
    row.label->Show(SW_HIDE);
    row.description->Show(SW_SHOW);
    row.value->Show(SW_HIDE);
    if (i == kRowsBeforeClosing - 1) closing_->Show(SW_HIDE);
  }
  setup_->SetWindowText("&Save");
  setupMode_ = true;
}

void TTracking::LeaveSetup() {
  WriteDescriptions();
  fileOpen_->Show(SW_SHOW);
  for (int i = 0; i < kTrackingRowCount; ++i) {
    Row& row = rows_[i];
    char text[kDescriptionSize] = "";
    row.description->GetText(text, sizeof text);
    row.label->SetText(text);
    row.description->Show(SW_HIDE);
    row.label->Show(text[0] ? SW_SHOW : SW_HIDE);
    row.value->Show(text[0] ? SW_SHOW : SW_HIDE);
    if (i == kRowsBeforeClosing - 1) closing_->Show(SW_SHOW);
  }
  setup_->SetWindowText("Setup");
  setupMode_ = false;
}

/* OK in setup mode writes all six keys, exactly as Save would. */
void TTracking::CmOk() {
  if (setupMode_) WriteDescriptions();
  TDialog::CmOk();
}

void TTracking::WriteDescriptions() {
  char path[MAX_PATH];
  TrackingSettingsPath(path, sizeof path);
  bool failed = false;
  for (Row& row : rows_) {
    char text[kDescriptionSize] = "";
    row.description->GetText(text, sizeof text);
    if (!WritePrivateProfileString(kSection, row.key, text, path)) failed = true;
  }
  if (!failed) return;
  char message[MAX_PATH + 64];
  std::snprintf(message, sizeof message, "The tracking descriptions could not be written to %s.",
                path);
  MessageBox(GetHandle(), message, ResourceString(kZarneMessageCaption).text, MB_ICONSTOP | MB_OK);
}
