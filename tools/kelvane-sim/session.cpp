#include "session.h"

#include <ostream>
#include <set>

#include "app/kelvane.h"
#include "platform/sim/image/atomic_write.h"
#include "platform/sim/image/shell_link.h"
#include "platform/sim/image/text_case.h"
#include "platform/sim/sim_platform.h"

namespace kelvane::sim_tool {

// The tool drives and builds the simulated machine.
using namespace platform::sim;

namespace {

// Whether the file is the tool: its path, or a copy of it.
bool IsTheTool(Machine& machine, const std::string& path) {
  if (SameIgnoringAsciiCase(path, machine.config().exePath)) return true;
  const auto file = machine.drive().Find(path);
  const auto tool = machine.drive().Find(machine.config().exePath);
  return file && tool && Drive::IsFile(*file) && Drive::IsFile(*tool) &&
         ReadWholeFile(file->host) == ReadWholeFile(tool->host);
}

// What the system was handed to delete at this start, in order; what cannot
// go stays, as Windows leaves it.
void DeleteHandedOver(Machine& machine) {
  for (const auto& path : machine.config().deletionsAtRestart) {
    if (const auto item = machine.drive().Find(path)) machine.Delete(*item, true);
  }
  machine.config().deletionsAtRestart.clear();
}

int Run(Machine& machine, User& user, const std::string& startedFrom, const std::vector<std::string>& arguments) {
  SimPlatform platform(machine, startedFrom, arguments);
  app::Kelvane tool(platform.get());
  tool.Start();
  while (!platform.windows().ended()) {
    const auto action = user.Next(platform.windows());
    if (!action) break;
    if (action->kind == UserAction::Kind::Click) {
      tool.Clicked(action->control);
    } else {
      tool.CloseRequested(action->window);
    }
  }
  return platform.windows().exitCode();
}

}  // namespace

int RunTool(Machine& machine, User& user, const std::vector<std::string>& arguments) {
  return Run(machine, user, machine.config().exePath, arguments);
}

int StartTool(Machine& machine, User& user, const std::vector<std::string>& arguments) {
  machine.log().Append({"logon"});
  return RunTool(machine, user, arguments);
}

int Boot(Machine& machine, User& user, std::ostream& notes) {
  if (machine.config().pendingRestart) {
    machine.config().pendingRestart = false;
    machine.log().Append({"restart"});
  }
  DeleteHandedOver(machine);
  machine.log().Append({"logon"});
  int started = 0;
  std::set<std::filesystem::path> seen;
  for (const char* folder : {"%ALLUSERSPROFILE%\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
                             "%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"}) {
    const auto startup = machine.drive().Find(machine.Expand(folder));
    if (!startup || !Drive::IsFolder(*startup)) continue;
    std::error_code error;
    // One folder reached twice (a junction) starts its shortcuts once.
    if (!seen.insert(std::filesystem::canonical(startup->host, error)).second) continue;
    for (const auto& item : machine.drive().List(*startup)) {
      if (!Drive::IsFile(item) || !EndsIgnoringAsciiCase(item.Name(), ".lnk")) continue;
      const auto link = ReadShellLink(ReadWholeFile(item.host));
      if (!link) {
        notes << "kelvane-sim: not a shortcut Windows can read: " << item.path.Text() << "\n";
        continue;
      }
      if (!IsTheTool(machine, link->targetPath)) continue;
      ++started;
      Run(machine, user, link->targetPath, {});
    }
  }
  return started;
}

}  // namespace kelvane::sim_tool
