#include "platform/recording/recording_window_system.h"

#include "platform/recording/recording_platform.h"
#include "platform/shared/window_model.h"

namespace kelvane::platform::recording {

void RecordingWindowSystem::Show(platform::Window window) {
  const std::string name(platform::WindowName(window));
  recorder_.Record("show " + name);
  recorder_.Check(Operation::Show, name);
  recorder_.visible.insert(window);
}

void RecordingWindowSystem::Hide(platform::Window window) {
  const std::string name(platform::WindowName(window));
  recorder_.Record("hide " + name);
  recorder_.Check(Operation::Hide, name);
  recorder_.visible.erase(window);
}

void RecordingWindowSystem::SetProgressCaption(const std::string& text) {
  recorder_.Record("progress " + text);
  recorder_.Check(Operation::SetProgressCaption, text);
}

void RecordingWindowSystem::RepaintProgress() {
  recorder_.Record("repaint");
  recorder_.Check(Operation::RepaintProgress, "");
}

void RecordingWindowSystem::SetCompletionText(const std::string& text) { recorder_.Record("label " + text); }

void RecordingWindowSystem::ShowErrorBox(const std::string& title, const std::string& text) {
  recorder_.Record("error " + title + " | " + text);
  recorder_.Check(Operation::ShowErrorBox, title);
}

void RecordingWindowSystem::EndTool(int exitCode) {
  recorder_.Record(exitCode ? "end " + std::to_string(exitCode) : "end");
  recorder_.exitCode = exitCode;
  recorder_.visible.clear();
  recorder_.ended = true;
}

}  // namespace kelvane::platform::recording
