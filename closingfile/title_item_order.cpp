/*
** The order of a title-item list: Ctrl+Up and Ctrl+Down move the current item in the grid,
** and OK rewrites the keys of the moved records so that they rise in the grid's order. The
** first row keeps its key; a row whose key is not above the one before it takes the smallest
** free key a step (below one hundredth of a second of the time key) above it.
*/
#include "closingfile/title_item_lists.h"

#include "closingfile/closing_file_view.h"
#include "grid/tessel_codes.h"
#include "platform/user/input.h"
#include "platform/user/virtual_keys.h"
#include "tableaccess/px_record.h"

#include <cstring>

namespace {
constexpr double kRenumberStep = 0.0000001;
}

void TTitleItemsDialog::MoveTitleItem(int index) {
  TTitleItemList& list = lists_[index];
  long key = Grid(list, TSM_GETUSERDATA);
  bool control = GetKeyState(VK_CONTROL) < 0;
  long row = Grid(list, TSM_GETNOTIFYROW);
  if (!control || (key != VK_UP && key != VK_DOWN)) {
    Grid(list, TSM_SETREPLY, 0, 0);
    return;
  }
  if (key == VK_UP && row > 0) {
    Grid(list, TSM_SETCURSOR, 0, row);
    Grid(list, TSM_MOVEROW, TSREF_CURSOR, row - 1);
    if (row - 1 < Grid(list, TSM_GETTOPROW)) Grid(list, TSM_SETTOPROW, 0, row - 1);
    Grid(list, TSM_SELECTROW, 1, row - 1);
    list.reordered = true;
  }
  if (key == VK_DOWN && row >= 0 && row < Grid(list, TSM_GETROWCOUNT) - 1) {
    // The row below moves above the current one.
    Grid(list, TSM_SETCURSOR, 0, row + 1);
    Grid(list, TSM_MOVEROW, TSREF_CURSOR, row);
    long visible = Grid(list, TSM_GETVISIBLEROWS);
    if (row == 0) Grid(list, TSM_SETTOPROW, 0, 0);
    else if (Grid(list, TSM_GETTOPROW) + visible <= row + 1)
      Grid(list, TSM_SETTOPROW, 0, row - visible + 2);
    Grid(list, TSM_SELECTROW, 1, row + 1);
    list.reordered = true;
  }
  // Consumed whether or not the item could move.
  Grid(list, TSM_SETREPLY, 0, 1);
}

void TTitleItemsDialog::CmOk() {
  for (size_t i = 0; i < lists_.size(); ++i)
    if (lists_[i].reordered) RenumberTitleItems(static_cast<int>(i));
  TDialog::CmOk();
}

void TTitleItemsDialog::RenumberTitleItems(int index) {
  TTitleItemList& list = lists_[index];
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  long count = Grid(list, TSM_GETROWCOUNT);
  if (count > 0) {
    TTitleItemRow row;
    Grid(list, TSM_SETCURSOR, 0, 0);
    Grid(list, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
    double prev = row.Seq;
    for (long r = 1; r < count; ++r) {
      Grid(list, TSM_SETCURSOR, 0, r);
      Grid(list, TSM_GETROW, TSREF_CURSOR, reinterpret_cast<LPARAM>(&row));
      if (row.Seq > prev) {
        prev = row.Seq;
        continue;
      }
      prev = FreeKeyAbove(list, prev);
      RekeyItem(list, row.Seq, prev);
    }
  }
  list.reordered = false;
  SetCursor(previous);
}

double TTitleItemsDialog::FreeKeyAbove(const TTitleItemList& list, double prev) {
  // Keys written by an earlier renumbering lie off the time key's steps, so prev plus a step
  // may be a record further down: step on past every key held.
  double key = prev + kRenumberStep;
  while (SeekItem(list, key)) key += kRenumberStep;
  return key;
}

void TTitleItemsDialog::RekeyItem(const TTitleItemList& list, double from, double to) {
  if (!SeekItem(list, from)) return;
  if (!Record->Lock()) return;
  if (Record->Read(ENGINE_NO_LOCK)) {
    Record->SetDouble(kTitleSeq, to);
    // A refused write has had its box and leaves the item under its old key, still listed.
    (void)Record->Modify();
  }
  Record->Unlock();
}
