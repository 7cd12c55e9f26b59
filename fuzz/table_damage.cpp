/*
** What the table fuzz targets share: a damaged table file. A healthy table made at start is
** damaged by the input (each four bytes set one byte of the file at an offset; one to three
** bytes left over cut the file short), opened and read by the engine, then rebuilt with the
** repair utility's steps: locked, copied to its backup, restructured to its catalogue
** definition with the problems table, and copied back when the restructure fails. A rebuilt
** table must read cleanly and hold every record stored on a page the input left as it was
** (a record on a changed page may be garbled, and is not kept); a failed rebuild must lose
** no readable record and keep the whole file.
**
** Under the fuzzer every input is opened and read by the engine, but only one in
** kRebuildEvery (chosen by a hash of the input, so an input always makes the same choice)
** goes on to the repair: the analysis the repair utility makes of a backup, then the rebuild.
** A rebuild costs about eight reads; reading every input lets the fuzzer try the engine's
** open and read of damaged files several times as often. The replay of kept inputs repairs
** every one.
**
** The targets run with libFuzzer's plain schedule (-entropic=0 in their .options): the
** entropic one's upkeep of feature counts, a search of its list of rare features for each
** feature an input meets, cost some percent of the time, and in runs of equal length side
** by side it reached no more coverage than the plain one on either target.
*/
#include "fuzz/table_damage.h"

#include "fuzz/fuzz_support.h"
#include "fuzz/sqlite_arena.h"
#include "platform/engine/engine.h"
#include "rebuild/rebuild_catalog.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kHealthyRows = 40;
#ifdef ZARNE_FUZZING
constexpr uint64_t kRebuildEvery = 8;
#else
constexpr uint64_t kRebuildEvery = 1;
#endif
const char* const kDriver = "PARADOX";

EngineDatabase gDatabase = nullptr;
const RebuildEntry* gEntry = nullptr;  // the table of the input at hand
std::string gDirectory;
std::vector<const RebuildEntry*> gEntries;
std::vector<std::vector<uint8_t>> gHealthy;  // each table's healthy file

/* Where a healthy file keeps its records: its page size and, per leaf of records, the row
   texts ("R0007") stored on it. */
struct LeafMap {
  int pageSize = 0;
  std::map<int, std::set<std::string>> rowsOnLeaf;
};
std::vector<LeafMap> gLeafMaps;

bool IsRowText(const char* text) {
  return text[0] == 'R' && std::strlen(text) == 5 && std::strspn(text + 1, "0123456789") == 4;
}

/* The leaves of records of the healthy file, from SQLite's own page map. */
LeafMap MapLeaves(const std::string& path, const std::vector<uint8_t>& healthy) {
  LeafMap map;
  sqlite3* db = nullptr;
  sqlite3_stmt* stmt = nullptr;
  FuzzRequire(sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                  sqlite3_prepare_v2(db,
                                     "SELECT pageno FROM dbstat WHERE name = 'records' AND "
                                     "pagetype = 'leaf'",
                                     -1, &stmt, nullptr) == SQLITE_OK,
              "the healthy table's pages can be listed");
  std::vector<int> leaves;
  while (sqlite3_step(stmt) == SQLITE_ROW) leaves.push_back(sqlite3_column_int(stmt, 0));
  sqlite3_finalize(stmt);
  sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &stmt, nullptr);
  sqlite3_step(stmt);
  map.pageSize = sqlite3_column_int(stmt, 0);
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  for (int page : leaves) {
    std::string bytes(healthy.begin() + long(page - 1) * map.pageSize,
                      healthy.begin() + long(page) * map.pageSize);
    for (size_t at = bytes.find('R'); at != std::string::npos; at = bytes.find('R', at + 1)) {
      std::string text = bytes.substr(at, 5);
      if (IsRowText(text.c_str())) map.rowsOnLeaf[page].insert(text);
    }
  }
  return map;
}

/* The rows stored on leaves whose bytes the damage left whole. */
std::set<std::string> RowsOnIntactLeaves(const LeafMap& map, const std::vector<uint8_t>& healthy,
                                         const std::vector<uint8_t>& damaged) {
  std::set<std::string> rows;
  for (const auto& [page, onIt] : map.rowsOnLeaf) {
    size_t at = size_t(page - 1) * size_t(map.pageSize);
    if (damaged.size() >= at + size_t(map.pageSize) &&
        std::equal(damaged.begin() + long(at), damaged.begin() + long(at) + map.pageSize,
                   healthy.begin() + long(at))) {
      rows.insert(onIt.begin(), onIt.end());
    }
  }
  return rows;
}

