// Tests of storage routing against hand calculations, analytic reservoir responses and
// a direct solution of the continuity equation, and of the table look-up interp.
#include "engine/routing/reach_routing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "support/job_fixture.h"

namespace kova::engine {
namespace {

class RouteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.open("", "", 1);
    setTimeIncrement(1.0);
  }
  void setTimeIncrement(double hours) {
    f.job->kov.timeInc = static_cast<float>(hours);
    f.job->kov.timeIncSec = static_cast<float>(3600.0 * hours);
  }
  state::Job& job() { return *f.job; }

  test::JobFixture f;
};

// A smooth flood: a gamma-shaped rise and recession of peak qp at tp hours, on a baseflow.
std::vector<float> flood(int nt, double dtHours, double qp, double tp, double base = 1.0) {
  std::vector<float> q(static_cast<std::size_t>(nt));
  for (int i = 0; i < nt; ++i) {
    const double t = i * dtHours / tp;
    q[static_cast<std::size_t>(i)] = static_cast<float>(base + qp * std::pow(t, 3.0) * std::exp(3.0 * (1.0 - t)));
  }
  return q;
}

// Response of a cascade of n linear reservoirs of delay k (hours) to a unit ramp r(t) = t:
// R(t) = t - k·sum_{j<n} P(j+1, t/k), P the regularised lower incomplete gamma function.
double cascadeRampResponse(double t, int n, double k) {
  if (t <= 0.0) return 0.0;
  const double x = t / k;
  double response = t;
  double term = 1.0;    // x^i / i!
  double partial = 0.0;  // sum_{i<=j} x^i / i!
  for (int j = 0; j < n; ++j) {
    if (j > 0) term *= x / j;
    partial += term;
    response -= k * (1.0 - std::exp(-x) * partial);
  }
  return response;
}

// Cascade response to a triangle of peak q0 rising for tr hours and falling for tr hours.
double cascadeTriangleResponse(double t, int n, double k, double q0, double tr) {
  return q0 / tr *
         (cascadeRampResponse(t, n, k) - 2.0 * cascadeRampResponse(t - tr, n, k) +
          cascadeRampResponse(t - 2.0 * tr, n, k));
}

std::vector<float> triangle(int nt, double dtHours, double q0, double tr) {
  std::vector<float> q(static_cast<std::size_t>(nt));
  for (int i = 0; i < nt; ++i) {
    const double t = i * dtHours;
    q[static_cast<std::size_t>(i)] = static_cast<float>(q0 * std::max(0.0, 1.0 - std::abs(t - tr) / tr));
  }
  return q;
}

