#pragma once

#include <string_view>

namespace kelvane {

// Exact, case-sensitive comparisons of character codes, as the match rules
// of the removal plan need them. Every literal they are used with is ASCII,
// so comparing UTF-8 bytes compares characters.
inline bool BeginsWith(std::string_view text, std::string_view literal) {
  return text.size() >= literal.size() && text.substr(0, literal.size()) == literal;
}

inline bool EndsWith(std::string_view text, std::string_view literal) {
  return text.size() >= literal.size() && text.substr(text.size() - literal.size()) == literal;
}

}  // namespace kelvane
