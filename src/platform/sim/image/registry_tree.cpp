#include "platform/sim/image/registry_tree.h"

#include "platform/interface/registry_provider.h"
#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

RegistryKey* RegistryKey::Subkey(const std::string& subkeyName) const {
  const auto found = subkeys.find(subkeyName);
  return found == subkeys.end() ? nullptr : found->second.get();
}

RegistryKey& RegistryKey::AddSubkey(const std::string& subkeyName) {
  auto& slot = subkeys[subkeyName];
  if (!slot) {
    slot = std::make_unique<RegistryKey>();
    slot->name = subkeyName;
  }
  return *slot;
}

std::vector<std::string> RegistryKey::SortedSubkeyNames() const {
  std::vector<std::string> names;
  names.reserve(subkeys.size());
  for (const auto& entry : subkeys) names.push_back(entry.second->name);
  return names;
}

RegistryTree::RegistryTree() {
  for (const char* name : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
    roots_.push_back(std::make_unique<RegistryKey>());
    roots_.back()->name = name;
  }
}

std::optional<std::string> RegistryTree::RootName(std::uint32_t handle) {
  const std::string_view name = platform::RootName(handle);
  if (name.empty()) return std::nullopt;
  return std::string(name);
}

std::vector<std::string> RegistryTree::SplitKeyPath(const std::string& path) {
  std::vector<std::string> names;
  std::string name;
  for (char c : path) {
    if (c == '\\') {
      if (!name.empty()) names.push_back(name);
      name.clear();
    } else {
      name += c;
    }
  }
  if (!name.empty()) names.push_back(name);
  return names;
}

std::vector<std::string> RegistryTree::Resolved(const std::string& fullName, bool* classesRoot) {
  auto names = SplitKeyPath(fullName);
  const bool aliased = !names.empty() && SameIgnoringAsciiCase(names[0], kClassesRoot);
  if (aliased) {
    names[0] = "Classes";
    names.insert(names.begin(), {"HKEY_LOCAL_MACHINE", "SOFTWARE"});
  }
  if (classesRoot) *classesRoot = aliased;
  return names;
}

RegistryKey* RegistryTree::Root(const std::string& rootName) const {
  for (const auto& root : roots_) {
    if (SameIgnoringAsciiCase(root->name, rootName)) return root.get();
  }
  return nullptr;
}

RegistryKey* RegistryTree::Find(const std::string& fullName) const {
  const auto names = Resolved(fullName);
  if (names.empty()) return nullptr;
  RegistryKey* key = Root(names[0]);
  for (std::size_t i = 1; key && i < names.size(); ++i) key = key->Subkey(names[i]);
  return key;
}

RegistryKey* RegistryTree::Create(const std::string& fullName) {
  bool classesRoot = false;
  const auto names = Resolved(fullName, &classesRoot);
  if (names.empty()) return nullptr;
  RegistryKey* key = Root(names[0]);
  for (std::size_t i = 1; key && i < names.size(); ++i) {
    const bool existed = key->Subkey(names[i]) != nullptr;
    key = &key->AddSubkey(names[i]);
    // A key named through HKEY_LOCAL_MACHINE is written there, with every
    // key above it, as the file names them all.
    if (!classesRoot) {
      // A key so far named only through HKEY_CLASSES_ROOT takes the
      // spelling its HKEY_LOCAL_MACHINE name gives it: that is the name
      // the file writes for it, so reading the file back keeps it.
      if (existed && key->spelledUnderClassesRoot) key->name = names[i];
      key->spelledUnderClassesRoot = false;
    } else if (!existed) {
      key->spelledUnderClassesRoot = true;
    }
  }
  return key;
}

bool RegistryTree::Remove(const std::string& fullName) {
  bool classesRoot = false;
  auto names = Resolved(fullName, &classesRoot);
  if (names.size() < (classesRoot ? 4u : 2u)) return false;  // a root stays
  const std::string leaf = names.back();
  names.pop_back();
  RegistryKey* parent = Root(names[0]);
  for (std::size_t i = 1; parent && i < names.size(); ++i) parent = parent->Subkey(names[i]);
  if (!parent) return false;
  return parent->subkeys.erase(leaf) > 0;
}

}  // namespace kelvane::platform::sim
