/*
** Reading the records below a key bound from the record tree's pages. The pages come through
** the connection's own file layer, a run of neighbouring pages at a time (from the file's
** mapping when it has one, else in one read), while a statement holds the shared lock: no
** other program can change the file meanwhile, and every change committed before is there.
** Only what this reading knows for certain is handed on; anything else ends it, and the
** caller asks SQLite instead. A level of many leaves is split among a few threads, reading
** from the file's mapping that the calling thread fetched for them.
*/
#include "platform/engine/engine_pagescan.h"

#include "platform/engine/engine_pagebytes.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>

namespace zarne::engine {
namespace {

constexpr unsigned char kInteriorTablePage = 0x05;
constexpr unsigned char kLeafTablePage = 0x0D;
// Pages read in one call: fewer calls, while a run stays small beside the file.
constexpr uint32_t kRunPages = 32;
// Deeper than any tree of a file SQLite can hold: a page that leads further leads in a loop.
constexpr int kMaxDepth = 40;
// Leaf pages a thread reads at the least: with fewer, starting it costs more than it saves.
constexpr size_t kPagesPerThread = 256;
// Leaf pages a thread takes at a time from a level split among threads.
constexpr size_t kPagesPerShare = 16;

/* The file as its header describes it. */
struct FileShape {
  uint32_t pageSize = 0;
  uint32_t usable = 0;  // page bytes before the space each page keeps in reserve
  uint32_t pageCount = 0;
};

/* Reads the header: false for a shape this reading does not take (text not in UTF-8, a
   write-ahead log, a page count that the file's size does not hold). */
bool ReadShape(sqlite3_file* file, FileShape* shape) {
  unsigned char header[100];
  sqlite3_int64 size = 0;
  if (file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK ||
      file->pMethods->xFileSize(file, &size) != SQLITE_OK) {
    return false;
  }
  uint32_t pageSize = PageBig16(header + 16);
  if (pageSize == 1) pageSize = 65536;
  if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || header[20] > 64) return false;
  // Text in UTF-8, and a rollback journal: with a write-ahead log, committed pages may lie
  // in the log instead of the file.
  if (PageBig32(header + 56) != 1 || header[18] != 1 || header[19] != 1) return false;
  shape->pageSize = pageSize;
  shape->usable = pageSize - header[20];
  shape->pageCount = PageBig32(header + 92) == PageBig32(header + 24) ? PageBig32(header + 28) : 0;
  if (shape->pageCount == 0) shape->pageCount = static_cast<uint32_t>(size / pageSize);
  return sqlite3_int64(shape->pageCount) * pageSize <= size;
}

/* One reading: the file, the columns wanted and where each record goes. */
struct Scan {
  sqlite3_file* file = nullptr;
  FileShape shape;
  int keyField = 0;
  long long below = 0;
  std::vector<int> columns;  // the fields wanted, in the order of their forms
  int lastField = 0;         // the highest field number wanted, the key's included
  // The current record's kinds of value and where each value lies, by field number.
  std::vector<uint64_t> serials;
  std::vector<uint64_t> offsets;
  PageRecord record;  // the current record as handed on
  RecordTaker take = nullptr;
  void* context = nullptr;
  std::vector<unsigned char> buffer;
};

/* One record (payload bytes at p): hands it on when its key lies below the bound. The kinds
   of its values up to the last one wanted are read first, then only the values wanted. */
bool TakeRecord(Scan& scan, const unsigned char* p, uint64_t payload) {
  const unsigned char* end = p + payload;
  uint64_t headerSize = 0;
  const unsigned char* type = p;
  if (!PageVarint(type, end, &headerSize) || headerSize < uint64_t(type - p) ||
      headerSize > payload) {
    return false;
  }
  const unsigned char* typesEnd = p + headerSize;
  uint64_t* serials = scan.serials.data();
  uint64_t* offsets = scan.offsets.data();
  uint64_t offset = headerSize;
  int field = 1;
  for (; field <= scan.lastField && type < typesEnd; ++field) {
    uint64_t serial = *type;
    long long length = 0;
    if (serial < 0x80) {  // nearly every value's kind takes one byte
      ++type;
      length = kOneByteLengths.bytes[serial];
    } else {
      if (!PageVarint(type, typesEnd, &serial)) return false;
      length = SerialLength(serial);
    }
    if (length < 0 || uint64_t(length) > payload) return false;
    serials[field] = serial;
    offsets[field] = offset;
    offset += uint64_t(length);
  }
  if (offset > payload) return false;
  // Columns the record does not reach read as NULL, as SQLite reads them.
  for (; field <= scan.lastField; ++field) serials[field] = 0;
  const StoredForm key = FormOf(serials[scan.keyField], p + offsets[scan.keyField]);
  if (key.kind == SQLITE_FLOAT) return false;  // no key holds one: let SQLite compare it
  if (key.kind != SQLITE_INTEGER || key.integer >= scan.below) return true;
  scan.record.payload = p;
  return scan.take(scan.context, scan.record);
}

/* The rows of a leaf page. */
bool TakeLeaf(Scan& scan, const unsigned char* page, uint32_t start) {
  const uint32_t usable = scan.shape.usable;
  const uint32_t cells = PageBig16(page + start + 3);
  const uint32_t pointers = start + 8;
  if (pointers + 2 * cells > usable) return false;
  const unsigned char* end = page + usable;
  for (uint32_t c = 0; c < cells; ++c) {
    const uint32_t offset = PageBig16(page + pointers + 2 * c);
    if (offset < pointers + 2 * cells || offset >= usable) return false;
    const unsigned char* p = page + offset;
    uint64_t payload = 0, rowid = 0;
    if (!PageVarint(p, end, &payload) || !PageVarint(p, end, &rowid)) return false;
    // A payload larger than this spills onto overflow pages.
    if (payload > usable - 35 || payload > uint64_t(end - p)) return false;
    if (!TakeRecord(scan, p, payload)) return false;
  }
  return true;
}

/* The child page numbers of an interior page, added to children. */
bool AddChildren(const Scan& scan, const unsigned char* page, uint32_t start,
                 std::vector<uint32_t>* children) {
  const uint32_t usable = scan.shape.usable;
  const uint32_t cells = PageBig16(page + start + 3);
  const uint32_t pointers = start + 12;
  if (pointers + 2 * cells > usable) return false;
  for (uint32_t c = 0; c < cells; ++c) {
    const uint32_t offset = PageBig16(page + pointers + 2 * c);
    if (offset < pointers + 2 * cells || offset + 4 > usable) return false;
    children->push_back(PageBig32(page + offset));
  }
  children->push_back(PageBig32(page + start + 8));
  return true;
}

/* Reads the pages (sorted, distinct, each within the file) in runs of neighbours, handing
   each to each(page number, bytes). A run comes straight from the file's mapping when it has
   one, else it is read into the scan's buffer. */
template <class TEach>
bool ReadPages(Scan& scan, const std::vector<uint32_t>& pages, TEach each) {
  const size_t pageSize = scan.shape.pageSize;
  const sqlite3_io_methods* methods = scan.file->pMethods;
  for (size_t i = 0; i < pages.size();) {
    size_t j = i + 1;
    while (j < pages.size() && pages[j] - pages[i] < kRunPages) ++j;
    const uint32_t first = pages[i], count = pages[j - 1] - first + 1;
    const sqlite3_int64 offset = sqlite3_int64(first - 1) * sqlite3_int64(pageSize);
    const int amount = int(count * pageSize);
    void* mapped = nullptr;
    if (methods->iVersion < 3 || methods->xFetch(scan.file, offset, amount, &mapped) != SQLITE_OK) {
      mapped = nullptr;
    }
    const unsigned char* run = static_cast<const unsigned char*>(mapped);
    if (run == nullptr) {
      scan.buffer.resize(kRunPages * pageSize);
      if (methods->xRead(scan.file, scan.buffer.data(), amount, offset) != SQLITE_OK) return false;
      run = scan.buffer.data();
    }
    bool taken = true;
    for (; taken && i < j; ++i) taken = each(pages[i], run + size_t(pages[i] - first) * pageSize);
    if (mapped != nullptr) methods->xUnfetch(scan.file, offset, mapped);
    if (!taken) return false;
  }
  return true;
}

/* A scan of its own for one more thread, handing records to context. */
void CopyScan(const Scan& scan, void* context, Scan* copy) {
  *copy = scan;
  copy->context = context;
  copy->record.serials = copy->serials.data();
  copy->record.offsets = copy->offsets.data();
  copy->record.columns = copy->columns.data();
}

/* Gives back the runs of the file's mapping fetched. */
void Unfetch(const Scan& scan, const std::vector<std::pair<sqlite3_int64, void*>>& fetched) {
  for (const auto& [offset, mapped] : fetched)
    scan.file->pMethods->xUnfetch(scan.file, offset, mapped);
}

/* The pages of a level (sorted) as they lie in the file's mapping, fetched in runs by this
   thread (the file's calls are not safe from several); false, with nothing left fetched,
   when a run is not mapped. */
bool FetchPages(const Scan& scan, const std::vector<uint32_t>& pages,
                std::vector<const unsigned char*>* bytes,
                std::vector<std::pair<sqlite3_int64, void*>>* fetched) {
  const size_t pageSize = scan.shape.pageSize;
  const sqlite3_io_methods* methods = scan.file->pMethods;
  if (methods->iVersion < 3) return false;
  for (size_t i = 0; i < pages.size();) {
    size_t j = i + 1;
    while (j < pages.size() && pages[j] - pages[i] < kRunPages) ++j;
    const uint32_t first = pages[i], count = pages[j - 1] - first + 1;
    const sqlite3_int64 offset = sqlite3_int64(first - 1) * sqlite3_int64(pageSize);
    void* mapped = nullptr;
    if (methods->xFetch(scan.file, offset, int(count * pageSize), &mapped) != SQLITE_OK ||
        mapped == nullptr) {
      Unfetch(scan, *fetched);
      fetched->clear();
      return false;
    }
    fetched->emplace_back(offset, mapped);
    for (; i < j; ++i)
      bytes->push_back(static_cast<const unsigned char*>(mapped) +
                       size_t(pages[i] - first) * pageSize);
  }
  return true;
}

/* A level of leaves too many for one thread, split among threads (as many as the scan's
   contexts, the processors and the pages allow), each reading with a scan and a context of
   its own, the pages coming from the file's mapping. The pages are handed out a small share
   at a time, so that a thread started late or set aside by a busy machine holds back no
   more than its current share. 1: read, 0: failed (or a taker stopped, or a page of the
   level is not a leaf: a level of leaves and interior pages is damage), -1: not read so
   (too few pages, pages not mapped or a level of interior pages), for the caller to read
   the level itself. */
int TakeLeavesInThreads(Scan& scan, const std::vector<uint32_t>& level,
                        const std::vector<void*>& contexts) {
  const size_t threads = std::min({contexts.size(), size_t(std::thread::hardware_concurrency()),
                                   level.size() / kPagesPerThread});
  if (threads < 2) return -1;
  std::vector<Scan> scans(threads);
  for (size_t t = 0; t < threads; ++t) CopyScan(scan, contexts[t], &scans[t]);
  std::vector<const unsigned char*> bytes;
  bytes.reserve(level.size());
  std::vector<std::pair<sqlite3_int64, void*>> fetched;
  fetched.reserve(level.size());
  if (!FetchPages(scan, level, &bytes, &fetched)) return -1;
  // A level's pages are all of one kind: its first tells which (the readers check the rest).
  if (bytes[0][level[0] == 1 ? 100 : 0] != kLeafTablePage) {
    Unfetch(scan, fetched);
    return -1;
  }
  std::atomic<bool> failed{false};
  std::atomic<size_t> nextShare{0};
  auto read = [&](size_t t) {
    for (;;) {
      const size_t from = nextShare.fetch_add(kPagesPerShare, std::memory_order_relaxed);
      if (from >= level.size()) return;
      const size_t to = std::min(level.size(), from + kPagesPerShare);
      for (size_t i = from; i < to; ++i) {
        const uint32_t start = level[i] == 1 ? 100 : 0;
        if (failed.load(std::memory_order_relaxed) || bytes[i][start] != kLeafTablePage ||
            !TakeLeaf(scans[t], bytes[i], start)) {
          failed = true;
          return;
        }
      }
    }
  };
  std::vector<std::thread> others;
  try {
    for (size_t t = 1; t < threads; ++t) others.emplace_back(read, t);
  } catch (...) {
    // No more threads to be had: those started and this one read every share between them
    // (records some of them took are in their contexts: the level is not read again).
  }
  read(0);
  for (std::thread& other : others) other.join();
  Unfetch(scan, fetched);
  return failed ? 0 : 1;
}

/* Walks the tree from its root a level at a time; every leaf lies on the last level. A level
   of many leaves may be read by several threads (see TakeLeavesInThreads). */
bool WalkTree(Scan& scan, uint32_t root, const std::vector<void*>& contexts) {
  std::vector<bool> seen(size_t(scan.shape.pageCount) + 1, false);
  std::vector<uint32_t> level{root}, next;
  for (int depth = 0; depth < kMaxDepth; ++depth) {
    std::sort(level.begin(), level.end());
    for (uint32_t page : level) {
      if (page < 1 || page > scan.shape.pageCount || seen[page]) return false;
      seen[page] = true;
    }
    const int inThreads = TakeLeavesInThreads(scan, level, contexts);
    if (inThreads >= 0) return inThreads == 1;
    bool leaves = false, interiors = false;
    next.clear();
    bool read = ReadPages(scan, level, [&](uint32_t number, const unsigned char* page) {
      const uint32_t start = number == 1 ? 100 : 0;
      if (page[start] == kLeafTablePage) {
        leaves = true;
        return !interiors && TakeLeaf(scan, page, start);
      }
      interiors = true;
      return !leaves && page[start] == kInteriorTablePage && AddChildren(scan, page, start, &next);
    });
    if (!read) return false;
    if (leaves) return true;
    level.swap(next);
  }
  return false;
}

}  // namespace

