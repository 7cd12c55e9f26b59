/*
** Readers of the compiled resource layouts described in resource_formats.h. Every reader checks
** each read against the resource's size, so damaged data gives false, never a stray read.
*/
#include "platform/kernel/resource_formats.h"

namespace resource_format {

bool ByteReader::Byte(BYTE* out) {
  if (Remaining() < 1) return false;
  *out = data_[offset_++];
  return true;
}

bool ByteReader::Word(WORD* out) {
  if (Remaining() < 2) return false;
  *out = static_cast<WORD>(data_[offset_] | (data_[offset_ + 1] << 8));
  offset_ += 2;
  return true;
}

bool ByteReader::Short(SHORT* out) {
  WORD value;
  if (!Word(&value)) return false;
  *out = static_cast<SHORT>(value);
  return true;
}

bool ByteReader::Dword(DWORD* out) {
  WORD low, high;
  if (Remaining() < 4) return false;
  Word(&low);
  Word(&high);
  *out = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
  return true;
}

bool ByteReader::Text(std::string* out) {
  const void* end = std::memchr(data_ + offset_, 0, Remaining());
  if (!end) return false;
  size_t length = static_cast<const BYTE*>(end) - (data_ + offset_);
  out->assign(reinterpret_cast<const char*>(data_ + offset_), length);
  offset_ += length + 1;
  return true;
}

bool ByteReader::Ref(ResourceKey* out) {
  BYTE tag;
  if (!Byte(&tag)) return false;
  *out = ResourceKey{};
  switch (tag) {
    case kRefNone: return true;
    case kRefOrdinal: out->kind = kRefOrdinal; return Word(&out->id);
    case kRefName: out->kind = kRefName; return Text(&out->name);
    default: return false;
  }
}

bool ByteReader::Bytes(size_t count, std::vector<BYTE>* out) {
  if (Remaining() < count) return false;
  out->assign(data_ + offset_, data_ + offset_ + count);
  offset_ += count;
  return true;
}

bool ByteReader::Skip(size_t count) {
  if (Remaining() < count) return false;
  offset_ += count;
  return true;
}

bool ByteReader::AlignTo4() { return Skip((4 - offset_ % 4) % 4); }

bool ReadBlobDirectory(const void* blob, size_t size, std::vector<BlobEntry>* entries) {
  ByteReader reader(blob, size);
  entries->clear();
  std::vector<BYTE> magic;
  WORD layout, reserved;
  DWORD count;
  if (!reader.Bytes(4, &magic) || std::memcmp(magic.data(), kBlobMagic, 4) != 0) return false;
  if (!reader.Word(&layout) || layout != kBlobLayoutVersion) return false;
  if (!reader.Word(&reserved) || !reader.Dword(&count)) return false;
  for (DWORD i = 0; i < count; ++i) {
    BlobEntry entry;
    if (!reader.Ref(&entry.type) || !reader.Ref(&entry.name)) return false;
    if (!reader.Word(&entry.language) || !reader.Dword(&entry.size)) return false;
    if (!reader.AlignTo4()) return false;
    entry.data = reader.Here();
    if (!reader.Skip(entry.size)) return false;
    entries->push_back(std::move(entry));
  }
  return true;
}

bool StringBlockEntry(const void* block, size_t size, unsigned slot, const char** text,
                      WORD* length) {
  ByteReader reader(block, size);
  for (unsigned i = 0; i < kStringsPerBlock; ++i) {
    WORD count;
    if (!reader.Word(&count)) return false;
    if (i == slot) {
      if (reader.Remaining() < count) return false;
      *text = reinterpret_cast<const char*>(reader.Here());
      *length = count;
      return true;
    }
    if (!reader.Skip(count)) return false;
  }
  return false;
}

namespace {

bool ReadRectangle(ByteReader& reader, SHORT* x, SHORT* y, SHORT* cx, SHORT* cy) {
  return reader.Short(x) && reader.Short(y) && reader.Short(cx) && reader.Short(cy);
}

bool ReadDialogControl(ByteReader& reader, DialogControlTemplate* control) {
  WORD dataSize;
  return reader.Dword(&control->style) && reader.Dword(&control->exStyle) &&
         reader.Dword(&control->helpId) &&
         ReadRectangle(reader, &control->x, &control->y, &control->cx, &control->cy) &&
         reader.Dword(&control->id) && reader.Text(&control->className) &&
         reader.Ref(&control->text) && reader.Word(&dataSize) &&
         reader.Bytes(dataSize, &control->creationData);
}

}  // namespace

bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate* out) {
  ByteReader reader(data, size);
  *out = DialogTemplate{};
  BYTE extended;
  WORD controlCount;
  if (!reader.Dword(&out->style) || !reader.Dword(&out->exStyle) || !reader.Dword(&out->helpId))
    return false;
  if (!ReadRectangle(reader, &out->x, &out->y, &out->cx, &out->cy)) return false;
  if (!reader.Byte(&extended) || !reader.Word(&controlCount)) return false;
  out->extended = extended != 0;
  if (!reader.Ref(&out->menu) || !reader.Ref(&out->windowClass) || !reader.Text(&out->caption))
    return false;
  if (!reader.Word(&out->pointSize)) return false;
  if (out->pointSize != 0) {
    if (!reader.Word(&out->weight) || !reader.Byte(&out->italic) || !reader.Byte(&out->charset) ||
        !reader.Text(&out->faceName))
      return false;
  }
  // Every control takes at least 28 bytes; a count the data cannot hold is damage.
  constexpr size_t kSmallestControl = 28;
  if (reader.Remaining() < controlCount * kSmallestControl) return false;
  out->controls.resize(controlCount);
  for (auto& control : out->controls) {
    if (!ReadDialogControl(reader, &control)) return false;
  }
  return true;
}

