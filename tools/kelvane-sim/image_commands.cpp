#include "image_commands.h"

#include <iostream>
#include <optional>

#include "app/inventory.h"
#include "commands.h"
#include "image_builder.h"
#include "newer_office_image.h"
#include "office2010_image.h"
#include "platform/sim/command_interpreter.h"
#include "platform/sim/image/image_error.h"
#include "platform/sim/image/text_case.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_platform.h"
#include "session.h"
#include "windows7_image.h"

namespace kelvane::sim_tool {

// The tool drives and builds the simulated machine.
using namespace platform::sim;

namespace fs = std::filesystem;

namespace {

std::optional<std::deque<UserAction>> ParseActions(const std::vector<std::string>& clicks, std::ostream& err) {
  std::deque<UserAction> actions;
  for (const auto& click : clicks) {
    const auto action = ParseUserAction(click);
    if (!action) {
      err << "kelvane-sim: no such control or window to act on: " << click
          << " (btnGo, Label2, Finish, Picture1, close:Kelvane, close:Complete)\n";
      return std::nullopt;
    }
    actions.push_back(*action);
  }
  return actions;
}

// Loads the image, runs the step on it, and writes the image back.
template <class Step>
int OnMachine(const fs::path& image, std::ostream& err, Step&& step) {
  std::optional<Machine> machine;
  try {
    machine.emplace(image);
  } catch (const ImageError& error) {
    err << "kelvane-sim: bad machine image: " << error.what() << "\n";
    return kExitBadUsage;
  }
  const int status = step(*machine);
  machine->Save();
  return status;
}

int RunWithUser(const fs::path& image, const std::vector<std::string>& clicks, const std::string& toolArguments,
                std::istream& in, std::ostream& out, std::ostream& err, bool boot, const LogOn& logOn = {}) {
  const auto actions = ParseActions(clicks, err);
  if (!actions) return kExitBadUsage;
  return OnMachine(image, err, [&](Machine& machine) {
    const std::string* ownUser = machine.config().Variable("USERNAME");
    if (!logOn.user.empty() && !(ownUser && SameIgnoringAsciiCase(*ownUser, logOn.user))) {
      machine.LogOnOtherUser(logOn.user, logOn.administrator);
    }
    ScriptedUser scripted(*actions, err);
    InteractiveUser interactive(in, out);
    User& user = clicks.empty() ? static_cast<User&>(interactive) : scripted;
    if (!boot) {
      const int exitCode = StartTool(machine, user, Words(toolArguments));
      // Windows' exit codes do not fit a Linux exit status: said instead.
      if (!toolArguments.empty()) out << "exit code: " << exitCode << "\n";
    } else if (Boot(machine, user, err) == 0) {
      out << "No Startup shortcut starts the tool.\n";
    }
    scripted.ReportUndone();
    return kExitDone;
  });
}

}  // namespace

int InitImage(const fs::path& image, bool demo, std::ostream& err, bool newerOffice, ImageShape shape) {
  std::error_code error;
  if (fs::exists(image) && !fs::is_empty(image, error)) {
    err << "kelvane-sim: " << image.string() << " already exists and is not empty\n";
    return kExitBadUsage;
  }
  ImageBuilder builder(image);
  AddWindows7(builder, shape.sixtyFourBit);
  builder.SetThirtyTwoBitEdition(shape.sixtyFourBit && shape.edition == 32);
  if (demo) AddOffice2010(builder);
  if (demo && newerOffice) AddNewerOffice(builder);
  builder.Write();
  return kExitDone;
}

int StartOnImage(const fs::path& image, const std::vector<std::string>& clicks, const std::string& toolArguments,
                 std::istream& in, std::ostream& out, std::ostream& err) {
  return RunWithUser(image, clicks, toolArguments, in, out, err, false);
}

int BootImage(const fs::path& image, const std::vector<std::string>& clicks, std::istream& in, std::ostream& out,
              std::ostream& err, const LogOn& logOn) {
  return RunWithUser(image, clicks, "", in, out, err, true, logOn);
}

int CycleImage(const fs::path& image, std::ostream& out, std::ostream& err) {
  const int first = StartOnImage(image, {"btnGo"}, "", std::cin, out, err);
  if (first != kExitDone) return first;
  return BootImage(image, {"Finish"}, std::cin, out, err);
}

int ReportImage(const fs::path& image, std::ostream& out, std::ostream& err) {
  try {
    Machine machine(image);
    // The tool's own inventory, as /check reads it, on this machine.
    SimPlatform platform(machine);
    const auto traces = app::FindTraces(platform.get());
    for (const auto& trace : traces) out << trace << "\n";
    return traces.empty() ? kExitDone : kExitTracesFound;
  } catch (const ImageError& error) {
    err << "kelvane-sim: bad machine image: " << error.what() << "\n";
    return kExitBadUsage;
  } catch (const platform::Error& error) {
    err << "kelvane-sim: the machine cannot be looked at: " << error.description() << "\n";
    return kExitBadUsage;
  }
}

}  // namespace kelvane::sim_tool
