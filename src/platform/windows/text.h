#pragma once

#include <string>

namespace kelvane::platform::windows {

// The core keeps UTF-8; Win32 and COM take UTF-16. UTF-16 to UTF-8 and back
// gives every name as it was, a lone surrogate included (it is written as
// its own three bytes, as WTF-8 does); ill-formed UTF-8 bytes become U+FFFD.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

}  // namespace kelvane::platform::windows
