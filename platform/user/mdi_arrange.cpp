/*
** Arranging MDI children: cascading, tiling and lining up minimized children. Children are
** placed in creation order; the stacking keeps the active child on top.
*/
#include "platform/user/mdi_client.h"
#include "platform/user/mdi_internal.h"

#include "platform/user/system_info.h"
#include "platform/user/window_manager.h"
#include "platform/user/window_object.h"
#include "platform/user/window_styles.h"

#include <algorithm>
#include <cmath>

namespace {

/* The children that take part: visible, not minimized, enabled unless asked otherwise. */
std::vector<HWND> ArrangeableChildren(const MdiClientState& state, UINT flags) {
  std::vector<HWND> children;
  for (HWND child : state.created) {
    if (!IsWindowVisible(child) || IsIconic(child)) continue;
    if ((flags & MDITILE_SKIPDISABLED) && !IsWindowEnabled(child)) continue;
    children.push_back(child);
  }
  return children;
}

void RestoreMaximized(const std::vector<HWND>& children) {
  for (HWND child : children)
    if (IsZoomed(child)) ShowWindow(child, SW_RESTORE);
}

void Place(HWND child, int x, int y, int width, int height) {
  SetWindowPos(child, nullptr, x, y, std::max(width, 1), std::max(height, 1),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

/* The client area less the strip that minimized children line up in. */
RECT ArrangeArea(const MdiClientState& state) {
  RECT area;
  GetClientRect(state.client, &area);
  for (HWND child : state.created) {
    if (IsWindowVisible(child) && IsIconic(child)) {
      area.bottom -= GetSystemMetrics(SM_CYMINIMIZED);
      break;
    }
  }
  area.bottom = std::max(area.bottom, area.top + 1);
  return area;
}

}  // namespace

BOOL MdiCascade(MdiClientState& state, UINT flags) {
  std::vector<HWND> children = ArrangeableChildren(state, flags);
  if (children.empty()) return FALSE;
  RestoreMaximized(children);
  RECT area = ArrangeArea(state);
  int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  int count = static_cast<int>(children.size());
  int width = std::max(RectWidth(area) - step * (count - 1), RectWidth(area) / 2);
  int height = std::max(RectHeight(area) - step * (count - 1), RectHeight(area) / 2);
  for (int i = 0; i < count; ++i) Place(children[i], step * i, step * i, width, height);
  MdiRestoreChildOrder(state);
  return TRUE;
}

BOOL MdiTile(MdiClientState& state, UINT flags) {
  std::vector<HWND> children = ArrangeableChildren(state, flags);
  if (children.empty()) return FALSE;
  RestoreMaximized(children);
  RECT area = ArrangeArea(state);
  int count = static_cast<int>(children.size());
  // Vertical tiling makes columns (side by side), horizontal tiling makes rows.
  int lines = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
  bool rows = (flags & MDITILE_HORIZONTAL) != 0;
  int placed = 0;
  for (int line = 0; line < lines; ++line) {
    int inLine = (count - placed) / (lines - line);
    int extent = rows ? RectHeight(area) : RectWidth(area);
    int across = rows ? RectWidth(area) : RectHeight(area);
    int lineStart = extent * line / lines, lineEnd = extent * (line + 1) / lines;
    for (int k = 0; k < inLine; ++k) {
      int start = across * k / inLine, end = across * (k + 1) / inLine;
      if (rows) Place(children[placed], start, lineStart, end - start, lineEnd - lineStart);
      else Place(children[placed], lineStart, start, lineEnd - lineStart, end - start);
      ++placed;
    }
  }
  MdiRestoreChildOrder(state);
  return TRUE;
}

BOOL MdiArrangeIcons(MdiClientState& state) {
  RECT area;
  GetClientRect(state.client, &area);
  int width = GetSystemMetrics(SM_CXMINIMIZED), height = GetSystemMetrics(SM_CYMINIMIZED);
  int perRow = std::max(1, RectWidth(area) / std::max(width, 1));
  int index = 0;
  for (HWND child : state.created) {
    if (!IsWindowVisible(child) || !IsIconic(child)) continue;
    int x = (index % perRow) * width;
    int y = area.bottom - height * (1 + index / perRow);
    Place(child, x, y, width, height);
    ++index;
  }
  return index > 0;
}
