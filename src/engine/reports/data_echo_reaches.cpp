// Data echo: the reach (normal storage) table.
#include <array>

#include "engine/reports/data_echo_sections.h"
#include "engine/reports/data_echo_support.h"

namespace kova::engine::echo {

namespace {

constexpr std::array<const char*, 4> typeNames{"Natural ", "Unlined ", "Lined   ", "Drowned "};

const char* typeName(int type) {
  return type >= 1 && type <= 4 ? typeNames[static_cast<std::size_t>(type - 1)] : "        ";
}

}  // namespace

void writeNormalStorages(state::Job& job) {
  const state::CatchmentTables& c = job.catchment;
  if (job.kov.nReaches < 1) return;
  emptyLines(job, 3);
  line(job, " Normal storage data");
  emptyLines(job, 1);
  line(job, " Storage   Length   Rel. delay      Type         Slope");
  line(job, "   no.       km*       time                     percent ");
  for (int r = 1; r <= job.kov.nReaches; ++r) {
    const int type = at(c.reachType, r);
    io::Fmt row;
    row.i(4, r).x(2).f(10, 1, at(c.reachLength, r)).f(12, 3, at(c.relDelay, r)).x(7).a(typeName(type));
    // Only the channel types carry a slope.
    if (type == 2 || type == 3) row.x(4).f(7, 3, at(c.reachSlope, r));
    line(job, row);
  }
  travelTimeFootnote(job);
}

}  // namespace kova::engine::echo
