#include "platform/sim/image/drive.h"

#include <algorithm>

#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

namespace fs = std::filesystem;

namespace {

// Removes one entry. Windows lets an item go from a read-only folder; the
// host needs the folder writable for that, for a moment.
void RemoveEntry(const fs::path& host) {
  const fs::path parent = host.parent_path();
  const bool lockedParent = Drive::IsReadOnly(parent);
  if (lockedParent) fs::permissions(parent, fs::perms::owner_write, fs::perm_options::add);
  std::error_code ignored;
  fs::remove(host, ignored);
  if (lockedParent) fs::permissions(parent, fs::perms::owner_write, fs::perm_options::remove);
}

}  // namespace

std::optional<DriveItem> Drive::Find(const WindowsPath& path) const {
  DriveItem item{root_, WindowsPath{}};
  for (const auto& name : path.names) {
    std::error_code error;
    if (!fs::is_directory(item.host, error)) return std::nullopt;
    // The name as spelt on the host wins, and needs no listing: a folder of
    // 100,000 items would otherwise be read through once per lookup.
    std::optional<fs::path> match;
    const bool plainName = name.find('/') == std::string::npos && name != "." && name != "..";
    if (plainName && fs::exists(fs::symlink_status(item.host / name, error))) {
      match = item.host / name;
    } else {
      for (const auto& entry : fs::directory_iterator(item.host, error)) {
        if (SameIgnoringAsciiCase(entry.path().filename().string(), name)) {
          match = entry.path();
          break;
        }
      }
    }
    if (!match) return std::nullopt;
    item.host = *match;
    item.path.names.push_back(match->filename().string());
  }
  return item;
}

std::optional<DriveItem> Drive::Find(const std::string& windowsPath) const {
  const auto parsed = ParseWindowsPath(windowsPath);
  if (!parsed) return std::nullopt;
  return Find(*parsed);
}

bool Drive::IsFolder(const DriveItem& item) {
  std::error_code error;
  return fs::is_directory(item.host, error);
}

bool Drive::IsFile(const DriveItem& item) {
  std::error_code error;
  return fs::is_regular_file(item.host, error);
}

bool Drive::IsReadOnly(const fs::path& host) {
  std::error_code error;
  const auto status = fs::symlink_status(host, error);
  if (error || fs::is_symlink(status)) return false;
  return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

std::optional<WindowsPath> Drive::FinalPath(const DriveItem& item) const {
  std::error_code error;
  const fs::path root = fs::canonical(root_, error);
  const fs::path target = fs::canonical(item.host, error);
  if (error) return std::nullopt;
  const fs::path relative = target.lexically_relative(root);
  if (relative.empty() || *relative.begin() == "..") return std::nullopt;
  WindowsPath path;
  for (const auto& name : relative) {
    if (name != ".") path.names.push_back(name.string());
  }
  return path;
}

std::vector<DriveItem> Drive::List(const DriveItem& folder) const {
  std::vector<DriveItem> items;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder.host, error)) {
    const std::string name = entry.path().filename().string();
    items.push_back({entry.path(), folder.path.Child(name)});
  }
  std::sort(items.begin(), items.end(),
            [](const DriveItem& a, const DriveItem& b) { return NameLess{}(a.Name(), b.Name()); });
  return items;
}

std::optional<DriveItem> Drive::PlaceFor(const WindowsPath& path) const {
  if (path.IsRoot()) return std::nullopt;
  WindowsPath parentPath = path;
  parentPath.names.pop_back();
  const auto parent = Find(parentPath);
  if (!parent || !IsFolder(*parent)) return std::nullopt;
  if (auto existing = Find(path)) return existing;
  return DriveItem{parent->host / path.names.back(), parent->path.Child(path.names.back())};
}

DeleteRefusal Drive::Delete(const DriveItem& item, bool force,
                           const std::function<bool(const WindowsPath&)>& keep) const {
  std::error_code error;
  const auto status = fs::symlink_status(item.host, error);
  if (error) return DeleteRefusal::kAccessDenied;
  if (keep(item.path)) return DeleteRefusal::kInUse;
  if (fs::is_symlink(status)) {
    // A junction goes as a link; what it leads to is not this tree's.
    RemoveEntry(item.host);
    return DeleteRefusal::kNone;
  }
  // A folder's entries go first, a read-only folder's too: on Windows the
  // attribute guards the folder, not what is in it.
  if (fs::is_directory(status)) {
    DeleteRefusal first = DeleteRefusal::kNone;
    for (const auto& child : List(item)) {
      const DeleteRefusal refusal = Delete(child, force, keep);
      if (first == DeleteRefusal::kNone) first = refusal;
    }
    if (first != DeleteRefusal::kNone) return first;
  }
  if (IsReadOnly(item.host) && !force) return DeleteRefusal::kAccessDenied;
  RemoveEntry(item.host);
  return fs::exists(fs::symlink_status(item.host, error)) ? DeleteRefusal::kAccessDenied : DeleteRefusal::kNone;
}

}  // namespace kelvane::platform::sim
