#include "platform/test_machines/fault_list.h"

#include "common/ascii_case.h"
#include "platform/shared/collapse_separators.h"

namespace kelvane::platform {

void FaultList::Add(Operation operation, const std::string& argument, int times) {
  faults_.push_back(Fault{operation, Key(argument), times});
}

bool FaultList::FailsOn(Operation operation, const std::string& argument) const {
  const std::string key = Key(argument);
  for (const Fault& fault : faults_) {
    if (fault.operation != operation || fault.times == 0 || (!fault.key.empty() && fault.key != key)) continue;
    if (fault.times > 0) --fault.times;
    return true;
  }
  return false;
}

std::string FaultList::Key(const std::string& argument) { return FoldedAscii(CollapseSeparators(argument)); }

}  // namespace kelvane::platform
