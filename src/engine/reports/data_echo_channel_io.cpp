// Data echo: the channel inflows and outflows, one line each with its location, direction
// and reaches, then what it is by its kind (a recorded hydrograph, a function of the stream
// flow, the same as an earlier one, or a table).
#include <algorithm>
#include <string>

#include "engine/control_codes.h"
#include "engine/reports/data_echo_sections.h"
#include "engine/reports/data_echo_support.h"

namespace kova::engine::echo {

namespace {

enum IOKind { givenHydrograph = 0, function = 1, sameAsEarlier = 2, dischargeTable = 3 };
constexpr int kindData = 5;  // cvData offset of a kind's own data, after the five head values

void writeIO(state::Job& job, int step) {
  const ChannelIO io = channelIO(job, step);
  io::Fmt record;
  // The name stands in a column here, so it keeps its 28 characters.
  record.x(1).a(channelIOName(job, step)).a(io.direction >= 0.5F ? "I" : "O").i(6, io.reaches);
  switch (io.kind) {
    case givenHydrograph: line(job, record.x(5).a("see hydrograph data above")); return;
    case function:
      // Stored as a, c, b, d; shown as a + b*(Q - c)**d.
      line(job, record.x(3)
                    .f(7, 2, stepData(job, step, kindData))
                    .a(" +")
                    .f(5, 2, stepData(job, step, kindData + 2))
                    .a("*(Q-")
                    .f(7, 2, stepData(job, step, kindData + 1))
                    .a(")**")
                    .f(4, 2, stepData(job, step, kindData + 3)));
      return;
    case sameAsEarlier: line(job, record.x(5).a("I/O for same location above")); return;
    default: {
      line(job, record.x(10).a("stream flow     I/O"));
      // The number of pairs, the stream flows, then the inflows or outflows.
      const int pairs = std::max(stepInteger(job, step, kindData), 0);
      for (int i = 1; i <= pairs; ++i)
        line(job, io::Fmt()
                      .x(46)
                      .f(11, 2, stepData(job, step, kindData + i))
                      .f(11, 2, stepData(job, step, kindData + pairs + i)));
      return;
    }
  }
}

}  // namespace

void writeChannelIO(state::Job& job) {
  if (job.kov.nIOs < 1) return;
  emptyLines(job, 3);
  line(job, " Channel inflow/outflow data");
  emptyLines(job, 1);
  line(job, io::Fmt().x(7).a("Location or").x(11).a(" I/O No. of    Inflow or outflow, m\xB3/s,= "));
  line(job, io::Fmt().x(7).a("description").x(16).a("reaches"));
  emptyLines(job, 1);
  for (int step = 1; step <= job.nSteps; ++step)
    if (codeNumber(at(job.catchment.code, step)) == 9) writeIO(job, step);
}

}  // namespace kova::engine::echo
