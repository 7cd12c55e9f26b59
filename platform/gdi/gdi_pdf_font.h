/*
** A TrueType face as the PDF writer embeds it: the glyphs a document uses, what text each
** stands for, their widths, and at the end the font's objects (a Type 0 font over a
** CIDFontType2 whose codes are the glyph ids, the font program cut down to the used glyphs,
** and a ToUnicode map so the text reads back). Private to the library.
*/
#ifndef ZARNE_PLATFORM_GDI_GDI_PDF_FONT_H
#define ZARNE_PLATFORM_GDI_GDI_PDF_FONT_H

#include <QByteArray>
#include <QRawFont>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zarne::gdi {

class PdfFile;

/* The tables of a face the writer reads, and its PostScript name: read from the font once
   and shared by every document that embeds the face (each read copies whole tables, the
   glyph outlines among them). */
struct PdfFaceTables {
  QByteArray head, hhea, hmtx, loca, glyf, maxp, post, os2, cvt, fpgm, prep, name;
  std::string postScriptName;
};

class PdfFont {
 public:
  /* False when the face's tables cannot be read (not a TrueType outline font). */
  explicit PdfFont(const QRawFont& face);
  bool usable() const { return usable_; }
  /* The glyph's advance as the PDF's widths give it, thousandths of the em. */
  int width(quint32 glyph);
  /* Notes that a glyph is drawn for a character (the first character given is kept). */
  void use(quint32 glyph, QChar character) {
    if (glyph < seen_.size() && !seen_[glyph]) {
      seen_[glyph] = 1;
      used_.emplace(glyph, character);
    }
  }
  /* Writes the font's objects; `fontObject` is the Type 0 font's number. */
  bool write(PdfFile& file, int fontObject) const;

 private:
  int designWidth(quint32 glyph) const;
  QByteArray subsetProgram() const;

  bool usable_ = false;
  std::shared_ptr<const PdfFaceTables> tables_;
  int unitsPerEm_ = 1000;
  int numberOfHMetrics_ = 0;
  int numGlyphs_ = 0;
  bool longLoca_ = false;
  std::map<quint32, QChar> used_;  // glyph -> the character it stands for
  std::vector<char> seen_;         // by glyph
  std::vector<int> widths_;        // by glyph; -1 not yet worked out
};

}  // namespace zarne::gdi

#endif
