#include "demo_command.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "commands.h"
#include "image_commands.h"

namespace kelvane::sim_tool {

namespace fs = std::filesystem;

namespace {

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  return lines;
}

void SummariseEvents(const fs::path& log, std::ostream& out) {
  std::ifstream in(log);
  std::string line;
  std::map<std::string, int> kinds;
  while (std::getline(in, line)) {
    const std::string kind = line.substr(0, line.find('\t'));
    ++kinds[kind];
    if (kind == "uninstall" || kind == "run" || kind == "shortcut" || kind == "restart" || kind == "exit" ||
        line.rfind("window\tshow", 0) == 0) {
      out << "    " << line << "\n";
    }
  }
  out << "  " << kinds["progress"] << " progress messages; the whole log: " << log.string() << "\n";
}

}  // namespace

int RunDemo(std::ostream& out, std::ostream& err) {
  std::string folder = (fs::temp_directory_path() / "kelvane-sim-demo-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    err << "kelvane-sim: cannot make a temporary folder\n";
    return kExitBadUsage;
  }
  const fs::path image = fs::path(folder) / "machine";
  out << "Kelvane 2010 on a simulated Windows 7 machine with Office 2010\n";
  if (const int status = InitImage(image, true, err); status != kExitDone) return status;
  out << "  machine image: " << image.string() << "\n\n";

  std::ostringstream before;
  ReportImage(image, before, err);
  out << "Before: " << CountLines(before.str()) << " Office 2010 traces, among them\n";
  std::istringstream lines(before.str());
  std::string line;
  for (int shown = 0; shown < 5 && std::getline(lines, line); ++shown) out << "    " << line << "\n";

  out << "\nThe cycle: start, click Go, restart, log on, click Finish\n";
  std::ostringstream cycleOutput;
  if (const int status = CycleImage(image, cycleOutput, err); status != kExitDone) return status;
  SummariseEvents(image / "events.log", out);

  std::ostringstream after;
  const int status = ReportImage(image, after, err);
  out << "\nAfter: " << CountLines(after.str()) << " traces\n" << after.str();
  out << (status == kExitDone ? "Office 2010 is gone; the user's files, other programs and near misses remain.\n"
                              : "Traces remain.\n");
  return status;
}

}  // namespace kelvane::sim_tool
