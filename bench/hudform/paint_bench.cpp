/*
** Times the screen form's paint into a memory DC of the form's size: the first whole paint
** (fonts realised and text shaped on the way), then the whole form, a window's worth and the
** strip a one-line scroll exposes, each beside a baseline from the same run: the same
** rectangle copied with BitBlt from a bitmap the form was painted into once (what a cached
** form would cost), and the ratio.
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

double CopyMillisecondsPer(int repeats, HDC dc, HDC cache, const RECT& r) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repeats; ++i)
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, cache, r.left, r.top, SRCCOPY);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::milli>(elapsed).count() / repeats;
}

void Report(const char* name, int repeats, HDC dc, HDC cache, const RECT& rect) {
  const double painted = MillisecondsPer(repeats, dc, rect);
  const double copied = CopyMillisecondsPer(repeats, dc, cache, rect);
  std::printf("%-28s painted %8.3f ms   copied from a cached form %8.3f ms   ratio %6.2f\n", name,
              painted, copied, painted / copied);
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
  std::printf("form %dx%d: first paint %.3f ms\n", width, height, first);
  HDC cache = CreateCompatibleDC(nullptr);
  HBITMAP cached = CreateCompatibleBitmap(cache, width, height);
  HGDIOBJ oldCache = SelectObject(cache, cached);
  hudform::PaintScreenForm(cache, RECT{0, 0, width, height});
  Report("whole form", 50, dc, cache, RECT{0, 0, width, height});
  Report("a 640x400 window", 200, dc, cache, RECT{0, 1200, 640, 1600});
  Report("a 24-pixel scroll strip", 500, dc, cache, RECT{0, 1576, 640, 1600});
  SelectObject(cache, oldCache);
  DeleteObject(cached);
  DeleteDC(cache);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return 0;
}
