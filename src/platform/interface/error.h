#pragma once

#include <exception>
#include <string>

namespace kelvane::platform {

// The one failure a platform operation reports: the number (an HRESULT or
// Win32 code on Windows) and its description, as the error box shows them.
class Error : public std::exception {
 public:
  Error(long number, std::string description)
      : number_(number), description_(std::move(description)) {}

  long number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  long number_;
  std::string description_;
};

// Numbers the core itself raises, with the texts Windows automation gives them.
inline constexpr long kObjectRequired = 424;
inline constexpr long kPathNotFound = 76;

}  // namespace kelvane::platform
