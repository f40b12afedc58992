#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvane::platform::sim {

// A shortcut as the Shell Link binary format ([MS-SHLLINK]) holds it: the
// target's local path and the window style it starts in.
struct ShellLink {
  std::string targetPath;
  std::uint32_t showCommand = 1;
};

// The bytes of a .lnk file: a ShellLinkHeader, a LinkInfo with a VolumeID
// and the local base path in ANSI and in Unicode, and the terminal block.
std::string WriteShellLink(const ShellLink& link);

// Nothing for bytes that are not a Shell Link with a local target path.
std::optional<ShellLink> ReadShellLink(const std::string& bytes);

}  // namespace kelvane::platform::sim
