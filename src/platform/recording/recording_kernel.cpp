#include "platform/recording/recording_kernel.h"

#include "platform/recording/recording_platform.h"

namespace kelvane::platform::recording {

namespace {

// Every operation between these two entries runs with the user's own rights.
class AsUser final : public platform::Impersonation {
 public:
  explicit AsUser(RecordingPlatform& recorder) : recorder_(recorder) { recorder_.Record("as user"); }
  ~AsUser() override { recorder_.Record("as administrator"); }

 private:
  RecordingPlatform& recorder_;
};

class RecordingKernel final : public platform::Kernel {
 public:
  explicit RecordingKernel(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::string ExecutablePath() override {
    recorder_.Record("ExecutablePath");
    recorder_.Check(Operation::ExecutablePath, "");
    return recorder_.machine.executablePath;
  }
  void Sleep(unsigned milliseconds) override { recorder_.Record("Sleep " + std::to_string(milliseconds)); }
  platform::Elevation TokenElevation() override { return recorder_.machine.elevation; }
  std::string UserSid() override { return recorder_.machine.userSid; }
  // Declining the prompt is FailOn(Operation::StartElevated).
  void StartElevated() override {
    recorder_.Record("StartElevated");
    recorder_.Check(Operation::StartElevated, "");
  }
  std::vector<std::string> Arguments() override { return recorder_.machine.arguments; }
  platform::InstallerWait WaitForInstaller(unsigned timeoutMilliseconds) override {
    recorder_.Record("WaitForInstaller " + std::to_string(timeoutMilliseconds));
    return recorder_.machine.installerBusy ? platform::InstallerWait::Busy : platform::InstallerWait::Idle;
  }
  std::string UtcTime() override { return "2026-12-10T12:00:00.000Z"; }
  unsigned long ProcessId() override { return 4242; }
  void WriteStandardOutputLine(const std::string& text) override { recorder_.Record("stdout " + text); }
  long RequestRestart(unsigned gracePeriodSeconds, bool force) override {
    recorder_.Record("RequestRestart " + std::to_string(gracePeriodSeconds) + (force ? " forced" : " programs may save"));
    return !force && recorder_.machine.otherUsersSignedIn ? platform::kRestartRefusedUsersSignedIn : 0;
  }
  // None unless a test gives some: the program's own view alone.
  std::vector<platform::EditionView> EditionViews() override {
    recorder_.Check(Operation::EditionViews, "");
    return recorder_.machine.editionViews;
  }
  // The user's rights that cannot be had are FailOn(Operation::ImpersonateUser).
  std::unique_ptr<platform::Impersonation> ImpersonateUser() override {
    recorder_.Check(Operation::ImpersonateUser, "");
    return std::make_unique<AsUser>(recorder_);
  }

 private:
  RecordingPlatform& recorder_;
};

}  // namespace

std::unique_ptr<platform::Kernel> MakeRecordingKernel(RecordingPlatform& recorder) {
  return std::make_unique<RecordingKernel>(recorder);
}

}  // namespace kelvane::platform::recording
