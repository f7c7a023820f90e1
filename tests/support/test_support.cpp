// Test helpers: scratch folders, file reading and running the executable.
#include "support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kova::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("kova_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string ScratchDir::write(const std::string& name, const std::string& content) const {
  fs::path p = path_ / name;
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out << content;
  return p.string();
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> readLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(readFile(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool exists(const std::string& path) { return fs::exists(path); }

RunResult runKova(const std::vector<std::string>& args, const fs::path& workDir) {
  std::string command = "cd '" + workDir.string() + "' && '" KOVA_EXE "'";
  for (const std::string& a : args) command += " '" + a + "'";
  fs::path errFile = workDir / ".stderr";
  command += " 2>'" + errFile.string() + "'";
  int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.stdErr = readFile(errFile.string());
  fs::remove(errFile);
  return result;
}

std::string testDataDir() { return KOVA_TEST_DATA; }

}  // namespace kova::test
