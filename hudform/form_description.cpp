/*
** The form description's assembly and its geometries: where each band lies on the screen
** form and on each printed page, and the signature block's rows.
**
** On paper a few positions are fixed (the loan boxes, the settlement dates, line 101, lines
** 1107 and 1108, line 1400); the bands between two fixed positions share the height between
** them by their weights, so both page-2 layouts meet the same fixed rows.
*/
#include "hudform/form_description.h"

#include "hudform/form_parts.h"

#include <cstring>

namespace hudform {

namespace {

constexpr int kScreenPageGap = 12;  // pixels between page 1 and page 2 on screen

FormDescription BuildForm() {
  FormDescription form;
  FormBuilder builder(form);
  BuildPage1(builder);
  BuildPage2(builder);
  return form;
}

struct Anchor {
  const char* tag;  // null: the bottom of the page's last band
  int top;
};

const Anchor kPage1Anchors[] = {{"title", 0},         {"loanvalues", -380}, {"note", -640},
                                {"decap", -900},      {"fgcap", -1720},     {"hcap", -2690},
                                {"h1", -2830},        {"h2", -2980},        {"l101", -3720},
                                {"p1footer", -12950}, {nullptr, -13150}};
const Anchor kPage2StandardAnchors[] = {{"lhdr", 0},      {"l700", -420},   {"l900", -3300},
                                        {"l1107", -7100}, {"l1108", -7270}, {"l1400", -10700},
                                        {nullptr, -10880}};
const Anchor kPage2ExtendedAnchors[] = {{"lhdr", 0},      {"l700", -420},   {"l812", -3300},
                                        {"l1107", -8790}, {"l1108", -8960}, {"l1400", -12730},
                                        {nullptr, -12910}};

Page PageOf(Geometry geometry) { return geometry == Geometry::Page1 ? Page::One : Page::Two; }

int FindTag(const FormDescription& form, const char* tag) {
  for (size_t i = 0; i < form.bands.size(); ++i) {
    if (form.bands[i].tag && std::strcmp(form.bands[i].tag, tag) == 0) return static_cast<int>(i);
  }
  return -1;
}

std::vector<Span> ScreenSpans(const FormDescription& form) {
  std::vector<Span> spans(form.bands.size());
  int y = 0;
  for (size_t i = 0; i < form.bands.size(); ++i) {
    const Band& band = form.bands[i];
    if (i > 0 && band.page != form.bands[i - 1].page) y += kScreenPageGap;
    if (!BandInGeometry(band, Geometry::Screen)) continue;
    spans[i] = Span{y, y + band.screenHeight, true};
    y += band.screenHeight;
  }
  return spans;
}

/* Shares the height between consecutive fixed positions among the bands between them. */
template <size_t N>
std::vector<Span> PrintSpans(const FormDescription& form, Geometry geometry,
                             const Anchor (&anchors)[N]) {
  std::vector<Span> spans(form.bands.size());
  const int bandCount = static_cast<int>(form.bands.size());
  int lastOfPage = -1;
  for (int i = 0; i < bandCount; ++i) {
    if (BandInGeometry(form.bands[i], geometry)) lastOfPage = i;
  }
  for (size_t a = 0; a + 1 < N; ++a) {
    const int from = FindTag(form, anchors[a].tag);
    const int to = anchors[a + 1].tag ? FindTag(form, anchors[a + 1].tag) : lastOfPage + 1;
    if (from < 0 || to < 0) continue;  // a tag lost in an edit shows up in the tests
    int weightSum = 0;
    for (int i = from; i < to; ++i) {
      if (BandInGeometry(form.bands[i], geometry)) weightSum += form.bands[i].printWeight;
    }
    const int height = anchors[a].top - anchors[a + 1].top;
    int weightSoFar = 0;
    for (int i = from; i < to; ++i) {
      const Band& band = form.bands[i];
      if (!BandInGeometry(band, geometry)) continue;
      const int top = anchors[a].top - (weightSum ? height * weightSoFar / weightSum : 0);
      weightSoFar += band.printWeight;
      const int bottom = anchors[a].top - (weightSum ? height * weightSoFar / weightSum : 0);
      spans[i] = Span{top, bottom, true};
    }
  }
  return spans;
}

}  // namespace

const FormDescription& Form() {
  static const FormDescription form = BuildForm();
  return form;
}

bool BandInGeometry(const Band& band, Geometry geometry) {
  if (geometry == Geometry::Screen) return band.shown != Shown::PrintOnly;
  if (band.shown == Shown::ScreenOnly || band.page != PageOf(geometry)) return false;
  return geometry != Geometry::Page2Standard || !band.extendedOnly;
}

bool CellInGeometry(const Cell& cell, Geometry geometry) {
  return geometry == Geometry::Screen ? cell.shown != Shown::PrintOnly
                                      : cell.shown != Shown::ScreenOnly;
}

const std::vector<Span>& BandSpans(Geometry geometry) {
  static const std::vector<Span> screen = ScreenSpans(Form());
  static const std::vector<Span> page1 = PrintSpans(Form(), Geometry::Page1, kPage1Anchors);
  static const std::vector<Span> standard =
      PrintSpans(Form(), Geometry::Page2Standard, kPage2StandardAnchors);
  static const std::vector<Span> extended =
      PrintSpans(Form(), Geometry::Page2Extended, kPage2ExtendedAnchors);
  switch (geometry) {
    case Geometry::Screen: return screen;
    case Geometry::Page1: return page1;
    case Geometry::Page2Standard: return standard;
    case Geometry::Page2Extended: return extended;
  }
  return screen;
}

int ScreenFormWidth() { return ScreenX(kFormRight) + 1; }

int ScreenFormHeight() {
  int height = 0;
  for (const Span& span : BandSpans(Geometry::Screen)) {
    if (span.present && span.bottom > height) height = span.bottom;
  }
  return height + 1;
}

int PrintPageHeight(Geometry geometry, bool withSignatureBlock) {
  switch (geometry) {
    case Geometry::Page2Standard: return withSignatureBlock ? 13250 : 11580;
    case Geometry::Page2Extended: return withSignatureBlock ? 15700 : 13630;
    default: return 13250;
  }
}

int SignatureOrigin(SignaturePlace place) {
  switch (place) {
    case SignaturePlace::Page2Standard: return -11470;
    case SignaturePlace::Page2Extended: return -13530;
    case SignaturePlace::Page3: return -2340;
  }
  return -2340;
}

const std::vector<SignatureRow>& SignatureRows() {
  static const std::vector<SignatureRow> rows = [] {
    std::vector<SignatureRow> list;
    for (int k = 0; k < 4; ++k)
      list.push_back({static_cast<std::int16_t>(102 + 10 * k), 600,
                      static_cast<std::int16_t>(kSignaturePitch * k), Side::Borrower});
    for (int k = 0; k < 4; ++k)
      list.push_back({static_cast<std::int16_t>(143 + 10 * k), 4700,
                      static_cast<std::int16_t>(kSignaturePitch * k), Side::Seller});
    list.push_back({212, 3500, kSignatureAgentDy, Side::Both});
    return list;
  }();
  return rows;
}

}  // namespace hudform
