// Benchmarks: whole jobs run in process on generated catchments (a fresh job state per
// run, as a batch of jobs has), and reach routing alone on a long hydrograph.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "catchment_generator.h"
#include "driver/job_driver.h"
#include "engine/routing/reach_routing.h"
#include "state/job.h"

namespace {

namespace fs = std::filesystem;
using kova::bench::CatchmentRecipe;
using kova::bench::GeneratedJob;
using kova::bench::RunType;

// The generated jobs live in one scratch folder, removed when the program ends.
class Scratch {
 public:
  Scratch() {
    std::random_device device;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() / ("kova_bench_" + std::to_string(stamp) + "_" + std::to_string(device()));
    fs::create_directories(path_);
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  [[nodiscard]] const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

Scratch& scratch() {
  static Scratch folder;
  return folder;
}

// Each job is written once, on its first use, into a folder of its own.
const GeneratedJob& generated(const std::string& name, const CatchmentRecipe& recipe) {
  static std::map<std::string, GeneratedJob> jobs;
  auto found = jobs.find(name);
  if (found == jobs.end())
    found = jobs.emplace(name, kova::bench::writeCatchmentJob(scratch().path() / name, name, recipe)).first;
  return found->second;
}

CatchmentRecipe designSmall() {
  CatchmentRecipe s;
  s.subAreas = 10;
  s.timeSteps = 100;
  return s;
}

CatchmentRecipe designLarge() {
  CatchmentRecipe s;
  s.subAreas = 200;
  s.timeSteps = 1000;
  s.bursts = 2;
  s.pluviographs = 3;
  s.specialStorage = true;
  return s;
}

CatchmentRecipe testMedium() {
  CatchmentRecipe s;
  s.subAreas = 50;
  s.timeSteps = 400;
  s.bursts = 2;
  s.pluviographs = 2;
  s.runType = RunType::test;
  s.gauged = true;
  s.specialStorage = true;
  s.lossModel = 2;
  return s;
}

// One job per iteration on a fresh job state; the time reported is the time per job.
void runJobs(benchmark::State& state, const std::string& name, const CatchmentRecipe& recipe) {
  const GeneratedJob* written = nullptr;
  try {
    written = &generated(name, recipe);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  const GeneratedJob& job = *written;
  const std::string par = job.parameterFile.string();
  for (auto _ : state) {
    auto fresh = std::make_unique<kova::state::Job>();
    const int status = kova::driver::runJob(*fresh, par);
    benchmark::DoNotOptimize(status);
    if (status != 0) {
      state.SkipWithError(("the job failed: see " + job.outputFile.string()).c_str());
      break;
    }
  }
  state.counters["jobs"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["subarea_steps"] = benchmark::Counter(
      static_cast<double>(recipe.subAreas) * recipe.timeSteps * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

// The floor under every job: a fresh job state with its three work arrays.
void BM_FreshJobState(benchmark::State& state) {
  for (auto _ : state) {
    auto fresh = std::make_unique<kova::state::Job>();
    benchmark::DoNotOptimize(fresh->work.realWork.data());
  }
}

void BM_DesignSmall(benchmark::State& state) { runJobs(state, "design_small", designSmall()); }
void BM_DesignSmallFullEcho(benchmark::State& state) {
  CatchmentRecipe s = designSmall();
  s.printOption = 3;
  runJobs(state, "design_small_echo", s);
}
void BM_DesignLarge(benchmark::State& state) { runJobs(state, "design_large", designLarge()); }
void BM_TestMedium(benchmark::State& state) { runJobs(state, "test_medium", testMedium()); }

// A flood wave of `n` ordinates: a smooth rise and a long recession over a base flow.
std::vector<float> floodWave(std::size_t n) {
  std::vector<float> q(n);
  const double peakAt = 0.1 * static_cast<double>(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double x = static_cast<double>(i) / peakAt;
    q[i] = static_cast<float>(1.0 + 250.0 * x * std::exp(1.0 - x));
  }
  return q;
}

// The job state `route` reads its time increment from; built once, it is large.
kova::state::Job& routingJob() {
  static auto job = [] {
    auto j = std::make_unique<kova::state::Job>();
    j->kov.timeInc = 0.25F;
    j->kov.timeIncSec = 900.0F;
    return j;
  }();
  return *job;
}

// `route` alone; storageNumber 1 is a reach (one implicit step per increment), 0 a
// special storage of the power-law kind (steps refined where the solution is coarse).
void routeWave(benchmark::State& state, int storageNumber) {
  const std::vector<float> inflow = floodWave(static_cast<std::size_t>(state.range(0)));
  std::vector<float> outflow(inflow.size());
  kova::state::Job& job = routingJob();
  for (auto _ : state) {
    kova::engine::RoutePeaks peaks;
    kova::engine::route(job, inflow, outflow, 3.0F, 0.8F, storageNumber, "bench reach", peaks);
    benchmark::DoNotOptimize(outflow.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RouteReach(benchmark::State& state) { routeWave(state, 1); }
void BM_RouteSpecialStorage(benchmark::State& state) { routeWave(state, kova::engine::specialPowerLaw); }

}  // namespace

BENCHMARK(BM_FreshJobState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignSmall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignSmallFullEcho)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DesignLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TestMedium)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RouteReach)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RouteSpecialStorage)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
