/*
** Timings of the drawing calls a grid or statement repaint leans on: cell fills, grid
** lines, cell text through TextOut and DrawText, text extents, focus rectangles and a
** full-window BitBlt. Each call paints with its own short-lived painter, so these numbers
** show what that costs. Prints microseconds per call; run by hand with
** QT_QPA_PLATFORM=offscreen.
*/
#include "platform/gdi/gdi_surface.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>

namespace {

template <typename Body>
void Measure(const char* name, int count, Body body) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) body(i);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const double us = std::chrono::duration<double, std::micro>(elapsed).count() / count;
  std::printf("%-44s %10.2f us/call\n", name, us);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QImage window(1024, 768, QImage::Format_RGB32);
  window.fill(Qt::white);
  HDC dc = GdiCreateSurfaceDC(&window, QPoint(), QRegion());
  HFONT font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  HBRUSH face = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  const int count = 20000;
  Measure("FillRect 100x18 cell", count, [&](int i) {
    RECT cell{(i % 10) * 100, (i / 10 % 40) * 18, (i % 10) * 100 + 100, (i / 10 % 40) * 18 + 18};
    FillRect(dc, &cell, face);
  });
  Measure("MoveToEx + LineTo grid line", count, [&](int i) {
    MoveToEx(dc, 0, i % 768, nullptr);
    LineTo(dc, 1024, i % 768);
  });
  Measure("TextOut 12 characters", count, [&](int i) { TextOut(dc, (i % 10) * 100, (i / 10 % 40) * 18, "123,456.78 $", 12); });
  Measure("DrawText right-aligned single line", count, [&](int i) {
    RECT cell{(i % 10) * 100, (i / 10 % 40) * 18, (i % 10) * 100 + 100, (i / 10 % 40) * 18 + 18};
    DrawText(dc, "123,456.78", -1, &cell, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  });
  Measure("GetTextExtentPoint32 12 characters", count, [&](int) {
    SIZE size;
    GetTextExtentPoint32(dc, "123,456.78 $", 12, &size);
  });
  Measure("DrawFocusRect 100x18", count, [&](int i) {
    RECT cell{(i % 10) * 100, 0, (i % 10) * 100 + 100, 18};
    DrawFocusRect(dc, &cell);
  });
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 1024, 768);
  SelectObject(memory, bitmap);
  Measure("BitBlt 1024x768 SRCCOPY", 200, [&](int) { BitBlt(dc, 0, 0, 1024, 768, memory, 0, 0, SRCCOPY); });
  DeleteDC(memory);
  DeleteObject(bitmap);
  GdiReleaseSurfaceDC(dc);
  DeleteObject(font);
  return 0;
}
