// Shows one of the tool's windows until it is closed, for screenshots:
//   show_window Kelvane|Loading|Complete
// Prints the window's screen rectangle (left top width height) and its client
// size once it is painted. Loading shows a long cache folder's text, as the
// clean-up does. The windows react to nothing but the close request.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>

#include "platform/windows/ui/windows_window_system.h"

namespace {

using kelvane::platform::Control;
using kelvane::platform::Window;
using kelvane::platform::windows::ui::WindowsWindowSystem;

class CloseEnds final : public kelvane::platform::WindowEvents {
 public:
  explicit CloseEnds(WindowsWindowSystem& windows) : windows_(windows) {}
  void Clicked(Control) override {}
  void CloseRequested(Window) override { windows_.EndTool(); }

 private:
  WindowsWindowSystem& windows_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Window window = Window::Kelvane;
  if (std::strcmp(argv[1], "Loading") == 0) window = Window::Loading;
  if (std::strcmp(argv[1], "Complete") == 0) window = Window::Complete;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WindowsWindowSystem windows(GetModuleHandleW(nullptr));
  CloseEnds events(windows);
  windows.SetEvents(&events);
  windows.Show(window);
  if (window == Window::Loading) {
    windows.SetProgressCaption("Removing: C:\\MSOCache\\All Users\\{90140000-0011-0000-0000-0000000FF1CE}-C");
    windows.RepaintProgress();
  }
  RECT rect{}, client{};
  GetWindowRect(windows.HandleOf(window), &rect);
  GetClientRect(windows.HandleOf(window), &client);
  std::printf("%ld %ld %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
              client.right, client.bottom);
  std::fflush(stdout);
  return windows.RunMessageLoop();
}
