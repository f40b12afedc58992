#pragma once

#include <string>

#include "platform/interface/window_system.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// The windows as what is visible, each change and text logged.
class RecordingWindowSystem final : public platform::WindowSystem {
 public:
  explicit RecordingWindowSystem(RecordingPlatform& recorder) : recorder_(recorder) {}
  void Show(platform::Window window) override;
  void Hide(platform::Window window) override;
  void SetProgressCaption(const std::string& text) override;
  void RepaintProgress() override;
  void SetCompletionText(const std::string& text) override;
  void ShowErrorBox(const std::string& title, const std::string& text) override;
  void EndTool(int exitCode) override;

 private:
  RecordingPlatform& recorder_;
};

}  // namespace kelvane::platform::recording
