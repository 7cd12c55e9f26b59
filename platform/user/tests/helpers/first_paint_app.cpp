/*
** A program that shows a window and changes it during a start-up that never runs a message
** loop, as a splash screen does, reading back after each step what the display itself
** holds (the root window's pixels). Prints one line per check and exits 0 when every one
** held. Argument: the prefix of the PNG files it writes of the display.
*/
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <string>

namespace {

COLORREF gFill = RGB(255, 0, 0);

LRESULT CALLBACK SplashProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(gFill);
    RECT client;
    GetClientRect(hwnd, &client);
    client.bottom = 60;  // the status line below stays the dialog colour
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

QImage DisplayPixels() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

QColor AtClient(const QImage& shot, HWND hwnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  return shot.pixelColor(p.x, p.y);
}

/* How many pixels of a screen rectangle differ between two shots. */
int Differing(const QImage& a, const QImage& b, const RECT& r) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) count += a.pixel(x, y) != b.pixel(x, y);
  return count;
}

bool Check(bool held, const char* what) {
  std::printf("%s %s\n", held ? "ok" : "FAILED", what);
  return held;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string prefix = argc > 1 ? argv[1] : "/tmp/first_paint";
  WNDCLASS wc{};
  wc.lpfnWndProc = SplashProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "StartupSplash";
  RegisterClass(&wc);
  HWND splash = CreateWindow("StartupSplash", "", WS_POPUP | WS_BORDER, 80, 60, 320, 100, nullptr,
                             nullptr, nullptr, nullptr);
  HWND status =
      CreateWindow("static", "Initializing database.", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 66,
                   300, 24, splash, reinterpret_cast<HMENU>(101), nullptr, nullptr);
  if (!splash || !status) return 2;
  bool all = true;

  ShowWindow(splash, SW_SHOWNORMAL);
  QImage first = DisplayPixels();
  first.save(QString::fromStdString(prefix + "-first.png"));
  all &= Check(AtClient(first, splash, 150, 30) == QColor(255, 0, 0), "first paint on the display");

  RECT statusArea;
  GetWindowRect(status, &statusArea);
  gFill = RGB(0, 0, 255);
  SetWindowText(status, "Opening BUYER");
  InvalidateRect(splash, nullptr, TRUE);
  UpdateWindow(splash);
  QImage updated = DisplayPixels();
  updated.save(QString::fromStdString(prefix + "-update.png"));
  all &= Check(AtClient(updated, splash, 150, 30) == QColor(0, 0, 255),
               "UpdateWindow repaint on the display");
  all &= Check(Differing(first, updated, statusArea) > 20, "new status text on the display");
  return all ? 0 : 1;
}
