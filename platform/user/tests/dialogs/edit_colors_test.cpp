/*
** Colours of the Qt-widget controls: an edit and a list box ask their parent with
** WM_CTLCOLOREDIT / WM_CTLCOLORLISTBOX when they paint, and show the brush and text colour
** it answers; a read-only edit asks with WM_CTLCOLORSTATIC; a combo box passes its parts'
** questions on to its own parent.
*/
#include "platform/user/tests/window_test_fixture.h"

#include "platform/gdi/gdi.h"
#include "platform/user/combobox_control.h"
#include "platform/user/listbox_control.h"

#include <QImage>

using ControlColors = WindowTest;

namespace {

/* The colour most of a window's client area shows. */
QRgb MiddleColour(HWND hwnd) {
  QImage image = GrabWindow(hwnd);
  return image.pixel(image.width() - 6, image.height() / 2);
}

}  // namespace

TEST_F(ControlColors, EditAndListShowTheBrushTheirParentAnswers) {
  HWND top = TopWindow();
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  HBRUSH cyan = CreateSolidBrush(RGB(0, 255, 255));
  std::vector<std::pair<UINT, HWND>> asked;
  Hook() = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_CTLCOLORSTATIC) asked.emplace_back(message, reinterpret_cast<HWND>(lParam));
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
      asked.emplace_back(message, reinterpret_cast<HWND>(lParam));
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(200, 0, 0));
      return reinterpret_cast<LRESULT>(message == WM_CTLCOLOREDIT ? yellow : cyan);
    }
    return std::nullopt;
  };
  HWND edit = CreateWindow("edit", "text", WS_CHILD | WS_VISIBLE, 10, 10, 120, 24, top,
                           reinterpret_cast<HMENU>(101), nullptr, nullptr);
  HWND list = CreateWindow("listbox", "", WS_CHILD | WS_VISIBLE, 10, 40, 120, 80, top,
                           reinterpret_cast<HMENU>(102), nullptr, nullptr);
  EXPECT_EQ(MiddleColour(edit), qRgb(255, 255, 0));
  EXPECT_EQ(MiddleColour(list), qRgb(0, 255, 255));
  EXPECT_NE(std::find(asked.begin(), asked.end(), std::make_pair(UINT{WM_CTLCOLOREDIT}, edit)),
            asked.end());
  EXPECT_NE(std::find(asked.begin(), asked.end(), std::make_pair(UINT{WM_CTLCOLORLISTBOX}, list)),
            asked.end());

  // A combo box's field asks the combo, which asks its own parent about its part.
  asked.clear();
  HWND combo = CreateWindow("combobox", "", WS_CHILD | WS_VISIBLE | CBS_SIMPLE, 150, 10, 120, 120,
                            top, reinterpret_cast<HMENU>(201), nullptr, nullptr);
  EXPECT_EQ(MiddleColour(ComboBoxEditWindow(combo)), qRgb(255, 255, 0));
  EXPECT_NE(std::find(asked.begin(), asked.end(),
                      std::make_pair(UINT{WM_CTLCOLOREDIT}, ComboBoxEditWindow(combo))),
            asked.end());
  // A read-only edit asks as a static control does.
  asked.clear();
  HWND fixed = CreateWindow("edit", "fixed", WS_CHILD | WS_VISIBLE | ES_READONLY, 150, 150, 120, 24,
                            top, reinterpret_cast<HMENU>(103), nullptr, nullptr);
  GrabWindow(fixed);
  EXPECT_NE(std::find(asked.begin(), asked.end(), std::make_pair(UINT{WM_CTLCOLORSTATIC}, fixed)),
            asked.end());
  EXPECT_EQ(std::find(asked.begin(), asked.end(), std::make_pair(UINT{WM_CTLCOLOREDIT}, fixed)),
            asked.end());
  Hook() = nullptr;
  DestroyWindow(top);
  DeleteObject(yellow);
  DeleteObject(cyan);
}

TEST_F(ControlColors, AFloatingListAsksTheWindowNamedAsItsColourParent) {
  HWND top = TopWindow();
  HBRUSH cyan = CreateSolidBrush(RGB(0, 255, 255));
  std::vector<HWND> asked;
  Hook() = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message != WM_CTLCOLORLISTBOX) return std::nullopt;
    asked.push_back(reinterpret_cast<HWND>(lParam));
    return reinterpret_cast<LRESULT>(cyan);
  };
  // A list on the desktop, as a grid's drop-down list is: it has no parent to ask.
  HWND list = CreateWindow("listbox", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 40, 40, 120, 80,
                           nullptr, nullptr, nullptr, nullptr);
  SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Ready"));
  SetControlColorParent(list, top);
  EXPECT_EQ(MiddleColour(list), qRgb(0, 255, 255));
  EXPECT_NE(std::find(asked.begin(), asked.end(), list), asked.end());
  SetControlColorParent(list, nullptr);
  asked.clear();
  InvalidateRect(list, nullptr, TRUE);
  GrabWindow(list);
  EXPECT_TRUE(asked.empty());  // a list with no colour parent and no parent asks nobody
  Hook() = nullptr;
  DestroyWindow(list);
  DeleteObject(cyan);
}
