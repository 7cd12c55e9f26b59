/*
** Times the framework's hot paths offscreen: a message found at the end of a long response
** table, a message no table names (default handling), a menu command routed from an MDI frame
** to the active child's view, moving a transfer buffer of twelve edits into and out of their
** controls, and a ten-page printout to the "PDF" device. Prints one line per measure.
*/
#include "platform/framework/framework.h"
#include "platform/testing/gui_test.h"
#include "platform/user/winuser.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

long g_hits = 0;

class TBenchView : public TWindow {
 public:
  TBenchView() : TWindow(nullptr) {}
  void Cm() { ++g_hits; }
  LRESULT Ev(WPARAM, LPARAM) { return ++g_hits; }
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
  EV_MESSAGE(WM_USER + 7, Ev),
END_RESPONSE_TABLE;

class TBenchPrintout : public TPrintout {
 public:
  TBenchPrintout() : TPrintout("Bench") {}
  bool HasPage(int page) override { return page <= 10; }
  void PrintPage(int page, TRect&, unsigned) override {
    TPrintDC& dc = *GetPrintDC();
    dc.SetMapMode(MM_LOENGLISH);
    for (int line = 0; line < 50; ++line) {
      std::string text = "Page " + std::to_string(page) + " line " + std::to_string(line) + "  1,234.56";
      dc.TextOut(50, -50 - line * 18, text.c_str());
    }
  }
};

template <typename Work>
void Measure(const char* name, int count, Work work) {
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) work(i);
  double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-40s %8d  %10.3f us each\n", name, count, us / count);
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

  Measure("message at the end of a 23-entry table", 200000,
          [&](int) { view->SendMessage(WM_USER + 7, 0, 0); });
  Measure("message no table names (default)", 200000,
          [&](int) { view->SendMessage(WM_USER + 50, 0, 0); });
  Measure("menu command frame -> MDI child's view", 100000,
          [&](int) { frame.SendMessage(WM_COMMAND, 24337, 0); });

  TWindow form(nullptr, "Form");
  form.Attr.Style = WS_POPUP;
  TEdit* edits[12];
  for (int i = 0; i < 12; ++i) edits[i] = new TEdit(&form, 100 + i, "", 0, i * 20, 100, 18, 36);
  form.Create();
  static char buffer[12 * 36];
  for (int i = 0; i < 12; ++i) std::snprintf(buffer + i * 36, 36, "value %d", i);
  form.SetTransferBuffer(buffer, sizeof buffer);
  Measure("transfer of 12 edits, both directions", 20000, [&](int) {
    form.TransferData(tdSetData);
    form.TransferData(tdGetData);
  });

  TPrinter printer;
  printer.GetSetup().SetDevNames("winspool", "PDF", "PDF:");
  Measure("ten-page printout to PDF", 20, [&](int) {
    TBenchPrintout printout;
    printer.Print(nullptr, printout, false);
  });
  std::printf("(handler calls: %ld)\n", g_hits);
  std::string cleanup = std::string("rm -rf '") + root + "'";
  return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
