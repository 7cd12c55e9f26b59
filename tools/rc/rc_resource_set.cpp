/*
** The resource set and the module blob writer.
*/
#include "tools/rc/rc_resource_set.h"

#include "tools/rc/rc_byte_writer.h"

namespace rc {

using resource_format::ResourceKey;

namespace {

bool SameKey(const ResourceKey& a, const ResourceKey& b) {
  return a.kind == b.kind && (a.IsOrdinal() ? a.id == b.id : a.name == b.name);
}

std::string Place(const SourcePosition& where) {
  return (where.file ? *where.file : std::string("?")) + ":" + std::to_string(where.line);
}

}  // namespace

std::string Describe(const ResourceKey& key) {
  return key.IsOrdinal() ? std::to_string(key.id) : key.name;
}

void ResourceSet::Add(CompiledResource resource) {
  for (const auto& existing : resources_) {
    if (SameKey(existing.type, resource.type) && SameKey(existing.name, resource.name)) {
      Fail(resource.where, "duplicate resource " + Describe(resource.name) + " of type " +
                               Describe(resource.type) + " (first defined at " +
                               Place(existing.where) + ")");
    }
  }
  resources_.push_back(std::move(resource));
}

void ResourceSet::AddString(uint32_t id, std::string text, const SourcePosition& where) {
  if (id > 0xFFFF) Fail(where, "string id " + std::to_string(id) + " is above 65535");
  auto existing = strings_.find(id);
  // Two scripts of one module may both carry a shared message; only a conflict is an error.
  if (existing != strings_.end() && existing->second.text == text) return;
  if (existing != strings_.end())
    Fail(where, "string id " + std::to_string(id) +
                    " defined twice with different texts (first at " +
                    Place(existing->second.where) + ")");
  if (text.size() > 0xFFFF) Fail(where, "string longer than 65535 characters");
  strings_[id] = {std::move(text), where};
}

uint16_t ResourceSet::NextImageOrdinal(uint16_t imageType) {
  uint16_t& next = nextImage_[imageType];
  return ++next;
}

std::vector<uint8_t> ResourceSet::BuildBlob() const {
  std::vector<CompiledResource> all = resources_;
  // Group the strings into their blocks of sixteen.
  std::map<uint16_t, std::vector<const StringEntry*>> blocks;
  for (const auto& [id, entry] : strings_) {
    auto& slots = blocks[resource_format::StringBlockOrdinal(id)];
    slots.resize(resource_format::kStringsPerBlock, nullptr);
    slots[resource_format::StringBlockSlot(id)] = &entry;
  }
  for (const auto& [ordinal, slots] : blocks) {
    ByteWriter block;
    for (const StringEntry* entry : slots) {
      block.Word(entry ? entry->text.size() : 0);
      if (entry) block.Raw(entry->text);
    }
    all.push_back({ResourceKey::Ordinal(resource_format::kTypeString),
                   ResourceKey::Ordinal(ordinal),
                   0,
                   block.Take(),
                   {}});
  }

  ByteWriter blob;
  for (char c : resource_format::kBlobMagic) blob.Byte(c);
  blob.Word(resource_format::kBlobLayoutVersion);
  blob.Word(0);
  blob.Dword(all.size());
  for (const auto& resource : all) {
    blob.Ref(resource.type);
    blob.Ref(resource.name);
    blob.Word(resource.language);
    blob.Dword(resource.data.size());
    blob.AlignTo4();
    blob.Raw(resource.data);
  }
  return blob.Take();
}

}  // namespace rc
