// Storage routing: the closed-form linear reservoir, the implicit trapezoidal step with
// its secant search for non-linear storages and tables, the step refinement of special
// storages, and the table look-up `interp`.
#include "engine/routing/reach_routing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

#include "driver/messages.h"
#include "io/format.h"

namespace kova::engine {

namespace {

constexpr double nearZero = 1.0E-30;
constexpr double secondsPerHour = 3600.0;
constexpr double relativeTolerance = 0.001;   // of the largest inflow
constexpr double smallestTolerance = 1.0E-8;  // m³/s
constexpr double trialNudge = 0.9;            // of tol, to part a trial from point a
constexpr double refineThreshold = 10.0;      // of tol: outflow change worth checking
constexpr double smallestSubStep = 0.003;     // of the time increment
constexpr std::size_t nameWidth = 28;

// The look-up of `interp`, in the precision of the caller's arguments. The loops cannot
// leave the table whatever its order: x lies within [x(1), x(n)] when they run, so they
// stop at the latest on an exact hit of an end point.
template <typename T>
int interpOn(int& position, std::span<const float> xs, std::span<const float> ys, T x, T& y) {
  const int n = static_cast<int>(std::min(xs.size(), ys.size()));
  if (n < 1) return 1;
  if (x < xs[0]) {
    position = 1;
    y = ys[0];
    return 0;
  }
  if (!(x <= xs[static_cast<std::size_t>(n - 1)])) return 1;  // above the table (or not a number)
  int p = std::clamp(position, 1, n);
  auto at = [](std::span<const float> v, int i) { return static_cast<T>(v[static_cast<std::size_t>(i - 1)]); };
  while (x <= at(xs, p)) {
    if (x == at(xs, p)) {
      position = p;
      y = at(ys, p);
      return 0;
    }
    --p;
  }
  while (x >= at(xs, p + 1)) {
    if (x == at(xs, p + 1)) {
      position = p;
      y = at(ys, p + 1);
      return 0;
    }
    ++p;
  }
  position = p;
  y = at(ys, p) + (at(ys, p + 1) - at(ys, p)) * (x - at(xs, p)) / (at(xs, p + 1) - at(xs, p));
  return 0;
}

// S = 3600·k·Q^m and its inverse.
struct PowerLaw {
  double c = 0.0;  // 3600·k
  double m = 1.0;
  double invM = 1.0;

  bool storage(double q, double& s) const {
    s = q > 0.0 ? c * std::pow(q, m) : 0.0;
    return true;
  }
  // The storage of a secant point is raised to 0 before it is turned into a discharge.
  bool discharge(double& s, double& q) const {
    if (s < 0.0) s = 0.0;
    q = (s > 0.0 && c > nearZero) ? std::pow(s / c, invM) : 0.0;
    return true;
  }
  [[nodiscard]] static double top() { return std::numeric_limits<double>::infinity(); }
  [[nodiscard]] static double floorStorage() { return 0.0; }
  bool midStorage(double q, double /*agreement*/, double& s) const { return storage(q, s); }
};

// A storage-discharge table, searched from the positions remembered within one call.
struct Table {
  std::span<const float> storages;
  std::span<const float> discharges;
  int onDischarges = 1;
  int onStorages = 1;

