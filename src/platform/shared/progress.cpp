#include "platform/shared/progress.h"

#include "platform/shared/failure_naming.h"
#include "platform/shared/journal.h"

namespace kelvane::platform {

void ShowProgress(WindowSystem& windows, const std::string& text) {
  Note("progress", text);
  NamingFailures(Operation::SetProgressCaption, text, [&] { windows.SetProgressCaption(text); });
  NamingFailures(Operation::RepaintProgress, text, [&] { windows.RepaintProgress(); });
}

}  // namespace kelvane::platform
