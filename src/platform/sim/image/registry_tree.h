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
  // Named as HKEY_CLASSES_ROOT\... where the image names it, so that it is
  // written back the way it was read.
  bool spelledUnderClassesRoot = false;
  // In the order Windows enumerates them; names that differ only in case
  // are one key. A map, so that keys with 100,000 subkeys are found and
  // removed without a walk through their siblings.
  std::map<std::string, std::unique_ptr<RegistryKey>, NameLess> subkeys;

  RegistryKey* Subkey(const std::string& subkeyName) const;
  RegistryKey& AddSubkey(const std::string& subkeyName);
  // The subkeys' names sorted as Windows enumerates them.
  std::vector<std::string> SortedSubkeyNames() const;
};

// The roots the machine has: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, and
// HKEY_CLASSES_ROOT, which is HKEY_LOCAL_MACHINE\SOFTWARE\Classes under
// another name (the machine has one user, who keeps no classes of his own).
// A key is named by its full name: the root's name, then the path; names
// match without regard to case, runs of backslashes count as one separator
// and a trailing one is ignored. The machine has one registry view.
class RegistryTree {
 public:
  RegistryTree();

  static std::optional<std::string> RootName(std::uint32_t handle);
  static constexpr const char* kClassesRoot = "HKEY_CLASSES_ROOT";
  static constexpr const char* kClassesKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes";

  RegistryKey* Find(const std::string& fullName) const;
  // Creates the key and every key above it; nothing for an unknown root.
  RegistryKey* Create(const std::string& fullName);
  // Removes the key with everything below it; false when there is none.
  bool Remove(const std::string& fullName);

  // HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
  const std::vector<std::unique_ptr<RegistryKey>>& roots() const { return roots_; }

  static std::vector<std::string> SplitKeyPath(const std::string& path);

 private:
  RegistryKey* Root(const std::string& rootName) const;
  // The names from a root of the machine's own: HKEY_CLASSES_ROOT's become
  // HKEY_LOCAL_MACHINE, SOFTWARE, Classes. Whether they were so spelt.
  static std::vector<std::string> Resolved(const std::string& fullName, bool* classesRoot = nullptr);

  std::vector<std::unique_ptr<RegistryKey>> roots_;
};

}  // namespace kelvane::platform::sim
