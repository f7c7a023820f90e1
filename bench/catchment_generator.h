// Writer of synthetic jobs: a catchment file, a storm file and a parameter file for a
// catchment of any number of sub-areas, so the benchmarks can scale a job at will.
#pragma once

#include <filesystem>
#include <string>

namespace kova::bench {

enum class RunType { fit, test, design };

// What the synthetic job should hold. The catchment is a main stream built from groups
// of five sub-areas: two on the main stream, then a tributary of three (every third
// tributary holds a nested branch of its own); sub-areas left over after the last whole
// group go on the main stream. Main-stream reaches are natural channels, tributaries
// alternate unlined and lined channels, nested branches have reaches without delay; the
// storages are non-linear (m = 0.8). Printed are sub-area 1 (inflow and reach), the first
// confluence, a point after every fourth group, the gauge (after the middle group), the
// storage, and the outlet reach and outlet.
struct CatchmentRecipe {
  int subAreas = 10;     // 1 .. 5000
  int timeSteps = 100;   // time increments of the storm (ordinates - 1)
  int bursts = 1;        // rainfall bursts, 1 .. 4
  int pluviographs = 1;  // 1 .. 20; from 2 up every burst gets reference numbers
  RunType runType = RunType::design;
  bool gauged = false;          // a gauging station with its recorded hydrograph (FIT/TEST need one)
  bool specialStorage = false;  // a storage of the power-law kind above the outlet
  int lossModel = 1;            // 1 initial/continuing loss, 2 initial loss/runoff coefficient
  int printOption = 1;          // 1 .. 3
  unsigned seed = 1;            // varies lengths, slopes, areas and fractions impervious
};

// The files written and what the job will report.
struct GeneratedJob {
  std::filesystem::path parameterFile;
  std::filesystem::path catchmentFile;
  std::filesystem::path stormFile;
  std::filesystem::path outputFile;  // where the engine writes its output file
  int hydrographReports = 0;         // hydrograph reports (lines starting " *** ") of the run
  int interstationAreas = 0;
  float catchmentArea = 0.0F;  // km²
};

// Writes <name>.cat, <name>.stm and <name>.par into `folder` (created when missing) and
// returns their paths. The parameter file names the other two by absolute path, so the
// job runs from any working folder. Throws std::invalid_argument for a recipe outside the
// ranges above or with too few time steps for its bursts, and std::runtime_error when a
// file cannot be written. The engine's work arrays hold jobs of up to about two million
// sub-area time steps; a larger job stops with the engine's storage-limit message.
GeneratedJob writeCatchmentJob(const std::filesystem::path& folder, const std::string& name,
                               const CatchmentRecipe& recipe);

}  // namespace kova::bench
