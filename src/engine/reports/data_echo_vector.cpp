// Data echo: the control vector in words, one line per step, with the ends of the
// distributed inflows and outflows; and the translation steps.
#include <string>

#include "engine/control_codes.h"
#include "engine/reports/data_echo_sections.h"
#include "engine/reports/data_echo_support.h"

namespace kova::engine::echo {

namespace {

// What the walk carries from step to step.
struct VectorWalk {
  int subAreas = 0;
  int reaches = 0;
  int hyds = 0;
  int stored = 0;              // depth of the stack of stored steps
  int distributedLeft = 0;     // reaches left for the running distributed I/O
  bool distributedInflow = false;
};

io::Fmt stepLine(int step, int code) {
  io::Fmt record;
  record.i(4, step).x(2).i(3, code).x(5);
  return record;
}

io::Fmt valueLine(int step, float code) {
  io::Fmt record;
  record.i(4, step).x(2).f(5, 1, code).x(3);
  return record;
}

// One more reach; the line closing a distributed I/O follows its last reach.
void countReach(state::Job& job, VectorWalk& w) {
  if (w.distributedLeft <= 0 || --w.distributedLeft > 0) return;
  line(job, io::Fmt().x(14).a(w.distributedInflow ? "End distributed inflow" : "End distributed outflow"));
}

void channelIOLine(state::Job& job, VectorWalk& w, int step, int code) {
  const ChannelIO io = channelIO(job, step);
  if (io.kind == 0) ++w.hyds;
  const std::string name(io::trimRight(channelIOName(job, step)));
  const bool inflow = io.direction >= 0.5F;
  io::Fmt record = stepLine(step, code);
  if (io.reaches > 0) {
    record.a(inflow ? "Start distributed inflow (" : "Start distributed outflow (").a(name).a(")");
    w.distributedLeft = io.reaches;
    w.distributedInflow = inflow;
  } else if (inflow) {
    record.a("Add concentrated inflow, ").a(name);
  } else if (io.direction <= -0.5F) {
    record.a("Subtract & follow outflow, ").a(name);
  } else {
    record.a("Subtract concentrated outflow ").a(name);
  }
  line(job, record);
}

void stationLine(state::Job& job, VectorWalk& w, int step, float value) {
  const float below = belowTens(value);
  if (below <= 7.05F) {
    line(job, valueLine(step, value).a("Print hydrograph, ").a(trimmedName(job, stepInteger(job, step, 0))));
    return;
  }
  const std::string name = hydrographName(job, ++w.hyds);
  if (below <= 7.15F) {
    line(job, valueLine(step, value).a("Print results, ").a(name));
  } else {
    line(job, io::Fmt().i(4, step).f(7, 1, value).a("   Print results at ungauged interstation location, ").a(name));
  }
}

// Writes the line of one step; false at the end of the vector.
bool stepLineFor(state::Job& job, VectorWalk& w, int step) {
  state::EchoTables& t = job.echoTables;
  const float value = at(job.catchment.code, step);
  const int code = printedCode(value);
  put(t.stepCodes, step, code);
  switch (code % 10) {
    case 1:
    case 2:
      ++w.subAreas;
      line(job, stepLine(step, code)
                    .a("Add sub-area '")
                    .a(std::string(1, subAreaLetter(job, w.subAreas)))
                    .a("' inflow & route thru ")
                    .a("normal storage ")
                    .i(4, ++w.reaches));
      countReach(job, w);
      return true;
    case 3:
      line(job, stepLine(step, code).a("Store hydrograph from step ").i(4, step - 1).a("; reset hydrograph to zero"));
      put(t.stack, ++w.stored, step);
      return true;
    case 4: {
      const int from = w.stored >= 1 ? at(t.stack, w.stored--) : 0;
      line(job, stepLine(step, code).a("Add h-graph ex step ").i(4, from).a(" to h-graph ex ").a("step ").i(4, step - 1));
      return true;
    }
    case 5:
      line(job, stepLine(step, code).a("Route hydrograph thru normal storage ").i(4, ++w.reaches));
      countReach(job, w);
      return true;
    case 6: {
      const bool design = belowTens(value) - 6.0F > 0.05F;
      line(job, valueLine(step, value)
                    .a(design ? "Storage to be designed, " : "Route thru existing storage, ")
                    .a(trimmedName(job, stepInteger(job, step, 0))));
      return true;
    }
    case 7: stationLine(job, w, step, value); return true;
    case 8: line(job, stepLine(step, code).a("Translate hydrograph")); return true;
    case 9: channelIOLine(job, w, step, code); return true;
    default:
      line(job, stepLine(step, code).a("**********End of control vector**********"));
      return false;
  }
}

}  // namespace

void writeControlVector(state::Job& job) {
  std::string runType = job.carr.runTypeText.substr(0, 6);
  runType.resize(6, ' ');
  emptyLines(job, 3);
  line(job, " " + runType + " run control vector");
  emptyLines(job, 1);
  line(job, io::Fmt().a(" Step  Code").x(14).a("Description"));
  VectorWalk w;
  for (int step = 1; step <= job.nSteps; ++step)
    if (!stepLineFor(job, w, step)) break;
}

void writeTranslations(state::Job& job) {
  const state::Vec1<float>& codes = job.catchment.code;
  bool any = false;
  for (int step = 1; step <= job.nSteps; ++step) {
    if (codeNumber(at(codes, step)) != 8) continue;
    if (!any) {
      emptyLines(job, 3);
      line(job, " Translation data");
      emptyLines(job, 1);
      any = true;
    }
    line(job, io::Fmt()
                  .a(" STEP ")
                  .i(2, step)
                  .a(" Hydrograph translated ")
                  .i(3, stepInteger(job, step, 0))
                  .a(" incs."));
  }
}

}  // namespace kova::engine::echo
