/*
** A window holding every control of this family (edits, list boxes, the three combo kinds
** with one dropped, scroll bars), saved as PNG files to be checked by eye, with the basic
** facts of the picture checked here: the dropped list lies under its combo box and the
** selected rows are drawn highlighted.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/gdi/gdi.h"
#include "platform/user/combobox_control.h"
#include "platform/user/listbox_control.h"
#include "platform/user/scrollbar_control.h"

#include <QImage>
#include <QPainter>

using ControlsPicture = WindowTest;

namespace {

HWND Make(LPCSTR cls, LPCSTR text, DWORD style, int x, int y, int w, int h, HWND parent, int id) {
  return CreateWindow(cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                      reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

void Fill(HWND hwnd, UINT message, std::initializer_list<const char*> texts) {
  for (const char* text : texts) SendMessage(hwnd, message, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

TEST_F(ControlsPicture, EveryKindDrawnAndTheDroppedListUnderItsCombo) {
  HWND top = TopWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 520, 330);
  HFONT font =
      CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  std::vector<HWND> all;
  all.push_back(Make("edit", "Single line", WS_BORDER | ES_AUTOHSCROLL, 10, 10, 150, 22, top, 101));
  all.push_back(Make("edit", "secret", WS_BORDER | ES_PASSWORD, 10, 40, 150, 22, top, 102));
  all.push_back(Make("edit", "Right aligned", WS_BORDER | ES_RIGHT, 10, 70, 150, 22, top, 103));
  all.push_back(Make("edit", "First line\r\nSecond line\r\nThird line",
                     WS_BORDER | ES_MULTILINE | WS_VSCROLL, 10, 100, 150, 70, top, 104));
  HWND single =
      Make("listbox", "", WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 180, 10, 140, 100, top, 105);
  HWND multi = Make("listbox", "", WS_BORDER | LBS_MULTIPLESEL, 180, 120, 140, 70, top, 106);
  HWND simple = Make("combobox", "", CBS_SIMPLE, 340, 10, 160, 90, top, 107);
  HWND dropDown =
      Make("combobox", "", CBS_DROPDOWN | CBS_AUTOHSCROLL, 340, 110, 160, 120, top, 108);
  HWND dropList = Make("combobox", "", CBS_DROPDOWNLIST, 340, 150, 160, 120, top, 109);
  HWND vertical = Make("scrollbar", "", SBS_VERT, 10, 190, 16, 100, top, 110);
  HWND horizontal = Make("scrollbar", "", SBS_HORZ, 40, 270, 280, 16, top, 111);
  all.insert(all.end(), {single, multi, simple, dropDown, dropList, vertical, horizontal});
  for (HWND hwnd : all) SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  for (int i = 1; i <= 12; ++i)
    SendMessage(single, LB_ADDSTRING, 0,
                reinterpret_cast<LPARAM>(("File 2026-" + std::to_string(i)).c_str()));
  SendMessage(single, LB_SETCURSEL, 2, 0);
  Fill(multi, LB_ADDSTRING, {"Buyer", "Seller", "Lender", "Agent"});
  SendMessage(multi, LB_SETSEL, TRUE, 0);
  SendMessage(multi, LB_SETSEL, TRUE, 2);
  Fill(simple, CB_ADDSTRING, {"B", "S", "/"});
  SendMessage(simple, CB_SETCURSEL, 1, 0);
  Fill(dropDown, CB_ADDSTRING, {"and/or assigns", "its successors and/or assigns"});
  SendMessage(dropDown, CB_SETCURSEL, 0, 0);
  Fill(dropList, CB_ADDSTRING, {"January", "February", "March", "April", "May"});
  SendMessage(dropList, CB_SETCURSEL, 2, 0);
  SendMessage(vertical, SBM_SETRANGE, 0, 10);
  SendMessage(vertical, SBM_SETPOS, 3, TRUE);
  SendMessage(horizontal, SBM_SETRANGE, 0, 10);
  SendMessage(horizontal, SBM_SETPOS, 7, TRUE);
  SendMessage(dropList, CB_SHOWDROPDOWN, TRUE, 0);
  SetFocus(dropList);

  QImage window = GrabWindow(top);
  HWND droppedList = ComboBoxListWindow(dropList);
  QImage list = GrabWindow(droppedList);
  ASSERT_FALSE(window.isNull());
  ASSERT_FALSE(list.isNull());
  // One picture: the window, and the floating list painted where it lies on the screen.
  RECT windowRect{}, listRect{};
  GetWindowRect(top, &windowRect);
  GetWindowRect(droppedList, &listRect);
  QImage picture = window.copy();
  {
    QPainter painter(&picture);
    QPoint at(listRect.left - windowRect.left, listRect.top - windowRect.top);
    at += QPoint(picture.width() - (windowRect.right - windowRect.left),
                 picture.height() - (windowRect.bottom - windowRect.top));
    painter.drawImage(at, list);
  }
  EXPECT_TRUE(picture.save("standard_controls.png"));
  EXPECT_TRUE(list.save("standard_controls_dropped_list.png"));

  RECT comboRect{};
  GetWindowRect(dropList, &comboRect);
  EXPECT_EQ(listRect.top, comboRect.bottom);
  EXPECT_EQ(listRect.left, comboRect.left);
  // The selected row of the single list is drawn in the highlight colour, the others not.
  RECT row{}, other{};
  SendMessage(single, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  SendMessage(single, LB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&other));
  QImage singleImage = GrabWindow(single);
  POINT origin{0, 0};
  ClientToScreen(single, &origin);
  RECT singleRect{};
  GetWindowRect(single, &singleRect);
  int dx = origin.x - singleRect.left, dy = origin.y - singleRect.top;
  QColor selected = singleImage.pixelColor(row.right - 10 + dx, (row.top + row.bottom) / 2 + dy);
  QColor plain = singleImage.pixelColor(other.right - 10 + dx, (other.top + other.bottom) / 2 + dy);
  EXPECT_NE(selected, plain);
  DestroyWindow(top);
  DeleteObject(font);
}
