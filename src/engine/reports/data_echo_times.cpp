// Data echo: the heading, the initial time, the time increment with the burst times, and
// the times of the recorded hydrographs.
#include <algorithm>

#include "engine/reports/data_echo_sections.h"
#include "engine/reports/data_echo_support.h"

namespace kova::engine::echo {

namespace {

constexpr int designRun = 3;

void writeBursts(state::Job& job) {
  const state::Kov& k = job.kov;
  const state::Mat1<int>& burst = job.subAreaTables.burst;
  if (k.nBursts == 1) {
    line(job, io::Fmt().a(" Rainfall times:").i(6, at(burst, 1, 1)).i(9, at(burst, 1, 2)));
  } else if (k.nBursts > 1) {
    line(job, " Rainfall times:");
    for (int b = 1; b <= k.nBursts; ++b)
      line(job, io::Fmt().x(9).a("Burst").i(2, b).i(6, at(burst, b, 1)).x(3).i(6, at(burst, b, 2)));
    emptyLines(job, 1);
  }
  emptyLines(job, 1);
}

void writeHydrographTimes(state::Job& job) {
  const state::Kov& k = job.kov;
  const state::Mat1<int>& times = job.stormTables.hydTimes;
  int recorded = 0;
  for (int h = 1; h <= k.nHyds; ++h) recorded += isRecorded(job, h) ? 1 : 0;
  if (recorded == 1) {
    for (int h = 1; h <= k.nHyds; ++h)
      if (isRecorded(job, h)) line(job, io::Fmt().a(" Hydrograph times:").i(4, at(times, 1, h)).i(9, at(times, 2, h)));
  } else if (recorded > 1) {
    line(job, " Hydrograph times:");
    for (int h = 1; h <= k.nHyds; ++h) {
      if (!isRecorded(job, h)) continue;
      line(job, io::Fmt()
                    .a("   Hydrograph ")
                    .i(2, h)
                    .i(6, at(times, 1, h))
                    .i(9, at(times, 2, h))
                    .x(4)
                    .a(hydrographName(job, h)));
    }
  }
}

// The last time of the hyetographs and hydrographs: the finish of the last burst or of
// the longest recorded hydrograph, whichever is later.
int lastTime(const state::Job& job) {
  const state::Kov& k = job.kov;
  const int lastBurst = k.nBursts >= 1 ? at(job.subAreaTables.burst, k.nBursts, 2) : 0;
  return std::max(lastBurst, k.nHydOrds - 1);
}

}  // namespace

void writeHeadingAndTimes(state::Job& job) {
  const state::Kov& k = job.kov;
  emptyLines(job, 3);
  line(job, " Data:");
  line(job, " " + job.carr.stars);
  emptyLines(job, 1);
  line(job, " " + job.carr.catchName);
  emptyLines(job, 2);
  line(job, " Time data, in increments from initial time");
  if (k.runType != designRun) line(job, " Initial time: ");
  line(job, " " + job.carr.stormTitle);
  line(job, io::Fmt().a(" Time increment (hours)=").f(6, 2, k.timeInc));
  emptyLines(job, 1);
  line(job, io::Fmt().x(19).a("Start   Finish"));
  writeBursts(job);
  writeHydrographTimes(job);
  emptyLines(job, 1);
  line(job, io::Fmt().a(" End of hyeto/hydrographs: ").i(4, lastTime(job)));
  line(job, io::Fmt().a(" Duration of calculations: ").i(4, std::max(job.nTimes - 1, 0)));
  emptyLines(job, 3);
}

}  // namespace kova::engine::echo
