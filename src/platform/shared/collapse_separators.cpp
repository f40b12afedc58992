#include "platform/shared/collapse_separators.h"

namespace kelvane::platform {

std::string CollapseSeparators(std::string_view path) {
  std::string collapsed;
  for (const char c : path) {
    if (c == '\\' && !collapsed.empty() && collapsed.back() == '\\') continue;
    collapsed += c;
  }
  while (!collapsed.empty() && collapsed.back() == '\\') collapsed.pop_back();
  return collapsed;
}

}  // namespace kelvane::platform
