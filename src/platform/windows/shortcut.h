#pragma once

#include <memory>
#include <string>

#include "platform/interface/shell.h"

namespace kelvane::platform::windows {

// A shortcut on the shell's link object (IShellLinkW), saved through its
// IPersistFile; the window style is the link's show command.
std::unique_ptr<Shortcut> MakeShortcut(const std::string& linkPath);

}  // namespace kelvane::platform::windows
