#pragma once

#include <string>
#include <vector>

namespace kelvane::platform::sim {

// One NAME=VALUE line of an INI file, with where it stood.
struct IniEntry {
  std::string section;
  std::string key;
  std::string value;
  int line;
};

struct IniFile {
  std::vector<std::string> sections;  // in file order, each once
  std::vector<IniEntry> entries;      // in file order; keys may repeat
};

// Reads INI text: "[section]" lines, "key=value" lines, blank lines and
// comments starting with ';' or '#'. Keys and values are trimmed; a value
// keeps everything after the first '=', ';' included, since paths and
// environment values may hold one. Throws ImageError naming the file and
// the line of anything else.
IniFile ParseIni(const std::string& text, const std::string& fileName);

// Reads the file; an absent file reads as empty when `optional` is set.
IniFile ReadIniFile(const std::string& path, const std::string& fileName, bool optional);

}  // namespace kelvane::platform::sim
