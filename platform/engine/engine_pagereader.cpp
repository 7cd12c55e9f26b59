/*
** The page reader of the salvage: the file's geometry (from its header, or found from the
** pages themselves when the header is lost), the schema rows on page 1, the walk of the
** record tree, the count of the primary index, and the scan for leaves no tree reaches.
*/
#include "platform/engine/engine_pagereader.h"

#include "platform/engine/engine_pagebytes.h"
#include "platform/engine/engine_pagecheck.h"
#include "platform/engine/rowid_set.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zarne::engine {
namespace {

constexpr int kTableInterior = 0x05, kTableLeaf = 0x0D, kIndexInterior = 0x02, kIndexLeaf = 0x0A;
constexpr int kMaxDepth = 40;
enum Owner : char { kNobody = 0, kRecords = 1, kOtherTree = 2, kFree = 3 };

struct Geometry {
  int pageSize = 0;
  int reserve = 0;
  bool checked = false;
  bool headerTrusted = false;
};

struct BtreePage {
  int type = 0;
  std::vector<int> cells;  // offsets in the page
  uint32_t rightChild = 0;
};

class PageFile {
 public:
  std::string bytes;
  Geometry geometry;

  uint32_t FullPages() const { return uint32_t(bytes.size() / size_t(geometry.pageSize)); }
  int Usable() const { return geometry.pageSize - geometry.reserve; }
  const unsigned char* Page(uint32_t number) const {
    if (number < 1 || number > FullPages()) return nullptr;
    return reinterpret_cast<const unsigned char*>(bytes.data()) +
           size_t(number - 1) * geometry.pageSize;
  }
  /* The page is there whole and, in a checked file, holds its check value. */
  bool Trusted(uint32_t number) const {
    const unsigned char* page = Page(number);
    return page && (!geometry.checked || PageCheckHolds(page, geometry.pageSize, number));
  }
  bool Parse(uint32_t number, BtreePage* out) const {
    const unsigned char* page = Page(number);
    if (!page) return false;
    const int header = number == 1 ? 100 : 0;
    const int usable = Usable();
    out->type = page[header];
    bool leaf = out->type == kTableLeaf || out->type == kIndexLeaf;
    if (!leaf && out->type != kTableInterior && out->type != kIndexInterior) return false;
    int headerSize = leaf ? 8 : 12;
    int count = int(PageBig16(page + header + 3));
    int arrayEnd = header + headerSize + 2 * count;
    if (arrayEnd > usable) return false;
    out->cells.clear();
    for (int i = 0; i < count; ++i) {
      int offset = int(PageBig16(page + header + headerSize + 2 * i));
      if (offset < arrayEnd || offset >= usable) return false;
      out->cells.push_back(offset);
    }
    out->rightChild = leaf ? 0 : PageBig32(page + header + 8);
    return true;
  }
};

bool IsPowerOfTwoPageSize(uint32_t size) {
  return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

void GeometryFromPages(PageFile& file);

/* Whether pages hold check values under some page size: then a header saying they hold
   none was damaged (one changed byte would otherwise turn every check off and misplace
   every cell). The file's geometry is left as it was. */
bool PagesHoldChecks(PageFile& file) {
  const Geometry claimed = file.geometry;
  GeometryFromPages(file);
  const bool checked = file.geometry.checked;
  file.geometry = claimed;
  return checked;
}

/* The geometry the header gives, when page 1 can be trusted. */
bool GeometryFromHeader(PageFile& file) {
  const std::string& b = file.bytes;
  if (b.size() < 512 || std::memcmp(b.data(), "SQLite format 3", 16) != 0) return false;
  const unsigned char* h = reinterpret_cast<const unsigned char*>(b.data());
  uint32_t size = PageBig16(h + 16);
  if (size == 1) size = 65536;
  if (!IsPowerOfTwoPageSize(size) || h[20] >= 64) return false;
  file.geometry = Geometry{int(size), h[20], h[20] == kPageCheckBytes, false};
  if (!file.geometry.checked && PagesHoldChecks(file)) return false;
  file.geometry.headerTrusted = file.Page(1) && file.Trusted(1);
  return file.geometry.headerTrusted;
}

/* With the header lost: the page size under which most pages hold their check values,
   or, in a file without them, under which most pages read as tree pages. */
void GeometryFromPages(PageFile& file) {
  Geometry best;
  uint32_t bestCount = 0;
  for (bool checked : {true, false}) {
    for (uint32_t size = 512; size <= 65536; size *= 2) {
      file.geometry = Geometry{int(size), checked ? kPageCheckBytes : 0, checked, false};
      uint32_t count = 0;
      BtreePage page;
      for (uint32_t n = 2; n <= file.FullPages(); ++n) {
        if (checked ? PageCheckHolds(file.Page(n), int(size), n) : file.Parse(n, &page)) ++count;
      }
      if (count > bestCount) {
        bestCount = count;
        best = file.geometry;
      }
    }
    if (bestCount > 0) break;  // check values found: no guessing from shapes
  }
  file.geometry = best;
}

/* The payload of the cell at offset of page (type leafType), overflow pages followed and
   noted in owners; false when any part of it is lost. */
bool CellPayload(const PageFile& file, const unsigned char* page, int offset, int type,
                 std::string* payload, long long* rowid, std::vector<char>* owners, Owner owner) {
  const int usable = file.Usable();
  const unsigned char* p = page + offset;
  const unsigned char* end = page + usable;
  if (type == kIndexInterior) p += 4;
  uint64_t size = 0, key = 0;
  if (!PageVarint(p, end, &size)) return false;
  if (type == kTableLeaf && !PageVarint(p, end, &key)) return false;
  *rowid = static_cast<long long>(key);
  bool table = type == kTableLeaf;
  uint64_t maxLocal = table ? uint64_t(usable - 35) : uint64_t((usable - 12) * 64 / 255 - 23);
  uint64_t minLocal = uint64_t((usable - 12) * 32 / 255 - 23);
  uint64_t local = size;
  if (size > maxLocal) {
    local = minLocal + (size - minLocal) % uint64_t(usable - 4);
    if (local > maxLocal) local = minLocal;
  }
  if (size > (1u << 30) || p + local > end || (local < size && p + local + 4 > end)) return false;
  payload->assign(reinterpret_cast<const char*>(p), size_t(local));
  if (local == size) return true;
  uint32_t next = PageBig32(p + local);
  while (payload->size() < size) {
    if (!file.Trusted(next) || (owners && (*owners)[next] != kNobody)) return false;
    if (owners) (*owners)[next] = owner;
    const unsigned char* overflow = file.Page(next);
    size_t take = std::min<size_t>(size_t(size) - payload->size(), size_t(usable - 4));
    payload->append(reinterpret_cast<const char*>(overflow + 4), take);
    next = PageBig32(overflow);
  }
  return true;
}

/* The values of a record payload; false when it is not a well-formed record. */
bool DecodeRecord(const std::string& payload, std::vector<PageValue>* values) {
  const unsigned char* start = reinterpret_cast<const unsigned char*>(payload.data());
  const unsigned char* end = start + payload.size();
  const unsigned char* p = start;
  uint64_t headerSize = 0;
  if (!PageVarint(p, end, &headerSize) || headerSize > payload.size() || headerSize < 1)
    return false;
  const unsigned char* headerEnd = start + headerSize;
  const unsigned char* body = headerEnd;
  values->clear();
  while (p < headerEnd) {
    uint64_t type = 0;
    if (!PageVarint(p, headerEnd, &type) || type == 10 || type == 11) return false;
    static const int kIntegerSizes[] = {0, 1, 2, 3, 4, 6, 8};
    PageValue value;
    size_t length = 0;
    if (type == 0) {
      value.kind = 5;
    } else if (type <= 6 || type == 8 || type == 9) {
      value.kind = 1;
      length = type <= 6 ? size_t(kIntegerSizes[type]) : 0;
    } else if (type == 7) {
      value.kind = 2;
      length = 8;
    } else {
      value.kind = type % 2 ? 3 : 4;
      length = size_t((type - (type % 2 ? 13 : 12)) / 2);
    }
    if (length > size_t(end - body)) return false;
    if (value.kind == 1) {
      if (type == 8 || type == 9) {
        value.integer = static_cast<long long>(type - 8);
      } else {
        uint64_t v = (body[0] & 0x80) ? ~uint64_t(0) : 0;
        for (size_t i = 0; i < length; ++i) v = (v << 8) | body[i];
        value.integer = static_cast<long long>(v);
      }
    } else if (value.kind == 2) {
      uint64_t v = 0;
      for (size_t i = 0; i < 8; ++i) v = (v << 8) | body[i];
      std::memcpy(&value.real, &v, sizeof v);
    } else if (value.kind == 3 || value.kind == 4) {
      value.bytes.assign(reinterpret_cast<const char*>(body), length);
    }
    body += length;
    values->push_back(std::move(value));
  }
  return p == headerEnd && body == end;
}

class Reader {
 public:
  Reader(PageFile& file, int columns, const std::function<bool(const PageRow&)>& take,
         PageReading* reading)
      : file_(file),
        columns_(columns),
        take_(take),
        reading_(reading),
        owners_(file.FullPages() + 1, kNobody) {}

  void Run() {
    uint32_t recordsRoot = 0, primaryRoot = 0;
    std::vector<uint32_t> otherRoots;
    if (file_.geometry.headerTrusted) {
      ReadSchema(&recordsRoot, &primaryRoot, &otherRoots);
      MarkFreelist();
    }
    for (uint32_t root : otherRoots) Mark(root, 0);
    if (primaryRoot) {
      long long entries = 0;
      reading_->indexEntries = CountIndex(primaryRoot, 0, &entries) ? entries : -1;
    }
    reading_->structureFound = recordsRoot != 0;
    if (recordsRoot) WalkRecords(recordsRoot, 0);
    if (reading_->Damaged()) ScanLostLeaves();
  }

 private:
  /* The schema rows on page 1: the record tree's root, the primary index's root and every
       other tree's root. */
  void ReadSchema(uint32_t* recordsRoot, uint32_t* primaryRoot, std::vector<uint32_t>* others) {
    schemaIntact_ = true;
    WalkTable(1, 0, kOtherTree, [&](long long, const std::vector<PageValue>& v) {
      if (v.size() < 4 || v[3].kind != 1 || v[1].kind != 3) return;
      uint32_t root = uint32_t(v[3].integer);
      if (v[1].bytes == "records" && v[0].bytes == "table") *recordsRoot = root;
      else if (v[1].bytes == "ix0") *primaryRoot = root, others->push_back(root);
      else if (root) others->push_back(root);
    });
    if (!schemaIntact_) *recordsRoot = 0;  // a lost schema page may have named another root
  }

  void MarkFreelist() {
    const unsigned char* header = file_.Page(1);
    uint32_t trunk = PageBig32(header + 32);
    for (int guard = 0; trunk && guard < 1000000; ++guard) {
      if (!file_.Trusted(trunk) || owners_[trunk] != kNobody) return;
      owners_[trunk] = kFree;
      const unsigned char* page = file_.Page(trunk);
      uint32_t count = PageBig32(page + 4);
      for (uint32_t i = 0; i < count && 8 + 4 * i + 4 <= uint32_t(file_.Usable()); ++i) {
        uint32_t leaf = PageBig32(page + 8 + 4 * i);
        if (file_.Page(leaf) && owners_[leaf] == kNobody) owners_[leaf] = kFree;
      }
      trunk = PageBig32(page);
    }
  }

  /* Walks a table tree (the schema's) handing each row to each; notes lost pages. */
  template <typename Each>
  void WalkTable(uint32_t number, int depth, Owner owner, Each each) {
    BtreePage page;
    if (depth > kMaxDepth || !file_.Trusted(number) || owners_[number] != kNobody ||
        !file_.Parse(number, &page)) {
      schemaIntact_ = false;
      return;
    }
    owners_[number] = owner;
    const unsigned char* bytes = file_.Page(number);
    if (page.type == kTableInterior) {
      for (int cell : page.cells) WalkTable(PageBig32(bytes + cell), depth + 1, owner, each);
      WalkTable(page.rightChild, depth + 1, owner, each);
      return;
    }
    if (page.type != kTableLeaf) {
      schemaIntact_ = false;
      return;
    }
    for (int cell : page.cells) {
      std::string payload;
      long long rowid = 0;
      std::vector<PageValue> values;
      if (!CellPayload(file_, bytes, cell, page.type, &payload, &rowid, &owners_, owner) ||
          !DecodeRecord(payload, &values)) {
        schemaIntact_ = false;
        continue;
      }
      each(rowid, values);
    }
  }

  /* Marks the pages of another tree, so that none of them is taken for a lost leaf. */
  void Mark(uint32_t number, int depth) {
    BtreePage page;
    if (depth > kMaxDepth || !file_.Page(number) || owners_[number] != kNobody) return;
    owners_[number] = kOtherTree;
    if (!file_.Trusted(number) || !file_.Parse(number, &page)) return;
    const unsigned char* bytes = file_.Page(number);
    if (page.type == kTableInterior || page.type == kIndexInterior) {
      for (int cell : page.cells) Mark(PageBig32(bytes + cell), depth + 1);
      Mark(page.rightChild, depth + 1);
    }
  }

  /* Counts the entries of an index tree already marked; false when any page is lost. */
  bool CountIndex(uint32_t number, int depth, long long* entries) {
    BtreePage page;
    if (depth > kMaxDepth || !file_.Trusted(number) || !file_.Parse(number, &page)) return false;
    *entries += static_cast<long long>(page.cells.size());
    if (page.type == kIndexLeaf) return true;
    if (page.type != kIndexInterior) return false;
    const unsigned char* bytes = file_.Page(number);
    for (int cell : page.cells) {
      if (!CountIndex(PageBig32(bytes + cell), depth + 1, entries)) return false;
    }
    return CountIndex(page.rightChild, depth + 1, entries);
  }

  void WalkRecords(uint32_t number, int depth) {
    BtreePage page;
    if (depth > kMaxDepth || !file_.Page(number) || owners_[number] != kNobody ||
        !file_.Trusted(number) || !file_.Parse(number, &page)) {
      if (file_.Page(number) && owners_[number] == kNobody) owners_[number] = kRecords;
      ++reading_->damagedPages;
      return;
    }
    owners_[number] = kRecords;
    const unsigned char* bytes = file_.Page(number);
    if (page.type == kTableInterior) {
      for (int cell : page.cells) WalkRecords(PageBig32(bytes + cell), depth + 1);
      WalkRecords(page.rightChild, depth + 1);
      return;
    }
    if (page.type != kTableLeaf) {
      ++reading_->damagedPages;
      return;
    }
    TakeLeaf(number, page, false);
  }

  /* The rows of a leaf page; a lost leaf is taken only when every cell is a row of the
       table's shape (a leaf of another table is not). */
  void TakeLeaf(uint32_t number, const BtreePage& page, bool lostLeaf) {
    const unsigned char* bytes = file_.Page(number);
    std::vector<PageRow> rows;
    rows.reserve(page.cells.size());
    bool whole = true;
    std::string payload;  // one buffer for the page's cells
    for (int cell : page.cells) {
      PageRow row;
      row.values.reserve(size_t(columns_));
      if (!CellPayload(file_, bytes, cell, page.type, &payload, &row.rowid,
                       lostLeaf ? nullptr : &owners_, kRecords) ||
          !DecodeRecord(payload, &row.values) || int(row.values.size()) > columns_ ||
          (lostLeaf && int(row.values.size()) != columns_)) {
        whole = false;
        continue;
      }
      rows.push_back(std::move(row));
    }
    if (lostLeaf && !whole) return;
    if (!whole) ++reading_->damagedPages;  // a file without check values, garbled in part
    for (PageRow& row : rows) {
      if (stopped_ || !seen_.insert(row.rowid)) continue;
      ++reading_->recordsRead;
      if (!take_(row)) stopped_ = true;
    }
  }

  void ScanLostLeaves() {
    BtreePage page;
    for (uint32_t n = 2; n <= file_.FullPages() && !stopped_; ++n) {
      if (owners_[n] != kNobody || !file_.Trusted(n) || !file_.Parse(n, &page) ||
          page.type != kTableLeaf || page.cells.empty()) {
        continue;
      }
      // In a file without check values a leaf of the schema or the descriptors could
      // look like one of the records only by its shape; those have too few columns.
      TakeLeaf(n, page, true);
    }
  }

  PageFile& file_;
  const int columns_;
  const std::function<bool(const PageRow&)>& take_;
  PageReading* reading_;
  std::vector<char> owners_;
  RowidSet seen_;  // a node per row cost more than the row's decoding
  bool schemaIntact_ = true;
  bool stopped_ = false;
};

bool ReadFile(const std::string& path, std::string* bytes, std::string* problem) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0) {
    *problem = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return false;
  }
  bytes->resize(size_t(info.st_size));
  size_t done = 0;
  while (done < bytes->size()) {
    ssize_t got = ::pread(fd, bytes->data() + done, bytes->size() - done, off_t(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      *problem = got < 0 ? std::strerror(errno) : "the file ended early";
      ::close(fd);
      return false;
    }
    done += size_t(got);
  }
  ::close(fd);
  return true;
}

}  // namespace

