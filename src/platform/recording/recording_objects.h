#pragma once

#include <memory>

#include "platform/interface/objects.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// Creates the automation objects by programmatic identifier and binds the
// two WMI monikers, each logged and failing as it is told to.
std::unique_ptr<platform::Objects> MakeRecordingObjects(RecordingPlatform& recorder);

}  // namespace kelvane::platform::recording
