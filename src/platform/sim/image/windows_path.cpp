#include "platform/sim/image/windows_path.h"

namespace kelvane::platform::sim {

std::string WindowsPath::Text() const {
  std::string text = "C:";
  for (const auto& name : names) text += "\\" + name;
  return names.empty() ? text + "\\" : text;
}

WindowsPath WindowsPath::Child(const std::string& name) const {
  WindowsPath child = *this;
  child.names.push_back(name);
  return child;
}

std::optional<WindowsPath> ParseWindowsPath(const std::string& text) {
  if (text.size() < 2 || (text[0] != 'C' && text[0] != 'c') || text[1] != ':') return std::nullopt;
  if (text.size() > 2 && text[2] != '\\' && text[2] != '/') return std::nullopt;
  WindowsPath path;
  std::string name;
  for (std::size_t i = 2; i <= text.size(); ++i) {
    const bool separator = i == text.size() || text[i] == '\\' || text[i] == '/';
    if (!separator) {
      name += text[i];
      continue;
    }
    if (name == "." || name == "..") return std::nullopt;
    if (!name.empty()) path.names.push_back(name);
    name.clear();
  }
  return path;
}

}  // namespace kelvane::platform::sim
