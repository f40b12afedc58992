#include "platform/shared/environment_references.h"

namespace kelvane::platform {

std::string ExpandReferences(std::string_view text, const ReferenceValue& value, UnknownReference unknown) {
  std::string expanded;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto open = text.find('%', at);
    const auto close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) {
      expanded += text.substr(at);
      break;
    }
    expanded += text.substr(at, open - at);
    const std::string_view name = text.substr(open + 1, close - open - 1);
    const std::optional<std::string> found = name.empty() ? std::nullopt : value(name);
    if (found) {
      expanded += *found;
      at = close + 1;
    } else if (unknown == UnknownReference::Dropped) {
      at = close + 1;
    } else {
      expanded += text.substr(open, close - open);
      at = close;
    }
  }
  return expanded;
}

}  // namespace kelvane::platform
