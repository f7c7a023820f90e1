// Job state: the reset at the start of a job, the first layout of the work arrays, the
// name table and the hydrograph store.
#include "state/job.h"

#include <gtest/gtest.h>

#include <memory>

namespace kova::state {
namespace {

TEST(WorkArrays, CatchmentTablesHaveTheirCapacitiesAndDoNotOverlap) {
  auto job = std::make_unique<Job>();
  CatchmentTables t = layoutCatchmentTables(job->work);
  EXPECT_EQ(t.reachLength.capacity(), 625000U);
  EXPECT_EQ(t.cvData.capacity(), 3U * 625000U);
  EXPECT_EQ(t.code.capacity(), 2U * 625000U);
  EXPECT_EQ(t.reachType.capacity(), 10U * 4761U);
  EXPECT_EQ(t.stepData.capacity(), 20U * 4761U);
  EXPECT_EQ(t.branchFlag.capacity(), 4761U);
  // Real tables end exactly at the real limit; integer tables within theirs.
  EXPECT_EQ(&t.code.data.back() + 1, job->work.realWork.data() + limReal);
  EXPECT_LE(&t.branchFlag.data.back() + 1, job->work.intWork.data() + limInt);
  EXPECT_EQ(&t.reachLength.data.back() + 1, &t.reachSlope(1));
  EXPECT_EQ(&t.isaEnd.data.back() + 1, &t.ioPrevCount(1));
}

TEST(WorkArrays, NamesAreTwentyEightCharactersBlankPadded) {
  auto job = std::make_unique<Job>();
  storeName(job->work, 8, "Coal Creek at Bridge St");
  storeName(job->work, 15, "A name that is far longer than twenty-eight characters");
  EXPECT_EQ(nameAt(job->work, 8), "Coal Creek at Bridge St     ");
  EXPECT_EQ(nameAt(job->work, 15), "A name that is far longer th");
  EXPECT_EQ(nameAt(job->work, 1), std::string(28, ' '));
}

TEST(JobReset, InitkovaResetsCountsAndConstants) {
  auto job = std::make_unique<Job>();
  Kov& k = job->kov;
  k.nSubAreas = k.nIsas = k.nHyds = k.maxStoreLevel = k.nReaches = k.nIOs = 7;
  k.designStorage = k.hasPrintPoints = k.nPluvios = k.arealRainFlag = k.nHydOrds = k.nBursts = 1;
  k.catchArea = 12.0F;
  k.endCheck = 0.0F;
  k.impervRunoffCoeff = 0.5F;
  k.maxRecordedFlow = 40.0F;
  job->genpar.nUngauged = 3;
  job->genpar.subAreaIsa[LIMAREA - 1] = 4;
  initkova(*job);
  EXPECT_EQ(k.nSubAreas + k.nIsas + k.nHyds + k.maxStoreLevel + k.nReaches + k.nIOs, 0);
  EXPECT_EQ(k.designStorage + k.hasPrintPoints + k.nPluvios + k.arealRainFlag + k.nHydOrds + k.nBursts, 0);
  EXPECT_EQ(k.catchArea, 0.0F);
  EXPECT_EQ(k.endCheck, -99.0F);
  EXPECT_EQ(k.impervRunoffCoeff, 0.9F);
  EXPECT_EQ(k.maxRecordedFlow, 1.0F);
  EXPECT_EQ(job->genpar.nUngauged, 0);
  EXPECT_EQ(job->genpar.subAreaIsa[LIMAREA - 1], 0);
}

TEST(SiteStore, AllocatesSiteCountPlusOneAndKeepsThemForTheSameCount) {
  auto job = std::make_unique<Job>();
  job->siteCount = 57;
  setdynamicarrays(*job, 49);
  ASSERT_EQ(job->sites.site.size(), 58U);
  EXPECT_EQ(job->sites.plot.qmaxi.size(), 58U);
  EXPECT_EQ(job->sites.plot.PlotSelSite.size(), 58U);
  EXPECT_FALSE(job->sites.site[0].hyd1.allocated);
  job->sites.site[3].hyd1 = Series{true, {1.0F, 2.0F}};
  setdynamicarrays(*job, 49);  // same count: records and series untouched
  EXPECT_TRUE(job->sites.site[3].hyd1.allocated);
  EXPECT_EQ(job->sites.site[3].hyd1.values.size(), 2U);
  job->siteCount = 3;
  setdynamicarrays(*job, 49);  // a new count: everything anew and unallocated
  ASSERT_EQ(job->sites.site.size(), 4U);
  EXPECT_FALSE(job->sites.site[3].hyd1.allocated);
}

}  // namespace
}  // namespace kova::state
