/*
** The set of row ids a walk has met: ids in the bitmap's range, beyond it, negative and the
** extremes each answer "new" once and "met" after, across growth, the move from the small
** table to the bitmap, and clearing, as a std::set of the same ids says.
*/
#include "platform/engine/rowid_set.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

namespace {

TEST(RowidSet, AnswersAsAnOrderedSetOfTheSameIds) {
  std::vector<long long> ids = {1,
                                2,
                                63,
                                64,
                                65,
                                0,
                                -1,
                                LLONG_MIN,
                                LLONG_MAX,
                                (1ll << 24) - 1,
                                1ll << 24,
                                5000000000ll,
                                -5000000000ll};
  for (long long i = 0; i < 3000; ++i) ids.push_back(i * 7 % 2048);      // dense, with repeats
  for (long long i = 0; i < 300; ++i) ids.push_back(-(i * 7919 % 512));  // sparse, with repeats
  ids.insert(ids.end(), {1, LLONG_MIN, LLONG_MAX, 1ll << 24, -1});
  zarne::engine::RowidSet set;
  for (int round = 0; round < 2; ++round) {
    std::set<long long> expected;
    for (long long id : ids)
      EXPECT_EQ(set.insert(id), expected.insert(id).second) << id << " round " << round;
    set.clear();
  }
}

}  // namespace
