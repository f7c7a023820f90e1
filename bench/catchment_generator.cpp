// Writer of synthetic jobs for the benchmarks: the control vector of a main stream with
// tributaries, the sub-area block, a storm of one to four bursts with its pluviographs and,
// when asked, a gauging station's recorded hydrograph; then the parameter file.
#include "catchment_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

#include "state/limits.h"

namespace kova::bench {

namespace {

namespace fs = std::filesystem;

constexpr int subAreasPerGroup = 5;     // two on the main stream, three on the tributary
constexpr int nestedEvery = 3;          // every third tributary holds a nested branch
constexpr int printPointEvery = 4;      // a print point after every fourth group
constexpr int valuesPerLine = 10;       // long records continue over lines of this many values
constexpr float rainShare = 0.3F;       // share of the storm's increments with rain
constexpr float firstIntensity = 8.0F;  // mean rainfall intensity of burst 1, mm/h
constexpr float laterIntensity = 4.0F;  // of the later bursts, mm/h
constexpr float recordedShare = 0.4F;   // recorded volume / rainfall after the initial loss
constexpr float continuingLoss = 1.5F;  // mm/h
constexpr float runoffCoefficient = 0.5F;
constexpr float storageCoefficient = 1.0F;  // ks of the special storage, S = 3600·ks·Q^0.8
constexpr float exponentM = 0.8F;

float roundTo(float value, int decimals) {
  const float scale = std::pow(10.0F, static_cast<float>(decimals));
  return std::round(value * scale) / scale;
}

std::string fixed(float value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
  return text;
}

// The minimal-standard generator draws the same numbers on every platform; the mapping to
// a range is done here because the standard distributions are not portable.
class Draw {
 public:
  explicit Draw(unsigned seed) : engine_(seed == 0 ? 1U : seed) {}
  float between(float lo, float hi, int decimals) {
    const auto span = static_cast<double>(std::minstd_rand::max() - std::minstd_rand::min());
    const double unit = static_cast<double>(engine_() - std::minstd_rand::min()) / span;
    return roundTo(static_cast<float>(lo + (hi - lo) * unit), decimals);
  }

