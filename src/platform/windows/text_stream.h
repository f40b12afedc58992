#pragma once

#include <memory>
#include <string>

#include "platform/interface/file_system.h"
#include "platform/windows/handles.h"

namespace kelvane::platform::windows {

// A new text file, written as single-byte text in the system's ANSI code
// page, lines ending in CR LF. Fails when anything stands at the name.
std::unique_ptr<TextStream> CreateAnsiTextFile(const std::wstring& longPath);
// An existing file, for reading whole as ANSI text; never opened through a
// link at its name.
std::unique_ptr<TextStream> OpenAnsiTextFileForReading(const std::wstring& longPath);

// A log: an open file (opened for FILE_APPEND_DATA) every line is appended
// to as UTF-8 text ending in CR LF.
std::unique_ptr<TextStream> AppendUtf8Text(UniqueHandle file);

}  // namespace kelvane::platform::windows
