#include "common/office_product_code.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "common/ascii_case.h"
#include "common/text.h"

namespace kelvane {

namespace {

constexpr std::size_t kBracedLength = 38;
constexpr std::size_t kPackedLength = 32;
constexpr std::string_view kCacheSuffix = "-C";
constexpr std::string_view kOffice2010Major = "14";

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// The braced form of a packed code: the first three groups read backwards,
// the two digits of every later byte swapped back.
std::optional<std::string> Unpacked(std::string_view packed) {
  if (packed.size() != kPackedLength || !std::all_of(packed.begin(), packed.end(), IsHexDigit)) return std::nullopt;
  struct Group {
    std::size_t from, count;
    bool reversed;
  };
  constexpr Group kGroups[] = {{0, 8, true}, {8, 4, true}, {12, 4, true}, {16, 4, false}, {20, 12, false}};
  std::string braced = "{";
  for (const Group& group : kGroups) {
    std::string digits(packed.substr(group.from, group.count));
    if (group.reversed) {
      std::reverse(digits.begin(), digits.end());
    } else {
      for (std::size_t i = 0; i + 1 < digits.size(); i += 2) std::swap(digits[i], digits[i + 1]);
    }
    braced += digits;
    braced += group.from + group.count == kPackedLength ? '}' : '-';
  }
  return braced;
}

// The major version of a braced code with Office's signature.
std::optional<std::string> OfficeMajorVersion(std::string_view braced) {
  const std::string code = UpperAscii(braced);
  if (code.size() != kBracedLength || code.front() != '{' || code.back() != '}') return std::nullopt;
  for (std::size_t i = 1; i + 1 < code.size(); ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? code[i] != '-' : !IsHexDigit(code[i])) return std::nullopt;
  }
  if (code[1] != '9' || !EndsWith(code, "-0000000FF1CE}")) return std::nullopt;
  return code.substr(3, 2);
}

// The braced Office code the name is or ends with, upper case, in any of
// the forms BelongsToAnotherOffice reads; nothing when there is none.
std::optional<std::string> OfficeCode(std::string_view name) {
  if (EndsWith(name, kCacheSuffix)) name.remove_suffix(kCacheSuffix.size());
  std::optional<std::string> braced;
  if (name.size() >= kBracedLength && name.back() == '}') {
    braced = UpperAscii(name.substr(name.size() - kBracedLength));
  } else if (const auto unpacked = Unpacked(name)) {
    braced = UpperAscii(*unpacked);
  }
  if (!braced || !OfficeMajorVersion(*braced)) return std::nullopt;
  return braced;
}

// The product IDs of the Office 14 products other software installs and
// needs, from Microsoft's numbering of Office 2010 product codes: the
// redistributables, and the servers (SharePoint and its kin), whose own
// setups and other programs depend on them.
constexpr std::string_view kKeptProductIds[] = {
    "00D1",  // Access Database Engine 2010 redistributable
    "2000",  // Filter Pack 2.0
    "104B",  // SharePoint Foundation 2010 (its language-neutral core)
    "104E",  // SharePoint Server 2010 language-neutral core
    "110D",  // SharePoint Server 2010
    "110F",  // Project Server 2010
    "1110",  // SharePoint Foundation 2010
    "1121",  // Office Web Apps
    "1122",  // SharePoint Foundation 2010 language pack
    "112D",  // Search Server 2010
};

std::string Packed(std::string_view braced) {
  // The same swaps undo themselves: packing is unpacking read backwards.
  std::string digits;
  for (char c : braced) {
    if (IsHexDigit(c)) digits += UpperAscii(c);
  }
  if (digits.size() != kPackedLength) return {};
  std::string packed = digits;
  std::reverse(packed.begin(), packed.begin() + 8);
  std::reverse(packed.begin() + 8, packed.begin() + 12);
  std::reverse(packed.begin() + 12, packed.begin() + 16);
  for (std::size_t i = 16; i + 1 < kPackedLength; i += 2) std::swap(packed[i], packed[i + 1]);
  return packed;
}

}  // namespace

std::string PackedProductCode(std::string_view braced) {
  if (braced.size() != kBracedLength || braced.front() != '{' || braced.back() != '}') return {};
  return Packed(braced);
}

std::string BracedProductCode(std::string_view packed) { return UpperAscii(Unpacked(packed).value_or("")); }

bool IsOffice14Code(std::string_view name) {
  const auto code = OfficeCode(name);
  return code && *OfficeMajorVersion(*code) == kOffice2010Major;
}

bool BelongsToOffice2010(std::string_view name) {
  return IsOffice14Code(name) && !BelongsToKeptOffice14Product(name);
}

bool IsPackedOffice2010Code(std::string_view name) {
  return !PackedProductCode(BracedProductCode(name)).empty() && BelongsToOffice2010(name);
}

bool BelongsToAnotherOffice(std::string_view name) {
  const auto code = OfficeCode(name);
  return code && *OfficeMajorVersion(*code) != kOffice2010Major;
}

bool BelongsToKeptOffice14Product(std::string_view name) {
  const auto code = OfficeCode(name);
  if (!code || *OfficeMajorVersion(*code) != kOffice2010Major) return false;
  const std::string_view id = std::string_view(*code).substr(10, 4);
  return std::find(std::begin(kKeptProductIds), std::end(kKeptProductIds), id) != std::end(kKeptProductIds);
}

}  // namespace kelvane
