/*
** Times the framework's hot paths offscreen: a message found at the end of a long response
** table, a message no table names (default handling), a menu command routed from an MDI frame
** to the active child's view, moving a transfer buffer of twelve edits into and out of their
** controls, and a ten-page printout to the "PDF" device. Each is printed beside a baseline
** from the same run: the same message sent to a plain window procedure, the command sent
** straight to the view, the twelve texts set and read with SetWindowText and GetWindowText,
** and the same ten pages written with QPdfWriter; then the ratio.
*/
#include "platform/framework/framework.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <QPainter>
#include <QPdfWriter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

long gHits = 0;

class TBenchView : public TWindow {
 public:
  TBenchView() : TWindow(nullptr) {}
  void Cm() { ++gHits; }
  LRESULT Ev(WPARAM, LPARAM) { return ++gHits; }
  DECLARE_RESPONSE_TABLE(TBenchView);
};
// A table as long as the statement window's, the measured entries last.
DEFINE_RESPONSE_TABLE1(TBenchView, TWindow)
EV_COMMAND(1, Cm), EV_COMMAND(4, Cm), EV_COMMAND(5, Cm), EV_COMMAND(6, Cm), EV_COMMAND(7, Cm),
    EV_COMMAND(8, Cm), EV_COMMAND(9, Cm), EV_COMMAND(10, Cm), EV_COMMAND(11, Cm),
    EV_COMMAND(901, Cm), EV_COMMAND(902, Cm), EV_COMMAND(9070, Cm), EV_COMMAND(24333, Cm),
    EV_COMMAND(24334, Cm), EV_COMMAND(24339, Cm), EV_MESSAGE(WM_USER + 0, Ev),
    EV_MESSAGE(WM_USER + 1, Ev), EV_MESSAGE(WM_USER + 2, Ev), EV_MESSAGE(WM_USER + 3, Ev),
    EV_MESSAGE(WM_USER + 4, Ev), EV_MESSAGE(WM_USER + 5, Ev), EV_COMMAND(24337, Cm),
    EV_MESSAGE(WM_USER + 7, Ev), END_RESPONSE_TABLE;

class TBenchPrintout : public TPrintout {
 public:
  TBenchPrintout() : TPrintout("Bench") {}
  bool HasPage(int page) override { return page <= 10; }
  void PrintPage(int page, TRect&, unsigned) override {
    TPrintDC& dc = *GetPrintDC();
    dc.SetMapMode(MM_LOENGLISH);
    for (int line = 0; line < 50; ++line) {
      std::string text =
          "Page " + std::to_string(page) + " line " + std::to_string(line) + "  1,234.56";
      dc.TextOut(50, -50 - line * 18, text.c_str());
    }
  }
};

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
  std::printf("%-40s %8d  %10.3f us each   %-24s %10.3f us   ratio %6.2f\n", name, count, us,
              baselineName, base, us / base);
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 7 || message == WM_COMMAND) return ++gHits;
  return DefWindowProc(hwnd, message, wParam, lParam);
}

/* The printout's ten pages written straight with Qt's PDF writer. */
void WritePlainPdf(const std::string& path) {
  QPdfWriter writer(QString::fromStdString(path));
  writer.setResolution(100);  // MM_LOENGLISH: a hundredth of an inch
  QPainter painter(&writer);
  for (int page = 1; page <= 10; ++page) {
    if (page > 1) writer.newPage();
    for (int line = 0; line < 50; ++line) {
      std::string text =
          "Page " + std::to_string(page) + " line " + std::to_string(line) + "  1,234.56";
      painter.drawText(50, 50 + line * 18, QString::fromStdString(text));
    }
  }
}

}  // namespace

int main() {
  char root[] = "/tmp/zarne-framework-bench-XXXXXX";
  if (!mkdtemp(root)) return 1;
  setenv("ZARNE_ROOT", root, 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  EnsureTestApplication();

  auto* client = new TMDIClient;
  TDecoratedMDIFrame frame("Bench", TResId(), *client);
  frame.Create();
  auto* view = new TBenchView;
  auto* child = new TMDIChild(*client, "File", view);
  child->Create();

  WNDCLASS plainClass{};
  plainClass.lpfnWndProc = PlainProc;
  plainClass.lpszClassName = "BenchPlain";
  RegisterClass(&plainClass);
  HWND plain =
      CreateWindow("BenchPlain", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);

  Measure(
      "message at the end of a 23-entry table", "plain window procedure", 200000,
      [&](int) { view->SendMessage(WM_USER + 7, 0, 0); },
      [&](int) { SendMessage(plain, WM_USER + 7, 0, 0); });
  Measure(
      "message no table names (default)", "plain window procedure", 200000,
      [&](int) { view->SendMessage(WM_USER + 50, 0, 0); },
      [&](int) { SendMessage(plain, WM_USER + 50, 0, 0); });
  Measure(
      "menu command frame -> MDI child's view", "command sent to the view", 100000,
      [&](int) { frame.SendMessage(WM_COMMAND, 24337, 0); },
      [&](int) { view->SendMessage(WM_COMMAND, 24337, 0); });

  TWindow form(nullptr, "Form");
  form.Attr.Style = WS_POPUP;
  TEdit* edits[12];
  for (int i = 0; i < 12; ++i) edits[i] = new TEdit(&form, 100 + i, "", 0, i * 20, 100, 18, 36);
  form.Create();
  static char buffer[12 * 36];
  for (int i = 0; i < 12; ++i) std::snprintf(buffer + i * 36, 36, "value %d", i);
  form.SetTransferBuffer(buffer, sizeof buffer);
  Measure(
      "transfer of 12 edits, both directions", "Set/GetWindowText x 12", 20000,
      [&](int) {
        form.TransferData(tdSetData);
        form.TransferData(tdGetData);
      },
      [&](int) {
        for (int i = 0; i < 12; ++i) SetWindowText(edits[i]->HWindow, buffer + i * 36);
        for (int i = 0; i < 12; ++i) GetWindowText(edits[i]->HWindow, buffer + i * 36, 36);
      });

  TPrinter printer;
  printer.GetSetup().SetDevNames("winspool", "PDF", "PDF:");
  std::string plainPdf = std::string(root) + "/plain.pdf";
  Measure(
      "ten-page printout to PDF", "QPdfWriter, same pages", 20,
      [&](int) {
        TBenchPrintout printout;
        printer.Print(nullptr, printout, false);
      },
      [&](int) { WritePlainPdf(plainPdf); });
  DestroyWindow(plain);
  std::printf("(handler calls: %ld)\n", gHits);
  std::string cleanup = std::string("rm -rf '") + root + "'";
  return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
