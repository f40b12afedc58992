#pragma once

#include <memory>

#include "platform/interface/registry_provider.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// StdRegProv on the machine's keys and values, with the statuses Windows
// returns; a key the machine refuses answers access denied.
std::unique_ptr<platform::RegistryProvider> MakeRecordingRegistryProvider(RecordingPlatform& recorder);

}  // namespace kelvane::platform::recording
