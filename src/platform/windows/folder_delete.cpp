#include "platform/windows/folder_delete.h"

#include <windows.h>

#include <optional>

#include "platform/windows/directory_listing.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

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

void ClearAttributes(const std::wstring& path) {
  if (!SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL)) throw LastWin32Error();
}

void RemoveEmptyFolder(const std::wstring& path, bool force) {
  if (force) ClearAttributes(path);
  if (!RemoveDirectoryW(path.c_str())) throw LastWin32Error();
}

void DeleteTree(const std::wstring& path, bool force, Failures& failures) {
  std::vector<DirectoryEntry> entries;
  failures.Try([&] { entries = ListDirectory(path); });
  for (const DirectoryEntry& entry : entries) {
    const std::wstring child = path + L"\\" + entry.name;
    // A link's attributes are left alone: setting them could reach its target.
    if (entry.IsFolder() && entry.IsLink()) {
      failures.Try([&] { RemoveEmptyFolder(child, false); });
    } else if (entry.IsLink()) {
      failures.Try([&] { DeleteOneFile(child, false); });
    } else if (entry.IsFolder()) {
      DeleteTree(child, force, failures);
    } else {
      failures.Try([&] { DeleteOneFile(child, force); });
    }
  }
  failures.Try([&] { RemoveEmptyFolder(path, force); });
}

}  // namespace

void DeleteOneFile(const std::wstring& longPath, bool force) {
  if (force) ClearAttributes(longPath);
  if (!DeleteFileW(longPath.c_str())) throw LastWin32Error();
}

void DeleteFolderTree(const std::wstring& longPath, bool force) {
  const DWORD attributes = GetFileAttributesW(longPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw LastWin32Error();
  Failures failures;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    failures.Try([&] { RemoveEmptyFolder(longPath, false); });
  } else {
    DeleteTree(longPath, force, failures);
  }
  failures.ThrowFirst();
}

}  // namespace kelvane::platform::windows
