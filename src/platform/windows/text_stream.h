#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace kelvane::platform::windows {

// A new text file, written as single-byte text in the system's ANSI code
// page, lines ending in CR LF. Fails when anything stands at the name.
std::unique_ptr<TextStream> CreateAnsiTextFile(const std::wstring& longPath);

}  // namespace kelvane::platform::windows
