/*
** The global memory calls over the C heap: a table from handle to block, guarded by
** one lock. Moveable handles are drawn from a counter and never reused, so a stale
** handle is recognised as such instead of reaching another block.
*/
#include "platform/kernel/global_memory.h"

#include "platform/kernel/last_error.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

constexpr int kMaxLocks = 255;
// Heap addresses are 16-byte aligned, so a value with 8 in its low nibble is never one.
constexpr uintptr_t kMoveableTag = 0x8;

struct Block {
  void* data = nullptr;
  SIZE_T size = 0;
  UINT flags = 0;
  int locks = 0;
  bool Moveable() const { return (flags & GMEM_MOVEABLE) != 0; }
};

struct Heap {
  std::mutex mutex;
  std::unordered_map<uintptr_t, Block> blocks;
  std::unordered_map<const void*, uintptr_t> moveable_by_address;
  uintptr_t next_moveable = 1;
};

Heap& TheHeap() {
  static Heap* heap = new Heap;  // outlives every static destructor that may free blocks
  return *heap;
}

uintptr_t Key(HGLOBAL memory) { return reinterpret_cast<uintptr_t>(memory); }

Block* Find(Heap& heap, HGLOBAL memory) {
  const auto it = heap.blocks.find(Key(memory));
  if (it == heap.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return &it->second;
}

void ZeroGrowth(void* data, SIZE_T old_size, SIZE_T new_size) {
  if (new_size > old_size) std::memset(static_cast<char*>(data) + old_size, 0, new_size - old_size);
}

HGLOBAL ReAllocMoveable(Heap& heap, uintptr_t key, Block& block, SIZE_T bytes, UINT flags,
                        bool zero) {
  if (bytes == 0) {
    if (block.locks > 0) return nullptr;
    heap.moveable_by_address.erase(block.data);
    std::free(block.data);
    block.data = nullptr;
    block.size = 0;
    return reinterpret_cast<HGLOBAL>(key);
  }
  if (block.data && bytes <= block.size) {
    block.size = bytes;
    return reinterpret_cast<HGLOBAL>(key);
  }
  if (block.locks > 0 && !(flags & GMEM_MOVEABLE)) return nullptr;
  void* grown = std::realloc(block.data, bytes);
  if (!grown) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (zero) ZeroGrowth(grown, block.size, bytes);
  heap.moveable_by_address.erase(block.data);
  heap.moveable_by_address[grown] = key;
  block.data = grown;
  block.size = bytes;
  return reinterpret_cast<HGLOBAL>(key);
}

HGLOBAL ReAllocFixed(Heap& heap, uintptr_t key, SIZE_T bytes, UINT flags, bool zero) {
  Block block = heap.blocks[key];
  if (bytes <= block.size) {
    heap.blocks[key].size = bytes;
    return block.data;
  }
  if (!(flags & GMEM_MOVEABLE)) return nullptr;
  void* grown = std::realloc(block.data, bytes);
  if (!grown) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (zero) ZeroGrowth(grown, block.size, bytes);
  heap.blocks.erase(key);
  block.data = grown;
  block.size = bytes;
  heap.blocks[reinterpret_cast<uintptr_t>(grown)] = block;
  return grown;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  const bool moveable = (flags & GMEM_MOVEABLE) != 0;
  void* data = nullptr;
  if (bytes > 0 || !moveable) {
    const SIZE_T allocation = bytes ? bytes : 1;
    data = (flags & GMEM_ZEROINIT) ? std::calloc(1, allocation) : std::malloc(allocation);
    if (!data) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  }
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  uintptr_t key = reinterpret_cast<uintptr_t>(data);
  if (moveable) {
    key = (heap.next_moveable++ << 4) | kMoveableTag;
    if (data) heap.moveable_by_address[data] = key;
  }
  heap.blocks[key] = Block{data, bytes, flags, 0};
  return reinterpret_cast<HGLOBAL>(key);
}

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = Find(heap, memory);
  if (!block) return nullptr;
  if (flags & GMEM_MODIFY) return memory;
  const bool zero = ((flags | block->flags) & GMEM_ZEROINIT) != 0;
  if (block->Moveable()) return ReAllocMoveable(heap, Key(memory), *block, bytes, flags, zero);
  return ReAllocFixed(heap, Key(memory), bytes, flags, zero);
}

LPVOID GlobalLock(HGLOBAL memory) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = Find(heap, memory);
  if (!block) return nullptr;
  if (block->Moveable() && block->data && block->locks < kMaxLocks) ++block->locks;
  return block->data;
}

BOOL GlobalUnlock(HGLOBAL memory) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = Find(heap, memory);
  if (!block) return FALSE;
  if (block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(NO_ERROR);
  return FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  const Block* block = Find(heap, memory);
  return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  if (!memory) return nullptr;
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = Find(heap, memory);
  if (!block) return memory;
  if (block->Moveable() && block->data) heap.moveable_by_address.erase(block->data);
  std::free(block->data);
  heap.blocks.erase(Key(memory));
  return nullptr;
}

HGLOBAL GlobalHandle(LPCVOID address) {
  if (!address) return nullptr;
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  if (const auto it = heap.moveable_by_address.find(address); it != heap.moveable_by_address.end())
    return reinterpret_cast<HGLOBAL>(it->second);
  if (heap.blocks.count(reinterpret_cast<uintptr_t>(address))) return const_cast<LPVOID>(address);
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

UINT GlobalFlags(HGLOBAL memory) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  const Block* block = Find(heap, memory);
  if (!block) return GMEM_INVALID_HANDLE;
  UINT flags = static_cast<UINT>(block->locks);
  if (block->flags & GMEM_DISCARDABLE) flags |= GMEM_DISCARDABLE;
  if (block->Moveable() && !block->data) flags |= GMEM_DISCARDED;
  return flags;
}
