#include "platform/windows/text.h"

#include <cstdint>

#include "common/utf8.h"

namespace kelvane::platform::windows {

// Not MultiByteToWideChar and WideCharToMultiByte: they turn a lone
// surrogate into U+FFFD, and a name holding one (legal in file and key
// names) would come back as a name that does not exist. Here a lone
// surrogate is written as its own three bytes and read back (WTF-8); every
// well-formed text is plain UTF-8.

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHigh(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point of the sequence at `at` (a lone surrogate included), moving
// past it; U+FFFD for one ill-formed byte.
char32_t Decode(const std::string& utf8, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(utf8[at++]);
  if (lead < 0x80) return lead;
  int trailing = 0;
  char32_t point = 0, least = 0;
  if ((lead & 0xE0) == 0xC0) {
    trailing = 1, point = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    trailing = 2, point = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    trailing = 3, point = lead & 0x07, least = 0x10000;
  } else {
    return kReplacement;
  }
  const std::size_t start = at;
  for (int i = 0; i < trailing; ++i) {
    if (at >= utf8.size() || (static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80) {
      at = start;
      return kReplacement;
    }
    point = (point << 6) | (static_cast<unsigned char>(utf8[at++]) & 0x3F);
  }
  if (point < least || point > 0x10FFFF) {  // overlong, or beyond Unicode
    at = start;
    return kReplacement;
  }
  return point;
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
  std::wstring utf16;
  utf16.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t point = Decode(utf8, at);
    if (point >= 0x10000) {
      utf16 += static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10));
      utf16 += static_cast<wchar_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      utf16 += static_cast<wchar_t>(point);
    }
  }
  return utf16;
}

std::string Narrow(const std::wstring& utf16) {
  std::string utf8;
  utf8.reserve(utf16.size());
  for (std::size_t at = 0; at < utf16.size(); ++at) {
    const auto unit = static_cast<char32_t>(static_cast<std::uint16_t>(utf16[at]));
    if (IsHigh(unit) && at + 1 < utf16.size() && IsLow(static_cast<std::uint16_t>(utf16[at + 1]))) {
      const auto low = static_cast<char32_t>(static_cast<std::uint16_t>(utf16[++at]));
      AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else {
      AppendUtf8(utf8, unit);  // a lone surrogate too
    }
  }
  return utf8;
}

}  // namespace kelvane::platform::windows
