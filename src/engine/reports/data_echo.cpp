// The data echo: its sections in order, and the scratch cleared for the run tables.
#include "engine/reports/data_echo.h"

#include <algorithm>

#include "engine/reports/data_echo_elevations.h"
#include "engine/reports/data_echo_sections.h"

namespace kova::engine {

void wridat(state::Job& job) {
  echo::writeHeadingAndTimes(job);
  echo::writePluviographs(job);
  echo::writeRecordedHydrographs(job);
  echo::writeControlVector(job);
  echo::writeSubAreas(job);
  if (job.genpar.snowmeltFlag == 1) writeelprop(job);
  echo::writeNormalStorages(job);
  echo::writeSpecialStorages(job);
  echo::writeChannelIO(job);
  echo::writeTranslations(job);
  // The run tables are carved over the scratch and must find it clear.
  state::EchoTables& t = job.echoTables;
  std::fill(t.columnTotals.data.begin(), t.columnTotals.data.end(), 0.0F);
  std::fill(t.depthFactors.data.begin(), t.depthFactors.data.end(), 0.0F);
}

}  // namespace kova::engine
