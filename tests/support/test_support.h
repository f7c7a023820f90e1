// Helpers for the tests: scratch folders, small files written on the fly, and running
// the kova executable on a job.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kova::test {

// A fresh empty folder under the system temp folder, removed when it goes out of scope.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  // Writes a file (folders created as needed) and returns its full path.
  std::string write(const std::string& name, const std::string& content) const;
  [[nodiscard]] std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::string& path);
std::vector<std::string> readLines(const std::string& path);
bool exists(const std::string& path);

struct RunResult {
  int status = -1;
  std::string stdErr;
};
// Runs the kova executable with the given arguments in the given folder.
RunResult runKova(const std::vector<std::string>& args, const std::filesystem::path& workDir);

// Folder of the test sources (fixtures live under it).
std::string testDataDir();

}  // namespace kova::test
