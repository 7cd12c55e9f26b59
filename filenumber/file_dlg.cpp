/*
** The file-number dialog: its list of numbers, the parties of the number shown, the lookup,
** and the checks of OK by mode.
*/
#include "filenumber/file_dlg.h"

#include "filenumber/file_number_ids.h"
#include "filenumber/find_file.h"
#include "filenumber/hourglass_cursor.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"
#include "platform/kernel/format.h"
#include "platform/kernel/string_calls.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr int kNumberEdit = 101;
constexpr int kNumberList = 102;
constexpr int kBuyerNames = 103;
constexpr int kSellerNames = 104;
constexpr int kFindResults = 189;
constexpr int kFindButton = 378;
constexpr int kNumberSize = 16;  // 15 characters and the terminator
constexpr int kPartyTextLimit = 255;
constexpr int kFindLabelLimit = 20;
constexpr int kNameSize = 63;  // names are read up to 62 characters
constexpr int kFileNumberField = 1;
constexpr int kNameFields[] = {2, 12, 22, 32};

/* The caption string and the five flags of each mode. */
struct ModeRule {
  UINT caption;  // 0: the caption the caller gave stays
  bool checkEmpty, checkOverwrite, mustExist, askNotClosingFile, lockBuyer;
};
constexpr ModeRule kModeRules[] = {
    {0, false, false, false, false, false},
    {IDS_NEW_FILE, true, false, false, false, false},
    {IDS_OPEN_FILE, true, false, true, false, true},
    {IDS_SAVE_FILE_AS, true, true, false, false, true},
    {IDS_MERGE_FILE, true, false, false, false, false},
    {IDS_DELETE_FILE, true, false, false, false, true},
    {IDS_OPEN_FILE, true, false, false, true, false},
};

/* The record of the number, sought on the whole key; false when there is none. */
bool SeekNumber(TPXRecord& record, const char* fileNumber) {
  record.SetString(kFileNumberField, fileNumber);
  return record.Seek(0, 0);
}

/* The party names of a BUYER or SELLER record: the first, then each further one that is
   set after "; ". */
std::string PartyNames(TPXRecord& record, const char* fileNumber) {
  std::string text;
  if (!SeekNumber(record, fileNumber) || !record.Read(0)) return text;
  char name[kNameSize];
  for (int field : kNameFields) {
    name[0] = '\0';
    record.GetString(field, name, sizeof name);
    if (field == kNameFields[0]) text = name;
    else if (name[0]) text.append("; ").append(name);
  }
  return text;
}

}  // namespace

TFileDlg::TFileDlg(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module),
      buyer_(new TPXRecord(gTables[kBuyerTable], false)),
      seller_(new TPXRecord(gTables[kSellerTable], false)) {
  numberEdit_ = new TEdit(this, kNumberEdit, kNumberSize);
  numberList_ = new TListBox(this, kNumberList);
  numberList_->DisableTransfer();
  buyerNames_ = new TStatic(this, kBuyerNames, kPartyTextLimit);
  sellerNames_ = new TStatic(this, kSellerNames, kPartyTextLimit);
  findLabel_ = new TStatic(this, kFindResults, kFindLabelLimit);
  SetTransferBuffer(gFileNumber, sizeof gFileNumber);
}

TFileDlg::~TFileDlg() {
  ReleaseLock();
  delete buyer_;
  delete seller_;
}

void TFileDlg::SetupWindow() {
  TDialog::SetupWindow();
  ApplyMode();
  FillFileList();
  EvEditChange();
}

void TFileDlg::ApplyMode() {
  if (mode < 0 || mode > kFileDlgDisburse) return;
  const ModeRule& rule = kModeRules[mode];
  if (rule.caption) SetCaption(GetModule()->LoadString(rule.caption).c_str());
  checkEmpty = rule.checkEmpty;
  checkOverwrite = rule.checkOverwrite;
  mustExist = rule.mustExist;
  askNotClosingFile = rule.askNotClosingFile;
  lockBuyer = rule.lockBuyer;
  if (mode == kFileDlgNew) ::ShowWindow(GetDlgItem(kFindButton), SW_HIDE);
}

void TFileDlg::FillFileList() {
  HourglassCursor hourglass;
  numberList_->ClearList();
  // The walk reads the one field the list shows, straight from the cursor, into one block
  // of texts (each ended by its terminator); the list is filled after it, its room taken
  // once, without a redraw for each number.
  std::string packed;
  int count = 0;
  if (buyer_->First()) {
    char number[kNumberSize];
    do {
      number[0] = '\0';
      buyer_->ReadCurrentString(kFileNumberField, number, sizeof number);
      packed.append(number, std::strlen(number) + 1);
      ++count;
    } while (buyer_->Next());
  }
  numberList_->SendMessage(WM_SETREDRAW, FALSE);
  numberList_->InitStorage(count, static_cast<int>(packed.size()));
  for (size_t at = 0; at < packed.size(); at += std::strlen(packed.c_str() + at) + 1)
    numberList_->AddString(packed.c_str() + at);
  numberList_->SendMessage(WM_SETREDRAW, TRUE);
  numberList_->Invalidate();
  listed_.LearnPacked(packed);
}

