// Global memory: lock counts, reallocation, zero fill, bad handles.
#include "platform/kernel/global_memory.h"
#include "platform/kernel/last_error.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

bool AllZero(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i]) return false;
  }
  return true;
}

TEST(GlobalMemoryTest, MoveableBlocksCountTheirLocks) {
  HGLOBAL block = GlobalAlloc(GHND, 100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 100u);
  void* first = GlobalLock(block);
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, block);
  EXPECT_TRUE(AllZero(first, 100));
  EXPECT_EQ(GlobalLock(block), first);
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 2u);
  EXPECT_EQ(GlobalHandle(first), block);
  EXPECT_TRUE(GlobalUnlock(block));
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemoryTest, ReallocationZeroFillsGrowthAndKeepsContent) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  auto* data = static_cast<char*>(GlobalLock(block));
  std::memcpy(data, "ABCDEFGH", 8);
  GlobalUnlock(block);
  ASSERT_EQ(GlobalReAlloc(block, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT), block);
  EXPECT_EQ(GlobalSize(block), 4096u);
  data = static_cast<char*>(GlobalLock(block));
  EXPECT_EQ(std::memcmp(data, "ABCDEFGH", 8), 0);
  EXPECT_TRUE(AllZero(data + 8, 4088));
  GlobalUnlock(block);
  ASSERT_EQ(GlobalReAlloc(block, 3, 0), block);
  EXPECT_EQ(GlobalSize(block), 3u);
  GlobalFree(block);
}

TEST(GlobalMemoryTest, LockedMoveableBlockGrowsOnlyWhenAllowedToMove) {
  HGLOBAL block = GlobalAlloc(GHND, 16);
  auto* data = static_cast<char*>(GlobalLock(block));
  std::memcpy(data, "keep", 5);
  EXPECT_EQ(GlobalReAlloc(block, 1 << 20, GMEM_ZEROINIT), nullptr);
  EXPECT_EQ(GlobalSize(block), 16u);
  EXPECT_STREQ(data, "keep");
  ASSERT_EQ(GlobalReAlloc(block, 1 << 20, GMEM_MOVEABLE), block);
  data = static_cast<char*>(GlobalLock(block));
  EXPECT_STREQ(data, "keep");
  EXPECT_TRUE(AllZero(data + 16, (1 << 20) - 16));  // the block was made with GMEM_ZEROINIT
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 2u);
  GlobalFree(block);
}

TEST(GlobalMemoryTest, DiscardedAndEmptyMoveableBlocks) {
  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalLock(empty), nullptr);
  EXPECT_EQ(GlobalSize(empty), 0u);
  EXPECT_TRUE(GlobalFlags(empty) & GMEM_DISCARDED);
  ASSERT_EQ(GlobalReAlloc(empty, 10, GMEM_MOVEABLE | GMEM_ZEROINIT), empty);
  void* data = GlobalLock(empty);
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(AllZero(data, 10));
  EXPECT_EQ(GlobalReAlloc(empty, 0, GMEM_MOVEABLE), nullptr);  // locked: cannot discard
  GlobalUnlock(empty);
  EXPECT_EQ(GlobalReAlloc(empty, 0, GMEM_MOVEABLE), empty);
  EXPECT_EQ(GlobalLock(empty), nullptr);
  GlobalFree(empty);
}

TEST(GlobalMemoryTest, FixedBlocksAreTheirAddress) {
  HGLOBAL block = GlobalAlloc(GPTR, 32);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_TRUE(AllZero(block, 32));
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GlobalHandle(block), block);
  EXPECT_EQ(GlobalReAlloc(block, 64, GMEM_ZEROINIT), nullptr);  // a fixed block may not move
  EXPECT_EQ(GlobalReAlloc(block, 16, 0), block);
  std::memcpy(block, "fixed", 6);
  HGLOBAL moved = GlobalReAlloc(block, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT);
  ASSERT_NE(moved, nullptr);
  EXPECT_STREQ(static_cast<char*>(moved), "fixed");
  EXPECT_TRUE(AllZero(static_cast<char*>(moved) + 16, 4080));
  if (moved != block) { EXPECT_EQ(GlobalSize(block), 0u); }
  EXPECT_EQ(GlobalFree(moved), nullptr);
}

TEST(GlobalMemoryTest, InvalidHandlesAnswerTheFailureValue) {
  HGLOBAL freed = GlobalAlloc(GHND, 8);
  GlobalFree(freed);
  int on_stack = 0;
  for (HGLOBAL bad :
       {freed, static_cast<HGLOBAL>(&on_stack), reinterpret_cast<HGLOBAL>(0x1234564)}) {
    EXPECT_EQ(GlobalLock(bad), nullptr);
    EXPECT_FALSE(GlobalUnlock(bad));
    EXPECT_EQ(GlobalSize(bad), 0u);
    EXPECT_EQ(GlobalReAlloc(bad, 16, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalFlags(bad), static_cast<UINT>(GMEM_INVALID_HANDLE));
    EXPECT_EQ(GlobalFree(bad), bad);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  EXPECT_EQ(GlobalHandle(&on_stack), nullptr);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(-1) / 2), nullptr);
}

TEST(GlobalMemoryTest, ThreadsAllocateIndependently) {
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < 2000; ++i) {
        HGLOBAL block = GlobalAlloc(GHND, 16);
        auto* data = static_cast<int*>(GlobalLock(block));
        if (!data) {
          ++failures[t];
          continue;
        }
        data[0] = t * 100000 + i;
        GlobalUnlock(block);
        block = GlobalReAlloc(block, 64, GMEM_MOVEABLE | GMEM_ZEROINIT);
        data = static_cast<int*>(GlobalLock(block));
        if (!data || data[0] != t * 100000 + i || data[15] != 0) ++failures[t];
        GlobalUnlock(block);
        if (GlobalFree(block)) ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int failed : failures) EXPECT_EQ(failed, 0);
}

}  // namespace
