#pragma once

#include <string>
#include <string_view>

#include "common/ascii_case.h"

namespace kelvane {

// A Windows path's last name: "C:\a\b.exe" gives "b.exe".
inline std::string_view LeafName(std::string_view path) {
  const auto cut = path.rfind('\\');
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// Whether two Windows paths are spelt alike without regard to ASCII case.
inline bool SamePath(std::string_view a, std::string_view b) { return SameIgnoringAsciiCase(a, b); }

// Whether the file at `path` lies directly in `folder`.
inline bool IsDirectlyIn(std::string_view path, std::string_view folder) {
  const auto cut = path.rfind('\\');
  return cut != std::string_view::npos && SamePath(path.substr(0, cut), folder);
}

}  // namespace kelvane
