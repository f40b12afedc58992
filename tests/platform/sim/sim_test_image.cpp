#include "sim_test_image.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "commands.h"
#include "platform/sim/image/atomic_write.h"
#include "platform/sim/image/windows_path.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim::testing {

namespace fs = std::filesystem;

fs::path TestImage::MemoryScratch() {
  std::error_code error;
  return fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

TestImage::TestImage(bool demo, const fs::path& under, const std::vector<std::string>& options) {
  std::string folder = (under / "kelvane-sim-test-XXXXXX").string();
  root_ = mkdtemp(folder.data());
  path_ = root_ / "image";
  std::vector<std::string> init{"init", "IMAGE"};
  if (demo) init.push_back("--demo");
  init.insert(init.end(), options.begin(), options.end());
  Run(init);
}

TestImage::~TestImage() {
  // Read-only folders must be writable again before they can go.
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root_, error); it != fs::recursive_directory_iterator(); ++it) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(root_, error);
}

fs::path TestImage::Host(const std::string& windowsPath) const {
  fs::path host = path_ / "drive_c";
  const auto parsed = ParseWindowsPath(windowsPath).value();
  for (const auto& name : parsed.names) host /= name;
  return host;
}

bool TestImage::Exists(const std::string& windowsPath) const {
  return Machine(path_).drive().Find(windowsPath).has_value();
}

void TestImage::MakeFile(const std::string& windowsPath, const std::string& content, bool readOnly) const {
  const fs::path host = Host(windowsPath);
  fs::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary) << content;
  if (readOnly) fs::permissions(host, fs::perms::owner_write, fs::perm_options::remove);
}

int TestImage::Run(std::vector<std::string> arguments) {
  for (auto& argument : arguments) {
    if (argument == "IMAGE") argument = path_.string();
  }
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const int status = sim_tool::RunKelvaneSim(arguments, in, out, err);
  out_ = out.str();
  err_ = err.str();
  return status;
}

void TestImage::WriteFaults(const std::string& text) const { WriteImageFile("faults.ini", text); }

void TestImage::WriteImageFile(const std::string& name, const std::string& bytes) const {
  std::ofstream(path_ / name, std::ios::binary | std::ios::trunc) << bytes;
}

std::string TestImage::ReadImageFile(const std::string& name) const { return ReadWholeFile(path_ / name); }

std::vector<std::string> TestImage::Events() const { return Events(""); }

std::vector<std::string> TestImage::Events(const std::string& prefix) const {
  std::vector<std::string> events;
  std::ifstream in(path_ / "events.log");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) == 0) events.push_back(line);
  }
  return events;
}

void TestImage::ClearEvents() const { fs::remove(path_ / "events.log"); }

std::vector<std::string> TestImage::Traces() {
  Run({"report", "IMAGE"});
  std::vector<std::string> traces;
  std::istringstream lines(out_);
  std::string line;
  while (std::getline(lines, line)) traces.push_back(line);
  return traces;
}

bool TestImage::HasKey(const std::string& fullName) const { return Machine(path_).registry().Find(fullName) != nullptr; }

}  // namespace kelvane::platform::sim::testing
