#include "platform/sim/image/registry_tree.h"

#include "platform/interface/registry_provider.h"

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
  for (const char* name : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
    roots_.push_back(std::make_unique<RegistryKey>());
    roots_.back()->name = name;
  }
}

std::optional<std::string> RegistryTree::RootName(std::uint32_t handle) {
  switch (handle) {
    case platform::kClassesRoot: return "HKEY_CLASSES_ROOT";
    case platform::kCurrentUser: return "HKEY_CURRENT_USER";
    case platform::kLocalMachine: return "HKEY_LOCAL_MACHINE";
  }
  return std::nullopt;
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

RegistryKey* RegistryTree::Root(const std::string& rootName) const {
  for (const auto& root : roots_) {
    if (SameName(root->name, rootName)) return root.get();
  }
  return nullptr;
}

RegistryKey* RegistryTree::Find(const std::string& fullName) const {
  const auto names = SplitKeyPath(fullName);
  if (names.empty()) return nullptr;
  RegistryKey* key = Root(names[0]);
  for (std::size_t i = 1; key && i < names.size(); ++i) key = key->Subkey(names[i]);
  return key;
}

RegistryKey* RegistryTree::Create(const std::string& fullName) {
  const auto names = SplitKeyPath(fullName);
  if (names.empty()) return nullptr;
  RegistryKey* key = Root(names[0]);
  for (std::size_t i = 1; key && i < names.size(); ++i) key = &key->AddSubkey(names[i]);
  return key;
}

bool RegistryTree::Remove(const std::string& fullName) {
  auto names = SplitKeyPath(fullName);
  if (names.size() < 2) return false;
  const std::string leaf = names.back();
  names.pop_back();
  RegistryKey* parent = Root(names[0]);
  for (std::size_t i = 1; parent && i < names.size(); ++i) parent = parent->Subkey(names[i]);
  if (!parent) return false;
  return parent->subkeys.erase(leaf) > 0;
}

}  // namespace kelvane::platform::sim
