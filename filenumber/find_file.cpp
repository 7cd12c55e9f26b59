/*
** The file lookup: the kind of lookup, the text to find, and the search through the kind's
** table in key order.
*/
#include "filenumber/find_file.h"

#include "filenumber/file_number_ids.h"
#include "filenumber/hourglass_cursor.h"
#include "platform/framework/controls.h"
#include "platform/framework/edit.h"
#include "platform/framework/list_controls.h"
#include "platform/kernel/text.h"
#include "platform/user/window_styles.h"
#include "tableaccess/px_globals.h"
#include "tableaccess/px_record.h"
#include "tableaccess/px_table.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kKindCombo = 102;
constexpr int kFindTextEdit = 189;
constexpr int kListAllBox = 719;
constexpr int kLookupLabel = 901;
constexpr int kFindLabel = 1001;
constexpr int kFindTextLimit = 61;
constexpr int kFindTextSize = 81;  // read up to 80 characters
constexpr int kSearchTextSize = 16384;
constexpr int kFileNumberSize = 17;  // field 1, up to 16 characters

/* The lookup kinds in combo order: the entry, its shared table and the fields searched. */
struct LookupKind {
  const char* entry;
  int table;
  std::vector<int> fields;
};
const LookupKind kLookupKinds[] = {
    {"Buyer", 0, {2, 12, 22, 32}},
    {"Seller", 1, {2, 12, 22, 32}},
    {"Lender", 2, {5}},
    {"Property", 4, {6}},
};

/* The searched fields of the current record joined without separator, within the buffer. */
void GatherSearchText(TPXRecord& record, const std::vector<int>& fields, char* buffer) {
  buffer[0] = '\0';
  size_t used = 0;
  for (int field : fields) {
    if (used + 1 >= kSearchTextSize) break;
    record.GetString(field, buffer + used, static_cast<DWORD>(kSearchTextSize - used));
    used += std::strlen(buffer + used);
  }
}

}  // namespace

bool FindTextMatches(const char* upperFindText, char* text) {
  AnsiUpper(text);
  return std::strstr(text, upperFindText) != nullptr;
}

TFindFile::TFindFile(TWindow* parent, TResId resId, TModule* module)
    : TDialog(parent, resId, module) {
  kind_ = new TComboBox(this, kKindCombo);
  findText_ = new TEdit(this, kFindTextEdit, kFindTextLimit);
  listAllBox_ = new TCheckBox(this, kListAllBox);
  lookupLabel_ = new TStatic(this, kLookupLabel);
  findLabel_ = new TStatic(this, kFindLabel);
  for (TWindow* control : std::initializer_list<TWindow*>{kind_, findText_, listAllBox_})
    control->DisableTransfer();
}

void TFindFile::SetupWindow() {
  TDialog::SetupWindow();
  for (const LookupKind& kind : kLookupKinds) kind_->AddString(kind.entry);
  kind_->SetSelIndex(0);
}

void TFindFile::CmListAll() {
  bool all = listAllBox_->GetCheck() == BST_CHECKED;
  int show = all ? SW_HIDE : SW_SHOW;
  kind_->Show(show);
  findText_->Show(show);
  findLabel_->Show(show);
  lookupLabel_->SetText(all ? "No lookup" : "Lookup by:");
}

void TFindFile::CmOk() {
  char findText[kFindTextSize] = "";
  if (listAllBox_->GetCheck() == BST_CHECKED) {
    listAll = 1;
  } else {
    findText_->GetText(findText, sizeof findText);
    if (findText[0] == '\0') {
      std::string text = GetModule()->LoadString(IDS_NO_FIND_TEXT);
      std::string caption = GetModule()->LoadString(IDS_ZARNE_MESSAGE);
      MessageBox(HWindow, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
      return;
    }
  }
  int index = kind_->GetSelIndex();
  if (index < 0 || index >= static_cast<int>(std::size(kLookupKinds))) {
    CloseWindow(IDCANCEL);
    return;
  }
  const LookupKind& kind = kLookupKinds[index];
  TPXTable table(kSharedTableNames[kind.table], 0);
  TPXRecord record(&table, false);
  auto searchText = std::make_unique<char[]>(kSearchTextSize);
  AnsiUpper(findText);
  if (targetList) targetList->ClearList();
  {
    HourglassCursor hourglass;
    bool positioned = record.First();
    while (positioned) {
      if (record.Read(0)) {
        bool matches = listAll != 0;
        if (!matches) {
          GatherSearchText(record, kind.fields, searchText.get());
          matches = FindTextMatches(findText, searchText.get());
        }
        char number[kFileNumberSize] = "";
        if (matches && record.GetString(1, number, sizeof number) && targetList)
          targetList->AddString(number);
      }
      positioned = record.Next();
    }
  }
  CloseWindow(IDOK);
}

DEFINE_RESPONSE_TABLE1(TFindFile, TDialog)
EV_BN_CLICKED(kListAllBox, CmListAll), EV_COMMAND(IDOK, CmOk), END_RESPONSE_TABLE;
