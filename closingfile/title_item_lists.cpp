/*
** The title-item lists: columns and fill, and the item operations Add, Modify and Delete.
** Moving, renumbering and loading are in title_item_order.cpp and title_item_load.cpp.
**
** A row's hidden columns carry its record's key, by which each operation finds the record
** again. Writes are checked: the row changes only when the table did.
*/
#include "closingfile/title_item_lists.h"

#include "catalogue/shared_tables.h"
#include "closingfile/closing_file_view.h"
#include "grid/tessel_codes.h"
#include "platform/user/message_box.h"
#include "tableaccess/px_record.h"
#include "tableaccess/system_boxes.h"
#include "tableaccess/value_forms.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

enum StringId : UINT {
  kTesselMessageCaption = 1029,
  kTesselErrorCaption = 1030,
  kGridFull = 1031,
  kGridError = 1032,
  kMessageCaption = 1023,
  kSelectItemFirst = 1043,
};

/* A column of the title-item grids. */
struct TTitleColumn {
  const char* name;
  WORD type;
  WORD length;
  WORD width;
  WORD style;
};

constexpr TTitleColumn kTitleColumns[] = {
    {"Text", TST_ZSTRING, kTitleRowTextSize, 210, TSCS_FIXED | TSCS_PROTECT},
    {"Seq", TST_REAL8, 8, 40, TSCS_HIDDEN},
    {"Policy", TST_ZSTRING, 2, 40, TSCS_HIDDEN},
};

}  // namespace

TTitleItemsDialog::TTitleItemsDialog(TClosingFileView* view, TResId resId, TModule* module,
                                     std::vector<TTitleItemList> lists)
    : TDialog(view->FileWindow(), resId, module),
      View(view),
      Record(view->FileRecord(kTitleBTable)),
      Xfer(new TTINewModXfer()),
      lists_(std::move(lists)) {}

TTitleItemsDialog::~TTitleItemsDialog() { delete Xfer; }

long TTitleItemsDialog::Grid(const TTitleItemList& list, UINT message, WPARAM wParam,
                             LPARAM lParam) {
  // The grid answers 32-bit values widened with their sign.
  return static_cast<long>(
      static_cast<int32_t>(SendDlgItemMessage(list.grid, message, wParam, lParam)));
}

void TTitleItemsDialog::SetupWindow() {
  TDialog::SetupWindow();
  for (const TTitleItemList& list : lists_) Grid(list, TSM_SETCOLCOUNT, 3);
  for (WPARAM column = 0; column < 3; ++column)
    for (const TTitleItemList& list : lists_) DefineColumn(list, column);
  for (const TTitleItemList& list : lists_) Grid(list, TSM_SETCURSOR, 0, -2);
  for (const TTitleItemList& list : lists_) FillTitleItems(list);
  std::memset(Xfer->Text, 0, sizeof Xfer->Text);
}

void TTitleItemsDialog::DefineColumn(const TTitleItemList& list, WPARAM column) {
  const TTitleColumn& c = kTitleColumns[column];
  // The type first: setting it resets the length. The fixed-size Seq refuses a length
  // (-10), which changes nothing.
  Grid(list, TSM_SETCOLTYPE, column, c.type);
  Grid(list, TSM_SETCOLSTYLE, column, c.style);
  Grid(list, TSM_SETCOLLEN, column, c.length);
  Grid(list, TSM_SETCOLWIDTH, column, c.width);
  Grid(list, TSM_SETCOLFORMAT, column, reinterpret_cast<LPARAM>(""));
  Grid(list, TSM_SETCOLHEADING, column, reinterpret_cast<LPARAM>(""));
  Grid(list, TSM_SETCOLNAME, column, reinterpret_cast<LPARAM>(c.name));
}

