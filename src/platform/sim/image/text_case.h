#pragma once

#include <string>
#include <string_view>

#include "common/ascii_case.h"

namespace kelvane::platform::sim {

// The machine's names match as Windows matches them: the system's one fold.
inline char FoldCase(char c) { return FoldedAscii(c); }
inline std::string Folded(std::string_view text) { return FoldedAscii(text); }
inline bool SameName(std::string_view a, std::string_view b) { return SameIgnoringAsciiCase(a, b); }
inline bool EndsWithName(std::string_view text, std::string_view tail) { return EndsIgnoringAsciiCase(text, tail); }

// The order NTFS and the registry enumerate in.
using NameLess = LessIgnoringAsciiCase;

}  // namespace kelvane::platform::sim
