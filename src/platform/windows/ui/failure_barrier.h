#pragma once

#include <exception>

#include "platform/interface/window_system.h"

namespace kelvane::platform::windows::ui {

// For a failure nothing else handled, at a place no exception may leave (a
// window procedure, a thread's last frame): the tool's error box, then its
// end. Never throws.
void ShowFailureAndEnd(platform::WindowSystem& windows, std::exception_ptr failure) noexcept;

}  // namespace kelvane::platform::windows::ui