void TTitleItemsDialog::FillTitleItems(const TTitleItemList& list) {
  Record->Clear();
  Record->SetString(kTitleFileNum, View->FileNumber());
  Record->SetString(kTitleType, list.type);
  bool positioned = Record->Seek(2, ENGINE_KEY_EQ);
  while (positioned && Record->Read(ENGINE_NO_LOCK)) {
    char fileNumber[16] = "", type[3] = "";
    if (!Record->GetString(kTitleFileNum, fileNumber, sizeof fileNumber) ||
        !Record->GetString(kTitleType, type, sizeof type))
      break;
    if (std::strcmp(type, list.type) != 0 || std::strcmp(fileNumber, View->FileNumber()) != 0)
      break;
    double seq = 0;
    char policy[2] = "";
    Record->GetDouble(kTitleSeq, seq);
    Record->GetString(kTitlePolicy, policy, sizeof policy);
    // A text that cannot be read shows empty, never the item before it.
    Xfer->Text[0] = '\0';
    Record->GetString(kTitleText, Xfer->Text, sizeof Xfer->Text);
    TTitleItemRow row;
    BuildTitleRow(row, Xfer->Text, seq, policy);
    if (!AppendRow(list, row)) break;
    positioned = Record->Next();
  }
}

bool TTitleItemsDialog::AppendRow(const TTitleItemList& list, TTitleItemRow& row) {
  Grid(list, TSM_SETCURSOR, 0, -2);
  long result = Grid(list, TSM_INSERTROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
  if (result >= 0) return true;
  if (result == TSERR_LIMIT || result == TSERR_LOCKFAILED || result == TSERR_NOMEMORY) {
    MessageBox(HWindow, ResourceString(kGridFull).text, ResourceString(kTesselMessageCaption).text,
               MB_OK | MB_ICONINFORMATION);
  } else {
    char text[64];
    std::snprintf(text, sizeof text, ResourceString(kGridError).text, result);
    MessageBox(HWindow, text, ResourceString(kTesselErrorCaption).text, MB_OK | MB_ICONSTOP);
  }
  return false;
}

bool TTitleItemsDialog::HasSelection(const TTitleItemList& list) {
  if (Grid(list, TSM_GETSELROWCOUNT) > 0) return true;
  MessageBox(HWindow, ResourceString(kSelectItemFirst).text, ResourceString(kMessageCaption).text,
             MB_OK | MB_ICONINFORMATION);
  return false;
}

bool TTitleItemsDialog::SeekItem(const TTitleItemList& list, double seq) {
  Record->Clear();
  Record->SetString(kTitleFileNum, View->FileNumber());
  Record->SetString(kTitleType, list.type);
  Record->SetDouble(kTitleSeq, seq);
  return Record->Seek(3, ENGINE_KEY_EQ);
}

bool TTitleItemsDialog::ReadItem(char* policy) {
  policy[0] = '\0';
  Xfer->Text[0] = '\0';
  if (!Record->Read(ENGINE_NO_LOCK)) return false;
  Record->GetString(kTitlePolicy, policy, 2);
  PolicyToRadios(policy, *Xfer);
  return Record->GetString(kTitleText, Xfer->Text, sizeof Xfer->Text);
}

int TTitleItemsDialog::RunItemDialog(const char* caption, bool deleteMode) {
  std::unique_ptr<TTINewMod> dialog(new TTINewMod(this, kTitleItemTemplate, GetModule()));
  dialog->SetCaption(caption);
  dialog->DeleteMode = deleteMode;
  dialog->SetTransferBuffer(Xfer);
  return dialog->Execute();
}

bool TTitleItemsDialog::StoreNewItem(const TTitleItemList& list, const char* packedText,
                                     char policy, double& seq) {
  const char letter[2] = {policy, '\0'};
  seq = MakeTimeKey();
  Record->Clear();
  Record->SetString(kTitleFileNum, View->FileNumber());
  Record->SetString(kTitleType, list.type);
  Record->SetDouble(kTitleSeq, seq);
  Record->SetString(kTitlePolicy, letter);
  // A refused insert (another program's item holds the key) writes nothing: the memo write
  // would post over that item.
  if (!Record->Insert()) return false;
  if (Record->SetString(kTitleText, packedText)) return true;
  // A record without its text would list as an empty item: take it out again.
  RemoveItem(list, seq);
  return false;
}

void TTitleItemsDialog::AddTitleItem(int index) {
  TTitleItemList& list = lists_[index];
  Xfer->Both = 1;
  Xfer->Owner = 0;
  Xfer->Loan = 0;
  std::memset(Xfer->Text, 0, sizeof Xfer->Text);
  if (RunItemDialog(list.addCaption, false) != IDOK || Xfer->Text[0] == '\0') return;
  PackLineBreaks(Xfer->Text, Xfer->Text, sizeof Xfer->Text);
  double seq = 0;
  if (!StoreNewItem(list, Xfer->Text, PolicyFromRadios(*Xfer), seq)) return;
  TTitleItemRow row;
  const char letter[2] = {PolicyFromRadios(*Xfer), '\0'};
  BuildTitleRow(row, Xfer->Text, seq, letter);
  AppendRow(list, row);
}

bool TTitleItemsDialog::SeekSelectedItem(const TTitleItemList& list, TTitleItemRow& row) {
  if (!HasSelection(list)) return false;
  std::memset(&row, 0, sizeof row);
  Grid(list, TSM_GETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
  return SeekItem(list, row.Seq);
}

void TTitleItemsDialog::ModifyTitleItem(int index) {
  TTitleItemList& list = lists_[index];
  TTitleItemRow row;
  if (!SeekSelectedItem(list, row)) return;
  char policy[2];
  // Saving a text that could not be read whole would cut the stored one.
  if (!ReadItem(policy)) return;
  std::unique_ptr<char[]> before(new (std::nothrow) char[kTitleTextSize]);
  if (!before) {
    ShowNoMemory();
    return;
  }
  std::memcpy(before.get(), Xfer->Text, kTitleTextSize);
  UnpackLineBreaks(Xfer->Text, Xfer->Text, sizeof Xfer->Text);
  if (RunItemDialog(list.modifyCaption, false) != IDOK) return;
  PackLineBreaks(Xfer->Text, Xfer->Text, sizeof Xfer->Text);
  char letter = PolicyFromRadios(*Xfer);
  if (!RewriteItem(list, row.Seq, before.get(), policy, letter)) return;
  std::memset(row.Text, 0, sizeof row.Text);
  std::memcpy(row.Text, Xfer->Text,
              std::min<size_t>(std::strlen(Xfer->Text), kTitleRowTextSize - 1));
  row.Policy[0] = letter;
  row.Policy[1] = '\0';
  Grid(list, TSM_SETROW, TSREF_CURRENT, reinterpret_cast<LPARAM>(&row));
}

bool TTitleItemsDialog::RewriteItem(const TTitleItemList& list, double seq, const char* oldText,
                                    const char* oldPolicy, char newPolicy) {
  if (!SeekItem(list, seq)) return false;
  if (!Record->Lock()) return false;
  bool ok = Record->Read(ENGINE_NO_LOCK);
  if (ok && std::strcmp(Xfer->Text, oldText) != 0) ok = Record->SetString(kTitleText, Xfer->Text);
  if (ok && newPolicy != oldPolicy[0]) {
    const char letter[2] = {newPolicy, '\0'};
    ok = Record->SetString(kTitlePolicy, letter);
  }
  ok = ok && Record->Post();
  Record->Unlock();
  return ok;
}

void TTitleItemsDialog::DeleteTitleItem(int index) {
  TTitleItemList& list = lists_[index];
  TTitleItemRow row;
  if (!SeekSelectedItem(list, row)) return;
  char policy[2];
  // A text too long to read is shown by the row's beginning; the deletion may go on.
  if (!ReadItem(policy)) std::strncpy(Xfer->Text, row.Text, kTitleRowTextSize);
  if (RunItemDialog(list.deleteCaption, true) != IDOK) return;
  if (RemoveItem(list, row.Seq)) Grid(list, TSM_DELETEROW, TSREF_CURRENT);
}

bool TTitleItemsDialog::RemoveItem(const TTitleItemList& list, double seq) {
  if (!SeekItem(list, seq)) return false;
  if (!Record->Lock()) return false;
  bool ok = Record->Delete();
  Record->Unlock();
  return ok;
}