bool ReadRecordPages(const std::string& path, int columns,
                     const std::function<bool(const PageRow&)>& take, PageReading* reading,
                     std::string* problem) {
  *reading = PageReading{};
  PageFile file;
  if (!ReadFile(path, &file.bytes, problem)) return false;
  reading->fileRead = true;
  if (file.bytes.size() < 512) return true;  // no page at all: nothing to read
  if (!GeometryFromHeader(file)) GeometryFromPages(file);
  if (file.geometry.pageSize == 0) return true;
  reading->checked = file.geometry.checked;
  Reader(file, columns, take, reading).Run();
  // Damage where no record lies still makes the file a damaged original.
  reading->otherDamage =
      !file.geometry.headerTrusted || file.bytes.size() % size_t(file.geometry.pageSize) != 0;
  for (uint32_t n = 2; n <= file.FullPages() && !reading->otherDamage; ++n) {
    reading->otherDamage = !file.Trusted(n);
  }
  if (file.geometry.headerTrusted) {
    const unsigned char* header = file.Page(1);
    reading->otherDamage = reading->otherDamage || PageBig32(header + 28) > file.FullPages();
  }
  return true;
}

bool PagesIntact(const std::string& path) {
  PageFile file;
  std::string problem;
  if (!ReadFile(path, &file.bytes, &problem) || !GeometryFromHeader(file)) return false;
  if (!file.geometry.checked) return true;
  if (file.bytes.size() % size_t(file.geometry.pageSize) != 0) return false;
  for (uint32_t n = 2; n <= file.FullPages(); ++n) {
    if (!file.Trusted(n)) return false;
  }
  return true;
}

}  // namespace zarne::engine
