#include "platform/sim/sim_window_system.h"

#include "platform/shared/window_model.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

void SimWindowSystem::Show(platform::Window window) {
  const std::string name(platform::WindowName(window));
  machine_.Check(Operation::Show, name, UnspecifiedError());
  visible_.insert(window);
  machine_.log().Append({"window", "show", name});
}

void SimWindowSystem::Hide(platform::Window window) {
  const std::string name(platform::WindowName(window));
  machine_.Check(Operation::Hide, name, UnspecifiedError());
  visible_.erase(window);
  machine_.log().Append({"window", "hide", name});
}

void SimWindowSystem::SetProgressCaption(const std::string& text) {
  machine_.Check(Operation::SetProgressCaption, text, UnspecifiedError());
  progressCaption_ = text;
  machine_.log().Append({"progress", text});
}

void SimWindowSystem::RepaintProgress() { machine_.Check(Operation::RepaintProgress, "", UnspecifiedError()); }

void SimWindowSystem::SetCompletionText(const std::string& text) {
  machine_.log().Append({"label", std::string(platform::kCompletionLabel), text});
}

void SimWindowSystem::ShowErrorBox(const std::string& title, const std::string& text) {
  machine_.Check(Operation::ShowErrorBox, title, UnspecifiedError());
  machine_.log().Append({"error", title, text});
}

void SimWindowSystem::EndTool(int exitCode) {
  exitCode_ = exitCode;
  visible_.clear();
  ended_ = true;
  if (exitCode == 0) {
    machine_.log().Append({"exit"});
  } else {
    machine_.log().Append({"exit", std::to_string(exitCode)});
  }
}

}  // namespace kelvane::platform::sim
