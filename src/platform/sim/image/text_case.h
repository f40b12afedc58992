#pragma once

#include <string>
#include <string_view>

namespace kelvane::platform::sim {

// Windows matches names without regard to case. Only ASCII letters fold:
// every name the tool builds is ASCII, and other characters compare as they
// are, which is what NTFS's upcase table does for them in practice.
inline char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string Folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = FoldCase(c);
  return out;
}

inline bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

// Whether the name ends in the tail, without regard to case.
inline bool EndsWithName(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && SameName(text.substr(text.size() - tail.size()), tail);
}

// The order NTFS and the registry enumerate in.
struct NameLess {
  bool operator()(std::string_view a, std::string_view b) const {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
      const auto x = static_cast<unsigned char>(FoldCase(a[i]));
      const auto y = static_cast<unsigned char>(FoldCase(b[i]));
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

}  // namespace kelvane::platform::sim
