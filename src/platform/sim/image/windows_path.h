#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane::platform::sim {

// A Windows path on drive C:, as the names between its separators. A run of
// backslashes (or slashes) counts as one separator and a trailing one is
// ignored, as the Windows path APIs treat them.
struct WindowsPath {
  std::vector<std::string> names;  // empty: the drive's root

  // "C:\a\b" (the root is "C:\").
  std::string Text() const;
  WindowsPath Child(const std::string& name) const;
  bool IsRoot() const { return names.empty(); }
};

// Nothing for a path that is not absolute on drive C: (another drive, a
// relative path, "." or ".." names): nothing lies there.
std::optional<WindowsPath> ParseWindowsPath(const std::string& text);

}  // namespace kelvane::platform::sim
