/*
** Times the window manager's hot paths offscreen: a SendMessage round trip, a posted message
** through the queue, an invalidate-and-paint cycle of a statement-sized window, and a
** ScrollWindow of that window. Each is printed beside a baseline measured in the same run:
** the window procedure found by its handle in a hash map and called, a plain queue of messages, the same drawing on a DC
** taken with GetDC (no invalidation or paint cycle), and a full repaint for the scroll.
** The scroll is also timed with a paint pending (two rows changed, as a grid's Down key
** does), and against the least any scroll costs: moving the client's pixels with memmove.
*/
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <deque>
#include <unordered_map>

namespace {

long gCounter = 0;

/* What the window's paint draws, on any DC. */
void DrawBand(HDC dc, const RECT& r) {
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  TextOutA(dc, r.left + 2, r.top + 2, "12,345.67", 9);
}

LRESULT CALLBACK BenchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) return ++gCounter;
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawBand(dc, ps.rcPaint);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

template <typename Work>
double MicrosecondsEach(int count, Work work) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) work(i);
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
             .count() /
         count;
}

template <typename Work, typename Baseline>
void Measure(const char* name, const char* baselineName, int count, Work work, Baseline baseline) {
  double us = MicrosecondsEach(count, work);
  double base = MicrosecondsEach(count, baseline);
  std::printf("%-32s %8d  %9.3f us each   %-26s %9.3f us   ratio %6.2f\n", name, count, us,
              baselineName, base, us / base);
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
  HWND w = CreateWindow("Bench", "Bench", WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0,
                        800, 600, nullptr, nullptr, nullptr, nullptr);
  ProcessPendingMessages();
  // The least any window system does per message: find the window's procedure by its handle
  // and call it.
  std::unordered_map<HWND, WNDPROC> procedures{{w, BenchProc}};
  auto call = [&](const MSG& m) {
    return procedures.find(m.hwnd)->second(m.hwnd, m.message, m.wParam, m.lParam);
  };
  Measure(
      "SendMessage", "handle lookup + call", 1000000, [&](int) { SendMessage(w, WM_USER, 0, 0); },
      [&](int) {
        call(MSG{w, WM_USER, 0, 0, 0, {0, 0}});
      });
  std::deque<MSG> plainQueue;
  Measure(
      "PostMessage + dispatch", "plain queue + lookup + call", 100000,
      [&](int) {
        PostMessage(w, WM_USER, 0, 0);
        MSG msg;
        PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
        DispatchMessage(&msg);
      },
      [&](int) {
        plainQueue.push_back(MSG{w, WM_USER, 0, 0, 0, {0, 0}});
        MSG msg = plainQueue.front();
        plainQueue.pop_front();
        call(msg);
      });
  HDC direct = GetDC(w);
  auto band = [](int i) {
    return RECT{(i * 40) % 760, (i * 20) % 580, (i * 40) % 760 + 40, (i * 20) % 580 + 20};
  };
  Measure(
      "InvalidateRect 40x20 + paint", "same drawing on GetDC", 10000,
      [&](int i) {
        RECT r = band(i);
        InvalidateRect(w, &r, TRUE);
        UpdateWindow(w);
      },
      [&](int i) { DrawBand(direct, band(i)); });
  RECT whole{0, 0, 800, 600};
  Measure(
      "Full repaint 800x600", "same drawing on GetDC", 1000,
      [&](int) {
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
      },
      [&](int) { DrawBand(direct, whole); });
  Measure(
      "ScrollWindow 24px + band paint", "full repaint", 1000,
      [&](int) {
        ScrollWindow(w, 0, -24, nullptr, nullptr);
        UpdateWindow(w);
      },
      [&](int) {
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
      });
  Measure(
      "ScrollWindow 24px, paint pending", "full repaint", 1000,
      [&](int) {
        RECT changed{0, 552, 800, 576};
        RECT next{0, 576, 800, 600};
        InvalidateRect(w, &changed, FALSE);
        InvalidateRect(w, &next, FALSE);
        ScrollWindow(w, 0, -24, nullptr, nullptr);
        UpdateWindow(w);
      },
      [&](int) {
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
      });
  std::vector<char> pixels(800 * 600 * 4);
  Measure(
      "ScrollWindow 24px + band paint", "memmove of the pixels", 1000,
      [&](int) {
        ScrollWindow(w, 0, -24, nullptr, nullptr);
        UpdateWindow(w);
      },
      [&](int) { std::memmove(pixels.data(), pixels.data() + 800 * 4 * 24, 800 * 4 * 576); });
  ReleaseDC(w, direct);
  DestroyWindow(w);
  std::printf("(%ld messages handled)\n", gCounter);
  return 0;
}
