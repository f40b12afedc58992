#pragma once

#include "common/ascii_case.h"

namespace kelvane::platform::sim {

// The machine's names match as Windows matches them, by the system's one
// fold (common/ascii_case.h), and enumerate in the order NTFS and the
// registry do.
using NameLess = LessIgnoringAsciiCase;

}  // namespace kelvane::platform::sim
