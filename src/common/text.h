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

// An unsigned number's digits in base 10 or 16 (upper-case letters), at
// least width of them: what "%0*u" and "%0*X" print, without the printf
// engine (and its floating point) in the executable.
inline std::string Digits(unsigned long long value, unsigned base = 10, std::size_t width = 1) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[value % base]);
    value /= base;
  } while (value != 0);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// A field of a tab-separated line: tabs and line breaks inside it written
// "\t", "\r" and "\n", so that every line holds one record, and every other
// control character "\xHH" (C1 controls "\u00HH"), so that a name found on
// the machine cannot move a terminal's cursor or forge a line; nothing else
// changes.
inline std::string TabField(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string field;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\t') {
      field += "\\t";
    } else if (c == '\r') {
      field += "\\r";
    } else if (c == '\n') {
      field += "\\n";
    } else if (c < 0x20 || c == 0x7F) {
      field.append("\\x").append(1, kDigits[c >> 4]).append(1, kDigits[c & 0xF]);
    } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      // U+0080 to U+009F, the C1 controls, in UTF-8.
      const auto next = static_cast<unsigned char>(text[++i]);
      field.append("\\u00").append(1, kDigits[next >> 4]).append(1, kDigits[next & 0xF]);
    } else {
      field += static_cast<char>(c);
    }
  }
  return field;
}

}  // namespace kelvane
