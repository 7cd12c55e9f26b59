/*
** The numbers of a file-number list, ordered for the search of a typed number.
*/
#include "filenumber/listed_numbers.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

template <typename Slot>
bool Below(const Slot& a, const Slot& b) {
  return std::memcmp(a.data(), b.data(), a.size()) < 0;
}

}  // namespace

bool TListedNumbers::ToSlot(const char* text, size_t length, Slot* slot) {
  // A longer number cannot be typed into the edit, so it is never looked for.
  if (length >= kSlot) return false;
  slot->fill('\0');
  std::memcpy(slot->data(), text, length);
  return true;
}

void TListedNumbers::Learn(const std::vector<std::string>& numbers) {
  std::string packed;
  for (const std::string& number : numbers) packed.append(number.c_str(), number.size() + 1);
  LearnPacked(packed);
}

void TListedNumbers::LearnPacked(std::string_view packed) {
  std::vector<Slot> slots;
  std::vector<int> indexes;
  size_t count = static_cast<size_t>(std::count(packed.begin(), packed.end(), '\0'));
  slots.reserve(count);
  indexes.reserve(count);
  Slot slot;
  int index = 0;
  for (size_t at = 0; at < packed.size(); ++index) {
    size_t length = std::min(packed.find('\0', at), packed.size()) - at;
    if (ToSlot(packed.data() + at, length, &slot)) {
      slots.push_back(slot);
      indexes.push_back(index);
    }
    at += length + 1;
  }
  // The list comes in key order, which is this order already; a list the lookup filled from
  // another table is sorted here, equal numbers kept in list order.
  if (!std::is_sorted(slots.begin(), slots.end(), Below<Slot>)) {
    std::vector<size_t> order(slots.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return Below(slots[a], slots[b]); });
    std::vector<Slot> sorted;
    std::vector<int> sortedIndexes;
    sorted.reserve(order.size());
    sortedIndexes.reserve(order.size());
    for (size_t at : order) {
      sorted.push_back(slots[at]);
      sortedIndexes.push_back(indexes[at]);
    }
    slots.swap(sorted);
    indexes.swap(sortedIndexes);
  }
  levels_.clear();
  levels_.push_back(std::move(slots));
  indexes_ = std::move(indexes);
  while (levels_.back().size() > kStride) {
    std::vector<Slot> above;
    const std::vector<Slot>& below = levels_.back();
    for (size_t i = 0; i < below.size(); i += kStride) above.push_back(below[i]);
    levels_.push_back(std::move(above));
  }
}

int TListedNumbers::IndexOf(const char* number) const {
  Slot wanted;
  if (levels_.empty() || !number || !ToSlot(number, std::strlen(number), &wanted)) return -1;
  // On each level the first slot not below the number lies in [from, to]; the one found on
  // a level above narrows it on the level below to the run between two of its slots.
  size_t from = 0, to = levels_.back().size();
  for (size_t k = levels_.size() - 1;; --k) {
    const std::vector<Slot>& level = levels_[k];
    size_t at = std::lower_bound(level.begin() + from, level.begin() + to, wanted, Below<Slot>) -
                level.begin();
    if (k == 0) {
      if (at == level.size() || std::memcmp(level[at].data(), wanted.data(), kSlot) != 0) return -1;
      return indexes_[at];
    }
    from = at == 0 ? 0 : (at - 1) * kStride;
    to = std::min(levels_[k - 1].size(), at * kStride);
  }
}
