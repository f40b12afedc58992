#pragma once

#include <optional>
#include <string>

namespace kelvane::platform::sim {

// UTF-16 code units <-> UTF-8. Decoding gives nothing for text that is not
// well formed (an unpaired surrogate, a stray continuation byte).
std::optional<std::string> Utf16ToUtf8(const std::u16string& text);
std::optional<std::u16string> Utf8ToUtf16(const std::string& text);

// Single-byte text in the system's ANSI code page (Windows-1252 here): what
// Latin-1 holds passes, anything else becomes '?' as a best-fit conversion
// without a match does.
std::string ToAnsi(const std::u16string& text);
std::string Utf8ToAnsi(const std::string& text);

}  // namespace kelvane::platform::sim
