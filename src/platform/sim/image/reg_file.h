#pragma once

#include <string>

#include "platform/sim/image/registry_tree.h"

namespace kelvane::platform::sim {

// How a .reg file was stored, so that it is written back the same way.
enum class RegEncoding { Utf16LittleEndian, Utf8, Utf8WithBom };

struct RegFile {
  RegistryTree tree;
  RegEncoding encoding = RegEncoding::Utf16LittleEndian;
};

// Reads a file as regedit exports it ("Windows Registry Editor Version
// 5.00"). Throws ImageError with the file name and the line for a bad
// header, a malformed key or value line, an unknown root, a value outside a
// key, or UTF-16 that is cut short or not well formed.
RegFile ParseRegFile(const std::string& bytes, const std::string& fileName);

// The file as regedit would export it: every key, subkeys in enumeration
// order, values as they were read, CR LF line ends.
std::string FormatRegFile(const RegFile& file);

}  // namespace kelvane::platform::sim
