// The job's files: the output-file name, opening the catchment, storm and output
// files, and the banner at the top of the output file.
#pragma once

#include <string>
#include <string_view>

#include "state/job.h"

namespace kova::driver {

// The stem of a path: from after its last folder separator up to before its last ".",
// or to the end when there is no "." past the first character.
std::string pathStem(std::string_view path);
// The output-file name from the catchment and storm files and the parameter folder.
std::string outputFileName(std::string_view catchmentFile, std::string_view stormFile,
                           std::string_view paramFolder);

// Sets genpar.outputFile.
void getoutputfilename(state::Job& job);
// A hook for a front end's detailed print names; nothing to do in batch.
void populatedetailedprintnames(state::Job& job);
// Opens the catchment, storm and output files; the first that fails is reported in the
// log as " File not found: " + path and sets errorFlag.
void openfiles(state::Job& job);

struct RunDate {
  int day = 0, month = 0, year = 0, hour = 0, minute = 0;
  std::string monthName;
};
// The current local date and time.
RunDate getdate();
// The banner lines for a run date.
void writeBanner(state::Job& job, int unit, const RunDate& date);
void kovaheader(state::Job& job, int unit);

}  // namespace kova::driver