void TFileDlg::EvEditChange() {
  ++editChanges_;
  char text[kNumberSize];
  numberEdit_->GetText(text, sizeof text);
  int index = listed_.IndexOf(text);
  if (index >= 0) {
    numberList_->SetSelIndex(index);
    ShowParties(text);
    return;
  }
  numberList_->SetSelIndex(-1);
  ShowText(buyerNames_, "");
  ShowText(sellerNames_, "");
}

void TFileDlg::EvListSelChange() {
  int index = numberList_->GetSelIndex();
  if (index < 0) return;
  char selected[kNumberSize];
  lstrcpyn(selected, numberList_->GetString(index).c_str(), sizeof selected);
  // Both party records of a listed file exist once it has been picked.
  for (TPXRecord* record : {buyer_, seller_}) {
    if (SeekNumber(*record, selected)) continue;
    record->Clear();
    record->SetString(kFileNumberField, selected);
    // A refused insert has had its box; the file's parties are not there to show.
    if (!record->Insert()) return;
  }
  // A new number in the edit brings its change notice, which selects it and shows its
  // parties: they are read once, not again here (each read locks and checks the file).
  char text[kNumberSize];
  numberEdit_->GetText(text, sizeof text);
  if (std::strcmp(text, selected) != 0) {
    unsigned long before = editChanges_;
    numberEdit_->SetText(selected);
    if (editChanges_ != before) return;
  }
  ShowParties(selected);
}

void TFileDlg::ShowParties(const char* fileNumber) {
  ShowText(buyerNames_, PartyNames(*buyer_, fileNumber).c_str());
  ShowText(sellerNames_, PartyNames(*seller_, fileNumber).c_str());
}

void TFileDlg::ShowText(TStatic* control, const char* text) {
  char shown[kPartyTextLimit + 1];
  // A text as long as the buffer may have been cut short: it is set again.
  int length = control->GetText(shown, sizeof shown);
  if (length < kPartyTextLimit && std::strcmp(shown, text) == 0) return;
  control->SetText(text);
}

void TFileDlg::CmFind() {
  TFindFile find(this, IDD_FINDFILE);
  find.targetList = numberList_;
  if (find.Execute() != IDOK) return;
  // The lookup filled the list anew.
  std::vector<std::string> numbers;
  int count = numberList_->GetCount();
  for (int i = 0; i < count; ++i) numbers.push_back(numberList_->GetString(i));
  listed_.Learn(numbers);
  if (find.listAll) {
    numberEdit_->Show(SW_SHOW);
    numberEdit_->SetFocus();
  } else {
    // "Find Results:" lies behind the edit and shows once it is hidden.
    numberEdit_->Show(SW_HIDE);
    numberList_->SetFocus();
  }
  numberEdit_->SetText("");
  EvEditChange();
}

int TFileDlg::NumberBox(UINT stringId, UINT type) {
  char format[256];
  char text[512];
  GetModule()->LoadString(stringId, format, sizeof format);
  wsprintf(text, format, gFileNumber);
  std::string caption = GetModule()->LoadString(IDS_ZARNE_MESSAGE);
  return MessageBox(HWindow, text, caption.c_str(), type);
}

void TFileDlg::CmOk() {
  TransferData(tdGetData);
  bool empty = gFileNumber[0] == '\0';
  bool listed = numberList_->GetSelIndex() >= 0;
  if (checkEmpty && empty && NumberBox(IDS_NO_NUMBER, MB_YESNO | MB_ICONINFORMATION) == IDNO)
    return;
  if (checkOverwrite && !empty && listed &&
      NumberBox(IDS_OVERWRITE, MB_YESNO | MB_ICONINFORMATION) == IDNO)
    return;
  if (mustExist && !listed) {
    NumberBox(IDS_NOT_EXIST, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (askNotClosingFile && !listed &&
      NumberBox(IDS_NOT_CLOSING_FILE, MB_YESNO | MB_ICONINFORMATION) == IDNO)
    return;
  if (std::strcmp(gFileNumber, "0") == 0) {
    NumberBox(IDS_RESERVED, MB_OK);
    return;
  }
  if (lockBuyer && !LockAcceptedNumber()) return;
  TDialog::CmOk();
}

/* The lock is taken on the accepted number's own record, never on whatever record the
   shared cursor last stood on; a number without a record takes none. */
bool TFileDlg::LockAcceptedNumber() {
  if (gFileNumber[0] == '\0' || !SeekNumber(*buyer_, gFileNumber)) return true;
  if (!buyer_->Lock()) return false;  // the table layer has shown the engine's message
  lstrcpyn(lockedNumber_, gFileNumber, sizeof lockedNumber_);
  return true;
}

/* Frees this dialog's own lock (a lock another window of this program holds stays). */
void TFileDlg::ReleaseLock() {
  if (lockedNumber_[0] == '\0') return;
  if (SeekNumber(*buyer_, lockedNumber_)) buyer_->Unlock();
  lockedNumber_[0] = '\0';
}

DEFINE_RESPONSE_TABLE1(TFileDlg, TDialog)
EV_EN_CHANGE(kNumberEdit, EvEditChange), EV_LBN_SELCHANGE(kNumberList, EvListSelChange),
    EV_COMMAND(kFindButton, CmFind), EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;
