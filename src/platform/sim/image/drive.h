#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/image/windows_path.h"

namespace kelvane::platform::sim {

// Something on the drive: where it lies on the host, and its Windows path
// spelt with the names as they are on disk.
struct DriveItem {
  std::filesystem::path host;
  WindowsPath path;

  std::string Name() const { return path.names.empty() ? std::string() : path.names.back(); }
};

// Why a deletion left something: the first refusal met, as Windows reports
// the first failure of a part-way deletion.
enum class DeleteRefusal { kNone, kAccessDenied, kInUse };

// The C: drive of a machine image, a folder on the host. Names are found
// without regard to case, folders list sorted as NTFS returns them, a
// symbolic link stands for a junction (lookups pass through it, deletions
// never do), and an item whose owner write bit is off is read-only.
class Drive {
 public:
  explicit Drive(std::filesystem::path root) : root_(std::move(root)) {}

  const std::filesystem::path& root() const { return root_; }

  std::optional<DriveItem> Find(const WindowsPath& path) const;
  std::optional<DriveItem> Find(const std::string& windowsPath) const;
  static bool IsFolder(const DriveItem& item);
  static bool IsFile(const DriveItem& item);
  static bool IsReadOnly(const std::filesystem::path& host);

  // Where the item leads with every link on the way followed, itself
  // included, as a path on the drive; nothing when a link leads off it.
  std::optional<WindowsPath> FinalPath(const DriveItem& item) const;

  // The folder's entries, folders and files alike, sorted by name.
  std::vector<DriveItem> List(const DriveItem& folder) const;

  // Where a file of that path goes: the existing item of that name, or a new
  // name, spelt as given, in an existing folder. Nothing when the folder
  // does not exist.
  std::optional<DriveItem> PlaceFor(const WindowsPath& path) const;

  // Deletes the item, a folder with everything in it. Without force a
  // read-only item stays; so does anything `keep` names (a file in use),
  // and the folders above whatever stays.
  DeleteRefusal Delete(const DriveItem& item, bool force, const std::function<bool(const WindowsPath&)>& keep) const;

 private:
  std::filesystem::path root_;
};

}  // namespace kelvane::platform::sim
