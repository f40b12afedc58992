#pragma once

#include <string>

#include "platform/windows/handles.h"

namespace kelvane::platform::windows {

// Starts a command line with CreateProcessW, the program named by its
// absolute path, never looked up by file type (per-user associations could
// redefine any of them): a bare name ("net", "shutdown") is the system
// folder's program; a batch file (.bat, .cmd) runs in the system folder's
// command interpreter; an .exe runs as it is. Anything else, a relative path
// or a missing file fails with "file not found". Returns the process.
UniqueHandle StartProgram(const std::wstring& command);

}  // namespace kelvane::platform::windows
