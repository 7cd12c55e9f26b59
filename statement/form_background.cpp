/*
** The shared picture of the screen form: full-width bands of the paper, each a memory DC
** holding a bitmap, drawn by pntfrm32 the first time a paint reaches it.
*/
#include "statement/form_background.h"

#include "hudform/hudform_exports.h"
#include "hudform/print_layout.h"
#include "hud_print_tables.inc"
#include "platform/gdi/gdi.h"

#include <algorithm>

namespace {

/* Rows of one band: opening a file draws the bands its window shows, little beyond. */
constexpr int kBandRows = 256;
constexpr int kBandCount = (kScreenFormPaperHeight + kBandRows - 1) / kBandRows;
/* Bands held at once, the least recently painted let go first: a tall window's worth, about
   9.7 MB at the form's 1186-pixel width. */
constexpr int kBandsHeld = 8;

struct Band {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  unsigned long long lastUse = 0;
};

// Owner: statement.
Band gFormBands[kBandCount];
// Owner: statement.
unsigned long long gFormBandUses = 0;

void Free(Band& band) {
  SelectObject(band.dc, band.previous);
  DeleteObject(band.bitmap);
  DeleteDC(band.dc);
  band = Band();
}

/* Makes room for one more band under the bound. */
void FreeLeastRecentIfFull() {
  Band* oldest = nullptr;
  int held = 0;
  for (Band& band : gFormBands) {
    if (!band.dc) continue;
    ++held;
    if (!oldest || band.lastUse < oldest->lastUse) oldest = &band;
  }
  if (held >= kBandsHeld && oldest) Free(*oldest);
}

int BandTop(int index) { return index * kBandRows; }
int BandBottom(int index) { return std::min(BandTop(index + 1), kScreenFormPaperHeight); }

/* The band's DC, with the band drawn; null when the memory for it was refused. The band's
   DC is shifted so that it takes form coordinates, as the window's DC does. */
HDC DrawnBand(int index) {
  Band& band = gFormBands[index];
  band.lastUse = ++gFormBandUses;
  if (band.dc) return band.dc;
  FreeLeastRecentIfFull();
  const int top = BandTop(index), bottom = BandBottom(index);
  // The screen's kind of DC and bitmap, whatever DC the paint came with.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = dc ? CreateBitmap(kScreenFormPaperWidth, bottom - top, 1, 32, nullptr) : nullptr;
  if (!bitmap) {
    if (dc) DeleteDC(dc);
    return nullptr;
  }
  band.previous = SelectObject(dc, bitmap);
  SetViewportOrgEx(dc, 0, -top, nullptr);
  RECT whole{0, top, kScreenFormPaperWidth, bottom};
  PaintRespaBackground(dc, &whole);
  band.dc = dc;
  band.bitmap = bitmap;
  band.lastUse = gFormBandUses;
  return dc;
}

}  // namespace

void PaintFormBackground(HDC dc, const RECT& rect) {
  // The drawing it stands for fills one pixel past the rectangle's right and bottom edges.
  const int left = std::max(0, static_cast<int>(rect.left));
  const int right = std::min(kScreenFormPaperWidth, static_cast<int>(rect.right) + 1);
  const int top = std::max(0, static_cast<int>(rect.top));
  const int bottom = std::min(kScreenFormPaperHeight, static_cast<int>(rect.bottom) + 1);
  if (left >= right || top >= bottom) return;
  for (int index = top / kBandRows; index < kBandCount && BandTop(index) < bottom; ++index) {
    const int partTop = std::max(top, BandTop(index));
    const int partBottom = std::min(bottom, BandBottom(index));
    RECT part{left, partTop, right, partBottom};
    if (!RectVisible(dc, &part)) continue;
    HDC band = DrawnBand(index);
    if (band)
      BitBlt(dc, left, partTop, right - left, partBottom - partTop, band, left, partTop, SRCCOPY);
    else PaintRespaBackground(dc, &part);
  }
}

void ReleaseFormBackground() {
  for (Band& band : gFormBands)
    if (band.dc) Free(band);
}
