#include "platform/shared/progress.h"

#include "platform/shared/journal.h"

namespace kelvane::platform {

void ShowProgress(WindowSystem& windows, const std::string& text) {
  Note("progress", text);
  windows.SetProgressCaption(text);
  windows.RepaintProgress();
}

}  // namespace kelvane::platform
