#include "platform/recording/recording_window_system.h"

#include "platform/recording/recording_platform.h"
#include "platform/shared/window_model.h"

namespace kelvane::platform::recording {

namespace {

class RecordingWindowSystem final : public platform::WindowSystem {
 public:
  explicit RecordingWindowSystem(RecordingPlatform& recorder) : recorder_(recorder) {}
  void Show(platform::Window window) override {
    const std::string name(platform::WindowName(window));
    recorder_.Record("show " + name);
    recorder_.Check(Operation::Show, name);
    recorder_.visible.insert(window);
  }
  void Hide(platform::Window window) override {
    const std::string name(platform::WindowName(window));
    recorder_.Record("hide " + name);
    recorder_.Check(Operation::Hide, name);
    recorder_.visible.erase(window);
  }
  void SetProgressCaption(const std::string& text) override {
    recorder_.Record("progress " + text);
    recorder_.Check(Operation::SetProgressCaption, text);
  }
  void RepaintProgress() override {
    recorder_.Record("repaint");
    recorder_.Check(Operation::RepaintProgress, "");
  }
  void SetCompletionText(const std::string& text) override { recorder_.Record("label " + text); }
  void ShowErrorBox(const std::string& title, const std::string& text) override {
    recorder_.Record("error " + title + " | " + text);
    recorder_.Check(Operation::ShowErrorBox, title);
  }
  void EndTool(int exitCode) override {
    recorder_.Record(exitCode ? "end " + std::to_string(exitCode) : "end");
    recorder_.exitCode = exitCode;
    recorder_.visible.clear();
    recorder_.ended = true;
  }

 private:
  RecordingPlatform& recorder_;
};

}  // namespace

std::unique_ptr<platform::WindowSystem> MakeRecordingWindowSystem(RecordingPlatform& recorder) {
  return std::make_unique<RecordingWindowSystem>(recorder);
}

}  // namespace kelvane::platform::recording
