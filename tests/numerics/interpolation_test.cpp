// Tests of the table look-ups: linterp on tables of (x, expected) worked out by hand,
// the grid look-ups and the bounded look-up, with the warnings they leave in the log.
#include "numerics/interpolation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/job_fixture.h"

namespace kova::numerics {
namespace {

class InterpolationTest : public ::testing::Test {
 protected:
  void SetUp() override { f.open("", "", 1); }
  state::Job& job() { return *f.job; }
  test::JobFixture f;
};

struct Row {
  float x;
  float y;
};

void expectRows(state::Job& job, const std::vector<float>& xs, const std::vector<float>& ys,
                const std::vector<Row>& rows) {
  for (const Row& r : rows) {
    float y = -1.0F;
    EXPECT_EQ(linterp(job, static_cast<int>(xs.size()), xs, ys, r.x, y), 0) << r.x;
    EXPECT_FLOAT_EQ(y, r.y) << "x = " << r.x;
  }
}

TEST_F(InterpolationTest, LinterpInterpolatesInsideAndExtrapolatesAlongTheEndSegments) {
  expectRows(job(), {1, 2, 3}, {10, 20, 30},
             {{0.0F, 0.0F}, {1.0F, 10.0F}, {1.2F, 12.0F}, {2.0F, 20.0F}, {2.5F, 25.0F}, {3.0F, 30.0F},
              {4.0F, 40.0F}, {-9.0F, -90.0F}});
  // Segments of different slopes: each end extrapolates along its own segment.
  expectRows(job(), {0, 2, 3}, {0, 4, 10}, {{-1.0F, -2.0F}, {1.0F, 2.0F}, {2.5F, 7.0F}, {5.0F, 22.0F}});
  EXPECT_EQ(f.log(), "");
}

TEST_F(InterpolationTest, LinterpTakesTableValuesAtEqualAbscissae) {
  // First two equal: at or below the start there is no segment to extrapolate along.
  expectRows(job(), {1, 1, 2}, {5, 7, 9}, {{0.5F, 5.0F}, {1.0F, 5.0F}, {1.5F, 8.0F}, {2.0F, 9.0F}, {3.0F, 11.0F}});
  // Last two equal: above the end the last value holds.
  expectRows(job(), {0, 1, 1}, {0, 10, 4}, {{0.5F, 5.0F}, {1.0F, 4.0F}, {2.0F, 4.0F}, {-1.0F, -10.0F}});
  // All equal: the first value at and below, the last above.
  expectRows(job(), {2, 2, 2}, {1, 2, 3}, {{1.0F, 1.0F}, {2.0F, 1.0F}, {3.0F, 3.0F}});
  // A run inside: a value on the run takes the Y of its last point.
  expectRows(job(), {0, 1, 1, 1, 2}, {0, 10, 20, 30, 40}, {{0.5F, 5.0F}, {1.0F, 30.0F}, {1.5F, 35.0F}});
  // Points closer than the smallest normal float count as equal.
  expectRows(job(), {0.0F, 1.0E-39F, 1.0F}, {5, 6, 7}, {{-1.0F, 5.0F}, {0.0F, 5.0F}});
}

TEST_F(InterpolationTest, LinterpRefusesTablesOfFewerThanTwoPoints) {
  const std::vector<float> xs = {1, 2, 3};
  const std::vector<float> ys = {10, 20, 30};
  for (int n : {0, 1, -4}) {
    float y = 99.0F;
    EXPECT_EQ(linterp(job(), n, xs, ys, 1.5F, y), 1) << n;
    EXPECT_EQ(y, 0.0F) << n;
  }
  float y = 99.0F;
  EXPECT_EQ(linterp(job(), {}, {}, 1.5F, y), 1);
  const std::string line = " LinTerp: Number of array elements specified as zero or one\n";
  EXPECT_EQ(f.log(), line + line + line + line);
}

TEST_F(InterpolationTest, LinterpRefusesAnUnsortedTableAndShowsIt) {
  float y = 0.0F;
  EXPECT_EQ(linterp(job(), 3, std::vector<float>{3, 2, 4}, std::vector<float>{7, 8, 9}, 2.5F, y), 1);
  EXPECT_EQ(y, 7.0F);
  EXPECT_EQ(f.log(),
            " LinTerp: X input array not sorted in increasing order. X Array will be shown in the following "
            "message.\n"
            " 3 2 4\n");
}

TEST_F(InterpolationTest, LinterpNeverReadsPastItsArrays) {
  // A count larger than the arrays is cut to them.
  float y = 0.0F;
  EXPECT_EQ(linterp(job(), 9, std::vector<float>{1, 2, 3}, std::vector<float>{10, 20, 30}, 4.0F, y), 0);
  EXPECT_FLOAT_EQ(y, 40.0F);
}

// X = (0, 10), Y = (0, 1), z(x, y) = x + 100·y.
Grid squareGrid(const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& z, int leading) {
  return Grid{leading, static_cast<int>(x.size()), static_cast<int>(y.size()), x, y, z};
}

TEST_F(InterpolationTest, Linterp2dReadsTheGridAndExtrapolatesBelowIt) {
  const std::vector<float> x = {0, 10};
  const std::vector<float> y = {0, 1};
  const std::vector<float> z = {0, 10, 100, 110};
  const Grid g = squareGrid(x, y, z, 2);
  struct Case {
    float x, y, z;
  };
  for (const Case c : {Case{5, 0.5F, 55}, Case{-5, 0, -5}, Case{0, 0, 0}, Case{10, 1, 110}, Case{2, -1, -98}}) {
    GridBrackets b;
    float value = 0.0F;
    EXPECT_EQ(linterp_2d(job(), b, g, c.x, c.y, value), gridFound);
    EXPECT_FLOAT_EQ(value, c.z) << c.x << ", " << c.y;
  }
  EXPECT_EQ(f.log(), "");
}

TEST_F(InterpolationTest, Linterp2dAboveTheGrid) {
  // Three columns of different slopes: z(x, y) along x is 0, 10, 30 (+ 100·y).
  const std::vector<float> x = {0, 10, 20};
  const std::vector<float> y = {0, 1};
  const std::vector<float> z = {0, 10, 30, -1, 100, 110, 130, -1};  // leading dimension 4
  const Grid g = squareGrid(x, y, z, 4);
  GridBrackets b;
  float value = 0.0F;
  EXPECT_EQ(linterp_2d(job(), b, g, 5, 0, value), gridFound);
  EXPECT_FLOAT_EQ(value, 5.0F);
  // x above: computed on the bracket of the call before, (0, 10): 0 + 25·10/10.
  EXPECT_EQ(linterp_2d(job(), b, g, 25, 0, value), gridAbove);
  EXPECT_FLOAT_EQ(value, 25.0F);
  // y above: no value.
  value = -3.0F;
  EXPECT_EQ(linterp_2d(job(), b, g, 5, 2, value), gridAbove);
  EXPECT_EQ(value, -3.0F);
  // x above on a first call: the last interval, 10 + 15·20/10.
  GridBrackets fresh;
  EXPECT_EQ(linterp_2d(job(), fresh, g, 25, 0, value), gridAbove);
  EXPECT_FLOAT_EQ(value, 40.0F);
  EXPECT_EQ(f.log(),
            " 2D Interpolate - X value higher than higher value: 25 vs. 20\n"
            " 2D Interpolate - Y value higher than higher value: 2 vs. 1\n"
            " 2D Interpolate - X value higher than higher value: 25 vs. 20\n");
}

TEST_F(InterpolationTest, GridLookupsRefuseGridsSmallerThanTwoByTwo) {
  const std::vector<float> x = {0};
  const std::vector<float> y = {0, 1};
  const std::vector<float> z = {0, 1};
  const Grid g = squareGrid(x, y, z, 1);
  GridBrackets b;
  float value = 7.0F;
  EXPECT_EQ(linterp_2d(job(), b, g, 0, 0, value), gridTooSmall);
  EXPECT_EQ(value, 0.0F);
  value = 7.0F;
  EXPECT_EQ(linterp_2d_y_from_x_and_z(job(), b.x, g, 0, value, 0), gridTooSmall);
  EXPECT_EQ(value, 0.0F);
  // Arrays shorter than the sizes claim are refused the same way.
  const std::vector<float> shortZ = {0, 10, 100};
  const std::vector<float> x2 = {0, 10};
  EXPECT_EQ(linterp_2d(job(), b, squareGrid(x2, y, shortZ, 2), 5, 0.5F, value), gridTooSmall);
  const std::string line = " LinTerp_2d: one or more dimensions smaller than 2\n";
  EXPECT_EQ(f.log(), line + line + line);
}

TEST_F(InterpolationTest, Linterp2dInverseFindsYForXAndZ) {
  const std::vector<float> x = {0, 10};
  const std::vector<float> y = {0, 1, 2};
  // Column at x = 5: c = (5, 105, 305).
  const std::vector<float> z = {0, 10, 100, 110, 300, 310};
  const Grid g = squareGrid(x, y, z, 2);
  struct Case {
    float z, y;
  };
  for (const Case c : {Case{55, 0.5F}, Case{0, -0.05F}, Case{5, 0}, Case{105, 1}, Case{205, 1.5F}, Case{405, 2.5F}}) {
    Bracket b;
    float value = 0.0F;
    EXPECT_EQ(linterp_2d_y_from_x_and_z(job(), b, g, 5, value, c.z), gridFound);
    EXPECT_NEAR(value, c.y, 1e-5) << "z = " << c.z;
  }
}

TEST_F(InterpolationTest, Linterp2dInverseTakesTheGridValueOnAFlatColumn) {
  const std::vector<float> x = {0, 10};
  const std::vector<float> y = {0, 1, 2};
  const std::vector<float> z = {5, 5, 5, 5, 9, 9};  // flat between y = 0 and 1
  Bracket b;
  float value = 0.0F;
  EXPECT_EQ(linterp_2d_y_from_x_and_z(job(), b, squareGrid(x, y, z, 2), 3, value, 5), gridFound);
  EXPECT_EQ(value, 1.0F);
}

TEST_F(InterpolationTest, LinearinterpolateSearchesFromItsStartAndRefusesOutsideValues) {
  const std::vector<float> xs = {1, 2, 3};
  const std::vector<float> ys = {10, 20, 30};
  struct Case {
    int start;
    float x;
    int error;
    float y;
  };
  for (const Case c : {Case{3, 1.5F, 0, 15}, Case{1, 2.5F, 0, 25}, Case{3, 3, 0, 30}, Case{2, 1, 0, 10},
                       Case{3, 0, belowTable, -99.9F}, Case{1, 3.5F, aboveTable, -99.9F}, Case{7, 2.5F, 0, 25}}) {
    float y = 0.0F;
    EXPECT_EQ(linearinterpolate(job(), "Level table   ", 3, xs, ys, c.start, c.x, y), c.error) << c.x;
    EXPECT_FLOAT_EQ(y, c.y) << c.x;
  }
  EXPECT_EQ(f.log(),
            " Level table            0.00 below the low value:            1.00\n"
            " Level table            3.50 above the high value:            3.00\n");
}

}  // namespace
}  // namespace kova::numerics
