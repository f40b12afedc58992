// kelvane2010.exe: the tool's entry point on Windows.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/error_box.h"
#include "app/kelvane.h"
#include "platform/platform.h"
#include "platform/windows/text.h"
#include "platform/windows/ui/win32_window_system.h"
#include "platform/windows/windows_platform.h"

namespace {

using namespace kelvane;

int RunTool(HINSTANCE instance) {
  auto objects = platform::windows::MakeObjects();
  auto kernel = platform::windows::MakeKernel();
  platform::windows::ui::Win32WindowSystem windows(instance);
  platform::Platform machine{*objects, *kernel, windows};
  app::Kelvane kelvane(machine);
  windows.SetEvents(&kelvane);
  kelvane.Start();
  return windows.RunMessageLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The automation objects are apartment-threaded, on this one thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int status = 0;
  try {
    status = RunTool(instance);
  } catch (const platform::Error& error) {
    // Only the windows themselves failing to come up gets here; every
    // handler shows its own failures.
    MessageBoxW(nullptr, platform::windows::Widen(app::ErrorBoxText(error)).c_str(),
                platform::windows::Widen(app::kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    status = 1;
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}
