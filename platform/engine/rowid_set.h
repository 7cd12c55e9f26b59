/*
** A set of row ids, for a walk that notes every row it meets. Row ids of a table run densely
** from 1, so a long walk keeps most as bits of a bitmap (200,000 rows in 25 kB); the rest
** (negative, or far beyond) go to an open-addressed table. A node allocated per row cost the
** walk more than its step. A short walk (a keyed search meets a row or two, and there is one
** for every lookup) keeps its few ids in the small table alone: a bitmap sized by the row ids
** of a large table cost a lookup a clearing or an allocation of up to 2 MB.
*/
#ifndef ZARNE_PLATFORM_ENGINE_ROWID_SET_H
#define ZARNE_PLATFORM_ENGINE_ROWID_SET_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zarne::engine {

class RowidSet {
 public:
  /* Adds rowid; false when it was there already. */
  bool insert(long long rowid) {
    if (usesBits_ && IsDense(rowid)) return InsertBit(size_t(rowid));
    if (!InsertSparse(rowid)) return false;
    if (!usesBits_ && slotCount_ > kSparseRows) MoveDenseToBits();
    return true;
  }

  /* Empties the set; small tables keep their room for the next walk, large ones free it. */
  void clear() {
    if (bits_.size() > kKeptWords) {
      bits_ = std::vector<uint64_t>();
    } else if (bitCount_ > 0) {
      bits_.assign(bits_.size(), 0);
    }
    bitCount_ = 0;
    if (slots_.size() > kKeptWords) {
      slots_ = std::vector<long long>();
    } else if (slotCount_ > 0) {
      slots_.assign(slots_.size(), kEmpty);
    }
    slotCount_ = 0;
    hasEmptyValue_ = false;
    usesBits_ = false;
  }

 private:
  static constexpr long long kDenseLimit = 1ll << 24;  // a bitmap of at most 2 MB
  static constexpr long long kEmpty = INT64_MIN;
  static constexpr size_t kKeptWords = 4096;
  static constexpr size_t kSparseRows = 512;  // ids a walk notes before it takes the bitmap

  static bool IsDense(long long rowid) { return rowid >= 0 && rowid < kDenseLimit; }

  /* The walk has gone on long enough to pay for a bitmap: its dense ids move there. */
  void MoveDenseToBits() {
    usesBits_ = true;
    std::vector<long long> old;
    old.swap(slots_);
    slotCount_ = 0;
    for (long long rowid : old) {
      if (rowid == kEmpty) continue;
      if (IsDense(rowid)) {
        InsertBit(size_t(rowid));
      } else {
        InsertSparse(rowid);
      }
    }
  }

  bool InsertBit(size_t rowid) {
    size_t word = rowid / 64;
    if (word >= bits_.size()) bits_.resize(std::max(word + 1, bits_.size() * 2), 0);
    uint64_t bit = uint64_t(1) << (rowid % 64);
    if (bits_[word] & bit) return false;
    bits_[word] |= bit;
    ++bitCount_;
    return true;
  }

  bool InsertSparse(long long rowid) {
    if (rowid == kEmpty) {
      if (hasEmptyValue_) return false;
      hasEmptyValue_ = true;
      return true;
    }
    if ((slotCount_ + 1) * 4 > slots_.size() * 3) Grow();
    size_t mask = slots_.size() - 1;
    for (size_t at = Hash(rowid) & mask;; at = (at + 1) & mask) {
      if (slots_[at] == rowid) return false;
      if (slots_[at] == kEmpty) {
        slots_[at] = rowid;
        ++slotCount_;
        return true;
      }
    }
  }

  static size_t Hash(long long rowid) {
    uint64_t x = uint64_t(rowid) * 0x9E3779B97F4A7C15ull;
    return size_t(x ^ (x >> 29));
  }

  void Grow() {
    std::vector<long long> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, kEmpty);
    size_t mask = slots_.size() - 1;
    for (long long rowid : old) {
      if (rowid == kEmpty) continue;
      size_t at = Hash(rowid) & mask;
      while (slots_[at] != kEmpty) at = (at + 1) & mask;
      slots_[at] = rowid;
    }
  }

  std::vector<uint64_t> bits_;  // bit r: row id r was met (0 <= r < kDenseLimit)
  size_t bitCount_ = 0;
  std::vector<long long> slots_;  // a power of two long, kEmpty where free
  size_t slotCount_ = 0;
  bool hasEmptyValue_ = false;  // kEmpty itself is a row id too
  bool usesBits_ = false;       // dense ids are in bits_, not slots_
};

}  // namespace zarne::engine

#endif
