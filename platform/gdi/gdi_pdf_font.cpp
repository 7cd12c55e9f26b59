/*
** Embedding a TrueType face: its tables read through QRawFont, the glyph outlines cut down
** to the glyphs used (the rest left empty, so glyph ids stay as they are and serve as the
** PDF's character codes), widths in thousandths of the em, and a ToUnicode map. A face's
** tables are read once per process and shared by the documents that embed it.
*/
#include "platform/gdi/gdi_pdf_font.h"

#include "platform/gdi/gdi_pdf_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zarne::gdi {

namespace {

quint16 U16(const QByteArray& table, int at) {
  if (at < 0 || at + 2 > table.size()) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(table.constData()) + at;
  return static_cast<quint16>(p[0] << 8 | p[1]);
}
qint16 S16(const QByteArray& table, int at) { return static_cast<qint16>(U16(table, at)); }
quint32 U32(const QByteArray& table, int at) {
  return static_cast<quint32>(U16(table, at)) << 16 | U16(table, at + 2);
}

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

/* The sum of the table's big-endian words, the last one padded with zeros. */
quint32 TableChecksum(const QByteArray& table) {
  const auto* p = reinterpret_cast<const unsigned char*>(table.constData());
  const qsizetype whole = table.size() & ~qsizetype(3);
  quint32 sum = 0;
  for (qsizetype i = 0; i < whole; i += 4)
    sum += static_cast<quint32>(p[i]) << 24 | static_cast<quint32>(p[i + 1]) << 16 |
           static_cast<quint32>(p[i + 2]) << 8 | p[i + 3];
  quint32 last = 0;
  for (qsizetype i = whole; i < table.size(); ++i)
    last |= static_cast<quint32>(p[i]) << (24 - 8 * (i - whole));
  return sum + last;
}

quint32 Tag(const char* name) {
  return static_cast<quint32>(static_cast<unsigned char>(name[0])) << 24 |
         static_cast<quint32>(static_cast<unsigned char>(name[1])) << 16 |
         static_cast<quint32>(static_cast<unsigned char>(name[2])) << 8 |
         static_cast<unsigned char>(name[3]);
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
  qsizetype total = offset;
  for (const auto& table : tables) total += (table.second.size() + 3) & ~qsizetype(3);
  out.reserve(total);
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

/* The name table's PostScript name (id 6), else the family and style run together. */
std::string PostScriptName(const QRawFont& face, const QByteArray& name) {
  int count = U16(name, 2), strings = U16(name, 4);
  for (int i = 0; i < count; ++i) {
    int record = 6 + i * 12;
    if (U16(name, record + 6) != 6) continue;
    int platform = U16(name, record), length = U16(name, record + 8),
        offset = strings + U16(name, record + 10);
    std::string text;
    bool wide = platform == 0 || platform == 3;
    for (int at = offset; at < offset + length && at < name.size(); at += wide ? 2 : 1) {
      unsigned code = wide ? U16(name, at) : static_cast<unsigned char>(name[at]);
      if (code > 0x20 && code < 0x7F && code != '/' && code != '(' && code != ')' && code != '[' &&
          code != ']' && code != '<' && code != '>' && code != '{' && code != '}' && code != '%')
        text.push_back(static_cast<char>(code));
    }
    if (!text.empty()) return text;
  }
  std::string fallback;
  for (QChar c : face.familyName() + "-" + face.styleName())
    if (c.unicode() > 0x20 && c.unicode() < 0x7F)
      fallback.push_back(static_cast<char>(c.unicode()));
  return fallback.empty() ? std::string("Font") : fallback;
}

/* The face's tables, read on its first use. A face is known by its family, style, weight
   and slant and by its head table, which differs from one font file to the next. */
std::shared_ptr<const PdfFaceTables> TablesOf(const QRawFont& face) {
  // Owner: platform/gdi. Bounded: emptied when full, as the faces printed change rarely.
  static std::map<std::string, std::shared_ptr<const PdfFaceTables>> known;
  QByteArray head = face.fontTable("head");
  std::string key = (face.familyName() + "\n" + face.styleName()).toStdString() + "\n" +
                    std::to_string(face.weight()) + "\n" +
                    std::to_string(static_cast<int>(face.style())) + "\n" + head.toStdString();
  auto found = known.find(key);
  if (found != known.end()) return found->second;
  auto tables = std::make_shared<PdfFaceTables>();
  tables->head = head;
  tables->hhea = face.fontTable("hhea");
  tables->hmtx = face.fontTable("hmtx");
  tables->loca = face.fontTable("loca");
  tables->glyf = face.fontTable("glyf");
  tables->maxp = face.fontTable("maxp");
  tables->post = face.fontTable("post");
  tables->os2 = face.fontTable("OS/2");
  tables->cvt = face.fontTable("cvt ");
  tables->fpgm = face.fontTable("fpgm");
  tables->prep = face.fontTable("prep");
  tables->name = face.fontTable("name");
  tables->postScriptName = PostScriptName(face, tables->name);
  if (known.size() >= 32) known.clear();
  known.emplace(std::move(key), tables);
  return tables;
}

}  // namespace

PdfFont::PdfFont(const QRawFont& face) : tables_(TablesOf(face)) {
  const PdfFaceTables& t = *tables_;
  if (t.head.size() < 54 || t.hhea.size() < 36 || t.maxp.size() < 6 || t.loca.isEmpty() ||
      t.glyf.isEmpty())
    return;
  unitsPerEm_ = std::max<int>(16, U16(t.head, 18));
  longLoca_ = S16(t.head, 50) != 0;
  numberOfHMetrics_ = U16(t.hhea, 34);
  numGlyphs_ = U16(t.maxp, 4);
  if (numberOfHMetrics_ == 0 || t.hmtx.size() < numberOfHMetrics_ * 4) return;
  if (t.loca.size() < (numGlyphs_ + 1) * (longLoca_ ? 4 : 2)) return;
  widths_.assign(static_cast<size_t>(numGlyphs_), -1);
  seen_.assign(static_cast<size_t>(numGlyphs_), 0);
  usable_ = true;
}

int PdfFont::designWidth(quint32 glyph) const {
  int index = std::min<int>(static_cast<int>(glyph), numberOfHMetrics_ - 1);
  return static_cast<int>(std::lround(U16(tables_->hmtx, index * 4) * 1000.0 / unitsPerEm_));
}

int PdfFont::width(quint32 glyph) {
  if (glyph >= widths_.size()) return 0;
  int& known = widths_[glyph];
  if (known < 0) known = designWidth(glyph);
  return known;
}

QByteArray PdfFont::subsetProgram() const {
  const PdfFaceTables& t = *tables_;
  const QByteArray& sourceLoca = t.loca;
  const QByteArray& sourceGlyf = t.glyf;
  auto offsetOf = [&](int glyph) {
    return static_cast<int>(longLoca_ ? U32(sourceLoca, glyph * 4)
                                      : U16(sourceLoca, glyph * 2) * 2u);
  };
  // The used glyphs, glyph 0 (shown for missing ones) and the parts composite glyphs are
  // made of.
  std::vector<char> keep(static_cast<size_t>(numGlyphs_), 0);
  std::vector<int> pending{0};
  for (const auto& entry : used_) pending.push_back(static_cast<int>(entry.first));
  while (!pending.empty()) {
    int glyph = pending.back();
    pending.pop_back();
    if (glyph < 0 || glyph >= numGlyphs_ || keep[static_cast<size_t>(glyph)]) continue;
    keep[static_cast<size_t>(glyph)] = 1;
    int start = offsetOf(glyph), end = offsetOf(glyph + 1);
    if (end - start < 10 || S16(sourceGlyf, start) >= 0) continue;
    int at = start + 10;
    for (;;) {
      quint16 flags = U16(sourceGlyf, at);
      int component = U16(sourceGlyf, at + 2);
      if (component >= numGlyphs_ || !keep[static_cast<size_t>(component)])
        pending.push_back(component);
      at += 4 + ((flags & 0x1) ? 4 : 2);
      if (flags & 0x8) at += 2;
      else if (flags & 0x40) at += 4;
      else if (flags & 0x80) at += 8;
      if (!(flags & 0x20) || at >= end) break;
    }
  }
  // The kept outlines, each padded to four bytes, and a long loca table over them; glyphs
  // not kept are empty.
  qsizetype glyfSize = 0;
  for (int glyph = 0; glyph < numGlyphs_; ++glyph) {
    if (!keep[static_cast<size_t>(glyph)]) continue;
    int start = offsetOf(glyph), end = offsetOf(glyph + 1);
    if (start < 0 || end > sourceGlyf.size() || end < start) continue;
    glyfSize += (end - start + 3) & ~3;
  }
  QByteArray glyf(glyfSize, '\0');
  QByteArray loca(static_cast<qsizetype>(numGlyphs_ + 1) * 4, '\0');
  qsizetype filled = 0;
  for (int glyph = 0; glyph < numGlyphs_; ++glyph) {
    Set32(loca, glyph * 4, static_cast<quint32>(filled));
    if (!keep[static_cast<size_t>(glyph)]) continue;
    int start = offsetOf(glyph), end = offsetOf(glyph + 1);
    if (start < 0 || end > sourceGlyf.size() || end < start) continue;
    std::memcpy(glyf.data() + filled, sourceGlyf.constData() + start,
                static_cast<size_t>(end - start));
    filled += (end - start + 3) & ~3;
  }
  Set32(loca, numGlyphs_ * 4, static_cast<quint32>(filled));
  QByteArray head = t.head;
  Set32(head, 8, 0);   // checksum adjustment: not kept up to date
  Set16(head, 50, 1);  // long offsets in loca
  // A minimal post table (no glyph names), with the face's angle and pitch.
  QByteArray post;
  Put32(post, 0x00030000);
  for (int at = 4; at < 32; at += 4) Put32(post, t.post.size() >= 32 ? U32(t.post, at) : 0);
  std::vector<std::pair<const char*, QByteArray>> tables;
  if (!t.os2.isEmpty()) tables.emplace_back("OS/2", t.os2);
  if (!t.cvt.isEmpty()) tables.emplace_back("cvt ", t.cvt);
  if (!t.fpgm.isEmpty()) tables.emplace_back("fpgm", t.fpgm);
  tables.emplace_back("glyf", glyf);
  tables.emplace_back("head", head);
  tables.emplace_back("hhea", t.hhea);
  tables.emplace_back("hmtx", t.hmtx);
  tables.emplace_back("loca", loca);
  tables.emplace_back("maxp", t.maxp);
  if (!t.name.isEmpty()) tables.emplace_back("name", t.name);
  tables.emplace_back("post", post);
  if (!t.prep.isEmpty()) tables.emplace_back("prep", t.prep);
  return AssembleFont(tables);
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
  const PdfFaceTables& t = *tables_;
  const std::string baseName = tag + "+" + t.postScriptName;
  auto units = [&](int value) {
    return static_cast<long long>(std::lround(value * 1000.0 / unitsPerEm_));
  };

  std::string body =
      "<</Type/Font/Subtype/Type0/BaseFont/" + baseName + "/Encoding/Identity-H/DescendantFonts[";
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

  const QByteArray& os2 = t.os2;
  const QByteArray& post = t.post;
  const int ascent = S16(t.hhea, 4), descent = S16(t.hhea, 6);
  const int capHeight = os2.size() >= 90 && U16(os2, 0) >= 2 ? S16(os2, 88) : ascent;
  const double italicAngle = post.size() >= 8 ? static_cast<qint32>(U32(post, 4)) / 65536.0 : 0;
  const bool fixedPitch = post.size() >= 16 && U32(post, 12) != 0;
  body = "<</Type/FontDescriptor/FontName/" + baseName + "/Flags ";
  AppendInt(body, 4 | (fixedPitch ? 1 : 0) | (italicAngle != 0 ? 64 : 0));
  body += "/FontBBox[";
  for (int at = 36; at <= 42; at += 2) {
    AppendInt(body, units(S16(t.head, at)));
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
  file.stream(program, lengthEntry,
              std::string_view(fontProgram.constData(), static_cast<size_t>(fontProgram.size())),
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
  // Stored as it is too: the map is a kilobyte or two, and deflating it (the deflater's set-up
  // more than the bytes) cost as much as a page's worth of text.
  file.stream(toUnicode, "", cmap, false);
  return true;
}

}  // namespace zarne::gdi
