/*
** TListBox and TComboBox over the list box and combo box messages.
*/
#include "platform/framework/list_controls.h"

#include "platform/user/message_queue.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
LPARAM Text(const char* text) { return reinterpret_cast<LPARAM>(text ? text : ""); }
}  // namespace

/* ---- list box ---- */

TListBox::TListBox(TWindow* parent, int id, int x, int y, int w, int h, TModule* module)
    : TControl(parent, id, nullptr, x, y, w, h, module) {
  Attr.Style |= LBS_STANDARD;
  EnableTransfer();
}

TListBox::TListBox(TWindow* parent, int resourceId, TModule* module)
    : TControl(parent, resourceId, module) {
  EnableTransfer();
}

#define LB_SEND(msg, w, l) \
  (HWindow ? static_cast<int>(::SendMessage(HWindow, msg, (WPARAM)(w), (LPARAM)(l))) : LB_ERR)

int TListBox::AddString(const char* text) { return LB_SEND(LB_ADDSTRING, 0, Text(text)); }
int TListBox::InitStorage(int count, int characters) {
  return LB_SEND(LB_INITSTORAGE, count, characters);
}
int TListBox::InsertString(const char* text, int index) {
  return LB_SEND(LB_INSERTSTRING, index, Text(text));
}
int TListBox::DeleteString(int index) { return LB_SEND(LB_DELETESTRING, index, 0); }
void TListBox::ClearList() { LB_SEND(LB_RESETCONTENT, 0, 0); }
int TListBox::GetCount() const { return LB_SEND(LB_GETCOUNT, 0, 0); }
int TListBox::FindString(const char* text, int start) const {
  return LB_SEND(LB_FINDSTRING, start, Text(text));
}
int TListBox::FindExactString(const char* text, int start) const {
  return LB_SEND(LB_FINDSTRINGEXACT, start, Text(text));
}
int TListBox::GetString(char* buffer, int index) const {
  return LB_SEND(LB_GETTEXT, index, buffer);
}
int TListBox::GetStringLen(int index) const { return LB_SEND(LB_GETTEXTLEN, index, 0); }
DWORD TListBox::GetItemData(int index) const {
  return static_cast<DWORD>(LB_SEND(LB_GETITEMDATA, index, 0));
}
int TListBox::SetItemData(int index, DWORD data) { return LB_SEND(LB_SETITEMDATA, index, data); }
int TListBox::GetSelIndex() const { return LB_SEND(LB_GETCURSEL, 0, 0); }
int TListBox::SetSelIndex(int index) { return LB_SEND(LB_SETCURSEL, index, 0); }
int TListBox::SetSelString(const char* text, int start) {
  return LB_SEND(LB_SELECTSTRING, start, Text(text));
}
int TListBox::GetItemHeight(int index) const { return LB_SEND(LB_GETITEMHEIGHT, index, 0); }

std::string TListBox::GetString(int index) const {
  int length = GetStringLen(index);
  if (length < 0) return std::string();
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  GetString(text.data(), index);
  return std::string(text.data());
}

int TListBox::GetSelString(char* buffer, int size) const {
  if (!buffer || size <= 0) return LB_ERR;
  int index = GetSelIndex();
  if (index < 0) {
    buffer[0] = '\0';
    return LB_ERR;
  }
  std::string text = GetString(index);
  text.resize(std::min(text.size(), static_cast<size_t>(size - 1)));
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}

