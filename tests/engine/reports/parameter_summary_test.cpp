// Tests of the parameter summary in each of its layouts, and of the column decimals.
#include "engine/reports/parameter_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/reports/report_test_support.h"

namespace kova::engine {
namespace {

using test::blanks;
using test::JobFixture;
using test::splitLines;

const std::string rcHead = " Loss parameters     Initial loss (mm)     Runoff coeff.";
const std::string clHead = " Loss parameters     Initial loss (mm)   Cont. loss (mm/h)";
const std::string modelRcHead = " Model parameters             Kc       m      Initial loss (mm)     Runoff coeff.";
const std::string modelClHead = " Model parameters             Kc       m      Initial loss (mm)   Cont. loss (mm/h)";
const std::string params = " Parameters:  kc =     1.10    m = 0.80";
const std::string above = "   Interstation area above:";
const std::string upper = "   Upper Creek at Bridge";  // the first 21 characters of the name
const std::string dam = "   Dam" + blanks(18);

struct SummaryCase {
  const char* what;
  int isas, bursts, single, constantLoss;
  std::vector<std::string> want;
};

TEST(Writeparam, EachLayout) {
  const SummaryCase cases[] = {
      {"no interstation area", 0, 1, 1, 0, {"", params}},
      {"one area, one burst", 1, 1, 0, 0, {"", params, "", rcHead, blanks(24) + "   10.00" + "              0.50"}},
      {"one area, two bursts",
       1,
       2,
       0,
       1,
       {"", params, "", clHead, blanks(24) + "   10.00" + "              0.50" + "  (Burst  1)",
        blanks(24) + "    5.00" + "              0.70" + "  (Burst  2)"}},
      {"two areas, one burst, one set",
       2,
       1,
       1,
       1,
       {"", params, "", clHead, above, upper + "   10.00" + "              0.50",
        dam + "   20.00" + "              0.60"}},
      {"two areas, one burst, a set each",
       2,
       1,
       0,
       0,
       {modelRcHead, above, upper + "    1.10    0.80" + "            10.00" + "              0.50",
        dam + "    2.20    0.70" + "            20.00" + "              0.60"}},
      {"two areas, two bursts, one set",
       2,
       2,
       1,
       0,
       {"", params, "", rcHead, above, upper + "   10.00" + "              0.50" + " (Burst  1)",
        upper + "    5.00" + "              0.70" + " (Burst  2)", dam + "   20.00" + "              0.60" + " (Burst  1)",
        dam + "    6.00" + "              0.80" + " (Burst  2)"}},
      {"two areas, two bursts, a set each",
       2,
       2,
       0,
       1,
       {modelClHead, above, upper + "    1.10    0.80" + "            10.00" + "              0.50" + " (Burst  1)",
        blanks(40) + "             5.00" + "              0.70" + " (Burst  2)",
        dam + "    2.20    0.70" + "            20.00" + "              0.60" + " (Burst  1)",
        blanks(40) + "             6.00" + "              0.80" + " (Burst  2)"}},
  };
  const std::vector<std::string> names{"Upper Creek at Bridge Road" + blanks(42), "Dam" + blanks(65)};
  for (const auto& c : cases) {
    JobFixture f;
    test::openReportJob(f);
    state::Job& job = *f.job;
    job.kov.nIsas = c.isas;
    job.kov.nBursts = c.bursts;
    job.kov.constantLossModel = c.constantLoss;
    job.genpar.singleParamSet = c.single;
    job.genpar.kc[0] = 1.1F;
    job.genpar.kc[1] = 2.2F;
    job.genpar.m[0] = 0.8F;
    job.genpar.m[1] = 0.7F;
    job.genpar.initialLoss[0][0] = 10.0F;
    job.genpar.initialLoss[0][1] = 20.0F;
    job.genpar.initialLoss[1][0] = 5.0F;
    job.genpar.initialLoss[1][1] = 6.0F;
    job.genpar.lossRate[0][0] = 0.5F;
    job.genpar.lossRate[0][1] = 0.6F;
    job.genpar.lossRate[1][0] = 0.7F;
    job.genpar.lossRate[1][1] = 0.8F;
    writeparam(job, job.unitid.outputUnit, names);
    EXPECT_EQ(splitLines(f.output()), c.want) << c.what;
  }
}

TEST(Writeparam, OneAreaAndThreeBurstsEndEachLossLineWithTheBurst) {
  JobFixture f;
  test::openReportJob(f);
  state::Job& job = *f.job;
  job.kov.nIsas = 1;
  job.kov.nBursts = 3;
  job.kov.constantLossModel = 0;
  job.genpar.kc[0] = 2.25F;
  job.genpar.m[0] = 0.75F;
  job.genpar.initialLoss[0][0] = 10.0F;
  job.genpar.initialLoss[1][0] = 15.5F;
  job.genpar.lossRate[0][0] = 0.45F;
  job.genpar.lossRate[1][0] = 0.6F;
  job.genpar.lossRate[2][0] = 1.0F;
  writeparam(job, job.unitid.outputUnit, {});
  EXPECT_EQ(splitLines(f.output()), (std::vector<std::string>{
                                        "",
                                        " Parameters:  kc =     2.25    m = 0.75",
                                        "",
                                        rcHead,
                                        blanks(24) + "   10.00              0.45  (Burst  1)",
                                        blanks(24) + "   15.50              0.60  (Burst  2)",
                                        blanks(24) + "    0.00              1.00  (Burst  3)",
                                    }));
}

TEST(Numsigfig, DecimalsByMagnitude) {
  const std::pair<float, int> cases[] = {{-5.0F, 4},   {0.0F, 4},     {99.99F, 4},   {100.0F, 3},
                                         {999.9F, 3},  {1000.0F, 2},  {9999.0F, 2},  {10000.0F, 1},
                                         {2.5e6F, 1}};
  for (const auto& [x, want] : cases) EXPECT_EQ(numsigfig(x), want) << x;
}

}  // namespace
}  // namespace kova::engine
