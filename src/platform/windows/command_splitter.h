#pragma once

#include <string>

namespace kelvane::platform::windows {

struct CommandLine {
  std::wstring program;
  std::wstring parameters;
};

// Splits a command line as the shell does: a program in double quotes runs to
// the closing quote, an unquoted one to the first blank or tab; the rest,
// without the blanks before it, are the parameters, passed on untouched.
CommandLine SplitCommandLine(const std::wstring& command);

}  // namespace kelvane::platform::windows
