/*
** Logical fonts: creation, and their realisation as Qt fonts. The faces the system names
** map to the metric-compatible Liberation families, so text measures the same on every
** machine; a face that does not exist falls back by its pitch and family, as the platform's
** font mapper does. Heights follow the platform: negative is the character (em) height,
** positive the cell height, both in logical units.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_surface.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace zarne::gdi {

namespace {

enum class Family { Sans, Serif, Mono };

struct FaceMapping {
  const char* face;  // lower case
  Family family;
};

constexpr FaceMapping kFaces[] = {
    {"arial", Family::Sans},           {"helv", Family::Sans},
    {"helvetica", Family::Sans},       {"ms sans serif", Family::Sans},
    {"ms shell dlg", Family::Sans},    {"ms shell dlg 2", Family::Sans},
    {"system", Family::Sans},          {"small fonts", Family::Sans},
    {"liberation sans", Family::Sans}, {"times new roman", Family::Serif},
    {"tms rmn", Family::Serif},        {"times", Family::Serif},
    {"ms serif", Family::Serif},       {"liberation serif", Family::Serif},
    {"courier", Family::Mono},         {"courier new", Family::Mono},
    {"fixedsys", Family::Mono},        {"terminal", Family::Mono},
    {"liberation mono", Family::Mono},
};

/* Default face of a logical font whose face is empty or unknown. */
Family FallbackFamily(const LOGFONT& font) {
  BYTE family = font.lfPitchAndFamily & 0xF0;
  if (family == FF_ROMAN) return Family::Serif;
  if (family == FF_MODERN || (font.lfPitchAndFamily & 0x03) == FIXED_PITCH) return Family::Mono;
  return Family::Sans;
}

bool KnownFace(const LOGFONT& font, Family* family) {
  std::string face(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
  std::transform(face.begin(), face.end(), face.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  for (const FaceMapping& mapping : kFaces) {
    if (face == mapping.face) {
      *family = mapping.family;
      return true;
    }
  }
  return false;
}

Family FamilyOf(const LOGFONT& font) {
  Family family;
  return KnownFace(font, &family) ? family : FallbackFamily(font);
}

const char* QtFamilyName(Family family) {
  switch (family) {
    case Family::Serif: return "Liberation Serif";
    case Family::Mono: return "Liberation Mono";
    default: return "Liberation Sans";
  }
}

/* Em height per unit of cell height (ascent + descent) of a family, measured once. */
double EmPerCellHeight(Family family) {
  static std::map<Family, double> ratios;
  auto found = ratios.find(family);
  if (found != ratios.end()) return found->second;
  QFont probe(QtFamilyName(family));
  probe.setPixelSize(1000);
  QFontMetricsF metrics(probe);
  double cell = metrics.ascent() + metrics.descent();
  double ratio = cell > 0 ? 1000.0 / cell : 1.0;
  ratios[family] = ratio;
  return ratio;
}

}  // namespace

LOGFONT LogFontOf(HGDIOBJ font) {
  GdiObject* object = LookupObject(font, ObjectKind::Font);
  if (!object) object = LookupObject(GetStockObject(SYSTEM_FONT), ObjectKind::Font);
  return object->font;
}

QFont RealizeFont(const LOGFONT& logFont, double deviceUnitsPerLogical, bool raster) {
  Family family = FamilyOf(logFont);
  QFont font(QtFamilyName(family));
  double scale = std::abs(deviceUnitsPerLogical);
  double pixels;
  if (logFont.lfHeight < 0) pixels = -logFont.lfHeight * scale;
  else if (logFont.lfHeight > 0) pixels = logFont.lfHeight * scale * EmPerCellHeight(family);
  else pixels = 13 * scale;  // a height of 0 asks for the default size
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  LONG weight = logFont.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(logFont.lfWeight, 1000);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(logFont.lfItalic != 0);
  font.setUnderline(logFont.lfUnderline != 0);
  font.setStrikeOut(logFont.lfStrikeOut != 0);
  font.setKerning(false);  // text is laid out glyph by glyph, as the platform does
  font.setHintingPreference(QFont::PreferNoHinting);
  // Screens and bitmaps get crisp, exactly repeatable pixels; printers keep smooth outlines.
  font.setStyleStrategy(raster ? QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging)
                               : QFont::NoFontMerging);
  return font;
}

std::string RealizedFaceName(const LOGFONT& font) {
  Family family;
  if (KnownFace(font, &family))
    return std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
  switch (FallbackFamily(font)) {
    case Family::Serif: return "Times New Roman";
    case Family::Mono: return "Courier New";
    default: return "Arial";
  }
}

BYTE TextMetricPitchAndFamily(const LOGFONT& font) {
  // TMPF_FIXED_PITCH set means variable pitch; every face here is a TrueType outline.
  switch (FamilyOf(font)) {
    case Family::Serif: return FF_ROMAN | TMPF_TRUETYPE | TMPF_VECTOR | TMPF_FIXED_PITCH;
    case Family::Mono: return FF_MODERN | TMPF_TRUETYPE | TMPF_VECTOR;
    default: return FF_SWISS | TMPF_TRUETYPE | TMPF_VECTOR | TMPF_FIXED_PITCH;
  }
}

}  // namespace zarne::gdi

using namespace zarne::gdi;

QFont GdiFontToQFont(HFONT font) { return RealizeFont(LogFontOf(font), 1.0, true); }

HFONT CreateFontIndirectA(const LOGFONT* font) {
  if (!font) return nullptr;
  auto object = std::make_unique<GdiObject>();
  object->kind = ObjectKind::Font;
  object->font = *font;
  object->font.lfFaceName[LF_FACESIZE - 1] = '\0';
  return static_cast<HFONT>(RegisterObject(std::move(object)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONT font{};
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfEscapement = escapement;
  font.lfOrientation = orientation;
  font.lfWeight = weight;
  font.lfItalic = static_cast<BYTE>(italic);
  font.lfUnderline = static_cast<BYTE>(underline);
  font.lfStrikeOut = static_cast<BYTE>(strikeOut);
  font.lfCharSet = static_cast<BYTE>(charSet);
  font.lfOutPrecision = static_cast<BYTE>(outPrecision);
  font.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  font.lfQuality = static_cast<BYTE>(quality);
  font.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&font);
}