std::string PathOf(const char* name) { return gDirectory + "/" + name; }

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

/* Every field of the record given a value of its type, distinct per row. */
void FillRecord(EngineCursor cursor, std::vector<char>& record, int row) {
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<EngineFieldDesc> descs(props.fieldCount);
  EngineGetFieldDescs(cursor, descs.data());
  for (WORD f = 1; f <= props.fieldCount; ++f) {
    const EngineFieldDesc& desc = descs[f - 1];
    char text[32];
    std::snprintf(text, sizeof text, "R%04d", row);
    double real = row * 1.25;
    SHORT small = SHORT(row);
    LONG whole = row * 1000;
    DWORD day = 730000 + DWORD(row);
    const void* value = nullptr;
    switch (desc.type) {
      case ENGINE_FLD_STRING: value = desc.units1 >= 5 ? text : "C"; break;
      case ENGINE_FLD_DATE: value = &day; break;
      case ENGINE_FLD_INT16: value = &small; break;
      case ENGINE_FLD_INT32: value = &whole; break;
      case ENGINE_FLD_FLOAT: value = &real; break;
      default: break;  // memos stay blank
    }
    if (value) EnginePutField(cursor, f, record.data(), value);
  }
}

EngineCursor Open() {
  EngineCursor cursor = nullptr;
  EngineResult result = EngineOpenTable(gDatabase, PathOf(gEntry->tableName).c_str(), kDriver,
                                        nullptr, nullptr, 0, 0, 0, 2, 0, nullptr, &cursor);
  return result == ENGINE_OK ? cursor : nullptr;
}

/* Reads the table from its start, every field of every record; answers the records read
   before the first failure, and whether the walk ended cleanly at the end of the table.
   rows, when given, receives the row texts the records hold. */
int ReadRecords(bool* clean, std::set<std::string>* rows = nullptr) {
  *clean = false;
  EngineCursor cursor = Open();
  if (!cursor) return 0;
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  std::vector<char> record(props.recordSize);
  int records = 0;
  EngineResult result;
  // One buffer for every field. Only its first bytes are cleared before each field: a row
  // text is five characters and a number at most eight bytes, so what IsRowText looks at is
  // all the engine's own (clearing all 512 bytes for each field cost more than reading it).
  char value[512];
  value[sizeof value - 1] = '\0';
  while ((result = EngineGetNextRecord(cursor, 0, record.data(), nullptr)) == ENGINE_OK) {
    ++records;
    for (WORD f = 1; f <= props.fieldCount; ++f) {
      std::memset(value, 0, 16);
      EngineGetField(cursor, f, record.data(), value, nullptr);
      value[sizeof value - 1] = '\0';
      if (rows && IsRowText(value)) rows->insert(value);
    }
  }
  *clean = result == ENGINE_ERR_EOF;
  EngineCloseCursor(&cursor);
  return records;
}

/* The catalogue's definition of the table, named by its path, every field kept and every
   index rebuilt (the operations live in ops). */
struct TargetDesc {
  EngineTableCreateDesc desc;
  std::vector<EngineRestructureOp> fieldOps, indexOps;
  explicit TargetDesc(const std::string& table) : desc(*gEntry->desc) {
    std::memset(desc.name, 0, sizeof desc.name);
    std::memcpy(desc.name, table.data(), table.size());
    fieldOps.assign(desc.fieldCount, ENGINE_OP_KEEP);
    indexOps.assign(desc.indexCount, ENGINE_OP_REBUILD);
    desc.fieldOps = fieldOps.data();
    desc.indexOps = indexOps.empty() ? nullptr : indexOps.data();
  }
};

/* The repair utility's analysis of a table (the one it makes of a backup before replacing
   it): every page of the file read for its records, nothing written. */
void Analyze() {
  TargetDesc target(PathOf(gEntry->tableName));
  EngineRestructureTable(gDatabase, 1, &target.desc, nullptr, nullptr, nullptr, 1);
}

