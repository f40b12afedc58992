#pragma once

#include <filesystem>
#include <string>

namespace kelvane::platform::sim {

// Writes the whole file beside its final name and renames it into place, so
// that an interrupted write never leaves half an image file behind.
void WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes);

std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace kelvane::platform::sim