bool ScanRecordsBelow(sqlite3* db, int keyField, long long below, const std::vector<int>& columns,
                      size_t wordColumns, RecordTaker take, const std::vector<void*>& contexts) {
  if (contexts.empty()) return false;
  // Inside a transaction of the connection's own the file may lack what it wrote.
  if (sqlite3_get_autocommit(db) == 0) return false;
  Scan scan;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &scan.file) != SQLITE_OK ||
      scan.file == nullptr || scan.file->pMethods == nullptr) {
    return false;
  }
  scan.keyField = keyField;
  scan.below = below;
  scan.lastField = keyField;
  for (int field : columns) scan.lastField = std::max(scan.lastField, field);
  scan.columns = columns;
  scan.serials.assign(size_t(scan.lastField) + 1, 0);
  scan.offsets.assign(size_t(scan.lastField) + 1, 0);
  scan.record.serials = scan.serials.data();
  scan.record.offsets = scan.offsets.data();
  scan.record.columns = scan.columns.data();
  scan.record.wordColumns = std::min(wordColumns, columns.size());
  scan.take = take;
  scan.context = contexts[0];
  // The statement holds the shared lock (taken as SQLite takes it: a journal left by a
  // program that died is rolled back first) until it is finalized.
  sqlite3_stmt* stmt = nullptr;
  bool read = false;
  if (sqlite3_prepare_v2(db,
                         "SELECT rootpage FROM sqlite_schema WHERE type = 'table' AND name = "
                         "'records'",
                         -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW && ReadShape(scan.file, &scan.shape)) {
    const long long root = sqlite3_column_int64(stmt, 0);
    read = root > 1 && root <= scan.shape.pageCount && WalkTree(scan, uint32_t(root), contexts);
  }
  sqlite3_finalize(stmt);
  return read;
}

}  // namespace zarne::engine
