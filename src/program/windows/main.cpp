// kelvane2010.exe: the tool's entry point on Windows.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <optional>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "platform/interface/error.h"
#include "platform/shared/error_box.h"
#include "platform/windows/process_facts.h"
#include "platform/windows/running_image.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"
#include "platform/windows/ui/windows_window_system.h"
#include "program/windows/driver_thread.h"
#include "program/windows/window_thread_calls.h"

// An exception nothing catches ends the tool at once. libstdc++'s own
// handler would first print the exception's type, demangled, to a console
// this GUI program does not have, and carries the whole demangler (45 KB of
// the executable) for it.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

using namespace kelvane::program;
using kelvane::platform::windows::ui::WindowsWindowSystem;

// This thread owns the windows and reads their messages until the tool ends;
// the removal driver runs on a thread of its own, and starts (its COM
// apartment, the load step) while the main window is being created here.
int RunTool(HINSTANCE instance) {
  WindowThreadCalls calls;
  // Outlives the driver: a window call it made just before the end is still
  // taken while it finishes.
  std::optional<WindowsWindowSystem> windows;
  int status = 0;
  {
    DriverThread driver(calls);
    try {
      windows.emplace(instance);
    } catch (...) {
      calls.Close();  // the driver's window calls find nothing to wait for
      throw;
    }
    calls.Attach(*windows);
    windows->SetEvents(&driver);
    status = windows->RunMessageLoop();
    windows->SetEvents(nullptr);
    calls.Close();
  }
  return status;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kelvane::platform::windows::RestrictDllSearchToSystemFolder();
  // The pictures are decoded through COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int status = 0;
  try {
    // Before anything changes: the file that runs is held, so that the copy
    // the restart starts is made from it. Another file under the started
    // name ends the tool here, having changed nothing.
    try {
      kelvane::platform::windows::PinRunningImage();
    } catch (const kelvane::platform::Error& error) {
      if (kelvane::app::ParseCommandLine(kelvane::platform::windows::ProcessArguments()).silent) {
        return kelvane::app::kExitFailed;
      }
      throw;
    }
    status = RunTool(instance);
  } catch (const kelvane::platform::Error& error) {
    // Only the windows themselves failing to come up gets here; every
    // handler shows its own failures.
    MessageBoxW(nullptr, kelvane::platform::windows::Widen(kelvane::platform::ErrorBoxText(error)).c_str(),
                kelvane::platform::windows::Widen(kelvane::platform::kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    status = 1;
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}
