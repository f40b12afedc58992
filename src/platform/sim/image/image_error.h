#pragma once

#include <stdexcept>
#include <string>

namespace kelvane::platform::sim {

// A machine image that cannot be read: names the file and, where there is
// one, the line, so that whoever wrote the image can fix it.
class ImageError : public std::runtime_error {
 public:
  ImageError(const std::string& file, int line, const std::string& problem)
      : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + problem) {}
};

}  // namespace kelvane::platform::sim
