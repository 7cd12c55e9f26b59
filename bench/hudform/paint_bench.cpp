/*
** Times the screen form's paint into a memory DC of the form's size: the first whole paint
** (fonts realised and text shaped on the way), then the whole form, a window's worth and the
** strip a one-line scroll exposes.
*/
#include "hudform/form_painter.h"
#include "platform/gdi/gdi.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>

namespace {

double MillisecondsPer(int repeats, HDC dc, const RECT& rect) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repeats; ++i) hudform::PaintScreenForm(dc, rect);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::milli>(elapsed).count() / repeats;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int width = hudform::ScreenFormWidth();
  const int height = hudform::ScreenFormHeight();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const double first = MillisecondsPer(1, dc, RECT{0, 0, width, height});  // fonts and caches warm
  const double whole = MillisecondsPer(50, dc, RECT{0, 0, width, height});
  const double window = MillisecondsPer(200, dc, RECT{0, 1200, 640, 1600});
  const double strip = MillisecondsPer(500, dc, RECT{0, 1576, 640, 1600});
  std::printf("form %dx%d: first paint %.3f ms; then whole form %.3f ms, a 640x400 window %.3f ms, "
              "a 24-pixel scroll strip %.3f ms\n",
              width, height, first, whole, window, strip);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return 0;
}
