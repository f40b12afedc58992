#pragma once

#include <string>
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

// A field of a tab-separated line: tabs and line breaks inside it written
// "\t", "\r" and "\n", so that every line holds one record.
inline std::string TabField(std::string_view text) {
  std::string field;
  for (const char c : text) {
    if (c == '\t') {
      field += "\\t";
    } else if (c == '\r') {
      field += "\\r";
    } else if (c == '\n') {
      field += "\\n";
    } else {
      field += c;
    }
  }
  return field;
}

}  // namespace kelvane
