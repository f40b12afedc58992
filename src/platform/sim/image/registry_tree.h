#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

// One registry key: its name as created, its values as the file held them
// (each value's text lines, kept verbatim), and its subkeys.
struct RegistryKey {
  std::string name;
  std::vector<std::string> values;
  // In the order Windows enumerates them; names that differ only in case
  // are one key. A map, so that keys with 100,000 subkeys are found and
  // removed without a walk through their siblings.
  std::map<std::string, std::unique_ptr<RegistryKey>, NameLess> subkeys;

  RegistryKey* Subkey(const std::string& subkeyName) const;
  RegistryKey& AddSubkey(const std::string& subkeyName);
  // The subkeys' names sorted as Windows enumerates them.
  std::vector<std::string> SortedSubkeyNames() const;
};

// The three roots the machine has. A key is named by its full name: the
// root's name, then the path; names match without regard to case, runs of
// backslashes count as one separator and a trailing one is ignored.
class RegistryTree {
 public:
  RegistryTree();

  static std::optional<std::string> RootName(std::uint32_t handle);

  // The root for the first name of a full name; nothing for an unknown root.
  RegistryKey* Root(const std::string& rootName) const;
  RegistryKey* Find(const std::string& fullName) const;
  // Creates the key and every key above it; nothing for an unknown root.
  RegistryKey* Create(const std::string& fullName);
  // Removes the key with everything below it; false when there is none.
  bool Remove(const std::string& fullName);

  const std::vector<std::unique_ptr<RegistryKey>>& roots() const { return roots_; }

  static std::vector<std::string> SplitKeyPath(const std::string& path);

 private:
  std::vector<std::unique_ptr<RegistryKey>> roots_;
};

}  // namespace kelvane::platform::sim