/* The repair utility's steps for one table; true when the restructure succeeded. */
bool Rebuild() {
  const std::string table = PathOf(gEntry->tableName), backup = PathOf(gEntry->backupName);
  const std::string problems = PathOf(gEntry->problemsName);
  FuzzRequire(EngineAcquireTableLock(gDatabase, table.c_str(), kDriver) == ENGINE_OK &&
                  EngineAcquireTableLock(gDatabase, backup.c_str(), kDriver) == ENGINE_OK,
              "the tables of a rebuild can be locked");
  bool rebuilt = false;
  if (EngineCopyTable(gDatabase, 1, table.c_str(), kDriver, backup.c_str()) == ENGINE_OK) {
    TargetDesc target(table);
    rebuilt = EngineRestructureTable(gDatabase, 1, &target.desc, nullptr, nullptr, problems.c_str(),
                                     0) == ENGINE_OK;
    if (!rebuilt)
      FuzzRequire(
          EngineCopyTable(gDatabase, 1, backup.c_str(), kDriver, table.c_str()) == ENGINE_OK,
          "a failed rebuild restores the table from its backup");
  }
  EngineReleaseTableLock(gDatabase, backup.c_str(), kDriver);
  EngineReleaseTableLock(gDatabase, table.c_str(), kDriver);
  return rebuilt;
}

/* FNV-1a of the table and the input: which inputs the fuzzer rebuilds. */
uint64_t InputHash(size_t table, const uint8_t* data, size_t size) {
  uint64_t hash = 14695981039346656037ULL;
  auto mix = [&hash](uint8_t byte) { hash = (hash ^ byte) * 1099511628211ULL; };
  mix(uint8_t(table));
  for (size_t at = 0; at < size; ++at) mix(data[at]);
  return hash;
}

void RemoveRebuildFiles() {
  for (const char* name : {gEntry->backupName, gEntry->problemsName})
    std::remove((PathOf(name) + ".DB").c_str());
}

/* Makes the table healthy: created and filled with its rows. */
std::vector<uint8_t> MakeHealthy() {
  EngineTableCreateDesc desc = *gEntry->desc;
  std::snprintf(desc.name, sizeof desc.name, "%s", PathOf(gEntry->tableName).c_str());
  FuzzRequire(EngineCreateTable(gDatabase, 1, &desc) == ENGINE_OK, "the table is made");
  EngineCursor cursor = Open();
  FuzzRequire(cursor != nullptr, "the new table opens");
  EngineCursorProps props{};
  EngineGetCursorProps(cursor, &props);
  for (int row = 0; row < kHealthyRows; ++row) {
    std::vector<char> record(props.recordSize);
    EngineInitRecord(cursor, record.data());
    FillRecord(cursor, record, row);
    FuzzRequire(EngineInsertRecord(cursor, 0, record.data()) == ENGINE_OK, "a row is stored");
  }
  EngineCloseCursor(&cursor);
  std::vector<uint8_t> healthy = ReadBytes(PathOf(gEntry->tableName) + ".DB");
  FuzzRequire(!healthy.empty(), "the healthy table has a file");
  return healthy;
}

}  // namespace

#ifdef ZARNE_FUZZING
/* The address checker's settings for the table targets. SQLite's blocks come from the arena
   (sqlite_arena.h); the engine's own, some hundreds per input, come from the checker, whose
   defaults made each of them costly: thirty frames of stack saved at every allocation and
   release (a fault's report now shows the innermost ten), and 256 MB of released blocks held
   back before reuse, so that every new block came from memory long out of the caches. 8 MB
   holds back what dozens of inputs release: a block used after its release within an
   input, or in the inputs after, is still caught. The checker keeps the pages its released
   blocks free instead of handing them back to the system every few seconds: each return
   flushed the address translations of every processor the fuzzer had run on, and the page
   faults that followed cost as much again. ASAN_OPTIONS given when running still override
   these. */
extern "C" const char* __asan_default_options() {
  return "malloc_context_size=10:quarantine_size_mb=8:allocator_release_to_os_interval_ms=-1";
}
#endif

