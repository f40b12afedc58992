#pragma once

#include <exception>
#include <string>
#include <string_view>

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

  // The operation that failed and what it was called with ("EnumKey" and
  // the key's full name), so that a log can say what was skipped; empty
  // until a caller names it. The innermost call names it: once set, it stays.
  const std::string& operation() const noexcept { return operation_; }
  const std::string& argument() const noexcept { return argument_; }
  void NameCall(std::string_view operation, std::string_view argument) {
    if (!operation_.empty()) return;
    operation_ = operation;
    argument_ = argument;
  }

 private:
  long number_;
  std::string description_;
  std::string operation_;
  std::string argument_;
};

// Numbers the core itself raises, with the texts Windows automation gives them.
inline constexpr long kObjectRequired = 424;
inline constexpr long kPathNotFound = 76;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kFileAlreadyExists = 58;

}  // namespace kelvane::platform
