#pragma once

#include "platform/platform.h"

namespace kelvane::installer {

// Uninstalls, one after the other, every Windows Installer product whose
// name begins with "Microsoft Office".
void UninstallMSIs(platform::Platform& platform);

inline constexpr const char* kProductNamePrefix = "Microsoft Office";

}  // namespace kelvane::installer