namespace {

// Reads items up to and including the one marked as the level's last.
bool ReadMenuLevel(ByteReader& reader, std::vector<MenuItemTemplate>* items, int depth) {
  if (depth > 32) return false;
  for (;;) {
    MenuItemTemplate item;
    WORD flags;
    if (!reader.Word(&flags)) return false;
    item.flags = flags & ~kMenuItemEnd;
    if (!(flags & kMenuItemPopup) && !reader.Word(&item.id)) return false;
    if (!reader.Text(&item.text)) return false;
    if ((flags & kMenuItemPopup) && !ReadMenuLevel(reader, &item.items, depth + 1)) return false;
    items->push_back(std::move(item));
    if (flags & kMenuItemEnd) return true;
  }
}

}  // namespace

bool ParseMenuTemplate(const void* data, size_t size, std::vector<MenuItemTemplate>* items) {
  ByteReader reader(data, size);
  items->clear();
  WORD version, headerSize;
  if (!reader.Word(&version) || !reader.Word(&headerSize) || version != 0) return false;
  if (!reader.Skip(headerSize)) return false;
  if (reader.Remaining() == 0) return true;  // an empty menu
  return ReadMenuLevel(reader, items, 0);
}

bool ParseAcceleratorTable(const void* data, size_t size, std::vector<AcceleratorEntry>* entries) {
  ByteReader reader(data, size);
  entries->clear();
  while (reader.Remaining() >= kAccelEntrySize) {
    AcceleratorEntry entry;
    WORD flags, padding;
    reader.Word(&flags);
    reader.Word(&entry.key);
    reader.Word(&entry.command);
    reader.Word(&padding);
    entry.flags = flags & ~kAccelLast;
    entries->push_back(entry);
    if (flags & kAccelLast) return true;
  }
  return false;  // no entry carried the last-entry mark
}

bool ReadVersionNode(const BYTE* start, size_t available, VersionNode* node) {
  ByteReader reader(start, available);
  *node = VersionNode{};
  node->start = start;
  if (!reader.Word(&node->length) || !reader.Word(&node->valueLength)) return false;
  if (node->length < kVersionNodeHeaderSize || node->length > available) return false;
  ByteReader inside(start, node->length);
  inside.Skip(kVersionNodeHeaderSize);
  if (!inside.Text(&node->key) || !inside.AlignTo4()) return false;
  node->value = inside.Here();
  if (!inside.Skip(node->valueLength)) return false;
  inside.AlignTo4();  // the last value of a block may end unpadded
  node->childrenOffset = inside.Offset();
  return true;
}

bool ReadVersionChildren(const VersionNode& node, std::vector<VersionNode>* children) {
  children->clear();
  size_t offset = node.childrenOffset;
  while (offset < node.length) {
    VersionNode child;
    if (!ReadVersionNode(node.start + offset, node.length - offset, &child)) return false;
    children->push_back(child);
    offset += (child.length + 3u) & ~size_t{3};
  }
  return true;
}

}  // namespace resource_format
