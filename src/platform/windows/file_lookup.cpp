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

UniqueHandle OpenFolderThroughNoLink(const std::wstring& longPath) {
  if (longPath.substr(0, 4) == L"\\\\.\\") throw ErrorFromWin32(ERROR_CANT_ACCESS_FILE);
  // The root: "\\?\C:\" or "\\?\UNC\server\share\".
  std::size_t start = 0;
  if (longPath.substr(0, kLongUncPrefix.size()) == kLongUncPrefix) {
    start = longPath.find(L'\\', longPath.find(L'\\', kLongUncPrefix.size()) + 1);
  } else {
    start = longPath.find(L'\\', longPath.substr(0, kLongPrefix.size()) == kLongPrefix ? kLongPrefix.size() : 0);
  }
  if (start == std::wstring::npos) return OpenFolderForListing(longPath + L"\\");
  UniqueHandle folder = OpenFolderForListing(longPath.substr(0, start + 1));
  for (std::size_t at = start + 1; at < longPath.size();) {
    std::size_t end = longPath.find(L'\\', at);
    if (end == std::wstring::npos) end = longPath.size();
    const std::wstring name = longPath.substr(at, end - at);
    at = end + 1;
    if (name.empty()) continue;
    // As the folder lists it, then opened and checked to be that entry:
    // Wine shows some links only in the name its handle gets.
    DirectoryEntry entry;
    if (!FindInFolder(folder.get(), name, entry)) throw ErrorFromWin32(ERROR_PATH_NOT_FOUND);
    if (entry.IsLink() || !entry.IsFolder()) throw ErrorFromWin32(ERROR_CANT_ACCESS_FILE);
    HandleFacts facts{};
    UniqueHandle child = OpenListedEntry(folder.get(), HandleName(folder.get()), entry, kListAccess, false, facts);
    if (facts.IsLink() || !facts.IsFolder()) throw ErrorFromWin32(ERROR_CANT_ACCESS_FILE);
    folder = std::move(child);
  }
  return folder;
}

std::wstring ChildName(const std::wstring& folder, const std::wstring& name) {
  return folder + (!folder.empty() && folder.back() == L'\\' ? L"" : L"\\") + name;
}

}  // namespace kelvane::platform::windows
