#include "platform/sim/image/reg_value.h"

#include <algorithm>
#include <cstdio>

#include "platform/sim/image/text_case.h"
#include "platform/sim/image/utf.h"

namespace kelvane::platform::sim {

namespace {

// regedit breaks hex data once a line reaches this many characters, before
// the backslash that continues it.
constexpr std::size_t kHexLineLength = 77;

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Unquoted(const std::string& quoted) {
  std::string out;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 2 < quoted.size() && (quoted[i + 1] == '\\' || quoted[i + 1] == '"')) ++i;
    out += quoted[i];
  }
  return out;
}

std::string NamePart(const std::string& name) { return (name.empty() ? std::string("@") : Quoted(name)) + "="; }

// The data after the name, its continuation lines joined.
std::string JoinedData(const std::string& verbatim, std::size_t nameLength) {
  std::string data;
  std::size_t start = nameLength;
  for (bool first = true;; first = false) {
    const std::size_t end = verbatim.find('\n', start);
    std::string line = verbatim.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!first) line.erase(0, line.find_first_not_of(" \t"));
    if (end == std::string::npos) return data + line;
    if (!line.empty() && line.back() == '\\') line.pop_back();
    data += line;
    start = end + 1;
  }
}

std::optional<std::string> HexBytes(const std::string& list) {
  std::string bytes;
  std::size_t at = 0;
  while (at < list.size()) {
    const std::size_t comma = std::min(list.find(',', at), list.size());
    std::string digits = list.substr(at, comma - at);
    digits.erase(std::remove_if(digits.begin(), digits.end(), [](char c) { return c == ' ' || c == '\t'; }),
                 digits.end());
    if (digits.empty() || digits.size() > 2) return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
      const int digit = (c >= '0' && c <= '9')   ? c - '0'
                        : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                        : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    bytes += static_cast<char>(value);
    at = comma + 1;
  }
  return bytes;
}

// UTF-16LE strings, each ended by a NUL; the list ends at an empty one.
std::optional<std::vector<std::string>> Utf16Strings(const std::string& bytes, bool several) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::vector<std::string> strings;
  std::u16string current;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (unit != u'\0') {
      current += unit;
      continue;
    }
    if (current.empty() && several) break;
    auto text = Utf16ToUtf8(current);
    if (!text) return std::nullopt;
    strings.push_back(std::move(*text));
    current.clear();
    if (!several) break;
  }
  if (!current.empty()) {
    auto text = Utf16ToUtf8(current);
    if (!text) return std::nullopt;
    strings.push_back(std::move(*text));
  }
  if (!several && strings.empty()) strings.emplace_back();
  return strings;
}

std::string HexValue(const std::string& name, const std::string& type, const std::string& bytes) {
  std::string text = NamePart(name) + type;
  std::size_t lineLength = text.size();
  char digits[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(bytes[i]));
    text += digits;
    if (i + 1 == bytes.size()) break;
    text += ',';
    lineLength += 3;
    if (lineLength >= kHexLineLength) {
      text += "\\\n  ";
      lineLength = 2;
    }
  }
  return text;
}

std::string Utf16Bytes(const std::string& text) {
  std::string bytes;
  for (char16_t unit : Utf8ToUtf16(text).value_or(u"")) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes + std::string(2, '\0');
}

}  // namespace

std::size_t RegValueNameLength(const std::string& line) {
  if (line.rfind("@=", 0) == 0) return 2;
  if (line.empty() || line[0] != '"') return 0;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '\\') {
      ++i;
    } else if (line[i] == '"') {
      return i + 1 < line.size() && line[i + 1] == '=' ? i + 2 : 0;
    }
  }
  return 0;
}

std::optional<std::string> RegValueName(const std::string& verbatim) {
  const std::size_t length = RegValueNameLength(verbatim);
  if (length == 0) return std::nullopt;
  if (length == 2 && verbatim[0] == '@') return std::string();
  return Unquoted(verbatim.substr(0, length - 1));
}

