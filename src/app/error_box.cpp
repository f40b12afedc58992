#include "app/error_box.h"

#include <cstdint>
#include <cstdio>

namespace kelvane::app {

std::string ErrorBoxText(const platform::Error& error) {
  // Small numbers are automation errors and read in decimal; HRESULTs read
  // best in hexadecimal, as Windows documents them.
  const auto number = static_cast<std::uint32_t>(error.number());
  char shown[32];
  if (number <= 0xFFFF) {
    std::snprintf(shown, sizeof shown, "%u", static_cast<unsigned>(number));
  } else {
    std::snprintf(shown, sizeof shown, "0x%08X", static_cast<unsigned>(number));
  }
  return std::string("Run-time error '") + shown + "':\n\n" + error.description();
}

}  // namespace kelvane::app
