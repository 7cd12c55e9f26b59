/*
** Raw resource data: BEGIN ... END blocks of numbers and strings (user-defined types such as
** TESSELCFG, and RCDATA), files named by resource statements, and bitmaps, icons and cursors
** taken from their files.
*/
#include "tools/rc/rc_statements.h"

#include "tools/rc/rc_byte_writer.h"
#include "tools/rc/rc_preprocessor.h"

#include <fstream>
#include <iterator>

namespace rc {

namespace rf = resource_format;

namespace {

uint32_t ReadLittleEndian(const std::vector<uint8_t>& bytes, size_t offset, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[offset + i];
  return value;
}

}  // namespace

std::vector<uint8_t> CompileDataBlock(TokenStream& tokens) {
  tokens.ExpectBegin("the data");
  ByteWriter out;
  while (!tokens.AcceptEnd()) {
    if (tokens.AtEnd()) tokens.Fail("missing END of the data");
    if (tokens.Peek().kind == TokenKind::String) {
      out.Raw(tokens.String("the data"));  // no terminator added: the script writes its own
    } else {
      bool isLong = false;
      uint32_t number = tokens.Expression("the data", &isLong);
      if (isLong) out.Dword(number);
      else out.Word(number);
    }
    // Items are separated by commas; a comma before END is allowed.
    tokens.AcceptPunct(",");
  }
  return out.Take();
}

std::vector<uint8_t> ReadResourceFile(Preprocessor& preprocessor, const Token& fileToken) {
  bool quoted = fileToken.kind == TokenKind::String;
  std::string name = quoted ? fileToken.bytes : fileToken.text;
  if (fileToken.kind != TokenKind::String && fileToken.kind != TokenKind::Name)
    Fail(fileToken.where, "expected a file name, found '" + fileToken.text + "'");
  std::string path = preprocessor.Locate(name, fileToken.where, true);
  if (path.empty()) Fail(fileToken.where, "cannot find resource file \"" + name + "\"");
  std::ifstream stream(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

void AddBitmap(ResourceSet& set, const rf::ResourceKey& name, uint16_t language,
               const std::vector<uint8_t>& file, const SourcePosition& where) {
  constexpr size_t kFileHeaderSize = 14;
  if (file.size() <= kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M')
    Fail(where, "the bitmap file is not a .bmp file");
  set.Add({rf::ResourceKey::Ordinal(rf::kTypeBitmap), name, language,
           std::vector<uint8_t>(file.begin() + kFileHeaderSize, file.end()), where});
}

// An .ico or .cur file: WORD 0, WORD kind, WORD count, then 16-byte entries naming each
// image's size and offset. Each image becomes its own resource; the group lists them.
void AddIconOrCursor(ResourceSet& set, bool cursor, const rf::ResourceKey& name, uint16_t language,
                     const std::vector<uint8_t>& file, const SourcePosition& where) {
  const char* what = cursor ? "cursor" : "icon";
  const uint16_t kind = cursor ? 2 : 1;
  if (file.size() < 6 || ReadLittleEndian(file, 0, 2) != 0 || ReadLittleEndian(file, 2, 2) != kind)
    Fail(where, std::string("the file is not an .") + (cursor ? "cur" : "ico") + " file");
  uint32_t count = ReadLittleEndian(file, 4, 2);
  if (count == 0 || file.size() < 6 + 16 * count)
    Fail(where, std::string("the ") + what + " file is cut short");
  const uint16_t imageType = cursor ? rf::kTypeCursor : rf::kTypeIcon;
  ByteWriter group;
  group.Word(0);
  group.Word(kind);
  group.Word(count);
  for (uint32_t i = 0; i < count; ++i) {
    size_t entry = 6 + 16 * i;
    uint32_t size = ReadLittleEndian(file, entry + 8, 4);
    uint32_t offset = ReadLittleEndian(file, entry + 12, 4);
    if (offset > file.size() || size > file.size() - offset || size < 16)
      Fail(where, std::string("an image of the ") + what + " file lies outside it");
    std::vector<uint8_t> image(file.begin() + offset, file.begin() + offset + size);
    uint16_t ordinal = set.NextImageOrdinal(imageType);
    // Planes and bits per pixel come from the image's own header.
    uint16_t planes = static_cast<uint16_t>(ReadLittleEndian(image, 12, 2));
    uint16_t bitCount = static_cast<uint16_t>(ReadLittleEndian(image, 14, 2));
    if (cursor) {
      ByteWriter withHotSpot;
      withHotSpot.Word(ReadLittleEndian(file, entry + 4, 2));
      withHotSpot.Word(ReadLittleEndian(file, entry + 6, 2));
      withHotSpot.Raw(image);
      image = withHotSpot.Take();
      group.Word(file[entry]);
      group.Word(file[entry + 1] * 2u);  // the image holds the picture and its mask
    } else {
      group.Byte(file[entry]);
      group.Byte(file[entry + 1]);
      group.Byte(file[entry + 2]);
      group.Byte(0);
    }
    group.Word(planes);
    group.Word(bitCount);
    group.Dword(image.size());
    group.Word(ordinal);
    set.Add({rf::ResourceKey::Ordinal(imageType), rf::ResourceKey::Ordinal(ordinal), language,
             std::move(image), where});
  }
  set.Add({rf::ResourceKey::Ordinal(cursor ? rf::kTypeGroupCursor : rf::kTypeGroupIcon), name,
           language, group.Take(), where});
}

}  // namespace rc
