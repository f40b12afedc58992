#pragma once

#include <set>
#include <string>
#include <string_view>

#include "platform/interface/platform.h"

namespace kelvane::files {

// The files that a kept Office 14 product's components name as their key
// paths (the Access Database Engine's in Microsoft Shared\OFFICE14, say):
// they stay, whatever folder the file plan deletes around them.
class KeptKeyPaths {
 public:
  // Reads them from the Installer's component records, once, and only when a
  // kept product is installed; a record that cannot be read keeps nothing.
  static KeptKeyPaths Find(platform::Platform& platform);

  bool empty() const { return folded_.empty(); }
  // Whether the path is one of them.
  bool Keeps(std::string_view path) const;
  // Whether one of them lies below the folder.
  bool HoldsKept(std::string_view folder) const;

  void Add(std::string_view path);

 private:
  std::set<std::string> folded_;
};

// Where the Installer keeps the per-machine component records: one key per
// packed component code, one value per client product (named by its packed
// code) holding the component's key path.
inline constexpr const char* kComponentRecords =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components";

}  // namespace kelvane::files
