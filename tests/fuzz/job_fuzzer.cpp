// Fuzz entry: one input becomes a catchment file, a storm file and the model lines of a
// parameter file, and the whole job runs on them; it must end cleanly whatever they hold.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "driver/job_driver.h"
#include "state/job.h"

namespace {

// Splits the input into its three texts; a missing part is empty.
constexpr char partSeparator = '\x1e';

// This process's scratch folder, made on first use and removed when the fuzzer exits.
struct ScratchFolder {
  std::filesystem::path path = std::filesystem::path("/dev/shm") / ("kova_fuzz_" + std::to_string(getpid()));
  ScratchFolder() { std::filesystem::create_directories(path); }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
};

const std::filesystem::path& scratchFolder() {
  static const ScratchFolder folder;
  return folder.path;
}

void writeFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Cuts off the text up to the next separator (all of it when there is none).
std::string_view nextPart(std::string_view& rest) {
  const std::size_t cut = rest.find(partSeparator);
  std::string_view part = rest.substr(0, cut);
  rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view catchment = nextPart(rest);
  const std::string_view storm = nextPart(rest);
  const std::string_view modelLines = rest;

  const std::filesystem::path& folder = scratchFolder();
  const std::filesystem::path catchmentPath = folder / "Fuzz.cat";
  const std::filesystem::path stormPath = folder / "Fuzz.stm";
  const std::filesystem::path paramPath = folder / "fuzz.par";
  writeFile(catchmentPath, catchment);
  writeFile(stormPath, storm);
  writeFile(paramPath, "# BEGIN\nCatchment " + catchmentPath.string() + "\nStorm     " + stormPath.string() + "\n" +
                           std::string(modelLines));

  auto job = std::make_unique<kova::state::Job>();
  kova::driver::runJob(*job, paramPath.string());
  return 0;
}
