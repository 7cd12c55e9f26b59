/*
** The list box and combo box transfer records.
*/
#include "platform/framework/list_data.h"

#include <algorithm>
#include <cstring>

static void CopyOut(const std::string& text, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

void TListBoxData::AddString(const char* text, bool isSelected) {
  AddStringItem(text, 0, isSelected);
}

void TListBoxData::AddStringItem(const char* text, DWORD itemData, bool isSelected) {
  Strings.emplace_back(text ? text : "");
  ItemDatas.push_back(itemData);
  if (isSelected) Select(static_cast<int>(Strings.size()) - 1);
}

void TListBoxData::Clear() {
  Strings.clear();
  ItemDatas.clear();
  SelIndices.clear();
}

void TListBoxData::Select(int index) {
  if (index < 0 || index >= static_cast<int>(Strings.size())) return;
  if (std::find(SelIndices.begin(), SelIndices.end(), index) == SelIndices.end())
    SelIndices.push_back(index);
}

void TListBoxData::SelectString(const char* text) {
  auto it = std::find(Strings.begin(), Strings.end(), std::string(text ? text : ""));
  if (it != Strings.end()) Select(static_cast<int>(it - Strings.begin()));
}

void TListBoxData::GetSelString(char* buffer, int size, int index) const {
  if (index < 0 || index >= GetSelCount()) {
    CopyOut("", buffer, size);
    return;
  }
  CopyOut(Strings[static_cast<size_t>(SelIndices[static_cast<size_t>(index)])], buffer, size);
}

int TListBoxData::GetSelStringLength(int index) const {
  if (index < 0 || index >= GetSelCount()) return 0;
  return static_cast<int>(
      Strings[static_cast<size_t>(SelIndices[static_cast<size_t>(index)])].size());
}

void TComboBoxData::AddString(const char* text, bool isSelected) {
  AddStringItem(text, 0, isSelected);
}

void TComboBoxData::AddStringItem(const char* text, DWORD itemData, bool isSelected) {
  Strings.emplace_back(text ? text : "");
  ItemDatas.push_back(itemData);
  if (isSelected) Select(static_cast<int>(Strings.size()) - 1);
}

void TComboBoxData::Clear() {
  Strings.clear();
  ItemDatas.clear();
  ResetSelections();
}

void TComboBoxData::Select(int index) {
  if (index < 0 || index >= static_cast<int>(Strings.size())) {
    ResetSelections();
    return;
  }
  SelIndex = index;
  Selection = Strings[static_cast<size_t>(index)];
}

void TComboBoxData::SelectString(const char* text) {
  std::string wanted(text ? text : "");
  auto it = std::find(Strings.begin(), Strings.end(), wanted);
  if (it != Strings.end()) {
    Select(static_cast<int>(it - Strings.begin()));
  } else {
    SelIndex = -1;
    Selection = wanted;
  }
}

void TComboBoxData::ResetSelections() {
  SelIndex = -1;
  Selection.clear();
}

void TComboBoxData::GetSelString(char* buffer, int size) const { CopyOut(Selection, buffer, size); }

void TComboBoxData::SetSelection(const char* text, int index) {
  Selection = text ? text : "";
  SelIndex = index;
}
