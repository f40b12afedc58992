#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/shared/fault_operation.h"
#include "platform/test_machines/fault_list.h"

namespace kelvane::platform::sim {

// faults.ini: operations made to fail, each on one argument (or, with an
// empty value or "*", on any), on every call or (OPERATION:N) on the first N
// that match in a run, matched by the test machines' one rule (FaultList).
class Faults {
 public:
  // Whether faults.ini can name the operation: the simulated machine's user
  // never declines a prompt and reads product codes as it lists them, so
  // those failures exist on the recording platform only.
  static bool Takes(Operation operation);

  // Throws ImageError naming the line for a malformed one or an operation
  // the machine cannot fail, so that a misspelt fault never silently does
  // nothing.
  static Faults Parse(const std::string& text, const std::string& fileName);

  bool FailsOn(Operation operation, const std::string& argument) const;

  // The status an UninstallStatus=NAME:STATUS line makes the product's
  // uninstallation end with (NAME: its name or its code, or * for any).
  std::optional<long> UninstallStatus(const std::string& name, const std::string& code) const;

 private:
  FaultList faults_;
  std::vector<std::pair<std::string, long>> uninstallStatuses_;
};

}  // namespace kelvane::platform::sim
