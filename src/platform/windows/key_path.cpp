#include "platform/windows/key_path.h"

namespace kelvane::platform::windows {

std::string NormalizeKeyPath(const std::string& keyPath) {
  std::string normalized;
  for (const char c : keyPath) {
    if (c == '\\' && !normalized.empty() && normalized.back() == '\\') continue;
    normalized += c;
  }
  while (!normalized.empty() && normalized.back() == '\\') normalized.pop_back();
  return normalized;
}

}  // namespace kelvane::platform::windows
