#include "platform/windows/ui/failure_barrier.h"

#include "platform/shared/error_box.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows::ui {

void ShowFailureAndEnd(platform::WindowSystem& windows, std::exception_ptr failure) noexcept {
  try {
    windows.ShowErrorBox(platform::kApplicationTitle, platform::ErrorBoxText(ErrorFromException(failure)));
  } catch (...) {
    // The tool ends all the same.
  }
  try {
    windows.EndTool();
  } catch (...) {
  }
}

}  // namespace kelvane::platform::windows::ui
