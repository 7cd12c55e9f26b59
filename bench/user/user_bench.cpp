/*
** Times the window manager's hot paths offscreen: a SendMessage round trip, a posted message
** through the queue, an invalidate-and-paint cycle of a statement-sized window, and a
** ScrollWindow of that window. Prints one line per measure.
*/
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

long g_counter = 0;

LRESULT CALLBACK BenchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) return ++g_counter;
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    TextOutA(dc, ps.rcPaint.left + 2, ps.rcPaint.top + 2, "12,345.67", 9);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

template <typename Work>
void Measure(const char* name, int count, Work work) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) work(i);
  double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-34s %9d  %10.3f us each\n", name, count, us / count);
}

}  // namespace

int main() {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureTestApplication();
  WNDCLASS wc{};
  wc.lpfnWndProc = BenchProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "Bench";
  RegisterClass(&wc);
  HWND w = CreateWindow("Bench", "Bench", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 800, 600,
                        nullptr, nullptr, nullptr, nullptr);
  ProcessPendingMessages();
  Measure("SendMessage", 1000000, [&](int) { SendMessage(w, WM_USER, 0, 0); });
  Measure("PostMessage + dispatch", 100000, [&](int) {
    PostMessage(w, WM_USER, 0, 0);
    MSG msg;
    PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
    DispatchMessage(&msg);
  });
  Measure("InvalidateRect 40x20 + paint", 10000, [&](int i) {
    RECT r{(i * 40) % 760, (i * 20) % 580, (i * 40) % 760 + 40, (i * 20) % 580 + 20};
    InvalidateRect(w, &r, TRUE);
    UpdateWindow(w);
  });
  Measure("Full repaint 800x600", 1000, [&](int) {
    InvalidateRect(w, nullptr, TRUE);
    UpdateWindow(w);
  });
  Measure("ScrollWindow 24px + band paint", 1000, [&](int) {
    ScrollWindow(w, 0, -24, nullptr, nullptr);
    UpdateWindow(w);
  });
  DestroyWindow(w);
  std::printf("(%ld messages handled)\n", g_counter);
  return 0;
}
