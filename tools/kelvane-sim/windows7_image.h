#pragma once

#include "image_builder.h"

namespace kelvane::platform::sim {

inline constexpr const char* kDemoUser = "Demo User";

// A fresh Windows 7 machine (32-bit) with one user, "Demo User", the tool
// downloaded to the user's Downloads folder, and Windows 7's junction from
// C:\ProgramData\Start Menu to the real all-users Start menu.
void AddWindows7(ImageBuilder& image);

}  // namespace kelvane::platform::sim
