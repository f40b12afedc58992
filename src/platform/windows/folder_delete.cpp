#include "platform/windows/folder_delete.h"

#include <optional>
#include <utility>
#include <vector>

#include "platform/windows/file_lookup.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

std::function<void(const std::wstring&)>& BeforeOpenHook() {
  static std::function<void(const std::wstring&)> hook;
  return hook;
}

// Remembers the first failure and lets the deletion go on.
class Failures {
 public:
  template <class Step>
  void Try(Step&& step) {
    try {
      step();
    } catch (const Error& error) {
      if (!first_) first_ = error;
    }
  }
  void ThrowFirst() const {
    if (first_) throw *first_;
  }

 private:
  std::optional<Error> first_;
};

// A folder being emptied: its handle, its listing and how far the walk got.
// The bottom frame is the caller's folder, which stays.
struct Frame {
  HANDLE folder;
  std::wstring name;  // as HandleName gives it
  UniqueHandle owned;
  std::vector<DirectoryEntry> entries;
  std::size_t next = 0;
};

// Opens a listed entry for deletion: see OpenListedEntry.
UniqueHandle OpenListed(const Frame& parent, const DirectoryEntry& entry, HandleFacts& facts) {
  if (BeforeOpenHook()) BeforeOpenHook()(entry.name);
  const ACCESS_MASK access = entry.IsFolder() ? kDeleteFolderAccess : kDeleteFileAccess;
  return OpenListedEntry(parent.folder, parent.name, entry, access, false, facts);
}

}  // namespace

void DeleteEntry(HANDLE folder, const DirectoryEntry& entry, bool force) {
  Failures failures;
  std::vector<Frame> stack;
  stack.push_back({folder, HandleName(folder), {}, {entry}});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == top.entries.size()) {
      if (top.owned) failures.Try([&] { DeleteThroughHandle(top.folder, force); });
      stack.pop_back();
      continue;
    }
    const DirectoryEntry listed = top.entries[top.next++];
    failures.Try([&] {
      HandleFacts facts{};
      UniqueHandle handle = OpenListed(top, listed, facts);
      if (facts.IsLink()) {
        DeleteThroughHandle(handle.get(), false);  // a link's attributes are its target's on some systems
      } else if (facts.IsFolder()) {
        Frame frame{handle.get(), ChildName(top.name, listed.name), std::move(handle), {}};
        failures.Try([&] { frame.entries = ListFolder(frame.folder); });
        stack.push_back(std::move(frame));  // invalidates top
      } else {
        DeleteThroughHandle(handle.get(), force);
      }
    });
  }
  failures.ThrowFirst();
}

void DeleteFolderTree(const std::wstring& longPath, bool force) {
  const Listed listed = LookUp(longPath);
  if (!listed.folder) throw ErrorFromWin32(ERROR_ACCESS_DENIED);  // a volume or share root
  DeleteEntry(listed.folder->get(), listed.entry, force);
}

void SetBeforeOpenHookForTests(std::function<void(const std::wstring& name)> hook) {
  BeforeOpenHook() = std::move(hook);
}

}  // namespace kelvane::platform::windows
