/*
** The transfer records of list boxes and combo boxes: TListBoxData (the strings, their item
** data and the selected indices) and TComboBoxData (the strings, their item data, the
** selected text and index). A transfer buffer holds the record itself at the control's place.
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_LIST_DATA_H
#define ZARNE_PLATFORM_FRAMEWORK_LIST_DATA_H

#include "platform/kernel/wintypes.h"

#include <string>
#include <vector>

typedef std::vector<std::string> TStringArray;
typedef std::vector<DWORD> TDwordArray;
typedef std::vector<int> TIntArray;

class TListBoxData {
 public:
  TStringArray& GetStrings() { return Strings; }
  const TStringArray& GetStrings() const { return Strings; }
  TDwordArray& GetItemDatas() { return ItemDatas; }
  TIntArray& GetSelIndices() { return SelIndices; }
  const TIntArray& GetSelIndices() const { return SelIndices; }

  void AddString(const char* text, bool isSelected = false);
  void AddStringItem(const char* text, DWORD itemData, bool isSelected = false);
  void Clear();
  /* Adds an index to the selection (an index outside the strings is ignored). */
  void Select(int index);
  void SelectString(const char* text);
  void ResetSelections() { SelIndices.clear(); }
  int GetSelCount() const { return static_cast<int>(SelIndices.size()); }
  /* The text of the index-th selected string, at most size - 1 characters. */
  void GetSelString(char* buffer, int size, int index = 0) const;
  int GetSelStringLength(int index = 0) const;

 protected:
  TStringArray Strings;
  TDwordArray ItemDatas;
  TIntArray SelIndices;
};

class TComboBoxData {
 public:
  TStringArray& GetStrings() { return Strings; }
  const TStringArray& GetStrings() const { return Strings; }
  TDwordArray& GetItemDatas() { return ItemDatas; }
  const char* GetSelection() const { return Selection.c_str(); }
  int GetSelIndex() const { return SelIndex; }

  void AddString(const char* text, bool isSelected = false);
  void AddStringItem(const char* text, DWORD itemData, bool isSelected = false);
  /* Empties the list and the selection. */
  void Clear();
  /* Selects an item of the list (its text becomes the selection); -1 selects nothing. */
  void Select(int index);
  /* Selects the first item equal to the text, or takes the text alone with no item. */
  void SelectString(const char* text);
  void ResetSelections();
  int GetSelStringLength() const { return static_cast<int>(Selection.size()); }
  void GetSelString(char* buffer, int size) const;
  /* The selected text and index as the control left them. */
  void SetSelection(const char* text, int index);

 protected:
  TStringArray Strings;
  TDwordArray ItemDatas;
  std::string Selection;
  int SelIndex = -1;
};

#endif
