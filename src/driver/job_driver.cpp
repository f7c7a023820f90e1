// The program entry and the job driver.
#include "driver/job_driver.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include "driver/messages.h"
#include "driver/output_files.h"
#include "driver/parameter_file.h"
#include "engine/input/catchment_reader.h"
#include "engine/input/storm_reader.h"
#include "engine/input/subarea_reader.h"
#include "engine/reports/data_echo.h"
#include "engine/reports/hydrograph_tables.h"
#include "engine/routing/analysis.h"
#include "engine/routing/model.h"
#include "gateops/gateops_reader.h"
#include "io/units.h"
#include "override/hydrograph_override.h"
#include "snowmelt/snowmelt.h"

namespace kova::driver {

namespace {

constexpr const char* printOptionTexts[] = {"Flows only            ", "Flows & rainfall only ",
                                            "Flows & all input data"};

std::string printOptionText(int option) {
  if (option >= 1 && option <= 3) return printOptionTexts[option - 1];
  return std::string(22, ' ');
}

void allocateSites(state::Job& job) {
  try {
    state::setdynamicarrays(job, job.kov.nHydOrds);
  } catch (const std::bad_alloc&) {
    warnmess(job, "Unable to allocate required dynamic memory");
    endJob(job);
  }
}

// Stage 6: the loss tables and the run loop's work space after the analysis tables.
void layoutRunStage(state::Job& job) {
  const state::AnalysisTables& a = job.analysisTables;
  switch (state::layoutRunTables(job, a.realEnd, a.intEnd)) {
    case state::RunLayoutStatus::realLimit: storageLimitExceeded(job, Storage::real);
    case state::RunLayoutStatus::integerLimit: storageLimitExceeded(job, Storage::integer);
    case state::RunLayoutStatus::ok: break;
  }
  if (!state::layoutRoutingTables(job, job.runTables.realEnd)) storageLimitExceeded(job, Storage::real);
}

// The stages of a job in order; a fatal condition ends it by JobEnded.
void runStages(state::Job& job) {
  state::Genpar& g = job.genpar;
  state::Kov& k = job.kov;
  auto stage = [&](auto&& routine) {
    routine(job);
    if (g.errorFlag != 0) endJob(job);
  };

  if (g.lossModelOption == 1) k.constantLossModel = 1;
  if (g.lossModelOption == 2) k.constantLossModel = 0;
  g.nHydsPrinted = 0;
  g.nSpecialStorages = 0;
  job.unitid.catchmentUnit = 1;
  job.unitid.stormUnit = 3;
  job.unitid.outputUnit = 2;
  job.unitid.printUnit = 2;

  stage(openfiles);
  state::clearWorkArrays(job.work);
  state::initkova(job);
  k.printOption = g.printOption;
  kovaheader(job, job.unitid.printUnit);
  printLine(job, " Vector file       : " + g.catchmentFile);
  printLine(job, " Storm file        : " + g.stormFile);
  printLine(job, " Output information: " + printOptionText(k.printOption));

  job.catchment = state::layoutCatchmentTables(job.work);
  job.nSteps = 0;
  job.nextNameWord = 1;
  stage(engine::read1);

  job.siteCount = countSites(job.catchment.code.data.first(static_cast<std::size_t>(job.nSteps)));

  if (job.gateops.gateOpsFlag == 1) stage(gateops::readgateopsdata);
  if (g.snowmeltFlag == 1) stage(snowmelt::readsnowmeltdata);
  if (g.overrideFlag == 1) stage(override_::readhydrographoverridedata);

  state::layoutSubAreaTables(job);
  stage(engine::read2);
  state::layoutStormTables(job);
  stage(engine::read3);
  state::layoutAnalysisTables(job);
  allocateSites(job);
  stage(engine::analys);
  if (k.printOption == 3) {
    state::layoutEchoTables(job);
    stage(engine::wridat);
    if (g.snowmeltFlag == 1) {
      stage(snowmelt::writepackinit);
      stage(snowmelt::writeclim);
    }
  }
  layoutRunStage(job);
  if (job.snowmeltLoaded) stage(snowmelt::compsnow);
  stage(engine::model);
  g.tableTimeInc = k.timeInc;
  stage(engine::writetablehyds);
}

}  // namespace

int countSites(std::span<const float> codes) {
  int count = 0;
  for (float c : codes) {
    if (c >= 7.0F && c < 7.1F) {
      count += 1;
    } else if (c >= 7.1F && c < 7.2F) {
      count += 2;
    } else if (c >= 7.2F && c < 8.0F) {
      count += 1;
    } else if (c >= 11.0F && c <= 12.0F) {
      count += 4;
    } else if (c >= 13.0F && c < 19.0F) {
      count += 2;
    } else if (c >= 19.0F) {
      count += 50;
    }
  }
  return count;
}

void kova(state::Job& job) {
  job.genpar.errorFlag = 0;
  try {
    runStages(job);
  } catch (const state::JobEnded&) {
    job.genpar.errorFlag = 1;
  }
  clsfilns(job);
}

int runJob(state::Job& job, std::string_view paramPath) {
  std::string path(paramPath.substr(0, std::min<std::size_t>(paramPath.size(), state::pathLength)));
  job.genpar.paramFile = std::string(io::trimRight(path));
  job.genwin.versionTag = versionTag;
  job.genwin.versionDate = versionDate;
  initdefpars(job);
  initinputpar(job);
  if (readpar(job) != 0) {
    clsfilns(job);
    return 1;
  }
  getoutputfilename(job);
  populatedetailedprintnames(job);
  kova(job);
  return job.genpar.errorFlag != 0 ? 1 : 0;
}

int MAIN(int argc, const char* const* argv) {
  auto job = std::make_unique<state::Job>();
  return runJob(*job, argc > 1 ? std::string_view(argv[1]) : std::string_view());
}

}  // namespace kova::driver
