#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/interface/error.h"
#include "platform/interface/objects.h"
#include "platform/shared/fault_operation.h"

namespace kelvane::platform {

// Runs one platform call; a failure leaves it named with the operation and
// what it was called with, unless a call inside it named it first. The
// argument is a text, or a function that gives it, asked only on failure.
template <class Argument, class Call>
decltype(auto) NamingFailures(Operation operation, const Argument& argument, Call&& call) {
  try {
    return std::forward<Call>(call)();
  } catch (Error& error) {
    if constexpr (std::is_invocable_v<const Argument&>) {
      error.NameCall(OperationName(operation), argument());
    } else {
      error.NameCall(OperationName(operation), argument);
    }
    throw;
  }
}

// The automation objects of a machine, each call's failure named on the way
// out (the operation, then the path, key, product, command or text it was
// called with), so that the log of a skipped failure says what was skipped
// on every machine alike. Objects it hands out name theirs too.
class FailureNamingObjects final : public Objects {
 public:
  explicit FailureNamingObjects(Objects& objects) : objects_(objects) {}

  std::unique_ptr<Shell> CreateShell() override;
  std::unique_ptr<FileSystem> CreateFileSystem() override;
  std::unique_ptr<Network> CreateNetwork() override;
  using Objects::GetRegistryProvider;
  std::unique_ptr<RegistryProvider> GetRegistryProvider(const std::string& moniker, RegistryView view) override;
  std::unique_ptr<ProductServices> GetProductServices(const std::string& moniker) override;

 private:
  Objects& objects_;
};

}  // namespace kelvane::platform
