/*
** Fuzz target: the check printout over a layout and a check that came from outside: the 128
** bytes of chkform.dat (another program or a damaged disk may write any values), then the
** ACCOUNT fields another station may have stored (amount as raw double bits, date number,
** check number) and the file number, payee, description, buyers' and sellers' texts
** separated by NUL bytes. The page is drawn on a recording DC and checked: only placed
** positions are drawn, each point at its own layout value, each box with a rectangle that
** starts at its value and never runs backwards, texts no longer than their fields, in the
** check font, at most two calls per item.
*/
#include "accounting/check_printout.h"
#include "accounting/ledger_rows.h"
#include "fuzz/fuzz_support.h"
#include "platform/framework/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/testing/gui_test.h"
#include "platform/testing/recording_dc.h"
#include "tableaccess/check_form_settings.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct TItem {
  int first;
  bool box;
};
constexpr TItem kItems[] = {{0, false}, {4, false},  {8, false}, {12, false},
                            {16, true}, {24, true},  {32, true}, {40, false},
                            {44, true}, {52, false}, {56, true}};

/* The layout values from the first 128 bytes; missing ones are unplaced. */
void ReadLayout(const uint8_t* data, size_t size, short* layout) {
  for (int i = 0; i < kCheckFormValueCount; ++i) {
    const size_t at = static_cast<size_t>(i) * 2;
    layout[i] =
        at + 1 < size ? static_cast<short>(data[at] | (data[at + 1] << 8)) : kCheckFormUnset;
  }
}

std::vector<std::string> Texts(const uint8_t* data, size_t size) {
  std::vector<std::string> texts(5);
  size_t field = 0;
  for (size_t i = 0; i < size && field < texts.size(); ++i) {
    if (data[i] == 0) ++field;
    else texts[field] += static_cast<char>(data[i]);
  }
  return texts;
}

bool MatchesPoint(const short* layout, const GdiDrawRecord& call) {
  for (const TItem& item : kItems) {
    if (item.box) continue;
    for (int at : {item.first, item.first + 2})
      if (layout[at] >= 0 && layout[at + 1] >= 0 && call.points[0].x == layout[at] &&
          call.points[0].y == -layout[at + 1])
        return true;
  }
  return false;
}

bool MatchesBox(const short* layout, const GdiDrawRecord& call) {
  for (const TItem& item : kItems) {
    if (!item.box) continue;
    for (int at : {item.first, item.first + 4}) {
      const int x = layout[at], y = layout[at + 1], w = layout[at + 2], h = layout[at + 3];
      if (x >= 0 && y >= 0 && w >= 0 && h >= 0 && call.rect.left == x && call.rect.top == -y &&
          call.rect.right == x + w && call.rect.bottom == -y - h)
        return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnsureTestApplication();  // fonts need the application
  short layout[kCheckFormValueCount];
  ReadLayout(data, size, layout);
  const uint8_t* rest = size > kCheckFormFileSize ? data + kCheckFormFileSize : nullptr;
  size_t restSize = rest ? size - kCheckFormFileSize : 0;

  TDisburseCheckRow row{};
  double amount = 0.0;
  if (restSize >= 16) {
    std::memcpy(&amount, rest, 8);
    std::memcpy(&row.Date, rest + 8, 4);
    std::memcpy(&row.Number, rest + 12, 4);
    rest += 16;
    restSize -= 16;
  }
  SetRowAmount(row, amount);
  std::vector<std::string> texts = Texts(rest, restSize);
  // Row fields hold what the grid gives: cut to their length, terminated or full.
  std::strncpy(row.FileNum, texts[0].c_str(), sizeof row.FileNum);
  std::strncpy(row.PayeeDepositor, texts[1].c_str(), sizeof row.PayeeDepositor);
  std::strncpy(row.Description, texts[2].c_str(), sizeof row.Description);

  TPrintDC dc(GdiCreateRecordingDC());
  TCheckPrintout printout("Check", &row, texts[3].c_str(), texts[4].c_str(), layout);
  printout.SetPrintParams(&dc, TSize(2400, 3150));
  TRect band(0, 0, 2400, 3150);
  printout.PrintPage(1, band, pfBoth);
  printout.SetPrintParams(nullptr, TSize(0, 0));

  const std::vector<GdiDrawRecord> calls = GdiRecordedCalls(dc.GetHDC());
  size_t drawn = 0;
  for (const GdiDrawRecord& call : calls) {
    if (call.call == "TextOut") {
      FuzzRequire(!call.points.empty() && MatchesPoint(layout, call),
                  "a point drawn where the layout places none");
      FuzzRequire(call.text.size() <= 448, "a point text longer than any value form");
    } else if (call.call == "DrawText") {
      FuzzRequire(MatchesBox(layout, call), "a box drawn where the layout places none");
      FuzzRequire(call.text.size() <= std::max<size_t>({60, texts[3].size(), texts[4].size(), 128}),
                  "a box text longer than its source");
    } else {
      continue;
    }
    ++drawn;
    FuzzRequire(call.fontFace == "Helv" && call.fontHeight == -138 && call.fontWeight == 700,
                "an item drawn in another font than the check font");
  }
  FuzzRequire(drawn <= 22, "more than two calls per item");
  return 0;
}
