#pragma once

#include <memory>

#include "platform/interface/file_system.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// "Scripting.FileSystemObject" on the machine's drive.
std::unique_ptr<platform::FileSystem> MakeFileSystem(Machine& machine);

}  // namespace kelvane::platform::sim
