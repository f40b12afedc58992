#include "platform/shared/error_box.h"

#include <cstdint>

#include "common/text.h"

namespace kelvane::platform {

std::string ErrorNumberText(const Error& error) {
  const auto number = static_cast<std::uint32_t>(error.number());
  return number <= 0xFFFF ? Digits(number) : std::string("0x").append(Digits(number, 16, 8));
}

std::string ErrorBoxText(const Error& error) {
  return "Run-time error '" + ErrorNumberText(error) + "':\n\n" + error.description();
}

std::string RemainingItemsText(const std::vector<std::string>& items) {
  constexpr std::size_t kShown = 12;
  std::string text = "These items could not be removed:\n";
  for (std::size_t i = 0; i < items.size() && i < kShown; ++i) text.append("\n").append(items[i]);
  if (items.size() > kShown) text.append("\n... and ").append(std::to_string(items.size() - kShown)).append(" more");
  return text.append("\n\nkelvane2010.exe /check /log FILE lists every one.");
}

}  // namespace kelvane::platform