void TableDamageSetUp(const std::vector<std::string>& tables) {
  // Every block SQLite allocates comes from the arena on its own: no lookaside (small
  // blocks carved from one reserve per connection) and no page cache reserve taken in one
  // piece. The engine reading past a value or page SQLite handed it then lands in a guard
  // zone, and a connection no longer claims and writes ~200 KB at each open. Nothing here
  // asks SQLite for its memory statistics, whose upkeep takes a lock at every block, and
  // SQLite is used from one thread only, so it takes no locks of its own either.
  SqliteArenaInstall();
  FuzzRequire(sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0) == SQLITE_OK &&
                  sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0) == SQLITE_OK &&
                  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK &&
                  sqlite3_config(SQLITE_CONFIG_SINGLETHREAD) == SQLITE_OK,
              "SQLite is configured before it starts");
  gDirectory = FuzzScratchDirectory();
  FuzzRequire(EngineInit(ENGINE_VERSION, nullptr) == ENGINE_OK, "the engine starts");
  FuzzRequire(EngineSetPrivateDir((gDirectory + "/private").c_str()) == ENGINE_OK,
              "the private directory is set");
  FuzzRequire(EngineOpenDatabase(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr,
                                 &gDatabase) == ENGINE_OK,
              "the database opens");
  FuzzRequire(EngineSetDirectory(gDatabase, gDirectory.c_str()) == ENGINE_OK,
              "the database directory is set");
  for (const std::string& name : tables) {
    gEntry = FindRebuildEntry(name.c_str());
    FuzzRequire(gEntry && gEntry->desc, "the rebuild catalogue lists the table");
    gEntries.push_back(gEntry);
    gHealthy.push_back(MakeHealthy());
    gLeafMaps.push_back(MapLeaves(PathOf(gEntry->tableName) + ".DB", gHealthy.back()));
  }
}

void TableDamageRun(size_t table, const uint8_t* data, size_t size) {
  SqliteArenaNextInput();
  struct EndInput {
    ~EndInput() { SqliteArenaEndInput(); }
  } endInput;
  const size_t which = table % gEntries.size();
  gEntry = gEntries[which];
  // One buffer for every input: a fresh copy of the file each time costs more than the copying.
  static std::vector<uint8_t> damaged;
  damaged.assign(gHealthy[which].begin(), gHealthy[which].end());
  for (size_t at = 0; at + 4 <= size; at += 4) {
    size_t offset =
        (size_t(data[at]) << 16 | size_t(data[at + 1]) << 8 | data[at + 2]) % damaged.size();
    damaged[offset] = data[at + 3];
  }
  if (size % 4 != 0) damaged.resize(damaged.size() * data[size - 1] / 256);
  const std::string file = PathOf(gEntry->tableName) + ".DB";
  FuzzWriteFile(file, damaged.data(), damaged.size());

  bool cleanBefore = false;
  int readBefore = ReadRecords(&cleanBefore);
  const bool healthy = damaged == gHealthy[which];
  if (healthy)
    FuzzRequire(cleanBefore && readBefore == kHealthyRows, "a healthy table reads whole");
  if (InputHash(table, data, size) % kRebuildEvery != 0) return;

  Analyze();
  if (healthy) {
    EngineRestructureCounts counts{};
    EngineGetRestructureCounts(&counts);
    FuzzRequire(!counts.damaged && counts.kept == DWORD(kHealthyRows),
                "an analysis finds a healthy table whole");
  }

  RemoveRebuildFiles();
  if (Rebuild()) {
    bool cleanAfter = false;
    std::set<std::string> rowsAfter;
    int readAfter = ReadRecords(&cleanAfter, &rowsAfter);
    EngineRestructureCounts counts{};
    EngineGetRestructureCounts(&counts);
    FuzzRequire(cleanAfter, "a rebuilt table reads to its end");
    FuzzRequire(DWORD(readAfter) == counts.kept, "a rebuilt table holds the records it kept");
    for (const std::string& row : RowsOnIntactLeaves(gLeafMaps[which], gHealthy[which], damaged)) {
      FuzzRequire(rowsAfter.count(row) == 1,
                  "a rebuild keeps every record stored on an intact page");
    }
  } else {
    // The table is restored from its backup: every record readable before reads again. (A
    // file the engine can open is copied page by page, so its header counters may differ.)
    bool cleanRestored = false;
    FuzzRequire(ReadRecords(&cleanRestored) >= readBefore,
                "a failed rebuild loses no readable record");
    FuzzRequire(ReadBytes(file).size() == damaged.size(), "a failed rebuild keeps the whole file");
  }
}
