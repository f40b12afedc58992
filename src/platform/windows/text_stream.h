#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace kelvane::platform::windows {

// A new, empty text file (replacing any content) written as single-byte text
// in the system's ANSI code page, lines ending in CR LF.
std::unique_ptr<TextStream> CreateAnsiTextFile(const std::wstring& longPath, bool create);

}  // namespace kelvane::platform::windows
