#include <pthread.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/shared/progress.h"

#include "registry/delete_subkeys.h"

namespace kelvane {
namespace {

// A registry held as a tree, so that trees of 100,000 keys cost what the
// deletion costs and no more. Every call is appended to `calls`, each
// progress text too, in order.
class TreeRegistry : public platform::RegistryProvider, public platform::WindowSystem {
 public:
  struct Key {
    std::map<std::string, std::unique_ptr<Key>> subkeys;  // sorted, as the registry enumerates
  };

  Key& Add(const std::vector<std::string>& path) {
    Key* key = &root_;
    for (const auto& name : path) {
      auto& slot = key->subkeys[name];
      if (!slot) {
        slot = std::make_unique<Key>();
        ++size_;
      }
      key = slot.get();
    }
    return *key;
  }
  std::size_t size() const { return size_; }

  long EnumKey(std::uint32_t, const std::string& path, std::optional<std::vector<std::string>>& names) override {
    calls.push_back("EnumKey " + path);
    Key* key = Find(path);
    if (!key) return 2;
    if (key->subkeys.empty()) return 0;
    names.emplace();
    for (const auto& entry : key->subkeys) names->push_back(entry.first);
    return 0;
  }
  // A key tree without values: no value is ever there.
  long EnumValues(std::uint32_t, const std::string&, std::optional<std::vector<std::string>>&) override { return 0; }
  long GetStringValue(std::uint32_t, const std::string&, const std::string&, std::optional<std::string>&) override {
    return 2;
  }
  long GetMultiStringValue(std::uint32_t, const std::string&, const std::string&,
                           std::optional<std::vector<std::string>>&) override {
    return 2;
  }
  long SetMultiStringValue(std::uint32_t, const std::string&, const std::string&,
                           const std::vector<std::string>&) override {
    return 5;
  }
  long DeleteValue(std::uint32_t, const std::string&, const std::string&) override { return 2; }
  long DeleteKey(std::uint32_t, const std::string& path) override {
    calls.push_back("DeleteKey " + path);
    const auto cut = path.rfind('\\');
    Key* parent = cut == std::string::npos ? &root_ : Find(path.substr(0, cut));
    const std::string leaf = cut == std::string::npos ? path : path.substr(cut + 1);
    if (!parent) return 2;
    const auto found = parent->subkeys.find(leaf);
    if (found == parent->subkeys.end()) return 2;
    if (!found->second->subkeys.empty()) return 5;
    parent->subkeys.erase(found);
    --size_;
    return 0;
  }

  void Show(platform::Window) override {}
  void Hide(platform::Window) override {}
  void SetProgressCaption(const std::string& text) override { calls.push_back("progress " + text); }
  void RepaintProgress() override {}
  void ShowErrorBox(const std::string&, const std::string&) override {}
  void EndTool(int) override {}

  std::vector<std::string> calls;

 private:
  Key* Find(const std::string& path) {
    Key* key = &root_;
    std::size_t start = 0;
    while (key && start <= path.size()) {
      const auto end = std::min(path.find('\\', start), path.size());
      const auto found = key->subkeys.find(path.substr(start, end - start));
      key = found == key->subkeys.end() ? nullptr : found->second.get();
      start = end + 1;
    }
    return key;
  }

