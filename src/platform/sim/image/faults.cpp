#include "platform/sim/image/faults.h"

#include <algorithm>

#include "platform/shared/collapse_separators.h"
#include "platform/sim/image/image_error.h"
#include "platform/sim/image/ini_file.h"
#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

namespace {

std::string Normalized(const std::string& text) {
  return Folded(platform::CollapseSeparators(text));
}

}  // namespace

Faults Faults::Parse(const std::string& text, const std::string& fileName) {
  Faults faults;
  for (const auto& entry : ParseIni(text, fileName).entries) {
    const auto known = Operations();
    const auto operation = std::find_if(known.begin(), known.end(), [&](const OperationEntry& candidate) {
      return candidate.simulated && SameName(candidate.name, entry.key);
    });
    if (operation == known.end()) throw ImageError(fileName, entry.line, "no such operation: " + entry.key);
    faults.faults_.emplace_back(operation->operation, entry.value == "*" ? std::string() : Normalized(entry.value));
  }
  return faults;
}

bool Faults::FailsOn(Operation operation, const std::string& argument) const {
  for (const auto& [name, value] : faults_) {
    if (name == operation && (value.empty() || value == Normalized(argument))) return true;
  }
  return false;
}

}  // namespace kelvane::platform::sim
