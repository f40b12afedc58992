#pragma once

#include <string>

namespace kelvane::platform::windows {

// The core keeps UTF-8; Win32 and COM take UTF-16.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

}  // namespace kelvane::platform::windows