std::optional<RegValue> ParseRegValue(const std::string& verbatim) {
  const std::size_t nameLength = RegValueNameLength(verbatim);
  if (nameLength == 0) return std::nullopt;
  const std::string data = JoinedData(verbatim, nameLength);
  if (data == "-") return std::nullopt;
  if (data.size() >= 2 && data.front() == '"' && data.back() == '"') {
    return RegValue{RegValue::Type::String, {Unquoted(data)}};
  }
  const auto typed = [&](const char* prefix, RegValue::Type type, bool several) -> std::optional<RegValue> {
    const std::string tag = prefix;
    if (data.compare(0, tag.size(), tag) != 0) return std::nullopt;
    const auto bytes = HexBytes(data.substr(tag.size()));
    auto strings = bytes ? Utf16Strings(*bytes, several) : std::nullopt;
    if (!strings) return RegValue{};
    return RegValue{type, std::move(*strings)};
  };
  if (auto value = typed("hex(1):", RegValue::Type::String, false)) return value;
  if (auto value = typed("hex(2):", RegValue::Type::ExpandString, false)) return value;
  if (auto value = typed("hex(7):", RegValue::Type::MultiString, true)) return value;
  return RegValue{};
}

std::string FormatStringValue(const std::string& name, const std::string& text) { return NamePart(name) + Quoted(text); }

std::string FormatExpandStringValue(const std::string& name, const std::string& text) {
  return HexValue(name, "hex(2):", Utf16Bytes(text));
}

std::string FormatMultiStringValue(const std::string& name, const std::vector<std::string>& strings) {
  std::string bytes;
  for (const auto& text : strings) bytes += Utf16Bytes(text);
  return HexValue(name, "hex(7):", bytes + std::string(2, '\0'));
}

std::string FormatDwordValue(const std::string& name, std::uint32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08x", value);
  return NamePart(name) + "dword:" + digits;
}

std::vector<std::string> ValueNames(const RegistryKey& key) {
  std::vector<std::string> names;
  for (const auto& line : key.values) {
    const auto name = RegValueName(line);
    const auto seenBefore = [&](const auto& seen) { return SameIgnoringAsciiCase(seen, *name); };
    if (!name || std::any_of(names.begin(), names.end(), seenBefore)) continue;
    if (FindValue(key, *name)) names.push_back(*name);
  }
  return names;
}

const std::string* FindValue(const RegistryKey& key, const std::string& name) {
  for (auto line = key.values.rbegin(); line != key.values.rend(); ++line) {
    const auto lineName = RegValueName(*line);
    if (lineName && SameIgnoringAsciiCase(*lineName, name)) return ParseRegValue(*line) ? &*line : nullptr;
  }
  return nullptr;
}

void SetValue(RegistryKey& key, const std::string& name, std::string verbatim) {
  const auto named = [&](const std::string& line) {
    const auto lineName = RegValueName(line);
    return lineName && SameIgnoringAsciiCase(*lineName, name);
  };
  std::size_t at = key.values.size();
  for (std::size_t i = key.values.size(); i-- > 0;) {
    if (named(key.values[i])) {
      at = i;
      break;
    }
  }
  if (at == key.values.size()) {
    key.values.push_back(std::move(verbatim));
    return;
  }
  key.values[at] = std::move(verbatim);
  // Earlier lines of the same name were never the value: they go.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < key.values.size(); ++i) {
    if (i < at && named(key.values[i])) continue;
    if (kept != i) key.values[kept] = std::move(key.values[i]);
    ++kept;
  }
  key.values.resize(kept);
}

bool EraseValue(RegistryKey& key, const std::string& name) {
  const bool present = FindValue(key, name) != nullptr;
  std::erase_if(key.values, [&](const std::string& line) {
    const auto lineName = RegValueName(line);
    return lineName && SameIgnoringAsciiCase(*lineName, name);
  });
  return present;
}

}  // namespace kelvane::platform::sim
