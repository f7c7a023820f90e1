// Stage-test job set-up.
#include "support/job_fixture.h"

#include "io/units.h"

namespace kova::test {

void JobFixture::open(const std::string& catchment, const std::string& storm, int printOption) {
  state::Job& j = *job;
  j.genpar.catchmentFile = dir.write("job.cat", catchment);
  j.genpar.stormFile = dir.write("job.stm", storm);
  j.genpar.outputFile = dir.file("job.out");
  j.genpar.printOption = printOption;
  j.kov.printOption = printOption;
  j.unitid.printUnit = j.unitid.outputUnit;
  io::openOutputUnit(j.units, state::logUnit, dir.file("job.log"));
  io::openInputUnit(j.units, j.unitid.catchmentUnit, j.genpar.catchmentFile);
  io::openInputUnit(j.units, j.unitid.stormUnit, j.genpar.stormFile);
  io::openOutputUnit(j.units, j.unitid.outputUnit, j.genpar.outputFile);
  state::initkova(j);
  j.catchment = state::layoutCatchmentTables(j.work);
}

std::string JobFixture::output() {
  io::flushUnit(job->units, job->unitid.outputUnit);
  return readFile(dir.file("job.out"));
}

std::string JobFixture::log() {
  io::flushUnit(job->units, state::logUnit);
  return readFile(dir.file("job.log"));
}

}  // namespace kova::test
