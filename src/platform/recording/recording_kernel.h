#pragma once

#include <memory>

#include "platform/interface/kernel.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// The process and the system as the machine describes them; a restart, a
// sleep and the Installer's wait are logged and return at once.
std::unique_ptr<platform::Kernel> MakeRecordingKernel(RecordingPlatform& recorder);

}  // namespace kelvane::platform::recording
