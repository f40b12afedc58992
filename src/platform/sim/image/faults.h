#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kelvane::platform::sim {

// faults.ini: operations made to fail, each on one argument (or, with an
// empty value or "*", on any). Arguments match without regard to case, and
// paths and key names with runs of backslashes as one and no trailing one.
class Faults {
 public:
  // Throws ImageError for a malformed line or an operation the machine
  // does not have, so that a misspelt fault never silently does nothing.
  static Faults Parse(const std::string& text, const std::string& fileName);

  bool FailsOn(const std::string& operation, const std::string& argument) const;

  static const std::vector<std::string>& Operations();

 private:
  std::vector<std::pair<std::string, std::string>> faults_;
};

}  // namespace kelvane::platform::sim
