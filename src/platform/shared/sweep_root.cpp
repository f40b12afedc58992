#include "platform/shared/sweep_root.h"

#include <algorithm>
#include <cctype>

#include "common/ascii_case.h"

namespace kelvane::platform {

namespace {

std::string_view WithoutTrailingBackslashes(std::string_view path) {
  const auto end = path.find_last_not_of('\\');
  return end == std::string_view::npos ? std::string_view() : path.substr(0, end + 1);
}

// The segments after the root: "C:\a\b" gives a, b; "\\s\share\a" gives a.
std::vector<std::string_view> SegmentsBelowRoot(std::string_view path, std::size_t rootSegments) {
  std::vector<std::string_view> segments;
  std::size_t start = 0;
  for (;;) {
    const auto end = path.find('\\', start);
    const auto segment = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!segment.empty()) segments.push_back(segment);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (segments.size() <= rootSegments) return {};
  return {segments.begin() + static_cast<std::ptrdiff_t>(rootSegments), segments.end()};
}

// Whether `folder` is `outer` or lies below it.
bool IsWithin(std::string_view folder, std::string_view outer) {
  if (folder.size() < outer.size() || !SameIgnoringAsciiCase(folder.substr(0, outer.size()), outer)) return false;
  return folder.size() == outer.size() || folder[outer.size()] == '\\';
}

}  // namespace

bool IsSweepablePath(std::string_view given) {
  // Windows takes a slash for a backslash.
  std::string spelt(given);
  std::replace(spelt.begin(), spelt.end(), '/', '\\');
  const std::string_view path = WithoutTrailingBackslashes(spelt);
  std::size_t rootSegments = 0;
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
    rootSegments = 1;  // "C:"
  } else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '?' && path[2] != '.') {
    rootSegments = 2;  // server and share
  } else {
    return false;
  }
  const auto below = SegmentsBelowRoot(path, rootSegments);
  return !below.empty() && std::none_of(below.begin(), below.end(), [](std::string_view segment) {
    return segment == "." || segment == "..";
  });
}

SweepRoles SweepRolesFrom(std::string profile, const KnownFolderPlaces& placesOf, std::vector<std::string> fixedDrives) {
  SweepRoles roles{std::move(profile), {}, std::move(fixedDrives)};
  for (const SweepKnownFolder known : kSweepKnownFolders) {
    for (std::string& place : placesOf(known)) {
      if (!place.empty()) roles.knownFolders.push_back(std::move(place));
    }
  }
  return roles;
}

bool MayEmptyFolder(const FolderToEmpty& folder, const SweepRoles& roles) {
  std::string_view finalPath = folder.finalPath;
  if (folder.isLink || !IsSweepablePath(finalPath)) return false;
  finalPath = WithoutTrailingBackslashes(finalPath);
  // A drive-letter path: a share ("\\server\share") is never on a fixed drive.
  const std::string_view drive = finalPath.substr(0, 2);
  if (finalPath[1] != ':' || std::none_of(roles.fixedDrives.begin(), roles.fixedDrives.end(), [&](const std::string& fixed) {
        return SameIgnoringAsciiCase(WithoutTrailingBackslashes(fixed), drive);
      })) {
    return false;
  }
  const auto profile = WithoutTrailingBackslashes(roles.profile);
  if (profile.empty() || finalPath.size() == profile.size() || !IsWithin(finalPath, profile)) return false;
  const auto protects = [&](const std::string& known) {
    const auto place = WithoutTrailingBackslashes(known);
    return !place.empty() && IsWithin(place, finalPath);
  };
  return std::none_of(roles.knownFolders.begin(), roles.knownFolders.end(), protects);
}

}  // namespace kelvane::platform
