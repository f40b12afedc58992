// Measures the simulated machine at scale, one phase at a time:
//   kelvane-bench registry N FOLDER   RemoveRegKeys on N keys below
//                                     HKCU\Software\Microsoft\Office\14.0
//   kelvane-bench sweep N FOLDER      CleanUp on a temporary folder of N files
//   kelvane-bench regfile N FOLDER    loading and saving an image of N keys
//   kelvane-bench scrub N FOLDER      the Installer's records scrubbed for
//                                     Office 2010 among N component keys
// Each lays the demo image with the items in FOLDER (which must not exist),
// checks they are all there, measures, checks the work was done, and only
// then prints one line of "name=value" fields. Run under callgrind
// with --collect-atstart=no, only the measured phase is counted.
#include <sys/resource.h>
#include <valgrind/callgrind.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/kelvane.h"
#include "commands.h"
#include "files/clean_up.h"
#include "installer/scrub_installer_records.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_platform.h"
#include "registry/remove_reg_keys.h"

namespace fs = std::filesystem;
using kelvane::platform::sim::Machine;
using kelvane::platform::sim::SimPlatform;

namespace {

constexpr const char* kBenchKey = "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\14.0\\Bench";
constexpr const char* kTemp = "C:\\Users\\Demo User\\AppData\\Local\\Temp";

// Wall time of the measured part, with callgrind counting only that part.
template <class Work>
double Measure(Work&& work) {
  const auto started = std::chrono::steady_clock::now();
  CALLGRIND_TOGGLE_COLLECT;
  work();
  CALLGRIND_TOGGLE_COLLECT;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void LayDemo(const fs::path& image) {
  std::ostringstream out, err;
  std::istringstream in;
  if (kelvane::sim_tool::RunKelvaneSim({"init", image.string(), "--demo"}, in, out, err) != 0) {
    throw std::runtime_error("init failed: " + err.str());
  }
}

// Groups of ten keys, one level below the bench key, as products lay theirs.
void AddKeys(const fs::path& image, long count) {
  Machine machine(image);
  for (long i = 0; i < count; ++i) {
    machine.registry().Create(std::string(kBenchKey) + "\\g" + std::to_string(i / 10) + "\\k" + std::to_string(i % 10));
  }
  machine.Save();
}

// Half the files loose, half five to a folder: count / 10 folders.
void AddFiles(const fs::path& image, long count) {
  Machine machine(image);
  const fs::path temp = machine.drive().Find(kTemp)->host;
  const auto lay = [](const fs::path& file) {
    if (!std::ofstream(file)) throw std::runtime_error("cannot lay " + file.string());
  };
  for (long i = 0; i < count / 2; ++i) lay(temp / ("loose " + std::to_string(i) + ".tmp"));
  for (long folder = 0; folder < count / 10; ++folder) {
    const fs::path path = temp / ("folder " + std::to_string(folder));
    fs::create_directory(path);
    for (int file = 0; file < 5; ++file) lay(path / ("f" + std::to_string(file) + ".tmp"));
  }
}

// The bench keys an image holds: every key below a group of the bench key.
long BenchKeys(Machine& machine) {
  const auto* bench = machine.registry().Find(kBenchKey);
  long keys = 0;
  if (bench) {
    for (const auto& group : bench->subkeys) keys += static_cast<long>(group.second->subkeys.size());
  }
  return keys;
}

constexpr const char* kComponents =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components";
constexpr const char* kProPlusCode = "{90140000-0011-0000-0000-0000000FF1CE}";
constexpr const char* kProPlusPacked = "00004109110000000000000000F01FEC";

// Component keys as an Office machine has them: each names Office 2010 and,
// one in ten, another product too, whose value must stay.
void AddComponents(const fs::path& image, long count) {
  Machine machine(image);
  for (long i = 0; i < count; ++i) {
    char name[33];
    std::snprintf(name, sizeof name, "%032lX", i);
    auto* key = machine.registry().Create(std::string(kComponents) + "\\" + name);
    key->values.push_back(std::string("\"") + kProPlusPacked + "\"=\"C:\\\\Program Files\\\\f" + std::to_string(i) + "\"");
    if (i % 10 == 0) key->values.push_back("\"96F071321C0410729002000010000000\"=\"C:\\\\7-Zip\\\\7z.dll\"");
  }
  machine.Save();
}

// What is left of the bench's component keys: keys, and values naming Office.
std::pair<long, long> LeftComponents(Machine& machine) {
  long keys = 0, office = 0;
  const auto* components = machine.registry().Find(kComponents);
  if (!components) return {0, 0};
  for (const auto& entry : components->subkeys) {
    ++keys;
    for (const auto& value : entry.second->values) office += value.find(kProPlusPacked) != std::string::npos;
  }
  return {keys, office};
}

int Run(const std::string& what, long count, const fs::path& image) {
  LayDemo(image);
  double seconds = 0;
  if (what == "registry") {
    AddKeys(image, count);
    Machine machine(image);
    if (BenchKeys(machine) != count) throw std::runtime_error("the bench keys were not all laid");
    SimPlatform platform(machine);
    seconds = Measure([&] { kelvane::registry::RemoveRegKeys(platform.get()); });
    if (machine.registry().Find(kBenchKey)) throw std::runtime_error("the bench keys are still there");
  } else if (what == "sweep") {
    AddFiles(image, count);
    Machine machine(image);
    SimPlatform platform(machine);
    seconds = Measure([&] { kelvane::files::CleanUp(platform.get()); });
    if (!fs::is_empty(machine.drive().Find(kTemp)->host)) throw std::runtime_error("the sweep left items");
  } else if (what == "scrub") {
    AddComponents(image, count);
    Machine machine(image);
    // The demo image has component keys of its own.
    if (LeftComponents(machine).second < count) throw std::runtime_error("the component keys were not all laid");
    SimPlatform platform(machine);
    const std::vector<kelvane::installer::UninstallResult> failed{
        {kProPlusCode, "Microsoft Office Professional Plus 2010", 1612}};
    seconds = Measure([&] { kelvane::installer::ScrubInstallerRecords(platform.get(), failed); });
    // Only the keys another product shares stay, with its value alone.
    const auto [keys, office] = LeftComponents(machine);
    if (office != 0 || keys > count / 10 + 10) {
      throw std::runtime_error("the scrub left " + std::to_string(office) + " values in " + std::to_string(keys) + " keys");
    }
  } else if (what == "regfile") {
    AddKeys(image, count);
    double load = 0;
    const double save = Measure([&] {
      const auto started = std::chrono::steady_clock::now();
      Machine machine(image);
      load = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      machine.Save();
    }) - load;
    // A figure only for an image that holds what it was given.
    Machine reloaded(image);
    if (BenchKeys(reloaded) != count) throw std::runtime_error("the saved image lost bench keys");
    std::cout << "what=regfile items=" << count << " load_seconds=" << load << " save_seconds=" << save
              << " bytes=" << fs::file_size(image / "registry.reg") << " peak_kb=" << PeakKilobytes() << "\n";
    return 0;
  } else {
    std::cerr << "kelvane-bench: unknown measurement " << what << "\n";
    return 2;
  }
  std::cout << "what=" << what << " items=" << count << " seconds=" << seconds
            << " microseconds_per_item=" << seconds * 1e6 / static_cast<double>(count)
            << " peak_kb=" << PeakKilobytes() << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: kelvane-bench registry|sweep|regfile|scrub N FOLDER\n";
    return 2;
  }
  try {
    return Run(argv[1], std::stol(argv[2]), argv[3]);
  } catch (const std::exception& failure) {
    std::cerr << "kelvane-bench: " << failure.what() << "\n";
    return 1;
  }
}