 private:
  std::minstd_rand engine_;
};

// Free-format record text: values separated by commas, a new line after every
// valuesPerLine values, closed by the end check.
template <typename T, typename Show>
std::string record(const std::vector<T>& values, Show show, const std::string& lead = "") {
  std::string text = lead;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool lineFull = (i + 1) % valuesPerLine == 0;
    text += show(values[i]) + (lineFull ? ",\n" : ", ");
  }
  return text + "-99\n";
}

enum ReachType { natural = 1, unlined = 2, lined = 3, noDelay = 4 };

// The control vector as it is written, with what the rest of the job needs to know.
struct Vector {
  std::string text;
  std::vector<float> areas;
  std::vector<float> fractions;
  float areaAboveGauge = 0.0F;
  bool gaugePlaced = false;
  bool subAreaBelowGauge = false;
  int reports = 0;
};

std::string reachData(Draw& draw, ReachType type) {
  std::string text = std::to_string(static_cast<int>(type)) + ", " + fixed(draw.between(0.5F, 3.0F, 2), 2);
  if (type == unlined || type == lined) text += ", " + fixed(draw.between(0.3F, 3.0F, 2), 2);
  return text + ", -99\n";
}

void addSubArea(Vector& v, Draw& draw, ReachType type) {
  v.areas.push_back(draw.between(0.5F, 4.0F, 2));
  v.fractions.push_back(draw.between(0.0F, 0.2F, 2));
  // The first sub-area prints its inflow and its reach outflow: two reports.
  const bool printed = v.areas.size() == 1;
  if (printed) v.reports += 2;
  if (v.gaugePlaced) v.subAreaBelowGauge = true;
  v.text += (printed ? "11, " : "1, ") + reachData(draw, type);
}

void addPrintPoint(Vector& v, const std::string& name) {
  v.text += "7\n" + name + "\n";
  v.reports += 1;
}

void addGauge(Vector& v) {
  v.text += "C  Gauging station: ends the first interstation area\n7.1\n";
  v.reports += 1;
  v.gaugePlaced = true;
  for (float a : v.areas) v.areaAboveGauge += a;
}

// Two main-stream sub-areas and a tributary of three; the first confluence is printed.
void addGroup(Vector& v, Draw& draw, int group) {
  addSubArea(v, draw, natural);
  addSubArea(v, draw, natural);
  const ReachType branch = group % 2 == 1 ? unlined : lined;
  v.text += "C  Tributary " + std::to_string(group) + "\n3\n";
  addSubArea(v, draw, branch);
  if (group % nestedEvery == 0) {
    v.text += "3\n";
    addSubArea(v, draw, noDelay);
    v.text += "4\n";
  } else {
    addSubArea(v, draw, branch);
  }
  addSubArea(v, draw, branch);
  v.text += group == 1 ? "14\n" : "4\n";
  if (group == 1) v.reports += 1;
}

Vector controlVector(const CatchmentRecipe& recipe, Draw& draw) {
  Vector v;
  const int groups = recipe.subAreas / subAreasPerGroup;
  const int gaugeGroup = (groups + 1) / 2;
  for (int g = 1; g <= groups; ++g) {
    addGroup(v, draw, g);
    if (recipe.gauged && g == gaugeGroup) addGauge(v);
    if (g % printPointEvery == 0) addPrintPoint(v, "Below tributary " + std::to_string(g));
  }
  for (int n = groups * subAreasPerGroup; n < recipe.subAreas; ++n) addSubArea(v, draw, natural);
  if (recipe.gauged && !v.gaugePlaced) addGauge(v);
  if (recipe.specialStorage) {
    v.text +=
        "C  Retarding basin, storage-discharge formula, full at the start; results printed\n16\n"
        "Generated basin\n0, 0.0, " +
        fixed(storageCoefficient, 2) + ", " + fixed(exponentM, 2) + ", -99\n0, -99\n";
    v.reports += 1;
  }
  v.text += "C  Outlet channel, its outflow printed\n15, 1, " + fixed(draw.between(0.5F, 2.0F, 2), 2) + ", -99\n";
  v.reports += 1;
  addPrintPoint(v, "Generated outlet");
  v.text += "0\n";
  return v;
}

// The storm's timing: bursts of equal length separated by half a burst of no rain.
struct Timing {
  float timeInc = 0.0F;  // hours
  int burstLength = 0;   // increments
  int gap = 0;
  [[nodiscard]] int start(int b) const { return b * (burstLength + gap); }
};

Timing stormTiming(const CatchmentRecipe& recipe, float kc) {
  Timing t;
  // About twelve storage delays of the catchment, so the flood has passed at the end.
  const float duration = std::max(12.0F, 12.0F * kc);
  t.timeInc = std::max(0.05F, roundTo(duration / static_cast<float>(recipe.timeSteps) / 0.05F, 0) * 0.05F);
  const int rainIncs = std::max(recipe.bursts, static_cast<int>(rainShare * static_cast<float>(recipe.timeSteps)));
  t.burstLength = rainIncs / recipe.bursts;
  t.gap = std::max(1, t.burstLength / 2);
  if (t.start(recipe.bursts - 1) + t.burstLength > recipe.timeSteps)
    throw std::invalid_argument("too few time steps for the bursts");
  if (t.burstLength * recipe.bursts > state::maxPluvioIncs) throw std::invalid_argument("too many rainfall increments");
  return t;
}

// One burst of one pluviograph: a triangle whose peak moves with the pluviograph, never
// dropping below a fifth of the peak, scaled to the burst depth.
std::vector<float> burstPattern(int length, float depth, int pluvio, int nPluvios) {
  const float peakAt = 0.25F + 0.5F * static_cast<float>(pluvio) / static_cast<float>(std::max(1, nPluvios - 1));
  const float reach = std::max(peakAt, 1.0F - peakAt);
  std::vector<float> weights(static_cast<std::size_t>(length));
  float sum = 0.0F;
  for (int k = 0; k < length; ++k) {
    const float x = (static_cast<float>(k) + 0.5F) / static_cast<float>(length);
    weights[static_cast<std::size_t>(k)] = 0.2F + 0.8F * (1.0F - std::abs(x - peakAt) / reach);
    sum += weights[static_cast<std::size_t>(k)];
  }
  for (float& w : weights) w = roundTo(depth * w / sum, 2);
  return weights;
}

struct Storm {
  std::string text;
  std::vector<float> depths;         // depth of pluviograph 1 per burst, mm: every sub-area's depth
  std::vector<float> initialLosses;  // per burst, mm
};

float initialLoss(int burst, float depth) { return roundTo(std::min(burst == 0 ? 15.0F : 5.0F, 0.25F * depth), 1); }

std::string runTypeWord(RunType type) {
  switch (type) {
    case RunType::fit: return "FIT";
    case RunType::test: return "TEST";
    case RunType::design: break;
  }
  return "DESIGN";
}

// The recorded hydrograph at the gauge: a triangle rising from the start of the storm to
// a peak half a storage delay after the middle of burst 1 and falling back to zero over
// three times its rise, holding the recorded share of the rain left after the initial
// losses on the area above the gauge.
std::string recordedHydrograph(const CatchmentRecipe& recipe, const Timing& t, float kc, const Storm& storm,
                               float area) {
  const int nt = recipe.timeSteps;
  int peak = t.burstLength / 2 + std::max(1, static_cast<int>(std::lround(0.5F * kc / t.timeInc)));
  if (peak >= nt) peak = nt / 2;
  const int end = std::min(nt, 4 * peak);
  float net = 0.0F;
  std::vector<float> rises;
  for (int b = 0; b < recipe.bursts; ++b) {
    const float d =
        std::max(0.0F, storm.depths[static_cast<std::size_t>(b)] - storm.initialLosses[static_cast<std::size_t>(b)]);
    rises.push_back(roundTo(d, 3));
    net += d;
  }
  const double volume = recordedShare * net * area * 1000.0;  // mm over km² to m³
  std::vector<float> shape(static_cast<std::size_t>(nt + 1), 0.0F);
  double sum = 0.0;
  for (int i = 1; i < end; ++i) {
    const float s = i <= peak ? static_cast<float>(i) / static_cast<float>(peak)
                              : static_cast<float>(end - i) / static_cast<float>(end - peak);
    shape[static_cast<std::size_t>(i)] = s;
    sum += s;
  }
  const double scale = volume / (sum * t.timeInc * 3600.0);
  for (float& q : shape) q = roundTo(static_cast<float>(q * scale), 3);

  std::string text = "C  Hydrograph times: start, finish (increments)\n0, " + std::to_string(nt) + ", -99\n";
  text += "Generated gauge\n" + record(shape, [](float q) { return fixed(q, 3); });
  if (recipe.bursts > 1) text += "C  Proportional rise volumes\n" + record(rises, [](float r) { return fixed(r, 3); });
  return text;
}

Storm stormFile(const CatchmentRecipe& recipe, const Timing& t, float kc, const Vector& v) {
  Storm s;
  s.text = "Generated storm: " + std::to_string(recipe.bursts) + " burst(s) over " + std::to_string(recipe.timeSteps) +
           " increments\n" + runTypeWord(recipe.runType) + "\n";
  s.text += "C  Time increment (h), increments, bursts, pluviographs, areal rainfall flag\n" + fixed(t.timeInc, 2) +
            ", " + std::to_string(recipe.timeSteps) + ", " + std::to_string(recipe.bursts) + ", " +
            std::to_string(recipe.pluviographs) + ", 0, -99\nC  Burst times (start, finish)\n";
  for (int b = 0; b < recipe.bursts; ++b)
    s.text += std::to_string(t.start(b)) + ", " + std::to_string(t.start(b) + t.burstLength) + "\n";

  for (int p = 0; p < recipe.pluviographs; ++p) {
    std::vector<float> values;
    for (int b = 0; b < recipe.bursts; ++b) {
      const float depth = (b == 0 ? firstIntensity : laterIntensity) * static_cast<float>(t.burstLength) * t.timeInc;
      const std::vector<float> burst = burstPattern(t.burstLength, depth, p, recipe.pluviographs);
      values.insert(values.end(), burst.begin(), burst.end());
      if (p == 0) {
        float total = 0.0F;
        for (float r : burst) total += r;
        s.depths.push_back(total);
        s.initialLosses.push_back(initialLoss(b, total));
      }
    }
    s.text += "Pluviograph " + std::to_string(p + 1) + "\n" + record(values, [](float r) { return fixed(r, 2); });
  }
  if (recipe.pluviographs >= 2) {
    s.text += "C  Pluviograph reference numbers, burst by burst\n";
    for (int b = 0; b < recipe.bursts; ++b) {
      std::vector<int> refs;
      for (int n = 0; n < recipe.subAreas; ++n) refs.push_back((n + b) % recipe.pluviographs + 1);
      s.text += record(refs, [](int r) { return std::to_string(r); });
    }
  }
  if (recipe.gauged) s.text += recordedHydrograph(recipe, t, kc, s, v.areaAboveGauge);
  return s;
}

std::string catchmentFile(const CatchmentRecipe& recipe, const Vector& v) {
  std::string text = "Generated catchment of " + std::to_string(recipe.subAreas) + " sub-areas\n";
  text +=
      "C  Main stream with a tributary after every two sub-areas.\n"
      "C  Reach-type flag 0: every reach record gives its own type.\n0\n";
  text += v.text;
  text += "C  Sub-area areas (km2)\n" + record(v.areas, [](float a) { return fixed(a, 2); });
  text += "C  Impervious flag 1, then the fractions impervious on the same record\n" +
          record(
              v.fractions, [](float f) { return fixed(f, 2); }, "1, ");
  return text;
}

// A line of the parameter file: a 10-character label, the value from column 11.
std::string parLine(const std::string& label, const std::string& value) {
  std::string line = label;
  line.resize(10, ' ');
  return line + value + "\n";
}

std::string twoColumns(int n) {
  std::string text = std::to_string(n);
  return n < 10 ? " " + text : text;
}

std::string parameterFile(const CatchmentRecipe& recipe, const GeneratedJob& job, float kc, const Storm& storm) {
  std::string text = "! Synthetic job written by the benchmark's catchment generator.\n# BEGIN\n";
  text += parLine("Catchment", job.catchmentFile.string());
  text += parLine("Storm", job.stormFile.string());
  text += parLine("Single", "T");
  text += parLine("Print", std::to_string(recipe.printOption));
  text += parLine("Loss", std::to_string(recipe.lossModel));
  text += parLine("NumISA", twoColumns(job.interstationAreas));
  text += parLine("kc, m", fixed(kc, 2) + " " + fixed(exponentM, 2));
  text += parLine("NumBurst", twoColumns(recipe.bursts));
  const float parameter = recipe.lossModel == 1 ? continuingLoss : runoffCoefficient;
  for (int b = 0; b < recipe.bursts; ++b) {
    for (int i = 0; i < job.interstationAreas; ++i)
      text += parLine(recipe.lossModel == 1 ? "IL, CL" : "IL, RC",
                      fixed(storm.initialLosses[static_cast<std::size_t>(b)], 1) + " " + fixed(parameter, 2));
  }
  return text + "# END\n";
}

void writeText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void checkRecipe(const CatchmentRecipe& recipe) {
  if (recipe.subAreas < 1 || recipe.subAreas > state::LIMAREA) throw std::invalid_argument("sub-areas out of range");
  if (recipe.bursts < 1 || recipe.bursts > state::maxLossBursts) throw std::invalid_argument("bursts out of range");
  if (recipe.pluviographs < 1 || recipe.pluviographs > 20) throw std::invalid_argument("pluviographs out of range");
  if (recipe.timeSteps < 2) throw std::invalid_argument("too few time steps");
  if (recipe.lossModel != 1 && recipe.lossModel != 2) throw std::invalid_argument("loss model not 1 or 2");
  if (recipe.printOption < 1 || recipe.printOption > 3) throw std::invalid_argument("print option not 1, 2 or 3");
  if (recipe.runType != RunType::design && !recipe.gauged)
    throw std::invalid_argument("FIT and TEST runs need a gauging station");
}

}  // namespace

