/*
** The desktop tests' shared checks of the screen and of the window manager's stacking.
*/
#include "desktop/screen_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

std::string Hex(long id) {
  std::ostringstream text;
  text << "0x" << std::hex << id;
  return text.str();
}

int StackIndex(const std::vector<long>& order, long window) {
  auto at = std::find(order.begin(), order.end(), window);
  return at == order.end() ? -1 : static_cast<int>(at - order.begin());
}

}  // namespace

int CountOf(const Screenshot& shot, const Box& box, uint32_t colour) {
  return box.Pixels() - shot.CountNot(box.left, box.top, box.right, box.bottom, colour);
}

int TextPixels(const Screenshot& shot, const Box& box) {
  int count = 0;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      uint32_t v = shot.At(x, y);
      count += ((v >> 16) & 0xFF) < 0x50 && ((v >> 8) & 0xFF) < 0x50 && (v & 0xFF) < 0x50;
    }
  return count;
}

Box FirstChangedBand(const Screenshot& a, const Screenshot& b, const Box& area) {
  Box box{area.right, 0, area.left, 0};
  int gap = 0;
  bool inBand = false;
  for (int y = area.top; y < area.bottom; ++y) {
    bool changed = false;
    for (int x = area.left; x < area.right; ++x) {
      if (a.At(x, y) == b.At(x, y)) continue;
      changed = true;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x + 1);
    }
    if (changed && !inBand) inBand = true, box.top = y;
    if (changed) box.bottom = y + 1, gap = 0;
    else if (inBand && ++gap > 3) break;
  }
  return inBand ? box : Box{};
}

Box LastChangedBand(const Screenshot& a, const Screenshot& b, const Box& area) {
  Box band;
  for (Box rest = area; !rest.Empty();) {
    Box next = FirstChangedBand(a, b, rest);
    if (next.Empty()) break;
    band = next;
    rest.top = next.bottom;
  }
  return band;
}

long WaitForActive(Desktop& desktop, const std::string& title) {
  long dialog = desktop.WaitForWindow("^" + title + "$");
  EXPECT_NE(dialog, 0) << title << " never showed\n" << desktop.ProgramLog();
  EXPECT_TRUE(Desktop::WaitUntil([&] { return desktop.ActiveWindow() == dialog; }, 10))
      << title << " is not the active window";
  return dialog;
}

void ExpectDialogOverOwner(Desktop& desktop, long dialog, long owner, const std::string& what) {
  EXPECT_NE(desktop.Property(dialog, "WM_TRANSIENT_FOR").find(Hex(owner)), std::string::npos)
      << what;
  EXPECT_NE(desktop.Property(dialog, "_NET_WM_WINDOW_TYPE").find("_NET_WM_WINDOW_TYPE_DIALOG"),
            std::string::npos)
      << what;
  std::vector<long> order = desktop.Stacking();
  EXPECT_GT(StackIndex(order, dialog), StackIndex(order, owner)) << what << " below its owner";
  EXPECT_TRUE(Desktop::SettlesIdle(desktop.ProgramPid()))
      << "zarne32 busy while " << what << " waits";
  EXPECT_TRUE(Desktop::SettlesIdle(desktop.WindowManagerPid()))
      << "openbox busy while " << what << " waits";
}

void ExpectOnTop(Desktop& desktop, long window, const std::string& what) {
  std::vector<long> order = desktop.Stacking();
  EXPECT_EQ(order.empty() ? 0 : order.back(), window) << what << " not on top";
}
