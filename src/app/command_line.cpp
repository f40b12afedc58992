#include "app/command_line.h"

#include "common/ascii_case.h"

namespace kelvane::app {

const char* const kUsageText =
    "Usage: kelvane2010 [/quiet | /passive] [/norestart | /forcerestart] [/log FILE] [/check]\n\n"
    "No switch: the one-button tool.\n"
    "/quiet  no window and no prompt; the removal starts at once.\n"
    "/passive  the progress window only.\n"
    "/norestart  never restart.  /forcerestart  always restart at the end.\n"
    "  Neither: restart only when something is left for the restart.\n"
    "/log FILE  append a log of every action (UTF-8).\n"
    "/check  change nothing; exit 0 when no Office 2010 trace remains, 1 when some do.\n\n"
    "Exit codes: 0 done, 3010 done and a restart will finish it, 1641 done and the restart started,\n"
    "1603 failed, 1618 another installation is in progress, 1622 the log cannot be opened,\n"
    "5 not an administrator, 87 bad command line.";

namespace {

// The switch's name without its "/" or "-", lower case; empty when the
// argument is no switch.
std::string SwitchName(const std::string& argument) {
  if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return {};
  return FoldedAscii(argument.substr(1));
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  RunOptions options;
  bool displayGiven = false;
  bool restartGiven = false;
  for (std::size_t at = 0; at < arguments.size(); ++at) {
    const std::string name = SwitchName(arguments[at]);
    if (name == "quiet" || name == "passive") {
      parsed.silent = true;
      if (displayGiven) parsed.error = "/quiet and /passive go alone";
      displayGiven = true;
      options.display = name == "quiet" ? RunOptions::Display::Quiet : RunOptions::Display::Passive;
    } else if (name == "norestart" || name == "forcerestart") {
      if (restartGiven) parsed.error = "/norestart and /forcerestart go alone";
      restartGiven = true;
      options.restart = name == "norestart" ? RunOptions::Restart::Never : RunOptions::Restart::Always;
    } else if (name == "log") {
      if (options.logFile || at + 1 == arguments.size() || arguments[at + 1].empty()) {
        parsed.error = "/log takes one file";
      } else {
        options.logFile = arguments[++at];
      }
    } else if (name == "check") {
      options.check = true;
    } else if (parsed.error.empty()) {
      parsed.error = "unknown argument: " + arguments[at];
    }
  }
  // The windowed tool always restarts to finish: the restart switches are
  // for the unattended removal.
  if (parsed.error.empty() && restartGiven && !options.Unattended() && !options.check) {
    parsed.error = "/norestart and /forcerestart go with /quiet or /passive";
  }
  if (parsed.error.empty()) parsed.options = options;
  return parsed;
}

}  // namespace kelvane::app
