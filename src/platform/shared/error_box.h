#pragma once

#include <string>
#include <vector>

#include "platform/interface/error.h"

namespace kelvane::platform {

inline constexpr const char* kApplicationTitle = "Kelvane 2010";

// An error's number as people read it: small numbers (automation errors and
// Win32 codes) in decimal, HRESULTs in hexadecimal, as Windows documents them.
std::string ErrorNumberText(const Error& error);

// The error box's text: the error's number and its description.
std::string ErrorBoxText(const Error& error);

// The box that shows an address Windows could not open as the user.
inline constexpr const char* kOpenItYourselfText = "Windows could not open this address for you. Open it in your browser:\n\n";

// The box after a resumed run that could not remove everything: the items,
// as /check names them, the first ones only when there are many (the box
// must fit the screen), and where to find them all.
std::string RemainingItemsText(const std::vector<std::string>& items);

}  // namespace kelvane::platform
