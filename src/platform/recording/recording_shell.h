#pragma once

#include <memory>

#include "platform/interface/shell.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// WScript.Shell on the machine: environment references expanded from its
// environment, a program or document started only where its file is, and
// shortcuts saved as their target and window style.
std::unique_ptr<platform::Shell> MakeRecordingShell(RecordingPlatform& recorder);

}  // namespace kelvane::platform::recording
