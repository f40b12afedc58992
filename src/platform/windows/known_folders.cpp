#include "platform/windows/known_folders.h"

#include "platform/windows/handles.h"
#include "platform/windows/system_library.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

std::wstring KnownFolder(const KNOWNFOLDERID& folder) {
  // From shell32 on first use, as ShellExecuteExW: most runs never ask.
  static const auto getPath = SystemFunction<decltype(SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
  UniqueTaskText path;
  Check(getPath(folder, KF_FLAG_DONT_VERIFY, nullptr, path.put()));
  return path.get();
}

}  // namespace kelvane::platform::windows
