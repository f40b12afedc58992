#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Windows matches names without regard to case. Only ASCII letters fold:
// every name the tool builds or looks for is ASCII, and other characters
// compare as they are, which is what NTFS's upcase table does for them in
// practice. This is the one case fold of the whole system.
constexpr char FoldedAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string FoldedAscii(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = FoldedAscii(c);
  return folded;
}

inline std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

constexpr bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldedAscii(a[i]) != FoldedAscii(b[i])) return false;
  }
  return true;
}

constexpr bool BeginsIgnoringAsciiCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && SameIgnoringAsciiCase(text.substr(0, start.size()), start);
}

constexpr bool EndsIgnoringAsciiCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && SameIgnoringAsciiCase(text.substr(text.size() - tail.size()), tail);
}

// The order NTFS and the registry enumerate names in: folded, byte by byte,
// a name before the longer ones it begins.
struct LessIgnoringAsciiCase {
  constexpr bool operator()(std::string_view a, std::string_view b) const {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
      const auto x = static_cast<unsigned char>(FoldedAscii(a[i]));
      const auto y = static_cast<unsigned char>(FoldedAscii(b[i]));
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

}  // namespace kelvane
