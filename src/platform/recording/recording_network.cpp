#include "platform/recording/recording_network.h"

#include "platform/recording/recording_platform.h"

namespace kelvane::platform::recording {

namespace {

class RecordingNetwork final : public platform::Network {
 public:
  explicit RecordingNetwork(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::string ComputerName() override {
    recorder_.Record("ComputerName");
    recorder_.Check(Operation::ComputerName, "");
    return recorder_.machine.computerName;
  }

 private:
  RecordingPlatform& recorder_;
};

}  // namespace

std::unique_ptr<platform::Network> MakeRecordingNetwork(RecordingPlatform& recorder) {
  return std::make_unique<RecordingNetwork>(recorder);
}

}  // namespace kelvane::platform::recording
