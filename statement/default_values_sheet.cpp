/*
** The default values sheet's four pages and their keys.
*/
#include "statement/default_values_sheet.h"

#include "platform/framework/module.h"
#include "platform/kernel/profile.h"
#include "platform/user/button_control.h"
#include "platform/user/combobox_control.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/message_box.h"
#include "platform/user/message_queue.h"
#include "platform/user/winuser.h"
#include "tableaccess/typed_edits.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* kSection = "DefaultValues";
constexpr const char* kIniFile = "zarne.ini";
constexpr int kZarneMessage = 1023;
constexpr int kRecordingChoiceSize = 4;  // the selected text, up to 3 characters

using Key = TDefValEditPage::Key;

constexpr Key kAgentKeys[] = {{101, "SANAME", 35, false},   {200, "SACOMPANY", 35, false},
                              {107, "SASTREET", 35, false}, {108, "SACITY", 17, false},
                              {109, "SASTATE", 2, false},   {110, "SAZIP", 10, false},
                              {118, "SATAXID", 14, false}};
constexpr Key kPropertyKeys[] = {{301, "PTAXYEAR", 4, true}, {201, "PCOUNTY", 17, false}};
constexpr Key kDayKeys[] = {{101, "PA106DAYS", 3, true}, {102, "PA107DAYS", 3, true},
                            {103, "PA108DAYS", 3, true}, {104, "PA210DAYS", 3, true},
                            {105, "PA211DAYS", 3, true}, {106, "PA212DAYS", 3, true}};

struct RecordingKey {
  int controlId;
  const char* key;
};
constexpr RecordingKey kRecordingKeys[] = {{101, "P1201D"}, {102, "P1201M"}, {103, "P1201R"},
                                           {104, "P1202D"}, {105, "P1202M"}, {106, "P1203D"},
                                           {107, "P1203M"}};
constexpr const char* kPaidBy[] = {"B", "S", "/"};

std::string ReadKey(const char* key, unsigned size) {
  std::string value(size + 1, '\0');
  GetPrivateProfileString(kSection, key, "", value.data(), size + 1, kIniFile);
  value.resize(std::strlen(value.c_str()));
  return value;
}

std::string ControlText(HWND page, int id, unsigned size) {
  std::string text(size + 1, '\0');
  GetDlgItemText(page, id, text.data(), static_cast<int>(size + 1));
  text.resize(std::strlen(text.c_str()));
  return text;
}

}  // namespace

TDefValEditPage::TDefValEditPage(TPropertySheet* sheet, int templateId, const Key* keys, int count,
                                 unsigned readSize)
    : TPropertyPage(sheet, templateId), keys_(keys), count_(count), readSize_(readSize) {
  for (int i = 0; i < count_; ++i) {
    const Key& key = keys_[i];
    if (key.integer) new TWWInteger(this, key.controlId, key.length + 1);
    else new TEdit(this, key.controlId, key.length + 1);
  }
}

void TDefValEditPage::SetupWindow() {
  TPropertyPage::SetupWindow();
  for (int i = 0; i < count_; ++i)
    SetDlgItemText(HWindow, keys_[i].controlId, ReadKey(keys_[i].key, readSize_).c_str());
}

int TDefValEditPage::Apply(TNotify&) {
  for (int i = 0; i < count_; ++i)
    WritePrivateProfileString(kSection, keys_[i].key,
                              ControlText(HWindow, keys_[i].controlId, readSize_).c_str(),
                              kIniFile);
  return PSNRET_NOERROR;
}

TDefValSAgent::TDefValSAgent(TPropertySheet* sheet)
    : TDefValEditPage(sheet, IDD_DEFVAL_SAGENT, kAgentKeys, 7, 99) {}

TDefValProperty::TDefValProperty(TPropertySheet* sheet)
    : TDefValEditPage(sheet, IDD_DEFVAL_PROPERTY, kPropertyKeys, 2, 19) {}

TDefValProrations::TDefValProrations(TPropertySheet* sheet)
    : TDefValEditPage(sheet, IDD_DEFVAL_PRORATIONS, kDayKeys, 6, 5) {}

/* A count of 0 would prorate every such line of a new file to nothing. */
bool TDefValProrations::DayCountsValid() {
  for (const Key& key : kDayKeys) {
    std::string text = ControlText(HWindow, key.controlId, readSize_);
    if (!text.empty() && std::atoi(text.c_str()) > 0) continue;
    std::string caption = GetModule()->LoadString(kZarneMessage);
    std::string message = GetModule()->LoadString(IDS_DAY_COUNT_RANGE);
    MessageBox(HWindow, message.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(GetDlgItem(key.controlId));
    return false;
  }
  return true;
}

TDefValRecFees::TDefValRecFees(TPropertySheet* sheet)
    : TPropertyPage(sheet, IDD_DEFVAL_RECORDING) {}

/* A missing key shows "B", what a new file gets for it; any other value than "B" or "S"
   shows "/". */
void TDefValRecFees::SetupWindow() {
  TPropertyPage::SetupWindow();
  for (const RecordingKey& entry : kRecordingKeys) {
    for (const char* choice : kPaidBy)
      ::SendDlgItemMessage(HWindow, entry.controlId, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(choice));
    char value[kRecordingChoiceSize] = "";
    GetPrivateProfileString(kSection, entry.key, "B", value, sizeof value, kIniFile);
    int selected = std::strcmp(value, "B") == 0 ? 0 : std::strcmp(value, "S") == 0 ? 1 : 2;
    ::SendDlgItemMessage(HWindow, entry.controlId, CB_SETCURSEL, selected, 0);
  }
}

int TDefValRecFees::Apply(TNotify&) {
  for (const RecordingKey& entry : kRecordingKeys) {
    char value[kRecordingChoiceSize] = "";
    GetDlgItemText(HWindow, entry.controlId, value, sizeof value);
    WritePrivateProfileString(kSection, entry.key, value, kIniFile);
  }
  return PSNRET_NOERROR;
}

TDefValSheet::TDefValSheet(TWindow* parent)
    : TPropertySheet(parent, "Default Values", 0, false, PSH_NOAPPLYNOW) {
  new TDefValSAgent(this);
  new TDefValRecFees(this);
  prorations_ = new TDefValProrations(this);
  new TDefValProperty(this);
}

LRESULT TDefValSheet::EvCommand(UINT id, HWND hWndCtl, UINT notifyCode) {
  if (id == IDOK && prorations_->HWindow && !prorations_->DayCountsValid()) {
    for (int i = 0; i < GetPageCount(); ++i)
      if (GetPage(i) == prorations_) SelectPage(i);
    return 0;
  }
  return TPropertySheet::EvCommand(id, hWndCtl, notifyCode);
}
