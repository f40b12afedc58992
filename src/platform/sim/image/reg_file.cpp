#include "platform/sim/image/reg_file.h"

#include <cctype>
#include <functional>
#include <vector>

#include "platform/sim/image/image_error.h"
#include "platform/sim/image/reg_value.h"
#include "platform/sim/image/utf.h"

namespace kelvane::platform::sim {

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

int CountLines(const std::u16string& text) {
  int lines = 1;
  for (char16_t c : text) lines += c == u'\n' ? 1 : 0;
  return lines;
}

std::string DecodeText(const std::string& bytes, const std::string& fileName, RegEncoding& encoding) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    encoding = RegEncoding::Utf16LittleEndian;
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    if (bytes.size() % 2 != 0) throw ImageError(fileName, CountLines(units), "truncated UTF-16: an odd number of bytes");
    auto text = Utf16ToUtf8(units);
    if (!text) throw ImageError(fileName, CountLines(units), "UTF-16 that is not well formed");
    return *text;
  }
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
    encoding = RegEncoding::Utf8WithBom;
    return bytes.substr(3);
  }
  encoding = RegEncoding::Utf8;
  return bytes;
}

bool IsHexDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool IsValueData(const std::string& data) {
  if (data == "-") return true;
  if (data.size() >= 2 && data.front() == '"' && data.back() == '"') return true;
  if (data.rfind("dword:", 0) == 0) return data.size() == 14 && IsHexDigits(data.substr(6));
  if (data.rfind("hex:", 0) == 0) return true;
  if (data.rfind("hex(", 0) == 0) {
    const auto close = data.find("):");
    return close != std::string::npos && IsHexDigits(data.substr(4, close - 4));
  }
  return false;
}

std::string EncodeText(const std::string& text, RegEncoding encoding) {
  if (encoding == RegEncoding::Utf8) return text;
  if (encoding == RegEncoding::Utf8WithBom) return "\xEF\xBB\xBF" + text;
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : Utf8ToUtf16(text).value_or(u"")) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace

RegFile ParseRegFile(const std::string& bytes, const std::string& fileName) {
  RegFile file;
  const auto lines = SplitLines(DecodeText(bytes, fileName, file.encoding));
  if (lines.empty() || lines[0] != kHeader) {
    throw ImageError(fileName, 1, std::string("expected the header \"") + kHeader + "\"");
  }
  RegistryKey* key = nullptr;
  bool continued = false;
  for (std::size_t index = 1; index < lines.size(); ++index) {
    const int number = static_cast<int>(index) + 1;
    const std::string& line = lines[index];
    if (continued) {
      key->values.back() += "\n" + line;
      continued = !line.empty() && line.back() == '\\';
      continue;
    }
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 3) throw ImageError(fileName, number, "malformed key line: " + line);
      const std::string name = line.substr(1, line.size() - 2);
      if (name[0] == '-') {
        file.tree.Remove(name.substr(1));
        key = nullptr;
        continue;
      }
      key = file.tree.Create(name);
      if (!key) throw ImageError(fileName, number, "unknown root: " + name.substr(0, name.find('\\')));
      continue;
    }
    const std::size_t nameLength = RegValueNameLength(line);
    if (nameLength == 0) throw ImageError(fileName, number, "malformed line: " + line);
    if (!key) throw ImageError(fileName, number, "a value outside a key: " + line);
    std::string data = line.substr(nameLength);
    continued = !data.empty() && data.back() == '\\';
    if (continued) data.pop_back();
    if (!IsValueData(data)) throw ImageError(fileName, number, "malformed value: " + line);
    key->values.push_back(line);
  }
  if (continued) throw ImageError(fileName, static_cast<int>(lines.size()), "a value cut short at the end of the file");
  return file;
}

std::string FormatRegFile(const RegFile& file) {
  std::string text = std::string(kHeader) + "\r\n\r\n";
  const RegistryKey* classes = file.tree.Find(RegistryTree::kClassesKey);
  // Each key under the name the image gave it: first every key named
  // through HKEY_CLASSES_ROOT, then the two roots with the rest.
  // A key above SOFTWARE\Classes that only HKEY_CLASSES_ROOT's keys made
  // is written once it holds values of its own.
  const std::function<void(const RegistryKey&, const std::string&, bool, bool, bool)> write =
      [&](const RegistryKey& key, const std::string& fullName, bool classesPass, bool isRoot, bool inClasses) {
        inClasses = inClasses || &key == classes;
        const bool written = classesPass ? key.spelledUnderClassesRoot
                                         : !key.spelledUnderClassesRoot || (!key.values.empty() && !inClasses);
        if (written && (!isRoot || !key.values.empty())) {
          text += "[" + fullName + "]\r\n";
          for (const auto& value : key.values) {
            std::string lines = value;
            for (std::size_t at = lines.find('\n'); at != std::string::npos; at = lines.find('\n', at + 2)) {
              lines.replace(at, 1, "\r\n");
            }
            text += lines + "\r\n";
          }
          text += "\r\n";
        }
        for (const auto& name : key.SortedSubkeyNames()) {
          write(*key.Subkey(name), fullName + "\\" + name, classesPass, false, inClasses);
        }
      };
  if (classes) write(*classes, RegistryTree::kClassesRoot, true, true, true);
  for (const auto& root : file.tree.roots()) write(*root, root->name, false, true, false);
  return EncodeText(text, file.encoding);
}

}  // namespace kelvane::platform::sim
