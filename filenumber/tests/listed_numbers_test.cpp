/*
** The search of a typed number among a list's numbers: every listed number found at its
** first list index, across the short table's runs, in a list out of order with repeats;
** case counts; unlisted, empty and over-long texts are not found.
*/
#include "filenumber/listed_numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

/* The first list index holding exactly the text, by walking the list. */
int FirstIndex(const std::vector<std::string>& list, const std::string& text) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == text) return static_cast<int>(i);
  return -1;
}

std::string Number(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%06d", 2000 + n % 7, n);
  return text;
}

TEST(ListedNumbersTest, FindsEachNumberAtItsFirstIndexInAnyListOrder) {
  // A list in key order, long enough for many runs of the short table, and the same list
  // scrambled with repeats and a mixed case, as a lookup over another table leaves it.
  std::vector<std::string> ordered;
  for (int n = 0; n < 1000; ++n) ordered.push_back(Number(n));
  std::sort(ordered.begin(), ordered.end());
  std::vector<std::string> scrambled;
  for (int i = 0; i < 1000; ++i) scrambled.push_back(Number((i * 389) % 500));
  scrambled.insert(scrambled.begin() + 130, "a1");
  scrambled.insert(scrambled.begin() + 70, "A1");
  scrambled.push_back("a1");
  for (const auto* list : {&ordered, &scrambled}) {
    TListedNumbers listed;
    listed.Learn(*list);
    for (const std::string& number : *list)
      ASSERT_EQ(listed.IndexOf(number.c_str()), FirstIndex(*list, number)) << number;
    for (const char* unlisted : {"", "0", "2000-0000000", "2000-00000", "9999-999999", "a", "A10"})
      EXPECT_EQ(listed.IndexOf(unlisted), FirstIndex(*list, unlisted)) << unlisted;
  }
  // A number of sixteen characters or more cannot be typed, and no shorter text finds it.
  TListedNumbers listed;
  listed.Learn({"B", "1234567890123456", "123456789012345", "A"});
  EXPECT_EQ(listed.IndexOf("123456789012345"), 2);
  EXPECT_EQ(listed.IndexOf("1234567890123456"), -1);
  EXPECT_EQ(listed.IndexOf("A"), 3);
  EXPECT_EQ(listed.IndexOf("B"), 0);
  listed.Learn({});
  EXPECT_EQ(listed.IndexOf("A"), -1);
}

}  // namespace
