// The model run loop, through whole jobs run in process: the hydrographs it hands to the
// report, checked against values worked out by hand from the routing rules.
#include "engine/routing/model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/job_run.h"

namespace kova::engine {
namespace {

// A DESIGN job, continuing-loss model, one kc, m pair and one burst of losses.
struct JobRun : test::JobRun {
  JobRun(const std::string& catchment, const std::string& storm, const std::string& kcm = "1.0 1.0",
         const std::string& loss = "0.0 0.0", int printOption = 1)
      : test::JobRun(catchment, storm,
                     test::modelLines(printOption, 1,
                                      "NumISA     1\nkc, m     " + kcm + "\nNumBurst   1\nIL, CL    " + loss + "\n")) {}
};

// A storm of `n` one-hour increments with one burst over the first rain.size() increments
// and one pluviograph holding `rain`.
std::string storm(int n, const std::vector<float>& rain) {
  std::string text = "Test storm\nDESIGN\n1.0, " + std::to_string(n) + ", 1, 1, 0, -99\n0, " +
                     std::to_string(rain.size()) + "\nPluvio\n";
  for (float r : rain) text += std::to_string(r) + " ";
  return text + "-99\n";
}

void expectSeries(const std::vector<float>& got, const std::vector<float>& expected, float tol) {
  ASSERT_GE(got.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(got[i], expected[i], tol) << "ordinate " << i + 1;
}

TEST(ModelRun, LinearReachMatchesTheClosedForm) {
  // One sub-area of 5 km² above a 2 km natural reach: the reach's relative delay over the
  // average flow distance is 1, so k = kc = 1 h. 10 mm in the first hour with no loss
  // enters at ordinate 2 as 10 x 1000 x 5 / 3600 m³/s.
  JobRun run("Linear\n1\n1, 2.0, -99\n7\nOutlet\n0\n5.0, -99\n0\n", storm(6, {10.0F}));
  ASSERT_EQ(run.status, 0) << run.log();
  ASSERT_EQ(run.prints(), 1);
  const float e = 10.0F * 1000.0F * 5.0F / 3600.0F;
  // C1 = C2 = 1/3 with k = dt = 1 h.
  std::vector<float> expected{0.0F, e / 3.0F};
  expected.push_back(expected[1] / 3.0F + e / 3.0F);
  for (int i = 0; i < 4; ++i) expected.push_back(expected.back() / 3.0F);
  expectSeries(run.site(0).hyd1.values, expected, 1.0E-4F);
}

TEST(ModelRun, TranslationsMoveTheHydrograph) {
  // 3.6 km² turns 1 mm per hour into 1 m³/s; a reach of type 4 has no delay.
  struct Case {
    int shift;
    std::vector<float> expected;
  };
  for (const Case& c : std::vector<Case>{{2, {0, 0, 0, 1, 2, 3, 4, 0}}, {-1, {1, 2, 3, 4, 0, 0, 0, 0}},
                                         {0, {0, 1, 2, 3, 4, 0, 0, 0}}}) {
    JobRun run("Shift\n4\n1, 1.0, -99\n8, " + std::to_string(c.shift) + ", -99\n7\nOut\n0\n3.6, -99\n0\n",
               storm(9, {1, 2, 3, 4}));
    ASSERT_EQ(run.status, 0) << run.log();
    expectSeries(run.site(0).hyd1.values, c.expected, 1.0E-5F);
  }
}

TEST(ModelRun, OutflowTakesOnlyTheFlowThatIsThere) {
  // A concentrated outflow of a constant 2.5 m³/s (a + b (Q - c)^d with b = 0).
  JobRun run("Outflow\n4\n1, 1.0, -99\n19, 1, 0, 0, 0\nWeir\n2.5, 0, 0, 1, -99\n7\nOut\n0\n3.6, -99\n0\n",
             storm(7, {1, 2, 3, 4}));
  ASSERT_EQ(run.status, 0) << run.log();
  ASSERT_EQ(run.prints(), 2);
  // The I/O print: hydrograph 1 is the running flow after the outflow, 2 the flow taken off.
  expectSeries(run.site(0).hyd1.values, {0, 0, 0, 0.5F, 1.5F, 0, 0}, 1.0E-5F);
  expectSeries(run.site(0).hyd2.values, {0, 1, 2, 2.5F, 2.5F, 0, 0}, 1.0E-5F);
  EXPECT_EQ(run.site(0).title.substr(0, 32), "Concentrated channel outflow at ");
}

TEST(ModelRun, PrintFlagsOnReaches) {
  // Codes 15 and 12 print (12 both its inflow and, above 10.5, its reach); 5 does not.
  JobRun run("Flags\n1\n12, 1.0, -99\n15, 1.0, -99\n5, 1.0, -99\n0\n3.6, -99\n0\n",
             storm(7, {1, 2}));
  ASSERT_EQ(run.status, 0) << run.log();
  ASSERT_EQ(run.prints(), 3);
  EXPECT_EQ(run.site(0).title.substr(0, 33), "Sub-area inflow point, sub-area A");
  EXPECT_EQ(run.out().find("reach no.       0   3"), std::string::npos);
  EXPECT_EQ(run.site(1).title, "Normal storage, reach no.       0   1");
  EXPECT_EQ(run.site(2).title, "Normal storage, reach no.       0   2");
}

TEST(ModelRun, ExcessAfterTheLastOrdinateIsDropped) {
  // Two increments of storm time give three ordinates; rain in the second hour would
  // arrive at ordinate 3 and rain in a third at ordinate 4, past the end.
  JobRun run("Short\n4\n1, 1.0, -99\n7\nOut\n0\n3.6, -99\n0\n",
             "S\nDESIGN\n1.0, 2, 1, 1, 0, -99\n0, 3\nP\n1 2 3 -99\n");
  ASSERT_EQ(run.status, 0) << run.log();
  EXPECT_EQ(run.site(0).hyd1.values, (std::vector<float>{0.0F, 1.0F, 2.0F}));
}

TEST(ModelRun, UngaugedLocationIsReportedAsACalculatedHydrograph) {
  JobRun run("Ungauged\n4\n1, 1.0, -99\n7.2\nCreek at the old mill\n1, 1.0, -99\n0\n3.6, 3.6, -99\n0\n",
             storm(6, {1, 2}));
  ASSERT_EQ(run.status, 0) << run.log();
  ASSERT_GE(run.prints(), 1);
  EXPECT_EQ(run.site(0).ungaugedFlag, 1);
  EXPECT_NE(run.out().find(" *** Calc. hyd. for ungauged interstation site at:" + std::string(13, ' ') + "Creek at the old mill"),
            std::string::npos);
}

TEST(ModelRun, VectorOfOnlyAnEndCodePrintsNoResults) {
  JobRun run("Empty\n1\n0\n", "S\nDESIGN\n1.0, 4, -99\n");
  ASSERT_EQ(run.status, 0) << run.log();
  EXPECT_EQ(run.prints(), 0);
}

TEST(ModelRun, BranchesAddBackTheStoredHydrograph) {
  // Two sub-areas on separate branches joined by code 14 (with its print):
  // this branch and the stored one are printed before they are added.
  JobRun run("Branches\n4\n1, 1.0, -99\n3\n1, 1.0, -99\n14\n7\nOut\n0\n3.6, 7.2, -99\n0\n", storm(6, {1, 2}));
  ASSERT_EQ(run.status, 0) << run.log();
  ASSERT_EQ(run.prints(), 2);
  expectSeries(run.site(0).hyd1.values, {0, 2, 4, 0}, 1.0E-5F);  // this branch (7.2 km²)
  expectSeries(run.site(0).hyd2.values, {0, 1, 2, 0}, 1.0E-5F);  // the stored branch
  expectSeries(run.site(1).hyd1.values, {0, 3, 6, 0}, 1.0E-5F);
}

}  // namespace
}  // namespace kova::engine