  bool storage(double q, double& s) { return interpOn(onDischarges, discharges, storages, q, s) == 0; }
  bool discharge(double& s, double& q) { return interpOn(onStorages, storages, discharges, s, q) == 0; }
  [[nodiscard]] double top() const { return discharges.empty() ? 0.0 : static_cast<double>(discharges.back()); }
  // S0, the storage at zero discharge.
  [[nodiscard]] double floorStorage() const { return storages.empty() ? 0.0 : static_cast<double>(storages[0]); }
  // Looked up searching up from the first point and down from the last: on a run of equal
  // discharges the two storages differ, and false says the table gives no one storage.
  bool midStorage(double q, double agreement, double& s) const {
    int up = 1;
    int down = static_cast<int>(discharges.size());
    double fromBelow = 0.0;
    double fromAbove = 0.0;
    if (interpOn(up, discharges, storages, q, fromBelow) != 0) return false;
    if (interpOn(down, discharges, storages, q, fromAbove) != 0) return false;
    s = fromBelow;
    return std::abs(fromBelow - fromAbove) <= agreement;
  }
};

std::string paddedName(std::string_view name) {
  std::string text(name.substr(0, std::min(name.size(), nameWidth)));
  text.resize(nameWidth, ' ');
  return text;
}

[[noreturn]] void tableExceeded(state::Job& job, double discharge, std::string_view name, RoutePeaks& peaks) {
  peaks.outflow = -1.0F;
  driver::printLine(job, " Error: range of stor-disch or stor-elev table exceeded");
  driver::printLine(job, io::Fmt()
                             .a(" discharge= ")
                             .f(8, 2, discharge)
                             .a(" m\xB3/s, special storage =")
                             .a(paddedName(name)));
  driver::printLine(job, " relevant table must be extended or outlet works enlarged.");
  driver::errmess(job, "Fatal error - see output file");
  driver::endJob(job);
}

void notConverging(state::Job& job, int increment, double storage, double discharge) {
  driver::printLine(job, io::Fmt()
                             .a(" Routing calcs. not converging, time inc.")
                             .i(3, increment)
                             .a(" storage =")
                             .e(10, 3, storage)
                             .a("  m\xB3,  discharge =")
                             .e(10, 3, discharge)
                             .a(" m\xB3/s."));
}

// First ordinate (from 1) whose inflow differs from the first one; the ordinates before
// it are steady and pass unchanged.
std::size_t firstChange(std::span<const float> inflow) {
  const std::size_t nt = inflow.size();
  std::size_t i0 = nt;
  for (std::size_t i = 1; i < nt; ++i) {
    if (std::abs(static_cast<double>(inflow[i]) - inflow[0]) > nearZero) {
      i0 = i + 1;
      break;
    }
  }
  return std::max<std::size_t>(i0, 2);
}

void copySteadyPart(std::span<const float> inflow, std::span<float> outflow, std::size_t i0) {
  if (inflow.data() == outflow.data()) return;
  const std::size_t steady = std::min(i0 - 1, inflow.size());
  std::copy_n(inflow.begin(), steady, outflow.begin());
}

// Linear reservoir (S = 3600·k·Q) in closed form: the trapezoidal step solved exactly.
void routeLinear(std::span<const float> inflow, std::span<float> outflow, double k, double dtHours,
                 std::size_t i0, RoutePeaks& peaks) {
  const double c1 = dtHours / (2.0 * k + dtHours);
  const double c2 = (2.0 * k - dtHours) / (2.0 * k + dtHours);
  double previousIn = inflow[i0 - 2];
  double out = previousIn;
  double peak = 0.0;
  for (std::size_t i = i0 - 1; i < inflow.size(); ++i) {
    const double in = inflow[i];  // read before the ordinate is overwritten in place
    out = std::max(c2 * out + c1 * (in + previousIn), 0.0);
    peak = std::max(peak, out);
    outflow[i] = static_cast<float>(out);
    previousIn = in;
  }
  peaks.outflow = static_cast<float>(peak);
  peaks.storage = static_cast<float>(2.0 * k * 1800.0 * peak);
}

// One point of the secant search: discharge, storage and the continuity residual.
struct Point {
  double o = 0.0;
  double s = 0.0;
  double f = 0.0;
};

struct StepResult {
  Point end;
  bool converged = true;
};

// What one call of the implicit routing works with.
template <typename Relation>
struct Solver {
  state::Job& job;
  Relation& rel;
  std::string_view name;
  RoutePeaks& peaks;
  double tol = smallestTolerance;
  int iterLimit = 1;
};

// S(q); past the top of a table the job ends, reporting `tried`.
template <typename Relation>
double storageAt(Solver<Relation>& sv, double q, double tried) {
  double s = 0.0;
  if (!sv.rel.storage(q, s)) tableExceeded(sv.job, tried, sv.name, sv.peaks);
  return s;
}

// Solves S(O)/dt + O/2 = rhs for the outflow at the end of a sub-step by a secant search
// that alternates between the discharge and the storage, starting from the state
// (o1, s1) at its beginning. `increment` numbers the time increment from 0.
template <typename Relation>
StepResult solve(Solver<Relation>& sv, double o1, double s1, double inEnd, double rhs, double dt, int increment) {
  auto residual = [&](double o, double s) { return s / dt + 0.5 * o - rhs; };
  Point a{o1, s1, residual(o1, s1)};
  Point t;
  t.o = std::min(0.5 * (inEnd + o1), sv.rel.top());
  bool evaluateTrial = true;
  bool onDischarge = true;
  for (int iteration = 0;;) {
    if (evaluateTrial) {
      if (std::abs(t.o - a.o) < nearZero) t.o += trialNudge * sv.tol;
      t.s = storageAt(sv, t.o, t.o);
      t.f = residual(t.o, t.s);
    }
    Point next;
    const double slope = t.f - a.f;
    if (std::abs(slope) < nearZero) {
      next.o = 0.0;
      next.s = storageAt(sv, 0.0, 0.0);
    } else if (onDischarge) {
      next.o = std::max(t.o - (t.o - a.o) * t.f / slope, 0.0);
      next.s = storageAt(sv, next.o, next.o);
    } else {
      next.s = t.s - (t.s - a.s) * t.f / slope;
      if (!sv.rel.discharge(next.s, next.o)) tableExceeded(sv.job, t.o, sv.name, sv.peaks);
    }
    onDischarge = !onDischarge;
    next.f = residual(next.o, next.s);
    if (std::abs(next.f) < sv.tol) return {next, true};

    if (++iteration >= sv.iterLimit) {
      Point mean;
      mean.o = 0.5 * (t.o + next.o);
      mean.s = storageAt(sv, mean.o, mean.o);
      notConverging(sv.job, increment, mean.s, mean.o);
      return {mean, false};
    }
    // Keep a on the side of the root that brackets it, or on the better point.
    if (t.f * a.f < 0.0) {
      if (next.f * a.f >= 0.0) a = t;
    } else if (std::abs(t.f) < std::abs(a.f)) {
      a = t;
    }
    t = next;
    evaluateTrial = std::abs(t.o - a.o) < nearZero;
  }
}

// Continuity over the first half of a converged sub-step, checked at its mid-point.
template <typename Relation>
bool firstHalfBalances(Solver<Relation>& sv, double o1, double s1, double inPrev, double inEnd, double oNew,
                       double dt) {
  const double oMid = 0.5 * (oNew + o1);
  double sMid = 0.0;
  if (!sv.rel.midStorage(oMid, sv.tol * dt, sMid)) return true;  // the table cannot tell: no check
  const double inMid = 0.5 * (inPrev + inEnd);
  const double imbalance = 2.0 * (sMid - s1) / dt - 0.5 * (inPrev + inMid) + 0.5 * (o1 + oMid);
  return std::abs(imbalance) < sv.tol;
}

// The implicit trapezoidal step per time increment; with `refine` a sub-step whose first
// half does not balance is halved, down to below smallestSubStep of the increment.
template <typename Relation>
void routeImplicit(Solver<Relation>& sv, std::span<const float> inflow, std::span<float> outflow, std::size_t i0,
                   bool refine) {
  const double dtFull = sv.job.kov.timeIncSec;
  double qMax = 0.0;
  for (std::size_t i = i0 - 1; i < inflow.size(); ++i) qMax = std::max(qMax, static_cast<double>(inflow[i]));
  sv.tol = std::max(relativeTolerance * qMax, smallestTolerance);
  sv.iterLimit = std::max(sv.job.kov.iterLimit, 1);

  double o1 = inflow[0];
  double s1 = storageAt(sv, o1, o1);
  const double floor = sv.rel.floorStorage() / dtFull;

  double peakOut = 0.0;
  double peakStore = 0.0;
  double inLast = inflow[i0 - 2];  // carried: in place, the ordinate before is outflow by now
  for (std::size_t i = i0 - 1; i < inflow.size(); ++i) {
    double inPrev = inLast;
    const double inNext = inflow[i];
    inLast = inNext;
    int remaining = 1;
    double dt = dtFull;
    while (remaining > 0) {
      const double inEnd = inPrev + (inNext - inPrev) / remaining;
      const double rhs = std::max(0.5 * (inPrev + inEnd - o1) + s1 / dt, floor);
      const StepResult step = solve(sv, o1, s1, inEnd, rhs, dt, static_cast<int>(i));
      if (refine && step.converged && std::abs(step.end.o - o1) >= refineThreshold * sv.tol &&
          dt / dtFull >= smallestSubStep && !firstHalfBalances(sv, o1, s1, inPrev, inEnd, step.end.o, dt)) {
        remaining *= 2;
        dt *= 0.5;
        continue;
      }
      s1 = step.end.s;
      o1 = step.end.o;
      inPrev = inEnd;
      --remaining;
      while (remaining != 0 && remaining % 2 == 0) {
        remaining /= 2;
        dt *= 2.0;
      }
    }
    peakOut = std::max(peakOut, o1);
    peakStore = std::max(peakStore, s1);
    outflow[i] = static_cast<float>(o1);
  }
  sv.peaks.outflow = static_cast<float>(peakOut);
  sv.peaks.storage = static_cast<float>(peakStore);
}

// The steady start and the ordinates to route; false when nothing is left to route.
bool prepare(std::span<const float>& inflow, std::span<float> outflow, std::size_t& i0, RoutePeaks& peaks) {
  peaks = RoutePeaks{};
  if (inflow.size() > outflow.size()) inflow = inflow.first(outflow.size());
  i0 = firstChange(inflow);
  copySteadyPart(inflow, outflow, i0);
  return i0 <= inflow.size();
}

}  // namespace

void route(state::Job& job, std::span<const float> inflow, std::span<float> outflow, float k, float m,
           int storageNumber, std::string_view name, RoutePeaks& peaks) {
  std::size_t i0 = 0;
  if (!prepare(inflow, outflow, i0, peaks)) return;
  if (std::abs(static_cast<double>(m) - 1.0) <= nearZero) {
    routeLinear(inflow, outflow, k, job.kov.timeInc, i0, peaks);
    return;
  }
  PowerLaw law{secondsPerHour * k, m, 1.0 / static_cast<double>(m)};
  Solver<PowerLaw> sv{job, law, name, peaks};
  routeImplicit(sv, inflow, outflow, i0, storageNumber < 1);
}

void route(state::Job& job, std::span<const float> inflow, std::span<float> outflow,
           std::span<const float> storages, std::span<const float> discharges, std::string_view name,
           RoutePeaks& peaks) {
  std::size_t i0 = 0;
  if (!prepare(inflow, outflow, i0, peaks)) return;
  const std::size_t n = std::min(storages.size(), discharges.size());
  Table table{storages.first(n), discharges.first(n)};
  Solver<Table> sv{job, table, name, peaks};
  routeImplicit(sv, inflow, outflow, i0, true);
}

int interp(int& position, std::span<const float> x, std::span<const float> y, float xValue, float& yValue) {
  return interpOn(position, x, y, xValue, yValue);
}

}  // namespace kova::engine
