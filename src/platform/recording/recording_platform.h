#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/interface/platform.h"
#include "platform/recording/recording_kernel.h"
#include "platform/recording/recording_machine_state.h"
#include "platform/recording/recording_objects.h"
#include "platform/recording/recording_window_system.h"
#include "platform/shared/fault_operation.h"
#include "platform/test_machines/fault_list.h"

namespace kelvane::platform::recording {

// A platform that records every operation, progress text and window event in
// order, acts on a MachineState, and fails any operation it is told to.
class RecordingPlatform {
 public:
  RecordingPlatform();
  RecordingPlatform(const RecordingPlatform&) = delete;
  RecordingPlatform& operator=(const RecordingPlatform&) = delete;

  MachineState machine;

  // Makes the operation fail, on one argument or (empty) on any, matched as
  // FaultList matches; for the first `times` calls only when given.
  void FailOn(Operation operation, const std::string& argument = "", int times = FaultList::kEveryCall);

  platform::Platform& get() { return platform_; }
  const std::vector<std::string>& log() const { return log_; }
  // The log entries that begin with the prefix, the prefix cut off.
  std::vector<std::string> Entries(const std::string& prefix) const;
  std::vector<std::string> Progress() const { return Entries("progress "); }
  // The same, each marked with the rights it ran with: "user " inside an
  // impersonation of the user, "admin " outside one.
  std::vector<std::string> EntriesWithRights(const std::string& prefix) const;
  std::set<platform::Window> visible;
  bool ended = false;
  int exitCode = 0;

  // Used by the machine's objects.
  void Record(const std::string& entry) { log_.push_back(entry); }
  // Throws the injected failure when the call is to fail.
  void Check(Operation operation, const std::string& argument) const;
  // Whether it is to fail, for an operation that answers with a status.
  bool FailsOn(Operation operation, const std::string& argument) const { return faults_.FailsOn(operation, argument); }

 private:
  std::vector<std::string> log_;
  FaultList faults_;
  std::unique_ptr<platform::Objects> objects_;
  std::unique_ptr<platform::Kernel> kernel_;
  std::unique_ptr<platform::WindowSystem> windows_;
  platform::Platform platform_;
};

}  // namespace kelvane::platform::recording