GeneratedJob writeCatchmentJob(const fs::path& folder, const std::string& name, const CatchmentRecipe& recipe) {
  checkRecipe(recipe);
  Draw draw(recipe.seed);
  const Vector v = controlVector(recipe, draw);

  GeneratedJob job;
  job.hydrographReports = v.reports;
  job.interstationAreas = v.gaugePlaced && v.subAreaBelowGauge ? 2 : 1;
  for (float a : v.areas) job.catchmentArea += a;
  // A storage delay that grows with the size of the catchment, as calibrated values do.
  const float kc = std::max(0.5F, roundTo(0.5F * std::sqrt(job.catchmentArea), 2));
  const Timing timing = stormTiming(recipe, kc);
  const Storm storm = stormFile(recipe, timing, kc, v);

  fs::create_directories(folder);
  const fs::path absolute = fs::absolute(folder);
  job.catchmentFile = absolute / (name + ".cat");
  job.stormFile = absolute / (name + ".stm");
  job.parameterFile = absolute / (name + ".par");
  job.outputFile = absolute / (name + "_" + name + ".out");
  if (job.parameterFile.string().size() > static_cast<std::size_t>(state::pathLength - 10))
    throw std::invalid_argument("folder path too long for the parameter file");
  writeText(job.catchmentFile, catchmentFile(recipe, v));
  writeText(job.stormFile, storm.text);
  writeText(job.parameterFile, parameterFile(recipe, job, kc, storm));
  return job;
}

}  // namespace kova::bench