  Key root_;
  std::size_t size_ = 0;
};

// The walk written as plain recursion: the order the deletion must keep.
void RecursiveWalk(TreeRegistry& registry, const std::string& path) {
  std::optional<std::vector<std::string>> names;
  registry.EnumKey(0, path, names);
  if (names) {
    for (const auto& name : *names) {
      platform::ShowProgress(registry, "Removing: " + path);
      RecursiveWalk(registry, path + "\\" + name);
    }
  }
  registry.DeleteKey(0, path);
}

// Runs the deletion on a thread whose stack is far smaller than a recursion
// 1,000 levels deep needs, so a walk that used the call stack would crash.
void DeleteOnSmallStack(TreeRegistry& registry, const std::string& path) {
  struct Job {
    TreeRegistry* registry;
    const std::string* path;
  } job{&registry, &path};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 64 * 1024);
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attributes,
                [](void* argument) -> void* {
                  auto* running = static_cast<Job*>(argument);
                  registry::DeleteSubkeys(*running->registry, *running->registry, platform::kLocalMachine,
                                          *running->path);
                  return nullptr;
                },
                &job),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

// Built with += rather than "k" + std::to_string(i): GCC 12 warns falsely
// (-Wrestrict) on a literal added to a temporary string at -O3.
std::string Numbered(const char* prefix, unsigned number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

void AddBranchy(TreeRegistry& registry, std::vector<std::string> path, int depth, unsigned& seed) {
  registry.Add(path);
  if (depth == 0) return;
  seed = seed * 1103515245u + 12345u;
  const unsigned children = (seed >> 16) % 4;
  for (unsigned i = 0; i < children; ++i) {
    path.push_back(Numbered("k", i));
    AddBranchy(registry, path, depth - 1, seed);
    path.pop_back();
  }
}

TEST(DeleteSubkeysScale, MakesTheSameCallsInTheSameOrderAsTheRecursion) {
  for (unsigned seed : {1u, 7u, 42u, 1234u}) {
    TreeRegistry walked, recursed;
    unsigned first = seed, second = seed;
    AddBranchy(walked, {"SOFTWARE", "Tree"}, 9, first);
    AddBranchy(recursed, {"SOFTWARE", "Tree"}, 9, second);
    registry::DeleteSubkeys(walked, walked, platform::kLocalMachine, "SOFTWARE\\Tree");
    RecursiveWalk(recursed, "SOFTWARE\\Tree");
    EXPECT_EQ(walked.calls, recursed.calls) << "seed " << seed;
    EXPECT_EQ(walked.size(), 1u) << "only SOFTWARE is left";
  }
}

TEST(DeleteSubkeysScale, AHundredThousandKeysGoWhole) {
  TreeRegistry registry;
  for (unsigned i = 0; i < 1000; ++i) {
    for (unsigned j = 0; j < 99; ++j) registry.Add({"Wide", Numbered("g", i), Numbered("k", j)});
  }
  ASSERT_EQ(registry.size(), 1u + 1000u + 99000u);
  DeleteOnSmallStack(registry, "Wide");
  EXPECT_EQ(registry.size(), 0u);
  // One enumeration and one deletion per key, one text per key below the top.
  std::size_t enumerations = 0, deletions = 0, texts = 0;
  for (const auto& call : registry.calls) {
    enumerations += call.rfind("EnumKey ", 0) == 0;
    deletions += call.rfind("DeleteKey ", 0) == 0;
    texts += call.rfind("progress ", 0) == 0;
  }
  EXPECT_EQ(enumerations, 100001u);
  EXPECT_EQ(deletions, 100001u);
  EXPECT_EQ(texts, 100000u);
  EXPECT_EQ(registry.calls.back(), "DeleteKey Wide");
}

TEST(DeleteSubkeysScale, ATreeAThousandLevelsDeepGoesWholeDeepestFirst) {
  TreeRegistry registry;
  std::vector<std::string> path{"Deep"};
  for (int level = 1; level < 1000; ++level) path.push_back("d");
  registry.Add(path);
  ASSERT_EQ(registry.size(), 1000u);
  DeleteOnSmallStack(registry, "Deep");
  EXPECT_EQ(registry.size(), 0u);
  std::vector<std::string> deletions;
  for (const auto& call : registry.calls) {
    if (call.rfind("DeleteKey ", 0) == 0) deletions.push_back(call.substr(10));
  }
  ASSERT_EQ(deletions.size(), 1000u);
  for (std::size_t i = 1; i < deletions.size(); ++i) {
    EXPECT_EQ(deletions[i - 1].size(), deletions[i].size() + 2) << "each key after the one below it";
  }
}

}  // namespace
}  // namespace kelvane
