#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane::app {

// What the person or the deployment system asked for, in Windows
// Installer's own words: msiexec's switches, as administrators know them.
struct RunOptions {
  enum class Display { Full, Passive, Quiet };
  enum class Restart { AsNeeded, Never, Always };

  Display display = Display::Full;  // Full: the one-button tool
  Restart restart = Restart::AsNeeded;
  std::optional<std::string> logFile;
  bool check = false;  // change nothing; say whether traces remain

  bool Unattended() const { return display != Display::Full; }
};

// The command line read, or why it cannot be.
struct ParsedCommandLine {
  std::optional<RunOptions> options;
  std::string error;    // when there are no options
  bool silent = false;  // /quiet or /passive was given: no message box, even for an error
};

// Switches are matched without regard to case and start with "/" or "-".
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// What the usage message says.
extern const char* const kUsageText;

}  // namespace kelvane::app
