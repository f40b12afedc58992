#pragma once

#include <functional>
#include <string>
#include <vector>
#include <memory>
#include <string>

#include "platform/interface/shell.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// Splits a command line into words as Windows does: blanks part them, quotes
// group a word and are dropped.
std::vector<std::string> Words(const std::string& line);

// Starts a command line as the shell's run does, and carries it out at once:
// "net stop NAME" stops a service, "shutdown -r ..." orders a restart, a
// .bat or .cmd file runs through the batch interpreter. Anything else, and
// a batch file that is not there, fails as Windows does. `started` is told
// once the command has been found, before it does anything.
std::unique_ptr<platform::Process> StartCommand(Machine& machine, const std::string& commandLine,
                                                const std::function<void()>& started);

// The batch interpreter: "@echo off", "rd /S /Q PATH" with %NAME%
// references expanded; any other line is logged as not recognised.
void RunBatchFile(Machine& machine, const DriveItem& file);

}  // namespace kelvane::platform::sim
