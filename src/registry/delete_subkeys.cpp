#include "registry/delete_subkeys.h"

#include <optional>
#include <utility>
#include <vector>

#include "platform/shared/progress.h"

namespace kelvane::registry {

namespace {

// One key on the way down: its path, its subkeys as enumerated on the way in,
// and how many of them have been visited.
struct PendingKey {
  explicit PendingKey(std::string keyPath) : path(std::move(keyPath)) {}
  std::string path;
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
  const auto enter = [&](std::string path) {
    PendingKey& key = pending.emplace_back(std::move(path));
    provider.EnumKey(HKEY, key.path, key.arrSubkeys);
  };
  enter(strKeyPath);
  while (!pending.empty()) {
    PendingKey& key = pending.back();
    if (key.arrSubkeys && key.next < key.arrSubkeys->size()) {
      const std::string& name = (*key.arrSubkeys)[key.next++];
      ShowProgress(windows, "Removing: " + key.path);
      enter(key.path + "\\" + name);  // the path is built before `key` can move
      continue;
    }
    provider.DeleteKey(HKEY, key.path);
    pending.pop_back();
  }
}

}  // namespace kelvane::registry
