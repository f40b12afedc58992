#include "platform/windows/process_facts.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "platform/windows/command_line.h"
#include "platform/windows/handles.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

std::vector<std::string> ProcessArguments() {
  // shell32 is loaded on first use, from the system folder only.
  static const auto split = SystemFunction<decltype(CommandLineToArgvW)>(L"shell32.dll", "CommandLineToArgvW");
  int count = 0;
  UniqueLocal words(split(GetCommandLineW(), &count));
  if (!words) throw LastWin32Error();
  const auto* argv = static_cast<wchar_t**>(words.get());
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(argv[i]));
  return arguments;
}

std::wstring ProcessParameters() { return SplitCommandLine(GetCommandLineW()).parameters; }

bool WaitForInstallerMutex(unsigned timeoutMilliseconds) {
  const UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, L"Global\\_MSIExecute"));
  if (!mutex) return true;
  switch (WaitForSingleObject(mutex.get(), timeoutMilliseconds)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
      // Held for a moment only: the uninstallations take it again as they
      // need it.
      ReleaseMutex(mutex.get());
      return true;
    default:
      return false;
  }
}

std::string UtcTimeText() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond, now.wMilliseconds);
  return text;
}

}  // namespace kelvane::platform::windows
