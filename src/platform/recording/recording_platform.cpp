#include "platform/recording/recording_platform.h"

#include "platform/interface/error.h"

namespace kelvane::platform::recording {

using platform::Error;

namespace {

constexpr long kInjectedFailure = 0x80004005;  // E_FAIL

}  // namespace

RecordingPlatform::RecordingPlatform()
    : objects_(MakeRecordingObjects(*this)),
      kernel_(MakeRecordingKernel(*this)),
      windows_(MakeRecordingWindowSystem(*this)),
      platform_{*objects_, *kernel_, *windows_} {}

void RecordingPlatform::FailOn(Operation operation, const std::string& argument, int times) {
  faults_.Add(operation, argument, times);
}

void RecordingPlatform::Check(Operation operation, const std::string& argument) const {
  if (FailsOn(operation, argument)) throw Error(kInjectedFailure, std::string(OperationName(operation)) + " failed");
}

std::vector<std::string> RecordingPlatform::Entries(const std::string& prefix) const {
  std::vector<std::string> entries;
  for (const auto& entry : log_) {
    if (entry.rfind(prefix, 0) == 0) entries.push_back(entry.substr(prefix.size()));
  }
  return entries;
}

std::vector<std::string> RecordingPlatform::EntriesWithRights(const std::string& prefix) const {
  std::vector<std::string> entries;
  bool asUser = false;
  for (const auto& entry : log_) {
    if (entry == "as user" || entry == "as administrator") asUser = entry == "as user";
    if (entry.rfind(prefix, 0) == 0) entries.push_back((asUser ? "user " : "admin ") + entry.substr(prefix.size()));
  }
  return entries;
}

}  // namespace kelvane::platform::recording
