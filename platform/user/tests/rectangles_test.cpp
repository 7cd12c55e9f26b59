#include <gtest/gtest.h>

#include "platform/user/winuser.h"

namespace {

RECT R(LONG l, LONG t, LONG r, LONG b) { return RECT{l, t, r, b}; }

void ExpectRect(const RECT& got, LONG l, LONG t, LONG r, LONG b) {
  EXPECT_EQ(got.left, l);
  EXPECT_EQ(got.top, t);
  EXPECT_EQ(got.right, r);
  EXPECT_EQ(got.bottom, b);
}

}  // namespace

TEST(Rectangles, SetCopyEmptyAndCompare) {
  RECT a;
  ASSERT_TRUE(SetRect(&a, 3, 4, 10, 20));
  ExpectRect(a, 3, 4, 10, 20);
  RECT b;
  ASSERT_TRUE(CopyRect(&b, &a));
  EXPECT_TRUE(EqualRect(&a, &b));
  b.bottom = 21;
  EXPECT_FALSE(EqualRect(&a, &b));
  ASSERT_TRUE(SetRectEmpty(&b));
  ExpectRect(b, 0, 0, 0, 0);
  EXPECT_TRUE(IsRectEmpty(&b));
  EXPECT_FALSE(IsRectEmpty(&a));

  // No width or no height, or inverted edges, are all empty.
  RECT flat = R(5, 5, 5, 9), thin = R(5, 5, 9, 5), inverted = R(9, 9, 5, 5);
  EXPECT_TRUE(IsRectEmpty(&flat));
  EXPECT_TRUE(IsRectEmpty(&thin));
  EXPECT_TRUE(IsRectEmpty(&inverted));
  RECT one = R(5, 5, 6, 6);
  EXPECT_FALSE(IsRectEmpty(&one));

  EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
  EXPECT_FALSE(CopyRect(nullptr, &a));
  EXPECT_FALSE(CopyRect(&b, nullptr));
  EXPECT_TRUE(IsRectEmpty(nullptr));
  EXPECT_FALSE(EqualRect(&a, nullptr));
}

TEST(Rectangles, PointsOnTheRightAndBottomEdgesAreOutside) {
  RECT r = R(10, 20, 30, 40);
  EXPECT_TRUE(PtInRect(&r, POINT{10, 20}));   // top-left corner is inside
  EXPECT_TRUE(PtInRect(&r, POINT{29, 39}));   // last pixel
  EXPECT_FALSE(PtInRect(&r, POINT{30, 25}));  // right edge
  EXPECT_FALSE(PtInRect(&r, POINT{15, 40}));  // bottom edge
  EXPECT_FALSE(PtInRect(&r, POINT{9, 25}));
  EXPECT_FALSE(PtInRect(&r, POINT{15, 19}));
  RECT empty = R(10, 10, 10, 20);
  EXPECT_FALSE(PtInRect(&empty, POINT{10, 15}));
  EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
}

TEST(Rectangles, IntersectionOfOverlappingTouchingAndDisjoint) {
  RECT a = R(0, 0, 10, 10), b = R(5, 3, 20, 8), out;
  ASSERT_TRUE(IntersectRect(&out, &a, &b));
  ExpectRect(out, 5, 3, 10, 8);

  // Rectangles that share only an edge do not meet: the result is emptied.
  RECT touching = R(10, 0, 20, 10);
  out = R(1, 2, 3, 4);
  EXPECT_FALSE(IntersectRect(&out, &a, &touching));
  ExpectRect(out, 0, 0, 0, 0);

  RECT far = R(50, 50, 60, 60);
  out = R(1, 2, 3, 4);
  EXPECT_FALSE(IntersectRect(&out, &a, &far));
  ExpectRect(out, 0, 0, 0, 0);

  // Overlap along one axis only is not a meeting.
  RECT below = R(2, 12, 8, 20);
  out = R(1, 2, 3, 4);
  EXPECT_FALSE(IntersectRect(&out, &a, &below));
  ExpectRect(out, 0, 0, 0, 0);

  // An empty rectangle inside another meets nothing.
  RECT inner = R(3, 3, 3, 8);
  EXPECT_FALSE(IntersectRect(&out, &a, &inner));
  ExpectRect(out, 0, 0, 0, 0);

  // The result may be one of the inputs.
  RECT c = R(-5, -5, 4, 4);
  ASSERT_TRUE(IntersectRect(&c, &c, &a));
  ExpectRect(c, 0, 0, 4, 4);

  EXPECT_FALSE(IntersectRect(nullptr, &a, &b));
}

TEST(Rectangles, UnionIgnoresEmptyInputs) {
  RECT a = R(0, 0, 10, 10), b = R(20, -5, 30, 5), out;
  ASSERT_TRUE(UnionRect(&out, &a, &b));
  ExpectRect(out, 0, -5, 30, 10);

  // An empty rectangle far away does not stretch the union.
  RECT emptyFar = R(100, 100, 100, 200);
  ASSERT_TRUE(UnionRect(&out, &a, &emptyFar));
  ExpectRect(out, 0, 0, 10, 10);
  ASSERT_TRUE(UnionRect(&out, &emptyFar, &b));
  ExpectRect(out, 20, -5, 30, 5);

  RECT emptyToo = R(4, 4, 2, 8);
  out = R(1, 2, 3, 4);
  EXPECT_FALSE(UnionRect(&out, &emptyFar, &emptyToo));
  ExpectRect(out, 0, 0, 0, 0);

  ASSERT_TRUE(UnionRect(&a, &a, &b));  // in place
  ExpectRect(a, 0, -5, 30, 10);
}

TEST(Rectangles, OffsetAndInflateMoveEdges) {
  RECT r = R(10, 20, 30, 40);
  ASSERT_TRUE(OffsetRect(&r, -15, 7));
  ExpectRect(r, -5, 27, 15, 47);
  ASSERT_TRUE(InflateRect(&r, 2, 3));
  ExpectRect(r, -7, 24, 17, 50);
  ASSERT_TRUE(InflateRect(&r, -12, -13));  // shrinking past the middle inverts it
  ExpectRect(r, 5, 37, 5, 37);
  EXPECT_TRUE(IsRectEmpty(&r));
  EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
  EXPECT_FALSE(InflateRect(nullptr, 1, 1));
}
