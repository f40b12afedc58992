#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/image/registry_tree.h"

namespace kelvane::platform::sim {

// A value's data as StdRegProv reads it: text (REG_SZ, or REG_EXPAND_SZ left
// unexpanded), several texts (REG_MULTI_SZ), or anything else, which the
// string reads refuse.
struct RegValue {
  enum class Type { String, ExpandString, MultiString, Other } type = Type::Other;
  std::vector<std::string> strings;
};

// The length of a value line's name part ("name"= or @=), '=' included; 0
// when the line does not begin with one.
std::size_t RegValueNameLength(const std::string& line);

// The value's name as regedit exported it ("" for @), unescaped.
std::optional<std::string> RegValueName(const std::string& verbatim);

// The data of a value's text lines as regedit exports them: "text", hex(2):
// and hex(7): (UTF-16LE, each string NUL-terminated), dword:, hex:, with
// continuation lines ending in a backslash. Nothing for "name"=-, which
// deletes the value rather than holding one.
std::optional<RegValue> ParseRegValue(const std::string& verbatim);

// Value lines as regedit writes them: hex data in lines of at most 80
// characters, each continued by a backslash, continuations indented by two.
std::string FormatStringValue(const std::string& name, const std::string& text);
std::string FormatExpandStringValue(const std::string& name, const std::string& text);
std::string FormatMultiStringValue(const std::string& name, const std::vector<std::string>& strings);
std::string FormatDwordValue(const std::string& name, std::uint32_t value);

// A key's values by name, without regard to case, as Windows finds them;
// where an image names one twice, the later line is the value.
std::vector<std::string> ValueNames(const RegistryKey& key);
const std::string* FindValue(const RegistryKey& key, const std::string& name);
// Writes the line where the value stood, or after the others.
void SetValue(RegistryKey& key, const std::string& name, std::string verbatim);
// False when the key had no such value.
bool EraseValue(RegistryKey& key, const std::string& name);

}  // namespace kelvane::platform::sim
