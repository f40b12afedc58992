#pragma once

#include <memory>

#include "platform/interface/network.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// WScript.Network: the machine's name.
std::unique_ptr<platform::Network> MakeRecordingNetwork(RecordingPlatform& recorder);

}  // namespace kelvane::platform::recording
