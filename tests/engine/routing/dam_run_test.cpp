// DESIGN runs through dams and retarding basins of every relation type in series, run in
// process through the whole job: every storage reports its results and passes on what
// reached it less what its drawdown kept, within the routing's tolerance; peaks are
// attenuated.
#include <gtest/gtest.h>

#include <string>

#include "support/job_run.h"

namespace kova::test {
namespace {

// 3.6 km² with no losses turns the 10, 20, 10 mm of rain into 10, 20, 10 m³/s, 144000 m³.
// Four printed storages in series (code 16), each draining within the 60-hour run:
// a power law S = 3600 Q^0.8 with 20000 m³ of drawdown; a storage-discharge table; two
// pipes under a spillway over a storage function of elevation, full at the pipe invert;
// a spillway over an elevation-storage table, full at the crest.
const std::string dams =
    "Dams in series\n4\n"
    "1, 1.0, -99\n"
    "16\nFormula basin\n0, -20000, 1.0, 0.8, -99\n0, -99\n"
    "16\nTable basin\n1, 0, 5, 0, 0, 20000, 5, 60000, 15, 150000, 30, 400000, 60, -99\n0, -99\n"
    "16\nPiped dam\n2, 0, 1, 102.0, 20.0, 1.7, 0.5, 0.2, 1, 100.0, 2, 30.0, 1.0, 0.9, -99\n"
    "2, 5000, 1.5, 99.0, -99\n"
    "16\nSpillway dam\n3, 0, 1, 50.0, 30.0, 1.7, -99\n1, 4, 48, 0, 50, 4000, 52, 20000, 56, 100000, -99\n"
    "7\nOutlet\n"
    "0\n"
    "3.6, -99\n0\n";

const std::string storm =
    "Design storm\nDESIGN\n1.0, 60, 1, 1, 0, -99\n0, 3\nPluvio\n10 20 10 -99\n";

const std::string noLosses = "NumISA     1\nkc, m     1.0 0.8\nNumBurst   1\nIL, CL    0.0 0.0\n";

TEST(DamRun, EveryRelationTypeRoutesAndKeepsTheVolume) {
  JobRun run(dams, storm, modelLines(1, 1, noLosses));
  ASSERT_EQ(run.status, 0) << run.log() << run.out();
  ASSERT_EQ(run.prints(), 5);
  const std::string out = run.out();
  for (const char* name : {"Formula basin", "Table basin", "Piped dam", "Spillway dam"}) {
    EXPECT_NE(out.find(std::string(" Results of routing through special storage ") + name), std::string::npos)
        << name << "\n" << out;
  }
  for (const char* name : {"Piped dam", "Spillway dam"}) {
    EXPECT_NE(out.find(std::string(" Elevation-storage-discharge table for special storage \n ") + name),
              std::string::npos)
        << name;
  }
  // Each storage print holds its outflow (first) and its inflow as it arrived (second).
  const float drawdown[] = {20000.0F, 0.0F, 0.0F, 0.0F};
  float arriving = 144000.0F;
  for (int s = 0; s < 4; ++s) {
    SCOPED_TRACE(s + 1);
    const state::Site& site = run.site(s);
    ASSERT_EQ(site.kind, 2);
    EXPECT_NEAR(site.stats2.volume, arriving, 0.001F * arriving);
    // The routing accepts a step once its continuity residual is below a thousandth of
    // the peak inflow, so each of the 60 hours may miss by that much times an hour.
    const float passable = site.stats2.volume - drawdown[s];
    EXPECT_NEAR(site.stats1.volume, passable, 60.0F * 0.001F * site.stats2.peak * 3600.0F);
    EXPECT_LT(site.stats1.peak, site.stats2.peak);
    EXPECT_GT(site.stats1.peak, 0.0F);
    arriving = site.stats1.volume;
  }
  EXPECT_NEAR(run.site(4).stats1.volume, arriving, 0.001F * arriving);
}

}  // namespace
}  // namespace kova::test
