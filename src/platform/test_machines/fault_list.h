#pragma once

#include <string>
#include <vector>

#include "platform/shared/fault_operation.h"

namespace kelvane::platform {

// The failures a test machine is told to inject, and the one rule both test
// machines match them by: an argument matches without regard to case, and a
// path or key name with runs of backslashes as one and no trailing one, as
// Windows would find the same item under either spelling.
class FaultList {
 public:
  static constexpr int kEveryCall = -1;

  // Fails the operation on the argument (empty: on any), for the first
  // `times` calls that match or for every one.
  void Add(Operation operation, const std::string& argument, int times = kEveryCall);

  // Whether the call fails. A fault given a number of times is used up by
  // the calls it fails, so the question is asked once per call.
  bool FailsOn(Operation operation, const std::string& argument) const;

  // The argument as faults compare it: two spellings of one item give one.
  static std::string Key(const std::string& argument);

 private:
  struct Fault {
    Operation operation;
    std::string key;  // empty: any argument
    mutable int times;
  };
  std::vector<Fault> faults_;
};

}  // namespace kelvane::platform
