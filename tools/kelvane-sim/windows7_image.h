#pragma once

#include "image_builder.h"

namespace kelvane::sim_tool {

inline constexpr const char* kDemoUser = "Demo User";

// A fresh Windows 7 machine (32-bit) with one user, "Demo User", the tool
// downloaded to the user's Downloads folder, and Windows 7's junction from
// C:\ProgramData\Start Menu to the real all-users Start menu.
// With sixtyFourBit, a 64-bit Windows 7 as the 32-bit tool sees it: its
// environment names Program Files (x86), and the native folders are there
// beside it.
void AddWindows7(ImageBuilder& image, bool sixtyFourBit = false);

}  // namespace kelvane::sim_tool
