#pragma once

#include <memory>

#include "platform/interface/window_system.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// The windows as what is visible, each change and text logged.
std::unique_ptr<platform::WindowSystem> MakeRecordingWindowSystem(RecordingPlatform& recorder);

}  // namespace kelvane::platform::recording
