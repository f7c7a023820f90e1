// What the catchment reader leaves behind, set up directly for the tests of the sub-area
// and storm readers and of the layouts around them, and the stages run from there on.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "engine/input/storm_reader.h"
#include "engine/input/subarea_reader.h"
#include "state/job.h"
#include "support/job_fixture.h"

namespace kova::test {

// The counts and tables of a control vector as the catchment reader would leave them.
struct Read1Shape {
  int nSubAreas = 3;
  int nReaches = 3;
  int nSteps = 6;
  int cvUsed = 0;               // cvData values in use
  std::vector<int> isaEnd{2};   // hydrograph number ending each interstation area
  std::vector<int> ungauged{};  // per hydrograph 1..nHyds: 1 at a code 7.2
  int nIOs = 0;
  int designStorage = 0;
  int nextNameWord = 1;
};

// Fills the counts, the flags and stepData (whose last entry marks the cvData in use).
inline void leaveAsRead1(state::Job& job, const Read1Shape& s) {
  state::Kov& k = job.kov;
  k.nSubAreas = s.nSubAreas;
  k.nReaches = s.nReaches;
  k.nIsas = static_cast<int>(s.isaEnd.size());
  k.nHyds = static_cast<int>(s.ungauged.size());
  k.nIOs = s.nIOs;
  k.designStorage = s.designStorage;
  k.hasPrintPoints = k.nHyds > 0 ? 1 : 0;
  job.nSteps = s.nSteps;
  job.nextNameWord = s.nextNameWord;
  state::CatchmentTables& c = job.catchment;
  for (int step = 1; step <= s.nSteps; ++step)
    c.stepData(static_cast<std::size_t>(step)) = step == s.nSteps ? s.cvUsed + 1 : std::min(step, s.cvUsed + 1);
  for (std::size_t j = 1; j <= s.isaEnd.size(); ++j) c.isaEnd(j) = s.isaEnd[j - 1];
  job.genpar.isUngauged.assign(s.ungauged.size() + 1, 0);
  job.genpar.nUngauged = 0;
  for (std::size_t h = 1; h <= s.ungauged.size(); ++h) {
    job.genpar.isUngauged[h] = s.ungauged[h - 1];
    job.genpar.nUngauged += s.ungauged[h - 1];
  }
}

// A hydrograph shape: `gauged` stations (7.1) and `ungauged` ones (7.2), in that order.
inline std::vector<int> hydrographs(int gauged, int ungauged = 0) {
  std::vector<int> flags(static_cast<std::size_t>(gauged), 0);
  flags.insert(flags.end(), static_cast<std::size_t>(ungauged), 1);
  return flags;
}

// How far to run the stages that follow the catchment reader.
enum class Until { read2, stormLayout, read3, analysisLayout };

// Opens the files, leaves the shape and runs the stages from the sub-area layout on;
// true when one of them ended the job.
inline bool runStages(JobFixture& f, const std::string& catchment, const std::string& storm, const Read1Shape& shape,
                      Until until, int printOption = 1, int snowmeltFlag = 0) {
  f.open(catchment, storm, printOption);
  f.job->genpar.snowmeltFlag = snowmeltFlag;
  leaveAsRead1(*f.job, shape);
  return f.fails([until](state::Job& job) {
    state::layoutSubAreaTables(job);
    engine::read2(job);
    if (until == Until::read2) return;
    state::layoutStormTables(job);
    if (until == Until::stormLayout) return;
    engine::read3(job);
    if (until == Until::read3) return;
    state::layoutAnalysisTables(job);
  });
}

// True when the catchment, storm and output files have all been closed.
inline bool filesClosed(JobFixture& f) {
  const state::Job& job = *f.job;
  return !io::isOpen(job.units, job.unitid.catchmentUnit) && !io::isOpen(job.units, job.unitid.stormUnit) &&
         !io::isOpen(job.units, job.unitid.outputUnit);
}

}  // namespace kova::test
