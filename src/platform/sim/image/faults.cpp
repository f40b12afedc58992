#include "platform/sim/image/faults.h"

#include <algorithm>
#include <stdexcept>

#include "platform/sim/image/image_error.h"
#include "platform/sim/image/ini_file.h"
#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

bool Faults::Takes(Operation operation) {
  return operation != Operation::ProductCode && operation != Operation::StartElevated &&
         operation != Operation::ImpersonateUser;
}

Faults Faults::Parse(const std::string& text, const std::string& fileName) {
  Faults faults;
  for (const auto& entry : ParseIni(text, fileName).entries) {
    if (SameIgnoringAsciiCase(entry.key, "UninstallStatus")) {
      const auto colon = entry.value.rfind(':');
      try {
        if (colon == std::string::npos || colon == 0) throw std::invalid_argument(entry.value);
        std::size_t used = 0;
        const long status = std::stol(entry.value.substr(colon + 1), &used, 0);
        if (used != entry.value.size() - colon - 1) throw std::invalid_argument(entry.value);
        const std::string name = entry.value.substr(0, colon);
        faults.uninstallStatuses_.emplace_back(name == "*" ? std::string() : FaultList::Key(name), status);
      } catch (const std::exception&) {
        throw ImageError(fileName, entry.line, "UninstallStatus= takes NAME:STATUS, not: " + entry.value);
      }
      continue;
    }
    // OPERATION:N fails the first N calls that match, in each run.
    const auto colon = entry.key.find(':');
    const std::string name = entry.key.substr(0, colon);
    int times = FaultList::kEveryCall;
    if (colon != std::string::npos) {
      const std::string count = entry.key.substr(colon + 1);
      const bool digits = !count.empty() && count.size() <= 6 && count.find_first_not_of("0123456789") == std::string::npos;
      times = digits ? std::stoi(count) : 0;
      if (times == 0) throw ImageError(fileName, entry.line, "OPERATION:N takes a number of calls, not: " + entry.key);
    }
    const auto known = Operations();
    const auto operation = std::find_if(known.begin(), known.end(), [&](const OperationEntry& candidate) {
      return Takes(candidate.operation) && SameIgnoringAsciiCase(candidate.name, name);
    });
    if (operation == known.end()) throw ImageError(fileName, entry.line, "no such operation: " + name);
    faults.faults_.Add(operation->operation, entry.value == "*" ? std::string() : entry.value, times);
  }
  return faults;
}

bool Faults::FailsOn(Operation operation, const std::string& argument) const {
  return faults_.FailsOn(operation, argument);
}

std::optional<long> Faults::UninstallStatus(const std::string& name, const std::string& code) const {
  for (const auto& [product, status] : uninstallStatuses_) {
    if (product.empty() || product == FaultList::Key(name) || product == FaultList::Key(code)) return status;
  }
  return std::nullopt;
}

}  // namespace kelvane::platform::sim
