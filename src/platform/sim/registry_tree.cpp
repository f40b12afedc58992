#include "platform/sim/registry_tree.h"

#include <algorithm>

#include "platform/registry_provider.h"
#include "platform/sim/text_case.h"

namespace kelvane::sim {

RegistryKey* RegistryKey::Subkey(const std::string& subkeyName) const {
  for (const auto& key : subkeys) {
    if (SameName(key->name, subkeyName)) return key.get();
  }
  return nullptr;
}

RegistryKey& RegistryKey::AddSubkey(const std::string& subkeyName) {
  if (RegistryKey* existing = Subkey(subkeyName)) return *existing;
  subkeys.push_back(std::make_unique<RegistryKey>());
  subkeys.back()->name = subkeyName;
  return *subkeys.back();
}

std::vector<std::string> RegistryKey::SortedSubkeyNames() const {
  std::vector<std::string> names;
  for (const auto& key : subkeys) names.push_back(key->name);
  std::sort(names.begin(), names.end(), NameLess{});
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
  auto& siblings = parent->subkeys;
  const auto found = std::find_if(siblings.begin(), siblings.end(), [&](const auto& key) { return SameName(key->name, leaf); });
  if (found == siblings.end()) return false;
  siblings.erase(found);
  return true;
}

}  // namespace kelvane::sim
