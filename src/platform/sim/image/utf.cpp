#include "platform/sim/image/utf.h"

#include "common/utf8.h"

namespace kelvane::platform::sim {

std::optional<std::string> Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return std::nullopt;
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return std::nullopt;
    }
    AppendUtf8(out, unit);
  }
  return out;
}

std::optional<std::u16string> Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0) return std::nullopt;
    char32_t code = extra == 0 ? lead : extra == 1 ? (lead & 0x1Fu) : extra == 2 ? (lead & 0x0Fu) : (lead & 0x07u);
    for (int k = 1; k <= extra; ++k) {
      if (i + static_cast<std::size_t>(k) >= text.size()) return std::nullopt;
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (next & 0x3Fu);
    }
    i += static_cast<std::size_t>(extra) + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::string ToAnsi(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) out += unit < 0x100 ? static_cast<char>(unit) : '?';
  return out;
}

std::string Utf8ToAnsi(const std::string& text) {
  const auto units = Utf8ToUtf16(text);
  return units ? ToAnsi(*units) : std::string(text.size(), '?');
}

}  // namespace kelvane::platform::sim
