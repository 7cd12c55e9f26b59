/*
** TListedNumbers: the numbers a file-number list holds, kept for finding a typed number's
** list index. Each number sits in a fixed slot of one block, ordered by number; above it
** stand shorter tables of every 64th slot, then every 64th of those, so the search of a
** list of hundreds of thousands of numbers reads a few nearby runs of slots instead of one
** far-off string per step.
*/
#ifndef ZARNE_FILENUMBER_LISTED_NUMBERS_H
#define ZARNE_FILENUMBER_LISTED_NUMBERS_H

#include <array>
#include <string>
#include <string_view>
#include <vector>

class TListedNumbers {
 public:
  /* Learns the list's numbers, in list order (index 0 first). */
  void Learn(const std::vector<std::string>& numbers);
  /* The same, from the numbers stored back to back, each ended by its terminator. */
  void LearnPacked(std::string_view packed);
  /* The list index of exactly that number (case and all, as its key compares), the first
     one when the list holds it more than once; -1 when it is not listed. */
  int IndexOf(const char* number) const;

 private:
  // A number and its terminator: the longest a file number's edit takes. Slots are padded
  // with zero bytes, so comparing whole slots orders them as the texts are ordered.
  static constexpr size_t kSlot = 16;
  static constexpr size_t kStride = 64;
  using Slot = std::array<char, kSlot>;
  static bool ToSlot(const char* text, size_t length, Slot* slot);

  // levels_[0]: every slot, ordered by number, equal numbers in list order; each further
  // level holds every kStride-th slot of the one below, down to one run of slots.
  std::vector<std::vector<Slot>> levels_;
  std::vector<int> indexes_;  // the list index of each slot of levels_[0]
};

#endif
