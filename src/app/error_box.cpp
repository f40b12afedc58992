#include "app/error_box.h"

namespace kelvane::app {

std::string ErrorBoxText(const platform::Error& error) {
  return "Run-time error '" + platform::ErrorNumberText(error) + "':\n\n" + error.description();
}

}  // namespace kelvane::app
