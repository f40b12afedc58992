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

}  // namespace kelvane::platform::windows
