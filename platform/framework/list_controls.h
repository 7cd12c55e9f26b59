/*
** TListBox and TComboBox: control objects over the list box and combo box, with the calls
** the system's dialogs make and their share of the data transfer (a TListBoxData or a
** TComboBoxData record in the buffer).
**
** Both take part in the transfer by default, as soon as they are made: a dialog whose
** transfer record holds no list data for one of them calls its DisableTransfer().
*/
#ifndef ZARNE_PLATFORM_FRAMEWORK_LIST_CONTROLS_H
#define ZARNE_PLATFORM_FRAMEWORK_LIST_CONTROLS_H

#include "platform/framework/controls.h"
#include "platform/framework/list_data.h"

#include <string>

class TListBox : public TControl {
 public:
  TListBox(TWindow* parent, int id, int x, int y, int w, int h, TModule* module = nullptr);
  TListBox(TWindow* parent, int resourceId, TModule* module = nullptr);
  const char* GetClassName() override { return "LISTBOX"; }

  int AddString(const char* text);
  /* Takes room ahead for count more items of about characters bytes of text in all, before
     a fill of many; the items still come one by one. */
  int InitStorage(int count, int characters);
  int InsertString(const char* text, int index);
  int DeleteString(int index);
  void ClearList();
  int GetCount() const;
  int FindString(const char* text, int startIndex = -1) const;
  int FindExactString(const char* text, int startIndex = -1) const;
  int GetString(char* buffer, int index) const;
  std::string GetString(int index) const;
  int GetStringLen(int index) const;
  DWORD GetItemData(int index) const;
  int SetItemData(int index, DWORD data);
  int GetSelIndex() const;
  int SetSelIndex(int index);
  int GetSelString(char* buffer, int size) const;
  int SetSelString(const char* text, int startIndex = -1);
  /* The height of an item in pixels (of the given one in a variable-height list). */
  int GetItemHeight(int index = 0) const;
  bool IsMultipleSel() const;

  UINT Transfer(void* buffer, TTransferDirection direction) override;

 protected:
  /* Whether the control orders its items itself; if not, an item's place is its place in
     the transfer record. */
  virtual bool SortsItsItems() const;
};

class TComboBox : public TListBox {
 public:
  TComboBox(TWindow* parent, int id, int x, int y, int w, int h, DWORD style, UINT textLimit,
            TModule* module = nullptr);
  TComboBox(TWindow* parent, int resourceId, UINT textLimit = 0, TModule* module = nullptr);
  const char* GetClassName() override { return "COMBOBOX"; }
  void SetupWindow() override;

  int AddString(const char* text);
  int InsertString(const char* text, int index);
  int DeleteString(int index);
  void ClearList();
  int GetCount() const;
  int FindString(const char* text, int startIndex = -1) const;
  int FindExactString(const char* text, int startIndex = -1) const;
  int GetString(char* buffer, int index) const;
  std::string GetString(int index) const;
  int GetStringLen(int index) const;
  DWORD GetItemData(int index) const;
  int SetItemData(int index, DWORD data);
  int GetSelIndex() const;
  int SetSelIndex(int index);
  int SetSelString(const char* text, int startIndex = -1);
  /* The text of the edit part (or of the selected item of a drop-down list). */
  int GetText(char* buffer, int size) const { return GetWindowText(buffer, size); }
  std::string GetText() const { return GetWindowText(); }
  void SetText(const char* text);
  void Clear();
  void SetEditSel(int start, int end);

  UINT Transfer(void* buffer, TTransferDirection direction) override;
  UINT TextLimit;

 protected:
  bool SortsItsItems() const override;
};

#endif
