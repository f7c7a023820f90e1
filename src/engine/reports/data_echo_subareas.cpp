// Data echo: the sub-area table in its four header forms (with or without fractions
// impervious, with one or several interstation areas), the average flow distances and the
// interstation-area factors.
#include "engine/reports/data_echo_sections.h"
#include "engine/reports/data_echo_support.h"

namespace kova::engine::echo {

namespace {

constexpr int areasPerLine = 15;  // interstation areas on one line of a sub-area row

void writeHeader(state::Job& job, bool impervious, bool severalAreas) {
  if (!impervious && !severalAreas) {
    line(job, " Sub-     Area     Dist.");
    line(job, " area      km\xB2      km*");
    return;
  }
  if (!impervious) {
    line(job, " Sub-     Area     Dist.     Intersta-  Part of sub-");
    line(job, " area      km\xB2      km*      tion area  catchment(s)");
  } else if (!severalAreas) {
    line(job, " Sub-     Area     Dist.     Fraction");
    line(job, " area      km\xB2      km*     impervious");
  } else {
    line(job, " Sub-     Area     Dist.     Fraction     Intersta-  Part of sub-");
    line(job, " area      km\xB2      km*     impervious    tion area  catchment(s)");
  }
  emptyLines(job, 1);
}

// The interstation area directly downstream of area j: the one that lists j upstream.
int downstreamOf(const state::Job& job, int j) {
  const state::Mat1<int>& upstream = job.analysisTables.isaUpstream;
  for (int k = 1; k <= job.kov.nIsas; ++k) {
    if (k == j) continue;
    const int count = at(upstream, k, 1);
    for (int u = 1; u <= count; ++u)
      if (at(upstream, k, u + 1) == j) return k;
  }
  return 0;
}

// Fills the stack scratch with the interstation areas whose catchments hold area `own`:
// itself, then each one downstream in turn. Returns their count.
int containingAreas(state::Job& job, int own) {
  const state::Vec1<int>& list = job.echoTables.stack;
  int count = 0;
  // Each area is downstream of at most one other and the chain runs toward the outlet, so
  // it has at most nIsas links; the bound also guards a table that would loop.
  for (int j = own; j >= 1 && count < job.kov.nIsas; j = downstreamOf(job, j)) put(list, ++count, j);
  return count;
}

void writeRow(state::Job& job, int n, bool impervious, bool severalAreas) {
  const state::SubAreaTables& s = job.subAreaTables;
  const state::AnalysisTables& a = job.analysisTables;
  io::Fmt row;
  row.x(3).a(std::string(1, subAreaLetter(job, n))).x(2);
  row.p(1).x(1).e(9, 2, at(s.subArea, n)).x(1).e(9, 2, at(a.flowDist, n));
  if (impervious) row.x(2).p(0).f(7, 2, at(s.fracImperv, n));
  if (severalAreas) {
    const int own = at(a.subAreaMark, n) / 1000;
    row.x(7).i(2, own).x(5);
    const int count = containingAreas(job, own);
    for (int i = 1; i <= count; ++i) {
      // Past the fifteenth the layout starts again on a new line with its list.
      if (i > 1 && (i - 1) % areasPerLine == 0) row.slash();
      row.i(2, at(job.echoTables.stack, i));
    }
  }
  line(job, row);
}

float averageDistance(const state::Job& job, int j) {
  const state::AnalysisTables& a = job.analysisTables;
  const float area = at(a.isaArea, j);
  return area > 1.0E-30F ? a.isaAdSum[static_cast<std::size_t>(j - 1)] / area : 0.0F;
}

}  // namespace

void writeSubAreas(state::Job& job) {
  const state::Kov& k = job.kov;
  if (k.nSubAreas < 1) return;
  const bool impervious = k.impervFlag == 1;
  const bool severalAreas = k.nIsas > 1;
  emptyLines(job, 3);
  line(job, " Sub-area data");
  emptyLines(job, 1);
  writeHeader(job, impervious, severalAreas);
  for (int n = 1; n <= k.nSubAreas; ++n) writeRow(job, n, impervious, severalAreas);
  emptyLines(job, 1);
  line(job, io::Fmt().a(" Total ").p(1).e(9, 3, k.catchArea));
  emptyLines(job, 1);
  line(job, io::Fmt().a(" For whole catchment     ; Av. Dist., km* = ").f(10, 2, job.analysisTables.avFlowDist));
  if (severalAreas) {
    for (int j = 1; j <= k.nIsas && j <= state::NISAMAX; ++j)
      line(job, io::Fmt()
                    .a(" For interstation area ")
                    .i(2, j)
                    .a("; Av. Dist., km* = ")
                    .f(10, 2, averageDistance(job, j))
                    .a("; ISA Factor = ")
                    .f(7, 3, job.analysisTables.isaFactor[static_cast<std::size_t>(j - 1)]));
  }
  travelTimeFootnote(job);
}

}  // namespace kova::engine::echo
