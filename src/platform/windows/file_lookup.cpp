#include "platform/windows/file_lookup.h"

#include <algorithm>

#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

// "C:\", "\\?\C:\", "\\?\UNC\server\share": nothing above to list it in.
bool IsRoot(std::wstring_view path) {
  if (path.substr(0, kLongUncPrefix.size()) == kLongUncPrefix) {
    const auto rest = path.substr(kLongUncPrefix.size());
    return std::count(rest.begin(), rest.end(), L'\\') < 2;
  }
  if (path.substr(0, kLongPrefix.size()) == kLongPrefix) path.remove_prefix(kLongPrefix.size());
  return path.find(L'\\') == std::wstring_view::npos || path.find(L'\\') == path.size() - 1;
}

}  // namespace

Listed LookUp(const std::wstring& longPath) {
  if (IsRoot(longPath)) {
    const UniqueHandle root = OpenFolderForListing(longPath);
    const HandleFacts facts = QueryFacts(root.get());
    return {nullptr, {L"", facts.attributes, facts.fileId}};
  }
  const auto cut = longPath.find_last_of(L'\\');
  std::wstring parent = longPath.substr(0, cut);
  if (IsRoot(parent)) parent += L'\\';
  Listed listed{std::make_shared<UniqueHandle>(OpenFolderForListing(parent)), {}};
  if (!FindInFolder(listed.folder->get(), longPath.substr(cut + 1), listed.entry)) {
    throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
  }
  return listed;
}

UniqueHandle OpenListedEntry(HANDLE folder, const std::wstring& folderName, const DirectoryEntry& entry,
                             ACCESS_MASK access, bool shareDelete, HandleFacts& facts) {
  UniqueHandle handle = OpenInFolder(folder, entry.name, access, shareDelete, false);
  facts = QueryFacts(handle.get());
  if (facts.IsLink()) return handle;
  if (entry.IsLink()) throw ErrorFromWin32(ERROR_CANT_ACCESS_FILE);
  if (facts.fileId != entry.fileId) throw ErrorFromWin32(ERROR_FILE_INVALID);
  const std::wstring name = HandleName(handle.get());
  if (CompareStringOrdinal(name.c_str(), -1, ChildName(folderName, entry.name).c_str(), -1, TRUE) != CSTR_EQUAL) {
    throw ErrorFromWin32(ERROR_CANT_ACCESS_FILE);
  }
  return handle;
}

std::wstring ChildName(const std::wstring& folder, const std::wstring& name) {
  return folder + (!folder.empty() && folder.back() == L'\\' ? L"" : L"\\") + name;
}

}  // namespace kelvane::platform::windows
