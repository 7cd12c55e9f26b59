/*
** The table fuzz targets' allocator for SQLite (see sqlite_arena.h). Address space for the
** chunks is reserved once; a chunk is poisoned whole when first used, a block's bytes are
** made addressable when it is carved and poisoned again when it is released, so everything
** of a chunk but its live blocks stays poisoned: between two blocks lie their heads and a
** guard zone, and a released chunk needs no work to be carved again. The checker reports a
** stray access as use of poisoned memory, without the stacks of the block's allocation.
** Blocks too large for a chunk, and those taken before the first input, come from the heap
** through SQLite's own allocator.
*/
#include "fuzz/sqlite_arena.h"

#include "fuzz/fuzz_support.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>

namespace {

constexpr size_t kChunkSize = size_t(1) << 20;
constexpr size_t kChunkCount = 1024;  // 1 GB of address space, touched only as used
constexpr size_t kLargestBlock = 64 * 1024;
constexpr size_t kHeadSize = 16;   // the block's size and state, poisoned
constexpr size_t kGuardSize = 16;  // poisoned, after each block's bytes rounded to 16
constexpr uint64_t kLive = 0x4c495645424c4f43ULL;
constexpr uint64_t kReleased = 0x52454c4541534544ULL;

struct Head {
  uint64_t size;
  uint64_t state;
};

struct Chunk {
  size_t carved = 0;  // bytes carved from its start
  size_t live = 0;    // blocks not yet released
};

struct Arena {
  char* base = nullptr;
  Chunk chunks[kChunkCount];
  size_t used = 0;            // chunks ever taken into use
  size_t current = SIZE_MAX;  // the chunk blocks are carved from
  std::vector<size_t> spare, releasedThisInput;
  size_t live = 0;  // blocks carved and not yet released, in every chunk
  bool carving = false;
  sqlite3_mem_methods heap{};
};

// SQLite's allocator is one per process; the fuzzer calls SQLite from its one thread only.
Arena gArena;

bool InArena(const void* p) {
  auto at = reinterpret_cast<uintptr_t>(p), base = reinterpret_cast<uintptr_t>(gArena.base);
  return gArena.base && at >= base && at < base + kChunkCount * kChunkSize;
}

size_t ChunkOf(const void* p) {
  return (reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(gArena.base)) / kChunkSize;
}

// A block's head lies in poisoned memory: only these two touch it.
__attribute__((no_sanitize("address"))) Head ReadHead(const char* block) {
  return *reinterpret_cast<const Head*>(block - kHeadSize);
}

__attribute__((no_sanitize("address"))) void WriteHead(char* block, Head head) {
  *reinterpret_cast<Head*>(block - kHeadSize) = head;
}

/* A chunk to carve from: one released by an earlier input, else a fresh one. */
bool TakeChunk() {
  if (!gArena.spare.empty()) {
    gArena.current = gArena.spare.back();
    gArena.spare.pop_back();
    return true;
  }
  if (gArena.used == kChunkCount) return false;
  gArena.current = gArena.used++;
  ASAN_POISON_MEMORY_REGION(gArena.base + gArena.current * kChunkSize, kChunkSize);
  return true;
}

void RetireCurrent() {
  if (gArena.current != SIZE_MAX && gArena.chunks[gArena.current].live == 0)
    gArena.releasedThisInput.push_back(gArena.current);
  gArena.current = SIZE_MAX;
}

/* A block carved from the current chunk, or null when the arena cannot serve it. */
void* Carve(size_t size) {
  const size_t stride = kHeadSize + (size + 15) / 16 * 16 + kGuardSize;
  if (gArena.current != SIZE_MAX && gArena.chunks[gArena.current].carved + stride > kChunkSize) {
    RetireCurrent();
  }
  if (gArena.current == SIZE_MAX && !TakeChunk()) return nullptr;
  Chunk& chunk = gArena.chunks[gArena.current];
  char* block = gArena.base + gArena.current * kChunkSize + chunk.carved + kHeadSize;
  chunk.carved += stride;
  ++chunk.live;
  ++gArena.live;
  WriteHead(block, {size, kLive});
  ASAN_UNPOISON_MEMORY_REGION(block, size);
  return block;
}

void Release(void* p) {
  char* block = static_cast<char*>(p);
  Head head = ReadHead(block);
  FuzzRequire(head.state == kLive, "SQLite releases only a live block of its allocator");
  WriteHead(block, {head.size, kReleased});
  ASAN_POISON_MEMORY_REGION(block, head.size);
  --gArena.live;
  const size_t index = ChunkOf(block);
  if (--gArena.chunks[index].live == 0 && index != gArena.current)
    gArena.releasedThisInput.push_back(index);
}

void* Malloc(int size) {
  if (size > 0 && size_t(size) <= kLargestBlock) {
    if (gArena.carving)
      if (void* block = Carve(size_t(size))) return block;
  }
  return gArena.heap.xMalloc(size);
}

void Free(void* p) {
  if (!InArena(p)) return gArena.heap.xFree(p);
  Release(p);
}

int Size(void* p) {
  if (!InArena(p)) return gArena.heap.xSize(p);
  return int(ReadHead(static_cast<char*>(p)).size);
}

void* Realloc(void* p, int size) {
  if (!InArena(p)) return gArena.heap.xRealloc(p, size);
  void* moved = Malloc(size);
  if (!moved) return nullptr;
  std::memcpy(moved, p, std::min(size_t(size), size_t(Size(p))));
  Free(p);
  return moved;
}

// Blocks are exactly as large as asked: a byte beyond is in the guard zone.
int Roundup(int size) { return size; }

int Init(void* heap) { return gArena.heap.xInit(heap); }

void Shutdown(void* heap) { gArena.heap.xShutdown(heap); }

}  // namespace

void SqliteArenaInstall() {
  void* space = ::mmap(nullptr, kChunkCount * kChunkSize, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  FuzzRequire(space != MAP_FAILED, "the SQLite arena's address space is reserved");
  gArena.base = static_cast<char*>(space);
  gArena.spare.reserve(kChunkCount);
  gArena.releasedThisInput.reserve(kChunkCount);
  FuzzRequire(sqlite3_config(SQLITE_CONFIG_GETMALLOC, &gArena.heap) == SQLITE_OK,
              "SQLite's own allocator is known");
  static const sqlite3_mem_methods methods = {Malloc,  Free, Realloc,  Size,
                                              Roundup, Init, Shutdown, gArena.heap.pAppData};
  FuzzRequire(sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) == SQLITE_OK,
              "SQLite takes the arena as its allocator");
}

void SqliteArenaNextInput() {
  gArena.carving = true;
  // The current chunk is begun afresh when the inputs before released all its blocks.
  if (gArena.current != SIZE_MAX && gArena.chunks[gArena.current].live == 0)
    gArena.chunks[gArena.current].carved = 0;
  for (size_t index : gArena.releasedThisInput) {
    gArena.chunks[index].carved = 0;
    gArena.spare.push_back(index);
  }
  gArena.releasedThisInput.clear();
}

void SqliteArenaEndInput() {
  // What the checker's leak search did for SQLite's blocks before they came from here.
  FuzzRequire(gArena.live == 0, "an input leaves no SQLite connection or statement open");
}
