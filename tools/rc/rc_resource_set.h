/*
** Everything one compilation produces for one module: the resources of every script given,
** with the string-table entries gathered into blocks of sixteen at the end. A second
** definition of a resource or a string id is an error naming both places.
*/
#ifndef ZARNE_TOOLS_RC_RC_RESOURCE_SET_H
#define ZARNE_TOOLS_RC_RC_RESOURCE_SET_H

#include "platform/kernel/resource_formats.h"
#include "tools/rc/rc_error.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace rc {

struct CompiledResource {
  resource_format::ResourceKey type;
  resource_format::ResourceKey name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
  SourcePosition where;
};

class ResourceSet {
 public:
  void Add(CompiledResource resource);
  void AddString(uint32_t id, std::string text, const SourcePosition& where);
  /* A fresh ordinal for one image of an icon or cursor group. */
  uint16_t NextImageOrdinal(uint16_t imageType);

  /* The module blob: directory and data of every resource, string blocks included. */
  std::vector<uint8_t> BuildBlob() const;

 private:
  struct StringEntry {
    std::string text;
    SourcePosition where;
  };
  std::vector<CompiledResource> resources_;
  std::map<uint32_t, StringEntry> strings_;
  std::map<uint16_t, uint16_t> nextImage_;
};

/* "name" or "#12" for messages. */
std::string Describe(const resource_format::ResourceKey& key);

}  // namespace rc

#endif
