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

}  // namespace

std::string RecordingKernel::ExecutablePath() {
  recorder_.Record("ExecutablePath");
  recorder_.Check(Operation::ExecutablePath, "");
  return recorder_.machine.executablePath;
}

void RecordingKernel::Sleep(unsigned milliseconds) { recorder_.Record("Sleep " + std::to_string(milliseconds)); }

platform::Elevation RecordingKernel::TokenElevation() { return recorder_.machine.elevation; }

std::string RecordingKernel::UserSid() { return recorder_.machine.userSid; }

// Declining the prompt is FailOn(Operation::StartElevated).
void RecordingKernel::StartElevated() {
  recorder_.Record("StartElevated");
  recorder_.Check(Operation::StartElevated, "");
}

std::vector<std::string> RecordingKernel::Arguments() { return recorder_.machine.arguments; }

platform::InstallerWait RecordingKernel::WaitForInstaller(unsigned timeoutMilliseconds) {
  recorder_.Record("WaitForInstaller " + std::to_string(timeoutMilliseconds));
  return recorder_.machine.installerBusy ? platform::InstallerWait::Busy : platform::InstallerWait::Idle;
}

std::string RecordingKernel::UtcTime() { return "2026-12-10T12:00:00.000Z"; }

unsigned long RecordingKernel::ProcessId() { return 4242; }

void RecordingKernel::WriteStandardOutputLine(const std::string& text) { recorder_.Record("stdout " + text); }

long RecordingKernel::RequestRestart(unsigned gracePeriodSeconds, bool force) {
  recorder_.Record("RequestRestart " + std::to_string(gracePeriodSeconds) + (force ? " forced" : " programs may save"));
  return !force && recorder_.machine.otherUsersSignedIn ? platform::kRestartRefusedUsersSignedIn : 0;
}

// None unless a test gives some: the program's own view alone.
std::vector<platform::EditionView> RecordingKernel::EditionViews() {
  recorder_.Check(Operation::EditionViews, "");
  return recorder_.machine.editionViews;
}

// The user's rights that cannot be had are FailOn(Operation::ImpersonateUser).
std::unique_ptr<platform::Impersonation> RecordingKernel::ImpersonateUser() {
  recorder_.Check(Operation::ImpersonateUser, "");
  return std::make_unique<AsUser>(recorder_);
}

}  // namespace kelvane::platform::recording
