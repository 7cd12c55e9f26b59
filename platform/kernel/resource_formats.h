/*
** The compiled forms of resources: how the resource compiler lays out each resource type in a
** module's resource blob, and the helpers that read them back. The compiler writes these
** layouts; the resource calls, the dialog manager and the menus read them.
**
** Every number is little-endian; "text" is Windows-1252 bytes followed by one NUL.
**
** Module blob (one per compiled set of .rc files):
**   "ZRES"  WORD layout version (1)  WORD 0  DWORD entry count
**   per entry: ref type, ref name, WORD language, DWORD data size,
**              zero bytes up to the next multiple of 4 from the blob's start, the data.
**
** A ref (type, name, menu, class, control text) is one tag byte then its value:
**   0 none; 1 ordinal: WORD id; 2 name: text (names of types and resources are upper-cased).
**
** RT_STRING block n holds strings 16*(n-1) to 16*(n-1)+15: sixteen times WORD length then
**   that many bytes, no terminator; length 0 is a missing string.
**
** RT_DIALOG:
**   DWORD style, DWORD exstyle, DWORD help id, SHORT x, y, cx, cy (dialog units),
**   BYTE extended (1 for DIALOGEX), WORD control count, ref menu, ref class, text caption,
**   WORD point size (0: no FONT given), and when not 0: WORD weight, BYTE italic,
**   BYTE character set, text face name;
**   then per control: DWORD style, DWORD exstyle, DWORD help id, SHORT x, y, cx, cy,
**   DWORD id, text class name (e.g. "BUTTON", "EDIT", "Tessel"), ref text (a name, or the
**   ordinal of an icon for ICON controls), WORD creation data size, the creation data.
**
** RT_MENU: WORD 0, WORD 0, then the items; each item is WORD flags (kMenuItem* bits), for a
**   plain item WORD command id, then text. A popup's items follow it at once; the last item
**   of each level carries kMenuItemEnd.
**
** RT_ACCELERATOR: entries of 8 bytes: WORD flags (kAccel* bits, kAccelLast on the last entry),
**   WORD key (virtual-key code or character), WORD command, WORD 0.
**
** RT_VERSION: a tree of nodes; each node is WORD total length (header to end of its last
**   child), WORD value length, key text, zero bytes to a multiple of 4, the value, zero bytes to
**   a multiple of 4, then its children, each starting at a multiple of 4. The root's key is
**   "VS_VERSION_INFO" and its value the 52-byte fixed information (signature 0xFEEF04BD);
**   string values are text including the NUL and their value length counts that NUL.
**
** RT_BITMAP: the bitmap file without its 14-byte file header. RT_GROUP_ICON / RT_GROUP_CURSOR:
**   WORD 0, WORD kind (1 icon, 2 cursor), WORD count, then 14-byte entries that name each
**   image's RT_ICON / RT_CURSOR ordinal in their last WORD. RT_CURSOR data starts with the
**   WORD hot spot x and y.
**
** User-defined types and RCDATA: the bytes as given (numbers as WORDs, or DWORDs when written
**   with an L suffix; strings without an added terminator).
*/
#ifndef ZARNE_PLATFORM_KERNEL_RESOURCE_FORMATS_H
#define ZARNE_PLATFORM_KERNEL_RESOURCE_FORMATS_H

#include "platform/kernel/wintypes.h"

#include <cstring>
#include <string>
#include <vector>

namespace resource_format {

constexpr char kBlobMagic[4] = {'Z', 'R', 'E', 'S'};
constexpr WORD kBlobLayoutVersion = 1;

enum ResourceTypeId : WORD {
  kTypeCursor = 1,
  kTypeBitmap = 2,
  kTypeIcon = 3,
  kTypeMenu = 4,
  kTypeDialog = 5,
  kTypeString = 6,
  kTypeAccelerator = 9,
  kTypeRcData = 10,
  kTypeGroupCursor = 12,
  kTypeGroupIcon = 14,
  kTypeVersion = 16,
};

enum RefTag : BYTE { kRefNone = 0, kRefOrdinal = 1, kRefName = 2 };

constexpr unsigned kStringsPerBlock = 16;

/* Menu item flags; the values of the platform's MF_ bits. */
constexpr WORD kMenuItemGrayed = 0x0001;
constexpr WORD kMenuItemInactive = 0x0002;
constexpr WORD kMenuItemChecked = 0x0008;
constexpr WORD kMenuItemPopup = 0x0010;
constexpr WORD kMenuItemMenuBreak = 0x0040;
constexpr WORD kMenuItemEnd = 0x0080;
constexpr WORD kMenuItemSeparator = 0x0800;
constexpr WORD kMenuItemHelp = 0x4000;

/* Accelerator flags; the values of the platform's F* bits. */
constexpr WORD kAccelVirtKey = 0x01;
constexpr WORD kAccelNoInvert = 0x02;
constexpr WORD kAccelShift = 0x04;
constexpr WORD kAccelControl = 0x08;
constexpr WORD kAccelAlt = 0x10;
constexpr WORD kAccelLast = 0x80;
constexpr size_t kAccelEntrySize = 8;

constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BD;
constexpr size_t kFixedFileInfoSize = 52;
constexpr size_t kVersionNodeHeaderSize = 4;

/* A resource type or name, a menu or a window class: an ordinal, a name, or nothing. */
struct ResourceKey {
  RefTag kind = kRefNone;
  WORD id = 0;
  std::string name;

