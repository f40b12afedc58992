#pragma once

#include <memory>

#include "platform/interface/file_system.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// Scripting.FileSystemObject on the machine's files and folders, with the
// numbers Windows fails with; a file in use or a Delete fault keeps an item.
std::unique_ptr<platform::FileSystem> MakeRecordingFileSystem(RecordingPlatform& recorder);

}  // namespace kelvane::platform::recording
