#include "registry/delete_subkeys.h"

#include <optional>
#include <utility>
#include <vector>

namespace kelvane::registry {

namespace {

// One key on the way down: its path, its subkeys once enumerated, and how
// many of them have been visited.
struct PendingKey {
  explicit PendingKey(std::string keyPath) : path(std::move(keyPath)) {}
  std::string path;
  bool enumerated = false;
  std::optional<std::vector<std::string>> arrSubkeys;
  std::size_t next = 0;
};

}  // namespace

// Depth-first, each key's subkeys before the key: for every key, EnumKey;
// then for each subkey the progress line and the same walk below it; then
// DeleteKey. The pending keys are kept on a stack of our own rather than the
// call stack, so a tree of any depth takes the same calls in the same order
// without running the thread's stack out.
void DeleteSubkeys(platform::RegistryProvider& provider, platform::WindowSystem& windows,
                   std::uint32_t HKEY, const std::string& strKeyPath) {
  std::vector<PendingKey> pending;
  pending.emplace_back(strKeyPath);
  while (!pending.empty()) {
    PendingKey& key = pending.back();
    if (!key.enumerated) {
      key.enumerated = true;
      provider.EnumKey(HKEY, key.path, key.arrSubkeys);
    }
    if (key.arrSubkeys && key.next < key.arrSubkeys->size()) {
      const std::string& name = (*key.arrSubkeys)[key.next++];
      ShowProgress(windows, "Removing: " + key.path);
      std::string below = key.path + "\\" + name;
      pending.emplace_back(std::move(below));  // may move `key`: not used after this
      continue;
    }
    provider.DeleteKey(HKEY, key.path);
    pending.pop_back();
  }
}

}  // namespace kelvane::registry
