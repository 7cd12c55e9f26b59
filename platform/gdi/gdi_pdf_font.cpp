/*
** Embedding a TrueType face: its tables read through QRawFont, the glyph outlines cut down
** to the glyphs used (the rest left empty, so glyph ids stay as they are and serve as the
** PDF's character codes), widths in thousandths of the em, and a ToUnicode map.
*/
#include "platform/gdi/gdi_pdf_font.h"

#include "platform/gdi/gdi_pdf_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

namespace zarne::gdi {

namespace {

quint16 U16(const QByteArray& table, int at) {
  if (at < 0 || at + 2 > table.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(table.constData()) + at;
  return static_cast<quint16>(p[0] << 8 | p[1]);
}
qint16 S16(const QByteArray& table, int at) { return static_cast<qint16>(U16(table, at)); }
quint32 U32(const QByteArray& table, int at) { return static_cast<quint32>(U16(table, at)) << 16 | U16(table, at + 2); }

void Put16(QByteArray& out, quint16 v) {
  out.append(static_cast<char>(v >> 8));
  out.append(static_cast<char>(v & 0xFF));
}
void Put32(QByteArray& out, quint32 v) {
  Put16(out, static_cast<quint16>(v >> 16));
  Put16(out, static_cast<quint16>(v & 0xFFFF));
}
void Set16(QByteArray& out, int at, quint16 v) {
  out[at] = static_cast<char>(v >> 8);
  out[at + 1] = static_cast<char>(v & 0xFF);
}
void Set32(QByteArray& out, int at, quint32 v) {
  Set16(out, at, static_cast<quint16>(v >> 16));
  Set16(out, at + 2, static_cast<quint16>(v & 0xFFFF));
}

quint32 TableChecksum(const QByteArray& table) {
  quint32 sum = 0;
  QByteArray padded = table;
  while (padded.size() % 4) padded.append('\0');
  for (int i = 0; i < padded.size(); i += 4) sum += U32(padded, i);
  return sum;
}

quint32 Tag(const char* name) {
  return static_cast<quint32>(static_cast<unsigned char>(name[0])) << 24 |
         static_cast<quint32>(static_cast<unsigned char>(name[1])) << 16 |
         static_cast<quint32>(static_cast<unsigned char>(name[2])) << 8 | static_cast<unsigned char>(name[3]);
}

/* A TrueType file of the given tables (tags in ascending order). */
QByteArray AssembleFont(const std::vector<std::pair<const char*, QByteArray>>& tables) {
  QByteArray out;
  const int count = static_cast<int>(tables.size());
  int power = 1, log2 = 0;
  while (power * 2 <= count) {
    power *= 2;
    ++log2;
  }
  Put32(out, 0x00010000);
  Put16(out, static_cast<quint16>(count));
  Put16(out, static_cast<quint16>(power * 16));
  Put16(out, static_cast<quint16>(log2));
  Put16(out, static_cast<quint16>(count * 16 - power * 16));
  quint32 offset = 12 + 16 * count;
  for (const auto& [tag, data] : tables) {
    Put32(out, Tag(tag));
    Put32(out, TableChecksum(data));
    Put32(out, offset);
    Put32(out, static_cast<quint32>(data.size()));
    offset += (static_cast<quint32>(data.size()) + 3) & ~3u;
  }
  for (const auto& table : tables) {
    out.append(table.second);
    while (out.size() % 4) out.append('\0');
  }
  return out;
}

std::string Hex4(quint32 value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out(4, '0');
  for (int i = 3; i >= 0; --i, value >>= 4) out[i] = kDigits[value & 0xF];
  return out;
}

}  // namespace

PdfFont::PdfFont(const QRawFont& face) : face_(face) {
  head_ = face.fontTable("head");
  hhea_ = face.fontTable("hhea");
  hmtx_ = face.fontTable("hmtx");
  loca_ = face.fontTable("loca");
  glyf_ = face.fontTable("glyf");
  maxp_ = face.fontTable("maxp");
  if (head_.size() < 54 || hhea_.size() < 36 || maxp_.size() < 6 || loca_.isEmpty() || glyf_.isEmpty()) return;
  unitsPerEm_ = std::max<int>(16, U16(head_, 18));
  longLoca_ = S16(head_, 50) != 0;
  numberOfHMetrics_ = U16(hhea_, 34);
  numGlyphs_ = U16(maxp_, 4);
  if (numberOfHMetrics_ == 0 || hmtx_.size() < numberOfHMetrics_ * 4) return;
  if (loca_.size() < (numGlyphs_ + 1) * (longLoca_ ? 4 : 2)) return;
  widths_.assign(static_cast<size_t>(numGlyphs_), -1);
  seen_.assign(static_cast<size_t>(numGlyphs_), 0);
  usable_ = true;
}

int PdfFont::designWidth(quint32 glyph) const {
  int index = std::min<int>(static_cast<int>(glyph), numberOfHMetrics_ - 1);
  return static_cast<int>(std::lround(U16(hmtx_, index * 4) * 1000.0 / unitsPerEm_));
}

int PdfFont::width(quint32 glyph) {
  if (glyph >= widths_.size()) return 0;
  int& known = widths_[glyph];
  if (known < 0) known = designWidth(glyph);
  return known;
}

QByteArray PdfFont::subsetProgram() const {
  auto offsetOf = [&](int glyph) {
    return static_cast<int>(longLoca_ ? U32(loca_, glyph * 4) : U16(loca_, glyph * 2) * 2u);
  };
  // The used glyphs, glyph 0 (shown for missing ones) and the parts composite glyphs are
  // made of.
  std::set<int> keep;
  std::vector<int> pending{0};
  for (const auto& entry : used_) pending.push_back(static_cast<int>(entry.first));
  while (!pending.empty()) {
    int glyph = pending.back();
    pending.pop_back();
    if (glyph >= numGlyphs_ || !keep.insert(glyph).second) continue;
    int start = offsetOf(glyph), end = offsetOf(glyph + 1);
    if (end - start < 10 || S16(glyf_, start) >= 0) continue;
    int at = start + 10;
    for (;;) {
      quint16 flags = U16(glyf_, at);
      int component = U16(glyf_, at + 2);
      if (!keep.count(component)) pending.push_back(component);
      at += 4 + ((flags & 0x1) ? 4 : 2);
      if (flags & 0x8) at += 2;
      else if (flags & 0x40) at += 4;
      else if (flags & 0x80) at += 8;
      if (!(flags & 0x20) || at >= end) break;
    }
  }
  QByteArray glyf, loca;
  for (int glyph = 0; glyph < numGlyphs_; ++glyph) {
    Put32(loca, static_cast<quint32>(glyf.size()));
    if (!keep.count(glyph)) continue;
    int start = offsetOf(glyph), end = offsetOf(glyph + 1);
    if (start < 0 || end > glyf_.size() || end < start) continue;
    glyf.append(glyf_.constData() + start, end - start);
    while (glyf.size() % 4) glyf.append('\0');
  }
  Put32(loca, static_cast<quint32>(glyf.size()));
  QByteArray head = head_;
  Set32(head, 8, 0);   // checksum adjustment: not kept up to date
  Set16(head, 50, 1);  // long offsets in loca
  // A minimal post table (no glyph names), with the face's angle and pitch.
  QByteArray post;
  Put32(post, 0x00030000);
  QByteArray originalPost = face_.fontTable("post");
  for (int at = 4; at < 32; at += 4) Put32(post, originalPost.size() >= 32 ? U32(originalPost, at) : 0);
  std::vector<std::pair<const char*, QByteArray>> tables;
  QByteArray os2 = face_.fontTable("OS/2"), cvt = face_.fontTable("cvt "), fpgm = face_.fontTable("fpgm"),
             prep = face_.fontTable("prep"), name = face_.fontTable("name");
  if (!os2.isEmpty()) tables.emplace_back("OS/2", os2);
  if (!cvt.isEmpty()) tables.emplace_back("cvt ", cvt);
  if (!fpgm.isEmpty()) tables.emplace_back("fpgm", fpgm);
  tables.emplace_back("glyf", glyf);
  tables.emplace_back("head", head);
  tables.emplace_back("hhea", hhea_);
  tables.emplace_back("hmtx", hmtx_);
  tables.emplace_back("loca", loca);
  tables.emplace_back("maxp", maxp_);
  if (!name.isEmpty()) tables.emplace_back("name", name);
  tables.emplace_back("post", post);
  if (!prep.isEmpty()) tables.emplace_back("prep", prep);
  return AssembleFont(tables);
}

std::string PdfFont::postScriptName() const {
  // The name table's PostScript name (id 6), else the family and style run together.
  QByteArray name = face_.fontTable("name");
  int count = U16(name, 2), strings = U16(name, 4);
  for (int i = 0; i < count; ++i) {
    int record = 6 + i * 12;
    if (U16(name, record + 6) != 6) continue;
    int platform = U16(name, record), length = U16(name, record + 8), offset = strings + U16(name, record + 10);
    std::string text;
    bool wide = platform == 0 || platform == 3;
    for (int at = offset; at < offset + length && at < name.size(); at += wide ? 2 : 1) {
      unsigned code = wide ? U16(name, at) : static_cast<unsigned char>(name[at]);
      if (code > 0x20 && code < 0x7F && code != '/' && code != '(' && code != ')' && code != '[' && code != ']' &&
          code != '<' && code != '>' && code != '{' && code != '}' && code != '%')
        text.push_back(static_cast<char>(code));
    }
    if (!text.empty()) return text;
  }
  std::string fallback;
  for (QChar c : face_.familyName() + "-" + face_.styleName())
    if (c.unicode() > 0x20 && c.unicode() < 0x7F) fallback.push_back(static_cast<char>(c.unicode()));
  return fallback.empty() ? std::string("Font") : fallback;
}

bool PdfFont::write(PdfFile& file, int fontObject) const {
  const int cidFont = file.reserve(), descriptor = file.reserve(), program = file.reserve(),
            toUnicode = file.reserve();
  // A subset's name starts with six capitals that differ with the glyphs kept.
  quint32 hash = 2166136261u;
  for (const auto& entry : used_) hash = (hash ^ entry.first) * 16777619u;
  std::string tag(6, 'A');
  for (char& c : tag) {
    c = static_cast<char>('A' + hash % 26);
    hash /= 26;
  }
  const std::string baseName = tag + "+" + postScriptName();
  auto units = [&](int value) { return static_cast<long long>(std::lround(value * 1000.0 / unitsPerEm_)); };

  std::string body = "<</Type/Font/Subtype/Type0/BaseFont/" + baseName + "/Encoding/Identity-H/DescendantFonts[";
  AppendInt(body, cidFont);
  body += " 0 R]/ToUnicode ";
  AppendInt(body, toUnicode);
  body += " 0 R>>";
  file.object(fontObject, body);

  body = "<</Type/Font/Subtype/CIDFontType2/BaseFont/" + baseName +
         "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/FontDescriptor ";
  AppendInt(body, descriptor);
  body += " 0 R/CIDToGIDMap/Identity/W[";
  long long previous = -2;
  for (const auto& entry : used_) {
    long long glyph = entry.first;
    if (glyph != previous + 1) {
      if (previous >= 0) body += "]";
      AppendInt(body, glyph);
      body += "[";
    } else {
      body += " ";
    }
    AppendInt(body, designWidth(entry.first));
    previous = glyph;
  }
  if (previous >= 0) body += "]";
  body += "]>>";
  file.object(cidFont, body);

  QByteArray os2 = face_.fontTable("OS/2"), post = face_.fontTable("post");
  const int ascent = S16(hhea_, 4), descent = S16(hhea_, 6);
  const int capHeight = os2.size() >= 90 && U16(os2, 0) >= 2 ? S16(os2, 88) : ascent;
  const double italicAngle = post.size() >= 8 ? static_cast<qint32>(U32(post, 4)) / 65536.0 : 0;
  const bool fixedPitch = post.size() >= 16 && U32(post, 12) != 0;
  body = "<</Type/FontDescriptor/FontName/" + baseName + "/Flags ";
  AppendInt(body, 4 | (fixedPitch ? 1 : 0) | (italicAngle != 0 ? 64 : 0));
  body += "/FontBBox[";
  for (int at = 36; at <= 42; at += 2) {
    AppendInt(body, units(S16(head_, at)));
    body += at < 42 ? " " : "]";
  }
  body += "/ItalicAngle ";
  AppendNumber(body, italicAngle);
  body += "/Ascent ";
  AppendInt(body, units(ascent));
  body += "/Descent ";
  AppendInt(body, units(descent));
  body += "/CapHeight ";
  AppendInt(body, units(capHeight));
  body += "/StemV 80/FontFile2 ";
  AppendInt(body, program);
  body += " 0 R>>";
  file.object(descriptor, body);

  QByteArray fontProgram = subsetProgram();
  std::string lengthEntry = "/Length1 ";
  AppendInt(lengthEntry, fontProgram.size());
  // Stored as it is: glyph outlines deflate by a quarter at most, and deflating them cost a
  // short document more than all its pages.
  file.stream(program, lengthEntry, std::string_view(fontProgram.constData(), static_cast<size_t>(fontProgram.size())),
              false);

  std::string cmap =
      "/CIDInit/ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
      "/CMapName/Adobe-Identity-UCS def\n/CMapType 2 def\n"
      "1 begincodespacerange\n<0000><FFFF>\nendcodespacerange\n";
  std::vector<std::pair<quint32, QChar>> mapped;
  for (const auto& entry : used_)
    if (!entry.second.isNull()) mapped.push_back(entry);
  for (size_t start = 0; start < mapped.size(); start += 100) {
    size_t end = std::min(mapped.size(), start + 100);
    AppendInt(cmap, static_cast<long long>(end - start));
    cmap += " beginbfchar\n";
    for (size_t i = start; i < end; ++i) {
      cmap += "<" + Hex4(mapped[i].first) + "><";
      cmap += Hex4(mapped[i].second.unicode());
      cmap += ">\n";
    }
    cmap += "endbfchar\n";
  }
  cmap += "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
  file.stream(toUnicode, "", cmap);
  return true;
}

}  // namespace zarne::gdi
