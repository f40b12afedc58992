#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/text.h"

// The forms in which the Windows Installer writes product, component and
// patch codes into the registry: packed (the key names under Installer\...),
// and compressed (20 characters of base 85, inside the darwin descriptors of
// published components). One codec, for the machines that keep these records
// and for the images and tests that build them.
namespace kelvane::platform::installer_guid {

namespace detail {

// Where the first three groups of a braced code lie in it, and how long
// each is; and where the later bytes' digit pairs begin.
inline constexpr std::pair<std::size_t, std::size_t> kGroups[] = {{1, 8}, {10, 4}, {15, 4}};
inline constexpr std::size_t kBytePairs[] = {20, 22, 25, 27, 29, 31, 33, 35};

inline constexpr std::string_view kBase85 =
    "!$%&'()*+,-.0123456789=?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_`abcdefghijklmnopqrstuvwxyz{}~";
static_assert(kBase85.size() == 85);

inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in either case.
inline bool IsBraced(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != '-' : HexDigit(text[i]) < 0) return false;
  }
  return true;
}

// The code's 16 bytes as they lie in memory (the first three groups little-endian).
inline std::optional<std::array<std::uint8_t, 16>> Bytes(std::string_view braced) {
  if (!IsBraced(braced)) return std::nullopt;
  std::string digits;
  for (char c : braced.substr(1, 36)) {
    if (c != '-') digits += c;
  }
  const auto byte = [&](std::size_t at) {
    return static_cast<std::uint8_t>(HexDigit(digits[2 * at]) * 16 + HexDigit(digits[2 * at + 1]));
  };
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = byte(3 - i);
  for (std::size_t i = 0; i < 2; ++i) bytes[4 + i] = byte(5 - i);
  for (std::size_t i = 0; i < 2; ++i) bytes[6 + i] = byte(7 - i);
  for (std::size_t i = 8; i < 16; ++i) bytes[i] = byte(i);
  return bytes;
}

inline std::string Braced(const std::array<std::uint8_t, 16>& b) {
  std::string text = "{";
  constexpr std::size_t kOrder[] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (std::size_t i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += Digits(b[kOrder[i]], 16, 2);
  }
  return text + "}";
}

}  // namespace detail

// The packed form: the digits of the first three groups reversed, the two
// digits of every later byte swapped, the letters' case kept.
// {90140000-0011-0000-0000-0000000FF1CE} -> 00004109110000000000000000F01FEC.
inline std::optional<std::string> Packed(std::string_view braced) {
  if (!detail::IsBraced(braced)) return std::nullopt;
  std::string packed;
  for (const auto& [at, length] : detail::kGroups) {
    for (std::size_t i = length; i-- > 0;) packed += braced[at + i];
  }
  for (std::size_t at : detail::kBytePairs) {
    packed += braced[at + 1];
    packed += braced[at];
  }
  return packed;
}

// The braced code of a packed one (32 hex digits).
inline std::optional<std::string> Unpacked(std::string_view packed) {
  if (packed.size() != 32) return std::nullopt;
  for (char c : packed) {
    if (detail::HexDigit(c) < 0) return std::nullopt;
  }
  std::string braced = "{";
  std::size_t at = 0;
  for (const auto& group : detail::kGroups) {
    for (std::size_t i = group.second; i-- > 0;) braced += packed[at + i];
    at += group.second;
    braced += '-';
  }
  for (; at < 32; at += 2) {
    if (at == 20) braced += '-';
    braced += packed[at + 1];
    braced += packed[at];
  }
  return braced + "}";
}

// The compressed form: the code's four 32-bit words in memory order, each
// as five base-85 digits, the least significant first.
inline std::optional<std::string> Compressed(std::string_view braced) {
  const auto bytes = detail::Bytes(braced);
  if (!bytes) return std::nullopt;
  std::string text;
  for (std::size_t word = 0; word < 4; ++word) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>((*bytes)[4 * word + i]) << (8 * i);
    for (int digit = 0; digit < 5; ++digit, value /= 85) text += detail::kBase85[value % 85];
  }
  return text;
}

// The braced code (upper case) of the first 20 characters; nothing when they
// are not base 85 or a word overflows.
inline std::optional<std::string> Expanded(std::string_view compressed) {
  if (compressed.size() < 20) return std::nullopt;
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t word = 0; word < 4; ++word) {
    std::uint64_t value = 0;
    std::uint64_t base = 1;
    for (std::size_t digit = 0; digit < 5; ++digit, base *= 85) {
      const auto at = detail::kBase85.find(compressed[5 * word + digit]);
      if (at == std::string_view::npos) return std::nullopt;
      value += at * base;
    }
    if (value > 0xFFFFFFFFu) return std::nullopt;
    for (std::size_t i = 0; i < 4; ++i) bytes[4 * word + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  return detail::Braced(bytes);
}

// A darwin descriptor, as a published component's value lists them: the
// product's compressed code, the feature's name, then '>' and the
// component's compressed code, or '<' alone; arguments may follow.
inline std::optional<std::string> Descriptor(std::string_view product, std::string_view feature,
                                             std::string_view component) {
  const auto p = Compressed(product);
  const auto c = Compressed(component);
  if (!p || !c) return std::nullopt;
  return *p + std::string(feature) + ">" + *c;
}

// The braced product code a descriptor belongs to, read as
// MsiDecomposeDescriptor reads it; nothing for one it would refuse.
inline std::optional<std::string> DescriptorProduct(std::string_view descriptor) {
  constexpr std::size_t kMaxFeatureChars = 38;
  const auto product = Expanded(descriptor);
  if (!product) return std::nullopt;
  const std::string_view rest = descriptor.substr(20);
  auto end = rest.find('>');
  if (end == std::string_view::npos) end = rest.find('<');
  if (end == std::string_view::npos || end > kMaxFeatureChars) return std::nullopt;
  if (rest[end] == '>' && !Expanded(rest.substr(end + 1))) return std::nullopt;
  return product;
}

}  // namespace kelvane::platform::installer_guid
