#pragma once

#include <string>

#include "platform/interface/window_system.h"

namespace kelvane::platform {

// Sets the progress line and repaints it at once, as every phase does.
void ShowProgress(WindowSystem& windows, const std::string& text);

}  // namespace kelvane::platform
