#include "user_actions.h"

#include <iostream>

#include "platform/shared/window_model.h"

namespace kelvane::sim_tool {

// The tool drives and builds the simulated machine.
using namespace platform::sim;

using platform::Control;
using platform::Window;

std::optional<UserAction> ParseUserAction(const std::string& text) {
  for (Control control : {Control::btnGo, Control::Label2, Control::Finish, Control::Picture1}) {
    if (text == platform::ControlName(control)) return UserAction{UserAction::Kind::Click, control, Window::Kelvane, text};
  }
  for (Window window : {Window::Kelvane, Window::Loading, Window::Complete}) {
    if (text == "close:" + std::string(platform::WindowName(window))) {
      return UserAction{UserAction::Kind::Close, Control::btnGo, window, text};
    }
  }
  return std::nullopt;
}

Window TargetWindow(const UserAction& action) {
  if (action.kind == UserAction::Kind::Close) return action.window;
  return action.control == Control::btnGo || action.control == Control::Label2 ? Window::Kelvane : Window::Complete;
}

std::optional<UserAction> ScriptedUser::Next(const SimWindowSystem& windows) {
  // The tool does all its work before it next waits for input, so what is
  // not visible now never becomes visible in this run.
  while (!actions_.empty()) {
    UserAction action = actions_.front();
    actions_.pop_front();
    if (windows.IsVisible(TargetWindow(action))) return action;
    notes_ << "kelvane-sim: " << action.text << " not done: " << platform::WindowName(TargetWindow(action))
           << " is not visible\n";
  }
  return std::nullopt;
}

void ScriptedUser::ReportUndone() {
  for (const auto& action : actions_) notes_ << "kelvane-sim: " << action.text << " not done: the tool is not running\n";
  actions_.clear();
}

std::optional<UserAction> InteractiveUser::Next(const SimWindowSystem& windows) {
  for (;;) {
    for (Window window : windows.visible()) {
      const platform::WindowModel& model = platform::ModelOf(window);
      out_ << "+-- " << model.caption << (model.closeBox ? "   [close]" : "") << "\n";
      for (const platform::ControlModel& control : model.controls) {
        if (control.kind == platform::ControlKind::Line) continue;
        std::string text(control.text);
        if (control.name == platform::kProgressLine) text = windows.progressCaption();
        if (text.empty()) text = control.picture == platform::Picture::Go ? "[ Go ]" : control.picture == platform::Picture::Done ? "[ Done ]" : "[ Donate ]";
        out_ << "|  " << (control.click ? std::string(control.name) + ": " : std::string()) << text << "\n";
      }
    }
    out_ << "click a control by name, 'close' a window, or 'quit' > " << std::flush;
    std::string line;
    if (!std::getline(in_, line) || line == "quit") return std::nullopt;
    if (line == "close" && !windows.visible().empty()) line = "close:" + std::string(platform::WindowName(*windows.visible().begin()));
    const auto action = ParseUserAction(line);
    if (action && windows.IsVisible(TargetWindow(*action))) return action;
    out_ << "nothing to " << (line.empty() ? "do" : line) << " here\n";
  }
}

}  // namespace kelvane::sim_tool
