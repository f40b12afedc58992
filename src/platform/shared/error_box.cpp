#include "platform/shared/error_box.h"

#include <cstdint>
#include <cstdio>

namespace kelvane::platform {

std::string ErrorNumberText(const Error& error) {
  const auto number = static_cast<std::uint32_t>(error.number());
  char shown[32];
  if (number <= 0xFFFF) {
    std::snprintf(shown, sizeof shown, "%u", static_cast<unsigned>(number));
  } else {
    std::snprintf(shown, sizeof shown, "0x%08X", static_cast<unsigned>(number));
  }
  return shown;
}

std::string ErrorBoxText(const Error& error) {
  return "Run-time error '" + ErrorNumberText(error) + "':\n\n" + error.description();
}

}  // namespace kelvane::platform
