/*
** Saved-configuration timings, each beside a baseline from the same run (median of runs):
**  (a) saving a 250-column configuration with headings and list items (DlgBuffSaveTessel),
**      against formatting the same lines with snprintf into a std::string (goal <= 3 x);
**  (b) loading it into a grid (DlgBuffLoadTessel), against sending the same 250
**      TSM_SETCOLDEFEX records to a reset grid directly (goal <= 2 x).
** Run with QT_QPA_PLATFORM=offscreen from the build's bin directory.
*/
#include "grid/configurations.h"
#include "grid/tessel.h"
#include "grid/tessel_record.h"
#include "platform/testing/gui_test.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const int kColumns = 250;

struct Spec {
  std::string format, heading, name, list;
};

Spec SpecOf(int c) {
  return {c % 3 ? "#,##0.00" : "", "Heading of column " + std::to_string(c),
          "Col" + std::to_string(c), "First item\tSecond item\tThird item " + std::to_string(c)};
}

TesselColDefEx RecordOf(int c, const Spec& spec) {
  TesselColDefEx record{};
  record.version = 25;
  record.flags = TSCS_EDIT | TSCS_RIGHT;
  record.type = c % 2 ? TST_REAL8 : TST_ZSTRING;
  record.length = c % 2 ? 8 : 16;
  record.width = 50;
  record.format = const_cast<char*>(spec.format.c_str());
  record.heading = const_cast<char*>(spec.heading.c_str());
  record.name = const_cast<char*>(spec.name.c_str());
  record.listItems = const_cast<char*>(spec.list.c_str());
  return record;
}

double Median(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

/* The writer's lines for the same values, formatted directly. */
std::string FormattedBaseline(const std::vector<Spec>& specs) {
  std::string text;
  char line[600];
  auto put = [&](int n) { text.append(line, static_cast<size_t>(n)); };
  put(std::snprintf(line, sizeof line, "%s %s %s\r\n", "Bench", "TESSELCFG",
                    "LOADONCALL MOVEABLE DISCARDABLE"));
  put(std::snprintf(line, sizeof line, "BEGIN\r\n"));
  put(std::snprintf(line, sizeof line, "%u, %d, %d, 0x%04X, %d, 0x%04X, 0x%04X, 0x%04X, 0x%04X\r\n",
                    8u, 25, kColumns, 0xC0, -4, 0, 0, 0, 0));
  for (int c = 0; c < kColumns; ++c) {
    const Spec& s = specs[static_cast<size_t>(c)];
    put(std::snprintf(line, sizeof line, "   %s, %s, %d, %d, %d, %d, %d, %d, 0x%04X, 0x%04X,\r\n",
                      "0x0084", c % 2 ? "TST_REAL8" : "TST_ZSTRING", c % 2 ? 8 : 16, 50, 0, 0, 0, 0,
                      0, 0));
    for (const std::string* t : {&s.format, &s.heading, &s.name, &s.list})
      put(std::snprintf(line, sizeof line, "   \"%s\\0\",\r\n", t->c_str()));
  }
  put(std::snprintf(line, sizeof line, "END\r\n\r\n"));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  EnsureTestApplication();
  if (!LoadLibrary("vgrd32.dll")) {
    std::fprintf(stderr, "vgrd32.dll did not load\n");
    return 1;
  }
  int runs = argc > 1 ? std::atoi(argv[1]) : 50;
  HWND parent = CreateWindow("static", "Bench", WS_OVERLAPPED, 0, 0, 800, 600, nullptr, nullptr,
                             nullptr, nullptr);
  HWND grid = CreateWindow("Tessel", "", WS_CHILD | WS_VISIBLE | TSS_HGRID | TSS_VGRID, 0, 0, 780,
                           580, parent, reinterpret_cast<HMENU>(200), nullptr, nullptr);
  std::vector<Spec> specs;
  for (int c = 0; c < kColumns; ++c) specs.push_back(SpecOf(c));
  auto define = [&](HWND target) {
    SendMessage(target, TSM_RESET, 0, 0);
    SendMessage(target, TSM_SETCOLCOUNT, kColumns, 0);
    for (int c = 0; c < kColumns; ++c) {
      TesselColDefEx record = RecordOf(c, specs[static_cast<size_t>(c)]);
      SendMessage(target, TSM_SETCOLDEFEX, static_cast<WPARAM>(c),
                  reinterpret_cast<LPARAM>(&record));
    }
  };
  define(grid);

  std::string text;
  double save = Median(runs, [&] {
    HGLOBAL block = GlobalAlloc(GHND, 2048);
    DlgBuffSaveTessel(block, "Bench", grid);
    text = static_cast<const char*>(GlobalLock(block));
    GlobalUnlock(block);
    GlobalFree(block);
  });
  std::string baseline;
  double format = Median(runs, [&] { baseline = FormattedBaseline(specs); });
  std::printf(
      "(a) save 250 columns (%zu bytes): writer %8.1f us  snprintf baseline %8.1f us  ratio %5.2f (goal <= 3)\n",
      text.size(), save * 1e6, format * 1e6, save / format);

  HGLOBAL block = GlobalAlloc(GHND, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  HWND target = CreateWindow("Tessel", "", WS_CHILD | WS_VISIBLE | TSS_HGRID | TSS_VGRID, 0, 0, 780,
                             580, parent, reinterpret_cast<HMENU>(201), nullptr, nullptr);
  int result = 0;
  double load = Median(runs, [&] { result = DlgBuffLoadTessel(block, "Bench", target); });
  double direct = Median(runs, [&] { define(target); });
  std::printf(
      "(b) load 250 columns (result %d): reader %8.1f us  direct TSM_SETCOLDEFEX %8.1f us  ratio %5.2f (goal <= 2)\n",
      result, load * 1e6, direct * 1e6, load / direct);
  GlobalFree(block);
  return 0;
}
