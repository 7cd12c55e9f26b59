/*
** Owner-drawn list boxes: the owner measures the items once and draws each row through
** WM_DRAWITEM; without LBS_HASSTRINGS the list keeps the owner's values and never reads them
** as text.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/gdi/gdi.h"
#include "platform/user/listbox_control.h"

#include <QImage>

#include <vector>

using OwnerDrawnList = WindowTest;

TEST_F(OwnerDrawnList, OwnerMeasuresDrawsAndKeepsItsValues) {
  HWND top = TopWindow();
  std::vector<DRAWITEMSTRUCT> drawn;
  std::vector<UINT> measuredIds;
  Hook() = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_MEASUREITEM) {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      measuredIds.push_back(measure->CtlID);
      measure->itemHeight = 20;
      return TRUE;
    }
    if (message == WM_DRAWITEM) {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      drawn.push_back(*item);
      COLORREF colour = (item->itemState & ODS_SELECTED) ? RGB(0, 0, 255) : RGB(0, 128, 0);
      HBRUSH brush = CreateSolidBrush(colour);
      FillRect(item->hDC, &item->rcItem, brush);
      DeleteObject(brush);
      return TRUE;
    }
    return std::nullopt;
  };
  HWND list = CreateWindow("listbox", "", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED, 10, 10, 120,
                           100, top, reinterpret_cast<HMENU>(102), nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(measuredIds, std::vector<UINT>{102});
  EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 0, 0), 20);
  // The values are kept as they are: never read as text.
  for (LPARAM value : {0x1001, 0x1002, 0x1003}) SendMessage(list, LB_ADDSTRING, 0, value);
  EXPECT_EQ(SendMessage(list, LB_GETITEMDATA, 1, 0), 0x1002);
  EXPECT_EQ(SendMessage(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 0x1003), 2);
  ULONG_PTR copied = 0;
  EXPECT_EQ(SendMessage(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&copied)),
            static_cast<LRESULT>(sizeof copied));
  EXPECT_EQ(copied, 0x1001u);
  SendMessage(list, LB_SETCURSEL, 1, 0);

  drawn.clear();
  QImage picture = GrabWindow(list);
  ASSERT_GE(drawn.size(), 3u);
  RECT second{};
  SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  bool sawSelected = false;
  for (const DRAWITEMSTRUCT& item : drawn) {
    EXPECT_EQ(item.CtlType, static_cast<UINT>(ODT_LISTBOX));
    EXPECT_EQ(item.hwndItem, list);
    EXPECT_EQ(item.itemData, 0x1001u + item.itemID);
    if (item.itemID == 1) {
      sawSelected = (item.itemState & ODS_SELECTED) != 0;
      EXPECT_EQ(item.rcItem.top, second.top);
      EXPECT_EQ(item.rcItem.bottom, second.bottom);
    }
  }
  EXPECT_TRUE(sawSelected);
  EXPECT_EQ(picture.pixelColor(30, second.top + 10), QColor(0, 0, 255));
  EXPECT_EQ(picture.pixelColor(30, 10), QColor(0, 128, 0));
  Hook() = nullptr;
}
