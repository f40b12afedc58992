#include "platform/window_system.h"

#include "platform/journal.h"

namespace kelvane::platform {

std::string_view WindowName(Window window) {
  switch (window) {
    case Window::Kelvane: return "Kelvane";
    case Window::Loading: return "Loading";
    case Window::Complete: return "Complete";
  }
  return "?";
}

std::string_view ControlName(Control control) {
  switch (control) {
    case Control::btnGo: return "btnGo";
    case Control::Label2: return "Label2";
    case Control::Finish: return "Finish";
    case Control::Picture1: return "Picture1";
  }
  return "?";
}

void ShowProgress(WindowSystem& windows, const std::string& text) {
  Note("progress", text);
  windows.SetProgressCaption(text);
  windows.RepaintProgress();
}

}  // namespace kelvane::platform