// The root of an increasing function g on [0, inf) with g(0) <= 0, by bisection.
double bisect(const std::function<double(double)>& g) {
  double lo = 0.0;
  double hi = 1.0;
  while (g(hi) < 0.0) hi *= 2.0;
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    (g(mid) < 0.0 ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

double tolerance(const std::vector<float>& inflow) {
  return std::max(0.001 * *std::max_element(inflow.begin(), inflow.end()), 1.0E-8);
}

std::vector<float> routedPowerLaw(state::Job& job, std::vector<float> q, float k, float m, int number,
                                  RoutePeaks* peaks = nullptr) {
  RoutePeaks p;
  route(job, q, q, k, m, number, "reach", p);
  if (peaks != nullptr) *peaks = p;
  return q;
}

// --- Linear reservoir -------------------------------------------------------------

TEST_F(RouteTest, LinearReachOfOneHourDelayRoutesTheHandCase) {
  // C1 = C2 = 1/3: O2 = 3/3, O3 = 1/3 + 3/3, O4 = (4/3)/3.
  RoutePeaks peaks;
  const std::vector<float> out = routedPowerLaw(job(), {0, 3, 0, 0}, 1.0F, 1.0F, 1, &peaks);
  EXPECT_EQ(out[0], 0.0F);
  EXPECT_NEAR(out[1], 1.0, 1e-6);
  EXPECT_NEAR(out[2], 4.0 / 3.0, 1e-6);
  EXPECT_NEAR(out[3], 4.0 / 9.0, 1e-6);
  EXPECT_NEAR(peaks.outflow, 4.0 / 3.0, 1e-6);
  EXPECT_NEAR(peaks.storage, 3600.0 * 4.0 / 3.0, 1e-2);
}

TEST_F(RouteTest, LinearReachFollowsTheClosedFormOfAStepInflow) {
  // Inflow 0 then q: O(2) = C1·q and O(i) - q = C2·(O(i-1) - q), so
  // O(i) = q·(1 - (1 - C1)·C2^(i-2)).
  struct Case {
    double k, dt;
  };
  for (const Case c : {Case{1.0, 1.0}, Case{5.0, 1.0}, Case{0.3, 0.25}, Case{0.4, 1.0}, Case{12.0, 3.0}}) {
    setTimeIncrement(c.dt);
    const double q = 40.0;
    std::vector<float> inflow(30, static_cast<float>(q));
    inflow[0] = 0.0F;
    const std::vector<float> out = routedPowerLaw(job(), inflow, static_cast<float>(c.k), 1.0F, 3);
    const double c1 = c.dt / (2 * c.k + c.dt);
    const double c2 = (2 * c.k - c.dt) / (2 * c.k + c.dt);
    for (int i = 2; i <= 30; ++i) {
      EXPECT_NEAR(out[static_cast<std::size_t>(i - 1)], q * (1.0 - (1.0 - c1) * std::pow(c2, i - 2)), 1e-4)
          << "k " << c.k << " dt " << c.dt << " ordinate " << i;
    }
  }
}

TEST_F(RouteTest, LinearReachCarriesANegativeOutflowOnAsZero) {
  // k = 0.25 h, dt = 1 h: C1 = 2/3, C2 = -1/3. O2 = 2, O3 = -2/3 + 2 = 4/3,
  // O4 = -4/9 -> 0, so O5 = 0 (not 4/27).
  const std::vector<float> out = routedPowerLaw(job(), {0, 3, 0, 0, 0}, 0.25F, 1.0F, 1);
  EXPECT_NEAR(out[1], 2.0, 1e-6);
  EXPECT_NEAR(out[2], 4.0 / 3.0, 1e-6);
  EXPECT_EQ(out[3], 0.0F);
  EXPECT_EQ(out[4], 0.0F);
}

TEST_F(RouteTest, CascadeOfLinearReachesConvergesOnTheNashResponse) {
  // Three reaches of k = 2 h under a triangle of 100 m³/s peaking at 2 h; the trapezoidal
  // step is second order, so halving the time increment cuts the error about fourfold.
  const int reaches = 3;
  const double k = 2.0;
  const double q0 = 100.0;
  const double tr = 2.0;
  std::vector<double> errors;
  for (double dt : {1.0, 0.5, 0.25, 0.125}) {
    setTimeIncrement(dt);
    const int nt = static_cast<int>(std::lround(40.0 / dt)) + 1;
    std::vector<float> q = triangle(nt, dt, q0, tr);
    for (int r = 1; r <= reaches; ++r) q = routedPowerLaw(job(), q, static_cast<float>(k), 1.0F, r);
    double worst = 0.0;
    for (int i = 0; i < nt; ++i) {
      worst = std::max(worst, std::abs(q[static_cast<std::size_t>(i)] -
                                       cascadeTriangleResponse(i * dt, reaches, k, q0, tr)));
    }
    errors.push_back(worst);
  }
  for (std::size_t i = 1; i < errors.size(); ++i) EXPECT_GT(errors[i - 1] / errors[i], 3.0) << "step " << i;
  EXPECT_LT(errors.back(), 0.002 * q0);
}

TEST_F(RouteTest, LinearReachConservesVolume) {
  // The trapezoidal balance is exact for the closed form: what went in and did not come
  // out is the final storage 3600·k·O(NT).
  const float k = 4.0F;
  const std::vector<float> in = flood(120, 1.0, 80.0, 8.0, 0.0);
  const std::vector<float> out = routedPowerLaw(job(), in, k, 1.0F, 1);
  double balance = 0.0;
  for (std::size_t i = 1; i < in.size(); ++i) balance += 0.5 * (in[i] + in[i - 1] - out[i] - out[i - 1]) * 3600.0;
  EXPECT_NEAR(balance, 3600.0 * k * (out.back() - out.front()), 1e-4 * 3600.0 * 80.0);
}

// --- Non-linear storage -----------------------------------------------------------

struct PowerCase {
  float k, m;
  double dt;
};

TEST_F(RouteTest, NonLinearReachSolvesContinuityAtEveryStep) {
  // Each step, from the routed outflow of the step before, must satisfy
  // 3600·k·O^m/dt + O/2 = (I1 + I2 - O1)/2 + S1/dt within the search tolerance on the
  // residual; the residual rises at least at 1/2 per m³/s, so O is within 2·tol.
  for (const PowerCase c : {PowerCase{2.0F, 0.8F, 1.0}, PowerCase{10.0F, 0.6F, 1.0}, PowerCase{0.5F, 1.3F, 0.5},
                            PowerCase{0.05F, 0.8F, 1.0}, PowerCase{3.0F, 2.0F, 2.0}}) {
    setTimeIncrement(c.dt);
    const std::vector<float> in = flood(60, c.dt, 200.0, 6.0);
    const std::vector<float> out = routedPowerLaw(job(), in, c.k, c.m, 2);
    const double dt = 3600.0 * c.dt;
    const double coeff = 3600.0 * c.k;
    const double tol = tolerance(in);
    EXPECT_EQ(out[0], in[0]);
    for (std::size_t i = 1; i < in.size(); ++i) {
      const double o1 = out[i - 1];
      const double rhs = std::max(0.5 * (in[i - 1] + in[i] - o1) + coeff * std::pow(o1, c.m) / dt, 0.0);
      const double exact = bisect([&](double o) { return coeff * std::pow(o, c.m) / dt + 0.5 * o - rhs; });
      EXPECT_NEAR(out[i], exact, 2.0 * tol) << "k " << c.k << " m " << c.m << " ordinate " << i + 1;
    }
  }
  EXPECT_EQ(f.output().find("not converging"), std::string::npos);
}

TEST_F(RouteTest, NonLinearReachConservesVolume) {
  const std::vector<float> in = flood(200, 1.0, 150.0, 10.0, 0.0);
  const std::vector<float> out = routedPowerLaw(job(), in, 3.0F, 0.8F, 1);
  double volumeIn = 0.0;
  double volumeOut = 0.0;
  for (std::size_t i = 0; i < in.size(); ++i) {
    volumeIn += in[i];
    volumeOut += out[i];
  }
  EXPECT_LT(out.back(), 0.01);  // the storage has emptied
  EXPECT_NEAR(volumeOut / volumeIn, 1.0, 0.002);
}

TEST_F(RouteTest, ConstantInflowPassesUnchanged) {
  const float q = 7.5F;
  const std::vector<float> storages = {0.0F, 5000.0F, 20000.0F};
  const std::vector<float> discharges = {0.0F, 5.0F, 20.0F};
  struct Case {
    const char* what;
    std::function<void(std::vector<float>&, RoutePeaks&)> routeIt;
  };
  const Case cases[] = {
      {"linear reach", [&](auto& h, auto& p) { route(job(), h, h, 2.0F, 1.0F, 1, "r", p); }},
      {"non-linear reach", [&](auto& h, auto& p) { route(job(), h, h, 2.0F, 0.8F, 1, "r", p); }},
      {"special power law", [&](auto& h, auto& p) { route(job(), h, h, 2.0F, 0.8F, specialPowerLaw, "s", p); }},
      {"special table", [&](auto& h, auto& p) { route(job(), h, h, storages, discharges, "s", p); }},
  };
  for (const Case& c : cases) {
    std::vector<float> h(12, q);
    RoutePeaks peaks;
    c.routeIt(h, peaks);
    for (std::size_t i = 0; i + 1 < h.size(); ++i) EXPECT_EQ(h[i], q) << c.what << " ordinate " << i + 1;
    EXPECT_NEAR(h.back(), q, 0.001 * q) << c.what;
    EXPECT_NEAR(peaks.outflow, q, 0.001 * q) << c.what;
  }
}

TEST_F(RouteTest, StorageWithoutDelayPassesTheInflow) {
  // k = 0 holds nothing: the outflow is the inflow, for the closed form and the search.
  const std::vector<float> in = {2, 9, 30, 12, 5, 2};
  for (float m : {1.0F, 0.8F}) {
    const std::vector<float> out = routedPowerLaw(job(), in, 0.0F, m, 1);
    for (std::size_t i = 0; i < in.size(); ++i) EXPECT_NEAR(out[i], in[i], 0.03) << "m " << m << " ordinate " << i + 1;
  }
}

TEST_F(RouteTest, SteadyStartIsLeftAsItIsAndSeparateOutflowMatchesInPlace) {
  const std::vector<float> in = {3, 3, 3, 8, 12, 6, 4, 3};
  std::vector<float> out(in.size(), -1.0F);
  RoutePeaks separate;
  route(job(), in, out, 1.5F, 0.8F, 1, "r", separate);
  EXPECT_EQ(out[0], 3.0F);
  EXPECT_EQ(out[1], 3.0F);
  EXPECT_EQ(out[2], 3.0F);
  RoutePeaks inPlace;
  EXPECT_EQ(routedPowerLaw(job(), in, 1.5F, 0.8F, 1, &inPlace), out);
  EXPECT_EQ(inPlace.outflow, separate.outflow);
  EXPECT_EQ(inPlace.storage, separate.storage);
  EXPECT_EQ(separate.outflow, *std::max_element(out.begin() + 3, out.end()));
}

TEST_F(RouteTest, PeakStorageIsTheStorageOfThePeakOutflow) {
  RoutePeaks peaks;
  const std::vector<float> out = routedPowerLaw(job(), flood(40, 1.0, 90.0, 5.0), 2.5F, 0.7F, 1, &peaks);
  EXPECT_EQ(peaks.outflow, *std::max_element(out.begin(), out.end()));
  EXPECT_NEAR(peaks.storage, 3600.0 * 2.5 * std::pow(peaks.outflow, 0.7), 1e-4 * peaks.storage);
}

// --- Volume balance of a reach ----------------------------------------------------

// Ordinates every dtHours of a hydrograph given hourly, linear between the hours and 0
// after the last one, over `hours` hours.
std::vector<float> hourlyInflow(const std::vector<double>& hourly, double dtHours, double hours) {
  const auto nt = static_cast<std::size_t>(std::lround(hours / dtHours)) + 1;
  auto at = [&](std::size_t h) { return h < hourly.size() ? hourly[h] : 0.0; };
  std::vector<float> q(nt);
  for (std::size_t i = 0; i < nt; ++i) {
    const double t = static_cast<double>(i) * dtHours;
    const auto h = static_cast<std::size_t>(t);
    q[i] = static_cast<float>(at(h) + (at(h + 1) - at(h)) * (t - static_cast<double>(h)));
  }
  return q;
}

// The reported volume of a hydrograph: the sum of its ordinates times the time increment.
double reportedVolume(const std::vector<float>& q, double dtSeconds) {
  double sum = 0.0;
  for (float v : q) sum += v;
  return sum * dtSeconds;
}

TEST_F(RouteTest, ReachVolumeBalancesUpToTheStepThatEmptiesAQuickReach) {
  // Summing the trapezoidal steps from an empty reach, the reported outflow volume less
  // the inflow volume is
  //   sum of residuals·dt + 0.5·(O(NT) - I(NT))·dt - S(O(NT)) + the gain of an emptying step.
  // Each residual is below tol, so the sum is within (NT - 1)·tol·dt (the closed form
  // has none). A step whose right-hand side R falls below 0 (the reach would have to
  // give back water: S1/dt < (O1 - I1 - I2)/2) ends at O = S = 0 and so makes -R·dt of
  // water; that needs k·O^(m-1) < dt/2, which fine steps avoid. Hand values:
  //   linear, k 0.25 h, dt 1 h, inflow 0, 3, 0: O = 2, 4/3, then R = -1/3: 1200 m³.
  //   m 0.8, k 0.5 h, dt 1 h, inflow 0, 30, 0: 0.5·O^0.8 + O/2 = R gives O = 19.3160
  //   (R 15) and 13.3958 (R 10.6840), then R = 0.5·13.3958^0.8 - 13.3958/2 = -2.71184 m³/s:
  //   9762.6 m³, 9.0% of the inflow; the search errors of the two steps before move that
  //   by less than tol·dt.
  struct Case {
    const char* what;
    float k, m;
    double dtHours;
    std::vector<double> hourly;
    double hours;
    double emptyingGain;  // m³
  };
  const std::vector<double> broad = {0, 10, 30, 30, 20, 10, 5, 0};
  const std::vector<double> pulse3 = {0, 3, 0};
  const std::vector<double> pulse30 = {0, 30, 0};
  const Case cases[] = {
      {"linear, slow", 2.0F, 1.0F, 1.0, broad, 48, 0.0},
      {"linear, quick, coarse", 0.25F, 1.0F, 1.0, pulse3, 6, 1200.0},
      {"linear, quick, 2k = dt", 0.25F, 1.0F, 0.5, pulse3, 8, 0.0},
      {"linear, quick, fine", 0.25F, 1.0F, 0.25, pulse3, 8, 0.0},
      {"m 0.8, slow, coarse", 3.0F, 0.8F, 1.0, broad, 48, 0.0},
      {"m 0.8, slow, fine", 3.0F, 0.8F, 0.25, broad, 48, 0.0},
      {"m 0.8, quick, coarse", 0.5F, 0.8F, 1.0, pulse30, 6, 9762.6},
      {"m 0.8, quick, fine", 0.5F, 0.8F, 0.25, pulse30, 12, 0.0},  // O < (2k/dt)^5 = 1024
      {"m 0.8, cut off at the peak", 3.0F, 0.8F, 1.0, broad, 3, 0.0},
  };
  for (const Case& c : cases) {
    setTimeIncrement(c.dtHours);
    const double dt = 3600.0 * c.dtHours;
    const std::vector<float> in = hourlyInflow(c.hourly, c.dtHours, c.hours);
    const std::vector<float> out = routedPowerLaw(job(), in, c.k, c.m, 1);
    const double volumeIn = reportedVolume(in, dt);
    const double gain = reportedVolume(out, dt) - volumeIn;
    const double last = out.back();
    const double endTerm = 0.5 * (last - in.back()) * dt - 3600.0 * c.k * std::pow(last, c.m);
    const bool closedForm = std::abs(c.m - 1.0F) <= 1.0E-30F;
    const double allowed = closedForm ? 1e-5 * volumeIn : static_cast<double>(in.size() - 1) * tolerance(in) * dt;
    EXPECT_NEAR(gain, c.emptyingGain + endTerm, allowed) << c.what;
    if (c.emptyingGain <= 0.0) {
      EXPECT_LT(gain, allowed) << c.what;  // no water made
    }
  }
}

// --- Special storages: refinement and tables ------------------------------------------

// The storage equation dS/dt = I - O with S = c·O^m, integrated finely (RK4 on S, inflow
// linear between ordinates), sampled at the ordinates.
std::vector<double> fineSolution(const std::vector<float>& in, double c, double m, double dtSeconds) {
  const int sub = 20000;
  const double h = dtSeconds / sub;
  auto outflowOf = [&](double s) { return s > 0.0 ? std::pow(s / c, 1.0 / m) : 0.0; };
  std::vector<double> out(in.size());
  double s = c * std::pow(in[0], m);
  out[0] = in[0];
  for (std::size_t i = 1; i < in.size(); ++i) {
    auto inflowAt = [&](double frac) { return in[i - 1] + frac * (in[i] - in[i - 1]); };
    for (int j = 0; j < sub; ++j) {
      const double a = static_cast<double>(j) / sub;
      const double b = static_cast<double>(j + 1) / sub;
      const double mid = 0.5 * (a + b);
      const double k1 = inflowAt(a) - outflowOf(s);
      const double k2 = inflowAt(mid) - outflowOf(s + 0.5 * h * k1);
      const double k3 = inflowAt(mid) - outflowOf(s + 0.5 * h * k2);
      const double k4 = inflowAt(b) - outflowOf(s + h * k3);
      s += h / 6.0 * (k1 + 2 * k2 + 2 * k3 + k4);
    }
    out[i] = outflowOf(s);
  }
  return out;
}

TEST_F(RouteTest, SpecialStorageRefinesAQuickStepWhereAReachDoesNot) {
  // A small storage under a sharp pulse: one implicit step per hour cannot follow it;
  // the special storage halves its steps and lands on the fine solution.
  const std::vector<float> in = {0, 100, 20, 0, 0, 0, 0, 0};
  const float k = 0.05F;
  const float m = 0.8F;
  const std::vector<double> fine = fineSolution(in, 3600.0 * k, m, 3600.0);
  const std::vector<float> reach = routedPowerLaw(job(), in, k, m, 1);
  const std::vector<float> special = routedPowerLaw(job(), in, k, m, specialPowerLaw);
  double reachError = 0.0;
  double specialError = 0.0;
  for (std::size_t i = 0; i < in.size(); ++i) {
    reachError = std::max(reachError, std::abs(reach[i] - fine[i]));
    specialError = std::max(specialError, std::abs(special[i] - fine[i]));
  }
  EXPECT_GT(reachError, 2.0);
  EXPECT_LT(specialError, 0.5);  // five times the search tolerance
}

TEST_F(RouteTest, TableOfALinearStorageRoutesLikeTheLinearReservoir) {
  // S = 3600·k·Q is exactly piecewise linear, so the table is the linear reservoir.
  const double k = 2.0;
  std::vector<float> storages;
  std::vector<float> discharges;
  for (int q = 0; q <= 1000; q += 10) {
    discharges.push_back(static_cast<float>(q));
    storages.push_back(static_cast<float>(3600.0 * k * q));
  }
  const double dt = 0.25;
  setTimeIncrement(dt);
  std::vector<float> h = triangle(121, dt, 100.0, 2.0);
  RoutePeaks peaks;
  route(job(), h, h, storages, discharges, "Linear basin", peaks);
  double peak = 0.0;
  for (std::size_t i = 0; i < h.size(); ++i) {
    const double exact = cascadeTriangleResponse(static_cast<double>(i) * dt, 1, k, 100.0, 2.0);
    peak = std::max(peak, exact);
    EXPECT_NEAR(h[i], exact, 0.5) << "ordinate " << i + 1;
  }
  EXPECT_NEAR(peaks.outflow, peak, 0.5);
  EXPECT_NEAR(peaks.storage, 3600.0 * k * peaks.outflow, 0.5 * 3600.0 * k);
}

TEST_F(RouteTest, TableWithDeadStorageRoutesToAFiniteAttenuatedOutflow) {
  // Nothing leaves until 4000 m³ are stored: a run of zero discharges at the table's foot.
  const std::vector<float> storages = {0, 2000, 4000, 40000, 400000};
  const std::vector<float> discharges = {0, 0, 0, 10, 100};
  std::vector<float> h = flood(48, 1.0, 60.0, 6.0, 0.0);
  const float peakIn = *std::max_element(h.begin(), h.end());
  RoutePeaks peaks;
  route(job(), h, h, storages, discharges, "Basin", peaks);
  for (float q : h) {
    EXPECT_TRUE(std::isfinite(q));
    EXPECT_GE(q, 0.0F);
  }
  EXPECT_GT(peaks.outflow, 0.0F);
  EXPECT_LT(peaks.outflow, peakIn);
}

// --- Messages ---------------------------------------------------------------------

TEST_F(RouteTest, NonConvergenceIsReportedAndTheMeanOfTheLastTwoEstimatesKept) {
  // S = 3600·O², dt = 1 h, inflow 0 then 4: R = 2 and f(O) = O² + O/2 - 2.
  // Trial O = 2 (f = 3) against a = 0 (f = -2): the discharge secant gives 0.8 (f = -0.96).
  // Then a = the trial (signs opposite, f_new on a's side), and the storage secant from
  // 2304 and 14400 m³ gives S = 5236.36, O = 1.20605.
  struct Case {
    int limit;
    double outflow;
    const char* line;
  };
  const Case cases[] = {
      {1, 1.4,
       " Routing calcs. not converging, time inc.  1 storage = 0.706E+04  m\xB3,  discharge = 0.140E+01 m\xB3/s."},
      {2, 1.0030227,
       " Routing calcs. not converging, time inc.  1 storage = 0.362E+04  m\xB3,  discharge = 0.100E+01 m\xB3/s."},
  };
  for (const Case& c : cases) {
    job().kov.iterLimit = c.limit;
    RoutePeaks peaks;
    const std::vector<float> out = routedPowerLaw(job(), {0, 4}, 1.0F, 2.0F, 1, &peaks);
    EXPECT_NEAR(out[1], c.outflow, 1e-5) << c.limit;
    EXPECT_NEAR(peaks.storage, 3600.0 * c.outflow * c.outflow, 1e-2) << c.limit;
    EXPECT_NE(f.output().find(std::string(c.line) + "\n"), std::string::npos) << f.output();
  }
  job().kov.iterLimit = 50;
  const std::vector<float> out = routedPowerLaw(job(), {0, 4}, 1.0F, 2.0F, 1);
  EXPECT_NEAR(out[1], (-0.5 + std::sqrt(8.25)) / 2.0, 2.0 * 0.004);
}

TEST_F(RouteTest, TableExceededEndsTheJobWithItsMessage) {
  // S = 1000·Q up to 2 m³/s under an inflow of 10: R = 5, the trial is held at the top
  // discharge 2 (f = 2000/3600 + 1 - 5) and the secant from a = 0 (f = -5) asks for
  // O = 2 + 2·3.4444/1.5556 = 6.43 m³/s.
  const std::vector<float> storages = {0.0F, 1000.0F, 2000.0F};
  const std::vector<float> discharges = {0.0F, 1.0F, 2.0F};
  std::vector<float> h = {0, 10, 10, 10};
  RoutePeaks peaks;
  const bool ended = f.fails([&](state::Job& j) { route(j, h, h, storages, discharges, "Small basin", peaks); });
  EXPECT_TRUE(ended);
  EXPECT_EQ(job().genpar.errorFlag, 1);
  EXPECT_EQ(peaks.outflow, -1.0F);
  EXPECT_EQ(h, (std::vector<float>{0, 10, 10, 10}));  // nothing was routed yet
  EXPECT_EQ(f.output(),
            " Error: range of stor-disch or stor-elev table exceeded\n"
            " discharge=     6.43 m\xB3/s, special storage =Small basin                 \n"
            " relevant table must be extended or outlet works enlarged.\n");
  EXPECT_EQ(f.log(), " Fatal error - see output file\n");
}

TEST_F(RouteTest, TableExceededLaterKeepsWhatWasRouted) {
  // A table reaching 50 m³/s under a flood of 200: the early ordinates are routed
  // before the storage runs out of table.
  std::vector<float> storages;
  std::vector<float> discharges;
  for (int q = 0; q <= 50; q += 5) {
    discharges.push_back(static_cast<float>(q));
    storages.push_back(static_cast<float>(3600.0 * q));
  }
  const std::vector<float> in = flood(30, 1.0, 200.0, 6.0, 0.0);
  std::vector<float> h = in;
  RoutePeaks peaks;
  EXPECT_TRUE(f.fails([&](state::Job& j) { route(j, h, h, storages, discharges, "Dam", peaks); }));
  EXPECT_EQ(peaks.outflow, -1.0F);
  EXPECT_LT(h[2], in[2]);          // attenuated before the table ran out
  EXPECT_EQ(h.back(), in.back());  // never reached
  EXPECT_NE(f.output().find(" Error: range of stor-disch or stor-elev table exceeded\n"), std::string::npos);
}

// --- interp -----------------------------------------------------------------------

TEST(Interp, LooksUpInsideAtAndBeyondTheEnds) {
  const std::vector<float> x = {0.0F, 1.0F, 3.0F, 6.0F};
  const std::vector<float> y = {10.0F, 20.0F, 40.0F, 100.0F};
  struct Case {
    int start;
    float x;
    int error;
    float y;
    int position;
  };
  const Case cases[] = {
      {1, 0.5F, 0, 15.0F, 1},  {1, 2.0F, 0, 30.0F, 2},  {1, 4.5F, 0, 70.0F, 3},   // searched up
      {4, 0.5F, 0, 15.0F, 1},  {3, 2.0F, 0, 30.0F, 2},  {2, 5.0F, 0, 80.0F, 3},   // searched down / up
      {1, 0.0F, 0, 10.0F, 1},  {4, 6.0F, 0, 100.0F, 4}, {1, 6.0F, 0, 100.0F, 3},  // ends hit exactly
      {2, 3.0F, 0, 40.0F, 2},  {4, 3.0F, 0, 40.0F, 3},                           // exact hit inside
      {3, -2.0F, 0, 10.0F, 1},                                                   // below: y(1)
      {2, 6.5F, 1, -7.0F, 2},                                                    // above: y unchanged
      {9, 2.0F, 0, 30.0F, 2},  {-3, 2.0F, 0, 30.0F, 2},                          // start off the table
  };
  for (const Case& c : cases) {
    int position = c.start;
    float value = -7.0F;
    EXPECT_EQ(interp(position, x, y, c.x, value), c.error) << c.x;
    EXPECT_EQ(value, c.y) << c.x << " from " << c.start;
    EXPECT_EQ(position, c.position) << c.x << " from " << c.start;
  }
}

TEST(Interp, RepeatedAbscissaAnswersByTheSearchDirection) {
  // Searching up meets the first of the equal points, searching down the last.
  const std::vector<float> x = {0.0F, 1.0F, 1.0F, 2.0F};
  const std::vector<float> y = {0.0F, 5.0F, 7.0F, 9.0F};
  float value = 0.0F;
  int up = 1;
  EXPECT_EQ(interp(up, x, y, 1.0F, value), 0);
  EXPECT_EQ(value, 5.0F);
  int down = 4;
  EXPECT_EQ(interp(down, x, y, 1.0F, value), 0);
  EXPECT_EQ(value, 7.0F);
}

TEST(Interp, EmptyOrSinglePointTables) {
  const std::vector<float> one = {2.0F};
  int position = 1;
  float value = -1.0F;
  EXPECT_EQ(interp(position, {}, {}, 1.0F, value), 1);
  EXPECT_EQ(value, -1.0F);
  EXPECT_EQ(interp(position, one, one, 2.0F, value), 0);
  EXPECT_EQ(value, 2.0F);
  EXPECT_EQ(interp(position, one, one, 3.0F, value), 1);
  EXPECT_EQ(interp(position, one, one, 1.0F, value), 0);
  EXPECT_EQ(value, 2.0F);
}

}  // namespace
}  // namespace kova::engine
