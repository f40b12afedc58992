#include "platform/sim/image/ini_file.h"

#include <fstream>
#include <sstream>

#include "platform/sim/image/image_error.h"

namespace kelvane::platform::sim {

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

IniFile ParseIni(const std::string& text, const std::string& fileName) {
  IniFile ini;
  std::string section;
  std::istringstream lines(text);
  std::string raw;
  int number = 0;
  while (std::getline(lines, raw)) {
    ++number;
    if (number == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
    const std::string line = Trimmed(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 3) throw ImageError(fileName, number, "malformed section header: " + line);
      section = Trimmed(line.substr(1, line.size() - 2));
      ini.sections.push_back(section);
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos || equals == 0) {
      throw ImageError(fileName, number, "expected NAME=VALUE: " + line);
    }
    ini.entries.push_back({section, Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)), number});
  }
  return ini;
}

IniFile ReadIniFile(const std::string& path, const std::string& fileName, bool optional) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (optional) return {};
    throw ImageError(fileName, 0, "cannot be read");
  }
  std::ostringstream text;
  text << in.rdbuf();
  return ParseIni(text.str(), fileName);
}

}  // namespace kelvane::platform::sim
