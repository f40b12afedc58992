#pragma once

#include <string>

#include "platform/interface/error.h"

namespace kelvane::platform {

inline constexpr const char* kApplicationTitle = "Kelvane 2010";

// An error's number as people read it: small numbers (automation errors and
// Win32 codes) in decimal, HRESULTs in hexadecimal, as Windows documents them.
std::string ErrorNumberText(const Error& error);

// The error box's text: the error's number and its description.
std::string ErrorBoxText(const Error& error);

}  // namespace kelvane::platform