bool TListBox::IsMultipleSel() const {
  return HWindow && (GetWindowLong(HWindow, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
}

bool TListBox::SortsItsItems() const {
  return HWindow && (GetWindowLong(HWindow, GWL_STYLE) & LBS_SORT);
}

UINT TListBox::Transfer(void* buffer, TTransferDirection direction) {
  auto* data = static_cast<TListBoxData*>(buffer);
  // A sorting list box places the strings its own way, so its selections go by their text;
  // any other keeps the record's order, and its places tell equal strings apart.
  bool byText = SortsItsItems();
  if (data && direction == tdSetData) {
    ClearList();
    for (size_t i = 0; i < data->GetStrings().size(); ++i) {
      int at = AddString(data->GetStrings()[i].c_str());
      if (at >= 0 && i < data->GetItemDatas().size()) SetItemData(at, data->GetItemDatas()[i]);
    }
    SetSelIndex(-1);
    const int count = static_cast<int>(data->GetStrings().size());
    for (int index : data->GetSelIndices()) {
      if (index < 0 || index >= count) continue;  // a selection the record has no string for
      int at =
          byText ? FindExactString(data->GetStrings()[static_cast<size_t>(index)].c_str()) : index;
      if (at < 0) continue;
      if (IsMultipleSel()) LB_SEND(LB_SETSEL, TRUE, at);
      else SetSelIndex(at);
    }
  } else if (data && direction == tdGetData) {
    data->ResetSelections();
    auto take = [&](int at) {
      if (byText) data->SelectString(GetString(at).c_str());
      else data->Select(at);
    };
    if (IsMultipleSel()) {
      for (int i = 0, n = GetCount(); i < n; ++i)
        if (LB_SEND(LB_GETSEL, i, 0) > 0) take(i);
    } else if (GetSelIndex() >= 0) {
      take(GetSelIndex());
    }
  }
  return sizeof(TListBoxData);
}

/* ---- combo box ---- */

TComboBox::TComboBox(TWindow* parent, int id, int x, int y, int w, int h, DWORD style,
                     UINT textLimit, TModule* module)
    : TListBox(parent, id, x, y, w, h, module), TextLimit(textLimit) {
  Attr.Style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | WS_VSCROLL | style;
}

TComboBox::TComboBox(TWindow* parent, int resourceId, UINT textLimit, TModule* module)
    : TListBox(parent, resourceId, module), TextLimit(textLimit) {}

void TComboBox::SetupWindow() {
  TListBox::SetupWindow();
  if (TextLimit) ::SendMessage(HWindow, CB_LIMITTEXT, TextLimit - 1, 0);
}

#define CB_SEND(msg, w, l) \
  (HWindow ? static_cast<int>(::SendMessage(HWindow, msg, (WPARAM)(w), (LPARAM)(l))) : CB_ERR)

int TComboBox::AddString(const char* text) { return CB_SEND(CB_ADDSTRING, 0, Text(text)); }
int TComboBox::InsertString(const char* text, int index) {
  return CB_SEND(CB_INSERTSTRING, index, Text(text));
}
int TComboBox::DeleteString(int index) { return CB_SEND(CB_DELETESTRING, index, 0); }
void TComboBox::ClearList() { CB_SEND(CB_RESETCONTENT, 0, 0); }
int TComboBox::GetCount() const { return CB_SEND(CB_GETCOUNT, 0, 0); }
int TComboBox::FindString(const char* text, int start) const {
  return CB_SEND(CB_FINDSTRING, start, Text(text));
}
int TComboBox::FindExactString(const char* text, int start) const {
  return CB_SEND(CB_FINDSTRINGEXACT, start, Text(text));
}
int TComboBox::GetString(char* buffer, int index) const {
  return CB_SEND(CB_GETLBTEXT, index, buffer);
}
int TComboBox::GetStringLen(int index) const { return CB_SEND(CB_GETLBTEXTLEN, index, 0); }
DWORD TComboBox::GetItemData(int index) const {
  return static_cast<DWORD>(CB_SEND(CB_GETITEMDATA, index, 0));
}
int TComboBox::SetItemData(int index, DWORD data) { return CB_SEND(CB_SETITEMDATA, index, data); }
int TComboBox::GetSelIndex() const { return CB_SEND(CB_GETCURSEL, 0, 0); }
int TComboBox::SetSelIndex(int index) { return CB_SEND(CB_SETCURSEL, index, 0); }
int TComboBox::SetSelString(const char* text, int start) {
  return CB_SEND(CB_SELECTSTRING, start, Text(text));
}
void TComboBox::SetText(const char* text) { SetWindowText(text); }
void TComboBox::Clear() { SetText(""); }
void TComboBox::SetEditSel(int start, int end) {
  CB_SEND(CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

std::string TComboBox::GetString(int index) const {
  int length = GetStringLen(index);
  if (length < 0) return std::string();
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  GetString(text.data(), index);
  return std::string(text.data());
}

bool TComboBox::SortsItsItems() const {
  return HWindow && (GetWindowLong(HWindow, GWL_STYLE) & CBS_SORT);
}

UINT TComboBox::Transfer(void* buffer, TTransferDirection direction) {
  auto* data = static_cast<TComboBoxData*>(buffer);
  if (data && direction == tdSetData) {
    ClearList();
    for (size_t i = 0; i < data->GetStrings().size(); ++i) {
      int at = AddString(data->GetStrings()[i].c_str());
      if (at >= 0 && i < data->GetItemDatas().size()) SetItemData(at, data->GetItemDatas()[i]);
    }
    // A sorting combo box finds the chosen item by its text; any other keeps the record's
    // order, so the chosen place is the item even when another has the same text.
    int at = -1;
    if (data->GetSelIndex() >= 0)
      at = SortsItsItems() ? FindExactString(data->GetSelection()) : data->GetSelIndex();
    if (at >= 0 && at < GetCount()) SetSelIndex(at);
    else SetText(data->GetSelection());
  } else if (data && direction == tdGetData) {
    // The list as the control holds it now, and its value: the selected item's text, or the
    // typed text when no item is selected.
    data->Clear();
    for (int i = 0, n = GetCount(); i < n; ++i)
      data->AddStringItem(GetString(i).c_str(), GetItemData(i));
    int index = GetSelIndex();
    std::string text = GetText();
    if (index >= 0 && GetString(index) != text) index = -1;
    data->SetSelection(text.c_str(), index);
  }
  return sizeof(TComboBoxData);
}
