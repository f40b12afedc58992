#pragma once

#include <string>

#include "platform/error.h"

namespace kelvane::app {

inline constexpr const char* kApplicationTitle = "Kelvane 2010";

// The error box's text: the error's number and its description.
std::string ErrorBoxText(const platform::Error& error);

}  // namespace kelvane::app
