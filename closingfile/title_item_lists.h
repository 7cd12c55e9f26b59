/*
** The list machinery shared by the Requirements and Exceptions dialogs: a dialog holding one
** or more title-item lists, each a grid of one item type of the open file, and the
** operations on a list: fill, add, modify, delete, move (Ctrl+Up / Ctrl+Down), renumber on OK
** and load from item-set files. Every add, change, delete and load is stored at once; a new
** order only when the dialog closes with OK.
*/
#ifndef ZARNE_CLOSINGFILE_TITLE_ITEM_LISTS_H
#define ZARNE_CLOSINGFILE_TITLE_ITEM_LISTS_H

#include "closingfile/title_item.h"
#include "platform/framework/dialog.h"

#include <vector>

class TClosingFileView;
class TPXRecord;
struct TTitleItemRow;

/* What one list is: its item type, its grid and buttons, the item dialog's captions and the
   load dialog's filter (a literal, or a string of the string table read at each load). */
struct TTitleItemList {
  const char* type;
  int grid;
  int loadButton, addButton, modifyButton, deleteButton;
  const char* addCaption;
  const char* modifyCaption;
  const char* deleteCaption;
  const char* filter;
  UINT filterString;
  /* Set by a move; the keys are rewritten on OK. */
  bool reordered = false;
};

class TTitleItemsDialog : public TDialog {
 public:
  TTitleItemsDialog(TClosingFileView* view, TResId resId, TModule* module,
                    std::vector<TTitleItemList> lists);
  ~TTitleItemsDialog() override;
  /* Defines the columns of every list and fills each from the table. */
  void SetupWindow() override;
  /* Stores each reordered list's order, then closes with OK. */
  void CmOk() override;

  /* The operations, by list position. */
  void AddTitleItem(int list);
  void ModifyTitleItem(int list);
  void DeleteTitleItem(int list);
  void MoveTitleItem(int list);
  void RenumberTitleItems(int list);
  void LoadTitleItems(int list);

  const TTitleItemList& List(int list) const { return lists_[list]; }

 protected:
  TClosingFileView* View;
  /* The open file's TITLEB work record, with its own cursor. */
  TPXRecord* Record;
  TTINewModXfer* Xfer;

 private:
  /* A message to a list's grid; its answer as the signed 32-bit value it is. */
  long Grid(const TTitleItemList& list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void DefineColumn(const TTitleItemList& list, WPARAM column);
  void FillTitleItems(const TTitleItemList& list);
  /* Appends a row; a refusal is shown and answers false. */
  bool AppendRow(const TTitleItemList& list, TTitleItemRow& row);
  bool HasSelection(const TTitleItemList& list);
  /* Sets the key fields and seeks the record; false when it is gone. */
  bool SeekItem(const TTitleItemList& list, double seq);
  /* The selected row read from the grid and its record sought; false without a selection or
     when the record is gone. */
  bool SeekSelectedItem(const TTitleItemList& list, TTitleItemRow& row);
  /* Reads the found record: its policy into the radio buttons, its text into Xfer (empty
     when it cannot be read); answers whether the text was read. */
  bool ReadItem(char* policy);
  /* Inserts a new item with a fresh key and writes its text; false when nothing was
     stored. */
  bool StoreNewItem(const TTitleItemList& list, const char* packedText, char policy, double& seq);
  /* Rewrites what the user changed of the item found again by its key. */
  bool RewriteItem(const TTitleItemList& list, double seq, const char* oldText,
                   const char* oldPolicy, char newPolicy);
  bool RemoveItem(const TTitleItemList& list, double seq);
  int RunItemDialog(const char* caption, bool deleteMode);
  /* The key a renumbered record takes: above prev and held by no record. */
  double FreeKeyAbove(const TTitleItemList& list, double prev);
  void RekeyItem(const TTitleItemList& list, double from, double to);
  /* Loads one item-set file; false when the load must end. */
  bool LoadTitleFile(TTitleItemList& list, const char* path, char* item);
  void ShowFileError(const char* text);

  std::vector<TTitleItemList> lists_;
};

#endif