  static ResourceKey Ordinal(WORD value) { return {kRefOrdinal, value, {}}; }
  static ResourceKey Named(std::string text) { return {kRefName, 0, std::move(text)}; }
  bool IsNone() const { return kind == kRefNone; }
  bool IsOrdinal() const { return kind == kRefOrdinal; }
};

/* Bounds-checked reading over one resource's bytes; every read fails once past the end. */
class ByteReader {
 public:
  ByteReader(const void* data, size_t size)
      : data_(static_cast<const BYTE*>(data)), size_(data ? size : 0) {}

  bool Byte(BYTE* out);
  bool Word(WORD* out);
  bool Short(SHORT* out);
  bool Dword(DWORD* out);
  bool Text(std::string* out);
  bool Ref(ResourceKey* out);
  bool Bytes(size_t count, std::vector<BYTE>* out);
  bool Skip(size_t count);
  bool AlignTo4();
  size_t Offset() const { return offset_; }
  size_t Remaining() const { return size_ - offset_; }
  const BYTE* Here() const { return data_ + offset_; }

 private:
  const BYTE* data_;
  size_t size_;
  size_t offset_ = 0;
};

/* One resource of a module blob; data points into the blob. */
struct BlobEntry {
  ResourceKey type;
  ResourceKey name;
  WORD language = 0;
  const BYTE* data = nullptr;
  DWORD size = 0;
};

/* The entries of a module blob; false when the blob is not one or is cut short. */
bool ReadBlobDirectory(const void* blob, size_t size, std::vector<BlobEntry>* entries);

/* String id -> block ordinal and slot, as the platform numbers string-table blocks. */
inline WORD StringBlockOrdinal(UINT id) { return static_cast<WORD>(((id & 0xFFFF) >> 4) + 1); }
inline unsigned StringBlockSlot(UINT id) { return id & 0x0F; }

/* The slot's text in a string block (not terminated); false when the block is cut short.
** A missing string answers true with length 0. */
bool StringBlockEntry(const void* block, size_t size, unsigned slot, const char** text,
                      WORD* length);

struct DialogControlTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  SHORT x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  std::string className;
  ResourceKey text;
  std::vector<BYTE> creationData;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  SHORT x = 0, y = 0, cx = 0, cy = 0;
  bool extended = false;
  ResourceKey menu;
  ResourceKey windowClass;
  std::string caption;
  WORD pointSize = 0; /* 0: the template names no font */
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::string faceName;
  std::vector<DialogControlTemplate> controls;
};

bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate* out);

struct MenuItemTemplate {
  WORD flags = 0; /* without kMenuItemEnd */
  WORD id = 0;
  std::string text;
  std::vector<MenuItemTemplate> items; /* of a popup */
  bool IsPopup() const { return flags & kMenuItemPopup; }
  bool IsSeparator() const { return !IsPopup() && id == 0 && text.empty(); }
};

/* The top-level items of a menu; false when the data is cut short or malformed. */
bool ParseMenuTemplate(const void* data, size_t size, std::vector<MenuItemTemplate>* items);

struct AcceleratorEntry {
  WORD flags = 0; /* without kAccelLast */
  WORD key = 0;
  WORD command = 0;
};

bool ParseAcceleratorTable(const void* data, size_t size, std::vector<AcceleratorEntry>* entries);

/* One node of a version block; value and children lie inside the block. */
struct VersionNode {
  const BYTE* start = nullptr;
  WORD length = 0;
  WORD valueLength = 0;
  std::string key;
  const BYTE* value = nullptr;
  size_t childrenOffset = 0; /* from start */
};

/* Reads the node that starts at `start`, which must lie within `available` bytes. */
bool ReadVersionNode(const BYTE* start, size_t available, VersionNode* node);

/* The children of a node, in order; false when one of them is malformed. */
bool ReadVersionChildren(const VersionNode& node, std::vector<VersionNode>* children);

}  // namespace resource_format

#endif
