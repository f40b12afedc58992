#pragma once

#include <string>

namespace kelvane::platform::windows {

// The path as the Win32 file API takes it beyond 260 characters: absolute,
// with the "\\?\" (or "\\?\UNC\") prefix, runs of separators collapsed and
// no trailing separator except on a drive root. Fails when the path cannot
// be made absolute.
std::wstring LongPath(const std::string& path);

// The same path as people write it, without the prefix.
std::string DisplayPath(const std::wstring& longPath);

// The last component of a path.
std::wstring LeafName(const std::wstring& path);

}  // namespace kelvane::platform::windows
